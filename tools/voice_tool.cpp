// Build-time voice tool: speaks with Open JTalk each clip of the voice list, into the game
// folder as a 16-bit mono RIFF WAVE at 44.1 kHz, and the narration, into its folder
// speech/ as Ogg Opus: every line the narrator reads (prose without a clip of its own,
// the choices' options and prompts) and every phrase of the phrase list. A voice clip's
// words are the prose line that follows its wave_play: line in the script (the speech
// alone, without the speaker's name and its brackets); the list may give a kana reading
// instead, for a narrated line or a phrase too, by its clip's name. Finished clips are
// kept in a cache keyed by a hash of what they are made from, so only changed lines are
// spoken again. Every clip is checked (tools/voice_checks.h) before any is delivered, and
// Open JTalk's trace of every clip against the table of words it is known to misread; a
// fault stops the build. Given the English edition, flite speaks its narration too, into
// en/: the English of every narrated line and phrase, named as the Japanese are. Given
// the glossary's readings, the narrator speaks each, named by its text as a narrated
// line is, for the word box.
// Usage: akari_voice_tool script.txt voices.txt phrases.txt readings.txt game-folder
//        cache-folder open_jtalk dictionary voice.htsvoice
//          [english.txt english_phrases.txt flite [glossary-readings.txt]]
//        akari_voice_tool --list script.txt voices.txt phrases.txt
//          (file, speaker, words, and where a narrated clip's text is; no sound)
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/files.h"
#include "base/hash.h"
#include "base/little_endian.h"
#include "draw/sjis.h"
#include "sound/sound_state.h"
#include "story/records/script.h"
#include "tools/clip_checks.h"
#include "tools/english_entries.h"
#include "tools/opus_file.h"
#include "tools/speech_level.h"
#include "tools/spoken_lines.h"
#include "tools/voice_checks.h"
#include "tools/voice_readings.h"
#include "tools/wave_file.h"

extern char** environ;

// How each speaker is voiced. Every voice speaks about 15 % faster than the voice data
// does: the vocoder's frames are 209 samples long instead of 240, which shortens speech
// and pauses alike and leaves pitch and timbre as they were. 湊 is the voice data's own
// young man. 小夜 is a girl: eleven half-tones up, and a smaller all-pass constant, which
// moves her spectral envelope (her formants) up by about a fifth below 4 kHz, as a
// shorter vocal tract would; she speaks a little slower than he does. The announcements are lower,
// slower and flatter in pitch, like a recorded platform voice. The narrator, who reads
// what no one speaks, lies between the two characters: five half-tones over 湊 (a
// third of an octave under 小夜), with an envelope a little higher than his, and an
// even pace.
// The English narrator is flite's clearest voice, a woman's, at its own pace.
struct Speaker {
    const char* name;
    std::vector<std::string> settings;
    bool flite = false;  // spoken by flite, not Open JTalk
};
static const Speaker Speakers[] = {
    {"minato", {"-p", "209"}},
    {"sayo", {"-p", "209", "-fm", "11", "-a", "0.47", "-r", "0.93"}},
    {"announce", {"-p", "209", "-fm", "-3", "-a", "0.52", "-r", "0.86", "-jf", "0.5"}},
    {"narrator", {"-p", "209", "-fm", "5", "-a", "0.50"}},
    {"english", {"-voice", "slt"}, true},
};
static const std::string Narrator = "narrator";
// The narration's folder in the game folder; the narrated lines' clips are named by
// kaSound::SpeechClipName, the phrases' by their ids.
static const std::string SpeechFolder = "speech/", EnglishFolder = "en/";

// Bumped whenever the processing after Open JTalk changes, so cached clips are remade.
static const char* const ProcessingVersion = "44100 mono16 peak-3dB lift1.5dB fade10ms lead20ms tail150ms v3";
static const char* const SpeechProcessingVersion =
    "48000 mono16 peak-3dB lift1.5dB fade10ms lead20ms tail150ms opus-level0.9 serial v3";
