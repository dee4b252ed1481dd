// The story screen: steps the script on a click, executes its command lines, and
// redraws picture, animation, panel, message window, choices and the quit prompt.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/frame.h"
#include "base/random.h"
#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "sound/kaMusic.h"
#include "sound/kaSound.h"
#include "story/records/settings.h"
#include "story/engine/engine.h"

// The swin: window pictures and the setchar: sheet: no picture is assigned to them,
// so they draw ImageObject 0.
static const int WindowBackId = 0, WindowFrameId = 0, CharacterSheetId = 0;
// Beyond this many lines in one step the script is taken to loop without prose.
static const int StepLineLimit = 4 * ScriptLineCount;
// Line of the quit confirmation's command, less one, at the head of the table; its two options.
static const int QuitPromptLine = 1, QuitPromptOptions = 2;
// The scene as the script has set it, the line shown or being executed among it. Its
// wave phase and the random generator's state live with the wave effect and the
// generator, and are taken into a copy as it is made.
static StorySnapshot Scene;
// The line shown was covered (by a choice, the quit prompt or the system menu) since the
// step that showed it: it comes back whole.
static bool LineCovered = false;
// The prose line the last story frame's step stopped at, with the scene as it was shown.
static ShownLine Shown;
static bool LineShown = false;
// Font size of the prose line a step stops at: 28 unless a size: line in that step
// says otherwise.
static int TextSize = 28;
// The wave_play: line of the current step's voice, for the backlog; -1 for none (a
// sound effect is not a voice).
static int StepVoiceLine = -1;
// The picture of the scene's file: line; 0 before one, 0 when its load failed.
static int BackgroundId;
// A voice a step let play on (the preferences' choice): it is stopped when the next voice
// clip starts; -1 for none.
static int FinishingVoice = -1;
// A load left the story on a line no reader is shown (a command): the next story frame
// runs on from it at once, as the step that reached it would have.
static bool ResumeAtLoadedLine;
// The place the reader left the story from by the quit prompt's way out, whose lines the
// story then steps through to its end.
static StorySnapshot PlaceAtQuit;
static bool PlaceKeptAtQuit;

const StorySnapshot* PlaceLeftByQuitPrompt() { return PlaceKeptAtQuit ? &PlaceAtQuit : nullptr; }

void ResetInterpreter() {
    Scene = StorySnapshot{};
    Scene.line = 5;  // the first step executes line 6, where the story begins
    Scene.storyState = ShowingProse;
    Scene.screenFrame = 50;  // beyond any picture: blank
    Scene.characterCell = NoCharacter;
    Scene.waveEffect = true;
    Scene.animeSpeed = 40;
    Scene.textSize = TextSize = 28;
    StepVoiceLine = -1;
    FinishingVoice = -1;
    BackgroundId = 0;
    ResumeAtLoadedLine = false;
    PlaceKeptAtQuit = false;
    LineShown = false;
    LineCovered = false;
}

// A size held to the range, as glyphs are laid out at twice the size.
static int HeldTextSize(int n) { return n < MinTextSize ? MinTextSize : n > MaxTextSize ? MaxTextSize : n; }

static bool IsFlagIndex(int i) { return i >= 0 && i < FlagCount; }

// The first empty line: where the script ends. A table without one ends at its last line.
static int EndOfScript() {
    int end = 0;
    for (; end < ScriptLineCount && LineText(end)[0]; ++end) {}
    return end < ScriptLineCount ? end : ScriptLineCount - 1;
}

// Moves to line, which a jump, switch or load named; a line outside the table is the
// end of the script.
static void GoToLine(int line) {
    Scene.line = (line >= 0 && line < ScriptLineCount) ? line : EndOfScript();
}

// Moves one line on, but never past the end of the script: on an empty line (or the
// table's last) the position stays, and that line is what the step shows.
static bool MoveToNextLine() {
    if (!LineText(Scene.line)[0] || Scene.line + 1 >= ScriptLineCount) return false;
    ++Scene.line;
    return true;
}

