// Reading what is spoken from the script (by the engine's own rules) and the phrase list.
#include "tools/spoken_lines.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "story/records/script.h"

// A speaker's name before the opening bracket of a dialogue line is at most this long.
constexpr size_t MaxNameBytes = 15;
// A phrase's clip, "speech/<id>.opus", keeps within the sound objects' 30-byte names.
constexpr size_t MaxPhraseIdBytes = 18;
constexpr size_t ClipHashDigits = 16;

std::vector<std::string> ReadLines(const char* path, Refusals* refusals) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    if (!in) refusals->push_back(std::string(path) + ": cannot read");
    for (std::string text; std::getline(in, text);) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        lines.push_back(text);
    }
    return lines;
}

static bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The full stop that the setting leaves out before 」 is given back, so that the speech
// is spoken as a sentence that ends.
std::string SpokenPart(const std::string& line) {
    static const std::string Open = "「", Close = "」";
    size_t open = line.find(Open);
    if (open == std::string::npos || open == 0 || open > MaxNameBytes || line.find_first_of(" \t") < open ||
        line.size() < open + Open.size() + Close.size() || !EndsWith(line, Close))
        return line;
    std::string speech = line.substr(open + Open.size(), line.size() - open - Open.size() - Close.size());
    for (const char* end : {"。", "？", "！", "』"})
        if (EndsWith(speech, end)) return speech;
    return speech + "。";
}

// The option count of a command: line, read as the engine reads it (within the line).
static int OptionCount(const std::string& line) {
    return std::max(0, ReadNumberIn(line.c_str(), int(line.size() + 1), 8));
}

// Sound effects are not spoken. The script ends at its first empty line; the option
// lines of a command: block are not prose.
std::map<std::string, std::string> VoicedLines(const std::vector<std::string>& script,
                                               const char* path, Refusals* refusals) {
    std::map<std::string, std::string> voiced;
    std::vector<std::pair<std::string, size_t>> waiting;  // clips waiting for their line
    auto where = [&](size_t at) { return std::string(path) + ":" + std::to_string(at + 1); };
    for (size_t i = 0; i < script.size() && !script[i].empty(); ++i) {
        Keyword k = MatchKeyword(script[i].c_str());
        if (IsToolNote(script[i].c_str())) continue;
        if (k == KwWavePlay) {
            std::string clip = script[i].substr(std::strlen(KeywordText[KwWavePlay]));
            if (!IsEffectClip(clip.c_str())) waiting.emplace_back(clip, i);
        } else if (k == KwCommand) {
            i += size_t(OptionCount(script[i]));
        } else if (k == KwNone) {
            for (auto& [file, at] : waiting) {
                std::string words = SpokenPart(script[i]);
                auto found = voiced.find(file);
                if (found != voiced.end() && found->second != words)
                    refusals->push_back(where(at) + ": \"" + file + "\" is played before two different lines");
                voiced[file] = words;
            }
            waiting.clear();
        }
    }
    for (auto& [file, at] : waiting) refusals->push_back(where(at) + ": no prose line follows");
    return voiced;
}

// A voice clip's wave_play: belongs to the step it is in: a jump:, end: or command:
// ends the step, as the script tool has it.
std::vector<NarratedLine> NarratedLines(const std::vector<std::string>& script) {
    std::vector<NarratedLine> narrated;
    bool voiced = false;
    for (size_t i = 1; i < script.size() && !script[i].empty(); ++i) {
        const std::string& line = script[i];
        Keyword k = MatchKeyword(line.c_str());
        if (IsToolNote(line.c_str())) continue;
        if (k == KwWavePlay) {
            voiced = voiced || !IsEffectClip(line.c_str() + std::strlen(KeywordText[KwWavePlay]));
        } else if (k == KwJump || k == KwEnd) {
            voiced = false;
        } else if (k == KwCommand) {
            size_t count = size_t(OptionCount(line));
            for (size_t o = i + 1; o <= i + count + 1 && o < script.size() && !script[o].empty(); ++o) {
                std::string text = o <= i + count ? script[o].substr(std::min<size_t>(5, script[o].size())) : script[o];
                if (!text.empty()) narrated.push_back({text, text, int(o + 1)});
            }
            i += count + 1;
            voiced = false;
        } else if (k == KwNone) {
            if (!voiced) narrated.push_back({line, SpokenPart(line), int(i + 1)});
            voiced = false;
        }
    }
    return narrated;
}

static bool IsClipHash(const std::string& id) {
    return id.size() == ClipHashDigits && id.find_first_not_of("0123456789abcdef") == std::string::npos;
}

std::vector<Phrase> ReadPhraseList(const char* path, Refusals* refusals) {
    std::vector<Phrase> phrases;
    std::vector<std::string> lines = ReadLines(path, refusals);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string where = std::string(path) + ":" + std::to_string(i + 1) + ": ";
        std::istringstream fields(lines[i]);
        Phrase phrase{};
        if (!(fields >> phrase.id) || phrase.id[0] == '#') continue;
        std::getline(fields >> std::ws, phrase.text);
        phrase.line = int(i + 1);
        if (phrase.id.size() > MaxPhraseIdBytes || phrase.id[0] < 'a' || phrase.id[0] > 'z' ||
            phrase.id.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_") != std::string::npos ||
            IsClipHash(phrase.id))
            refusals->push_back(where + "\"" + phrase.id + "\" is not an id of at most " +
                                std::to_string(MaxPhraseIdBytes) +
                                " lowercase letters, digits and _ (and not 16 hex digits)");
        else if (phrase.text.empty())
            refusals->push_back(where + "\"" + phrase.id + "\" has no text");
        for (const Phrase& other : phrases)
            if (other.id == phrase.id) refusals->push_back(where + "\"" + phrase.id + "\" listed twice");
        phrases.push_back(phrase);
    }
    return phrases;
}
