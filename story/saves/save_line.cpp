// The save line a slot's file holds: "%02i,%03i,%03i,%03i,%03i,%i", five numbers that
// nothing reads but a load keeps for the next save, then the story's line.
#include <cstdio>

#include "story/saves/saves.h"

// The five numbers stand where the save line puts them, each within its width, and the
// line after them is all digits.
bool ParseSaveLine(const char* token, int size, SaveLine* out) {
    const int commas[5] = {2, 6, 10, 14, 18};
    int start = 0;
    for (int i = 0; i < 5; ++i) {
        const int comma = commas[i];
        if (comma >= size || token[comma] != ',') return false;
        int at = start + (token[start] == '-' || token[start] == '+');
        if (at == comma) return false;
        for (; at < comma; ++at)
            if (token[at] < '0' || token[at] > '9') return false;
        out->reserved[i] = ReadNumberIn(token, size, start);
        start = comma + 1;
    }
    int end = start;
    while (end < size && token[end] >= '0' && token[end] <= '9') ++end;
    if (end == start || (end < size && token[end] != '\0')) return false;
    out->line = ReadNumberIn(token, size, start);
    return out->line >= 1 && out->line <= ScriptLineCount - 2;
}

int SavedLineIn(const char* token, int size) {
    SaveLine s;
    return ParseSaveLine(token, size, &s) ? s.line : -1;
}

void FormatSaveLine(const SaveLine& s, char* out, int size) {
    std::snprintf(out, size_t(size), "%02i,%03i,%03i,%03i,%03i,%i", s.reserved[0], s.reserved[1],
                  s.reserved[2], s.reserved[3], s.reserved[4], s.line);
}
