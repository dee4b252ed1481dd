// The application shell's state and services shared with the rest of the program:
// the input model, frame timing, game-mode access, shutdown, the error box and the
// set.ini profile file.
#pragma once
#include <cstdint>
#include <string>

// What the player did, as the story engine reads it. The click flags live one frame.
struct InputFields {
    int MouseX, MouseY;   // client pixels, last position seen over the window
    int LeftClick;        // the one signal to continue
    int RightClick;
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
};
extern ShellFields Shell;

// Key-state values of PollKey.
enum { KeyUp = 0, KeyWentDown = 1, KeyWentUp = 2, KeyHeld = 3 };
// Virtual-key codes the frame update polls.
constexpr int VkReturn = 13, VkControl = 17;

void ResetShellState();
void ResetFrameTimer();
int Shutdown();
void PollKey(int virtualKey, int* state);
int SetPointerPos(int x, int y);
void SetCursorVisible(int visible);
int GetCursorVisible();
void SetGameMode(int mode);
int GetGameMode();
void SetWorkingDirectory();
int CheckSingleInstance(const char* caption);

// Errors: location + " : " + message under the caption "エラー発生", after a beep; also
// written to standard error. Returns 0. Texts are UTF-8.
int ErrorBox(const char* location, const char* message);
void Beep();

// set.ini, kept at $XDG_CONFIG_HOME/akari/set.ini (default ~/.config/akari/set.ini).
int WriteSetting(const char* section, const char* key, const char* value);
std::string ReadSetting(const char* section, const char* key);  // at most 63 characters
std::string SettingsPath();