constexpr int RenderRate = 48000;  // the voice data's own rate, and one of Opus's
constexpr double PeakLevel = 0.70794578;  // -3 dBFS
// Speech is lifted 1.5 dB under that peak: its body then stands about 8 LU over the
// music (at the story's -6 dB), and a whole route measures about -18 LUFS.
constexpr double SpeechLift = 1.18850223;
// Open JTalk starts and ends each clip with about half a second of near silence; the
// clip keeps 20 ms of it before the first sound and 150 ms after the last (SoundingPart),
// so that the voice starts with its line and the next click rarely cuts it.
constexpr size_t MaxRenderedBytes = 64u << 20;

struct Clip {
    std::string file;   // in the game folder
    int speaker;
    std::string reading;
    int listLine;       // its line in the voice list; 0 when it is not listed
    std::string words;  // what is spoken: the reading, or the script's line
    std::string where;  // for a narrated clip, where its text is
    std::string key;    // the cache name
    bool speech() const {
        return file.compare(0, SpeechFolder.size(), SpeechFolder) == 0 ||
               file.compare(0, EnglishFolder.size(), EnglishFolder) == 0;
    }
    bool flite() const { return Speakers[speaker].flite; }
    std::string cached(const std::string& cache) const {
        return cache + "/" + key + (speech() ? ".opus" : ".wav");
    }
    std::string trace(const std::string& cache) const { return cache + "/" + key + ".trace"; }
};

static int Errors = 0;
static void Refuse(const std::string& where, const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", where.c_str(), why.c_str());
    ++Errors;
}
static void Report(const Refusals& refusals) {
    for (const std::string& r : refusals) std::fprintf(stderr, "%s\n", r.c_str());
    Errors += int(refusals.size());
}

// The voice list: "<file> <speaker> [<kana reading>]" per line; '#' starts a comment. A
// narrated line or a phrase is listed only for its reading, by its clip's name, spoken
// by the narrator.
static std::vector<Clip> ReadVoiceList(const char* path) {
    std::vector<Clip> clips;
    Refusals unreadable;
    std::vector<std::string> lines = ReadLines(path, &unreadable);
    Report(unreadable);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string where = std::string(path) + ":" + std::to_string(i + 1);
        std::istringstream fields(lines[i]);
        Clip clip{};
        std::string speaker;
        if (!(fields >> clip.file) || clip.file[0] == '#') continue;
        fields >> speaker >> clip.reading;
        std::string extra;
        clip.speaker = -1;
        for (size_t s = 0; s < std::size(Speakers); ++s)
            if (speaker == Speakers[s].name) clip.speaker = int(s);
        clip.listLine = int(i + 1);
        bool named = clip.file.size() <= 30 &&
                     clip.file.find('/', clip.speech() ? SpeechFolder.size() : 0) == std::string::npos;
        if (clip.speaker < 0) Refuse(where, "unknown speaker \"" + speaker + "\"");
        else if (fields >> extra) Refuse(where, "more than a file, a speaker and a reading");
        else if (!named) Refuse(where, "\"" + clip.file + "\" is not a file name of at most 30 bytes");
        else if (clip.speech() != (speaker == Narrator))
            Refuse(where, "the narrator speaks the clips in " + SpeechFolder + " and no others");
        else if (clip.speech() && clip.reading.empty())
            Refuse(where, "a narrated clip is listed only to give its reading");
        for (const Clip& other : clips)
            if (other.file == clip.file) Refuse(where, "\"" + clip.file + "\" listed twice");
        clips.push_back(clip);
    }
    return clips;
}

