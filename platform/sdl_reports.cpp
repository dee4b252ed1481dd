// SDL2 backend: the modal message box, the system bell and the program's directory.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/sdl_internal.h"

namespace plat {

// When no box can be shown (no display) the text stays only on standard error, where
// the error report has already written it.
// The children of the thread that shows a box, for the signal handler below.
static char BoxChildrenPath[64];

// SDL draws the box in a child process it forks and waits for. A signal that ends the
// program while the box is open ends that child too, so no box outlives the game; then
// the signal's default action ends the program. Only async-signal-safe calls here.
static void EndWithTheBox(int sig) {
    int fd = open(BoxChildrenPath, O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        char list[256];
        ssize_t got = read(fd, list, sizeof list);
        close(fd);
        pid_t child = 0;
        for (ssize_t i = 0; i <= got; ++i) {
            if (i < got && list[i] >= '0' && list[i] <= '9') {
                child = child * 10 + (list[i] - '0');
            } else {
                if (child > 0) kill(child, SIGKILL);
                child = 0;
            }
        }
    }
    signal(sig, SIG_DFL);
    raise(sig);
}

// While the box is open the loop that answers SDL's quit event waits on it, so SIGTERM
// and SIGINT end the program at once (nothing is being written while a box is open)
// instead of waiting for the box's button.
void SetClipboardText(const char* textUtf8) { SDL_SetClipboardText(textUtf8 ? textUtf8 : ""); }

void MessageBox(const char* captionUtf8, const char* textUtf8) {
    std::snprintf(BoxChildrenPath, sizeof BoxChildrenPath, "/proc/self/task/%ld/children",
                  long(syscall(SYS_gettid)));
    struct sigaction ending = {}, term, interrupt;
    ending.sa_handler = EndWithTheBox;
    sigemptyset(&ending.sa_mask);
    sigaction(SIGTERM, &ending, &term);
    sigaction(SIGINT, &ending, &interrupt);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, captionUtf8, textUtf8, sdlplat::Window);
    sigaction(SIGTERM, &term, nullptr);
    sigaction(SIGINT, &interrupt, nullptr);
}

// SDL has no bell: ring the X server's, or the terminal's when there is no X window.
void SystemBeep() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (sdlplat::Window && SDL_GetWindowWMInfo(sdlplat::Window, &info) &&
        info.subsystem == SDL_SYSWM_X11) {
        XBell(info.info.x11.display, 0);
        XFlush(info.info.x11.display);
        return;
    }
    if (isatty(STDERR_FILENO)) (void)!write(STDERR_FILENO, "\a", 1);
}

const char* ProgramDirectory() {
    static std::string dir;
    if (!dir.empty()) return dir.c_str();
    // SDL reads /proc/self/exe; without /proc the current directory is all we have.
    if (char* base = SDL_GetBasePath()) {
        dir = base;
        SDL_free(base);
    }
    if (dir.empty()) dir = "./";
    if (dir.back() != '/') dir += '/';
    return dir.c_str();
}

// A read-only mount says so here even to root, whom file modes do not stop.
bool ProgramDirectoryWritable() { return access(ProgramDirectory(), W_OK) == 0; }

}  // namespace plat
