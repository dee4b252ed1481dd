// The error box: the one way the media modules report a failure to the player.
#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "shell/shell.h"
#include "sound/kaMusic.h"
#include "sound/kaSound.h"

// The report's text fits a 256-byte buffer: 255 bytes and the terminating zero.
static constexpr size_t MaxReportBytes = 255;

void Beep() {
    if (!kaSound::PlayBeep()) plat::SystemBeep();
}

// The text is cut to 255 bytes, backing off to the start of a character that would be
// split, so the box never shows half a UTF-8 sequence. A SoundFont still being read is
// waited for first, so that its failure, which came earlier, is reported earlier.
int ErrorBox(const char* location, const char* message) {
    kaMusic::AwaitSoundFont();
    std::string text = std::string(location ? location : "") + " : " + (message ? message : "");
    if (text.size() > MaxReportBytes) {
        size_t end = MaxReportBytes;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
        text.resize(end);
    }
    std::fprintf(stderr, "akari: %s\n", text.c_str());
    Beep();
    plat::MessageBox("エラー発生", text.c_str());
    return 0;
}
