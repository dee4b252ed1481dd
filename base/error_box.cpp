// The error box, with the beep and the SoundFont's wait lent by the modules above.
#include "base/error_box.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"

// The report's text fits a 256-byte buffer: 255 bytes and the terminating zero.
static constexpr size_t MaxReportBytes = 255;

static bool English = false;

// The modules' messages a reader may meet, and their English.
static const char* const EnglishMessages[][2] = {
    {"BMPファイルを読み込めません", "Cannot read a picture file"},
    {"ファイル名またはリソース名が長すぎます", "A file name is too long"},
    {"オブジェクト数が多過ぎます", "Too many pictures or sounds are loaded"},
    {"ミックス数が多過ぎます", "Too many copies of one sound"},
    {"WAVEリソースが見つかりません", "Cannot find a sound file"},
    {"サウンドバッファが生成できません", "Cannot make room for a sound"},
    {"DirectMusicが使用できません", "The music synthesizer cannot be used"},
    {"MIDIポートが使えません", "The music cannot be played"},
    {"裏画面が生成できません", "Cannot make the picture's back buffer"},
    {"ピクセル情報が取得できません", "Cannot read the screen's pixel format"},
    {"Bufferスプライトが生成できません", "Cannot make the Buffer sprite"},
    {"Screenスプライトが生成できません", "Cannot make the Screen sprite"},
    {"Fontスプライトが生成できません", "Cannot make the Font sprite"},
    {"Fontバッファスプライトが生成できません", "Cannot make the Font buffer sprite"},
};

static const char* InLanguage(const char* message) {
    if (!English || !message) return message;
    for (const auto& pair : EnglishMessages)
        if (std::strcmp(message, pair[0]) == 0) return pair[1];
    return message;
}

void SetErrorBoxEnglish(bool english) { English = english; }

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
    message = InLanguage(message);
    std::string text = std::string(location ? location : "") + " : " + (message ? message : "");
    if (text.size() > MaxReportBytes) {
        size_t end = MaxReportBytes;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
        text.resize(end);
    }
    std::fprintf(stderr, "akari: %s\n", text.c_str());
    Beep();
    plat::MessageBox(English ? "Error" : "エラー発生", text.c_str());
    return 0;
}
