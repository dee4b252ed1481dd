// The story engine's entry points and the state its parts share: the script table,
// the interpreter, the message window, the game modes and the system menu.
#pragma once
#include <cstdint>
#include <ctime>
#include <string>

#include "base/random.h"
#include "base/screen_layout.h"
#include "story/input.h"
#include "story/screen.h"
#include "story/script.h"

// Called once by the shell after the window exists: the media modules, working
// directory, interface pictures, owlsys.ini, the random seed.
void StartGame();
// True once StartGame has run, until ResetGameStart: the main loop runs frames only
// then.
bool GameStarted();
// Called by ResetShellState: the logo's mode, the pointer sprite hidden, no game started.
void ResetGameStart();
// Called by the main loop once per frame while the game runs. The frame that ends in
// ModeEnd leaves the shutdown to the main loop.
void FrameUpdate();
// Asked by the main loop after a frame: true when the next frame may change the picture
// with no input (something moves, comes out, or waits for a chance each frame); false
// when only input or a timed event can.
bool PictureMovesByItself();
// The display set up (kaDraw::Screen), then kaSound::Init, the sound table's reset,
// kaMusic::Init and the text layer, in that order, each reporting its own failure. 0
// when the display could not be made (nothing else is started then), else 1.
int OpenMedia(int width, int height, int mode);
// Releases the music, the text layer, the sound and the display, in that order; safe
// to call again or before OpenMedia.
void CloseMedia();
// Puts every piece of engine state back to its start value: the shell calls it before
// StartGame, tests between runs. Each part below resets what it keeps to itself.
void ResetStoryState();

// The state the parts below share is declared with each part (defined in its file, or
// in story_state.cpp when several parts set it); what one part alone uses is static in
// that part's file.

// ---- Interpreter (interpreter.cpp) ------------------------------------------------

enum { ShowingProse = 0, ShowingOverWindow = 1, ChoiceOpen = 2 };
constexpr int FlagCount = 1000;   // indices 000 to 999, as the script syntax allows
constexpr int NoCharacter = 99;   // the character cell that draws none

extern bool QuitPromptOpen;
extern bool SystemMenuOpen;  // the system menu runs from the next frame
extern int VoiceId;          // sound object of the last voice clip, -1 before the first
// The left-click flag takes no option in this frame: the frame a choice or the quit
// prompt opens, the frame the system menu or its notice closes, and a frame whose click
// comes only from held Ctrl. Cleared when the story frame ends.
extern bool OptionClickIgnored;
// The left-click flag presses no panel button in this frame: the frame the system menu
// or its notice closes. Cleared when the story frame ends.
extern bool PanelClickIgnored;

// The state the engine's parts share (story_state.cpp), then the interpreter's, the
// message window's and self-voicing's, back to their start values; called by
// ResetStoryState.
void ResetEngineState();
// The interpreter's own state (flags, the story picture, the animation's clock and
// direction) back to its start values; called by ResetEngineState.
void ResetInterpreter();
// What steps the story in a frame: the frame's click, or auto or skip mode. A step of
// auto or skip mode sees no pointer, so that it presses no panel button and takes no
// choice row; skip mode's is no press of the reader's (its line is not marked read).
enum StepCause { StepOnClick, StepByAuto, StepBySkip };
// GameMode 3: one step of the script when asked, then the whole story screen. While
// skipping runs, a step leaves its own phrase (skip_on) speaking.
void StoryFrame(StepCause cause = StepOnClick, bool skipping = false);
// The message window shows the story's line, not a choice's or the quit prompt's.
bool MessageWindowShowsLine();
// The options a click may take: the quit prompt's two while it is open, else those of
// the story choice that is open (at most layout::ChoiceRowsMost), else 0.
int OpenChoiceOptions();
// The pointer lies strictly inside the hit area (every edge exclusive).
bool PointerIn(const layout::Rect& r);
// A picture drawn whole at its place: over what is there, or leaving out its key colour.
void BltOpaqueAt(const layout::Placement& p, int id);
void BltTransparentAt(const layout::Placement& p, int id);
// A text block laid out in the area and copied to the back buffer at once, in the font
// and colours selected.
void DrawTextArea(const layout::TextArea& a, const char* text);
// Called after a load has put the story at a saved line: every voice of the story
// stopped (none is played again), and the story as the reader saw it at the save: a
// choice that was open opens again, a command line runs on as a step would. The line is
// shown whole when the story shows again, or (whole false) comes out again.
void EnterLoadedLine(bool whole);
// Called when the story has gone back to a passed line, its state put back: every voice
// of the story stopped, the clip of voiceLine (the line's wave_play:, -1 for none)
// played again as the story's voice, which the next step stops, and the picture of the
// next step read ahead, as the step that showed the line did.
void ResumePassedLine(int voiceLine);