int LoadPicture(const char* name) {
    char path[PathBytes];
    bool named = ProgramPath(name, path, sizeof path);
    if (named) kaDraw::RestoreAssetHeader(path);
    kaDraw::SetKeyFromPixel();
    int id = kaDraw::LoadObject(name, 2);
    if (named) kaDraw::BlankAssetHeader(path);
    return id;
}

static void LoadStoryPicture(const char* name) {
    int previous = BackgroundId;
    BackgroundId = LoadPicture(name);
    std::snprintf(Scene.picture, sizeof Scene.picture, "%s", name);
    // The old picture is no longer drawn once file: has run, whether the new one loaded
    // or the load failed and left 0; the internal sprites (ids 0 to 3) are never
    // released. The new one may have the old id when the old picture was freed already
    // (a logo run by end:-1 releases the id it once had).
    if (previous > kaDraw::FontBufferSprite && previous != BackgroundId)
        kaDraw::ReleaseObject(previous);
}

// The clip before goes once it is silent: a step has stopped it, or, when this is a
// second wave_play: in one step, it plays to its end over the new one.
static void PlayVoice(const char* name) {
    if (FinishingVoice >= 0 && !IsEffectClip(name)) {
        kaSound::Stop(FinishingVoice, -1);
        FinishingVoice = -1;
    }
    if (VoiceId >= 0) kaSound::ReleaseWhenEnded(VoiceId);
    VoiceId = kaSound::LoadObject(name, 1);
    if (VoiceId == FinishingVoice) FinishingVoice = -1;  // its slot was freed and taken
    kaSound::Play(VoiceId, -1);
}

// A line's narration (self-voicing) plays as its voice clip would. A line whose clip is
// missing has none: what sounds goes on as after a line without a voice.
static void PlayNarration(const char* name) {
    int id = kaSound::LoadOpusObject(name, 1);
    if (id < 0) return;
    if (FinishingVoice >= 0) kaSound::Stop(FinishingVoice, -1);
    FinishingVoice = -1;
    if (VoiceId >= 0) kaSound::ReleaseWhenEnded(VoiceId);
    VoiceId = id;
    kaSound::Play(VoiceId, -1);
}

enum StepEnd { StepShowsLine, StepOpensChoice, StepEndsMode };

// The picture of the first file: line the next step will run: the lines after the one
// shown, up to the next prose line, unless a line on the way leaves them (a choice, a
// jump, the end). nullptr when there is none.
static const char* NextStepPicture() {
    for (int line = Scene.line + 1; line < ScriptLineCount; ++line) {
        Keyword k = MatchKeyword(LineText(line));
        if (k == KwFile) return LineText(line) + ArgumentOffset(k);
        if (k == KwNone || k == KwCommand || k == KwEnd || k == KwJump || k == KwSwitch ||
            k == KwLoad)
            return nullptr;
    }
    return nullptr;
}

static void StopStoryVoices() {
    if (FinishingVoice >= 0) kaSound::Stop(FinishingVoice, -1);
    FinishingVoice = -1;
    if (VoiceId >= 0) kaSound::Stop(VoiceId, -1);
}

void ResumePassedLine(int voiceLine) {
    StopStoryVoices();
    LineCovered = false;
    if (voiceLine >= 0) PlayVoice(LineText(voiceLine) + ArgumentOffset(KwWavePlay));
    if (const char* picture = NextStepPicture()) kaDraw::ReadAheadObject(picture);
}

// The line after line opens a choice: a save at line was made with it open, or just
// before it opened.
static bool ChoiceOpensAfter(int line) {
    return line >= 0 && line + 1 < ScriptLineCount && MatchKeyword(LineText(line + 1)) == KwCommand;
}

// A save holds the line shown, or the line before the command: of the choice that was
// open, which may be a command line itself (the state kept beside the slot says which,
// where the line before is prose). Any other line that is no prose comes only from an
// edited or older save: the story runs on from it, so no command is drawn as text.
void EnterLoadedLine(bool whole) {
    StopStoryVoices();
    bool prose = MatchKeyword(LineText(Scene.line)) == KwNone;
    if (ChoiceOpensAfter(Scene.line) && (Scene.storyState == ChoiceOpen || !prose))
        Scene.storyState = ChoiceOpen;
    else if (Scene.storyState == ChoiceOpen)
        Scene.storyState = ShowingProse;
    ResumeAtLoadedLine = Scene.storyState != ChoiceOpen && !prose;
    ForgetLayout();
    LineCovered = whole;
}

