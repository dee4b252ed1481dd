// The saves: the slots and their save lines, the state and the preview kept beside each,
// owlsys.ini, what a slot holds, the quick slot's notice, continuing, the resume point.
#pragma once
#include <cstdint>
#include <ctime>
#include <string>

#include "base/screen_layout.h"
#include "story/engine/engine.h"
#include "story/records/records.h"

constexpr int SlotCount = 5;
constexpr int QuickSlot = SlotCount;        // F5 and F9's slot, after the menu's five
constexpr int ResumePoint = QuickSlot + 1;  // the place kept as the program ended

// ---- The state file and the preview (saved_state.cpp) ---------------------------------

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

// ---- The resume point (resume_point.cpp) ---------------------------------------------

// The place written as the resume point, a state file replaced whole; false when it
// could not be.
bool WriteResumeFile(const StorySnapshot& place);

// ---- owlsys.ini (system_settings.cpp) --------------------------------------------------

// Reads owlsys.ini into MessageSpeed and MusicOff (missing or empty: unchanged).
void ReadSystemSettings();
bool WriteSystemSettings(int speed, int musicOff);

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

// ---- Continuing and the quick notice (quick_slot.cpp) ---------------------------------

// The story at slot's saved line as the reader saw it there (EnterLoadedLine), with its
// state, laid out afresh and coming out again, and the notice (an EngineTextId) over it:
// F9's load, and the title's つづきから. The caller forgets the backlog.
void ContinueFromSlot(int slot, int notice);
// The notice of a quick save or load, shown and (with self-voicing on) spoken.
void ShowQuickNotice(int text);

// Its notice gone; called by ResetStoryState.
void ResetQuickSlot();
// Called by FrameUpdate after the modes or the page: the notice of the last F5 or F9,
// anywhere but the system menu, until it has faded.
void DrawQuickNotice();
// True while a notice shows: the frames go on until it has faded.
bool QuickNoticeShowing();

// ---- Test hooks ------------------------------------------------------------------

// The engine text of the quick slot's notice showing; -1 when none.
int QuickNoticeForTest();
