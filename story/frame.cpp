// The game modes: start-up, the per-frame dispatch with the Ctrl/Return keys, the
// opening logo, the notice and the title.
#include <ctime>

#include "base/folders.h"
#include "base/frame.h"
#include "base/random.h"
#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "story/frame.h"


static bool Started = false;

bool GameStarted() { return Started; }
void ResetGameStart() {
    SetGameMode(ModeLogo);
    SetCursorVisible(0);
    Started = false;
}

static const char* const InterfacePictureName[InterfacePictureCount] = {
    "across.sad", "savaback.sad", "panel.sad", "expr.sad", "back.sad",
    "message.sad", "cursol.sad", "comwin.sad", "tit.sad"};

// The logo's jitter level and direction, and the time gathered toward its next step
// (eight steps a second).
static int LogoLevel;
static bool LogoRising;
static float LogoClock;
// The mode the current frame began in: a frame that changes it draws the new mode's
// picture only in the next frame (the notice gives way to the title that way).
static int ModeAtFrameStart;
// Whether StartGame left the interface pictures other than the logo's to be loaded.
static bool InterfaceHeld;

void ResetStoryState() {
    ResetEngineState();
    ResetGameModes();
    ResetSystemMenu();
    ResetSaveLine();
    ClearBacklog();
    ResetAutoMode();
    ResetQuickSlot();
    ResetStoryFramePreview();
    ResetSkipMode();
    ResetReadMarks();
    ResetPreferences();
    ResetPreferencesScreen();
    ResetKeyboardFocus();
}

void ResetGameModes() {
    LogoLevel = 6;
    LogoRising = false;
    LogoClock = 3.0f;  // the first logo step comes at once
    ModeAtFrameStart = ModeLogo;
    InterfaceHeld = false;
}

void StartGame() {
    OpenMedia(layout::BackBufferWidth, layout::BackBufferHeight, 1);
    SetWorkingDirectory();
    RemoveLeftoverTemporaries();
    InterfacePicture[PicAcross] = LoadPicture(InterfacePictureName[PicAcross]);
    InterfaceHeld = true;
    ReadSystemSettings();
    LoadReadMarks();
    LoadPreferences();
    ApplyVolumes();
    SeedRandom(uint32_t(std::time(nullptr)));
    Started = true;
}

// The jitter falls from 6 to 1, then rises from 1 (drawn twice, as the turn takes a
// step of its own) to 19: 25 steps, at most one every eighth of a second.
static void LogoFrame() {
    SetCursorVisible(0);
    LogoClock += FrameSeconds * 8.0f;
    if (LogoClock <= 1.0f) return;
    kaDraw::ClearBackBuffer();
    const layout::Placement& logo = layout::Logo;
    kaDraw::BltJitter(logo.x, logo.y, LogoLevel, InterfacePicture[PicAcross], 0, 0, logo.width, logo.height);
    LogoClock = 0.0f;
    if (!LogoRising && --LogoLevel == 0) {
        LogoRising = true;
        LogoLevel = 1;
    } else if (LogoRising && ++LogoLevel == 20) {
        kaDraw::ReleaseObject(InterfacePicture[PicAcross]);
        // Its id goes to the next picture loaded; a logo shown again (end:-1) must not
        // draw or release that picture.
        InterfacePicture[PicAcross] = 0;
        LogoClock = 3.0f;
        LogoLevel = 6;
        LogoRising = false;
        SetGameMode(ModeNotice);
        TakeClick();  // the notice that follows in this frame sees none
    }
}

static void NoticeFrame() {
    SetCursorVisible(1);
    if (FrameInput().LeftClick) {
        TakeClick();
        SetGameMode(ModeTitle);
        return;
    }
    kaDraw::ClearBackBuffer();
    BltOpaqueAt(layout::Notice, InterfacePicture[PicExpr]);
}

