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
