// The story engine: the interpreter and the scene it owns, the message window, the frame's
// input, the engine's texts and the narration of lines, and the state these share.
#pragma once
#include <cstdint>
#include <string>

#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "story/engine/input.h"
#include "story/records/records.h"

// The state the engine's parts share is declared with each part (defined in its file, or
// in story_state.cpp when several parts set it); what one part alone uses is static in
// that part's file.

// ---- Interpreter (interpreter.cpp) ------------------------------------------------

enum { ShowingProse = 0, ShowingOverWindow = 1, ChoiceOpen = 2 };
constexpr int FlagCount = 1000;   // indices 000 to 999, as the script syntax allows
constexpr int NoCharacter = 99;   // the character cell that draws none

extern bool QuitPromptOpen;
extern bool SystemMenuOpen;  // the system menu runs from the next frame
extern int VoiceId;          // sound object of the last voice clip, -1 before the first
// The left-click flag takes no option in this frame: the frame a choice or the quit
// prompt opens, the frame the system menu or its notice closes, and a frame whose click
// comes only from held Ctrl. Cleared when the story frame ends.
extern bool OptionClickIgnored;
// The left-click flag presses no panel button in this frame: the frame the system menu
// or its notice closes. Cleared when the story frame ends.
extern bool PanelClickIgnored;

// The state the engine's parts share (story_state.cpp), then the interpreter's, the
// message window's and self-voicing's, back to their start values; called by
// ResetStoryState.
void ResetEngineState();
// The interpreter's own state (flags, the story picture, the animation's clock and
// direction) back to its start values; called by ResetEngineState.
void ResetInterpreter();
// What steps the story in a frame: the frame's click, or auto or skip mode. A step of
// auto or skip mode sees no pointer, so that it presses no panel button and takes no
// choice row; skip mode's is no press of the reader's (its line is not marked read).
enum StepCause { StepOnClick, StepByAuto, StepBySkip };
// GameMode 3: one step of the script when asked, then the whole story screen. While
// skipping runs, a step leaves its own phrase (skip_on) speaking.
void StoryFrame(StepCause cause = StepOnClick, bool skipping = false);
// The message window shows the story's line, not a choice's or the quit prompt's.
bool MessageWindowShowsLine();
// The options a click may take: the quit prompt's two while it is open, else those of
// the story choice that is open (at most layout::ChoiceRowsMost), else 0.
int OpenChoiceOptions();
// The pointer lies strictly inside the hit area (every edge exclusive).
bool PointerIn(const layout::Rect& r);
// A picture drawn whole at its place: over what is there, or leaving out its key colour.
void BltOpaqueAt(const layout::Placement& p, int id);
void BltTransparentAt(const layout::Placement& p, int id);
// A text block laid out in the area and copied to the back buffer at once, in the font
// and colours selected; its layout (the module's shared one) to measure.
const kaDraw::TextLayout& DrawTextArea(const layout::TextArea& a, const char* text);
// Called by the system menu, which covers the story's line: it comes back whole.
void CoverStoryLine();
// Called after a load has put the story at a saved line: every voice of the story
// stopped (none is played again), and the story as the reader saw it at the save: a
// choice that was open opens again, a command line runs on as a step would. The line is
// shown whole when the story shows again, or (whole false) comes out again.
void EnterLoadedLine(bool whole);
// Called when the story has gone back to a passed line, its state put back: every voice
// of the story stopped, the clip of voiceLine (the line's wave_play:, -1 for none)
// played again as the story's voice, which the next step stops, and the picture of the
// next step read ahead, as the step that showed the line did.
void ResumePassedLine(int voiceLine);

// ---- The scene (interpreter.cpp) -----------------------------------------------------

