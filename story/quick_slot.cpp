// Quick save and quick load (F5 and F9) and the short notice each leaves, which fades by
// itself: no click is needed to go on. F5 where nothing can be saved says so.
#include "base/frame.h"
#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "story/story.h"

// The notice's text (an EngineTextId), -1 when none, and how long it has shown.
static int Notice = -1;
static float NoticeAge;
// It shows whole this long, then dims away over the fade.
static const float NoticeWhole = 1.0f, NoticeFade = 0.5f;

void ResetQuickSlot() { Notice = -1; }

// The notice, shown and (with self-voicing on) spoken.
static void ShowNotice(EngineTextId text) {
    Notice = text;
    NoticeAge = 0.0f;
    SpeakPhrase(text == TextQuickSaved      ? "quick_saved"
                : text == TextQuickLoaded   ? "quick_loaded"
                : text == TextNoQuickSave   ? "quick_none"
                : text == TextNothingToSave ? "quick_nothing"
                                            : "save_failed");
}

void ContinueFromSlot(int slot, int notice) {
    LoadSlot(slot);
    SetGameMode(ModeStory);
    EnterLoadedLine(false);
    ShowNotice(EngineTextId(notice));
}

static void QuickLoad() {
    if (!SlotHoldsSave(QuickSlot)) {
        ShowNotice(TextNoQuickSave);
        return;
    }
    ContinueFromSlot(QuickSlot, TextQuickLoaded);
}

// Over a page (the backlog, the preferences) neither key loads or saves; the system menu
// takes neither, having its own rows.
void QuickSlotKeys() {
    int mode = GetGameMode();
    bool page = BacklogOpen || PreferencesOpen, menu = SystemMenuOpen || mode == ModeSystemMenu;
    bool inStory = mode == ModeStory && !menu && !page;
    if (FrameInput().QuickSaveKey && inStory) {
        KeepStoryFrame();
        ShowNotice(SaveSlot(QuickSlot) ? TextQuickSaved : TextSaveFailed);
    } else if (FrameInput().QuickSaveKey && !menu && mode != ModeEnd) {
        ShowNotice(TextNothingToSave);
    }
    if (FrameInput().QuickLoadKey && (inStory || (mode == ModeTitle && !page))) QuickLoad();
}

bool QuickNoticeShowing() { return Notice >= 0; }

void DrawQuickNotice() {
    int mode = GetGameMode();
    if (Notice < 0 || mode == ModeSystemMenu || mode == ModeEnd) return;
    NoticeAge += FrameSeconds;
    float left = NoticeWhole + NoticeFade - NoticeAge;
    if (left <= 0.0f) {
        Notice = -1;
        return;
    }
    uint32_t level = left >= NoticeFade ? 255 : uint32_t(255.0f * left / NoticeFade);
    if (level < 16) level = 16;
    MessageLayoutLent();
    kaDraw::SelectTextFont(EngineText(TextGothic), 20);
    kaDraw::SetTextColours(level * 0x010101, 0, 1);
    DrawTextArea(layout::QuickNoticeText, EngineText(EngineTextId(Notice)));
    kaDraw::EndTextDrawing();
}

int QuickNoticeForTest() { return Notice; }
