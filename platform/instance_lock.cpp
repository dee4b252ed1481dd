// The single-instance lock: an flock on a file in the user's private folder, which the
// kernel drops when the holder exits, and beside it the holder's datagram socket, to
// which a second copy sends one byte to ask for the window to come to the front.
#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int LockFile = -1;
int RaiseSocket = -1;
std::string RaisePath;

// A folder, not a link, of this user's that no one else may enter or change.
bool IsPrivateFolder(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() &&
           (st.st_mode & 077) == 0;
}

bool SocketAddress(const std::string& path, sockaddr_un* addr) {
    std::memset(addr, 0, sizeof *addr);
    addr->sun_family = AF_UNIX;
    if (path.size() >= sizeof addr->sun_path) return false;
    std::memcpy(addr->sun_path, path.c_str(), path.size());
    return true;
}

void AskHolderToRaise(const std::string& path) {
    sockaddr_un addr;
    if (!SocketAddress(path, &addr)) return;
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    char raise = 'r';
    sendto(fd, &raise, 1, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    close(fd);
}

// The holder's socket; one left by a copy that died is replaced. Without it the lock
// still holds, only raise requests go unheard.
void OpenRaiseSocket(const std::string& path) {
    sockaddr_un addr;
    if (!SocketAddress(path, &addr)) return;
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    unlink(path.c_str());
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return;
    }
    RaiseSocket = fd;
    RaisePath = path;
}

int RunUnlocked(const char* why) {
    std::fprintf(stderr, "akari: %s; running without the single-instance lock\n", why);
    return 1;
}

}  // namespace

namespace instancelock {

std::string PrivateFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && IsPrivateFolder(runtime)) return runtime;
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') return "";
    std::string cache = std::string(home) + "/.cache";
    mkdir(cache.c_str(), 0700);  // where it exists already it stays as it is
    std::string folder = cache + "/akari";
    mkdir(folder.c_str(), 0700);
    return IsPrivateFolder(folder) ? folder : "";
}

int Acquire(const char* name) {
    std::string folder = PrivateFolder();
    if (folder.empty())
        return RunUnlocked("neither $XDG_RUNTIME_DIR nor ~/.cache/akari is a private folder");
    std::string base = folder + "/" + name;
    int fd = open((base + ".lock").c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return RunUnlocked("the lock file cannot be opened");
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int err = errno;
        close(fd);
        if (err != EWOULDBLOCK) return RunUnlocked("the lock file cannot be locked");
        AskHolderToRaise(base + ".sock");
        return 0;
    }
    LockFile = fd;
    OpenRaiseSocket(base + ".sock");
    return 1;
}

bool TakeRaiseRequest() {
    if (RaiseSocket < 0) return false;
    char byte;
    bool asked = false;
    while (recv(RaiseSocket, &byte, 1, MSG_DONTWAIT) >= 0) asked = true;
    return asked;
}

// The socket goes first, while the lock still holds, so that it is never taken from
// a new holder; the lock file stays (removing it would let two copies lock two files).
void Release() {
    if (RaiseSocket >= 0) {
        unlink(RaisePath.c_str());
        close(RaiseSocket);
        RaiseSocket = -1;
    }
    if (LockFile >= 0) {
        close(LockFile);
        LockFile = -1;
    }
}

}  // namespace instancelock
