// The message loop and window events on the headless backend with the real story engine:
// click edges, double clicks, focus, the system pointer, Shutdown's routes,
// and the program's own single-instance lock.
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "draw/kaDraw.h"
#include "platform/headless.h"
#include "platform/instance_lock.h"
#include "tests/shell_test_game.h"

namespace fs = std::filesystem;
using namespace shelltest;

namespace {

int Count(const std::vector<std::string>& calls, const char* name) {
    return int(std::count(calls.begin(), calls.end(), name));
}

// The game as the program starts it, with sound.
class ShellLoop : public ShellGame {
protected:
    void SetUp() override {
        ShellGame::SetUp();
        headless::EnableAudio(true);
    }

    // Opened, active, at the story's first line, the pointer over the picture.
    void StartInStory() {
        Open(ModeTitle);
        EXPECT_EQ(fs::current_path(), fs::canonical(dir));
        Push(plat::EvPointerMove, 100, 100);
        Pass();  // the title's click, left by StartGame, starts the story
        ASSERT_EQ(GetGameMode(), ModeStory);
    }
    static void Click(int clicks = 1) { Push(plat::EvButtonDown, 100, 100, 1, clicks); }
    bool Pass(uint32_t ms = 16) {
        headless::AdvanceClock(ms);
        return RunLoopPass();
    }
};

// A thousand clicks and Returns at random moments, a third of the Returns let go before
// the frame after their press polls the key (a quick tap in a long frame): each steps
// the story exactly once.
TEST_F(ShellLoop, EveryClickAndReturnStepsOnce) {
    using storytest::Sjis;
    storytest::SetScript({"label:loop", Sjis("一"), Sjis("二"), Sjis("三"), "jump:loop"});
    StartInStory();
    struct Input { uint32_t at, held; bool key; };
    std::vector<Input> inputs;
    std::mt19937 random(29);
    uint32_t at = plat::Milliseconds();
    for (int i = 0; i < 1000; ++i) {
        bool key = random() % 2;
        uint32_t held = key && random() % 3 ? 1 + random() % 100 : 0;
        at += 1 + random() % 300;
        inputs.push_back({at, held, key});
        headless::PushEventAt(at, key ? plat::Event{plat::EvKeyDown, 0, 0, 0, 0, plat::KeyReturn}
                                      : plat::Event{plat::EvButtonDown, 100, 100, 1, 1, {}});
        at += held + 40;  // let go and seen up before the next press
    }
    int steps = 0, line = CurrentScene().line;
    size_t next = 0;
    while (int32_t(plat::Milliseconds() - at) < 0) {
        uint32_t now = plat::Milliseconds();
        while (next < inputs.size() && int32_t(now - inputs[next].at - inputs[next].held) >= 0) ++next;
        bool down = next < inputs.size() && inputs[next].key && int32_t(now - inputs[next].at) >= 0;
        headless::SetKeyDown(plat::KeyReturn, down);
        ASSERT_TRUE(RunLoopPass());
        steps += CurrentScene().line != line;
        line = CurrentScene().line;
    }
    EXPECT_EQ(steps, 1000);
}

// A double click is two presses with nothing between: a press on the logo (which no
// click ends) is no first half, nor is a press the wheel turned after. The press after
// it counts, whatever the system numbers it.
TEST_F(ShellLoop, APressOnTheLogoOrBeforeTheWheelIsNoHalfOfADoubleClick) {
    ASSERT_EQ(OpenGame(), 1);
    Push(plat::EvFocusGained);
    for (int i = 0; i < 1000 && GetGameMode() == ModeLogo; ++i) {
        Click();
        Pass();
    }
    ASSERT_EQ(GetGameMode(), ModeNotice);
    Click(2);
    Pass();
    EXPECT_EQ(GetGameMode(), ModeTitle);
    Click(3);  // the second half of a double click on the notice
    Pass();
    Pass();
    ASSERT_EQ(GetGameMode(), ModeTitle);
    Click();
    Pass();
    int line = CurrentScene().line;
    Push(plat::EvWheel, 0, 1);  // the backlog, opened and closed
    Pass();
    ASSERT_TRUE(BacklogOpen);
    Push(plat::EvWheel, 0, -1);
    Pass();
    ASSERT_FALSE(BacklogOpen);
    Click(2);
    Pass();
    EXPECT_GT(CurrentScene().line, line);
}

// The game's own pointer is drawn only while the real one is over the window: leaving
// takes it off the picture in the next frame, coming back puts it where it was.
TEST_F(ShellLoop, TheGamesPointerShowsOnlyWhileTheRealOneIsOverTheWindow) {
    storytest::SetScript({storytest::Sjis("一")});
    StartInStory();
    for (int i = 0; i < 5; ++i) Pass(1000);
    const std::vector<uint32_t> over = headless::LastFrame()->pixels;
    for (bool inside : {false, true}) {
        headless::SetPointerInWindow(inside);
        for (int i = 0; i < 5; ++i) Pass();
        EXPECT_EQ(headless::LastFrame()->pixels == over, inside) << inside;
    }
}

// The read marks a frame sets are written by the loop a few seconds later, between
// frames, and the last of them at shutdown.
TEST_F(ShellLoop, ReadMarksAreWrittenSecondsAfterAChangeAndAtShutdownNeverEachFrame) {
    StartInStory();
    fs::path marks = dir / "read_marks.txt";
    uint32_t firstMark = plat::Milliseconds();
    for (int i = 0; i < 30; ++i) {
        Click();
        Pass(100);
    }
    EXPECT_FALSE(fs::exists(marks)) << "three seconds of steps, no write";
    while (!fs::exists(marks) && plat::Milliseconds() - firstMark < 10000) Pass(100);
    ASSERT_TRUE(fs::exists(marks));
    EXPECT_GE(plat::Milliseconds() - firstMark, 5000u);
    std::string first = storytest::ReadFile(marks);
    for (int i = 0; i < 2; ++i) Click(), Pass(100);
    EXPECT_EQ(storytest::ReadFile(marks), first) << "the new marks wait their turn";
    Shutdown();
    EXPECT_NE(storytest::ReadFile(marks), first) << "the last marks go at shutdown";
}

TEST_F(ShellLoop, NoFramesWhileInactiveAndTheFirstFrameBackSeesOnlyTheTimeSince) {
    StartInStory();
    Pass(20);
    EXPECT_FLOAT_EQ(FrameSeconds, 0.020f);
    int presented = headless::PresentCount(), line = CurrentScene().line;
    Push(plat::EvFocusLost);
    Click();  // the click that brings the window back counts once it is active
    uint32_t lastFrame = Shell.LastFrameTime;
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(Pass());
    EXPECT_EQ(Shell.LastFrameTime, lastFrame) << "no frame ran";
    EXPECT_EQ(CurrentScene().line, line);
    Push(plat::EvExposed);  // the last frame shown again
    Pass();
    EXPECT_EQ(headless::PresentCount(), presented + 1);

    Push(plat::EvFocusGained);
    Pass(7000);
    EXPECT_EQ(Shell.LastFrameTime, plat::Milliseconds()) << "a frame ran at once";
    EXPECT_FLOAT_EQ(FrameSeconds, 0.0f) << "the pause is not seen";
    EXPECT_GT(CurrentScene().line, line);
}

TEST_F(ShellLoop, TheSystemPointerChangesOncePerCrossing) {
    StartInStory();
    Push(plat::EvWindowMoved, -20, -10);  // partly off the screen
    struct { int x, y; bool shown; } steps[] = {{280, 190, false}, {620, 50, true}, {-20, -10, false}};
    for (auto step : steps) {  // inside, just right of the client area, its top-left pixel
        headless::SetGlobalPointer(step.x, step.y);
        Pass();
        Pass();
        EXPECT_EQ(headless::SystemPointerShown(), step.shown) << step.x << "," << step.y;
    }
    Push(plat::EvFocusLost);  // shown at once on losing the focus
    Pass();
    EXPECT_TRUE(headless::SystemPointerShown());
    EXPECT_EQ(Count(headless::Calls(), "ShowSystemPointer"), 4);

    SetPointerPos(560, 170);  // relative to the client area
    int x, y;
    plat::GlobalPointer(&x, &y);
    EXPECT_EQ(x, -20 + 560);
    EXPECT_EQ(y, -10 + 170);
    HandleWindowEvent({plat::EvPointerMove, 639, 473, 0, 0, {}});
    HandleWindowEvent({plat::EvPointerMove, -5, 20, 0, 0, {}});  // a drag out keeps the last inside
    HandleWindowEvent({plat::EvPointerMove, 700, 20, 0, 0, {}});
    EXPECT_EQ(InputState.MouseX, 639);
    EXPECT_EQ(InputState.MouseY, 473);
}

// Shutdown's releases as they happen: the synthesizer deleted (CloseMusic), the platform
// calls of kaSound::Release (CloseAudio), of the lock and of the window, and the back
// buffer first seen gone (CloseScreen).
static std::vector<std::string>* Releases = nullptr;

static void NoteRelease(const char* what) {
    if (!Releases) return;
    if (!kaDraw::BackBuffer && Count(*Releases, "CloseScreen") == 0) Releases->push_back("CloseScreen");
    Releases->push_back(what);
}

static void NotePlatformCall(const char* call) {
    std::string name = call;
    if (name == "CloseAudio") NoteRelease("kaSound::Release");
    if (name == "ReleaseInstanceLock" || name == "CloseWindow") NoteRelease(call);
}

}  // namespace

