// The held start-up tasks and the latch that lets them go.
#include "base/start_up_task.h"

#include <utility>

namespace {

// The SoundFont's reader, the font table's filler and the picture read ahead.
constexpr int HeldTaskCapacity = 4;
StartUpTask* HeldTasks[HeldTaskCapacity] = {};
bool Released = false;

void Launch(StartUpTask* task) {
    task->finished = false;
    task->thread = std::thread([task, work = std::move(task->held)] {
        work();
        task->finished = true;
    });
    task->held = nullptr;
}

}  // namespace

StartUpTask::~StartUpTask() {
    for (StartUpTask*& slot : HeldTasks)
        if (slot == this) slot = nullptr;
    CancelTask(this);
}

bool TaskFinished(const StartUpTask* task) {
    return !task->held && task->thread.joinable() && task->finished;
}

void CancelTask(StartUpTask* task) {
    task->held = nullptr;
    if (task->thread.joinable()) task->thread.join();
}

void StartTask(StartUpTask* task, std::function<void()> work) {
    AwaitTask(task);
    task->held = std::move(work);
    if (Released) {
        Launch(task);
        return;
    }
    for (StartUpTask*& slot : HeldTasks)
        if (!slot || slot == task) {
            slot = task;
            return;
        }
    Launch(task);  // no room to hold it: it only starts sooner
}

bool AwaitTask(StartUpTask* task) {
    if (task->held) {
        std::function<void()> work = std::move(task->held);
        task->held = nullptr;
        work();
        return true;
    }
    if (!task->thread.joinable()) return false;
    task->thread.join();
    return true;
}

void HoldStartUpTasks() { Released = false; }

void ReleaseStartUpTasks() {
    if (Released) return;
    Released = true;
    for (StartUpTask*& slot : HeldTasks) {
        if (slot && slot->held) Launch(slot);
        slot = nullptr;
    }
}