// Executes lines from Scene.line on until a prose line (shown), a command: line (a
// choice opens) or an end: line (GameMode changes). An empty line matches no keyword:
// the step stops there like at prose.
static StepEnd ExecuteLines() {
    for (int executed = 0; executed < StepLineLimit; ++executed) {
        const char* line = LineText(Scene.line);
        Keyword k = MatchKeyword(line);
        if (k == KwLabel) {
            // The line after a label is tested from setscreen: on, so a label directly
            // after another label is shown as prose.
            if (!MoveToNextLine()) return StepShowsLine;
            line = LineText(Scene.line);
            k = MatchKeyword(line);
            if (k == KwLabel) return StepShowsLine;
        }
        const char* arg = line + ArgumentOffset(k);
        int n = ReadNumberAt(line, ArgumentOffset(k));
        switch (k) {
        case KwSetscreen: Scene.animeFrames = 0; Scene.screenFrame = n; Scene.waveEffect = false; break;
        case KwSetchar: Scene.characterCell = n; Scene.waveEffect = false; break;
        case KwEnd:
            SetGameMode(n);
            TakeClick();
            return StepEndsMode;
        case KwSize: TextSize = HeldTextSize(n); break;
        case KwFile: LoadStoryPicture(arg); break;
        case KwJump: GoToLine(FindLabel(arg)); continue;
        case KwSwin: Scene.storyState = ShowingOverWindow; break;
        case KwCommand:
            Scene.storyState = ChoiceOpen;
            OptionClickIgnored = true;  // the click that opened it was meant for the story
            --Scene.line;
            return StepOpensChoice;
        case KwSwave: Scene.waveEffect = true; break;
        case KwFlg: {
            int a = ReadNumberAt(line, 4);
            if (IsFlagIndex(a)) Scene.flags[a] = ReadNumberAt(line, 8);
            break;
        }
        case KwLoopanime: Scene.animeFrame = 0; Scene.animeLoop = n; break;
        case KwAnime:
            Scene.animeFrames = n;
            if (n != 0) Scene.animeFramesSaved = n;
            break;
        case KwSpeed: Scene.animeSpeed = n; Scene.animeFrame = 0; break;
        case KwIf: {
            int a = ReadNumberAt(line, 3), b = ReadNumberAt(line, 9);
            if (IsFlagIndex(a) && IsFlagIndex(b) && Scene.flags[a] == ReadNumberAt(line, 7))
                Scene.flags[b] = ReadNumberAt(line, 13);
            break;
        }
        case KwSwitch: {
            int a = ReadNumberAt(line, 7);
            if (IsFlagIndex(a) && Scene.flags[a] == ReadNumberAt(line, 11)) {
                GoToLine(ReadNumberAt(line, 13));
                continue;
            }
            break;
        }
        case KwSave: WriteSetting("st", "sc", arg); break;
        case KwLoad: {
            // With no label recorded the search would take the first short line; the
            // script goes on with the next line instead.
            std::string label = ReadSetting("st", "sc");
            if (label.empty()) break;
            GoToLine(FindLabel(label.c_str()) + 1);
            continue;
        }
        case KwMidiPlay:
            std::snprintf(Scene.music, sizeof Scene.music, "%s", arg);
            Scene.musicLoops = true;
            if (MusicOff == 0) kaMusic::PlayMusic(arg, 1);
            kaMusic::SetMusicVolume(-6);
            break;
        case KwMidiStop:
            Scene.music[0] = '\0';
            kaMusic::StopMusic();
            break;
        case KwWavePlay:
            if (!IsEffectClip(arg)) StepVoiceLine = Scene.line;
            PlayVoice(arg);
            break;
        default: return StepShowsLine;  // prose
        }
        if (!MoveToNextLine()) return StepShowsLine;
    }
    return StepShowsLine;
}

