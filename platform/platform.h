// The only door between the game and the operating system: window, events (gamepads
// among them), clock, presentation, pointer, keys, message box, beep, single-instance
// lock, audio device and the program's directory. Two backends implement it: SDL2 (the
// real program, sdl_*.cpp) and headless (tests, headless_*.cpp; its extra controls are
// in headless.h). Every function runs on the game thread unless it says otherwise.
#pragma once
#include <cstdint>

namespace plat {

// ---- Window ---------------------------------------------------------------------

// Called once by the shell's entry point before StartGame. Opens the single window with
// a client area of clientWidth x clientHeight window pixels: title bar with close and
// minimise, resizable by the window manager, centred on the primary screen; text input
// off; screen saver inhibited; gamepads listened to (plugged in and out, until
// CloseWindow; none where the system offers no pad support); a hang-up signal taken as
// SIGTERM is, for a close request; from here on every large block of memory is handed
// back to the system when it is freed. captionUtf8 is UTF-8.
// Returns false (nothing opened, the reason written to standard error) when no window
// can be made, also where no display can be reached.
bool OpenWindow(const char* captionUtf8, int clientWidth, int clientHeight);

// Called by the shell when the player toggles full screen: the window covers its
// display (true) or goes back to its windowed size (false). The new size arrives as
// EvWindowResized.
void SetFullScreen(bool on);

// Called once by Shutdown's last step (through the shell). Closes the window, the pads
// and the video subsystem; safe to call when no window is open.
void CloseWindow();

// Called by the shell's message loop: screen position of the client area's top-left.
void ClientOrigin(int* x, int* y);

// Called by the shell when the running copy is asked to come to the front.
void RaiseWindow();

// ---- Events ---------------------------------------------------------------------

enum EventType {
    EvNone = 0,
    EvPointerMove,    // x, y: window pixels
    EvButtonDown,     // button 1 left, 3 right; clicks: 1, 2, 3, ... (a double click is 2);
                      // x, y: window pixels
    EvKeyDown,        // key: one of the Key values below (others are not reported)
    EvFocusGained,
    EvFocusLost,
    EvWindowMoved,    // x, y: new screen position of the client area
    EvWindowResized,  // x, y: new size of the client area in window pixels
    EvFullScreenKey,  // F11, or Return with Alt held (then not also a Return press)
    EvCloseRequested, // close box, window manager's close (Alt+F4), SIGINT/SIGTERM/SIGHUP
    EvExposed,        // the window lost its picture (uncovered, restored): present again
    EvRaiseRequested, // a second copy asked this one to come to the front
    EvWheel,          // y: notches turned, up positive, down negative
    EvPadButton,      // button: a PadButton; down: pressed (true) or let go, on any pad
    EvPadStick,       // button: PadStickLeft or PadStickRight; x, y: its deflection,
                      // -32768 to 32767, right and down positive (the most deflected pad's)
    EvPointerCrossed, // the pointer came over the window or left it (PointerInWindow says which)
    EvKeyUp,          // key: KeyT let go, the one key whose release is reported
};

// The keys after KeyCtrl arrive only as events (EvKeyDown); they are never polled.
// KeyShiftTab is Tab pressed with Shift held, KeyCopy C with Ctrl held (C alone is not
// reported). KeyT, held to show a line's English, is also reported as it is let go
// (EvKeyUp).
enum Key {
    KeyNone = 0, KeyEscape, KeyReturn, KeyCtrl, KeyA, KeyS, KeyF1, KeyF5, KeyF9, KeyUp,
    KeyDown, KeyLeft, KeyRight, KeyV,
    KeyTab, KeyShiftTab, KeySpace, KeyPageUp, KeyBackspace, KeyR, KeyT, KeyCopy
};

// A gamepad's buttons, in the standard layout (A at the bottom of the four face
// buttons, B right of it). The triggers count as pressed past half their travel. Every
// pad plugged in acts as one: a button is down while any pad holds it.
enum PadButton {
    PadA = 0, PadB, PadX, PadY, PadLB, PadRB, PadLT, PadRT, PadStart, PadBack,
    PadLeftStickPress, PadUp, PadDown, PadLeft, PadRight, PadRightStickPress, PadButtonCount
};
enum { PadStickLeft = 0, PadStickRight = 1 };

struct Event {
    EventType type;
    int x, y;
    int button;
    int clicks;
    Key key;
    bool down = false;  // EvPadButton only
};

// Called by the message loop until it returns false: takes the next waiting event
// without blocking.
bool PollEvent(Event* ev);

// Called by the message loop while the game is inactive, while it rests and while it
// waits for the next frame: blocks until an event arrives or timeoutMs passes (then
// returns false). Never spins.
bool WaitEvent(Event* ev, int timeoutMs);

// ---- Time -----------------------------------------------------------------------

// Called by the frame timer and the music poll: milliseconds since an arbitrary
// start, wrapping at 2^32.
uint32_t Milliseconds();

// ---- Presentation ---------------------------------------------------------------

// Called by kaDraw when the picture changed or the window lost it: shows width x height
// pixels of a 32-bit XRGB buffer (0x00RRGGBB words, pitch in bytes) at once, scaled to
// fill the client area with its proportions kept (whole factors pixel-sharp, others smoothed)
// and black bars beside it. Never waits: the message loop paces the frames.
void Present(const uint32_t* pixels, int pitchBytes, int width, int height);

// Where a width x height picture lies in a client area of windowWidth x windowHeight
// pixels when Present scales it to fit with its proportions kept: the rectangle x, y, w, h,
// centred, touching two opposite edges. The shell maps the pointer back by the same rule.
inline void FitPicture(int windowWidth, int windowHeight, int width, int height, int* x,
                       int* y, int* w, int* h) {
    if (int64_t(windowWidth) * height <= int64_t(windowHeight) * width) {
        *w = windowWidth;
        *h = int((int64_t(windowWidth) * height * 2 + width) / (2 * int64_t(width)));
    } else {
        *h = windowHeight;
        *w = int((int64_t(windowHeight) * width * 2 + height) / (2 * int64_t(height)));
    }
    if (*w < 1) *w = 1;
    if (*h < 1) *h = 1;
    *x = (windowWidth - *w) / 2;
    *y = (windowHeight - *h) / 2;
}

// Called by the message loop's frame schedule: the display's refresh rate in Hz (60 when
// unknown). The loop presents no faster than this.
int RefreshRate();

// ---- Pointer and keys -----------------------------------------------------------

// Called by the message loop once per frame: the pointer's screen position.
void GlobalPointer(int* x, int* y);

// Called by the message loop once per frame: is the pointer over the window? False while
// it is elsewhere, also from the start until it first comes over the window.
bool PointerInWindow();

// Called by SetPointerPos: moves the pointer to window pixel (x, y) of the client area.
// Returns success.
bool WarpPointer(int windowX, int windowY);

// Called by the message loop once per crossing of the client area's edge.
void ShowSystemPointer(bool shown);

// Called by PollKey at the start of every frame: is the key held right now?
// KeyCtrl means either Ctrl key, KeyReturn either Enter key; Escape is
// not polled (it arrives as an event).
bool KeyIsDown(Key key);

// ---- Reports --------------------------------------------------------------------

// Called by ErrorBox: a modal box with an exclamation icon and an OK button that
// blocks until dismissed. Both texts are UTF-8.
void MessageBox(const char* captionUtf8, const char* textUtf8);

// Puts UTF-8 text on the desktop's clipboard, for other programs to paste.
void SetClipboardText(const char* textUtf8);

// Called by Beep when the mixer cannot play the error tone: the system's bell.
void SystemBeep();

// ---- Single instance ------------------------------------------------------------

// Called once by CheckSingleInstance before the window exists. Takes the per-user lock
// called name. Returns 1 when taken; 0 when another copy holds it, after asking that
// copy to raise its window (it receives EvRaiseRequested). A copy that dies leaves no
// stale lock behind.
int AcquireInstanceLock(const char* name);

// Called by Shutdown: gives the lock up so that a new copy may start.
void ReleaseInstanceLock();

// ---- Files ----------------------------------------------------------------------

// Called by ProgramDirectory users (pictures, voices, music, saves): the directory of
// the program file, ending in '/'.
const char* ProgramDirectory();

// Called whenever a save or owlsys.ini path is built: can files be created in the
// program's directory? Not where the game is installed read-only.
bool ProgramDirectoryWritable();

// ---- Audio ----------------------------------------------------------------------

// The mixer: fills frames stereo float frames (interleaved L, R). Runs on the audio
// thread; must not allocate, block or touch files.
typedef void (*AudioCallback)(float* out, int frames, void* user);

// Called once by kaSound::Init: opens the output at rate Hz, stereo float, with a
// buffer of at most maxFrames frames. Returns false when there is no audio device.
bool OpenAudio(int rate, int maxFrames, AudioCallback callback, void* user);

// Called by the sound module around every change of state the callback reads.
void LockAudio();
void UnlockAudio();

// Called once by kaSound::Release: stops the callback and closes the device.
void CloseAudio();

}  // namespace plat
