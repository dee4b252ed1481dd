// Background music: Standard MIDI files from the program's directory, one piece at a
// time, rendered by a General MIDI software synthesizer into sound object 0. Every
// function runs on the game thread but Render, which the audio thread runs. Without a
// sound device, or once the synthesizer or its SoundFont has failed (reported once, by
// Init or Port), every operation does nothing and the game runs without music.
#pragma once
#include <cstdint>

namespace kaMusic {

// The synthesizer's master gain. Its default, 0.2, left General MIDI pieces at ordinary
// velocities about 14 dB too quiet under the voices; at 1.4 four voices at velocity 100
// measure about -23 dBFS RMS at the story's -6 dB, with a peak near -11 dBFS: the story's
// pieces sit about 8 LU under the voices, a whole route measures about -18 LUFS, and a
// voice clip peaking at -3 dBFS over the music is seldom touched by the output's limiter.
// The music tool measures the pieces with it.
constexpr double SynthGain = 1.4;
// The most voices the synthesizer sounds at once, each of which it keeps memory for: the
// story's pieces need at most 86, and the music tool fails a piece that needs more.
constexpr int SynthPolyphony = 128;

extern int MusicPlaying;  // 1 from PlayMusic until StopMusic, also when nothing sounds
extern int MusicLoop;     // the loop argument of the last PlayMusic

// Starts the making of the synthesizer and the reading of its SoundFont (called at
// start-up after the sound table reset), which go on while the game starts; the port is
// set up when they are done, or ErrorBox says "DirectMusicが使用できません" when the
// synthesizer could not be made. Every call below waits for them, as does ErrorBox,
// through the hook Init registers. Claims sound object 0 for the synthesizer's output.
// Returns 1; 0 silently without a sound device.
int Init();
// Called by AwaitSoundFont once the SoundFont's read is over, with (-1, 2, 22, 8, 0):
// sets the synthesizer's output up in sound object 0. index -1 or 0 picks the software
// synthesizer, the only port there is; channels, rateCode and bits change nothing (the
// output is the sound module's); reverb non-zero turns the reverb on. Returns 1, or 0
// after an ErrorBox ("MIDIポートが使えません") when the SoundFont could not be read or
// another port was asked for: object 0 is given back and music stays silent.
int Port(int index, int channels, int rateCode, int bits, int reverb);
// Waits for the SoundFont started by Init, then sets up the port or reports its failure.
// Does nothing when nothing is pending.
void AwaitSoundFont();
// Called by the main loop at every pass: once the SoundFont's read is over, does the
// same at once, so that a SoundFont that cannot be used is reported during the opening.
// Never waits.
void ReportSoundFontWhenRead();

// Called by the story engine for midi_play: (loop 1) unless music is switched off, and
// by the system menu when music is switched on again. Cuts the piece that plays, then
// starts the Standard MIDI file name (a name in the program's directory) from its
// start: endlessly when loop is non-zero, once when it is 0. A file that is missing,
// too large or not a playable MIDI file plays nothing and is not reported; MusicPlaying
// is 1 all the same.
void PlayMusic(const char* name, int loop);
// Called by the story engine for midi_stop: and by the system menu when music is
// switched off: cuts the piece, its last few milliseconds faded out. Does nothing when
// no piece plays.
void StopMusic();
// Called by the story engine after each midi_play: with -6: the music's level in
// decibels (held to -100 to 0), set on object 0's buffer 0 (kaSound::SetVolume).
// Does nothing while the synthesizer's output is not set up.
void SetMusicVolume(int level);
// Called by Shutdown, first: stops the SoundFont's read, cuts the piece, gives object 0
// back and deletes the synthesizer. Safe to call twice.
void CloseMusic();

// For a non-looping piece that has ended, stops it. Returns 1 while a piece is playing.
int PollMusicEnd();
// The main loop's poll of a piece that does not loop, timed here: the first three
// seconds after PlayMusic, then once a second. MsUntilPoll is the milliseconds from now
// (plat::Milliseconds) until it is due, 0 when due, UINT32_MAX while no piece needs it;
// PollWhenDue polls when it is due.
uint32_t MsUntilPoll(uint32_t now);
void PollWhenDue(uint32_t now);

// Renders frames stereo float frames of music, writing over out; false (out untouched)
// when no piece is loaded or its player is done. Called by kaSound::Mix with the audio
// lock held.
bool Render(float* out, int frames);

}  // namespace kaMusic