// ---- Saved state (interpreter.cpp, saved_state.cpp) ----------------------------------

// The story's scene: its line and everything the script set that the line alone does
// not give back. The interpreter owns the live one; a save keeps a copy beside its slot,
// the backlog one with each line shown, the resume point one at the way out.
struct StorySnapshot {
    int32_t line;                      // the line shown or being executed
    int32_t flags[FlagCount];
    char picture[ScriptLineBytes];     // the last file: line's picture; empty before one
    int32_t storyState;                // ShowingProse, ShowingOverWindow (swin:) or ChoiceOpen
    int32_t screenFrame, characterCell;
    bool waveEffect;
    float wavePhase;                   // degrees
    int32_t animeFrames, animeFrame, animeLoop, animeFramesSaved, animeSpeed, animeColumn;
    bool animeBackward;
    float animeClock;
    int32_t textSize;                  // the shown line's letters
    char music[ScriptLineBytes];       // the piece midi_play: asked for in this run; empty
                                       // after midi_stop: (what music switched on plays)
    bool musicLoops;
    uint64_t random;                   // the random generator's state
};
// The live scene, to read; its wave phase and random state are those of its last copy.
const StorySnapshot& CurrentScene();
// A copy of the live scene, with the wave effect's phase and the generator's state.
void TakeStorySnapshot(StorySnapshot* out);
// A prose line a step stopped at: the line, its font size, the wave_play: line of the
// same step (-1 for none) and the scene as it was shown.
struct ShownLine {
    int line, size, voiceLine;
    StorySnapshot scene;
};
// The line the last story frame's step showed; null when it showed none.
const ShownLine* LineShownThisFrame();
// Puts the story where the snapshot stood (its picture loaded, its music started) but
// makes no step and leaves the message window's layout alone.
void RestoreStorySnapshot(const StorySnapshot& s);
// The story at a saved line, no choice or prompt open: with the scene kept beside the
// save, or (none) the animation, the character and the band cleared and the rest as it was.
void EnterSavedLine(int line, const StorySnapshot* kept);

// The story frame last presented, reduced to a slot's preview: kept by FrameUpdate as
// the menu opens over it and by F5 before the quick save, so that a save shows what the
// reader saw. RGB, rows top down. KeepUnderPointer, called as a story frame draws the
// pointer at client pixel (x, y), keeps the pixels it covers, so the preview has none.
constexpr int PreviewBytes = layout::SlotPreview.width * layout::SlotPreview.height * 3;
void KeepStoryFrame();
void KeepUnderPointer(int x, int y);
// Forgets the preview and the pixels under the pointer; called by ResetStoryState.
void ResetStoryFramePreview();
const uint8_t* LastStoryFrame();
// The save line a state belongs to, "%02i,%03i,%03i,%03i,%03i,%i" (23 characters at
// most), with room to spare.
constexpr int SaveLineBytes = 32;
// What a state file holds.
struct StateFile {
    char saveLine[SaveLineBytes];  // the save line it was written for; empty in an older file
    StorySnapshot snapshot;
    uint8_t preview[PreviewBytes];
};
// The bytes of the state file of a save line: the snapshot and the preview with the
// script table's hash, then a hash of all that (StateFileHash reads it back).
std::string StateFileBytes(const char* saveLine, const StorySnapshot& s, const uint8_t* preview);
uint64_t StateFileHash(const std::string& bytes);
// Reads a state file back; false (out untouched) when it is missing, damaged, made for
// another script table, or holds what the engine cannot make with this one.
bool ReadStateFile(const char* path, StateFile* out);

