// The story engine's shared state and its start values.
#include "story/story.h"

int CurrentLine;
int StoryState;
bool QuitPromptOpen;
bool SystemMenuOpen;
int ScreenFrame;
int CharacterCell;
bool WaveEffect;
int AnimeFrames, AnimeLoop, AnimeFrame;
int VoiceId;
bool OptionClickIgnored;
bool PanelClickIgnored;
char RequestedMusic[ScriptLineBytes];

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
    CurrentLine = 5;  // the first step executes line 6, where the story begins
    StoryState = ShowingProse;
    QuitPromptOpen = false;
    SystemMenuOpen = false;
    ScreenFrame = 50;  // beyond any picture: blank
    CharacterCell = NoCharacter;
    WaveEffect = true;
    AnimeFrames = AnimeLoop = AnimeFrame = 0;
    VoiceId = -1;  // no clip yet: sound object 0 carries the music
    OptionClickIgnored = false;
    PanelClickIgnored = false;
    RequestedMusic[0] = '\0';

    MessageSpeed = 1.0f;

    for (int& id : InterfacePicture) id = 0;

    MusicOff = 0;

    ResetInterpreter();
    ResetMessageWindow();
    ResetSelfVoicing();
}
