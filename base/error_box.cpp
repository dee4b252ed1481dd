// The error box, with the beep and the SoundFont's wait lent by the modules above.
#include "base/error_box.h"

#include <cstdio>
#include <string>

#include "platform/platform.h"

// The report's text fits a 256-byte buffer: 255 bytes and the terminating zero.
static constexpr size_t MaxReportBytes = 255;

static bool (*PlayBeep)() = nullptr;
static void (*AwaitSoundFont)() = nullptr;

void SetBeepHook(bool (*playBeep)()) { PlayBeep = playBeep; }
void SetSoundFontWaitHook(void (*awaitSoundFont)()) { AwaitSoundFont = awaitSoundFont; }

void Beep() {
    if (!PlayBeep || !PlayBeep()) plat::SystemBeep();
}

// The text is cut backing off to the start of a character that would be split, so the
// box never shows half a UTF-8 sequence.
int ErrorBox(const char* location, const char* message) {
    if (AwaitSoundFont) AwaitSoundFont();
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
