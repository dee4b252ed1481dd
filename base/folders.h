// The program's folders: its own, where the game's files lie, and the player's
// configuration and data folders under the XDG variables.
#pragma once
#include <string>

// name in $XDG_CONFIG_HOME/akari/ (by default ~/.config/akari/): set.ini, window.ini.
// "" when neither variable names a place.
std::string ConfigPath(const char* name);
// $XDG_DATA_HOME/akari/ (by default ~/.local/share/akari/), with its trailing '/': the
// saves and owlsys.ini of an installed game. "" when neither variable names a place.
std::string DataFolder();
// Makes the program's directory the current one; a failure leaves the current one.
// Called once at start-up, before the first file is read.
void SetWorkingDirectory();
