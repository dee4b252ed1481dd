// Build-time voice tool: speaks each clip of the voice list with Open JTalk and writes it
// into the game folder as a 16-bit mono RIFF WAVE at 44.1 kHz. The words are the prose
// line that follows the clip's wave_play: line in the script (the speech alone, without
// the speaker's name and its brackets), or the kana reading the list gives. Finished
// clips are kept in a cache keyed by a hash of what they are made from, so only changed
// lines are spoken again.
// Usage: akari_voice_tool script.txt voices.txt game-folder cache-folder open_jtalk
//        dictionary voice.htsvoice
//        akari_voice_tool --list script.txt voices.txt   (file, speaker, words; no sound)
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/files.h"
#include "sound/sound_state.h"
#include "story/script.h"
#include "tools/wave_file.h"

extern char** environ;

// How each speaker is voiced. Every voice speaks about 15 % faster than the voice data
// does: the vocoder's frames are 209 samples long instead of 240, which shortens speech
// and pauses alike and leaves pitch and timbre as they were. 湊 is the voice data's own
// young man. 小夜 is a girl: eleven half-tones up, and a smaller all-pass constant, which
// moves her spectral envelope (her formants) up by about a fifth below 4 kHz, as a
// shorter vocal tract would; she speaks a little slower than he does. The announcements are lower,
// slower and flatter in pitch, like a recorded platform voice.
struct Speaker {
    const char* name;
    std::vector<std::string> settings;
};
static const Speaker Speakers[] = {
    {"minato", {"-p", "209"}},
    {"sayo", {"-p", "209", "-fm", "11", "-a", "0.47", "-r", "0.93"}},
    {"announce", {"-p", "209", "-fm", "-3", "-a", "0.52", "-r", "0.86", "-jf", "0.5"}},
};

// Bumped whenever the processing after Open JTalk changes, so cached clips are remade.
static const char* const ProcessingVersion = "44100 mono16 peak-3dB fade10ms lead20ms tail150ms v2";
constexpr int RenderRate = 48000;  // the voice data's own rate
constexpr double PeakLevel = 0.70794578;  // -3 dBFS
constexpr int FadeFrames = kaSound::OutputRate / 100;
// Open JTalk starts and ends each clip with about half a second of near silence; the
// clip keeps 20 ms of it before the first sound and 150 ms after the last, so that the
// voice starts with its line and the next click rarely cuts it. A sound is a 5 ms
// stretch within 40 dB of the clip's peak.
constexpr int KeptLead = kaSound::OutputRate / 50, KeptTail = kaSound::OutputRate * 3 / 20;
constexpr int SoundWindow = kaSound::OutputRate / 200;
constexpr double SoundLevel = 0.01;
constexpr size_t MaxRenderedBytes = 64u << 20;
// A speaker's name before the opening bracket of a dialogue line is at most this long.
constexpr size_t MaxNameBytes = 15;

struct Clip {
    std::string file;
    int speaker;
    std::string reading;
    int listLine;
    std::string words;  // what is spoken: the reading, or the script's line
    std::string key;    // the cache name
};

static int Errors = 0;
static void Refuse(const std::string& where, const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", where.c_str(), why.c_str());
    ++Errors;
}

static std::vector<std::string> ReadLines(const char* path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    if (!in) Refuse(path, "cannot read");
    for (std::string text; std::getline(in, text);) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        lines.push_back(text);
    }
    return lines;
}

// The voice list: "<file> <speaker> [<kana reading>]" per line; '#' starts a comment.
static std::vector<Clip> ReadVoiceList(const char* path) {
    std::vector<Clip> clips;
    std::vector<std::string> lines = ReadLines(path);
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
        if (clip.speaker < 0) Refuse(where, "unknown speaker \"" + speaker + "\"");
        else if (fields >> extra) Refuse(where, "more than a file, a speaker and a reading");
        else if (clip.file.size() > 30 || clip.file.find('/') != std::string::npos)
            Refuse(where, "\"" + clip.file + "\" is not a file name of at most 30 bytes");
        for (const Clip& other : clips)
            if (other.file == clip.file) Refuse(where, "\"" + clip.file + "\" listed twice");
        clips.push_back(clip);
    }
    return clips;
}

static bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The words of a prose line: a dialogue line, set as 名「……」, without the speaker's
// name and the brackets round the speech. The full stop that the setting leaves out
// before 」 is given back, so that the speech is spoken as a sentence that ends.
static std::string SpokenPart(const std::string& line) {
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

// The prose line after each voice's wave_play: line, by clip name; sound effects are not
// spoken. The script ends at its first empty line; the option lines of a command: block
// are not prose.
static std::map<std::string, std::string> VoicedLines(const char* path) {
    std::map<std::string, std::string> voiced;
    std::vector<std::string> lines = ReadLines(path);
    std::vector<std::pair<std::string, size_t>> waiting;  // clips waiting for their line
    for (size_t i = 0; i < lines.size() && !lines[i].empty(); ++i) {
        Keyword k = MatchKeyword(lines[i].c_str());
        if (k == KwWavePlay) {
            std::string clip = lines[i].substr(std::strlen(KeywordText[KwWavePlay]));
            if (!IsEffectClip(clip.c_str())) waiting.emplace_back(clip, i);
        } else if (k == KwCommand) {
            i += size_t(std::max(0, ReadNumberAt(lines[i].c_str(), 8)));
        } else if (k == KwNone) {
            for (auto& [file, at] : waiting) {
                std::string words = SpokenPart(lines[i]);
                auto found = voiced.find(file);
                if (found != voiced.end() && found->second != words)
                    Refuse(std::string(path) + ":" + std::to_string(at + 1),
                           "\"" + file + "\" is played before two different lines");
                voiced[file] = words;
            }
            waiting.clear();
        }
    }
    for (auto& [file, at] : waiting)
        Refuse(std::string(path) + ":" + std::to_string(at + 1), "no prose line follows");
    return voiced;
}

// 64-bit FNV-1a of the parts, each ended by a zero byte, as 16 hex digits.
static std::string Hash(const std::vector<std::string>& parts) {
    uint64_t h = 14695981039346656037ull;
    for (const std::string& part : parts) {
        for (size_t i = 0; i <= part.size(); ++i) {
            h ^= uint8_t(i < part.size() ? part[i] : 0);
            h *= 1099511628211ull;
        }
    }
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

// The first and one past the last frame of the stretch that holds sound.
static std::pair<size_t, size_t> SoundingPart(const std::vector<double>& mono) {
    double peak = 0;
    for (double v : mono) peak = std::max(peak, std::fabs(v));
    size_t first = mono.size(), last = 0;
    for (size_t at = 0; at + SoundWindow <= mono.size(); at += SoundWindow / 5) {
        double energy = 0;
        for (size_t n = at; n < at + SoundWindow; ++n) energy += mono[n] * mono[n];
        if (std::sqrt(energy / SoundWindow) < peak * SoundLevel) continue;
        first = std::min(first, at);
        last = at + SoundWindow;
    }
    return {first, last};
}

// Open JTalk's 48 kHz clip to the finished one: resampled by the game's own band-limited
// conversion, cut to its sounding part with a short lead and tail, faded in and out
// over 10 ms so that neither end clicks, and scaled so that its peak lies at -3 dBFS.
static bool Finish(const std::string& rendered, const std::string& finished) {
    std::vector<uint8_t> file, format, data;
    std::vector<float> stereo;
    if (!ReadWholeFile(rendered.c_str(), MaxRenderedBytes, &file) ||
        !kaSound::ParseWave(file, &format, &data) ||
        !kaSound::ConvertClip(format, data, &stereo))
        return false;
    std::vector<double> all(stereo.size() / 2);
    for (size_t i = 0; i < all.size(); ++i) all[i] = stereo[i * 2];
    auto [first, last] = SoundingPart(all);
    if (first >= last) return false;
    size_t from = first > size_t(KeptLead) ? first - KeptLead : 0;
    size_t to = std::min(all.size(), last + KeptTail);
    std::vector<double> mono(all.begin() + long(from), all.begin() + long(to));
    size_t frames = mono.size();
    for (size_t i = 0; i < frames; ++i) {
        size_t edge = std::min(i, frames - 1 - i);
        if (edge < size_t(FadeFrames)) mono[i] *= 0.5 - 0.5 * std::cos(M_PI * double(edge) / FadeFrames);
    }
    std::vector<int16_t> samples = ScaledToPeak(mono, PeakLevel);
    return !samples.empty() && ReplaceFile(finished.c_str(), WaveBytes(samples));
}

// Speaks one clip into the cache: the words go to Open JTalk as a UTF-8 text file; its
// trace (the readings it chose) stays beside the finished clip for checking.
static bool Render(const Clip& clip, const std::string& cache, char** tools) {
    std::string base = cache + "/" + clip.key;
    if (!ReplaceFile((base + ".txt").c_str(), clip.words + "\n")) return false;
    std::vector<std::string> command = {tools[0], "-x", tools[1], "-m", tools[2],
                                        "-s", std::to_string(RenderRate),
                                        "-ow", base + ".48k.wav", "-ot", base + ".trace"};
    const std::vector<std::string>& settings = Speakers[clip.speaker].settings;
    command.insert(command.end(), settings.begin(), settings.end());
    command.push_back(base + ".txt");
    bool ok = Run(command) && Finish(base + ".48k.wav", base + ".wav");
    std::remove((base + ".48k.wav").c_str());
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

int main(int argc, char** argv) {
    bool list = argc == 4 && std::strcmp(argv[1], "--list") == 0;
    if (!list && argc != 8) {
        std::fprintf(stderr, "usage: %s script.txt voices.txt game-folder cache-folder "
                             "open_jtalk dictionary voice.htsvoice\n"
                             "       %s --list script.txt voices.txt\n", argv[0], argv[0]);
        return 2;
    }
    const char* scriptPath = argv[list ? 2 : 1];
    const char* listPath = argv[list ? 3 : 2];
    std::vector<Clip> clips = ReadVoiceList(listPath);
    std::map<std::string, std::string> voiced = VoicedLines(scriptPath);
    for (const auto& [file, words] : voiced) {
        bool listed = false;
        for (const Clip& clip : clips) listed = listed || clip.file == file;
        if (!listed) Refuse(listPath, "\"" + file + "\" is played by the script but not listed");
    }
    for (Clip& clip : clips) {
        auto line = voiced.find(clip.file);
        if (line == voiced.end())
            Refuse(std::string(listPath) + ":" + std::to_string(clip.listLine),
                   "\"" + clip.file + "\" is never played by the script");
        else
            clip.words = clip.reading.empty() ? line->second : clip.reading;
    }
    if (Errors) return 1;
    if (list) {
        for (const Clip& clip : clips)
            std::printf("%s\t%s\t%s\n", clip.file.c_str(), Speakers[clip.speaker].name,
                        clip.words.c_str());
        return 0;
    }

    std::string game = argv[3], cache = argv[4];
    char** tools = argv + 5;
    mkdir(cache.c_str(), 0755);
    std::vector<const Clip*> missing;
    for (Clip& clip : clips) {
        std::vector<std::string> parts = {ProcessingVersion, tools[1], tools[2], clip.words};
        const std::vector<std::string>& settings = Speakers[clip.speaker].settings;
        parts.insert(parts.end(), settings.begin(), settings.end());
        clip.key = Hash(parts);
        struct stat st;
        if (stat((cache + "/" + clip.key + ".wav").c_str(), &st) != 0) missing.push_back(&clip);
    }
    // Two clips at a time: the build machine has two cores.
    std::atomic<size_t> next{0};
    std::mutex report;
    auto worker = [&] {
        for (size_t n; (n = next++) < missing.size();) {
            if (Render(*missing[n], cache, tools)) continue;
            std::lock_guard<std::mutex> hold(report);
            Refuse(missing[n]->file, "Open JTalk could not speak \"" + missing[n]->words + "\"");
        }
    };
    std::thread helper(worker);
    worker();
    helper.join();
    for (const Clip& clip : clips)
        if (!Errors && !Deliver(cache + "/" + clip.key + ".wav", game + "/" + clip.file))
            Refuse(game + "/" + clip.file, "cannot write");
    std::printf("voices: %zu clips, %zu spoken, %zu from the cache\n", clips.size(),
                missing.size(), clips.size() - missing.size());
    return Errors ? 1 : 0;
}
