// Background music: Standard MIDI files from the program's directory, one piece at a
// time, rendered by a General MIDI software synthesizer into sound object 0.
#pragma once
#include <cstdint>

namespace kaMusic {

extern int MusicPlaying;
extern int MusicLoop;
// When the main loop next asks PollMusicEnd, in plat::Milliseconds: set by PlayMusic
// and by the loop after each poll.
extern uint32_t NextMusicPoll;

// Starts the synthesizer (called at start-up after the sound table reset) and the reading
// of its SoundFont, which goes on while the game starts; the port is set up when it is
// done. Every call below waits for it, as does ErrorBox, through the hook Init registers.
int Init();
int Port(int index, int channels, int rateCode, int bits, int reverb);
// Waits for the SoundFont started by Init, then sets up the port or reports its failure.
// Does nothing when nothing is pending.
void AwaitSoundFont();
// Called by the main loop at every pass: once the SoundFont's read is over, does the
// same at once, so that a SoundFont that cannot be used is reported during the opening.
// Never waits.
void ReportSoundFontWhenRead();

void PlayMusic(const char* name, int loop);
void StopMusic();
void SetMusicVolume(int level);
void CloseMusic();

// The main loop's once-a-second poll: for a non-looping piece that has ended, stops it.
// Returns 1 while a piece is playing. PlayMusic sets NextMusicPoll to its start time +
// 3000 so the first poll comes three seconds in.
int PollMusicEnd();

// Renders frames stereo float frames of music, writing over out; false (out untouched)
// when no piece is loaded or its player is done. Called by kaSound::Mix with the audio
// lock held.
bool Render(float* out, int frames);

}  // namespace kaMusic