// The story's scene: its line and everything the script set that the line alone does
// not give back. The interpreter owns the live one; a save keeps a copy beside its slot,
// the backlog one with each line shown, the resume point one at the way out.
struct StorySnapshot {
    int32_t line;                      // the line shown or being executed
    int32_t flags[FlagCount];
    char picture[ScriptLineBytes];     // the last file: line's picture; empty before one
    int32_t storyState;                // ShowingProse, ShowingOverWindow (swin:) or ChoiceOpen
    int32_t screenFrame, characterCell;
    bool waveEffect;
    float wavePhase;                   // degrees
    int32_t animeFrames, animeFrame, animeLoop, animeFramesSaved, animeSpeed, animeColumn;
    bool animeBackward;
    float animeClock;
    int32_t textSize;                  // the shown line's letters
    char music[ScriptLineBytes];       // the piece midi_play: asked for in this run; empty
                                       // after midi_stop: (what music switched on plays)
    bool musicLoops;
    uint64_t random;                   // the random generator's state
};
// The live scene, to read; its wave phase and random state are those of its last copy.
const StorySnapshot& CurrentScene();
// A copy of the live scene, with the wave effect's phase and the generator's state.
void TakeStorySnapshot(StorySnapshot* out);
// A prose line a step stopped at: the line, its font size, the wave_play: line of the
// same step (-1 for none) and the scene as it was shown.
struct ShownLine {
    int line, size, voiceLine;
    StorySnapshot scene;
};
// The line the last story frame's step showed; null when it showed none.
const ShownLine* LineShownThisFrame();
// Puts the story where the snapshot stood (its picture loaded, its music started) but
// makes no step and leaves the message window's layout alone.
void RestoreStorySnapshot(const StorySnapshot& s);
// The story at a saved line, no choice or prompt open: with the scene kept beside the
// save, or (none) the animation, the character and the band cleared and the rest as it was.
void EnterSavedLine(int line, const StorySnapshot* kept);
// The place the reader left the story from by the quit prompt's way out, kept by the
// interpreter as the story steps on to its end; null when the prompt led nowhere out.
const StorySnapshot* PlaceLeftByQuitPrompt();

// ---- Message window (message_window.cpp) ------------------------------------------

extern int LaidOutLine;       // the line the window's layout holds; -1 when none
extern int RevealCount;       // characters released so far; a new layout restarts it
extern float RevealClock;     // seconds gathered toward the next character
extern float MessageSpeed;    // level 0 to 5; a character every MessageSpeed x 0.01 s

// The window's own state back to its start values; called by ResetEngineState.
void ResetMessageWindow();
// Lays the line out into the window's own layout unless it holds it already; whole
// releases every character at once (a line coming back from under a choice, the quit
// prompt or the menu).
void ShowLine(int line, int offset, int size, bool whole);
// Called by a load and by going back: the line shown is laid out afresh.
void ForgetLayout();
// Copies the released characters to the back buffer; true once the whole block is out.
bool RevealText(float delay);
// Every character of the line laid out is released.
bool LineWhollyOut();
// The window's layout: its rectangles and how far they go.
const kaDraw::TextLayout& MessageLayout();

// ---- Game modes and interface pictures (story_state.cpp, interpreter.cpp) -------------

enum {
    ModeLogo = -1, ModeNotice = 0, ModeTitle = 2, ModeStory = 3, ModeSystemMenu = 50,
    ModeEnd = 99
};
// The interface pictures, in the order StartGame loads them.
enum {
    PicAcross, PicSavaback, PicPanel, PicExpr, PicBack, PicMessage, PicCursol, PicComwin,
    PicTit, InterfacePictureCount
};
// The mode the next frame runs (a Mode value), and whether the story's own pointer
// sprite is drawn over the picture (1) or not (0).
void SetGameMode(int mode);
int GetGameMode();
void SetCursorVisible(int visible);
int GetCursorVisible();
extern int InterfacePicture[InterfacePictureCount];  // ObjectIds
extern int MusicOff;  // owlsys.ini's music switch: 1 plays no music

// Loads a picture asset of the program's directory, keyed by its top-left pixel: its
// blanked signature is put back for the load and blanked again after. 0 on failure.
int LoadPicture(const char* name);

// ---- Self-voicing (self_voicing.cpp) ------------------------------------------------

