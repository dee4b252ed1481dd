// A save to a slot and a load from one: the story's position and state, and the save
// line's reserved numbers, which a load keeps for the next save.
#include "story/saves/saves.h"

// What the save line holds before the line number, as the last load read it.
static SaveLine Kept;

void ResetSaveLine() { Kept = {{1, 40, 1, 1, 1}, 0}; }

void SaveLineOf(int line, char* out, int size) {
    SaveLine s = Kept;
    s.line = line;
    FormatSaveLine(s, out, size);
}

bool SaveSlot(int slot) {
    char line[SaveLineBytes];
    static StorySnapshot snapshot;
    TakeStorySnapshot(&snapshot);
    SaveLineOf(CurrentScene().line, line, sizeof line);
    return WriteSlot(slot, line, snapshot, LastStoryFrame());
}

// A slot with no save line in it (missing, empty, a line outside the table, anything
// else) changes nothing. Loading closes an open choice or quit prompt: the story goes on
// from the loaded line, with the state kept beside the slot when it was made for that
// save line and this script.
bool LoadSlot(int slot) {
    char token[SaveTokenBytes];
    if (!ReadSaveLine(slot, token) || !ParseSaveLine(token, sizeof token, &Kept)) return false;
    static StateFile state;
    EnterSavedLine(Kept.line, ReadSlotState(slot, token, &state) ? &state.snapshot : nullptr);
    return true;
}
