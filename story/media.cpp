// The media modules started in their fixed order and released in the shutdown's.
#include "draw/kaDraw.h"
#include "sound/kaMusic.h"
#include "sound/kaSound.h"
#include "story/frame.h"

// Each module reports its own failure in an error box; a display that could not be
// made starts nothing else.
int OpenMedia(int width, int height, int mode) {
    if (!kaDraw::Screen(width, height, mode)) return 0;
    kaSound::Init();
    kaSound::ResetTable();
    kaMusic::Init();
    kaDraw::InitText();
    return 1;
}

void CloseMedia() {
    kaMusic::CloseMusic();
    kaDraw::FreeText();
    kaSound::Release();
    kaDraw::CloseScreen();
}