// The ping-pong of loop modes 2 to 4 on one position: back from limit, forward from 0.
// Returns false when the position came back to 0 (loop mode 3 stops there).
static bool PingPong(int* position, int limit) {
    if (*position >= limit) Scene.animeBackward = true;
    if (*position <= 0) {
        Scene.animeBackward = false;
        *position += 1;
        return false;
    }
    *position += Scene.animeBackward ? -1 : 1;
    return true;
}

static void AnimationTick() {
    switch (Scene.animeLoop) {
    case 1:
        Scene.animeColumn = 0;
        if (++Scene.animeFrame == Scene.animeFrames) Scene.animeFrame = 0;
        break;
    case 2:
        Scene.animeColumn = 0;
        PingPong(&Scene.animeFrame, Scene.animeFrames);
        break;
    case 3:
        Scene.animeColumn = 0;
        if (!PingPong(&Scene.animeFrame, Scene.animeFrames)) Scene.animeFrames = 0;
        break;
    case 4: PingPong(&Scene.animeColumn, Scene.animeFrames); break;
    case 5:
        Scene.animeColumn = 0;
        if (Scene.animeFrame < Scene.animeFrames) {
            ++Scene.animeFrame;
        } else {
            Scene.animeBackward = true;
            Scene.animeFrames = 0;
            Scene.animeFrame = 1;
        }
        break;
    default:  // 0 and any other value: once through, the last band stays
        Scene.animeColumn = 0;
        if (++Scene.animeFrame == Scene.animeFrames) {
            Scene.screenFrame = Scene.animeFrames;
            Scene.animeFrames = 0;
        }
        break;
    }
}

// Pictures are at most 32767 pixels high and wide, so a band or character cell past
// these lies beyond any picture and draws nothing; the bound also keeps the source
// rectangle's arithmetic inside int for any number a script gives.
static const int LastBand = 32767 / layout::Band.height, LastCell = 32767 / layout::Character.width;

// Band band of the story picture, shifted column pixels sideways, at the top left.
static void DrawBand(int band, int column = 0) {
    if (band < 0 || band > LastBand || column < -32767 || column > 32767) return;
    const layout::Placement& b = layout::Band;
    kaDraw::BltOpaque(b.x, b.y, BackgroundId, column, b.height * band, column + b.width,
                      b.height * band + b.height);
}

// The picture: through the wave effect, as a still band with the character, or as the
// running animation, which moves on at most one tick per frame.
static void DrawPicture() {
    if (Scene.waveEffect) {
        if (Scene.screenFrame < 0 || Scene.screenFrame > LastBand) return;
        const layout::Placement& b = layout::Band;
        kaDraw::BltWave(b.x, b.y, layout::WaveReach, 2, 150.0f, BackgroundId, 0,
                        b.height * Scene.screenFrame, b.width, b.height * Scene.screenFrame + b.height, 0);
        return;
    }
    if ((Scene.animeLoop == 3 || Scene.animeLoop == 5) && Scene.animeFrames == 0) {
        DrawBand(Scene.screenFrame);
        if (RandomNumber() % 200 == 5) {
            Scene.animeFrame = 1;
            Scene.animeFrames = Scene.animeFramesSaved;
        }
    }
    if (Scene.animeLoop == 4) Scene.animeFrame = 0;
    if (Scene.animeFrames == 0) {
        DrawBand(Scene.screenFrame);
        if (Scene.characterCell != NoCharacter && Scene.characterCell >= 0 && Scene.characterCell <= LastCell) {
            const layout::Placement& c = layout::Character;
            kaDraw::BltTransparent(c.x, c.y, CharacterSheetId, c.width * Scene.characterCell, 0,
                                   c.width * Scene.characterCell + c.width, c.height);
        }
        return;
    }
    Scene.animeClock += float(Scene.animeSpeed) * FrameSeconds;
    DrawBand(Scene.animeFrame, Scene.animeColumn);
    if (Scene.animeClock >= 10.0f) {
        AnimationTick();
        Scene.animeClock -= 10.0f;
    }
}

// An open choice or quit prompt has the message window to itself: its prompt is drawn
// there, whole, every frame, and the text layer may still hold another text (the system
// menu's).
bool MessageWindowShowsLine() { return Scene.storyState != ChoiceOpen && !QuitPromptOpen; }

