// The story engine's shared state and its start values.
#include <cstring>

#include "story/story.h"

int CurrentLine;
int StoryState;
int QuitPromptOpen;
int SystemMenuOpen;
int32_t FlagTable[FlagCount];
int BackgroundId;
int ScreenFrame;
int CharacterCell;
int WaveEffect;
int AnimeFrames, AnimeFramesSaved, AnimeLoop, AnimeSpeed, AnimeFrame, AnimeColumn;
int AnimeBackward;
float AnimeClock;
int VoiceId;
int OptionClickIgnored;
char RequestedMusic[ScriptLineBytes];

int LaidOutLine;
int LaidOutSize;
int ReplacedLine;
int RevealCount;
float RevealClock;
float MessageSpeed;

int InterfacePicture[InterfacePictureCount];
int LogoLevel, LogoRising;
float LogoClock;
int KeyPollState;

int MenuNotice;
int MusicOff;
int SaveReserved[5];

void ResetStoryState() {
    CurrentLine = 5;  // the first step executes line 6, where the story begins
    StoryState = ShowingProse;
    QuitPromptOpen = 0;
    SystemMenuOpen = 0;
    std::memset(FlagTable, 0, sizeof FlagTable);
    BackgroundId = 0;
    ScreenFrame = 50;  // beyond any picture: blank
    CharacterCell = NoCharacter;
    WaveEffect = 1;
    AnimeFrames = AnimeFramesSaved = AnimeLoop = AnimeFrame = AnimeColumn = AnimeBackward = 0;
    AnimeSpeed = 40;
    AnimeClock = 0.0f;
    VoiceId = -1;  // no clip yet: sound object 0 carries the music
    OptionClickIgnored = 0;
    RequestedMusic[0] = '\0';

    LaidOutLine = 0;
    LaidOutSize = 28;
    ReplacedLine = -1;
    RevealCount = 0;
    RevealClock = 0.0f;
    MessageSpeed = 1.0f;

    for (int& id : InterfacePicture) id = 0;
    LogoLevel = 6;
    LogoRising = 0;
    LogoClock = 3.0f;  // the first logo step comes at once
    KeyPollState = 0;

    ClearBacklog();
    ResetAutoMode();
    ResetGameStart();

    MenuNotice = MenuPlain;
    MusicOff = 0;
    const int reserved[5] = {1, 40, 1, 1, 1};
    std::memcpy(SaveReserved, reserved, sizeof SaveReserved);
}

// The program starts from the same values ResetStoryState gives.
static const bool StartValuesSet = (ResetStoryState(), true);
