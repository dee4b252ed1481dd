// Controls of the headless platform backend, for tests only: a virtual clock that the
// test advances, scripted events and key states, the last presented frames kept for
// inspection, and message boxes and beeps recorded instead of shown.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/pad_state.h"
#include "platform/platform.h"

namespace headless {

// Puts the backend back to its start: clock 0, no events, keys up, no pads, pointer (0, 0),
// window at (0, 0) and closed, no frames, no boxes, no beeps, lock free, audio absent,
// no call observer, program directory unchanged.
void Reset();

// The program directory that plat::ProgramDirectory reports (a trailing '/' is added
// when missing). Tests point it at a temporary folder.
void SetProgramDirectory(const std::string& dir);

// Makes plat::ProgramDirectoryWritable say no, as for an installed game (Reset: yes).
void SetProgramDirectoryReadOnly(bool readOnly);

// Virtual clock in milliseconds.
void AdvanceClock(uint32_t ms);
void SetClock(uint32_t ms);

// Events are delivered by PollEvent/WaitEvent in the order pushed: one pushed by
// PushEvent at once, one pushed by PushEventAt once the clock reaches ms (a wait that
// would pass it moves the clock to ms and delivers it).
void PushEvent(const plat::Event& ev);
void PushEventAt(uint32_t ms, const plat::Event& ev);
// What RefreshRate reports; 60 after Reset.
void SetRefreshRate(int hz);
void SetKeyDown(plat::Key key, bool down);
void SetGlobalPointer(int x, int y);
// Whether the pointer is over the window (Reset: it is): a change queues EvPointerCrossed
// at once, as PushEvent would; a warp brings it over the window.
void SetPointerInWindow(bool inside);
// Gamepads as a driver reports them to the SDL backend, each named by a number of the
// test's own: plugged in and out, a button pressed or let go, an axis moved (in
// padstate's ranges). What the pads together make of it (EvPadButton, EvPadStick) is
// queued at once, as PushEvent would.
void PlugPad(int pad);
void UnplugPad(int pad);
void PadButton(int pad, plat::PadButton button, bool down);
void PadAxis(int pad, padstate::PadAxis axis, int value);

// Presented frames, newest last; at most FrameRingSize are kept.
constexpr int FrameRingSize = 4;
struct Frame {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, width * height
    uint32_t Pixel(int x, int y) const { return pixels[size_t(y) * width + x]; }
};
int PresentCount();                 // frames presented since Reset
// A hash of every frame presented since Reset, in order, and the virtual clock's time
// at which each was presented.
const std::vector<uint64_t>& PresentedHashes();
const std::vector<uint32_t>& PresentedTimes();
const Frame* LastFrame(int back = 0);  // 0 = newest; nullptr when not kept

struct Box {
    std::string caption, text;
};
const std::vector<Box>& MessageBoxes();
// What the game last put on the clipboard.
const std::string& ClipboardText();
int BeepCount();

// The window, pointer-visibility, lock and audio calls made since Reset, in order, by
// function name ("OpenWindow", "CloseWindow", "RaiseWindow", "SetFullScreen",
// "ShowSystemPointer", "AcquireInstanceLock", "ReleaseInstanceLock", "OpenAudio",
// "CloseAudio"); only calls that succeed or change something are logged.
const std::vector<std::string>& Calls();
// Called with each of those calls as it is logged, so that a test can look at the other
// modules at that moment; nullptr (the start) for none.
void SetCallObserver(void (*observer)(const char* call));

// The window's client size in window pixels: as OpenWindow made it, then as the
// EvWindowResized events delivered left it. SetFullScreen delivers one: the display's
// size going in, the windowed size coming back.
constexpr int DisplayWidth = 1920, DisplayHeight = 1080;
void WindowSize(int* width, int* height);
bool FullScreen();

// Pointer state as the shell left it.
bool SystemPointerShown();
void LastWarp(int* x, int* y);

// Single-instance lock: pretend another copy holds it (AcquireInstanceLock returns 0).
void SetLockHeldElsewhere(bool held);
// No display: OpenWindow fails as it does where no window can be shown.
void SetNoDisplay(bool none);
int RaiseRequestsSent();

// Audio: when enabled, OpenAudio succeeds and PullAudio runs the callback as the device
// would; otherwise OpenAudio fails like a machine without a sound device.
void EnableAudio(bool enabled);
void PullAudio(float* out, int frames);
int AudioLockDepth();  // 0 unless inside LockAudio/UnlockAudio

}  // namespace headless
