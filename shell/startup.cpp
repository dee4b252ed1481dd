// The single-instance rule, settled at start-up.
#include <string>

#include "platform/platform.h"
#include "shell/shell.h"

// 1 when this is the only copy; 0 when another runs (it has been asked to come to the
// front). The lock is per user and named by the caption followed by ":KaMutex".
int CheckSingleInstance(const char* caption) {
    std::string name = std::string(caption) + ":KaMutex";
    if (!plat::AcquireInstanceLock(name.c_str())) return 0;
    Shell.InstanceLockHeld = 1;
    return 1;
}
