// The words Open JTalk is known to read wrongly, and the check of its traces against
// them: a line that brings one of them back unread stops the build.
#pragma once
#include <string>
#include <vector>

#include "tools/spoken_lines.h"

// "<word> <reading in katakana>" a line, '#' starts a comment.
struct KnownReading {
    std::string word, reading;
    int line;
};
std::vector<KnownReading> ReadKnownReadings(const char* path, Refusals* refusals);

// Open JTalk's trace of one clip against the table: wherever the words it analysed hold
// a word of the table as a word of its own (whole tokens, the first not following a
// kanji, so that 表 is checked and 時刻表 is not), the tokens' readings must spell the
// table's reading. Each disagreement is refused at where.
void CheckTraceReadings(const std::vector<KnownReading>& table, const char* tablePath, const std::string& trace,
                        const std::string& where, Refusals* refusals);
