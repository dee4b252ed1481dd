// The error box: the one way the media modules report a failure to the player.
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "shell/shell.h"
#include "sound/kaSound.h"

void Beep() {
    if (!kaSound::PlayBeep()) plat::SystemBeep();
}

// The text is cut to 255 bytes, backing off to a whole UTF-8 character.
int ErrorBox(const char* location, const char* message) {
    char text[256];
    int n = std::snprintf(text, sizeof text, "%s : %s", location, message);
    if (n >= int(sizeof text)) {
        size_t end = sizeof text - 1;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
        text[end] = '\0';
    }
    std::fprintf(stderr, "akari: %s\n", text);
    Beep();
    plat::MessageBox("エラー発生", text);
    return 0;
}
