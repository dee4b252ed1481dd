// The headless platform backend for tests: a virtual clock, scripted events, keys and pads,
// presented frames kept in a small ring, message boxes and beeps recorded, and an audio
// device that exists only when a test enables it and pulls from it.
#include <deque>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "platform/pad_state.h"
#include "platform/platform.h"

namespace {

// An event waiting for delivery; an untimed one is due at once.
struct QueuedEvent {
    plat::Event ev;
    bool timed;
    uint32_t at;
};

struct State {
    uint32_t clock = 0;
    std::deque<QueuedEvent> events;
    int refreshRate = 60;
    int windowWidth = 0, windowHeight = 0;
    int windowedWidth = 0, windowedHeight = 0;
    bool fullScreen = false;
    std::vector<uint64_t> presentedHashes;
    std::vector<uint32_t> presentedTimes;
    bool keys[4] = {};
    int pointerX = 0, pointerY = 0;
    int originX = 0, originY = 0;
    bool windowOpen = false;
    bool pointerShown = true;
    bool pointerInWindow = true;
    int warpX = 0, warpY = 0;
    std::deque<headless::Frame> frames;
    int presentCount = 0;
    std::vector<headless::Box> boxes;
    std::string clipboard;
    int beeps = 0;
    bool lockElsewhere = false, lockHeld = false;
    bool noDisplay = false;
    int raiseRequests = 0;
    bool audioEnabled = false, audioOpen = false;
    plat::AudioCallback callback = nullptr;
    void* callbackUser = nullptr;
    int audioLockDepth = 0;
    std::vector<std::string> calls;
    void (*callObserver)(const char*) = nullptr;
    bool programDirReadOnly = false;
};

State S;

void Log(const char* call) {
    S.calls.push_back(call);
    if (S.callObserver) S.callObserver(call);
}
std::string ProgramDir = "./";

}  // namespace

namespace headless {

void Reset() {
    S = State{};
    padstate::Reset();
}
void SetCallObserver(void (*observer)(const char* call)) { S.callObserver = observer; }

void SetProgramDirectory(const std::string& dir) {
    ProgramDir = dir;
    if (ProgramDir.empty() || ProgramDir.back() != '/') ProgramDir += '/';
}

void AdvanceClock(uint32_t ms) { S.clock += ms; }
void SetClock(uint32_t ms) { S.clock = ms; }
void PushEvent(const plat::Event& ev) { S.events.push_back({ev, false, 0}); }
void PushEventAt(uint32_t ms, const plat::Event& ev) { S.events.push_back({ev, true, ms}); }
void SetRefreshRate(int hz) { S.refreshRate = hz; }
void WindowSize(int* width, int* height) {
    *width = S.windowWidth;
    *height = S.windowHeight;
}
bool FullScreen() { return S.fullScreen; }
void SetKeyDown(plat::Key key, bool down) {
    if (key > plat::KeyNone && key <= plat::KeyCtrl) S.keys[key] = down;
}
void SetGlobalPointer(int x, int y) {
    S.pointerX = x;
    S.pointerY = y;
}
// As SDL does, the crossing is also an event.
void SetPointerInWindow(bool inside) {
    if (inside == S.pointerInWindow) return;
    S.pointerInWindow = inside;
    plat::Event ev{};
    ev.type = plat::EvPointerCrossed;
    PushEvent(ev);
}

static void QueuePadEvents() {
    plat::Event ev;
    while (padstate::TakeEvent(&ev)) PushEvent(ev);
}
void PlugPad(int pad) { padstate::Plug(pad); }
void UnplugPad(int pad) {
    padstate::Unplug(pad);
    QueuePadEvents();
}
void PadButton(int pad, plat::PadButton button, bool down) {
    padstate::Button(pad, button, down);
    QueuePadEvents();
}
void PadAxis(int pad, padstate::PadAxis axis, int value) {
    padstate::Axis(pad, axis, value);
    QueuePadEvents();
}

int PresentCount() { return S.presentCount; }
const std::vector<uint64_t>& PresentedHashes() { return S.presentedHashes; }
const std::vector<uint32_t>& PresentedTimes() { return S.presentedTimes; }
const Frame* LastFrame(int back) {
    if (back < 0 || back >= int(S.frames.size())) return nullptr;
    return &S.frames[S.frames.size() - 1 - back];
}

const std::vector<std::string>& Calls() { return S.calls; }
const std::vector<Box>& MessageBoxes() { return S.boxes; }
const std::string& ClipboardText() { return S.clipboard; }
int BeepCount() { return S.beeps; }
bool SystemPointerShown() { return S.pointerShown; }
void LastWarp(int* x, int* y) {
    *x = S.warpX;
    *y = S.warpY;
}

void SetProgramDirectoryReadOnly(bool readOnly) { S.programDirReadOnly = readOnly; }
void SetLockHeldElsewhere(bool held) { S.lockElsewhere = held; }
void SetNoDisplay(bool none) { S.noDisplay = none; }
int RaiseRequestsSent() { return S.raiseRequests; }

void EnableAudio(bool enabled) { S.audioEnabled = enabled; }
void PullAudio(float* out, int frames) {
    for (int i = 0; i < frames * 2; ++i) out[i] = 0.0f;
    if (S.audioOpen && S.callback) S.callback(out, frames, S.callbackUser);
}
int AudioLockDepth() { return S.audioLockDepth; }

}  // namespace headless

