// The script table and the rules for reading its lines: keyword prefixes, fixed-offset
// numbers and the label search. The build's script tool checks scripts by the same rules.
#pragma once
#include <cstdint>

constexpr int ScriptLineCount = 1500;
constexpr int ScriptLineBytes = 400;  // a NUL-terminated line of at most 399 bytes
typedef char ScriptLine[ScriptLineBytes];

// The story the program carries, made at build time from data/script.txt.
extern const ScriptLine ShippedScript[ScriptLineCount];
// The engine reads the shipped table unless a test hands it another (nullptr: the
// shipped one again).
void UseScriptTable(const ScriptLine* table);
// The English edition of the shipped story, made at build time from data/english.txt:
// for each line the reader sees (prose, an option, a prompt) its English in ASCII, an
// option with its label; nullptr for every other line.
extern const char* const ShippedEnglish[ScriptLineCount];
// The English the engine reads: the shipped edition, none while a test's own table is in
// use (UseScriptTable), or a test's own after it.
void UseEnglishTable(const char* const* table);
// The English of line index of the active edition; nullptr when it has none.
const char* EnglishLineText(int index);
// The text of line index of the active table; an empty line for an index outside it.
const char* LineText(int index);
// A hash of the whole active table: files of ours that hold line numbers (the read
// marks) keep it, and are ignored once the script has changed.
uint64_t ScriptTableHash();

// The keywords, in the order the interpreter tests them.
enum Keyword {
    KwLabel, KwSetscreen, KwSetchar, KwEnd, KwSize, KwFile, KwJump, KwSwin, KwCommand,
    KwSwave, KwFlg, KwLoopanime, KwAnime, KwSpeed, KwIf, KwSwitch, KwSave, KwLoad,
    KwMidiPlay, KwMidiStop, KwWavePlay, KeywordCount, KwNone = KeywordCount
};
// "label:", "setscreen:", ... with their colon.
extern const char* const KeywordText[KeywordCount];

// The keyword whose stem (the word without its colon) begins line, tested in order;
// KwNone for prose, option and prompt lines.
Keyword MatchKeyword(const char* line);
// A decimal integer read from byte offset of a 400-byte line: leading blanks, an
// optional sign, digits up to the first non-digit; no digits give 0. Offsets outside
// the line give 0; values beyond int are held at the int limits.
int ReadNumberAt(const char* line, int offset);
// The same on a buffer of size bytes (saves, owlsys.ini).
int ReadNumberIn(const char* bytes, int size, int offset);
// The font sizes a size: line may choose; the interpreter holds other numbers to them.
constexpr int MinTextSize = 1, MaxTextSize = 200;
// Byte offset of each keyword's (first) argument.
int ArgumentOffset(Keyword k);
// The first line from 0 whose bytes 6 to 9 equal the first 4 bytes of name (a bounded
// comparison that also stops at a NUL present in both); the first empty line when none
// does, or ScriptLineCount when the table has no empty line.
int FindLabelIn(const ScriptLine* table, const char* name);
int FindLabel(const char* name);
// A line of data/script.txt that begins with '#' is a note for the build's tools (who a
// scene has in view, whether snow falls, or a comment): the script tool leaves it out of
// the table, so the engine never reads one, and the voice tool never speaks it.
inline bool IsToolNote(const char* line) { return line[0] == '#'; }
// True for a sound effect's clip, whose file name begins with "se_": it sounds with its
// line but is no one's voice, so it is neither spoken by the build nor replayed from
// the backlog.
bool IsEffectClip(const char* name);