// The click that leaves the title stays set: the story's first step is in this frame.
// Only a press leaves it: a reader skipping through an ending with Ctrl held stops here.
// A press on one of the title's entries is theirs: つづきから leaves for the story at the
// save, which the story then draws; 設定 asks for the preferences, opened over the title
// once it is drawn (true then).
static bool TitleFrame() {
    SetCursorVisible(1);
    bool press = FrameInput().LeftClick && ClickPressed();
    TitleEntry entry = press ? TitleEntryPressed() : TitleNoEntry;
    if (press && entry == TitleNoEntry) {
        SetGameMode(ModeStory);
        return false;
    }
    if (GetGameMode() != ModeTitle) return false;
    kaDraw::ClearBackBuffer();
    BltOpaqueAt(layout::Title, InterfacePicture[PicTit]);
    DrawTitleEntries();
    return entry == TitleOpensPreferences;
}

// What needs no input to change the picture: the logo's steps, a held Ctrl or Return
// (polled every frame), a mode changed in the last frame, a quick save's notice fading,
// and in the story (the backlog shut) a menu about to open, the wave effect, a running
// animation, a loop mode 3 or 5 animation waiting for its chance of a restart, a line
// still coming out in the message window, auto mode counting towards its next step (its
// pause is counted in frames), or skip mode running.
// A choice or the quit prompt draws its text whole: no reveal moves under it.
bool PictureMovesByItself() {
    int mode = GetGameMode();
    if (ClickKeysBusy() || mode != ModeAtFrameStart || mode == ModeLogo ||
        QuickNoticeShowing())
        return true;
    const Screen s = CurrentScreen();
    // The menu opened in this frame, the story's mode still running, asks for the next.
    if (s == Screen::Menu || s == Screen::MenuNotice) return mode == ModeStory;
    if (s != Screen::Story && s != Screen::Choice && s != Screen::QuitPrompt) return false;
    bool lineComingOut = MessageWindowShowsLine() && MessageSpeed != 0.0f &&
                         !LineWhollyOut();
    return CurrentScene().waveEffect || CurrentScene().animeFrames != 0 || CurrentScene().animeLoop == 3 ||
           CurrentScene().animeLoop == 5 || lineComingOut || AutoModeSecondsToStep() >= 0.0f ||
           SkipModeRuns();
}
// The pointer sprite and the present. While the real pointer is away from the window the
// sprite is not drawn: it would stand where the pointer last was, or at the top-left
// before it first came.
static void FinishFrame() {
    if (GetCursorVisible() == 1) {
        const InputFields& in = FrameInput();
        bool drawn = !in.PointerAway;
        if (GetGameMode() == ModeStory) KeepUnderPointer(drawn ? in.MouseX : -1, drawn ? in.MouseY : -1);
        if (drawn)
            kaDraw::BltTransparent(in.MouseX, in.MouseY, InterfacePicture[PicCursol], 0, 0,
                                   layout::PointerSize, layout::PointerSize);
    }
    kaDraw::PresentBackBuffer();
    SelfVoicingAfterFrame();
}

// A frame of a page over the story or the title: F5 and F9 are seen (F5 says that
// nothing can be saved), and their notice drawn over the page.
static void FinishPageFrame() {
    QuickSlotKeys();
    DrawQuickNotice();
    FinishFrame();
}

// The logo's first frame needs only its own picture, and decoding the others (three
// megabytes) would hold it up: they are loaded in the frame after it, or before the
// first frame of any other screen. The logo's clock is past a step only before its first.
static void LoadInterfacePictures() {
    if (!InterfaceHeld || (GetGameMode() == ModeLogo && LogoClock > 1.0f)) return;
    InterfaceHeld = false;
    for (int i = PicAcross + 1; i < InterfacePictureCount; ++i)
        InterfacePicture[i] = LoadPicture(InterfacePictureName[i]);
}

