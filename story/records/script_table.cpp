// The active script table: the shipped story, or a table a test hands in.
#include "story/records/script.h"

#include <cstring>

#include "base/hash.h"

static const ScriptLine* ScriptTable = ShippedScript;
static const char* const* EnglishTable = ShippedEnglish;

void UseScriptTable(const ScriptLine* table) {
    ScriptTable = table ? table : ShippedScript;
    EnglishTable = table ? nullptr : ShippedEnglish;
}

void UseEnglishTable(const char* const* table) { EnglishTable = table; }

const char* EnglishLineText(int index) {
    if (!EnglishTable || index < 0 || index >= ScriptLineCount) return nullptr;
    return EnglishTable[index];
}

// Whole 400 bytes, so that reading an argument offset of it stays inside.
static const ScriptLine EmptyLine = {};

const char* LineText(int index) {
    if (index < 0 || index >= ScriptLineCount) return EmptyLine;
    return ScriptTable[index];
}

int FindLabel(const char* name) { return FindLabelIn(ScriptTable, name); }

// The hash of every line's text and its end: an edited, moved or added line changes it.
uint64_t ScriptTableHash() {
    uint64_t h = HashStart;
    for (int line = 0; line < ScriptLineCount; ++line)
        h = HashBytes(LineText(line), std::strlen(LineText(line)) + 1, h);
    return h;
}
