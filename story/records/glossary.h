// The glossary of the words the story uses, made at build time from the script by the
// glossary tool (MeCab with Open JTalk's dictionary, and EDICT): for each word of each
// prose line, where it is in the line and its entry. The word box reads it.
#pragma once

// A word as the dictionary gives it: as written and its reading (CP932), the base form
// it is an inflection of (CP932; empty when the word is its own base) and its first
// English senses (ASCII).
struct GlossaryEntry {
    const char* word;
    const char* reading;
    const char* base;
    const char* senses;
};
// A word of a prose line: the table line, its CP932 bytes [start, start + length) and its
// entry. In the order of the lines and of the words in each.
struct GlossaryWord {
    int line, start, length, entry;
};
extern const GlossaryEntry ShippedGlossary[];
extern const int ShippedGlossaryCount;
extern const GlossaryWord ShippedGlossaryWords[];
extern const int ShippedGlossaryWordCount;

// The word of line that holds byte offset of its text; nullptr where there is none (or
// while a test's own script table is in use).
const GlossaryWord* GlossaryWordAt(int line, int offset);
const GlossaryEntry& GlossaryEntryOf(const GlossaryWord& word);
// The words of line, in order; *count of them (0 and nullptr for none).
const GlossaryWord* GlossaryWordsOf(int line, int* count);
