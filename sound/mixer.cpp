// The mixer: adds every playing voice, the fades of cut ones, the error tone and the
// music into the output.
// It runs on the audio thread, so it allocates nothing and touches no files.
#include <algorithm>

#include "sound/kaMusic.h"
#include "sound/sound_state.h"

namespace kaSound {

// The music is rendered here in slices before it is scaled by object 0's volume.
constexpr int MusicSliceFrames = 1024;
static float MusicSlice[MusicSliceFrames * 2];

static void MixVoice(const SoundObject& object, Voice* voice, float* out, int frames) {
    int64_t left = object.ClipFrames - voice->position;
    int count = static_cast<int>(std::min<int64_t>(frames, left));
    const float* source = object.Clip.data() + voice->position * 2;
    float gain = voice->gain * VoiceListenerGain;
    for (int i = 0; i < count * 2; ++i) out[i] += gain * source[i];
    voice->position += count;
    // A one-shot voice that reaches the end stops and rewinds, ready for the next play.
    if (voice->position >= object.ClipFrames) {
        voice->playing = 0;
        voice->position = 0;
    }
}

static void MixMusic(float* out, int frames) {
    float gain = SoundObjectTable[0].Buffers[0].gain * MusicListenerGain;
    while (frames > 0) {
        int count = std::min(frames, MusicSliceFrames);
        if (!kaMusic::Render(MusicSlice, count)) return;
        for (int i = 0; i < count * 2; ++i) out[i] += gain * MusicSlice[i];
        out += count * 2;
        frames -= count;
    }
}

void Mix(float* out, int frames) {
    if (frames <= 0) return;
    for (SoundObject& object : SoundObjectTable) {
        if (!object.InUse || object.ClipFrames == 0) continue;
        for (int j = 0; j < object.MixCount; ++j)
            if (object.Buffers[j].playing) MixVoice(object, &object.Buffers[j], out, frames);
    }
    MixFades(out, frames);
    MixBeep(out, frames);
    if (MusicHoldsObject0) MixMusic(out, frames);
}

}  // namespace kaSound
