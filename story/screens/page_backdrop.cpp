// A page over the frozen story (the backlog, the preferences): the frame under it,
// darkened, is its backdrop, and the pointer sprite's state is put back as it closes.
// The page's text has a layout of its own: the message window's stays as it was.
#include <algorithm>
#include <cstring>
#include <vector>

#include "draw/kaDraw.h"
#include "story/screens/screens.h"

static int SavedCursor = 0;
static std::vector<uint8_t> Backdrop;  // the frame under the page, darkened

static size_t SurfaceBytes(const kaDraw::Surface* s) { return size_t(s->pitch) * size_t(s->height); }

static void CopyOut(const kaDraw::Surface* s, std::vector<uint8_t>* bytes) {
    if (s) bytes->assign(s->pixels, s->pixels + SurfaceBytes(s));
    else bytes->clear();
}

static void CopyIn(kaDraw::Surface* s, const std::vector<uint8_t>& bytes) {
    if (s && bytes.size() == SurfaceBytes(s)) std::memcpy(s->pixels, bytes.data(), bytes.size());
}

void DarkenBackBuffer(const layout::Rect& area, int divisor) {
    kaDraw::Surface* s = kaDraw::BackBuffer;
    if (!s || divisor < 1) return;
    const kaDraw::PixelFormat& f = s->format;
    for (int y = std::max(area.top, 0); y < std::min(area.bottom, s->height); ++y)
        for (int x = std::max(area.left, 0); x < std::min(area.right, s->width); ++x) {
            uint32_t p = kaDraw::ReadPixel(s, x, y);
            uint32_t r = kaDraw::ExpandChannel(p, f.redMask) / uint32_t(divisor);
            uint32_t g = kaDraw::ExpandChannel(p, f.greenMask) / uint32_t(divisor);
            uint32_t b = kaDraw::ExpandChannel(p, f.blueMask) / uint32_t(divisor);
            kaDraw::WritePixel(s, x, y, kaDraw::NativeFromColour(f, r | g << 8 | b << 16));
        }
}

void CoverStory() {
    SavedCursor = GetCursorVisible();
    DarkenBackBuffer({0, 0, layout::BackBufferWidth, layout::BackBufferHeight}, 6);
    CopyOut(kaDraw::BackBuffer, &Backdrop);
    SetCursorVisible(1);
}

void DrawCoverBackdrop() { CopyIn(kaDraw::BackBuffer, Backdrop); }

void UncoverStory() {
    SetCursorVisible(SavedCursor);
}
