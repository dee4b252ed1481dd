// Checks what the real program sent to SDL's disk audio driver: interleaved stereo
// 32-bit float at the mixer's rate. Offsets are the capture file's sizes in bytes,
// taken by the test at the moments they name.
//   capture_check CAPTURE CLIP MUSIC_FROM CLICK_AT SILENT_FROM SILENT_TO
// Music from MUSIC_FROM to CLICK_AT at the pieces' level; the clip CLIP (a game .sad file
// read and converted as the game does) within a second after CLICK_AT; from SILENT_FROM
// to SILENT_TO, after midi_stop:, at least 10 dB under the music (the quiet ambience the
// story plays there, or nothing). The limiter and the pieces' loops are checked offline.
// Prints what it measured; exits 1 when a check fails.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "sound/sound_state.h"

namespace {

constexpr int Rate = kaSound::OutputRate;
constexpr long FrameBytes = 2 * sizeof(float);

double Decibels(double linear) { return 20.0 * std::log10(linear > 1e-10 ? linear : 1e-10); }

// RMS over frames [from, from + count) of interleaved stereo.
double Rms(const std::vector<float>& s, long from, long count) {
    double sum = 0;
    for (long i = 2 * from; i < 2 * (from + count); ++i) sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(2 * count));
}

// The normalised correlation of the clip with the capture from frame at on.
double Correlation(const std::vector<float>& capture, const std::vector<float>& clip,
                   long at, long frames) {
    double both = 0, c2 = 0, k2 = 0;
    for (long i = 0; i < 2 * frames; ++i) {
        double c = capture[2 * at + i], k = clip[i];
        both += c * k;
        c2 += c * c;
        k2 += k * k;
    }
    return c2 > 0 && k2 > 0 ? both / std::sqrt(c2 * k2) : 0.0;
}

bool failed = false;
void Check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what);
    if (!ok) failed = true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: %s CAPTURE CLIP MUSIC_FROM CLICK_AT SILENT_FROM SILENT_TO\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    std::vector<float> capture(bytes.size() / sizeof(float));
    std::copy(bytes.begin(), bytes.begin() + long(capture.size() * sizeof(float)),
              reinterpret_cast<char*>(capture.data()));
    long frames = long(capture.size() / 2);
    long musicFrom = std::atol(argv[3]) / FrameBytes, clickAt = std::atol(argv[4]) / FrameBytes;
    long silentFrom = std::atol(argv[5]) / FrameBytes, silentTo = std::atol(argv[6]) / FrameBytes;
    std::printf("capture: %.1f s\n", double(frames) / Rate);
    if (!(musicFrom < clickAt && clickAt + Rate * 3 < silentFrom && silentFrom < silentTo &&
          silentTo <= frames)) {
        std::printf("FAIL: the offsets %ld %ld %ld %ld do not fit a capture of %ld frames\n",
                    musicFrom, clickAt, silentFrom, silentTo, frames);
        return 1;
    }

    // The music alone, over the whole stretch.
    double musicDb = Decibels(Rms(capture, musicFrom, clickAt - musicFrom));
    std::printf("music: %.1f s at %.1f dBFS RMS\n", double(clickAt - musicFrom) / Rate, musicDb);
    Check(musicDb > -29.0 && musicDb < -21.0, "the music plays at its level (-29 to -21 dBFS)");

    // The clip, as the game converts it, at its best place in the second after the click.
    std::vector<uint8_t> format, data;
    std::vector<float> clip;
    if (kaSound::ReadWaveFile(argv[2], &format, &data) != 0 || !kaSound::ConvertClip(format, data, &clip)) {
        std::printf("FAIL: %s is not a clip the game plays\n", argv[2]);
        return 1;
    }
    long clipFrames = std::min(long(clip.size() / 2), long(Rate));
    double best = 0;
    long bestAt = clickAt;
    for (long at = clickAt; at <= clickAt + Rate && at + clipFrames <= frames; at += 16) {
        double c = Correlation(capture, clip, at, clipFrames);
        if (c > best) best = c, bestAt = at;
    }
    for (long at = bestAt - 16; at <= bestAt + 16; ++at) {  // to the frame
        double c = at >= 0 && at + clipFrames <= frames ? Correlation(capture, clip, at, clipFrames) : 0;
        if (c > best) best = c, bestAt = at;
    }
    std::printf("voice clip: correlation %.3f, %.0f ms after the click was sent\n", best,
                1000.0 * double(bestAt - clickAt) / Rate);
    Check(best > 0.7, "the clip of the first line with one follows its click");

    double after = Decibels(Rms(capture, silentFrom, silentTo - silentFrom));
    std::printf("after midi_stop: %.1f s at %.1f dBFS RMS\n", double(silentTo - silentFrom) / Rate, after);
    Check(after < musicDb - 10.0, "the music stops at midi_stop (10 dB or more under it)");
    return failed ? 1 : 0;
}