// ---- Message window (message_window.cpp) ------------------------------------------

extern int LaidOutLine;       // the line whose layout the text layer holds; -1 when none
extern int RevealCount;       // characters released so far; ShowLine's layout restarts it
extern float RevealClock;     // seconds gathered toward the next character
extern float MessageSpeed;    // level 0 to 5; a character every MessageSpeed x 0.01 s

// The window's own state back to its start values; called by ResetStoryState.
void ResetMessageWindow();
// Lays the line out unless its layout is the one held. A line whose layout another text
// replaced, with no step since, comes back as it was shown: at its size, and whole.
void ShowLine(int line, int offset, int size);
// Called before any other text (a choice, the system menu) takes the text layer.
void MessageLayoutReplaced();
// Called before a short notice takes the text layer over a line that may still be
// coming out: the line comes back as far as it was out, and goes on coming out.
void MessageLayoutLent();
// Called by a step: the line it stops at is laid out afresh, even the one replaced.
void ForgetReplacedLine();
// Called by a quick load: the line shown is laid out afresh and comes out again.
void ForgetLayout();
// Called by a load from the menu: line is laid out afresh at size once the story shows
// again, and shown whole, as a line the menu covered comes back.
void ShowWholeWhenBack(int line, int size);
// Copies the released characters to the back buffer; true once the whole block is out.
bool RevealText(float delay);

// ---- Game modes (game_modes.cpp) --------------------------------------------------

enum {
    ModeLogo = -1, ModeNotice = 0, ModeTitle = 2, ModeStory = 3, ModeSystemMenu = 50,
    ModeEnd = 99
};
// The interface pictures, in the order StartGame loads them.
enum {
    PicAcross, PicSavaback, PicPanel, PicExpr, PicBack, PicMessage, PicCursol, PicComwin,
    PicTit, InterfacePictureCount
};
// The mode the next frame runs (a Mode value), and whether the story's own pointer
// sprite is drawn over the picture (1) or not (0).
void SetGameMode(int mode);
int GetGameMode();
void SetCursorVisible(int visible);
int GetCursorVisible();
extern int InterfacePicture[InterfacePictureCount];  // ObjectIds
// The logo's steps and the key poll back to their start values; called by
// ResetStoryState.
void ResetGameModes();

// Loads a picture asset of the program's directory, keyed by its top-left pixel: its
// blanked signature is put back for the load and blanked again after. 0 on failure.
int LoadPicture(const char* name);

// ---- System menu (system_menu.cpp) -------------------------------------------------

enum { MenuPlain = 0, MenuSaved = 1, MenuLoaded = 2, MenuSaveFailed = 3, MenuSlotEmpty = 4 };
constexpr int SlotCount = 5;
constexpr int QuickSlot = SlotCount;      // F5 and F9's slot, after the menu's five
constexpr int ResumePoint = QuickSlot + 1;  // the place kept as the program ended
extern int MusicOff;

// The menu's notice and the slots it read back to their start values; called by
// ResetStoryState.
void ResetSystemMenu();
void SystemMenu();
// The menu shows a notice (saved, loaded, not saved, no save) in place of its buttons.
bool MenuNoticeShowing();

// ---- The save line (save_line.cpp) and a save or a load (save_and_load.cpp) -----------

