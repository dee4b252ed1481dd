// The story's records: the script table and its rules, and what is kept across runs:
// set.ini, the preferences, the read marks, and where the program's and the player's
// files lie.
#pragma once
#include <cstdint>

#include "story/records/script.h"

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

// ---- Read marks (read_marks.cpp) -------------------------------------------------------

// Forgets every mark (ResetStoryState); LoadReadMarks then reads them back.
void ResetReadMarks();
// Called by StartGame: the marks of read_marks.txt beside the saves; none when it is
// missing, damaged, or was made against another script table.
void LoadReadMarks();
// Called by the story when a prose line's characters are all out, or a press steps past it.
void MarkLineRead(int line);
bool LineWasRead(int line);
// (ReadMarksUnsaved and WriteReadMarks, which the shell calls, are in story/story.h.)

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
    bool English = false;         // the story and the screens in English
    bool CopyLines = false;       // each line shown goes on the clipboard
    bool WordBox = false;         // the pointer on a word shows its reading and meaning
};
extern PreferenceFields Preferences;
// The defaults (ResetStoryState).
void ResetPreferences();
// Called by StartGame: preferences.ini read, the defaults when missing or damaged.
void LoadPreferences();
// Replaces preferences.ini whole; false when it could not be written.
bool SavePreferences();
// True while the reader has the English edition in force.
bool EnglishInForce();
// Puts the language in force, the error box's with it (not kept: SavePreferences).
void SetLanguage(bool english);
// The text the reader sees of a script line: in the language in force, the English of a
// prose, option or prompt line (an option keeps its 5-byte label, as in Japanese), else
// the line as the table holds it.
const char* ReaderText(int line);
// A volume in percent as a level in hundredths of a decibel: 20 log10(p / 100) dB,
// -10000 (silence) for 0.
int VolumeLevel(int percent);
// The volumes handed to the sound module, over the levels the script sets.
void ApplyVolumes();

