// The error tone: a short soft sine played through the mixer, so that an error box is
// heard on the same output as everything else.
#include <algorithm>
#include <cmath>

#include "platform/platform.h"
#include "sound/sound_state.h"

namespace kaSound {

constexpr int BeepFrames = OutputRate * 3 / 20;  // 150 ms
constexpr int BeepRampFrames = OutputRate / 200;  // 5 ms fade in and out against clicks
constexpr double BeepHertz = 880.0;
constexpr double BeepAmplitude = 0.25;

static float BeepTone[BeepFrames];
static int BeepPosition = 0;
static int BeepPlaying = 0;

void PrepareBeep() {
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < BeepFrames; ++i) {
        int edge = std::min(i, BeepFrames - 1 - i);
        double ramp = edge < BeepRampFrames ? double(edge) / BeepRampFrames : 1.0;
        BeepTone[i] = static_cast<float>(BeepAmplitude * ramp *
                                         std::sin(2.0 * pi * BeepHertz * i / OutputRate));
    }
    BeepPlaying = 0;
    BeepPosition = 0;
}

bool PlayBeep() {
    if (!SoundReady) return false;
    plat::LockAudio();
    BeepPosition = 0;
    BeepPlaying = 1;
    plat::UnlockAudio();
    return true;
}

void MixBeep(float* out, int frames) {
    if (!BeepPlaying) return;
    int count = std::min(frames, BeepFrames - BeepPosition);
    for (int i = 0; i < count; ++i) {
        out[2 * i] += BeepTone[BeepPosition + i];
        out[2 * i + 1] += BeepTone[BeepPosition + i];
    }
    BeepPosition += count;
    if (BeepPosition >= BeepFrames) BeepPlaying = 0;
}

}  // namespace kaSound