struct SaveLine {
    int reserved[5];  // nothing reads them; a load keeps them for the next save
    int line;         // the story's line
};
// A save line as a token of size bytes holds it: its five reserved fields where the save
// line puts them, each within its width, then the line, all digits, in the table. False
// for anything else: empty, garbage, a line outside the table, or line 0 (the quit
// prompt's head, where no save is made).
bool ParseSaveLine(const char* token, int size, SaveLine* out);
// The line a save line holds (ParseSaveLine), -1 for none.
int SavedLineIn(const char* token, int size);
void FormatSaveLine(const SaveLine& s, char* out, int size);
// The reserved fields a save starts with (ResetStoryState).
void ResetSaveLine();
// The save line of line, with the reserved fields the last load read.
void SaveLineOf(int line, char* out, int size);
// Writes the current position to slot n (0 to 4, or QuickSlot) with the story's state
// and the preview (WriteSlot); false when it could not be.
bool SaveSlot(int slot);
// Reads slot n (0 to 4, QuickSlot or ResumePoint) back; false, with nothing changed,
// when it holds no save. The state kept with it is put back when it was made for its
// save line and this script; otherwise the animation, the character and the band are
// cleared and the rest stays as it was. The caller forgets the backlog.
bool LoadSlot(int slot);

// ---- The slots' files (save_slots.cpp) -------------------------------------------------

// Slot n's save file (z_saveN.sdt, z_quick.sdt), or the resume point's state file
// (z_resume.state). False when the slot is none of them or the path does not fit.
bool SlotPath(int slot, char* out, int size);
// Room for a save line read from a slot's file, whose reader stops there.
constexpr int SaveTokenBytes = 25;
// Slot n's save line, into token (SaveTokenBytes); false (token empty) when the slot holds
// none. The resume point's is the one its state file was written for.
bool ReadSaveLine(int slot, char* token);
bool SlotHoldsSave(int slot);
// The state kept for slot n's save line token; false when there is none whole.
bool ReadSlotState(int slot, const char* token, StateFile* out);
// Writes slot n (0 to 4, or QuickSlot) as one change: its save line and, beside it, the
// state. False, the slot's files as they were, when the save line could not be written.
bool WriteSlot(int slot, const char* saveLine, const StorySnapshot& s, const uint8_t* preview);
// Called by StartGame: the temporary files a write cut short left beside the saves and
// the settings are removed.
void RemoveLeftoverTemporaries();

// ---- The resume point (resume_point.cpp, game_modes.cpp) --------------------------------

// The place the reader left the story from by the quit prompt's way out, kept by the
// interpreter as the story steps on to its end; null when the prompt led nowhere out.
const StorySnapshot* PlaceLeftByQuitPrompt();
// The place written as the resume point, a state file replaced whole; false when it
// could not be.
bool WriteResumeFile(const StorySnapshot& place);
// Called by the shell's shutdown, on every way the program ends: while the reader is in
// the story (or has just left it by the menu's quit or the quit prompt), the place is
// written as the resume point. False when none was written.
bool WriteResumePoint();

// ---- The menu's settings (system_menu.cpp, system_settings.cpp) ----------------------

// Music off (1) stops the piece; on (0) from off starts the piece the script last asked
// for. Sets MusicOff; the caller writes owlsys.ini.
void SwitchMusic(int off);
// Reads owlsys.ini into MessageSpeed and MusicOff (missing or empty: unchanged).
void ReadSystemSettings();
bool WriteSystemSettings(int speed, int musicOff);

// ---- The player's files (player_files.cpp, text_files.cpp) ----------------------------

// Room for a file's path in the program's directory.
constexpr int PathBytes = 4352;
// name in the program's directory; false (and nothing to use) when it does not fit.
bool ProgramPath(const char* name, char* out, int size);
// A save's or owlsys.ini's path: in the program's directory while it can be written,
// else in $XDG_DATA_HOME/akari/ (made when missing). False when it does not fit.
bool PlayerPath(const char* name, char* out, int size);
// Replaces path with text + "\r\n": written to a temporary file beside it, then renamed
// over it. False when it could not be written (the old file is then untouched).
bool WriteTextFile(const char* path, const char* text);
// The first white-space-delimited token of path, at most size - 1 bytes (longer tokens
// are cut); empty when the file is missing or holds none.
void ReadFirstToken(const char* path, char* out, int size);

