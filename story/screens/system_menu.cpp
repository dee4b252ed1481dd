// The system menu's page: save, load, message speed, music, quit, return.
#include <cstdio>

#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "sound/kaMusic.h"
#include "story/screens/screens.h"

static_assert(layout::SaveRow.count == SlotCount && layout::LoadRow.count == SlotCount,
              "a save and a load button for each slot");

// The notice the menu shows instead of its rows: MenuPlain (none), MenuSaved,
// MenuLoaded, MenuSaveFailed or MenuSlotEmpty.
static int MenuNotice;
// While a notice shows, the card of the rows is drawn at 1/MenuDimming of its brightness.
static const int MenuDimming = 2;
void ResetSystemMenu() {
    MenuNotice = MenuPlain;
    ForgetSlotSummaries();
}

// The buttons in the order they are tested, as self-voicing numbers them.
enum { ItemSave = 0, ItemLoad = 5, ItemSpeed = 10, ItemMusic = 16, ItemQuit = 18, ItemReturn = 19 };

// Highlights the button under the pointer and, as the pointer reaches it, says its
// phrase: the id phrase, followed by the number n unless it is -1, then what the slot
// holds for a slot's button. True when the button is also clicked.
static bool Button(const layout::Rect& r, int item, const char* phrase, int n = -1, int slot = -1) {
    if (!PointerIn(r)) return false;
    kaDraw::DrawRect(r.left, r.top, r.right, r.bottom, 0x0000FF, 0xFFFFFF, 1);
    if (PointerReaches(ReachMenu, item)) {
        char id[32];
        if (n < 0) std::snprintf(id, sizeof id, "%s", phrase);
        else std::snprintf(id, sizeof id, "%s%d", phrase, n);
        SpeakPhrase(id);
        if (slot >= 0) SpeakSlotContents(slot);
    }
    return FrameInput().LeftClick != 0;
}

// The click that closes the menu or its notice may make a step, but never picks an
// option of a choice that is open behind the menu, nor presses a panel button under it.
static void ReturnToStory() {
    ForgetSlotSummaries();
    SystemMenuOpen = false;
    SetGameMode(ModeStory);
    OptionClickIgnored = true;
    PanelClickIgnored = true;
}

static void CloseMenu() {
    SetCursorVisible(0);
    MenuNotice = MenuPlain;
    ReturnToStory();
}

// Music off stops the piece at once; on again (from off) starts the piece the script
// last asked for, from its start and looping as midi_play: does.
void SwitchMusic(int off) {
    if (off) {
        kaMusic::StopMusic();
    } else if (MusicOff != 0 && CurrentScene().music[0]) {
        kaMusic::PlayMusic(CurrentScene().music, 1);
    }
    MusicOff = off;
}

// The menu covers the story's line, which comes back whole. Dimmed, its text is drawn as
// the dimmed card under it.
static void DrawMenuText(bool dimmed) {
    CoverStoryLine();
    kaDraw::SelectTextFont(EngineText(TextGothic), 20);
    kaDraw::SetTextColours(dimmed ? uint32_t(0xFF / MenuDimming) * 0x010101 : 0xFFFFFF, 0, 1);
    DrawTextArea(layout::MenuText, EngineText(TextMenu));
    kaDraw::EndTextDrawing();
}

// The save, load, speed and music rows; true when a button's action ends the frame.
static bool MenuRows() {
    for (int n = 0; n < layout::SaveRow.count; ++n) {
        if (Button(layout::SaveRow.Button(n), ItemSave + n, "menu_save_", n + 1, n)) {
            TakeClick();
            MenuNotice = SaveSlot(n) ? MenuSaved : MenuSaveFailed;
            ForgetSlotSummaries();  // the margin reads the slot again
            SpeakPhrase(MenuNotice == MenuSaved ? "menu_saved" : "menu_save_failed");
            SetCursorVisible(0);
            return true;
        }
    }
    for (int n = 0; n < layout::LoadRow.count; ++n) {
        if (Button(layout::LoadRow.Button(n), ItemLoad + n, "menu_load_", n + 1, n)) {
            TakeRightClick();
            SetCursorVisible(0);
            if (LoadSlot(n)) {
                ClearBacklog();  // the backlog holds only what was shown since
                EnterLoadedLine(true);
                MenuNotice = MenuLoaded;
                SpeakPhrase("menu_loaded");
            } else {
                MenuNotice = MenuSlotEmpty;
                SpeakPhrase("slot_empty");
            }
            return true;
        }
    }
    for (int n = 0; n < layout::SpeedRow.count; ++n) {
        if (Button(layout::SpeedRow.Button(n), ItemSpeed + n, "menu_speed_", n)) {
            // The click is left to the story under the closed menu, which steps with it:
            // a speed is picked and the reading goes on in one press.
            TakeRightClick();
            MessageSpeed = float(n);
            CloseMenu();
            WriteSystemSettings(n, MusicOff);
            return true;
        }
    }
    for (int n = 0; n < layout::MusicRow.count; ++n) {
        if (Button(layout::MusicRow.Button(n), ItemMusic + n, n == 0 ? "menu_music_on" : "menu_music_off")) {
            TakeClick();
            TakeRightClick();
            SwitchMusic(n);
            CloseMenu();
            WriteSystemSettings(int(MessageSpeed), n);
            return true;
        }
    }
    return false;
}

bool MenuNoticeShowing() { return MenuNotice != MenuPlain; }

// A save or a load leaves its notice in the margin, with how to go on, from the frame it
// was made in; the menu beside it is dimmed and lights nothing, as it answers no click
// then. The next click closes the notice: after a save it steps the story, as the
// menu's closing click does; after a load the reader is on the loaded line. The speed
// and music rows close the menu at once; the return button leaves the story as it was.
void SystemMenu() {
    kaDraw::ClearBackBuffer();
    SetCursorVisible(1);
    BltOpaqueAt(layout::MenuPage, InterfacePicture[PicSavaback]);
    // Backspace leaves the menu, or its notice, for the story, but makes no step there.
    if (FrameInput().BackKey) {
        TakeClick();
        TakeRightClick();
        CloseMenu();
        return;
    }
    if (MenuNotice != MenuPlain) {
        if (FrameInput().LeftClick) {  // the story is drawn over this frame
            // The click that closes a save's notice is left to the story, which steps
            // with it. After a load, or one that found no save, the reader stays on the line.
            if (MenuNotice == MenuLoaded || MenuNotice == MenuSlotEmpty) TakeClick();
            TakeRightClick();
            CloseMenu();
            return;
        }
    } else if (MenuRows()) {
        if (MenuNotice == MenuPlain) return;
        BltOpaqueAt(layout::MenuPage, InterfacePicture[PicSavaback]);  // without the light
    } else {
        // Quit and return overlap: both are tested, so return wins there.
        if (Button(layout::QuitGameButton, ItemQuit, "menu_quit")) {
            TakeRightClick();
            SetGameMode(ModeEnd);
        }
        if (Button(layout::ReturnButton, ItemReturn, "menu_return")) {
            TakeClick();
            TakeRightClick();
            ReturnToStory();
        }
    }
    bool notice = MenuNotice != MenuPlain;
    if (notice) DarkenBackBuffer(layout::MenuCard, MenuDimming);
    const int notices[] = {-1, TextSaved, TextLoaded, TextSaveFailed, TextNothingToLoad};
    DrawMenuMargin(notices[MenuNotice]);
    DrawMenuText(notice);
}

int MenuNoticeForTest() { return MenuNotice; }
