// State shared by the sound module's files: the object table with its voices, the
// clip conversion used at load and the helpers the mixer needs.
#pragma once
#include <cstdint>
#include <vector>

#include "sound/kaSound.h"

namespace kaSound {

// One of an object's buffers: a restartable one-shot play position over the clip.
struct Voice {
    int64_t position;  // next frame of the clip to play
    int playing;
    float gain;        // 10^(Volume/2000), 0 at -10000
};

struct SoundObject {
    int InUse;
    int FreeWhenEnded;  // given up while it sounded: freed once none of its buffers plays
    int MixCount;
    int NextBuffer;
    int Volume[MaxMix];
    char Name[31];
    Voice Buffers[MaxMix];
    std::vector<float> Clip;  // interleaved stereo at OutputRate, shared by the buffers
    int64_t ClipFrames;
};

extern SoundObject SoundObjectTable[ObjectCount];
// True while the music's synthesizer holds object 0 and plays through its buffer 0.
extern bool MusicHoldsObject0;

// Little-endian fields of a WAVE file.
inline uint16_t Read16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t Read32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The WAVE reader's work on a whole file's bytes: false when the file is not a RIFF
// WAVE form with whole "fmt " and "data" chunks.
bool ParseWave(const std::vector<uint8_t>& file, std::vector<uint8_t>* format,
               std::vector<uint8_t>* data);

// Converts a format block and data bytes from ReadWaveFile to interleaved stereo float
// at OutputRate. Returns false for formats we cannot play.
bool ConvertClip(const std::vector<uint8_t>& format, const std::vector<uint8_t>& data,
                 std::vector<float>* clip);

// Linear gain of a level in hundredths of a decibel.
float GainOfLevel(int level);

// A voice that is cut while it sounds fades out: what it would have played next is
// copied, faded, for the mixer (call with the audio lock held, before the cut).
void FadeOutVoice(const SoundObject& object, const Voice& voice);
// Adds the fades under way into out (called by Mix).
void MixFades(float* out, int frames);
void ResetFades();

// The peak limiter on the summed output, run by the device's callback after Mix.
void LimitOutput(float* out, int frames);
void ResetLimiter();

// Adds the error tone, if it is sounding, into out (called by Mix).
void MixBeep(float* out, int frames);
// Builds the error tone once (called by Init, so the mixer never allocates).
void PrepareBeep();

}  // namespace kaSound
