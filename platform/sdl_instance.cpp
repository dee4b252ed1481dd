// SDL2 backend: the per-user single-instance lock, an abstract Unix datagram socket.
// The kernel frees the name when the holder exits, however it exits, so no stale lock
// survives a crash; a second copy sends one datagram to the name to ask the holder to
// raise its window.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "platform/sdl_internal.h"

namespace {

int LockSocket = -1;

// The abstract address "\0<name>:<uid>"; false when the name does not fit.
bool LockAddress(const char* name, sockaddr_un* addr, socklen_t* len) {
    std::memset(addr, 0, sizeof *addr);
    addr->sun_family = AF_UNIX;
    int n = std::snprintf(addr->sun_path + 1, sizeof addr->sun_path - 1, "%s:%u", name,
                          unsigned(getuid()));
    if (n < 0 || size_t(n) >= sizeof addr->sun_path - 1) return false;
    *len = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(n));
    return true;
}

}  // namespace

namespace sdlplat {

bool TakeRaiseRequest() {
    if (LockSocket < 0) return false;
    char byte;
    bool asked = false;
    while (recv(LockSocket, &byte, 1, MSG_DONTWAIT) >= 0) asked = true;
    return asked;
}

}  // namespace sdlplat

namespace plat {

int AcquireInstanceLock(const char* name) {
    if (LockSocket >= 0) return 1;
    sockaddr_un addr;
    socklen_t len;
    // A name too long for an address cannot be locked; run rather than refuse to start.
    if (!LockAddress(name, &addr, &len)) return 1;
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return 1;
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), len) == 0) {
        LockSocket = fd;
        return 1;
    }
    int err = errno;
    if (err == EADDRINUSE) {
        char raise = 'r';
        sendto(fd, &raise, 1, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&addr), len);
    }
    close(fd);
    return err == EADDRINUSE ? 0 : 1;
}

void ReleaseInstanceLock() {
    if (LockSocket < 0) return;
    close(LockSocket);
    LockSocket = -1;
}

}  // namespace plat
