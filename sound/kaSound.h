// The voice and sound-effect module: one audio output mixed in software, and a table
// of 70 sound objects, each a WAVE clip held in one to ten independent voices (the
// object's buffers). Callers give levels in decibels; they are kept in hundredths of a
// decibel: 0 full, -10000 silent. Every function runs on the game thread but Mix, which
// the audio thread runs; what the mixer reads is changed under the audio lock. While no
// output is open (SoundReady 0) every operation does nothing and LoadObject returns -1:
// the game runs silent rather than stopping. A buffer selector picks an object's buffers:
// 0 to 9 one buffer, -1 every buffer (Stop, SetVolume) or the next in turn (Play).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kaSound {

constexpr int ObjectCount = 70;
constexpr int MaxMix = 10;
constexpr int OutputRate = 44100;

extern int SoundReady;  // 1 while the output is open

// Called by Screen, after the back buffer is made: opens the output (44100 Hz stereo)
// and readies the error tone; a second call closes the first output before. Returns 1,
// or 0 when there is no device: SoundReady stays 0 and nothing is reported.
int Init();
// Puts every table entry back to its start values, and the reader's volumes to the
// levels as set. Called by Screen after Init.
void ResetTable();
// Called by Shutdown, after the music and the text are closed: stops and frees
// everything and closes the output. Does nothing when no output is open.
void Release();

// Called by the story engine for each wave_play: line, and by the backlog to replay a
// line's clip, both with mix 1. Loads the RIFF WAVE file name (a name in the program's
// directory, at most 30 bytes) into the first free slot, converted to the output's rate
// and layout, in |mix| buffers (the sign is ignored; 0 takes a slot that never sounds).
// Objects given up with ReleaseWhenEnded whose sound has ended are freed first. Returns
// the SoundObjectId, or -1 after an ErrorBox: "ミックス数が多過ぎます" for |mix| over 10,
// "ファイル名またはリソース名が長すぎます" for a longer name, "オブジェクト数が多過ぎます"
// when every slot is taken, "WAVEリソースが見つかりません" for a missing name or a file
// that is not a WAVE file this reader takes, "サウンドバッファが生成できません" for a
// sample format it cannot convert. -1 without a report while SoundReady is 0.
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
// A phrase's clip is "speech/<id>.opus", with its id in data/phrases.txt. The English
// narration's are in "en/" in the same way, by the English text and the same ids.
std::string SpeechClipName(const char* text, bool english = false);

// Called by the story engine right after LoadObject with selector -1, and by the
// backlog's replay. Plays the clip once from its start in the buffer selector picks:
// that buffer, or for -1 the object's next buffer in turn, so that with one buffer
// every play starts the clip over and with more the copies overlap, the oldest cut
// first. What that buffer was still playing fades out quickly. Does nothing for an id
// outside 0 to 69 or whose slot is free (the -1 of a failed load), a selector outside
// the object's buffers, or an empty clip.
void Play(int id, int selector);
// Called by the story engine with selector -1 on the voice when the player steps on,
// and by the backlog before a replay. Stops the chosen buffer (selector 0 to 9) or every
// buffer (-1) with a fade of a few milliseconds and rewinds it to the clip's start.
// Ignores ids and selectors as Play does.
void Stop(int id, int selector);
// Called by the music module on object 0, buffer 0. Sets the chosen buffer's (selector
// 0 to 9) or every buffer's (-1) level: level in decibels, held to -100 to 0, kept as
// level x 100. Ignores ids and selectors as Play does.
void SetVolume(int id, int level, int selector);
// Called by the preferences: the reader's volumes, over the levels the script sets, in
// hundredths of a decibel (0 leaves them as set, -10000 or less is silence): musicLevel
// for the music in object 0, voiceLevel for every clip. Levels above 0 count as 0.
void SetListenerLevels(int musicLevel, int voiceLevel);
// Called by the backlog when its replayed clip is done with. Frees one object's voices
// and its slot at once (a clip still sounding fades out); refuses object 0 while music
// holds it, and ignores ids as Play does.
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

// Asked by auto mode, which waits for the voice: seconds until the last of the object's
// playing buffers ends; 0 when none plays (also for an id outside the table, and for
// object 0 while the music holds it).
float SecondsLeft(int id);

// Object state the engine and the tests read: 0 (or "") for an id outside 0 to 69 or a
// buffer outside 0 to 9.
int InUse(int id);
int MixCountOf(int id);
const char* NameOf(int id);
int VolumeOf(int id, int buffer);

// Called by LoadObject (and the tests) with a file's whole path: reads a RIFF WAVE file
// into its format block (a WAVEFORMATEX, 18 + cbSize bytes) and the bytes of its "data"
// chunk. Returns 0 on success, 1 (reporting nothing) when the file is missing, too
// large, or not a WAVE file this reader takes.
int ReadWaveFile(const char* path, std::vector<uint8_t>* format, std::vector<uint8_t>* data);

// The mixer, as the audio callback runs it: adds every playing voice, the fades of
// those just cut (and the music rendered into object 0) into frames stereo float frames.
// The callback then limits the sum's peaks. Tests call it directly.
void Mix(float* out, int frames);

// A short tone for ErrorBox; returns false when sound is not ready.
bool PlayBeep();

}  // namespace kaSound
