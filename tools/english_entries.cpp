// Reading the English edition's sources.
#include "tools/english_entries.h"

#include <algorithm>
#include <cstdio>

#include "base/hash.h"
#include "draw/sjis.h"
#include "story/records/script.h"

static void CheckText(const std::string& where, const std::string& text, Refusals* refusals) {
    for (unsigned char c : text)
        if (c < 0x20 || c > 0x7E) return refusals->push_back(where + ": the English must be printable ASCII");
    if (text.empty() || text.front() == ' ' || text.back() == ' ' || text.find("  ") != std::string::npos)
        refusals->push_back(where + ": empty, or spaces at an end or doubled");
}

// "<name> <English>" lines, the name checked by named.
template <typename NameCheck>
static std::map<std::string, EnglishEntry> ReadNamed(const char* path, Refusals* refusals, const char* shape,
                                                     NameCheck named) {
    std::map<std::string, EnglishEntry> entries;
    std::vector<std::string> lines = ReadLines(path, refusals);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        std::string where = std::string(path) + ":" + std::to_string(i + 1);
        if (line.empty() || line[0] == '#') continue;
        size_t space = line.find(' ');
        std::string name = line.substr(0, space);
        if (space == std::string::npos || !named(name)) {
            refusals->push_back(where + ": " + shape);
            continue;
        }
        std::string text = line.substr(space + 1);
        CheckText(where, text, refusals);
        if (!entries.emplace(name, EnglishEntry{int(i + 1), text}).second)
            refusals->push_back(where + ": " + name + " has an entry already");
    }
    return entries;
}

std::map<std::string, EnglishEntry> ReadEnglishEntries(const char* path, Refusals* refusals) {
    return ReadNamed(path, refusals, "an entry is 16 hex digits, a space and the English", [](const std::string& key) {
        return key.size() == 16 && key.find_first_not_of("0123456789abcdef") == std::string::npos;
    });
}

std::map<std::string, EnglishEntry> ReadEnglishPhrases(const char* path, Refusals* refusals) {
    return ReadNamed(path, refusals, "a phrase is its id, a space and the English", [](const std::string& id) {
        return !id.empty() && id.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_") == std::string::npos;
    });
}

std::map<std::string, EnglishEntry> ReadEnglishOfWords(const char* path, Refusals* refusals) {
    return ReadNamed(path, refusals, "a word, a space and the English", [](const std::string& word) {
        return !word.empty() && static_cast<unsigned char>(word[0]) >= 0x80;
    });
}

std::string EnglishKey(const std::string& sjis) {
    char key[17];
    std::snprintf(key, sizeof key, "%016llx", static_cast<unsigned long long>(HashBytes(sjis.data(), sjis.size())));
    return key;
}

std::string SpokenEnglish(const std::string& text) {
    size_t colon = text.find(": \"");
    if (colon == std::string::npos || colon == 0 || colon > 12 || text.back() != '"' ||
        text.find(' ') < colon)
        return text;
    return text.substr(colon + 3, text.size() - colon - 4);
}

static std::string Sjis(const std::string& utf8) {
    std::vector<char> out(utf8.size() + 1);
    return Utf8ToSjis(utf8.c_str(), out.data(), out.size()) ? std::string(out.data()) : std::string();
}

std::vector<ReaderLine> ReaderLines(const std::vector<std::string>& script) {
    std::vector<ReaderLine> shown;
    int index = -1, size = 28;
    for (size_t i = 0; i < script.size() && !script[i].empty(); ++i) {
        const std::string& line = script[i];
        if (IsToolNote(line.c_str())) continue;
        ++index;
        if (index == 0) continue;  // line 0 is never shown
        Keyword k = MatchKeyword(line.c_str());
        if (k == KwSize) size = ReadNumberAt(line.c_str(), ArgumentOffset(KwSize));
        if (k == KwCommand) {
            int count = ReadNumberAt(line.c_str(), ArgumentOffset(KwCommand));
            for (int o = 1; o <= count + 1 && i + size_t(o) < script.size(); ++o) {
                const std::string& row = script[i + size_t(o)];
                bool option = o <= count;
                std::string text = option ? row.substr(std::min<size_t>(5, row.size())) : row;
                shown.push_back({int(i) + o + 1, index + o, option ? ReaderLine::Option : ReaderLine::Prompt, size,
                                 option ? row.substr(0, 5) : "", text, EnglishKey(Sjis(text))});
            }
            i += size_t(count) + 1;
            index += count + 1;
        } else if (k == KwNone) {
            shown.push_back({int(i) + 1, index, ReaderLine::Prose, size, "", line, EnglishKey(Sjis(line))});
        }
    }
    return shown;
}
