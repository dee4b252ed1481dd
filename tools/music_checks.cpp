// The music tool's checks: the pieces' scores read back from their MIDI bytes, and their
// sound rendered offline.
#include "tools/music_checks.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

#include "sound/kaMusic.h"
#include "sound/kaSound.h"
#include "tools/clip_checks.h"

namespace {

int Faults = 0;

void Fault(const std::string& file, const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", file.c_str(), why.c_str());
    ++Faults;
}

std::string Figure(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

struct Note {
    int channel, key, velocity;
    uint32_t start, end;
};

// What the file holds: its notes, its length and its one tempo.
struct Score {
    std::vector<Note> notes;
    uint32_t endTick = 0;
    double secondsPerTick = 0;
};

uint32_t Quantity(const std::vector<uint8_t>& b, size_t* at) {
    uint32_t value = 0;
    while (*at < b.size()) {
        uint8_t c = b[(*at)++];
        value = value << 7 | (c & 0x7F);
        if (!(c & 0x80)) break;
    }
    return value;
}

// A reader of what the tool's own writer writes, apart from it: its tracks' notes, tempo
// and end of track, running status included.
Score ReadScore(const std::vector<uint8_t>& b) {
    Score score;
    uint32_t division = uint32_t(b.at(12) << 8 | b.at(13));
    for (size_t chunk = 14; chunk + 8 <= b.size();) {
        size_t at = chunk + 8, end = std::min(b.size(), at + (uint32_t(b[chunk + 4]) << 24 | b[chunk + 5] << 16 |
                                                              b[chunk + 6] << 8 | b[chunk + 7]));
        uint32_t tick = 0;
        uint8_t status = 0;
        std::map<int, size_t> sounding;  // channel * 128 + key -> note
        while (at + 2 < end) {
            tick += Quantity(b, &at);
            if (b[at] & 0x80) status = b[at++];
            if (status == 0xFF) {
                uint8_t type = b[at++];
                uint32_t length = Quantity(b, &at);
                if (type == 0x51 && at + 3 <= end)
                    score.secondsPerTick = (b[at] << 16 | b[at + 1] << 8 | b[at + 2]) / 1e6 / division;
                if (type == 0x2F) score.endTick = std::max(score.endTick, tick);
                at += length;
                continue;
            }
            int kind = status & 0xF0, channel = status & 15, key = b[at], velocity = b[at + 1];
            at += kind == 0xC0 || kind == 0xD0 ? 1 : 2;
            if (kind == 0x90 && velocity > 0) {
                sounding[channel * 128 + key] = score.notes.size();
                score.notes.push_back({channel, key, velocity, tick, tick});
            } else if ((kind == 0x80 || kind == 0x90) && sounding.count(channel * 128 + key)) {
                score.notes[sounding[channel * 128 + key]].end = tick;
            }
        }
        chunk = end;
    }
    return score;
}

// The runs of eight intervals of a tune.
std::vector<std::vector<int>> Runs(const std::vector<int>& tune) {
    std::vector<std::vector<int>> runs;
    for (size_t i = 0; i + 9 <= tune.size(); ++i) {
        std::vector<int> run;
        for (size_t j = i; j < i + 8; ++j) run.push_back(tune[j + 1] - tune[j]);
        runs.push_back(run);
    }
    return runs;
}

// Music and not a test tone: at least three parts, four chords and ten pitches in its
// tune (channel 1), dynamics spanning 30 velocity steps; and a form: most runs of its
// tune's middle third are not heard in its first, and the run that opens the tune comes
// back in its last third.
void CheckMusic(const std::string& file, const Score& score) {
    std::set<int> channels, pitches;
    std::set<std::set<int>> chords;
    std::vector<int> thirds[3];
    int softest = 127, loudest = 0;
    for (const Note& note : score.notes) {
        channels.insert(note.channel);
        softest = std::min(softest, note.velocity);
        loudest = std::max(loudest, note.velocity);
        if (note.channel == 0) {
            pitches.insert(note.key);
            thirds[std::min<uint32_t>(2, note.start * 3 / std::max(1u, score.endTick))].push_back(note.key);
            continue;
        }
        std::set<int> chord;  // what the other parts sound as this note starts
        for (const Note& other : score.notes)
            if (other.channel != 0 && other.start <= note.start && note.start < other.end) chord.insert(other.key % 12);
        if (chord.size() >= 3) chords.insert(chord);
    }
    if (channels.size() < 3 || chords.size() < 4 || pitches.size() < 10 || loudest - softest < 30)
        Fault(file, std::to_string(channels.size()) + " parts, " + std::to_string(chords.size()) + " chords, " +
                        std::to_string(pitches.size()) + " pitches in its tune, dynamics over " +
                        std::to_string(loudest - softest) + " steps: a piece has 3, 4, 10 and 30");
    std::vector<std::vector<int>> first = Runs(thirds[0]), middle = Runs(thirds[1]), last = Runs(thirds[2]);
    size_t fresh = 0;
    for (const auto& run : middle) fresh += std::find(first.begin(), first.end(), run) == first.end();
    if (first.empty() || fresh * 2 <= middle.size())
        Fault(file, "its middle third repeats the theme");
    else if (std::find(last.begin(), last.end(), first[0]) == last.end())
        Fault(file, "its theme never returns in its last third");
}

double Decibels(double level) { return 20 * std::log10(level + 1e-12); }

// RMS in dBFS of frames [from, from + frames) of interleaved stereo.
double Level(const std::vector<float>& s, size_t from, size_t frames) {
    double sum = 0;
    for (size_t i = from * 2; i < (from + frames) * 2 && i < s.size(); ++i) sum += double(s[i]) * s[i];
    return Decibels(std::sqrt(sum / double(frames * 2)));
}

class Synth {
public:
    explicit Synth(const char* soundFont) {
        for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) fluid_set_log_function(level, nullptr, nullptr);
        settings_ = new_fluid_settings();
        fluid_settings_setnum(settings_, "synth.sample-rate", kaSound::OutputRate);
        fluid_settings_setnum(settings_, "synth.gain", kaMusic::SynthGain);
        fluid_settings_setstr(settings_, "player.timing-source", "sample");
        fluid_settings_setint(settings_, "synth.lock-memory", 0);
        synth_ = new_fluid_synth(settings_);
        ready_ = synth_ && fluid_synth_sfload(synth_, soundFont, 1) != FLUID_FAILED;
        if (ready_) {
            fluid_synth_reverb_on(synth_, -1, 0);
            fluid_synth_chorus_on(synth_, -1, 0);
        }
    }
    ~Synth() {
        if (synth_) delete_fluid_synth(synth_);
        delete_fluid_settings(settings_);
    }
    bool Ready() const { return ready_; }
    // The most voices sounding at once in the last Play.
    int PeakVoices() const { return peakVoices_; }
    // Frames of the piece from its start, through its loop point, at the story's -6 dB.
    std::vector<float> Play(const std::vector<uint8_t>& bytes, size_t frames) {
        peakVoices_ = 0;
        fluid_synth_system_reset(synth_);
        fluid_player_t* player = new_fluid_player(synth_);
        fluid_player_add_mem(player, bytes.data(), bytes.size());
        fluid_player_set_loop(player, 2);
        fluid_player_play(player);
        std::vector<float> out(frames * 2);
        for (size_t at = 0; at < frames; at += 512) {
            int n = int(std::min<size_t>(512, frames - at));
            fluid_synth_write_float(synth_, n, out.data(), int(at * 2), 2, out.data(), int(at * 2 + 1), 2);
            peakVoices_ = std::max(peakVoices_, fluid_synth_get_active_voice_count(synth_));
        }
        delete_fluid_player(player);
        for (float& v : out) v *= 0.5011872f;
        return out;
    }

private:
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    bool ready_ = false;
    int peakVoices_ = 0;
};

// The same level on both sides of the loop point, and no second across it more than
// 6 dB under the piece's median second (a fade at the end, or a slow start, would dip
// there); no 50 ms more than 30 dB under it, as a silence would be; the piece's level in
// its band, its peak far under the limiter's threshold, and no more voices at once than
// the game's synthesizer sounds (it renders here with room for more).
void CheckSound(const PieceFile& piece, Synth& synth, double seconds) {
    const size_t rate = kaSound::OutputRate, length = size_t(seconds * rate), window = rate * 2 / 5;
    std::vector<float> out = synth.Play(piece.bytes, length + rate);
    double peak = 0;
    for (size_t i = 0; i < length * 2; ++i) peak = std::max(peak, double(std::fabs(out[i])));
    double level = Level(out, 0, length), before = Level(out, length - window, window),
           after = Level(out, length, window);
    std::vector<double> seconds1;
    for (size_t at = 0; at + rate <= length; at += rate / 4) seconds1.push_back(Level(out, at, rate));
    std::nth_element(seconds1.begin(), seconds1.begin() + long(seconds1.size() / 2), seconds1.end());
    double median = seconds1[seconds1.size() / 2], lowest = 0;
    for (size_t at = length - rate; at <= length; at += rate / 20)
        lowest = std::min(lowest, Level(out, at, rate) - median);
    std::printf("%s: %.1f s, %.1f dBFS RMS, peak %.1f dBFS, loop point %.1f -> %.1f dB, a second across it "
                "at least %.1f dB from the median %.1f dBFS, %d voices at most\n",
                piece.file.c_str(), seconds, level, Decibels(peak), before, after, lowest, median,
                synth.PeakVoices());
    if (synth.PeakVoices() > kaMusic::SynthPolyphony)
        Fault(piece.file, std::to_string(synth.PeakVoices()) + " voices at once, over the game's " +
                              std::to_string(kaMusic::SynthPolyphony));
    if (std::fabs(after - before) >= 6 || lowest < -6) Fault(piece.file, "its loop point is heard");
    double low = piece.ambience ? VoicesLevel - 36 : -29, high = piece.ambience ? VoicesLevel - 18 : -21;
    if (level <= low || level >= high)
        Fault(piece.file, Figure(level) + " dBFS, outside its " + Figure(low) + " to " + Figure(high));
    if (Decibels(peak) >= -7) Fault(piece.file, "peaks at " + Figure(Decibels(peak)) + " dBFS, over -7");
    for (size_t at = 0; at + rate / 20 <= out.size() / 2; at += rate / 100)
        if (Level(out, at, rate / 20) <= median - 30)
            return Fault(piece.file, "falls silent at " + Figure(double(at) / rate) + " s");
}

}  // namespace

int CheckPieces(const std::vector<PieceFile>& pieces, const char* soundFont) {
    Faults = 0;
    Synth synth(soundFont);
    if (!synth.Ready()) {
        Fault(soundFont, "not a SoundFont FluidSynth can play the pieces with");
        return Faults;
    }
    std::map<std::vector<int>, std::string> runs;  // no run of a tune in another piece's
    for (const PieceFile& piece : pieces) {
        Score score = ReadScore(piece.bytes);
        double seconds = score.endTick * score.secondsPerTick;
        if (seconds < (piece.ambience ? 60 : 150)) {
            Fault(piece.file, Figure(seconds) + " s long: a scene would hear it come round again");
            continue;
        }
        if (!piece.ambience) {
            CheckMusic(piece.file, score);
            std::vector<int> tune;
            for (const Note& note : score.notes)
                if (note.channel == 0) tune.push_back(note.key);
            std::set<std::string> sharing;
            for (const std::vector<int>& run : Runs(tune)) {
                auto found = runs.emplace(run, piece.file);
                if (found.first->second != piece.file && sharing.insert(found.first->second).second)
                    Fault(piece.file, "shares a phrase with " + found.first->second);
            }
        }
        CheckSound(piece, synth, seconds);
    }
    return Faults;
}
