// Checking Open JTalk's readings against the words it is known to misread.
#include "tools/voice_readings.h"

#include <cstdint>
#include <sstream>

std::vector<KnownReading> ReadKnownReadings(const char* path, Refusals* refusals) {
    std::vector<KnownReading> table;
    std::vector<std::string> lines = ReadLines(path, refusals);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::istringstream fields(lines[i]);
        KnownReading known{"", "", int(i + 1)};
        std::string extra;
        if (!(fields >> known.word) || known.word[0] == '#') continue;
        if (!(fields >> known.reading) || fields >> extra)
            refusals->push_back(std::string(path) + ":" + std::to_string(i + 1) + ": not a word and its reading");
        else
            table.push_back(known);
    }
    return table;
}

// A token of the trace's text analysis: its surface and its reading (the ninth field).
struct Token {
    std::string surface, reading;
};
static std::vector<Token> Tokens(const std::string& trace) {
    std::vector<Token> tokens;
    std::istringstream lines(trace);
    std::string line;
    while (std::getline(lines, line) && line != "[Text analysis result]") {}
    while (std::getline(lines, line) && !line.empty()) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, ',');) fields.push_back(field);
        if (fields.size() > 8) tokens.push_back({fields[0], fields[8]});
    }
    return tokens;
}

// Whether UTF-8 text ends in a kanji (or 々), which would make a word after it part of a
// compound.
static bool EndsInKanji(const std::string& text) {
    if (text.size() < 3) return false;
    const auto* p = reinterpret_cast<const uint8_t*>(text.data() + text.size() - 3);
    if ((p[0] & 0xF0) != 0xE0) return false;
    uint32_t code = uint32_t(p[0] & 0x0F) << 12 | uint32_t(p[1] & 0x3F) << 6 | (p[2] & 0x3F);
    return code == 0x3005 || (code >= 0x3400 && code <= 0x4DBF) || (code >= 0x4E00 && code <= 0x9FFF);
}

void CheckTraceReadings(const std::vector<KnownReading>& table, const char* tablePath, const std::string& trace,
                        const std::string& where, Refusals* refusals) {
    std::vector<Token> tokens = Tokens(trace);
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (i > 0 && EndsInKanji(tokens[i - 1].surface)) continue;
        for (const KnownReading& known : table) {
            std::string surface, reading;
            for (size_t j = i; j < tokens.size() && surface.size() < known.word.size(); ++j) {
                surface += tokens[j].surface;
                reading += tokens[j].reading;
            }
            if (surface == known.word && reading != known.reading)
                refusals->push_back(where + ": Open JTalk reads " + known.word + " as " + reading + ", not " +
                                    known.reading + " (" + tablePath + ":" + std::to_string(known.line) +
                                    "): give the line a reading in kana in the voice list");
        }
    }
}
