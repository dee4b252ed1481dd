// Start-up in its fixed order and the message loop: every waiting event before a frame;
// frames a refresh period apart while the picture can move, at once for a click or key;
// a rest, woken only by input and timed events, while it cannot; a blocking wait while
// the window is inactive.
#include <algorithm>
#include <cmath>

#include "base/frame.h"
#include "base/start_up_task.h"
#include "draw/kaDraw.h"
#include "platform/platform.h"
#include "shell/shell.h"
#include "sound/kaMusic.h"
#include "story/story.h"

const char* const GameCaption = "灯りの駅";

// How long one inactive pass blocks when nothing happens; any event ends it sooner.
static constexpr int InactiveWaitMs = 1000;
// The longest a rest waits before the loop looks again; input ends it at once.
static constexpr uint32_t RestWaitMs = 1000;
// How long after a new read mark its file is written: marks gathered in between go in
// one write.
static constexpr uint32_t ReadMarksWriteDelayMs = 5000;

// The window's size and full-screen state as window.ini had them at start-up.
static int RememberedWidth, RememberedHeight, RememberedFullScreen;

int OpenGame() {
    ResetShellState();
    ResetStoryState();
    HoldStartUpTasks();
    if (!CheckSingleInstance(GameCaption)) return 0;
    int width, height;
    ReadWindowFile(&width, &height, &RememberedFullScreen);
    RememberedWidth = width;
    RememberedHeight = height;
    if (!plat::OpenWindow(GameCaption, width, height)) {
        if (Shell.InstanceLockHeld) plat::ReleaseInstanceLock();
        Shell.InstanceLockHeld = 0;
        return -1;
    }
    Shell.WindowWidth = Shell.WindowedWidth = width;
    Shell.WindowHeight = Shell.WindowedHeight = height;
    if (RememberedFullScreen) ToggleFullScreen();
    plat::ClientOrigin(&Shell.ClientOriginX, &Shell.ClientOriginY);
    StartGame();
    // The first frame comes with a click, as the game has always begun: the logo ignores
    // it, and a game opened at the title leaves it for the story's first line.
    InputState.LeftClick = 1;
    ResetFrameTimer();
    return 1;
}

// A window that cannot be made is a failure the player must hear of, unlike a second
// copy that hands over to the first. The window's size is kept for the next run when
// it changed.
int RunGame() {
    int opened = OpenGame();
    if (opened < 0) return 1;
    if (opened > 0) {
        while (RunLoopPass()) {
        }
        if (RememberedWidth != Shell.WindowedWidth || RememberedHeight != Shell.WindowedHeight ||
            RememberedFullScreen != Shell.FullScreen)
            WriteWindowFile(Shell.WindowedWidth, Shell.WindowedHeight, Shell.FullScreen);
        plat::CloseWindow();
    }
    return 0;
}

static uint32_t RefreshPeriodMicros() {
    int hz = plat::RefreshRate();
    return 1000000u / uint32_t(hz > 0 ? hz : 60);
}

static uint32_t MsUntil(uint32_t due, uint32_t now) {
    int32_t left = int32_t(due - now);
    return left > 0 ? uint32_t(left) : 0;
}

// The schedule is kept to the microsecond, so that a 60 Hz display gets 60 frames a
// second from a millisecond clock; a frame is due at the first millisecond not before it.
static uint32_t FrameDueMs() { return Shell.NextFrameDue + (Shell.NextFrameDueMicros ? 1 : 0); }

// Frames follow one another a refresh period apart, so the loop never shows more of them
// than the display can. A frame that came late, one after a rest, and one that input
// asked for at once start the schedule again from themselves.
static void ScheduleNextFrame(uint32_t start, bool atOnce) {
    uint32_t period = RefreshPeriodMicros();
    if (atOnce || int32_t(start - Shell.NextFrameDue) >= int32_t(period / 1000)) {
        Shell.NextFrameDue = start;
        Shell.NextFrameDueMicros = 0;
    }
    uint32_t micros = Shell.NextFrameDueMicros + period;
    Shell.NextFrameDue += micros / 1000;
    Shell.NextFrameDueMicros = micros % 1000;
}

// Whether the next frame may show something new without input: it was asked for, the
// last frame changed the picture (something may be under way), a pad's stick is pushed
// (it moves the pointer or turns the wheel each frame), or the story says its picture
// moves by itself.
static bool PictureMayChange() {
    return Shell.FrameWanted != FrameNotWanted || kaDraw::PresentedNewPicture() ||
           PadSticksPushed() || (GameStarted() && PictureMovesByItself());
}

