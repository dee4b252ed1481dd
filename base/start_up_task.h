// Start-up work that the first frame does not need. It is held until the first frame
// has been shown, so that the window's first picture has the processor to itself, then
// done on a thread of its own; whoever needs its result first waits for it, and work
// still held then is done at once on the caller's thread. Either way the work is done
// once and the caller sees the same result. The picture read ahead of a page turn runs
// the same way.
#pragma once
#include <atomic>
#include <functional>
#include <thread>

struct StartUpTask {
    std::function<void()> held;  // work not started yet
    std::thread thread;
    std::atomic<bool> finished{false};  // the thread's work is done
    // A program that ends with the work running waits for it instead of leaving the
    // thread running as it exits; work still held is dropped.
    ~StartUpTask();
};

// Replaces whatever the task had (waiting for it first) with work, held or started.
void StartTask(StartUpTask* task, std::function<void()> work);

// Makes sure the task's work is done. True when there was work (held, running or
// finished unawaited); false when there was none (never given, or awaited already).
bool AwaitTask(StartUpTask* task);

// True when the work has been done on its thread and only waits to be awaited; never
// waits itself.
bool TaskFinished(const StartUpTask* task);

// Drops work still held and waits for work under way, whose result is then not wanted.
void CancelTask(StartUpTask* task);

// Called when a game is opened: work given from now on is held (the program starts so).
void HoldStartUpTasks();

// Called by the loop once a frame has been shown: held work starts, and work given
// from now on starts at once.
void ReleaseStartUpTasks();
