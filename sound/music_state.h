// State shared by the music module's files: the synthesizer and the current piece.
#pragma once
#include <fluidsynth.h>

#include <cstdint>
#include <vector>

#include "sound/kaMusic.h"

namespace kaMusic {

extern fluid_synth_t* Synth;
// The current piece's player; null when nothing plays. Changed only under the audio lock.
extern fluid_player_t* Player;


// True when a piece can sound: the synthesizer has a SoundFont and object 0.
bool CanPlay();

// Ends the current piece at once, if there is one: its next 5 ms fade out, then its
// player goes and every sounding note is cut, all under the audio lock.
void DropPlayer();

// Hands a piece's bytes, unchecked, to a new player and starts it (PlayMusic checks
// them first; tests feed the player directly).
void StartPlayer(const std::vector<uint8_t>& bytes, int loop);

// Called by Render after each slice: grants the playing piece its next pass while it
// sounds and has not reached its end.
void RenewPass();

// Times the first poll of a piece that has just started (MsUntilPoll).
void TimeFirstPoll();

// True when the bytes are a well-formed Standard MIDI File that lasts some time.
bool IsPlayableMidi(const std::vector<uint8_t>& bytes);

// ---- Test hooks: only tests call these ----------------------------------------------

// Makes the music look for the system's General MIDI SoundFonts in folder (ending in
// "/", kept by the caller while it is used) instead; nullptr: the system's folder again.
void UseSoundFontFolderForTest(const char* folder);
// Makes the loop see a piece playing (loop: one that repeats) or none, with no piece
// behind it: what the loop does about a piece, not the piece itself, is under test. Its
// first poll is due three seconds on, as after PlayMusic.
void PretendMusicForTest(bool playing, bool loop);
// When the poll is next due (in plat::Milliseconds), looping piece or not: PlayMusic
// times it from the piece's start.
uint32_t NextPollForTest();

}  // namespace kaMusic
