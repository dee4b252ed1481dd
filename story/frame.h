// What the frame keeps to itself: auto mode, skipping, the keyboard's focus, F5 and F9,
// the logo's steps; the frame runs them around the pages and the story.
#pragma once

#include "base/screen_layout.h"
#include "story/screen.h"
#include "story/screens/screens.h"
#include "story/story.h"

// ---- The frame (frame.cpp) -------------------------------------------------------------

// The logo's steps back to their start values; called by ResetStoryState.
void ResetGameModes();
// F1 may open the preferences: in the story (no menu, no backlog) or at the title.
bool PreferencesMayOpen();

// ---- F5 and F9 (quick_keys.cpp) ---------------------------------------------------------

// Called by FrameUpdate before the modes, and in each frame of a page over the story or
// the title: F5 saves to the quick slot in the story, F9 loads it in the story or at the
// title; the story then shows the saved line again. F5 anywhere else but the system menu
// (the opening, the title, a page) says that nothing can be saved there.
void QuickSlotKeys();

// ---- Auto mode (auto_mode.cpp) -------------------------------------------------------

void ResetAutoMode();
// The pause after a fully shown line before auto mode steps: the preferences' pause (1 s
// unless changed) + 50 ms a character.
float AutoPause(int line);
// Called before the frame's modes: the A key toggles, any click ends; true when auto
// mode steps the story in this frame.
bool AutoModeSteps();
// Called after the frame's modes: a choice, the quit prompt or another mode ends auto
// mode; while it is on its mark is drawn in the panel.
void AutoModeAfterFrame();
// Seconds, at the earliest, until auto mode steps without any input; negative when it
// is not waiting to step (off, or held by a choice, a prompt, a menu or the backlog).
float AutoModeSecondsToStep();

// The two arrowheads of a panel mark, each drawn from its point's top-left.
void DrawPanelArrowheads(const layout::Point (&points)[2]);

// ---- Skip mode (skip_mode.cpp) -------------------------------------------------------

void ResetSkipMode();
// Called before the frame's modes: the S key toggles, any click, key or wheel ends it;
// true when skip mode steps the story in this frame (the current line may be skipped).
bool SkipModeSteps();
// Called after a step skip mode made: it ends at a line it may not skip, a choice, the
// quit prompt or another mode; while it goes on the new line's voice is stopped.
void SkipModeAfterStep();
// Called after the frame's modes: while skip mode runs its mark is drawn in the panel.
void SkipModeAfterFrame();
bool SkipModeRuns();
// What S skips, as the preferences choose: every line, or only those read.
bool SkipsEverything();

// ---- Keyboard focus (keyboard_focus.cpp) ---------------------------------------------

// No focus (ResetStoryState).
void ResetKeyboardFocus();
// Called first in each frame: the arrow keys and Tab move the focus among the items of
// what is open and put the pointer on the focused one; on the backlog and the
// preferences Return and Space press there (true then, the keys taken). In the story
// nothing has the focus until an arrow or Tab is pressed, and a step takes it away.
bool KeyboardFocusFrame();

// ---- Test hooks ------------------------------------------------------------------
// Only tests call these, to set up or look at state one part keeps to itself.

// The logo's jitter level of its next step (6 down to 1, then up to 19).
int LogoLevelForTest();
// What StartGame leaves for the main loop (frames run), without its pictures and files.
void MarkGameStartedForTest();
// True while auto mode is on (the story steps by itself).
bool AutoModeOnForTest();
// The item the keyboard's focus is on, in the order the arrows and Tab walk (on the
// backlog the entry, 0 the oldest); -1 when none.
int KeyboardFocusForTest();
