// Least sound and music modules that build: no device, no music. Replaced by the mixer
// and the synthesizer.
#include "sound/kaMusic.h"
#include "sound/kaSound.h"

namespace kaSound {
int SoundReady = 0;
int Init() { return 0; }
void ResetTable() {}
void Release() {}
int LoadObject(const char*, int) { return -1; }
void Play(int, int) {}
void Stop(int, int) {}
void SetVolume(int, int, int) {}
void ReleaseObject(int) {}
bool PlayBeep() { return false; }
}  // namespace kaSound

namespace kaMusic {
int MusicPlaying = 0;
int MusicLoop = 1;
int Init() { return 0; }
void PlayMusic(const char*, int) { MusicPlaying = 1; }
void StopMusic() { MusicPlaying = 0; }
void SetMusicVolume(int) {}
void CloseMusic() {}
int PollMusicEnd() { return MusicPlaying; }
}  // namespace kaMusic
