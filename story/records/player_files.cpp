// Where the program's files lie (beside it), and where the player's own files, the saves
// and owlsys.ini, live: beside the program, as
// the game always kept them, unless the program's folder cannot be written (an
// installed game); then in $XDG_DATA_HOME/akari/ (by default ~/.local/share/akari/).
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/folders.h"
#include "platform/platform.h"
#include "story/records/records.h"

bool ProgramPath(const char* name, char* out, int size) {
    int n = std::snprintf(out, size_t(size), "%s%s", plat::ProgramDirectory(), name);
    return n >= 0 && n < size;
}

bool PlayerPath(const char* name, char* out, int size) {
    if (plat::ProgramDirectoryWritable()) return ProgramPath(name, out, size);
    std::string dir = DataFolder();
    if (dir.empty()) return false;
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    int n = std::snprintf(out, size_t(size), "%s%s", dir.c_str(), name);
    return n >= 0 && n < size;
}
