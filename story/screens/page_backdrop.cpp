// A page over the frozen story (the backlog, the preferences): what the page's drawing
// replaces is kept when it opens and put back exactly when it closes: the message
// window's layout and reveal, the text sprite, the pointer sprite's state, and the frame
// under the page, darkened, as its backdrop.
#include <algorithm>
#include <cstring>
#include <vector>

#include "draw/kaDraw.h"
#include "story/screens/screens.h"

static kaDraw::TextRect SavedRects[kaDraw::TextRectCapacity];
static int32_t SavedRectCount = 0;
static int SavedRevealCount = 0;
static float SavedRevealClock = 0.0f;
static int SavedCursor = 0;
static std::vector<uint8_t> SavedFontSprite;
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
    std::memcpy(SavedRects, kaDraw::TextRects, sizeof SavedRects);
    SavedRectCount = kaDraw::TextRectCount;
    SavedRevealCount = RevealCount;
    SavedRevealClock = RevealClock;
    SavedCursor = GetCursorVisible();
    CopyOut(kaDraw::ObjectTable[kaDraw::FontSprite].surface, &SavedFontSprite);
    DarkenBackBuffer({0, 0, layout::BackBufferWidth, layout::BackBufferHeight}, 6);
    CopyOut(kaDraw::BackBuffer, &Backdrop);
    SetCursorVisible(1);
}

void DrawCoverBackdrop() { CopyIn(kaDraw::BackBuffer, Backdrop); }

void UncoverStory() {
    std::memcpy(kaDraw::TextRects, SavedRects, sizeof SavedRects);
    kaDraw::TextRectCount = SavedRectCount;
    RevealCount = SavedRevealCount;
    RevealClock = SavedRevealClock;
    CopyIn(kaDraw::ObjectTable[kaDraw::FontSprite].surface, SavedFontSprite);
    SetCursorVisible(SavedCursor);
}