// The frame's input is offered to what is open, the pages over the story first: a page
// takes all of it while it stays open; then the menu, and the story (or the opening and
// the title) under it. A page that closes in this frame leaves the story to run on.
void FrameUpdate() {
    LoadInterfacePictures();
    ModeAtFrameStart = GetGameMode();
    BeginFrameInput();
    // V switches self-voicing on any screen: a listener cannot see which one shows.
    if (FrameInput().VoicingKey) ToggleSelfVoicing();
    MoveWordFocus();
    bool focusPress = KeyboardFocusFrame();
    if (BacklogOpen) {
        int backlog = BacklogFrame(focusPress);
        if (backlog == BacklogStays) return FinishPageFrame();
        // The story goes on from the moment it was left; a story gone back to a line goes
        // on with this frame's time, as the step that showed the line did.
        if (backlog == BacklogClosed) FrameSeconds = 0.0f;
        // Auto mode and skipping stop where the reader went back.
        if (backlog == BacklogWentBack) {
            ResetAutoMode();
            ResetSkipMode();
        }
    }
    if (PreferencesOpen) {
        if (PreferencesFrame(focusPress)) return FinishPageFrame();
        FrameSeconds = 0.0f;
    }
    bool autoStep = AutoModeSteps();
    bool skipStep = SkipModeSteps();
    MapKeysToClick();
    // A click that comes only from held Ctrl, which skips through the story, picks no option.
    OptionClickIgnored = FrameInput().LeftClick && !ClickPressed();
    QuickSlotKeys();
    if (SystemMenuOpen || (GetGameMode() == ModeStory && FrameInput().RightClick)) {
        if (!SystemMenuOpen) KeepStoryFrame();
        SystemMenuOpen = true;
        SetGameMode(ModeSystemMenu);
        SystemMenu();
    }
    bool titleAsksPreferences = false;
    if (GetGameMode() == ModeLogo) LogoFrame();
    if (GetGameMode() == ModeTitle) titleAsksPreferences = TitleFrame();
    if (GetGameMode() == ModeNotice) NoticeFrame();
    if (GetGameMode() == ModeStory) {
        // Skip mode's step is no press of the reader's: the line it passes is not marked
        // read by it.
        StoryFrame(skipStep ? StepBySkip : autoStep ? StepByAuto : StepOnClick, SkipModeRuns());
        if (const ShownLine* shown = LineShownThisFrame()) {
            RecordShownLine(*shown);
            if (Preferences.CopyLines) CopyLine(shown->line);
        }
        if (FrameInput().CopyKey && MessageWindowShowsLine()) CopyLine(CurrentScene().line);
        if (skipStep) SkipModeAfterStep();
    }
    AutoModeAfterFrame();
    SkipModeAfterFrame();
    // A word the reader points at or focuses shows its box; else T shows the line's English.
    if (GetGameMode() == ModeStory && !DrawWordBox()) DrawHeldTranslation();
    DrawQuickNotice();
    if (GetGameMode() == ModeStory && (FrameInput().WheelSteps > 0 || FrameInput().PageUpKey))
        OpenBacklog();
    if ((FrameInput().PreferencesKey || titleAsksPreferences) && PreferencesMayOpen()) OpenPreferences();
    FinishFrame();
}

// In the story, its menu or a page over it, and at the end the menu's quit or the quit
// prompt makes, the reader is somewhere; at the logo, the notice, the title, or once the
// script itself has ended the run, nowhere to come back to.
bool WriteResumePoint() {
    static StorySnapshot now;
    int mode = GetGameMode();
    const StorySnapshot* place = nullptr;
    if (mode == ModeStory || mode == ModeSystemMenu || (mode == ModeEnd && SystemMenuOpen)) {
        if (mode == ModeStory && !BacklogOpen && !PreferencesOpen) KeepStoryFrame();
        TakeStorySnapshot(&now);
        place = &now;
    } else if (mode == ModeEnd) {
        place = PlaceLeftByQuitPrompt();
    }
    return place && WriteResumeFile(*place);
}

bool GameEnded() { return GetGameMode() == ModeEnd; }

int LogoLevelForTest() { return LogoLevel; }
void MarkGameStartedForTest() { Started = true; }
