// The English edition's sources: data/english.txt, "<key> <English>" a line, the key the
// 16 hex digits of the hash of the Japanese text as the reader sees it (the name of its
// narration clip); and data/english_phrases.txt, "<id> <English>" a line for each phrase
// of phrases.txt. '#' starts a comment in both.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "tools/spoken_lines.h"

struct EnglishEntry {
    int line;  // in its file, from 1
    std::string text;
};

// The entries by key; a malformed line, a key given twice or an English that is not
// printable ASCII with single spaces between words is refused.
std::map<std::string, EnglishEntry> ReadEnglishEntries(const char* path, Refusals* refusals);
// The phrases by id, refused in the same way.
std::map<std::string, EnglishEntry> ReadEnglishPhrases(const char* path, Refusals* refusals);
// The English of Japanese words, "<word> <English>" lines (glossary_mends.txt).
std::map<std::string, EnglishEntry> ReadEnglishOfWords(const char* path, Refusals* refusals);
// A line the reader sees: where it is, its text as shown (an option without its label)
// and that text's key.
struct ReaderLine {
    enum Kind { Prose, Option, Prompt };
    int sourceLine, index;  // in script.txt (from 1), in the table
    Kind kind;
    int size;               // the message window's size for prose
    std::string label;      // an option's 5-byte label
    std::string japanese;   // UTF-8
    std::string key;
};
// The lines the reader sees, walking the script as the engine reads its table: notes for
// the tools are left out, an empty line ends it, a command: line's options and prompt
// follow it, size: lines carry to the prose after them.
std::vector<ReaderLine> ReaderLines(const std::vector<std::string>& script);
// The key of a Japanese text as the reader sees it, in CP932.
std::string EnglishKey(const std::string& sjis);
// What the narrator says of an English line: a line of dialogue, set as Name: "...",
// without the name and the quotes; others whole.
std::string SpokenEnglish(const std::string& text);