// The one place where the loop's timed events meet: a resting loop wakes for the
// earliest of them. Each term is the milliseconds until that event is due: the music's
// poll, and the next clip self-voicing says in turn.
static uint32_t MsUntilTimedEvent(uint32_t now) {
    uint32_t wait = RestWaitMs;
    wait = std::min(wait, kaMusic::MsUntilPoll(now));
    float nextClip = SecondsUntilNextClip();
    if (nextClip >= 0.0f) wait = std::min(wait, uint32_t(std::ceil(double(nextClip) * 1000.0)));
    return wait;
}

uint32_t MsUntilNextFrame() {
    if (Shell.FrameWanted == FrameAtOnce) return 0;
    uint32_t now = plat::Milliseconds();
    uint32_t untilDue = MsUntil(FrameDueMs(), now);
    if (PictureMayChange()) return untilDue;
    return std::max(untilDue, MsUntilTimedEvent(now));
}

// Between frames: the read marks a frame set are given a time to be written, and
// written by the first pass after it has come. The loop needs no wake of its own for
// that: a resting or inactive pass waits at most a second.
static void WriteReadMarksWhenDue() {
    if (!ReadMarksUnsaved()) {
        Shell.MarksWritePending = 0;
        return;
    }
    uint32_t now = plat::Milliseconds();
    if (!Shell.MarksWritePending) {
        Shell.MarksWritePending = 1;
        Shell.MarksWriteDue = now + ReadMarksWriteDelayMs;
    } else if (int32_t(now - Shell.MarksWriteDue) >= 0) {
        WriteReadMarks();
        Shell.MarksWritePending = 0;
    }
}

bool RunLoopPass() {
    plat::Event ev;
    while (Shell.CloseState != 2 && plat::PollEvent(&ev)) HandleWindowEvent(ev);
    if (Shell.CloseState == 2) return false;
    WriteReadMarksWhenDue();
    kaMusic::ReportSoundFontWhenRead();
    if (!Shell.AppActive) {
        if (plat::WaitEvent(&ev, InactiveWaitMs)) HandleWindowEvent(ev);
        return Shell.CloseState != 2;
    }
    uint32_t wait = MsUntilNextFrame();
    if (wait == 0) {
        RunFrame();
    } else {
        if (!PictureMayChange()) Shell.Rested = 1;
        if (plat::WaitEvent(&ev, int(wait))) HandleWindowEvent(ev);
    }
    return Shell.CloseState != 2;
}

// Over the picture the game draws its own pointer; the system's is hidden there and
// shown over the bars and outside. It is shown or hidden only when the pointer crosses
// the picture's edge.
static void FollowPointerAcrossTheEdge() {
    int x, y, left, top, w, h;
    plat::GlobalPointer(&x, &y);
    PictureInWindow(&left, &top, &w, &h);
    left += Shell.ClientOriginX;
    top += Shell.ClientOriginY;
    bool inside = x >= left && y >= top && x < left + w && y < top + h;
    if (inside && Shell.SystemCursorShown) {
        plat::ShowSystemPointer(false);
        Shell.SystemCursorShown = 0;
    } else if (!inside && !Shell.SystemCursorShown) {
        plat::ShowSystemPointer(true);
        Shell.SystemCursorShown = 1;
    }
}

void UpdateGame() {
    if (!GameStarted()) return;
    FrameUpdate();
    if (GameEnded()) Shutdown();
}

// After a rest nothing moved, so the frame covers at most what one frame of the schedule
// would: an animation or reveal that this frame starts does not see the whole rest at
// once and race to catch it up.
void RunFrame() {
    uint32_t now = plat::Milliseconds();
    float seconds = float(double(uint32_t(now - Shell.LastFrameTime)) * 0.001);
    if (Shell.Rested) seconds = std::min(seconds, float(RefreshPeriodMicros() * 1e-6));
    FrameSeconds = seconds;
    Shell.LastFrameTime = plat::Milliseconds();
    ScheduleNextFrame(now, Shell.FrameWanted == FrameAtOnce);
    Shell.FrameWanted = FrameNotWanted;
    Shell.Rested = 0;
    PadSticksFrame(seconds);
    InputState.PointerAway = !plat::PointerInWindow();
    // The Return of Alt+Return is no press until it is let go.
    if (!plat::KeyIsDown(plat::KeyReturn)) InputState.ReturnTakenByToggle = 0;
    UpdateGame();
    int pointerX, pointerY;
    if (TakePointerPlace(&pointerX, &pointerY)) {
        InputState.MouseX = pointerX;
        InputState.MouseY = pointerY;
    }
    if (TakePointerMove(&pointerX, &pointerY)) SetPointerPos(pointerX, pointerY);
    if (TakeFullScreenToggle()) ToggleFullScreen();
    // The first picture is out: the start-up work it did not need may have the processor.
    ReleaseStartUpTasks();
    kaMusic::PollWhenDue(plat::Milliseconds());
    ClearInputEdges();
    FollowPointerAcrossTheEdge();
}
