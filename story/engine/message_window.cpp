// The message window: lays out the shown prose line once, into a layout of its own that
// no other text touches, and releases its characters at the message speed.
#include <cstring>

#include "base/frame.h"
#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "story/engine/engine.h"

int LaidOutLine;
int RevealCount;
float RevealClock;
static kaDraw::TextLayout Layout;

void ResetMessageWindow() {
    LaidOutLine = 0;
    RevealCount = 0;
    RevealClock = 0.0f;
    Layout.count = 0;
}

const kaDraw::TextLayout& MessageLayout() { return Layout; }

bool LineWhollyOut() { return RevealCount > Layout.count; }

void ShowLine(int line, int offset, int size, bool whole) {
    if (line != LaidOutLine) {
        const char* text = ReaderText(line);
        if (offset < 0 || size_t(offset) > std::strlen(text)) offset = 0;
        kaDraw::SelectTextFont(EngineText(TextGothic), size);
        kaDraw::SetTextColours(0xC8C8C8, 0, 1);
        const layout::TextArea& a = layout::MessageText;
        kaDraw::LayOutTextBlock(&Layout, a.x, a.y, a.right, a.bottom, text + offset, ReaderTextFlags());
        kaDraw::EndTextDrawing();
        LaidOutLine = line;
        RevealCount = 0;  // a new layout has rectangles of its own: the reveal starts again
        RevealClock = 0.0f;
    }
    if (whole) {
        RevealCount = Layout.count + 1;
        RevealClock = 0.0f;
    }
}

void ForgetLayout() { LaidOutLine = -1; }

bool RevealText(float delay) {
    if (delay == 0.0f || RevealCount > Layout.count) {
        kaDraw::BltTextRect(Layout, 0);
        RevealCount = Layout.count + 1;
    } else {
        // RevealCount is at most the layout's count here: only laid-out rectangles are read.
        for (int i = 1; i < RevealCount; ++i) kaDraw::BltTextRect(Layout, i);
    }
    if (RevealCount > Layout.count) return true;
    RevealClock += FrameSeconds;
    if (RevealClock >= delay) {
        RevealCount += 1;
        RevealClock = 0.0f;
    }
    return false;
}
