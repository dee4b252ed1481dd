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

// The WAVE reader's work on a whole file's bytes: false when the file is not a RIFF
// WAVE form with whole "fmt " and "data" chunks.
bool ParseWave(const std::vector<uint8_t>& file, std::vector<uint8_t>* format,
               std::vector<uint8_t>* data);

// A reader of one kind of clip file: the format block and data bytes, as ReadWaveFile
// gives them; 0 on success, 1 on failure.
typedef int (*ClipReader)(const char* path, std::vector<uint8_t>* format, std::vector<uint8_t>* data);
// LoadObject's work with any reader: the lowest free slot, the clip converted to the
// output's format, the same reports. A file that cannot be read or converted is
// reported unless the clip is one of our own spoken clips (ours); either way the result
// is -1. Ours are converted with the quicker resampler (see ConvertClip).
int LoadClipObject(const char* name, int mix, ClipReader read, bool ours);

// The pages of an Ogg stream. OggPageSize gives the size of the page at page, with left
// bytes there, when its header is sound, its body all there and its checksum right;
// else 0. WholeOggStream is true when the file is such pages to its last byte, the last
// marked as the stream's end: the decoder skips a bad page and stops at a cut one, and
// would give a clip with words missing.
uint32_t OggPageChecksum(const uint8_t* page, size_t size);
size_t OggPageSize(const uint8_t* page, size_t left);
bool WholeOggStream(const std::vector<uint8_t>& file);

// Our own Ogg Opus clips: decoded whole into a float format block and its samples, at
// the rate and channels of the stream. False for anything but a whole, decodable Ogg
// Opus stream of one or two channels.
bool ParseOpus(const std::vector<uint8_t>& file, std::vector<uint8_t>* format,
               std::vector<uint8_t>* data);
int ReadOpusFile(const char* path, std::vector<uint8_t>* format, std::vector<uint8_t>* data);

// Converts a format block and data bytes from ReadWaveFile to interleaved stereo float
// at OutputRate. Returns false for formats we cannot play. quick picks libsamplerate's
// fastest band-limited converter over its best: for our spoken clips, which a step
// loads while its frame waits (an eight-second clip takes about 40 ms of processor time
// instead of 320), and whose speech lies far below where the two part.
bool ConvertClip(const std::vector<uint8_t>& format, const std::vector<uint8_t>& data,
                 std::vector<float>* clip, bool quick = false);

// Linear gain of a level in hundredths of a decibel.
float GainOfLevel(int level);
// The gains of the reader's volumes (SetListenerLevels), which the mixer and the fades
// apply over each buffer's own.
extern float MusicListenerGain, VoiceListenerGain;

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
