// Build-time glossary tool: cuts each prose line of the script into words with MeCab and
// the dictionary Open JTalk speaks with, gives each word the reading the voices use
// (readings.txt mends the words Open JTalk misreads) and its first senses from the
// Japanese-English dictionary EDICT, and writes the C++ source of the glossary the game's
// word box reads: only the words the story uses. Usage:
//   akari_glossary_tool script.txt readings.txt glossary_mends.txt mecab dictionary edict
//                       out.cpp
// EDICT is read as Debian ships it, in EUC-JP; its licence (CC BY-SA) carries over to
// the glossary, as packaging/copyright says. glossary_mends.txt gives the senses of the
// few words whose entry it would pick wrongly. Beside out.cpp it writes the words'
// readings, one a line (out.cpp's name with .readings.txt), which the voice tool speaks
// for self-voicing.
#include <iconv.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/files.h"
#include "draw/sjis.h"
#include "story/records/script.h"
#include "tools/c_literal.h"
#include "tools/english_entries.h"

extern char** environ;

namespace {

int Errors = 0;
void Refuse(const std::string& where, const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", where.c_str(), why.c_str());
    ++Errors;
}

std::string Sjis(const std::string& utf8) {
    std::vector<char> out(utf8.size() + 1);
    return Utf8ToSjis(utf8.c_str(), out.data(), out.size()) ? std::string(out.data()) : std::string();
}

// Katakana to hiragana, other characters as they are (UTF-8).
std::string Hiragana(const std::string& katakana) {
    std::string out;
    for (size_t i = 0; i < katakana.size();) {
        unsigned char c = static_cast<unsigned char>(katakana[i]);
        size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        std::string ch = katakana.substr(i, n);
        if (n == 3) {
            uint32_t code = (uint32_t(c & 0x0F) << 12) | (uint32_t(katakana[i + 1] & 0x3F) << 6) |
                            uint32_t(katakana[i + 2] & 0x3F);
            if (code >= 0x30A1 && code <= 0x30F6) {
                code -= 0x60;
                ch = {char(0xE0 | (code >> 12)), char(0x80 | ((code >> 6) & 0x3F)), char(0x80 | (code & 0x3F))};
            }
        }
        out += ch;
        i += n;
    }
    return out;
}

// An EDICT entry: its headword, its reading (the headword itself for a kana word), the
// part-of-speech tags of its first sense ("(v5r,vi)"), its senses in English, and
// whether it is a common word.
struct Edict {
    std::string word, reading, tags, senses;
    bool common;
};

// The EDICT tag that begins the tags of each MeCab part of speech.
std::string TagOf(const std::string& mecabPos) {
    static const std::map<std::string, std::string> tags = {
        {"名詞", "(n"}, {"動詞", "(v"}, {"形容詞", "(adj-i"}, {"副詞", "(adv"}, {"助詞", "(prt"},
        {"助動詞", "(aux"}, {"連体詞", "(adj-pn"}, {"接続詞", "(conj"}, {"感動詞", "(int"}};
    auto found = tags.find(mecabPos);
    return found == tags.end() ? "" : found->second;
}

// EDICT's senses cut to their English: the part-of-speech and numbering tags dropped,
// at most three senses and 70 characters, ASCII only.
std::string Senses(const std::string& field) {
    std::vector<std::string> kept;
    std::stringstream parts(field);
    for (std::string sense; std::getline(parts, sense, '/') && kept.size() < 3;) {
        while (!sense.empty() && sense[0] == '(') {
            size_t close = sense.find(')');
            if (close == std::string::npos) break;
            sense.erase(0, close + 1);
            while (!sense.empty() && sense[0] == ' ') sense.erase(0, 1);
        }
        std::string ascii;
        for (char c : sense)
            if (static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F) ascii += c;
        if (!ascii.empty() && ascii.find("EntL") != 0) kept.push_back(ascii);
    }
    std::string joined;
    for (const std::string& s : kept) {
        if (joined.size() + s.size() + 2 > 70) break;
        joined += (joined.empty() ? "" : "; ") + s;
    }
    return joined;
}

// EDICT read whole, by headword and by reading.
struct Dictionary {
    std::vector<Edict> entries;
    std::multimap<std::string, size_t> byWord, byReading;
};

bool ReadEdict(const char* path, Dictionary* d) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string euc((std::istreambuf_iterator<char>(in)), {});
    iconv_t cd = iconv_open("UTF-8", "EUC-JP");
    if (cd == iconv_t(-1)) return false;
    std::stringstream lines(euc);
    for (std::string line; std::getline(lines, line);) {
        std::vector<char> out(line.size() * 2 + 4);
        char* src = line.data();
        char* dst = out.data();
        size_t left = line.size(), room = out.size() - 1;
        if (iconv(cd, &src, &left, &dst, &room) == size_t(-1)) continue;
        *dst = '\0';
        std::string text = out.data();
        size_t slash = text.find(" /");
        if (slash == std::string::npos) continue;
        std::string head = text.substr(0, slash), word = head, reading = head;
        size_t open = head.find(" [");
        if (open != std::string::npos) {
            word = head.substr(0, open);
            reading = head.substr(open + 2, head.size() - open - 3);
        }
        std::string senses = Senses(text.substr(slash + 2));
        if (senses.empty()) continue;
        d->byWord.emplace(word, d->entries.size());
        d->byReading.emplace(reading, d->entries.size());
        std::string first = text.substr(slash + 2);
        std::string tags = first.substr(0, first.find("/"));  // the first sense with its tags
        d->entries.push_back({word, reading, tags, senses, text.find("/(P)/") != std::string::npos});
    }
    iconv_close(cd);
    return true;
}

