// owlsys.ini: the message speed and whether the music is off, as the menu last set them.
#include <cstdio>

#include "story/saves/saves.h"

void ReadSystemSettings() {
    char path[PathBytes];
    char token[16] = {};
    if (!PlayerPath("owlsys.ini", path, sizeof path)) return;
    ReadFirstToken(path, token, sizeof token);
    if (!token[0]) return;
    // A hand-edited level is held to the menu's 0 to 5.
    int speed = ReadNumberIn(token, sizeof token, 0);
    MessageSpeed = float(speed < 0 ? 0 : speed > 5 ? 5 : speed);
    MusicOff = ReadNumberIn(token, sizeof token, 2);
}

bool WriteSystemSettings(int speed, int musicOff) {
    char path[PathBytes], line[32];
    if (!PlayerPath("owlsys.ini", path, sizeof path)) return false;
    std::snprintf(line, sizeof line, "%i,%i,", speed, musicOff);
    return WriteTextFile(path, line);
}
