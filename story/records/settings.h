// set.ini, kept at $XDG_CONFIG_HOME/akari/set.ini (by default ~/.config/akari/set.ini):
// the profile file through which the script's save: and load: commands keep a label
// between runs.
#pragma once
#include <string>

// The file's path; "" when neither variable leads to a folder.
std::string SettingsPath();
// The value of key in section (names compared without regard to ASCII case), at most 63
// characters; "" when the file, the section or the key is missing or cannot be read.
std::string ReadSetting(const char* section, const char* key);
// Sets key in section (both added when missing) and replaces the file atomically, every
// other line kept. True on success; false when a name or the value holds a character
// that would break a line ("\r\n" anywhere, "]" in a section, "=[" in a key), a name is
// empty, there is no folder, a file there cannot be read, or the write failed (the old
// file is kept).
bool WriteSetting(const char* section, const char* key, const char* value);
