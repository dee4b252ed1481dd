// The XDG folders, found in one place, and the program's own folder made current.
#include "base/folders.h"

#include <cstdlib>
#include <filesystem>

#include "platform/platform.h"

// The folder a variable names (taken only when absolute), else the default under $HOME;
// "" when neither leads anywhere. With its trailing '/'.
static std::string XdgFolder(const char* variable, const char* underHome) {
    const char* xdg = std::getenv(variable);
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/akari/";
    const char* home = std::getenv("HOME");
    if (!home || !home[0]) return "";
    return std::string(home) + underHome + "/akari/";
}

std::string ConfigPath(const char* name) {
    std::string folder = XdgFolder("XDG_CONFIG_HOME", "/.config");
    return folder.empty() ? "" : folder + name;
}

std::string DataFolder() { return XdgFolder("XDG_DATA_HOME", "/.local/share"); }

void SetWorkingDirectory() {
    std::error_code ec;
    std::filesystem::current_path(plat::ProgramDirectory(), ec);
}