// ---- What a slot holds (slot_summary.cpp) --------------------------------------------

struct SlotSummary {
    bool saved;                     // the slot's file holds a save line
    int64_t changedAt;              // that file's last change, in ns since 1970
    int line;                       // the line it holds (SavedLineIn)
    bool pictured;                  // beside it, a state made for that line and script
    uint8_t preview[PreviewBytes];  // that state's small picture
};
// Reads slot n (0 to 4, QuickSlot or ResumePoint); false (saved false) when it holds no
// save.
bool ReadSlotSummary(int slot, SlotSummary* out);
// Of the five slots, the quick slot and the resume point, the one holding a save whose
// file changed last; -1 when none holds one.
int MostRecentSlot();
// A save's time on the reader's clock, as "2026/12/08 09:40", and in its parts (false
// when the clock cannot tell).
void FormatSaveTime(int64_t changedAt, char* out, int size);
bool SaveTimeOnClock(int64_t changedAt, std::tm* out);

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

// ---- Continuing and the quick notice (quick_slot.cpp), F5 and F9 (quick_keys.cpp) ------

// The story at slot's saved line as the reader saw it there (EnterLoadedLine), with its
// state, laid out afresh and coming out again, and the notice (an EngineTextId) over it:
// F9's load, and the title's つづきから. The caller forgets the backlog.
void ContinueFromSlot(int slot, int notice);
// The notice of a quick save or load, shown and (with self-voicing on) spoken.
void ShowQuickNotice(int text);

// Its notice gone; called by ResetStoryState.
void ResetQuickSlot();
// Called by FrameUpdate before the modes, and in each frame of a page over the story or
// the title: F5 saves to the quick slot in the story, F9 loads it in the story or at the
// title; the story then shows the saved line again. F5 anywhere else but the system menu
// (the opening, the title, a page) says that nothing can be saved there.
void QuickSlotKeys();
// Called by FrameUpdate after the modes or the page: the notice of the last F5 or F9,
// anywhere but the system menu, until it has faded.
void DrawQuickNotice();
// True while a notice shows: the frames go on until it has faded.
bool QuickNoticeShowing();

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

// ---- A page over the story (story_cover.cpp) ------------------------------------------

// Called when a page opens over the frozen story or title: keeps what its drawing will
// replace, and the frame under it, darkened, as its backdrop; shows the pointer sprite.
void CoverStory();
// The darkened frame, drawn first by the page each frame.
void DrawCoverBackdrop();
// The back buffer's area (clipped to it) at 1/divisor of its brightness, whatever its
// pixel layout: a page's backdrop, the menu while its notice shows.
void DarkenBackBuffer(const layout::Rect& area, int divisor);
// Called when the page closes: the story's text layout, reveal and pointer sprite back.
void UncoverStory();

// ---- Auto mode (auto_mode.cpp) -------------------------------------------------------

void ResetAutoMode();
// The pause after a fully shown line before auto mode steps: the preferences' pause (1 s
// unless changed) + 50 ms a character.
float AutoPause(int line);
// Called before the frame's modes: the A key toggles, any click ends; true when auto
// mode steps the story in this frame.
bool AutoModeSteps();
// Called after the frame's modes: a choice, the quit prompt or another mode ends auto
// mode; while it is on its mark is drawn in the panel.
void AutoModeAfterFrame();
// Seconds, at the earliest, until auto mode steps without any input; negative when it
// is not waiting to step (off, or held by a choice, a prompt, a menu or the backlog).
float AutoModeSecondsToStep();

// The colour of the panel's marks, and the two arrowheads of one, each drawn from its
// point's top-left.
constexpr int PanelMarkColour = 0x80E0F0;
void DrawPanelArrowheads(const layout::Point (&points)[2]);

// ---- Read marks (read_marks.cpp) -------------------------------------------------------

