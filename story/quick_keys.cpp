// F5 and F9: a quick save to the quick slot and a quick load from it, where the reader
// is; F5 where nothing can be saved says so.
#include "story/frame.h"

static void QuickLoad() {
    if (!SlotHoldsSave(QuickSlot)) {
        ShowQuickNotice(TextNoQuickSave);
        return;
    }
    ContinueFromSlot(QuickSlot, TextQuickLoaded);
    ClearBacklog();  // the backlog holds only what was shown since
}

// Over a page (the backlog, the preferences) neither key loads or saves; the system menu
// takes neither, having its own rows.
void QuickSlotKeys() {
    int mode = GetGameMode();
    bool page = BacklogOpen || PreferencesOpen, menu = SystemMenuOpen || mode == ModeSystemMenu;
    bool inStory = mode == ModeStory && !menu && !page;
    if (FrameInput().QuickSaveKey && inStory) {
        KeepStoryFrame();
        ShowQuickNotice(SaveSlot(QuickSlot) ? TextQuickSaved : TextSaveFailed);
    } else if (FrameInput().QuickSaveKey && !menu && mode != ModeEnd) {
        ShowQuickNotice(TextNothingToSave);
    }
    if (FrameInput().QuickLoadKey && (inStory || (mode == ModeTitle && !page))) QuickLoad();
}