extern "C" void delete_fluid_synth(void* synth) {
    static auto real = reinterpret_cast<void (*)(void*)>(dlsym(RTLD_NEXT, "delete_fluid_synth"));
    NoteRelease("CloseMusic");
    real(synth);
}

namespace {

// Escape, a close request (the close box, Alt+F4 or a signal) and the script's end:99,
// each met in the story with its line shown and music loaded: one Shutdown, releasing
// music, sound, screen and lock in that order, then the window closed.
TEST_F(ShellLoop, EveryRouteRunsShutdownOnceAndInOrder) {
    struct { const char* name; plat::Event last; } routes[] = {
        {"Escape", {plat::EvKeyDown, 0, 0, 0, 0, plat::KeyEscape}},
        {"close request", {plat::EvCloseRequested, 0, 0, 0, 0, {}}},
        {"end:99", {plat::EvButtonDown, 100, 100, 1, 1, {}}},  // the step that reaches it
    };
    for (auto route : routes) {
        headless::Reset();
        headless::EnableAudio(true);
        storytest::SetScript({"prose", "end:99"});
        ASSERT_EQ(OpenGame(), 1);
        SetGameMode(ModeTitle);
        Push(plat::EvFocusGained);
        Pass();  // the title's click, left by StartGame, shows line 6
        ASSERT_EQ(CurrentScene().line, 6);
        std::vector<std::string> releases;
        Releases = &releases;
        headless::SetCallObserver(NotePlatformCall);
        headless::PushEvent(route.last);
        while (Pass()) {
        }
        EXPECT_EQ(GetGameMode(), route.last.type == plat::EvButtonDown ? ModeEnd : ModeStory) << route.name;
        plat::CloseWindow();
        Shutdown();  // a late call does nothing
        Releases = nullptr;
        EXPECT_EQ(releases, (std::vector<std::string>{"CloseMusic", "kaSound::Release",
                                                      "CloseScreen", "ReleaseInstanceLock",
                                                      "CloseWindow"}))
            << route.name;
    }
    headless::SetCallObserver(nullptr);
    UseScriptTable(nullptr);
}

// The program's own lock (the headless one stands in for it above): in a folder only the
// user can reach, held by one copy at a time, free again once its holder is killed.
TEST_F(ShellLoop, TheInstanceLockIsPrivateAndDiesWithItsHolder) {
    char shortPath[] = "/tmp/akari-test-XXXXXX";  // a socket's path has room for 107 bytes
    ASSERT_NE(mkdtemp(shortPath), nullptr);
    fs::path runtime = shortPath, home = dir / "home";
    fs::create_directories(home);
    std::string oldHome = getenv("HOME") ? getenv("HOME") : "";
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("HOME", home.c_str(), 1);
    const char* name = "test:KaMutex";
    auto otherCopy = [&] {  // a copy in a process of its own: 1 taken, 0 refused
        pid_t pid = fork();
        if (pid == 0) _exit(instancelock::Acquire(name));
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };

    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t holder = fork();
    if (holder == 0) {
        char taken = char('0' + instancelock::Acquire(name));
        if (write(ready[1], &taken, 1) == 1) pause();
        _exit(0);
    }
    char taken = 0;
    EXPECT_EQ(read(ready[0], &taken, 1), 1);
    EXPECT_EQ(taken, '1');
    EXPECT_EQ(otherCopy(), 0);
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    ASSERT_EQ(instancelock::Acquire(name), 1) << "no stale lock after kill -9";
    EXPECT_EQ(otherCopy(), 0);
    EXPECT_TRUE(instancelock::TakeRaiseRequest()) << "the other copy asked for the window";
    EXPECT_FALSE(instancelock::TakeRaiseRequest());
    instancelock::Release();
    EXPECT_EQ(otherCopy(), 1) << "free once released";

    // A runtime folder that others may enter is passed over for ~/.cache/akari, made 0700.
    fs::permissions(runtime, fs::perms::owner_all | fs::perms::others_exec, fs::perm_options::replace);
    EXPECT_EQ(instancelock::PrivateFolder(), (home / ".cache/akari").string());
    EXPECT_EQ(fs::status(home / ".cache/akari").permissions(), fs::perms::owner_all);
    unsetenv("XDG_RUNTIME_DIR");
    setenv("HOME", oldHome.c_str(), 1);
    fs::remove_all(runtime);
}

TEST_F(ShellLoop, NoWindowIsAFailureAndGivesTheLockBack) {
    headless::SetNoDisplay(true);
    EXPECT_EQ(RunGame(), 1);
    EXPECT_EQ(headless::Calls(), (std::vector<std::string>{"AcquireInstanceLock",
                                                            "ReleaseInstanceLock"}));
}

}  // namespace
