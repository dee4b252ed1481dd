// The language in force: the engine's texts and the script's lines in Japanese or in
// English, and the switch between them while the game runs.
#include "draw/kaDraw.h"
#include "story/engine/engine.h"

const char* EngineText(EngineTextId id) { return EngineTextIn(id, EnglishInForce()); }

uint32_t ReaderTextFlags() { return EnglishInForce() ? kaDraw::TextWrapWords : 0; }

void SwitchLanguage(bool english) {
    if (english == Preferences.English) return;
    SetLanguage(english);
    SavePreferences();
    // The line shown is laid out again in the other language, whole.
    ForgetLayout();
    CoverStoryLine();
}