// The hash of the parts, each ended by a zero byte, as 16 hex digits.
static std::string Hash(const std::vector<std::string>& parts) {
    uint64_t h = HashStart;
    for (const std::string& part : parts) h = HashBytes(part.c_str(), part.size() + 1, h);
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

// Runs a program and waits for it; true when it exits 0.
static bool Run(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Open JTalk's 48 kHz clip as mono samples: for a WAVE clip resampled to the output rate
// by the game's own band-limited conversion; for a compressed one at its own rate.
static bool ReadRendered(const std::string& rendered, bool resample, std::vector<double>* mono, int* rate) {
    std::vector<uint8_t> file, format, data;
    if (!ReadWholeFile(rendered.c_str(), MaxRenderedBytes, &file) || !kaSound::ParseWave(file, &format, &data))
        return false;
    if (resample) {
        std::vector<float> stereo;
        if (!kaSound::ConvertClip(format, data, &stereo)) return false;
        mono->resize(stereo.size() / 2);
        for (size_t i = 0; i < mono->size(); ++i) (*mono)[i] = stereo[i * 2];
        *rate = kaSound::OutputRate;
        return true;
    }
    const uint8_t pcmMono16[] = {1, 0, 1, 0};
    if (!std::equal(pcmMono16, pcmMono16 + 4, format.begin()) || Read16(&format[14]) != 16) return false;
    mono->resize(data.size() / 2);
    for (size_t i = 0; i < mono->size(); ++i) (*mono)[i] = int16_t(Read16(&data[i * 2])) / 32768.0;
    *rate = int(Read32(&format[4]));
    return true;
}

// The rendered clip to the finished one: cut to its sounding part with a short lead and
// tail, faded in and out over 10 ms so that neither end clicks, lifted, and scaled so
// that its peak lies at -3 dBFS.
static std::vector<int16_t> Shaped(const std::vector<double>& all, int rate) {
    const size_t keptLead = size_t(rate / 50), keptTail = size_t(rate * 3 / 20), fade = size_t(rate / 100);
    auto [first, last] = SoundingPart(all, rate);
    if (first >= last) return {};
    size_t from = first > keptLead ? first - keptLead : 0;
    size_t to = std::min(all.size(), last + keptTail);
    std::vector<double> mono(all.begin() + long(from), all.begin() + long(to));
    size_t frames = mono.size();
    for (size_t i = 0; i < frames; ++i) {
        size_t edge = std::min(i, frames - 1 - i);
        if (edge < fade) mono[i] *= 0.5 - 0.5 * std::cos(M_PI * double(edge) / double(fade));
    }
    return ScaledToPeak(Lifted(mono, rate, SpeechLift), PeakLevel);
}

static bool Finish(const Clip& clip, const std::string& rendered, const std::string& finished) {
    std::vector<double> mono;
    int rate = 0;
    if (!ReadRendered(rendered, !clip.speech(), &mono, &rate)) return false;
    std::vector<int16_t> samples = Shaped(mono, rate);
    if (samples.empty()) return false;
    return clip.speech() ? WriteOpusFile(finished, samples, rate)
                         : WriteWaveFile(finished, samples);
}

// Speaks one clip into the cache: the words go to Open JTalk (or flite) as a UTF-8 text
// file; Open JTalk's trace (the readings it chose) stays beside the finished clip for
// checking.
static bool Render(const Clip& clip, const std::string& cache, char** tools, const char* flite) {
    std::string base = cache + "/" + clip.key;
    if (!ReplaceFile((base + ".txt").c_str(), clip.words + "\n")) return false;
    std::vector<std::string> command = {tools[0], "-x", tools[1], "-m", tools[2],
                                        "-s", std::to_string(RenderRate),
                                        "-ow", base + ".rendered.wav", "-ot", clip.trace(cache)};
    if (clip.flite()) command = {flite, "-f", base + ".txt", "-o", base + ".rendered.wav"};
    const std::vector<std::string>& settings = Speakers[clip.speaker].settings;
    command.insert(command.end() - (clip.flite() ? 4 : 0), settings.begin(), settings.end());
    if (!clip.flite()) command.push_back(base + ".txt");
    bool ok = Run(command) && Finish(clip, base + ".rendered.wav", clip.cached(cache));
    std::remove((base + ".rendered.wav").c_str());
    std::remove((base + ".txt").c_str());
    return ok;
}

// Puts the cached clip into the game folder; an unchanged clip only has its time set, so
// that the build sees it as made.
static bool Deliver(const std::string& cached, const std::string& target) {
    std::vector<uint8_t> want, have;
    if (!ReadWholeFile(cached.c_str(), MaxRenderedBytes, &want)) return false;
    if (ReadWholeFile(target.c_str(), MaxRenderedBytes, &have) && have == want)
        return utimensat(AT_FDCWD, target.c_str(), nullptr, 0) == 0;
    return ReplaceFile(target.c_str(), std::string(want.begin(), want.end()));
}

// The voice list's clips with the script's words; the refusals of a list that does not
// match the script.
static void MatchVoices(std::vector<Clip>& listed, const char* scriptPath, const std::vector<std::string>& script,
                        const char* listPath) {
    Refusals refusals;
    std::map<std::string, std::string> voiced = VoicedLines(script, scriptPath, &refusals);
    Report(refusals);
    for (const auto& [file, words] : voiced) {
        bool found = false;
        for (const Clip& clip : listed) found = found || clip.file == file;
        if (!found) Refuse(listPath, "\"" + file + "\" is played by the script but not listed");
    }
    for (Clip& clip : listed) {
        if (clip.speech()) continue;
        auto line = voiced.find(clip.file);
        if (line == voiced.end())
            Refuse(std::string(listPath) + ":" + std::to_string(clip.listLine),
                   "\"" + clip.file + "\" is never played by the script");
        else
            clip.words = clip.reading.empty() ? line->second : clip.reading;
    }
}

// The narrator's clips: one for each text the narrated lines show (a text shown twice
// is one clip) and one for each phrase, with the readings the voice list gives.
static std::vector<Clip> NarrationClips(const std::vector<Clip>& listed, const char* scriptPath,
                                        const std::vector<std::string>& script, const char* phrasePath,
                                        const char* listPath, size_t* phraseCount) {
    std::vector<Clip> clips;
    std::set<std::string> named;
    int narrator = 0;
    while (Speakers[narrator].name != Narrator) ++narrator;
    auto add = [&](const std::string& file, const std::string& words, const std::string& where) {
        if (!named.insert(file).second) return;
        clips.push_back(Clip{file, narrator, "", 0, words, where, ""});
    };
    for (const NarratedLine& line : NarratedLines(script)) {
        std::vector<char> sjis(line.text.size() + 1);
        std::string where = std::string(scriptPath) + ":" + std::to_string(line.line);
        if (!Utf8ToSjis(line.text.c_str(), sjis.data(), sjis.size()))
            Refuse(where, "a character that CP932 cannot encode");
        else
            add(kaSound::SpeechClipName(sjis.data()), line.words, where);
    }
    Refusals refusals;
    std::vector<Phrase> phrases = ReadPhraseList(phrasePath, &refusals);
    Report(refusals);
    for (const Phrase& phrase : phrases)
        add(SpeechFolder + phrase.id + ".opus", phrase.text, std::string(phrasePath) + ":" + std::to_string(phrase.line));
    *phraseCount = phrases.size();
    for (const Clip& entry : listed) {
        if (!entry.speech()) continue;
        bool found = false;
        for (Clip& clip : clips)
            if (clip.file == entry.file) {
                clip.words = entry.reading;
                clip.listLine = entry.listLine;
                found = true;
            }
        if (!found)
            Refuse(std::string(listPath) + ":" + std::to_string(entry.listLine),
                   "\"" + entry.file + "\" is no narrated line's nor phrase's clip");
    }
    return clips;
}

// The English narration: for each narrated line the English of its text, and for each
// phrase its English, spoken in English into en/, named as the Japanese are.
static std::vector<Clip> EnglishClips(const char* scriptPath, const std::vector<std::string>& script,
                                      const char* phrasePath, const char* englishPath,
                                      const char* englishPhrasesPath) {
    Refusals refusals;
    std::map<std::string, EnglishEntry> english = ReadEnglishEntries(englishPath, &refusals);
    std::map<std::string, EnglishEntry> phrases = ReadEnglishPhrases(englishPhrasesPath, &refusals);
    std::vector<Phrase> ids = ReadPhraseList(phrasePath, &refusals);
    Report(refusals);
    int speaker = 0;
    while (!Speakers[speaker].flite) ++speaker;
    std::vector<Clip> clips;
    std::set<std::string> named;
    auto add = [&](const std::string& file, const std::string& words, const std::string& where) {
        if (named.insert(file).second) clips.push_back(Clip{file, speaker, "", 0, words, where, ""});
    };
    for (const NarratedLine& line : NarratedLines(script)) {
        std::vector<char> sjis(line.text.size() + 1);
        std::string where = std::string(scriptPath) + ":" + std::to_string(line.line);
        auto found = Utf8ToSjis(line.text.c_str(), sjis.data(), sjis.size()) ? english.find(EnglishKey(sjis.data()))
                                                                              : english.end();
        if (found == english.end()) Refuse(where, "no English in " + std::string(englishPath));
        else add(kaSound::SpeechClipName(found->second.text.c_str(), true), SpokenEnglish(found->second.text), where);
    }
    for (const Phrase& phrase : ids) {
        std::string where = std::string(englishPhrasesPath) + ": " + phrase.id;
        auto found = phrases.find(phrase.id);
        if (found == phrases.end()) Refuse(where, "no English for the phrase");
        else add(EnglishFolder + phrase.id + ".opus", found->second.text, where);
    }
    return clips;
}

// The glossary's readings, each a narrated clip named by its text, as a narrated line's
// is: the word box says the word pointed at with it.
static void AddWordClips(const char* path, std::vector<Clip>* narration) {
    Refusals refusals;
    std::vector<std::string> readings = ReadLines(path, &refusals);
    Report(refusals);
    int narrator = 0;
    while (Speakers[narrator].name != Narrator) ++narrator;
    std::set<std::string> named;
    for (const Clip& clip : *narration) named.insert(clip.file);
    for (size_t i = 0; i < readings.size(); ++i) {
        std::vector<char> sjis(readings[i].size() + 1);
        if (readings[i].empty() || !Utf8ToSjis(readings[i].c_str(), sjis.data(), sjis.size())) continue;
        std::string file = kaSound::SpeechClipName(sjis.data());
        if (named.insert(file).second)
            narration->push_back(Clip{file, narrator, "", 0, readings[i], std::string(path) + ":" + std::to_string(i + 1), ""});
    }
}

// Removes from a narration's folder what no clip of this build is.
static void RemoveStale(const std::string& folder, const std::vector<Clip>& clips) {
    std::set<std::string> kept;
    for (const Clip& clip : clips) kept.insert(std::filesystem::path(clip.file).filename().string());
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (!kept.count(entry.path().filename().string())) std::filesystem::remove(entry.path(), error);
}

int main(int argc, char** argv) {
    bool list = argc == 5 && std::strcmp(argv[1], "--list") == 0;
    if (!list && argc != 10 && argc != 13 && argc != 14) {
        std::fprintf(stderr, "usage: %s script.txt voices.txt phrases.txt readings.txt game-folder "
                             "cache-folder open_jtalk dictionary voice.htsvoice "
                             "[english.txt english_phrases.txt flite [glossary-readings.txt]]\n"
                             "       %s --list script.txt voices.txt phrases.txt\n", argv[0], argv[0]);
        return 2;
    }
    const char* scriptPath = argv[list ? 2 : 1];
    const char* listPath = argv[list ? 3 : 2];
    const char* phrasePath = argv[list ? 4 : 3];
    std::vector<Clip> voices = ReadVoiceList(listPath);
    Refusals unreadable;
    std::vector<std::string> script = ReadLines(scriptPath, &unreadable);
    Report(unreadable);
    MatchVoices(voices, scriptPath, script, listPath);
    size_t phraseCount = 0;
    std::vector<Clip> narration = NarrationClips(voices, scriptPath, script, phrasePath, listPath, &phraseCount);
    voices.erase(std::remove_if(voices.begin(), voices.end(), [](const Clip& c) { return c.speech(); }),
                 voices.end());
    if (Errors) return 1;
    if (list) {
        for (const Clip& clip : voices)
            std::printf("%s\t%s\t%s\n", clip.file.c_str(), Speakers[clip.speaker].name, clip.words.c_str());
        for (const Clip& clip : narration)
            std::printf("%s\t%s\t%s\t%s\n", clip.file.c_str(), Narrator.c_str(), clip.words.c_str(),
                        clip.where.c_str());
        return 0;
    }

    const char* readingsPath = argv[4];
    Refusals refusals;
    std::vector<KnownReading> knownReadings = ReadKnownReadings(readingsPath, &refusals);
    Report(refusals);
    if (Errors) return 1;
    std::string game = argv[5], cache = argv[6];
    char** tools = argv + 7;
    const bool withEnglish = argc >= 13;
    const char* flite = withEnglish ? argv[12] : "";
    std::vector<Clip> english;
    if (withEnglish) english = EnglishClips(scriptPath, script, phrasePath, argv[10], argv[11]);
    if (argc == 14) AddWordClips(argv[13], &narration);
    if (Errors) return 1;
    mkdir(cache.c_str(), 0755);
    mkdir((game + "/" + SpeechFolder).c_str(), 0755);
    if (withEnglish) mkdir((game + "/" + EnglishFolder).c_str(), 0755);
    std::vector<Clip*> all;
    for (std::vector<Clip>* clips : {&voices, &narration, &english})
        for (Clip& clip : *clips) all.push_back(&clip);
    // A clip is missing when its cache file or its trace is; two clips with the same words
    // in the same voice are spoken once.
    std::vector<const Clip*> missing;
    std::set<std::string> keys;
    size_t spoken[3] = {0, 0, 0};  // voices, narration, English narration
    for (Clip* clip : all) {
        std::vector<std::string> parts = {clip->speech() ? SpeechProcessingVersion : ProcessingVersion,
                                          clip->flite() ? "flite" : tools[1], clip->flite() ? "" : tools[2],
                                          clip->words};
        const std::vector<std::string>& settings = Speakers[clip->speaker].settings;
        parts.insert(parts.end(), settings.begin(), settings.end());
        clip->key = Hash(parts);
        struct stat st;
        bool cached = stat(clip->cached(cache).c_str(), &st) == 0 &&
                      (clip->flite() || stat(clip->trace(cache).c_str(), &st) == 0);
        if (cached || !keys.insert(clip->key).second) continue;
        missing.push_back(clip);
        ++spoken[clip->flite() ? 2 : clip->speech()];
    }
    // Two clips at a time: the build machine has two cores.
    std::atomic<size_t> next{0};
    std::mutex report;
    auto worker = [&] {
        for (size_t n; (n = next++) < missing.size();) {
            if (Render(*missing[n], cache, tools, flite)) continue;
            std::lock_guard<std::mutex> hold(report);
            Refuse(missing[n]->file, std::string(missing[n]->flite() ? "flite" : "Open JTalk") +
                                         " could not speak \"" + missing[n]->words + "\"");
        }
    };
    std::thread helper(worker);
    worker();
    helper.join();
    // Every clip's readings, whether spoken now or kept from an earlier build.
    Refusals misread;
    for (const Clip* clip : Errors ? std::vector<Clip*>() : all) {
        if (clip->flite()) continue;
        std::vector<uint8_t> trace;
        std::string where = clip->listLine ? std::string(listPath) + ":" + std::to_string(clip->listLine) : clip->where;
        if (!ReadWholeFile(clip->trace(cache).c_str(), MaxRenderedBytes, &trace))
            Refuse(where, "no trace of Open JTalk's readings in the cache");
        else
            CheckTraceReadings(knownReadings, readingsPath, std::string(trace.begin(), trace.end()), where, &misread);
    }
    Report(misread);
    std::vector<SpokenClip> checked[2];
    for (const Clip* clip : all)
        checked[clip->speech()].push_back({clip->file, clip->cached(cache), Speakers[clip->speaker].name});
    if (!Errors) Errors += CheckSpokenClips(checked[0], checked[1], script);
    for (const Clip* clip : all)
        if (!Errors && !Deliver(clip->cached(cache), game + "/" + clip->file))
            Refuse(game + "/" + clip->file, "cannot write");
    if (!Errors) RemoveStale(game + "/" + SpeechFolder, narration);
    if (!Errors && withEnglish) RemoveStale(game + "/" + EnglishFolder, english);
    std::printf("voices: %zu clips, %zu spoken, %zu from the cache\n", voices.size(), spoken[0],
                voices.size() - spoken[0]);
    std::printf("narration: %zu clips (%zu lines, %zu phrases), %zu spoken, %zu from the cache\n",
                narration.size(), narration.size() - phraseCount, phraseCount, spoken[1],
                narration.size() - spoken[1]);
    if (withEnglish)
        std::printf("English narration: %zu clips, %zu spoken, %zu from the cache\n", english.size(), spoken[2],
                    english.size() - spoken[2]);
    return Errors ? 1 : 0;
}
