// Reading script lines: keyword prefixes, fixed-offset numbers and the label search.
#include <climits>
#include <cstring>

#include "story/records/script.h"

const char* const KeywordText[KeywordCount] = {
    "label:", "setscreen:", "setchar:", "end:", "size:", "file:", "jump:",
    "swin:", "command:", "swave:", "flg:", "loopanime:", "anime:", "speed:",
    "if:", "switch:", "save:", "load:", "midi_play:", "midi_stop:", "wave_play:"};

// Only the stem is compared: "labelX" is a label line and "endX" an end line.
Keyword MatchKeyword(const char* line) {
    for (int k = 0; k < KeywordCount; ++k) {
        size_t stem = std::strlen(KeywordText[k]) - 1;
        if (std::strncmp(line, KeywordText[k], stem) == 0) return Keyword(k);
    }
    return KwNone;
}

bool IsEffectClip(const char* name) { return std::strncmp(name, "se_", 3) == 0; }

int ReadNumberAt(const char* line, int offset) { return ReadNumberIn(line, ScriptLineBytes, offset); }

int ReadNumberIn(const char* bytes, int size, int offset) {
    if (offset < 0 || offset >= size) return 0;
    const char* p = bytes + offset;
    const char* end = bytes + size;
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    long long value = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > INT_MAX) value = INT_MAX + 1LL;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return int(value);
}

int ArgumentOffset(Keyword k) {
    return k < KeywordCount ? int(std::strlen(KeywordText[k])) : 0;
}

int FindLabelIn(const ScriptLine* table, const char* name) {
    int i = 0;
    for (; i < ScriptLineCount && table[i][0]; ++i)
        if (std::strncmp(table[i] + 6, name, 4) == 0) return i;
    return i;
}
