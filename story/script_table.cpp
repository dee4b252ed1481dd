// The active script table: the shipped story, or a table a test hands in.
#include "story/script.h"

static const ScriptLine* ScriptTable = ShippedScript;

void UseScriptTable(const ScriptLine* table) { ScriptTable = table ? table : ShippedScript; }

// Whole 400 bytes, so that reading an argument offset of it stays inside.
static const ScriptLine EmptyLine = {};

const char* LineText(int index) {
    if (index < 0 || index >= ScriptLineCount) return EmptyLine;
    return ScriptTable[index];
}

int FindLabel(const char* name) { return FindLabelIn(ScriptTable, name); }

// FNV-1a over every line's text and its end: an edited, moved or added line changes it.
uint64_t ScriptTableHash() {
    uint64_t h = 14695981039346656037ull;
    for (int line = 0; line < ScriptLineCount; ++line) {
        for (const char* p = LineText(line);; ++p) {
            h = (h ^ uint8_t(*p)) * 1099511628211ull;
            if (!*p) break;
        }
    }
    return h;
}
