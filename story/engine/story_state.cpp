// The story engine's shared state and its start values.
#include "story/engine/engine.h"

bool QuitPromptOpen;
bool SystemMenuOpen;
int VoiceId;
bool OptionClickIgnored;
bool PanelClickIgnored;

float MessageSpeed;

int InterfacePicture[InterfacePictureCount];

int MusicOff;

static int GameMode = -1;
static int CursorVisible = 0;

void SetGameMode(int mode) { GameMode = mode; }
int GetGameMode() { return GameMode; }
void SetCursorVisible(int visible) { CursorVisible = visible; }
int GetCursorVisible() { return CursorVisible; }

void ResetEngineState() {
    QuitPromptOpen = false;
    SystemMenuOpen = false;
    VoiceId = -1;  // no clip yet: sound object 0 carries the music
    OptionClickIgnored = false;
    PanelClickIgnored = false;

    MessageSpeed = 1.0f;

    for (int& id : InterfacePicture) id = 0;

    MusicOff = 0;

    ResetInterpreter();
    ResetMessageWindow();
    ResetSelfVoicing();
}
