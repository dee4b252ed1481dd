// The voice and sound-effect module: one audio output mixed in software, and a table
// of 70 sound objects, each a WAVE clip held in one to ten independent voices.
// Levels are hundredths of a decibel: 0 full, -10000 silent.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kaSound {

constexpr int ObjectCount = 70;
constexpr int MaxMix = 10;
constexpr int OutputRate = 44100;

extern int SoundReady;

// Opens the output (no device: SoundReady stays 0, no message). Called by Screen.
int Init();
// Puts every table entry back to its start values. Called by Screen after Init.
void ResetTable();
// Stops and frees everything and closes the output. Called by Shutdown.
void Release();

int LoadObject(const char* name, int mix);
void Play(int id, int selector);
void Stop(int id, int selector);
void SetVolume(int id, int level, int selector);
// Frees one object's voices and its slot; refuses object 0 while music holds it.
void ReleaseObject(int id);
// Gives an object up: it is freed now if none of its buffers plays, else once the last
// of them has ended (looked at whenever a clip is loaded). Called by the story engine
// for the voice clip a new one replaces.
void ReleaseWhenEnded(int id);

// Called by the music port: claims object 0 for the synthesizer (InUse 1, MixCount 1,
// Name "DirectMusic"); the music then sounds at the volume of its buffer 0. Returns 0
// when sound is not ready.
int ClaimMusicObject();
// Called by CloseMusic: gives object 0 back.
void ReleaseMusicObject();
// Called by the music module with the audio lock held, just before it cuts the music:
// the next few milliseconds of it are rendered and faded out.
void FadeOutMusic();

// Seconds until the last of the object's playing buffers ends; 0 when none plays (also
// for object 0 while the music holds it).
float SecondsLeft(int id);

// Object state the engine and the tests read.
int InUse(int id);
int MixCountOf(int id);
const char* NameOf(int id);
int VolumeOf(int id, int buffer);

// The WAVE reader: the format block (18 + cbSize bytes) and the "data" bytes.
// Returns 0 on success, 1 on failure.
int ReadWaveFile(const char* path, std::vector<uint8_t>* format, std::vector<uint8_t>* data);

// The mixer, as the audio callback runs it: adds every playing voice, the fades of
// those just cut (and the music rendered into object 0) into frames stereo float frames.
// The callback then limits the sum's peaks. Tests call it directly.
void Mix(float* out, int frames);

// A short tone for ErrorBox; returns false when sound is not ready.
bool PlayBeep();

}  // namespace kaSound