// Forgets every mark (ResetStoryState); LoadReadMarks then reads them back.
void ResetReadMarks();
// Called by StartGame: the marks of read_marks.txt beside the saves; none when it is
// missing, damaged, or was made against another script table.
void LoadReadMarks();
// Called by the story when a prose line's characters are all out, or a press steps past it.
void MarkLineRead(int line);
bool LineWasRead(int line);
// A mark was set since the file was last written.
bool ReadMarksUnsaved();
// Writes the marks when unsaved (replacing the file whole); called by the main loop a few
// seconds after a change, and at shutdown, never by a frame. False when it could not be.
bool WriteReadMarks();

// ---- Skip mode (skip_mode.cpp) -------------------------------------------------------

void ResetSkipMode();
// Called before the frame's modes: the S key toggles, any click, key or wheel ends it;
// true when skip mode steps the story in this frame (the current line may be skipped).
bool SkipModeSteps();
// Called after a step skip mode made: it ends at a line it may not skip, a choice, the
// quit prompt or another mode; while it goes on the new line's voice is stopped.
void SkipModeAfterStep();
// Called after the frame's modes: while skip mode runs its mark is drawn in the panel.
void SkipModeAfterFrame();
bool SkipModeRuns();
// What S skips, as the preferences choose: every line, or only those read.
bool SkipsEverything();

// ---- Preferences (preferences.cpp) --------------------------------------------------

constexpr int VolumeStep = 5;  // percent
constexpr int AutoPauseTenthsLeast = 0, AutoPauseTenthsMost = 30, AutoPauseTenthsStep = 5;
struct PreferenceFields {
    int MusicVolume = 100;  // percent of the level the script sets, in VolumeStep steps
    int VoiceVolume = 100;
    bool ClickStopsVoice = true;  // false: a voice plays on until the next voiced line
    int AutoPauseTenths = 10;     // auto mode's pause before the characters' share
    bool SkipEverything = false;  // S skips every line, not only those read
    bool SelfVoicing = false;     // narration and the screens' phrases are spoken
};
extern PreferenceFields Preferences;
// The defaults (ResetStoryState).
void ResetPreferences();
// Called by StartGame: preferences.ini read, the defaults when missing or damaged.
void LoadPreferences();
// Replaces preferences.ini whole; false when it could not be written.
bool SavePreferences();
// A volume in percent as a level in hundredths of a decibel: 20 log10(p / 100) dB,
// -10000 (silence) for 0.
int VolumeLevel(int percent);
// The volumes handed to the sound module, over the levels the script sets.
void ApplyVolumes();

// ---- The preferences page (preferences_screen.cpp) -------------------------------------

extern bool PreferencesOpen;  // while the page covers the frozen story or title
// Closed, the first row picked (ResetStoryState).
void ResetPreferencesScreen();
// F1 may open it: in the story (no menu, no backlog) or at the title.
bool PreferencesMayOpen();
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

// ---- Keyboard focus (keyboard_focus.cpp) ---------------------------------------------

// No focus (ResetStoryState).
void ResetKeyboardFocus();
// Called first in each frame: the arrow keys and Tab move the focus among the items of
// what is open and put the pointer on the focused one; on the backlog and the
// preferences Return and Space press there (true then, the keys taken). In the story
// nothing has the focus until an arrow or Tab is pressed, and a step takes it away.
bool KeyboardFocusFrame();

// ---- Self-voicing (self_voicing.cpp) ------------------------------------------------

