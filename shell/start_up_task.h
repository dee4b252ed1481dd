// Start-up work that the first frame does not need, done on a thread of its own and
// waited for where its result is first used. A program that ends before anything
// waited for it still waits, instead of leaving the thread running as it exits.
#pragma once
#include <thread>
#include <utility>

struct StartUpTask {
    std::thread thread;
    ~StartUpTask() { AwaitTask(this); }

    // True when the task was running or had finished unawaited; false when there was
    // none (it was never started, or has been waited for already).
    friend bool AwaitTask(StartUpTask* task) {
        if (!task->thread.joinable()) return false;
        task->thread.join();
        return true;
    }
    template <class Work>
    friend void StartTask(StartUpTask* task, Work&& work) {
        AwaitTask(task);
        task->thread = std::thread(std::forward<Work>(work));
    }
};
