// The story as the shell sees it: starting it, running its frames, asking whether the
// picture moves by itself, and what is written as the program ends. The story's rooms
// lie below: records/, engine/, saves/ and screens/, run by the frame in this folder.
#pragma once

#include "story/engine/input.h"

// Called once by the shell after the window exists: the media modules, working
// directory, interface pictures, owlsys.ini, the random seed.
void StartGame();
// True once StartGame has run, until ResetGameStart: the main loop runs frames only
// then.
bool GameStarted();
// Called by ResetShellState: the logo's mode, the pointer sprite hidden, no game started.
void ResetGameStart();
// Called by the main loop once per frame while the game runs. The frame that ends the
// game (GameEnded) leaves the shutdown to the main loop.
void FrameUpdate();
// The script or the menu's quit ended the game.
bool GameEnded();
// Asked by the main loop after a frame: true when the next frame may change the picture
// with no input (something moves, comes out, or waits for a chance each frame); false
// when only input or a timed event can.
bool PictureMovesByItself();
// The display set up (kaDraw::Screen), then kaSound::Init, the sound table's reset,
// kaMusic::Init and the text layer, in that order, each reporting its own failure. 0
// when the display could not be made (nothing else is started then), else 1.
int OpenMedia(int width, int height, int mode);
// Releases the music, the text layer, the sound and the display, in that order; safe
// to call again or before OpenMedia.
void CloseMedia();
// Puts every piece of the story's state back to its start value: the shell calls it
// before StartGame, tests between runs. Each part resets what it keeps to itself.
void ResetStoryState();

// Called by the shell's shutdown, on every way the program ends: while the reader is in
// the story (or has just left it by the menu's quit or the quit prompt), the place is
// written as the resume point. False when none was written.
bool WriteResumePoint();

// A read mark was set since the file was last written (records/read_marks.cpp).
bool ReadMarksUnsaved();
// Writes the read marks when unsaved (replacing the file whole); called by the main loop
// a few seconds after a change, and at shutdown, never by a frame. False when it could
// not be.
bool WriteReadMarks();

// Asked by the main loop, which looks again then: seconds until the next self-voicing
// clip to follow is due (the one sounding has ended); -1 when none follows
// (engine/self_voicing.cpp).
float SecondsUntilNextClip();