void CoverStoryLine() { LineCovered = true; }

// A step of auto or skip mode runs the story frame without the pointer.
static bool PointerHidden = false;

bool PointerIn(const layout::Rect& r) {
    if (PointerHidden) return false;
    int x = FrameInput().MouseX, y = FrameInput().MouseY;
    return r.left < x && x < r.right && r.top < y && y < r.bottom;
}

void BltOpaqueAt(const layout::Placement& p, int id) { kaDraw::BltOpaque(p.x, p.y, id, 0, 0, p.width, p.height); }

void BltTransparentAt(const layout::Placement& p, int id) {
    kaDraw::BltTransparent(p.x, p.y, id, 0, 0, p.width, p.height);
}

const kaDraw::TextLayout& DrawTextArea(const layout::TextArea& a, const char* text) {
    return kaDraw::DrawTextBlock(a.x, a.y, a.right, a.bottom, text, ReaderTextFlags());
}

// More options than fit on the screen are never drawn; the bound keeps a bad count from
// running long.
static int ShownOptions(int count) { return std::clamp(count, 0, layout::ChoiceRowsMost); }

// The prompt line of a choice of count options whose command: line is line + 1.
static int PromptLine(int count, int line) { return line + 2 + ShownOptions(count); }

// The options of the story choice that is open: the count its command: line gives.
static int StoryChoiceCount() { return ReadNumberAt(LineText(Scene.line + 1), 8); }

int OpenChoiceOptions() {
    if (QuitPromptOpen) return QuitPromptOptions;
    return Scene.storyState == ChoiceOpen ? ShownOptions(StoryChoiceCount()) : 0;
}

// Draws an open choice of count options from line + 2 on, the prompt after them; 0 while
// nothing is chosen, else the line of the chosen option's label. An option takes the
// click, and the pointer is remembered above every row until it moves.
static int ChoiceMenu(int count, int line, bool click) {
    count = ShownOptions(count);
    SetCursorVisible(1);
    BltOpaqueAt(layout::ChoiceBox, InterfacePicture[PicComwin]);
    for (int i = 0; i < count; ++i) {
        if (!PointerIn(layout::ChoiceRowHit(i))) continue;
        // An option is spoken as the pointer reaches it, but not in the frame the choice
        // opens, whose prompt is being said.
        if (PointerReaches(line == QuitPromptLine ? ReachQuitPrompt : ReachChoice, i) &&
            !OptionClickIgnored)
            SpeakLineClip(ReaderText(line + 2 + i) + 5);
        const layout::Rect r = layout::ChoiceHighlight(i);
        kaDraw::DrawRect(r.left, r.top, r.right, r.bottom, 0x0000FF, 0, 1);
        if (!click || OptionClickIgnored) continue;
        TakeClick();
        TakeRightClick();
        PlacePointer(FrameInput().MouseX, layout::PointerYAfterOption);
        SystemMenuOpen = false;
        SetCursorVisible(0);
        char label[5] = {};
        std::memcpy(label, LineText(line + 2 + i), 4);
        return FindLabel(label);
    }
    LineCovered = true;
    kaDraw::SelectTextFont(EngineText(TextGothic), layout::ChoiceTextSize);
    kaDraw::SetTextColours(0xFFFFFF, 0, 1);
    for (int i = 0; i < count; ++i) DrawTextArea(layout::ChoiceOption(i), ReaderText(line + 2 + i) + 5);
    kaDraw::EndTextDrawing();
    kaDraw::SelectTextFont(EngineText(TextMincho), layout::ChoiceTextSize);
    kaDraw::SetTextColours(0xFFFFFF, 0, 1);
    DrawTextArea(layout::ChoicePrompt, ReaderText(PromptLine(count, line)));
    kaDraw::EndTextDrawing();
    return 0;
}

// The panel's buttons say their names as the pointer reaches them.
static void SpeakPanelButtonReached() {
    if (PointerIn(layout::QuitButton) && PointerReaches(ReachPanel, 0)) SpeakPhrase("panel_quit");
    if (PointerIn(layout::MenuButton) && PointerReaches(ReachPanel, 1)) SpeakPhrase("panel_menu");
}

