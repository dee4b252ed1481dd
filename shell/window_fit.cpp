// The picture in a window of any size: where it lies, pointer positions mapped between
// window and client pixels, full screen, and the window's size kept between runs.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/folders.h"
#include "base/key_values.h"
#include "base/screen_layout.h"
#include "platform/platform.h"
#include "shell/shell.h"
#include "story/story.h"

// Sizes outside these are not taken from the file: a window no one could use.
static constexpr int SmallestWindow = 64, LargestWindow = 16384;
// Far above the three lines the program writes; a larger file is not read.
static constexpr size_t WindowFileBytes = 4096;

void PictureInWindow(int* x, int* y, int* w, int* h) {
    int width = Shell.WindowWidth > 0 ? Shell.WindowWidth : layout::ClientWidth;
    int height = Shell.WindowHeight > 0 ? Shell.WindowHeight : layout::ClientHeight;
    plat::FitPicture(width, height, layout::ClientWidth, layout::ClientHeight, x, y, w, h);
}

bool WindowToClient(int windowX, int windowY, int* clientX, int* clientY) {
    int x, y, w, h;
    PictureInWindow(&x, &y, &w, &h);
    if (windowX < x || windowY < y || windowX >= x + w || windowY >= y + h) return false;
    *clientX = int(int64_t(windowX - x) * layout::ClientWidth / w);
    *clientY = int(int64_t(windowY - y) * layout::ClientHeight / h);
    return true;
}

// The first window pixel of the client pixel's scaled square, which maps back to it at
// any scale of 1 or more.
void ClientToWindow(int clientX, int clientY, int* windowX, int* windowY) {
    int x, y, w, h;
    PictureInWindow(&x, &y, &w, &h);
    *windowX = x + int((int64_t(clientX) * w + layout::ClientWidth - 1) / layout::ClientWidth);
    *windowY = y + int((int64_t(clientY) * h + layout::ClientHeight - 1) / layout::ClientHeight);
}

void ToggleFullScreen() {
    Shell.FullScreen = !Shell.FullScreen;
    InputState.FullScreenShown = Shell.FullScreen;
    plat::SetFullScreen(Shell.FullScreen != 0);
}

void ReadWindowFile(int* width, int* height, int* fullScreen) {
    *width = layout::ClientWidth;
    *height = layout::ClientHeight;
    *fullScreen = 0;
    // Read like every other file: a FIFO or a device in its place is refused at once.
    std::vector<KeyValueLine> lines;
    ReadKeyValueFile(ConfigPath("window.ini"), WindowFileBytes, &lines);
    int w = 0, h = 0, full = 0;
    for (const KeyValueLine& line : lines) {
        if (line.kind != KeyValueLine::Pair) continue;
        if (line.name == "width") WholeNumber(line.value, &w);
        if (line.name == "height") WholeNumber(line.value, &h);
        if (line.name == "fullscreen") WholeNumber(line.value, &full);
    }
    if (w >= SmallestWindow && h >= SmallestWindow && w <= LargestWindow && h <= LargestWindow) {
        *width = w;
        *height = h;
    }
    *fullScreen = full == 1;
}

bool WriteWindowFile(int width, int height, int fullScreen) {
    std::string path = ConfigPath("window.ini");
    if (path.empty()) return false;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    char text[96];
    std::snprintf(text, sizeof text, "width=%d\nheight=%d\nfullscreen=%d\n", width, height,
                  fullScreen ? 1 : 0);
    return ReplaceFile(path.c_str(), text);
}