// The screens whose items are spoken as the pointer reaches them.
enum ReachScreen {
    ReachChoice, ReachQuitPrompt, ReachPanel, ReachMenu, ReachBacklog, ReachPreferences,
    ReachTitle
};
// Nothing spoken, nothing reached (ResetEngineState).
void ResetSelfVoicing();
// The mode, as the preferences keep it.
bool SelfVoicingOn();
// Called for the V key and the preferences' switch: flips the mode, keeps it in
// preferences.ini and says voicing_on or voicing_off (the latter too, as it goes off).
void ToggleSelfVoicing();
// With the mode on: the phrase of data/phrases.txt by its id, or the narration of a
// script text (a prose or prompt line whole, an option from its byte 5), in place of
// whatever speaks on the voice channel. A missing clip is silence. Nothing when off.
void SpeakPhrase(const char* id);
void SpeakLineClip(const char* text);
// With the mode on: a phrase by its id, or a clip by its file name (a narrated line's,
// a voice's), said after the one now sounding, in the order asked, each as the one before
// ends; a phrase said in their place forgets them. Nothing when off.
void SpeakPhraseNext(const char* id);
void SpeakClipNext(const char* clip);
// Called by a step and by the backlog's replay: the phrase stops, and those to follow.
void StopSpeaking();
// Asked by auto mode, which waits for a phrase as for the voice it cut: seconds until
// the phrase ends, 0 when none speaks.
float PhraseSecondsLeft();
// The clip that narrates script line as it is shown, for the interpreter to play as
// the line's voice: empty when the mode is off or the line is not prose.
std::string NarrationClip(int line);
// Called each frame by a screen for the item (screen, index) under the pointer: true,
// with the mode on, when the pointer was not on it in the last frame; the caller then
// speaks it. Staying on an item says it once; leaving and coming back says it again.
bool PointerReaches(int screen, int index);
// Called at the end of each frame: what was reached becomes the last frame's; the
// notice and the title say theirs as they come up.
void SelfVoicingAfterFrame();

// ---- The engine's own texts, in CP932 (engine_texts.cpp) --------------------------

enum EngineTextId {
    TextGothic, TextMincho, TextSaved, TextLoaded, TextSaveFailed, TextQuickSaved,
    TextQuickLoaded, TextNoQuickSave, TextMenu, TextPreferences, TextMusicVolume,
    TextVoiceVolume, TextClickVoice, TextVoiceStops, TextVoiceFinishes, TextAutoPause,
    TextSkipKey, TextSkipRead, TextSkipEverything, TextMessageSpeed, TextMusic, TextOn,
    TextOff, TextFullScreen, TextClose, TextSeconds, TextSelfVoicing, TextEmptySlot,
    TextContinue, TextClickToReturn, TextNothingToSave, TextNothingToLoad, TextLanguage,
    TextJapanese, TextEnglish, TextLess, TextMore, TextCopyLines, TextWordBox, EngineTextCount
};
// A text in the language in force (language.cpp); EngineTextIn in the one asked for.
const char* EngineText(EngineTextId id);
const char* EngineTextIn(EngineTextId id, bool english);

// ---- The language in force (language.cpp) -----------------------------------------

// The layout flags of the reader's text: English wraps at spaces.
uint32_t ReaderTextFlags();
// Puts the prose line's text, as the reader sees it, on the clipboard (line_copy.cpp).
void CopyLine(int line);
// Sets the language and keeps it in preferences.ini; the line shown is laid out again
// in it, whole. The pages that keep laid-out text measure it again themselves.
void SwitchLanguage(bool english);

// ---- Test hooks ------------------------------------------------------------------
// Only tests call these, to set up or look at state the interpreter keeps to itself.

// The story at line, as a load leaves it: no step made.
void GoToLineForTest(int line);
// The scene's flag index; 0 for an index outside the table.
int32_t FlagForTest(int index);
// Sets the scene's flag index, as a flg: line would; an index outside the table is ignored.
void SetFlagForTest(int index, int32_t value);
// The picture of the last file: line (BackgroundId), 0 before one or after a failed load.
int StoryPictureForTest();
