// The voice and sound-effect module: one audio output mixed in software, and a table
// of 70 sound objects, each a WAVE clip held in one to ten independent voices.
// Levels are hundredths of a decibel: 0 full, -10000 silent.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
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

// Spoken clips of our own: the narration of the script's lines that have no voice clip,
// and the phrases of the screens (data/phrases.txt), made by the build as Ogg Opus files
// in the folder speech/ beside the program and spoken by the narrator.
// LoadOpusObject loads one into a sound object exactly as LoadObject loads a WAVE clip
// (the lowest free slot, converted and resampled to the output rate, `mix` buffers) and
// returns its id for Play and Stop. A missing or damaged file returns -1 and reports
// nothing; a bad mix count, a name over 30 characters or a full table are reported as
// LoadObject reports them. For self-voicing, which speaks a line as it is shown and a
// phrase as its item is reached.
int LoadOpusObject(const char* name, int mix);
// The clip's name (for LoadOpusObject) of a script line's text in CP932: a prose or
// prompt line whole, an option line from its byte 5 (its text without the label).
// A phrase's clip is "speech/<id>.opus", with its id in data/phrases.txt.
std::string SpeechClipName(const char* text);
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
