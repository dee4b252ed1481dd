// The pages of the story: the system menu and its margin, the backlog, the preferences,
// the title's entries, and the darkened backdrop behind a page.
#pragma once
#include <cstdint>

#include "base/screen_layout.h"
#include "story/engine/engine.h"
#include "story/saves/saves.h"

// ---- System menu (system_menu.cpp) -------------------------------------------------

enum { MenuPlain = 0, MenuSaved = 1, MenuLoaded = 2, MenuSaveFailed = 3, MenuSlotEmpty = 4 };

// The menu's notice and the slots it read back to their start values; called by
// ResetStoryState.
void ResetSystemMenu();
void SystemMenu();
// The menu shows a notice (saved, loaded, not saved, no save) in place of its buttons.
bool MenuNoticeShowing();
// Music off (1) stops the piece; on (0) from off starts the piece the script last asked
// for. Sets MusicOff; the caller writes owlsys.ini.
void SwitchMusic(int off);
// The colour of the marks in the panel and the menu, and of the title's lit entry.
constexpr int PanelMarkColour = 0x80E0F0;

// ---- The menu's margin and marks (menu_margin.cpp) ------------------------------------

// Forgets what the slots were read to hold, so that they are read again when shown next:
// called when the menu closes and when a slot is saved.
void ForgetSlotSummaries();
// Called by the menu each frame before its labels: in the margin left of the rows, the
// notice (an EngineTextId; -1 for none) with how to go on, or else the slot whose save or
// load button the pointer is on; and the marks under the message speed and the music
// setting in force, dimmed while a notice shows.
void DrawMenuMargin(int notice);
// Called by a slot's button as the pointer reaches it, after its name: with self-voicing
// on, what the margin shows of the slot is said in turn: that it is empty, or the month,
// day, hour and minute of its save, then its line (narrated, or in its speaker's voice).
void SpeakSlotContents(int slot);

// ---- The title's entries (title_entries.cpp) -------------------------------------------

// Called by the title on a press, which an entry takes: つづきから continues from the most
// recent save (nothing when there is none); 設定 asks for the preferences, which open
// once the title is drawn.
enum TitleEntry { TitleNoEntry, TitleContinues, TitleOpensPreferences };
TitleEntry TitleEntryPressed();
// Called by the title after its picture: the two entries, つづきから dimmed while no
// save is there, the one under the pointer lit.
void DrawTitleEntries();

// ---- The line's English, held (translation_box.cpp) --------------------------------------

// Called after the story's frame: while the reader holds T (or the pad's right stick)
// with Japanese in force, the English of the line the window shows, over the window.
void DrawHeldTranslation();
// A box over the message window, as wide as its text and growing up from it, with text
// (wrapped at spaces) in a face at a size: the English held and the word box.
void DrawBoxOverWindow(const char* faceCp932, int size, const char* text);

// ---- The word box (word_box.cpp) ----------------------------------------------------------

// Called after the story's frame, with Japanese in force and the line wholly out: the
// word the keyboard focused (T held) or, with the preference on, the word under the
// pointer, marked, and a box over the window with the word, its reading, its base form
// and its first English senses; self-voicing says its reading as it comes up. False when
// no word is shown.
bool DrawWordBox();
// Called before the keyboard's focus: while T is held in the story, Left and Right move a
// focus along the words of the line shown (and are taken); let go, the focus goes.
void MoveWordFocus();

// ---- Backlog (backlog.cpp) ----------------------------------------------------------

constexpr int BacklogCapacity = 300;  // the oldest line goes when one more is shown
extern bool BacklogOpen;              // while the backlog covers the frozen story

// Called by the frame after a story frame whose step stopped at a prose line.
void RecordShownLine(const ShownLine& shown);
// Forgets every line (a load, a reset); closes the backlog first when it is open.
void ClearBacklog();
int BacklogCount();
int BacklogLine(int index);       // 0 the oldest held; -1 outside
int BacklogVoiceLine(int index);  // -1 for none or outside
// Called after the story frame is composed: keeps what the page will cover, newest line
// at the foot. Does nothing when no line has been shown.
void OpenBacklog();
// One frame of the open backlog: the wheel and Page Up scroll, a click on a voiced line
// replays it, a click on a line's return mark (or R over the line or its mark) puts the
// story back as it stood when that line was shown and drops the lines after it (every
// line held can be gone back to: a load clears them all), a right click, Escape,
// Backspace or the wheel down past the newest line closes it. Every click is taken;
// focusPress is Return or Space on the entry the keyboard's focus put the pointer on.
// BacklogStays while it is open; BacklogClosed or BacklogWentBack when the story runs
// again (a story gone back goes on with the frame's time, as a step would).
enum { BacklogStays, BacklogClosed, BacklogWentBack };
int BacklogFrame(bool focusPress);
// The area of entry index (0 the oldest) on the open page, scrolled first (when scroll)
// until the entry shows; false when it is not on the page or no such entry is held.
bool BacklogLineOnPage(int index, bool scroll, layout::Rect* area);

// ---- The backdrop behind a page (page_backdrop.cpp) -----------------------------------

// Called when a page opens over the frozen story or title: keeps the frame under it,
// darkened, as its backdrop; shows the pointer sprite.
void CoverStory();
// The darkened frame, drawn first by the page each frame.
void DrawCoverBackdrop();
// The back buffer's area (clipped to it) at 1/divisor of its brightness, whatever its
// pixel layout: a page's backdrop, the menu while its notice shows.
void DarkenBackBuffer(const layout::Rect& area, int divisor);
// Called when the page closes: the pointer sprite as it was.
void UncoverStory();

// ---- The preferences page (preferences_screen.cpp) -------------------------------------

extern bool PreferencesOpen;  // while the page covers the frozen story or title
// Closed, the first row picked (ResetStoryState).
void ResetPreferencesScreen();
// Called after the frame under it is composed: keeps it, draws the page.
void OpenPreferences();
// One frame of the open page; every click is taken, and focusPress (Return or Space on
// the row the keyboard's focus picked) presses as a click. False when it closed (what
// lies under it then runs again).
bool PreferencesFrame(bool focusPress);
// The row left and right change, marked on the page; picked by a click on the row's
// boxes or by the keyboard's focus (a row outside the page is ignored).
int PreferencesRow();
void PickPreferencesRow(int row);
// Where the keyboard's focus puts the pointer on row (held to the page's rows).
layout::Rect PreferencesRowTarget(int row);

// ---- Test hooks ------------------------------------------------------------------

// MenuPlain, MenuSaved, MenuLoaded, MenuSaveFailed or MenuSlotEmpty: the notice the
// menu shows.
int MenuNoticeForTest();
// The texts the menu's margin drew in its last frame, CP932: i = 0 the notice, the
// slot's date or 空きスロット; i = 1 the notice's hint or the start of the slot's line.
// "" when none.
const char* MenuMarginTextForTest(int i);
// The top of entry index on the backlog page last drawn; -1 when it was not drawn.
int BacklogEntryTopForTest(int index);
