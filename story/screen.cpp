// The screen on top, derived in one place from the game mode and what is open over it.
#include "story/screen.h"

#include "story/frame.h"

Screen CurrentScreen() {
    if (PreferencesOpen) return Screen::Preferences;
    if (BacklogOpen) return Screen::Backlog;
    const int mode = GetGameMode();
    // The menu is open from the frame that opens it, though its mode runs from the next.
    if (mode == ModeSystemMenu || SystemMenuOpen)
        return MenuNoticeShowing() ? Screen::MenuNotice : Screen::Menu;
    switch (mode) {
    case ModeLogo: return Screen::Logo;
    case ModeNotice: return Screen::Notice;
    case ModeTitle: return Screen::Title;
    case ModeStory:
        if (QuitPromptOpen) return Screen::QuitPrompt;
        return CurrentScene().storyState == ChoiceOpen ? Screen::Choice : Screen::Story;
    default: return Screen::End;
    }
}

bool PreferencesMayOpen() {
    const Screen s = CurrentScreen();
    return s == Screen::Story || s == Screen::Choice || s == Screen::QuitPrompt || s == Screen::Title;
}
