// Skip mode: the S key lets the story step one line a frame, silent, through what the
// reader has read (or through everything, as the preferences choose), until the first
// unread line, a choice, the quit prompt, the end of a run, a menu or any input.
#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "sound/kaSound.h"
#include "story/frame.h"

static bool SkipMode = false;

void ResetSkipMode() { SkipMode = false; }

// Skip steps only the plain story screen: not under a choice, the quit prompt, the
// system menu or a page.
static bool StoryOpenToSkip() { return CurrentScreen() == Screen::Story; }

static bool MaySkip(int line) { return SkipsEverything() || LineWasRead(line); }

// Whether skip mode steps in this frame: on, and the story open to it at a line it may
// skip.
static bool SkipModeGoesOn() {
    if (!SkipMode) return false;
    if (!StoryOpenToSkip() || !MaySkip(CurrentScene().line)) {
        SkipMode = false;
        return false;
    }
    return true;
}

bool SkipModeSteps() {
    bool pressedS = FrameInput().SkipKey && GetGameMode() == ModeStory;
    bool toggled = false;
    if (FrameInput().LeftClick || FrameInput().RightClick || FrameInput().OtherKey ||
        FrameInput().WheelSteps)
        SkipMode = false;
    else if (pressedS) {
        SkipMode = !SkipMode;
        toggled = true;
    }
    bool steps = SkipModeGoesOn();
    if (toggled) SpeakPhrase(steps ? "skip_on" : "skip_off");
    return steps;
}

void SkipModeAfterStep() {
    if (!SkipMode) return;
    if (!StoryOpenToSkip() || !MaySkip(CurrentScene().line)) {
        // The line it stops at is the reader's to read and hear.
        SkipMode = false;
        return;
    }
    if (VoiceId >= 0) kaSound::Stop(VoiceId, -1);
}

void SkipModeAfterFrame() {
    if (!SkipMode) return;
    // The mark: two arrowheads and a bar, left of auto mode's.
    DrawPanelArrowheads(layout::SkipMarkAt);
    const layout::Rect& bar = layout::SkipMarkBar;
    kaDraw::DrawRect(bar.left, bar.top, bar.right, bar.bottom, PanelMarkColour, PanelMarkColour, 1);
}

bool SkipModeRuns() { return SkipMode; }
