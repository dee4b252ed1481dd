// Least working directory and set.ini services that build, so the story engine links and
// its script's save:/load: work within one run. Replaced by the shell's own.
#include <map>
#include <string>

#include "shell/shell.h"

static std::map<std::string, std::string> Settings;

void SetWorkingDirectory() {}

int WriteSetting(const char* section, const char* key, const char* value) {
    Settings[std::string(section) + "/" + key] = value;
    return 1;
}

std::string ReadSetting(const char* section, const char* key) {
    auto it = Settings.find(std::string(section) + "/" + key);
    return it == Settings.end() ? std::string() : it->second.substr(0, 63);
}
