// The story engine's entry points and the state its parts share: the script table,
// the interpreter, the message window, the game modes and the system menu.
#pragma once
#include <cstdint>

// Called once by the shell after the window exists: screen set-up, working directory,
// interface pictures, owlsys.ini; ends with GameStarted = 1.
void StartGame();
// Called by the main loop once per frame while the game runs.
void FrameUpdate();

// Message window pacing (message_window.cpp); every text layout resets both.
extern int RevealCount;
extern float RevealClock;