// Opens the quit prompt or (returning true) asks for the system menu.
static bool PanelButtons(bool click) {
    if (QuitPromptOpen || !click || PanelClickIgnored) return false;
    if (PointerIn(layout::QuitButton)) {
        QuitPromptOpen = true;
        OptionClickIgnored = true;
        SpeakLineClip(ReaderText(PromptLine(2, QuitPromptLine)));
    } else if (PointerIn(layout::MenuButton)) {
        TakeClick();
        SystemMenuOpen = true;
        return true;
    }
    return false;
}

// One story frame, stepped when click; a choice made in it starts it again, stepping but
// for the quit prompt's going back.
static void StoryFrameOnce(bool click, bool skipping) {
    for (;;) {
        SetCursorVisible(1);
        kaDraw::ClearBackBuffer();
        SystemMenuOpen = false;
        SetGameMode(ModeStory);
        TextSize = 28;
        if (PanelButtons(click)) return;

        bool resume = ResumeAtLoadedLine && Scene.storyState != ChoiceOpen;
        ResumeAtLoadedLine = false;
        if (resume || (click && Scene.storyState != ChoiceOpen && !QuitPromptOpen)) {
            // A press past a shown prose line reads it; a click of held Ctrl or of skip
            // mode does not.
            if (!OptionClickIgnored && LaidOutLine == Scene.line &&
                MatchKeyword(LineText(Scene.line)) == KwNone)
                MarkLineRead(Scene.line);
            // A reader's press may let the voice finish; held Ctrl and skip mode cut it.
            // A phrase said is over once the story moves on, but for skip mode's own
            // (skip_on), as it runs, and a load's notice, said over the load's own step.
            if (!skipping && !resume) StopSpeaking();
            if (VoiceId >= 0) {
                if (Preferences.ClickStopsVoice || OptionClickIgnored)
                    kaSound::Stop(VoiceId, -1);
                else
                    FinishingVoice = VoiceId;
            }
            LineCovered = false;  // the line a step stops at comes out afresh
            Scene.storyState = ShowingProse;
            if (!resume) MoveToNextLine();
            Scene.waveEffect = false;
            StepVoiceLine = -1;
            StepEnd end = ExecuteLines();
            if (end == StepEndsMode) return;
            if (end == StepOpensChoice)
                SpeakLineClip(ReaderText(PromptLine(ReadNumberAt(LineText(Scene.line + 1), 8), Scene.line)));
            if (end == StepShowsLine) {
                Scene.textSize = TextSize;
                // With self-voicing on, a line no clip of its own speaks is narrated,
                // as its voice.
                std::string narration = StepVoiceLine < 0 ? NarrationClip(Scene.line) : "";
                if (!narration.empty()) PlayNarration(narration.c_str());
                Shown.line = Scene.line;
                Shown.size = TextSize;
                Shown.voiceLine = StepVoiceLine;
                TakeStorySnapshot(&Shown.scene);
                LineShown = true;
                // While the line is read, the picture of the step after it is decoded.
                if (const char* picture = NextStepPicture()) kaDraw::ReadAheadObject(picture);
            }
        }

        if (Scene.storyState == ShowingOverWindow) {
            BltOpaqueAt(layout::WindowBack, WindowBackId);
            BltTransparentAt(layout::WindowFrame, WindowFrameId);
        }
        bool showsLine = MessageWindowShowsLine();
        if (showsLine) {
            ShowLine(Scene.line, 0, Scene.textSize, LineCovered);
            LineCovered = false;
        }
        DrawPicture();
        BltTransparentAt(layout::Panel, InterfacePicture[PicPanel]);
        SpeakPanelButtonReached();
        BltTransparentAt(layout::MessageFrame, InterfacePicture[PicMessage]);
        if (showsLine && RevealText(MessageSpeed == 0.0f ? 0.0f : MessageSpeed * 0.01f) &&
            LaidOutLine == Scene.line)
            MarkLineRead(Scene.line);  // all its characters are out

        if (Scene.storyState == ChoiceOpen) {
            int r = ChoiceMenu(StoryChoiceCount(), Scene.line, click);
            if (r != 0) {
                GoToLine(r);
                Scene.storyState = ShowingProse;
                MovePointerTo(layout::PointerAfterChoice.x, layout::PointerAfterChoice.y);
                click = true;  // the option's label line is stepped from at once
                continue;
            }
        }
        // Going back (the option whose label is line 1) leaves the reader on the line
        // they were on, shown whole as the prompt's text gives way, its voice playing on;
        // the other option's label leads on to its end:.
        if (QuitPromptOpen) {
            int r = ChoiceMenu(QuitPromptOptions, QuitPromptLine, click);
            if (r != 0) {
                QuitPromptOpen = false;
                click = r != 1;
                if (click) {
                    TakeStorySnapshot(&PlaceAtQuit);  // the story steps on to its way out
                    PlaceKeptAtQuit = true;
                    GoToLine(r);
                }
                continue;
            }
        }
        return;
    }
}

