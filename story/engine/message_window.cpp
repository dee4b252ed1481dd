// The message window: lays out the shown prose line once and releases its characters
// at the message speed.
#include "base/frame.h"
#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "story/engine/engine.h"

int LaidOutLine;
int RevealCount;
float RevealClock;
// The font size the held line was laid out at: a replaced line comes back at it.
static int LaidOutSize;
// The line whose layout another text replaced, until a step; -1 when none.
static int ReplacedLine;
// How far that line was out when a notice borrowed the text layer; -1 when the layout
// was not lent (it comes back whole).
static int LentReveal;
static float LentClock;

void ResetMessageWindow() {
    LaidOutLine = 0;
    LaidOutSize = 28;
    ReplacedLine = -1;
    LentReveal = -1;
    RevealCount = 0;
    RevealClock = 0.0f;
}

void ShowLine(int line, int offset, int size) {
    if (line == LaidOutLine) return;
    bool again = line == ReplacedLine;
    if (again) size = LaidOutSize;
    const char* text = LineText(line);
    if (offset < 0 || offset >= ScriptLineBytes) offset = 0;
    kaDraw::SelectTextFont(EngineText(TextGothic), size);
    kaDraw::SetTextColours(0xC8C8C8, 0, 1);
    const layout::TextArea& a = layout::MessageText;
    kaDraw::LayOutTextBlock(a.x, a.y, a.right, a.bottom, text + offset, 0);
    kaDraw::EndTextDrawing();
    LaidOutLine = line;
    LaidOutSize = size;
    ReplacedLine = -1;
    // A new layout has rectangles of its own: the reveal starts again.
    RevealCount = again ? kaDraw::TextRectCount + 1 : 0;
    RevealClock = 0.0f;
    if (again && LentReveal >= 0) {
        RevealCount = LentReveal;
        RevealClock = LentClock;
    }
    LentReveal = -1;
}

void MessageLayoutReplaced() {
    if (LaidOutLine >= 0) ReplacedLine = LaidOutLine;
    LaidOutLine = -1;
}

void MessageLayoutLent() {
    if (LaidOutLine < 0) return;  // replaced already: it comes back as that left it
    LentReveal = RevealCount;
    LentClock = RevealClock;
    MessageLayoutReplaced();
}

void ForgetReplacedLine() {
    ReplacedLine = -1;
    LentReveal = -1;
}

void ForgetLayout() {
    ForgetReplacedLine();
    LaidOutLine = -1;
}

void ShowWholeWhenBack(int line, int size) {
    ForgetLayout();
    ReplacedLine = line;
    LaidOutSize = size;
}

static void CopyFromFontSprite(const kaDraw::TextRect& r) {
    kaDraw::BltTransparent(r.left, r.top, kaDraw::FontSprite, r.left, r.top, r.right, r.bottom);
}

bool RevealText(float delay) {
    if (delay == 0.0f || RevealCount > kaDraw::TextRectCount) {
        CopyFromFontSprite(kaDraw::TextRects[0]);
        RevealCount = kaDraw::TextRectCount + 1;
    } else {
        // RevealCount is at most TextRectCount here: only laid-out rectangles are read.
        for (int i = 1; i < RevealCount; ++i) CopyFromFontSprite(kaDraw::TextRects[i]);
    }
    if (RevealCount > kaDraw::TextRectCount) return true;
    RevealClock += FrameSeconds;
    if (RevealClock >= delay) {
        RevealCount += 1;
        RevealClock = 0.0f;
    }
    return false;
}
