// Build-time English tool: joins the English edition to the script and the phrases, and
// writes the C++ source of its table. Usage:
//   akari_english_tool script.txt english.txt phrases.txt english_phrases.txt out.cpp
//
// Every line the reader sees (an option without its label) needs its entry in
// english.txt, by the key of its Japanese text (tools/english_entries.h); an entry whose
// Japanese is no longer in the script is stale. Every phrase needs its English, and an
// English phrase whose id is gone is stale too. All of these stop the build, named. The
// English must fit where the Japanese is shown: the message window's rows wrapped at
// spaces at the line's size, one row of a choice. Dialogue is set as Name: "...".
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/screen_layout.h"
#include "draw/sjis.h"
#include "story/records/script.h"
#include "tools/c_literal.h"
#include "tools/english_entries.h"
#include "tools/message_rows.h"

namespace {

int Errors = 0;
void Refuse(const std::string& where, const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", where.c_str(), why.c_str());
    ++Errors;
}

// A speaker's English name for a dialogue line's Japanese one.
const std::map<std::string, std::string> SpeakerNames = {{"湊", "Minato"}, {"小夜", "Sayo"}};

// The English speaker a dialogue line must begin with ("Name: \"" and end with a
// quote); "" for other prose.
std::string EnglishSpeaker(const std::string& japanese) {
    size_t open = japanese.find("「");
    if (open == std::string::npos || open == 0 || japanese.compare(japanese.size() - 3, 3, "」") != 0) return "";
    auto found = SpeakerNames.find(japanese.substr(0, open));
    return found == SpeakerNames.end() ? "" : found->second;
}

// The English of a shown line fits where the line is shown.
void CheckFits(const std::string& where, const ReaderLine& s, const std::string& text) {
    if (s.kind == ReaderLine::Prose) {
        const int top = layout::MessageText.y, bottom = layout::ClientHeight;
        std::vector<int> rows = EnglishRows(text.c_str(), TextGothic, s.size, layout::MessageText.x,
                                            layout::MessageText.right);
        int room = (bottom - top) / s.size;
        if (rows.empty()) Refuse(where, "the English face cannot be found or lacks a character");
        else if (int(rows.size()) > room)
            Refuse(where, "at size " + std::to_string(s.size) + " the English needs " + std::to_string(rows.size()) +
                              " rows of the message window, which has room for " + std::to_string(room));
        return;
    }
    bool option = s.kind == ReaderLine::Option;
    std::vector<int> rows =
        option ? EnglishRows(text.c_str(), TextGothic, layout::ChoiceTextSize, layout::ChoiceTextLeft,
                             layout::ChoiceRowRight)
               : EnglishRows(text.c_str(), TextMincho, layout::ChoiceTextSize, layout::ChoicePrompt.x,
                             layout::ChoicePrompt.right);
    if (rows.size() != 1) Refuse(where, option ? "the English option needs more than its row" :
                                               "the English prompt needs more than one row");
}

bool WriteTable(const char* path, const std::vector<ReaderLine>& shown, const std::map<std::string, EnglishEntry>& entries) {
    std::vector<std::string> table(ScriptLineCount);
    int last = 0;
    for (const ReaderLine& s : shown) {
        table[size_t(s.index)] = s.label + entries.at(s.key).text;
        last = std::max(last, s.index);
    }
    std::string temporary = std::string(path) + ".tmp";
    std::FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f) return false;
    std::fprintf(f, "// The story's English edition, made by the English tool from data/english.txt.\n");
    std::fprintf(f, "#include \"story/records/script.h\"\n\n");
    std::fprintf(f, "const char* const ShippedEnglish[ScriptLineCount] = {\n");
    for (int i = 0; i <= last; ++i) {
        if (table[size_t(i)].empty()) {
            std::fputs("    nullptr,\n", f);
            continue;
        }
        std::fputs("    ", f);
        WriteCLiteral(f, table[size_t(i)]);
        std::fputs(",\n", f);
    }
    std::fprintf(f, "};\n");
    bool ok = std::fclose(f) == 0;
    return ok && std::rename(temporary.c_str(), path) == 0;
}

void Report(const Refusals& refusals) {
    for (const std::string& why : refusals) {
        std::fprintf(stderr, "%s\n", why.c_str());
        ++Errors;
    }
}

// Every phrase has its English, and every English phrase its phrase.
void CheckPhrases(const char* phrasesPath, const char* englishPath) {
    Refusals refusals;
    std::vector<Phrase> phrases = ReadPhraseList(phrasesPath, &refusals);
    std::map<std::string, EnglishEntry> english = ReadEnglishPhrases(englishPath, &refusals);
    Report(refusals);
    for (const Phrase& phrase : phrases)
        if (!english.erase(phrase.id))
            Refuse(std::string(phrasesPath) + ":" + std::to_string(phrase.line),
                   "no English for the phrase " + phrase.id + ": add \"" + phrase.id + " <English>\" to " + englishPath);
    for (const auto& [id, e] : english)
        Refuse(std::string(englishPath) + ":" + std::to_string(e.line), "stale: no phrase " + id + " any more");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s script.txt english.txt phrases.txt english_phrases.txt out.cpp\n", argv[0]);
        return 2;
    }
    Refusals refusals;
    std::vector<std::string> script = ReadLines(argv[1], &refusals);
    std::map<std::string, EnglishEntry> entries = ReadEnglishEntries(argv[2], &refusals);
    Report(refusals);
    CheckPhrases(argv[3], argv[4]);
    if (Errors) return 1;
    std::vector<ReaderLine> shown = ReaderLines(script);
    std::set<std::string> used;
    for (const ReaderLine& s : shown) {
        std::string where = std::string(argv[1]) + ":" + std::to_string(s.sourceLine);
        auto found = entries.find(s.key);
        if (found == entries.end()) {
            Refuse(where, "no English for 「" + s.japanese + "」: add \"" + s.key + " <English>\" to " + argv[2]);
            continue;
        }
        const EnglishEntry& e = found->second;
        used.insert(s.key);
        std::string at = std::string(argv[2]) + ":" + std::to_string(e.line);
        std::string speaker = s.kind == ReaderLine::Prose ? EnglishSpeaker(s.japanese) : "";
        if (!speaker.empty() && (e.text.compare(0, speaker.size() + 3, speaker + ": \"") != 0 || e.text.back() != '"'))
            Refuse(at, "dialogue is set as " + speaker + ": \"...\"");
        CheckFits(at, s, e.text);
    }
    for (const auto& [key, e] : entries)
        if (!used.count(key))
            Refuse(std::string(argv[2]) + ":" + std::to_string(e.line),
                   "stale: no line of the script has the Japanese of " + key + " any more (\"" + e.text + "\")");
    if (Errors) return 1;
    if (!WriteTable(argv[5], shown, entries)) {
        std::fprintf(stderr, "%s: cannot write\n", argv[5]);
        return 1;
    }
    std::printf("English edition: %zu entries for %zu lines the reader sees\n", entries.size(), shown.size());
    return 0;
}