const ShownLine* LineShownThisFrame() { return LineShown ? &Shown : nullptr; }

void StoryFrame(StepCause cause, bool skipping) {
    LineShown = false;
    if (cause == StepBySkip) OptionClickIgnored = true;
    PointerHidden = cause != StepOnClick;
    StoryFrameOnce(cause != StepOnClick || FrameInput().LeftClick, skipping);
    PointerHidden = false;
    OptionClickIgnored = PanelClickIgnored = false;
}

const StorySnapshot& CurrentScene() { return Scene; }

void TakeStorySnapshot(StorySnapshot* out) {
    *out = Scene;
    out->wavePhase = kaDraw::WavePhaseDegrees();
    out->musicLoops = Scene.music[0] && Scene.musicLoops;
    out->random = RandomState();
}

// The music is asked for again from its start, as midi_play: would ask for it.
static void RestoreMusic(const char* name, bool loops) {
    std::snprintf(Scene.music, sizeof Scene.music, "%s", name);
    Scene.musicLoops = loops;
    if (!name[0]) {
        kaMusic::StopMusic();
        return;
    }
    if (MusicOff == 0) kaMusic::PlayMusic(name, loops ? 1 : 0);
    kaMusic::SetMusicVolume(-6);
}

void RestoreStorySnapshot(const StorySnapshot& s) {
    GoToLine(s.line);
    const int line = Scene.line;
    if (!s.picture[0]) {
        if (BackgroundId > kaDraw::FontBufferSprite) kaDraw::ReleaseObject(BackgroundId);
        BackgroundId = 0;
    } else if (BackgroundId == 0 || std::strcmp(s.picture, Scene.picture) != 0) {
        LoadStoryPicture(s.picture);
    }
    Scene = s;
    Scene.line = line;
    // A choice is open only where one opens next; EnterLoadedLine settles the rest.
    Scene.storyState = s.storyState == ShowingOverWindow                        ? ShowingOverWindow
                       : s.storyState == ChoiceOpen && ChoiceOpensAfter(s.line) ? ChoiceOpen
                                                                                : ShowingProse;
    kaDraw::SetWavePhaseDegrees(s.wavePhase);
    Scene.textSize = HeldTextSize(s.textSize);
    RestoreMusic(s.music, s.musicLoops);
    SetRandomState(s.random);
}

void EnterSavedLine(int line, const StorySnapshot* kept) {
    Scene.line = line;
    Scene.storyState = ShowingProse;
    if (kept) {
        RestoreStorySnapshot(*kept);
    } else {
        Scene.animeFrames = Scene.animeFrame = Scene.animeLoop = 0;
        Scene.characterCell = NoCharacter;
        Scene.screenFrame = 99;
    }
    QuitPromptOpen = false;
}

void GoToLineForTest(int line) { GoToLine(line); }
int32_t FlagForTest(int index) { return IsFlagIndex(index) ? Scene.flags[index] : 0; }
void SetFlagForTest(int index, int32_t value) {
    if (IsFlagIndex(index)) Scene.flags[index] = value;
}
int StoryPictureForTest() { return BackgroundId; }
