// The single-instance rule and the working directory, both settled at start-up.
#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "shell/shell.h"

// True when this is the only copy; false when another runs (it has been asked to come
// to the front). The lock is per user and named by the caption followed by ":KaMutex".
bool CheckSingleInstance(const char* caption) {
    std::string name = std::string(caption) + ":KaMutex";
    if (!plat::AcquireInstanceLock(name.c_str())) return false;
    Shell.InstanceLockHeld = 1;
    return true;
}

// Makes the program's directory the current one; a failure leaves the current one.
void SetWorkingDirectory() {
    std::error_code ec;
    std::filesystem::current_path(plat::ProgramDirectory(), ec);
}