// The entry for a word's base form, reading and part of speech: one under that headword
// whose reading is the word's, else any under that headword, else a kana word's under
// its reading; of those, one of the word's part of speech, then a common word.
// The kana reading's entries are many: one usually written in kana wins there.
const Edict* Lookup(const Dictionary& d, const std::string& base, const std::string& reading,
                    const std::string& tag) {
    const Edict* best = nullptr;
    int bestScore = -1;
    auto consider = [&](const Edict& e, int score) {
        score += e.common ? 3 : 0;
        if (!tag.empty() && (e.tags.compare(0, tag.size(), tag) == 0 || e.tags.find("," + tag.substr(1)) != std::string::npos))
            score += 2;
        if (score > bestScore) best = &e, bestScore = score;
    };
    for (auto [at, end] = d.byWord.equal_range(base); at != end; ++at)
        consider(d.entries[at->second], d.entries[at->second].reading == reading ? 8 : 4);
    // A word written in kana: one usually written so ("uk") first.
    if (!best)
        for (auto [at, end] = d.byReading.equal_range(base); at != end; ++at)
            consider(d.entries[at->second], d.entries[at->second].tags.find("uk") != std::string::npos ? 1 : 0);
    return best;
}

// Runs MeCab on text (one line a line) with the dictionary, its output read back.
bool RunMecab(const char* mecab, const char* dictionary, const std::string& text, std::string* output) {
    // Open JTalk's copy of the dictionary has no dicrc of its own: a folder of links to it
    // beside one.
    std::filesystem::path dir = std::filesystem::temp_directory_path() / ("akari-mecab-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    for (const auto& entry : std::filesystem::directory_iterator(dictionary))
        std::filesystem::create_symlink(entry.path(), dir / entry.path().filename());
    std::ofstream(dir / "dicrc") << "bos-feature = BOS/EOS,*,*,*,*,*,*,*,*\n";
    std::ofstream(dir / "input.txt") << text;
    std::string command = std::string(mecab) + " -d '" + dir.string() + "' '" + (dir / "input.txt").string() +
                          "' -o '" + (dir / "output.txt").string() + "'";
    int status = std::system(command.c_str());
    std::ifstream in(dir / "output.txt", std::ios::binary);
    *output = std::string((std::istreambuf_iterator<char>(in)), {});
    std::filesystem::remove_all(dir);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct Entry {
    std::string word, reading, base, senses;  // UTF-8
};
struct Word {
    int line, start, length, entry;  // table line, CP932 byte range in it
};

bool WriteGlossary(const char* path, const std::vector<Entry>& entries, const std::vector<Word>& words) {
    std::string temporary = std::string(path) + ".tmp";
    std::FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f) return false;
    std::fprintf(f, "// The story's glossary, made by the glossary tool from the script and EDICT (CC BY-SA).\n");
    std::fprintf(f, "#include \"story/records/glossary.h\"\n\n");
    std::fprintf(f, "const GlossaryEntry ShippedGlossary[] = {\n");
    for (const Entry& e : entries) {
        std::fputs("    {", f);
        WriteCLiteral(f, Sjis(e.word));
        std::fputs(", ", f);
        WriteCLiteral(f, Sjis(e.reading));
        std::fputs(", ", f);
        WriteCLiteral(f, Sjis(e.base));
        std::fputs(", ", f);
        WriteCLiteral(f, e.senses);
        std::fputs("},\n", f);
    }
    std::fprintf(f, "};\nconst int ShippedGlossaryCount = %zu;\n\n", entries.size());
    std::fprintf(f, "const GlossaryWord ShippedGlossaryWords[] = {\n");
    for (const Word& w : words) std::fprintf(f, "    {%d, %d, %d, %d},\n", w.line, w.start, w.length, w.entry);
    std::fprintf(f, "};\nconst int ShippedGlossaryWordCount = %zu;\n", words.size());
    bool ok = std::fclose(f) == 0;
    return ok && std::rename(temporary.c_str(), path) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 8) {
        std::fprintf(stderr, "usage: %s script.txt readings.txt glossary_mends.txt mecab dictionary edict out.cpp\n",
                     argv[0]);
        return 2;
    }
    Refusals refusals;
    std::vector<std::string> script = ReadLines(argv[1], &refusals), readingLines = ReadLines(argv[2], &refusals);
    std::map<std::string, EnglishEntry> mends = ReadEnglishOfWords(argv[3], &refusals);
    for (const std::string& r : refusals) Refuse(r, "the glossary needs it");
    Dictionary edict;
    if (!ReadEdict(argv[6], &edict)) Refuse(argv[6], "cannot read EDICT");
    if (Errors) return 1;
    std::map<std::string, std::string> mended;  // word -> reading in katakana
    for (const std::string& line : readingLines) {
        std::istringstream fields(line);
        std::string word, reading;
        if (fields >> word >> reading && word[0] != '#') mended[word] = reading;
    }
    std::vector<ReaderLine> prose;
    std::string text;
    for (const ReaderLine& line : ReaderLines(script))
        if (line.kind == ReaderLine::Prose) {
            prose.push_back(line);
            text += line.japanese + "\n";
        }
    std::string analysis;
    if (!RunMecab(argv[4], argv[5], text, &analysis)) Refuse(argv[4], "MeCab could not cut the script into words");
    if (Errors) return 1;

    // The mends given as word/reading are words MeCab cuts in two: looked up whole.
    std::map<std::string, std::pair<std::string, std::string>> joined;  // CP932 word -> reading, senses
    for (const auto& [word, mend] : mends) {
        size_t slash = word.find('/');
        if (slash != std::string::npos) joined[Sjis(word.substr(0, slash))] = {word.substr(slash + 1), mend.text};
    }
    std::vector<Entry> entries;
    std::map<std::string, int> entryOf;  // word + base + reading -> entry
    std::vector<Word> words;
    size_t joinedEnd = 0;  // the end of a joined word the morphemes still lie in
    std::stringstream out(analysis);
    size_t at = 0;     // the prose line being read
    size_t byte = 0;   // its CP932 bytes matched so far
    std::string sjisLine = prose.empty() ? "" : Sjis(prose[0].japanese);
    for (std::string row; std::getline(out, row) && at < prose.size();) {
        if (row == "EOS") {
            byte = joinedEnd = 0;
            if (++at < prose.size()) sjisLine = Sjis(prose[at].japanese);
            continue;
        }
        size_t tab = row.find('\t');
        if (tab == std::string::npos) continue;
        std::string surface = row.substr(0, tab), sjis = Sjis(surface);
        std::vector<std::string> feature;
        std::stringstream fields(row.substr(tab + 1));
        for (std::string f; std::getline(fields, f, ',');) feature.push_back(f);
        size_t found = sjis.empty() ? std::string::npos : sjisLine.find(sjis, byte);
        if (found == std::string::npos || feature.size() < 9) continue;  // a space MeCab left out
        byte = found + sjis.size();
        if (feature[0] == "記号" || found < joinedEnd) continue;
        bool isJoined = false;
        for (const auto& [word, mend] : joined) {
            if (sjisLine.compare(found, word.size(), word) != 0 || word.size() <= sjis.size()) continue;
            std::string key = word + "\t" + mend.first;
            if (!entryOf.count(key)) {
                entryOf[key] = int(entries.size());
                char utf8[64];
                entries.push_back({SjisToUtf8(word.c_str(), utf8, sizeof utf8), mend.first, "", mend.second});
            }
            words.push_back({prose[at].index, int(found), int(word.size()), entryOf[key]});
            joinedEnd = found + word.size();
            isJoined = true;
        }
        if (isJoined) continue;
        std::string base = feature[6] == "*" ? surface : feature[6];
        std::string reading = mended.count(surface) ? mended[surface] : feature[7];
        const Edict* e = Lookup(edict, base, Hiragana(feature[7] == "*" ? surface : reading), TagOf(feature[0]));
        if (!e) continue;
        std::string key = surface + "\t" + base + "\t" + reading;
        if (!entryOf.count(key)) {
            entryOf[key] = int(entries.size());
            std::string senses = mends.count(base) ? mends[base].text : e->senses;
            entries.push_back({surface, Hiragana(reading), base == surface ? "" : base, senses});
        }
        words.push_back({prose[at].index, int(found), int(sjis.size()), entryOf[key]});
    }
    if (at + 1 < prose.size()) Refuse(argv[1], "MeCab's words do not cover every prose line");
    if (Errors) return 1;
    std::set<std::string> readings;
    std::string spoken;
    for (const Entry& e : entries)
        if (readings.insert(e.reading).second) spoken += e.reading + "\n";
    std::string readingsPath = std::filesystem::path(argv[7]).replace_extension(".readings.txt").string();
    if (!WriteGlossary(argv[7], entries, words) || !ReplaceFile(readingsPath.c_str(), spoken)) {
        std::fprintf(stderr, "%s: cannot write\n", argv[7]);
        return 1;
    }
    std::printf("glossary: %zu entries for %zu words of %zu lines\n", entries.size(), words.size(), prose.size());
    return 0;
}
