// Continuing from a slot, and the short notice a quick save or load leaves, which fades
// by itself: no click is needed to go on.
#include "base/frame.h"
#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "story/saves/saves.h"

// The notice's text (an EngineTextId), -1 when none, and how long it has shown.
static int Notice = -1;
static float NoticeAge;
// It shows whole this long, then dims away over the fade.
static const float NoticeWhole = 1.0f, NoticeFade = 0.5f;

void ResetQuickSlot() { Notice = -1; }

void ShowQuickNotice(int text) {
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
    ShowQuickNotice(notice);
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
    kaDraw::SelectTextFont(EngineText(TextGothic), 20);
    kaDraw::SetTextColours(level * 0x010101, 0, 1);
    DrawTextArea(layout::QuickNoticeText, EngineText(EngineTextId(Notice)));
    kaDraw::EndTextDrawing();
}

int QuickNoticeForTest() { return Notice; }
