// The application shell's state and services shared with the rest of the program:
// the input model, frame timing, game-mode access, shutdown, the error box and the
// set.ini profile file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// What the player did, as the story engine reads it. The click flags live one frame.
struct InputFields {
    int MouseX, MouseY;   // client pixels, last position seen over the window
    int LeftClick;        // the one signal to continue
    int RightClick;
    // One-frame edges of the additions beside the original input: wheel notches turned
    // (up positive), the A key, and Escape while the backlog holds it.
    int WheelSteps;
    int AutoKey;
    int EscapeKey;
};
extern InputFields InputState;

struct ShellFields {
    int GameStarted;          // FrameUpdate runs only while 1
    float FrameSeconds;       // seconds between the previous frame and this one
    uint32_t LastFrameTime;   // plat::Milliseconds at the previous frame
    int AppActive;            // frames run only while 1
    int SystemCursorShown;
    int ClientOriginX, ClientOriginY;
    int CloseState;           // 0 running, 1 close requested, 2 Shutdown has run
    int ShutdownDone;
    uint32_t NextMusicPoll;   // time of the next end-of-music poll
    int InstanceLockHeld;
    // The window: its client area in window pixels, where the picture is scaled to fit.
    int WindowWidth, WindowHeight;
    int FullScreen;
    int WindowedWidth, WindowedHeight;  // the size out of full screen, remembered
    int ReturnTakenByToggle;  // Alt+Return toggled full screen: Return is no press
    // The frame schedule: frames are due a refresh period apart while the picture moves;
    // input asks for one, and nothing else wakes a resting loop but timed events.
    int FrameWanted;          // FrameNotWanted, FrameWhenDue or FrameAtOnce
    int Rested;               // the loop waited with no frame due since the last frame
    uint32_t NextFrameDue;    // milliseconds, and microseconds past them
    uint32_t NextFrameDueMicros;
};
extern ShellFields Shell;

enum { FrameNotWanted = 0, FrameWhenDue = 1, FrameAtOnce = 2 };

// Key-state values of PollKey.
enum { KeyUp = 0, KeyWentDown = 1, KeyWentUp = 2, KeyHeld = 3 };
// Virtual-key codes the frame update polls.
constexpr int VkReturn = 13, VkControl = 17;

// The window's caption, also the stem of the single-instance lock's name.
extern const char* const GameCaption;
constexpr int ClientWidth = 640, ClientHeight = 474;

// The program: start-up in order, then the message loop until Shutdown has run, then
// the window closed. Returns the process's exit status: 0, or 1 when no window could
// be made (the platform has said why on standard error).
int RunGame();
// Start-up up to the message loop: shell and story state, single instance, window, random seed,
// StartGame, frame timer. 1 when the game runs; 0 when another copy runs; -1 when no
// window could be made.
int OpenGame();
// One pass of the message loop: every waiting event, then one frame while the game is
// active, or a wait for the next event while it is not. False once Shutdown has run.
bool RunLoopPass();
// One frame: FrameSeconds, FrameUpdate, the end-of-music poll, the click edges cleared,
// the system pointer hidden over the client area and shown outside it.
void RunFrame();
// What one window event does to the InputState and the shell.
void HandleWindowEvent(const plat::Event& ev);
// Milliseconds the loop may wait before its next frame: 0 when one is due now.
uint32_t MsUntilNextFrame();

// The picture in the window (window_fit.cpp). Where the 640 x 474 picture lies in the
// client area; a window position mapped to client pixels, false on the bars; a client
// pixel's window position (the middle of the pixels it is scaled to).
void PictureInWindow(int* x, int* y, int* w, int* h);
bool WindowToClient(int windowX, int windowY, int* clientX, int* clientY);
void ClientToWindow(int clientX, int clientY, int* windowX, int* windowY);
// The window's size and full-screen state kept between runs, in window.ini beside
// set.ini. Read gives 640 x 474 in a window when the file is missing or unusable.
void ReadWindowFile(int* width, int* height, int* fullScreen);
bool WriteWindowFile(int width, int height, int fullScreen);
void ToggleFullScreen();

void ResetShellState();
void ResetFrameTimer();
int Shutdown();
void PollKey(int virtualKey, int* state);
bool SetPointerPos(int x, int y);
void SetCursorVisible(int visible);
int GetCursorVisible();
void SetGameMode(int mode);
int GetGameMode();
void SetWorkingDirectory();
bool CheckSingleInstance(const char* caption);

// Errors: location + " : " + message under the caption "エラー発生", after a beep; also
// written to standard error. Returns 0. Texts are UTF-8.
int ErrorBox(const char* location, const char* message);
void Beep();

// Every file the program reads is read through these two: opened without blocking,
// refused unless it leads (links followed) to a regular file, and read within a bound.
// The whole file into bytes; false (bytes empty) when it cannot be opened or read, is no
// regular file, or is larger than maxBytes.
bool ReadWholeFile(const char* path, size_t maxBytes, std::vector<uint8_t>* bytes);
// The file's first bytes, at most maxBytes (fewer when it is shorter); false (bytes
// empty) when it cannot be opened or read, or is no regular file.
bool ReadFileStart(const char* path, size_t maxBytes, std::vector<uint8_t>* bytes);
// Replaces the file with bytes: written to path + ".tmp", flushed to the disk, renamed
// over the old file and the folder flushed, so a crash, a power cut or a full disk never
// leaves it half-written. False when that failed (the old file is then untouched).
bool ReplaceFile(const char* path, const std::string& bytes);

// set.ini, kept at $XDG_CONFIG_HOME/akari/set.ini (default ~/.config/akari/set.ini).
// ConfigPath gives a file of that folder, "" when neither variable leads to one.
std::string ConfigPath(const char* name);
bool WriteSetting(const char* section, const char* key, const char* value);
std::string ReadSetting(const char* section, const char* key);  // at most 63 characters
std::string SettingsPath();
