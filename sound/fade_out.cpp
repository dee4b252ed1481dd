// Whatever the mixer cuts (a voice stopped, restarted or freed, a piece of music
// stopped) fades out over 5 ms instead of ending mid-waveform with a click. At the cut,
// what would have sounded next is copied, faded, into one short ring that the mixer
// plays out: the voice or the music is then free at once, its fade needs nothing of it.
#include <algorithm>
#include <cmath>

#include "sound/kaMusic.h"
#include "sound/sound_state.h"

namespace kaSound {

constexpr int FadeFrames = OutputRate / 200;

// Every fade starts at the mixer's next frame and lasts at most FadeFrames, so one ring
// of that length holds the sum of all that are under way.
static float Ring[FadeFrames * 2];
static int RingHead = 0;     // the ring's frame that the mixer plays next
static int RingPending = 0;  // frames from the head on that may hold a fade
static float MusicTail[FadeFrames * 2];

// A raised cosine from just under 1 to just over 0: it leaves the signal without a
// corner and meets silence without one.
static float FadeAt(int frame) {
    const double pi = 3.14159265358979323846;
    return float(0.5 * (1.0 + std::cos(pi * (frame + 1) / (FadeFrames + 1))));
}

// Adds frames of interleaved stereo, scaled by gain and faded, from the mixer's next frame on.
static void AddFade(const float* stereo, int frames, float gain) {
    frames = std::min(frames, FadeFrames);
    if (frames <= 0 || gain == 0.0f) return;
    for (int i = 0; i < frames; ++i) {
        float scale = gain * FadeAt(i);
        float* slot = &Ring[((RingHead + i) % FadeFrames) * 2];
        slot[0] += scale * stereo[2 * i];
        slot[1] += scale * stereo[2 * i + 1];
    }
    RingPending = std::max(RingPending, frames);
}

void FadeOutVoice(const SoundObject& object, const Voice& voice) {
    if (!voice.playing || voice.position >= object.ClipFrames) return;
    int64_t left = object.ClipFrames - voice.position;
    AddFade(object.Clip.data() + voice.position * 2, int(std::min<int64_t>(left, FadeFrames)),
            voice.gain * VoiceListenerGain);
}

void FadeOutMusic() {
    if (!MusicHoldsObject0 || !kaMusic::Render(MusicTail, FadeFrames)) return;
    AddFade(MusicTail, FadeFrames, SoundObjectTable[0].Buffers[0].gain * MusicListenerGain);
}

void MixFades(float* out, int frames) {
    int count = std::min(frames, RingPending);
    for (int i = 0; i < count; ++i) {
        float* slot = &Ring[RingHead * 2];
        out[2 * i] += slot[0];
        out[2 * i + 1] += slot[1];
        slot[0] = slot[1] = 0.0f;
        RingHead = (RingHead + 1) % FadeFrames;
    }
    RingPending -= count;
}

void ResetFades() {
    std::fill(Ring, Ring + FadeFrames * 2, 0.0f);
    RingHead = RingPending = 0;
}

}  // namespace kaSound
