// The application shell: the program's entry, start-up in order, the message loop that
// turns window events into the story's input and runs its frames, the picture's place
// in a window of any size, and the one ordered shutdown. It sits above every other
// module; nothing below it calls it.
#pragma once
#include <cstdint>

#include "platform/platform.h"

struct ShellFields {
    uint32_t LastFrameTime;   // plat::Milliseconds at the previous frame
    int AppActive;            // frames run only while 1
    int SystemCursorShown;
    int ClientOriginX, ClientOriginY;
    int CloseState;           // 0 running, 1 close requested, 2 Shutdown has run
    int ShutdownDone;
    int InstanceLockHeld;
    // The window: its client area in window pixels, where the picture is scaled to fit.
    int WindowWidth, WindowHeight;
    int FullScreen;
    int WindowedWidth, WindowedHeight;  // the size out of full screen, remembered
    // The frame schedule: frames are due a refresh period apart while the picture moves;
    // input asks for one, and nothing else wakes a resting loop but timed events.
    int FrameWanted;          // FrameNotWanted, FrameWhenDue or FrameAtOnce
    int Rested;               // the loop waited with no frame due since the last frame
    uint32_t NextFrameDue;    // milliseconds, and microseconds past them
    uint32_t NextFrameDueMicros;
    // The read marks are written a few seconds after the first change since they last
    // were: whether a write waits, and when it is due.
    int MarksWritePending;
    uint32_t MarksWriteDue;
    // The clicks count of the last left and right press taken as a click, which the next
    // press of a double click pairs with; 0 for none.
    int PressToPair[2];
};
extern ShellFields Shell;

enum { FrameNotWanted = 0, FrameWhenDue = 1, FrameAtOnce = 2 };

// The window's caption, also the stem of the single-instance lock's name.
extern const char* const GameCaption;

// ---- The program and its loop (main_loop.cpp) -------------------------------------

// Called by main: start-up in order, then the message loop until Shutdown has run, then
// the window's size kept when it changed and the window closed. Returns the process's
// exit status: 0 (also when another copy was running and has been handed over to), or 1
// when no window could be made (the platform has said why on standard error).
int RunGame();
// Called by RunGame (and the tests): start-up up to the message loop: shell and story
// state, single instance, window (at the size window.ini remembers, full screen when it
// was), StartGame, frame timer. 1 when the game runs; 0 when another copy runs (nothing is
// left open); -1 when no window could be made (the lock is released again).
int OpenGame();
// One pass of the message loop, called by RunGame until it returns false: every waiting
// event, then one frame when one is due, or a wait for the next event (up to the next
// timed event, or a second while the window is inactive). False once Shutdown has run.
bool RunLoopPass();
// Called by RunLoopPass when a frame is due: FrameSeconds, the pad's sticks, whether the
// pointer is over the window (the game draws its own only then), UpdateGame,
// the pointer moved where the story or the stick asked, the held start-up tasks
// released, the end-of-music poll when due, the click edges cleared, the system pointer
// hidden over the picture and shown outside it.
void RunFrame();
// The story's part of a frame: FrameUpdate once StartGame has run, then Shutdown when
// the story has reached ModeEnd. Called by RunFrame (and by tests that time frames
// themselves).
void UpdateGame();
// Called by RunLoopPass for each window event: pointer, buttons, keys, the wheel and a
// pad's buttons and sticks become the story's InputState (positions mapped to client pixels; presses and moves on
// the bars beside the picture are dropped); window, focus and close events change the
// shell's state. Never fails.
void HandleWindowEvent(const plat::Event& ev);
// Milliseconds the loop may wait before its next frame: 0 when one is due now. Read by
// RunLoopPass before it waits.
uint32_t MsUntilNextFrame();
// Called by the event handlers: a frame is wanted (FrameWhenDue or FrameAtOnce); a
// weaker wish does not undo a stronger one.
void WantFrame(int how);

// ---- The gamepad (pad_input.cpp) ----------------------------------------------------

// Called by ResetShellState: the sticks at rest.
void ResetPadInput();
// Called by HandleWindowEvent: a pad's button does what the key or click it stands for
// does (A a left click, B the right click in the story and Backspace elsewhere, X the A
// key, Y the wheel up, LB the S key, RB held Ctrl, LT F5, RT F9, Start the system menu,
// Back F1, the left stick's press self-voicing, the cross the arrow keys); a stick's new
// place is kept for the frames.
void PadButtonChanged(const plat::Event& ev);
void PadStickMoved(const plat::Event& ev);
// True while a stick is pushed past its dead zone: the loop runs frames for it.
bool PadSticksPushed();
// Called by RunFrame before the story's frame: the left stick moves the pointer (and
// asks for the system pointer to follow), the right one turns the wheel, each by what
// seconds of its push give.
void PadSticksFrame(float seconds);

// ---- The picture in the window (window_fit.cpp) -----------------------------------

// Where the 640 x 474 picture lies in the client area (scaled to fit, with bars beside
// or above it), in window pixels. Used by the event mapping and the pointer's edge.
void PictureInWindow(int* x, int* y, int* w, int* h);
// A window position mapped to client pixels; false (nothing written) on the bars.
bool WindowToClient(int windowX, int windowY, int* clientX, int* clientY);
// A client pixel's window position: the first window pixel of the square it is scaled
// to, which maps back to it.
void ClientToWindow(int clientX, int clientY, int* windowX, int* windowY);
// The window's size and full-screen state kept between runs, in window.ini beside
// set.ini. Read by OpenGame: 640 x 474 in a window when the file is missing or
// unusable. Written by RunGame at the end when they changed; false when it could not be.
void ReadWindowFile(int* width, int* height, int* fullScreen);
bool WriteWindowFile(int width, int height, int fullScreen);
// Alt+Return, Escape in full screen, and a full-screen start: the window goes to full
// screen or back. The platform keeps the size out of full screen.
void ToggleFullScreen();

// ---- Shell state, the pointer and the shutdown (shell_state.cpp, single_instance.cpp) --

// Called by OpenGame (and the tests): the shell's state, the story's input and game
// mode (the logo, not started) back to their start values, the frame timer and the
// music poll counted from now.
void ResetShellState();
// The next frame's FrameSeconds counts from now: called after start-up and when the
// window regains the focus, so that time spent elsewhere does not jump the story.
void ResetFrameTimer();
// Writes the read marks and the reader's place (the resume point), releases every media
// module once, in a fixed order, and the single-instance lock, then marks the loop to
// end. Called when the story reaches ModeEnd, on the window's close request (the close
// box, the window manager, SIGTERM, SIGINT, SIGHUP), and on Escape outside full screen.
// Returns 1; a second call does nothing.
int Shutdown();
// Moves the system pointer to a client pixel (mapped into the window). Called after a
// frame where the story asked for it. true when moved, false when the platform could not.
bool SetPointerPos(int x, int y);
// Called by OpenGame: true when this is the only copy (the lock is taken); false when
// another runs, which has been asked to come to the front. caption names the lock.
bool CheckSingleInstance(const char* caption);