// The screens whose items are spoken as the pointer reaches them.
enum ReachScreen {
    ReachChoice, ReachQuitPrompt, ReachPanel, ReachMenu, ReachBacklog, ReachPreferences,
    ReachTitle
};
// Nothing spoken, nothing reached (ResetStoryState).
void ResetSelfVoicing();
// The mode, as the preferences keep it.
bool SelfVoicingOn();
// Called for the V key and the preferences' switch: flips the mode, keeps it in
// preferences.ini and says voicing_on or voicing_off (the latter too, as it goes off).
void ToggleSelfVoicing();
// With the mode on: the phrase of data/phrases.txt by its id, or the narration of a
// script text (a prose or prompt line whole, an option from its byte 5), in place of
// whatever speaks on the voice channel. A missing clip is silence. Nothing when off.
void SpeakPhrase(const char* id);
void SpeakLineClip(const char* text);
// With the mode on: a phrase by its id, or a clip by its file name (a narrated line's,
// a voice's), said after the one now sounding, in the order asked, each as the one before
// ends; a phrase said in their place forgets them. Nothing when off.
void SpeakPhraseNext(const char* id);
void SpeakClipNext(const char* clip);
// Called by a step and by the backlog's replay: the phrase stops, and those to follow.
void StopSpeaking();
// Asked by auto mode, which waits for a phrase as for the voice it cut: seconds until
// the phrase ends, 0 when none speaks.
float PhraseSecondsLeft();
// Asked by the main loop, which looks again then: seconds until the next clip to follow
// is due (the one sounding has ended); -1 when none follows.
float SecondsUntilNextClip();
// The clip that narrates script line as it is shown, for the interpreter to play as
// the line's voice: empty when the mode is off or the line is not prose.
std::string NarrationClip(int line);
// Called each frame by a screen for the item (screen, index) under the pointer: true,
// with the mode on, when the pointer was not on it in the last frame; the caller then
// speaks it. Staying on an item says it once; leaving and coming back says it again.
bool PointerReaches(int screen, int index);
// Called at the end of each frame: what was reached becomes the last frame's; the
// notice and the title say theirs as they come up.
void SelfVoicingAfterFrame();

// ---- The engine's own texts, in CP932 (engine_texts.cpp) --------------------------

enum EngineTextId {
    TextGothic, TextMincho, TextSaved, TextLoaded, TextSaveFailed, TextQuickSaved,
    TextQuickLoaded, TextNoQuickSave, TextMenu, TextPreferences, TextMusicVolume,
    TextVoiceVolume, TextClickVoice, TextVoiceStops, TextVoiceFinishes, TextAutoPause,
    TextSkipKey, TextSkipRead, TextSkipEverything, TextMessageSpeed, TextMusic, TextOn,
    TextOff, TextFullScreen, TextClose, TextSeconds, TextSelfVoicing, TextEmptySlot,
    TextContinue, TextClickToReturn, TextNothingToSave, TextNothingToLoad, EngineTextCount
};
const char* EngineText(EngineTextId id);

// ---- Test hooks ------------------------------------------------------------------
// Only tests call these, to set up or look at state one part keeps to itself; the
// program never does.

// The story at line, as a load leaves it: no step made.
void GoToLineForTest(int line);
// FlagTable[index]; 0 for an index outside the table.
int32_t FlagForTest(int index);
// Sets FlagTable[index], as a flg: line would; an index outside the table is ignored.
void SetFlagForTest(int index, int32_t value);
// The picture of the last file: line (BackgroundId), 0 before one or after a failed load.
int StoryPictureForTest();
// The logo's jitter level of its next step (6 down to 1, then up to 19).
int LogoLevelForTest();
// What StartGame leaves for the main loop (frames run), without its pictures and files.
void MarkGameStartedForTest();
// MenuPlain, MenuSaved, MenuLoaded, MenuSaveFailed or MenuSlotEmpty: the notice the
// menu shows.
int MenuNoticeForTest();
// The texts the menu's margin drew in its last frame, CP932: i = 0 the notice, the
// slot's date or 空きスロット; i = 1 the notice's hint or the start of the slot's line.
// "" when none.
const char* MenuMarginTextForTest(int i);
// The engine text of the quick slot's notice showing; -1 when none.
int QuickNoticeForTest();
// True while auto mode is on (the story steps by itself).
bool AutoModeOnForTest();
// The top of entry index on the backlog page last drawn; -1 when it was not drawn.
int BacklogEntryTopForTest(int index);
// The item the keyboard's focus is on, in the order the arrows and Tab walk (on the
// backlog the entry, 0 the oldest); -1 when none.
int KeyboardFocusForTest();