namespace plat {

bool OpenWindow(const char*, int clientWidth, int clientHeight) {
    if (S.noDisplay) return false;
    S.windowOpen = true;
    S.windowWidth = S.windowedWidth = clientWidth;
    S.windowHeight = S.windowedHeight = clientHeight;
    Log("OpenWindow");
    return true;
}
void CloseWindow() {
    if (!S.windowOpen) return;
    S.windowOpen = false;
    Log("CloseWindow");
}
// As a window manager does, the new size is reported as an event.
void SetFullScreen(bool on) {
    if (!S.windowOpen || on == S.fullScreen) return;
    S.fullScreen = on;
    Log("SetFullScreen");
    plat::Event ev{};
    ev.type = EvWindowResized;
    ev.x = on ? headless::DisplayWidth : S.windowedWidth;
    ev.y = on ? headless::DisplayHeight : S.windowedHeight;
    S.events.push_back({ev, false, 0});
}

void ClientOrigin(int* x, int* y) {
    *x = S.originX;
    *y = S.originY;
}
void RaiseWindow() {
    if (S.windowOpen) Log("RaiseWindow");
}

static bool FrontIsDue() {
    return !S.events.empty() &&
           (!S.events.front().timed || int32_t(S.events.front().at - S.clock) <= 0);
}

bool PollEvent(Event* ev) {
    if (!FrontIsDue()) return false;
    *ev = S.events.front().ev;
    S.events.pop_front();
    if (ev->type == EvWindowMoved) {
        S.originX = ev->x;
        S.originY = ev->y;
    }
    if (ev->type == EvWindowResized) {
        S.windowWidth = ev->x;
        S.windowHeight = ev->y;
        if (!S.fullScreen) {
            S.windowedWidth = ev->x;
            S.windowedHeight = ev->y;
        }
    }
    return true;
}

// The wait "sleeps" by moving the virtual clock on: to the next timed event when it
// comes within the timeout, else by the whole timeout.
bool WaitEvent(Event* ev, int timeoutMs) {
    if (PollEvent(ev)) return true;
    if (!S.events.empty() && int32_t(S.events.front().at - S.clock) <= timeoutMs) {
        S.clock = S.events.front().at;
        return PollEvent(ev);
    }
    S.clock += uint32_t(timeoutMs);
    return false;
}

int RefreshRate() { return S.refreshRate; }

uint32_t Milliseconds() { return S.clock; }

void Present(const uint32_t* pixels, int pitchBytes, int width, int height) {
    if (!pixels) return;
    headless::Frame f;
    f.width = width;
    f.height = height;
    f.pixels.resize(size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(
            reinterpret_cast<const uint8_t*>(pixels) + size_t(y) * pitchBytes);
        for (int x = 0; x < width; ++x) f.pixels[size_t(y) * width + x] = row[x] & 0xFFFFFF;
    }
    uint64_t hash = 14695981039346656037u;  // FNV-1a over the pixels
    for (uint32_t p : f.pixels) hash = (hash ^ p) * 1099511628211u;
    S.presentedHashes.push_back(hash);
    S.presentedTimes.push_back(S.clock);
    S.frames.push_back(std::move(f));
    if (int(S.frames.size()) > headless::FrameRingSize) S.frames.pop_front();
    ++S.presentCount;
}

void GlobalPointer(int* x, int* y) {
    *x = S.pointerX;
    *y = S.pointerY;
}

bool PointerInWindow() { return S.windowOpen && S.pointerInWindow; }

bool WarpPointer(int clientX, int clientY) {
    S.warpX = clientX;
    S.warpY = clientY;
    S.pointerX = S.originX + clientX;
    S.pointerY = S.originY + clientY;
    S.pointerInWindow = true;
    return true;
}

void ShowSystemPointer(bool shown) {
    S.pointerShown = shown;
    Log("ShowSystemPointer");
}

bool KeyIsDown(Key key) { return key > KeyNone && key <= KeyCtrl && S.keys[key]; }

void MessageBox(const char* captionUtf8, const char* textUtf8) {
    S.boxes.push_back({captionUtf8, textUtf8});
}

void SystemBeep() { ++S.beeps; }

void SetClipboardText(const char* textUtf8) { S.clipboard = textUtf8 ? textUtf8 : ""; }

int AcquireInstanceLock(const char*) {
    if (S.lockElsewhere) {
        ++S.raiseRequests;
        return 0;
    }
    S.lockHeld = true;
    Log("AcquireInstanceLock");
    return 1;
}

void ReleaseInstanceLock() {
    if (!S.lockHeld) return;
    S.lockHeld = false;
    Log("ReleaseInstanceLock");
}

const char* ProgramDirectory() { return ProgramDir.c_str(); }
bool ProgramDirectoryWritable() { return !S.programDirReadOnly; }

bool OpenAudio(int, int, AudioCallback callback, void* user) {
    if (!S.audioEnabled) return false;
    S.audioOpen = true;
    S.callback = callback;
    S.callbackUser = user;
    Log("OpenAudio");
    return true;
}
void LockAudio() { ++S.audioLockDepth; }
void UnlockAudio() { --S.audioLockDepth; }
void CloseAudio() {
    if (S.audioOpen) Log("CloseAudio");
    S.audioOpen = false;
    S.callback = nullptr;
}

}  // namespace plat
