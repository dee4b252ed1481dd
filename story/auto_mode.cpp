// Auto mode: the A key lets the story step by itself once a line is out and its voice
// has ended, after a pause that grows with the line's length.
#include <cstring>

#include "base/frame.h"
#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "draw/sjis.h"
#include "sound/kaSound.h"
#include "story/frame.h"

static bool AutoMode = false;  // the story steps by itself
static float AutoClock = 0.0f;  // seconds of the pause gone by
static int AutoLine = -1;       // the line the pause is counted for

static constexpr float PausePerCharacter = 0.05f;

// Characters of the shown line, line feeds not counted.
static int CharacterCount(const char* text) {
    int n = 0;
    for (size_t p = 0, length = std::strlen(text); p < length;) {
        if (text[p] != 0x0A) ++n;
        p += size_t(SjisCharLength(text + p, length - p));
    }
    return n;
}

float AutoPause(int line) {
    return float(Preferences.AutoPauseTenths) * 0.1f +
           PausePerCharacter * float(CharacterCount(LineText(line)));
}

// Auto mode counts only on the plain story screen: not under a choice, the quit prompt,
// the system menu or a page.
static bool StoryWaitsForStep() { return AutoMode && CurrentScreen() == Screen::Story; }

static bool LineIsOut() { return LaidOutLine == CurrentScene().line && LineWhollyOut(); }

// The voice, or a phrase of self-voicing that took its place, still speaking.
static float VoiceLeft() {
    float voice = VoiceId >= 0 ? kaSound::SecondsLeft(VoiceId) : 0.0f;
    float phrase = PhraseSecondsLeft();
    return voice > phrase ? voice : phrase;
}

void ResetAutoMode() {
    AutoMode = false;
    AutoClock = 0.0f;
    AutoLine = -1;
}

bool AutoModeSteps() {
    if (FrameInput().AutoKey && GetGameMode() == ModeStory) {
        AutoMode = !AutoMode;
        AutoClock = 0.0f;
        SpeakPhrase(AutoMode ? "auto_on" : "auto_off");
    }
    if (FrameInput().LeftClick || FrameInput().RightClick) AutoMode = false;
    if (!StoryWaitsForStep()) return false;
    if (AutoLine != CurrentScene().line || !LineIsOut() || VoiceLeft() > 0.0f) {
        AutoLine = CurrentScene().line;
        AutoClock = 0.0f;
        return false;
    }
    AutoClock += FrameSeconds;
    if (AutoClock < AutoPause(CurrentScene().line)) return false;
    AutoClock = 0.0f;
    AutoLine = -1;
    return true;
}

void AutoModeAfterFrame() {
    if (!AutoMode) return;
    if (CurrentScreen() != Screen::Story) {  // a choice, the prompt, the menu, the end
        ResetAutoMode();
        return;
    }
    DrawPanelArrowheads(layout::AutoMarkAt);
}

void DrawPanelArrowheads(const layout::Point (&points)[2]) {
    const int h = layout::PanelMarkHeight;
    for (int i = 0; i < h; ++i) {
        int reach = i < h - 1 - i ? i : h - 1 - i;
        for (const layout::Point& at : points)
            kaDraw::DrawRect(at.x, at.y + i, at.x + 2 + reach, at.y + 1 + i, PanelMarkColour,
                             PanelMarkColour, 1);
    }
}

float AutoModeSecondsToStep() {
    if (!StoryWaitsForStep()) return -1.0f;
    float pause = AutoPause(CurrentScene().line);
    if (AutoLine != CurrentScene().line || !LineIsOut()) return pause + VoiceLeft();
    float voice = VoiceLeft();
    if (voice > 0.0f) return voice + pause;
    return pause > AutoClock ? pause - AutoClock : 0.0f;
}

bool AutoModeOnForTest() { return AutoMode; }
