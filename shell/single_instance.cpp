// The single-instance rule, settled at start-up.
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
