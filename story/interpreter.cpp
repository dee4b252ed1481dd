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
#include "story/settings.h"
#include "story/story.h"

// The swin: window pictures and the setchar: sheet: no picture is assigned to them,
// so they draw ImageObject 0.
static const int WindowBackId = 0, WindowFrameId = 0, CharacterSheetId = 0;
// Beyond this many lines in one step the script is taken to loop without prose.
static const int StepLineLimit = 4 * ScriptLineCount;
// Line of the quit confirmation's command, less one, at the head of the table; its two options.
static const int QuitPromptLine = 1, QuitPromptOptions = 2;
// Font size of the prose line a step stops at: 28 unless a size: line in that step
// says otherwise.
static int TextSize = 28;
// The font size of the line shown, which a saved state keeps.
static int ShownTextSize = 28;
// The wave_play: line of the current step's voice, for the backlog; -1 for none (a
// sound effect is not a voice).
static int StepVoiceLine = -1;
// What the script's flg:, if: and switch: lines set and test.
static int32_t FlagTable[FlagCount];
// The picture of the last file: line and its name; 0 and empty before one, 0 when its
// load failed.
static int BackgroundId;
static char BackgroundName[ScriptLineBytes];
// Whether the piece midi_play: asked for loops.
static bool RequestedMusicLoops;
// A voice a step let play on (the preferences' choice): it is stopped when the next voice
// clip starts; -1 for none.
static int FinishingVoice = -1;
// The animation: the frame count loop modes 3 and 5 restart with, the sideways column
// of loop mode 4, the direction of a ping-pong, and the time toward the next tick
// (AnimeSpeed per second, a tick every 10).
static int AnimeFramesSaved, AnimeSpeed, AnimeColumn;
static bool AnimeBackward;
static float AnimeClock;
// A load left the story on a line no reader is shown (a command): the next story frame
// runs on from it at once, as the step that reached it would have.
static bool ResumeAtLoadedLine;
// The place the reader left the story from by the quit prompt's way out, whose lines the
// story then steps through to its end.
static StorySnapshot PlaceAtQuit;
static bool PlaceKeptAtQuit;

const StorySnapshot* PlaceLeftByQuitPrompt() { return PlaceKeptAtQuit ? &PlaceAtQuit : nullptr; }

void ResetInterpreter() {
    TextSize = ShownTextSize = 28;
    StepVoiceLine = -1;
    FinishingVoice = -1;
    std::fill(FlagTable, FlagTable + FlagCount, 0);
    BackgroundId = 0;
    BackgroundName[0] = '\0';
    RequestedMusicLoops = false;
    AnimeFramesSaved = AnimeColumn = 0;
    AnimeSpeed = 40;
    AnimeBackward = false;
    AnimeClock = 0.0f;
    ResumeAtLoadedLine = false;
    PlaceKeptAtQuit = false;
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
    CurrentLine = (line >= 0 && line < ScriptLineCount) ? line : EndOfScript();
}

// Moves one line on, but never past the end of the script: on an empty line (or the
// table's last) the position stays, and that line is what the step shows.
static bool MoveToNextLine() {
    if (!LineText(CurrentLine)[0] || CurrentLine + 1 >= ScriptLineCount) return false;
    ++CurrentLine;
    return true;
}

static void LoadStoryPicture(const char* name) {
    int previous = BackgroundId;
    BackgroundId = LoadPicture(name);
    std::snprintf(BackgroundName, sizeof BackgroundName, "%s", name);
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
    for (int line = CurrentLine + 1; line < ScriptLineCount; ++line) {
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
    bool prose = MatchKeyword(LineText(CurrentLine)) == KwNone;
    if (ChoiceOpensAfter(CurrentLine) && (StoryState == ChoiceOpen || !prose))
        StoryState = ChoiceOpen;
    else if (StoryState == ChoiceOpen)
        StoryState = ShowingProse;
    ResumeAtLoadedLine = StoryState != ChoiceOpen && !prose;
    if (whole) ShowWholeWhenBack(CurrentLine, ShownTextSize);
    else ForgetLayout();
}

// Executes lines from CurrentLine on until a prose line (shown), a command: line (a
// choice opens) or an end: line (GameMode changes). An empty line matches no keyword:
// the step stops there like at prose.
static StepEnd ExecuteLines() {
    for (int executed = 0; executed < StepLineLimit; ++executed) {
        const char* line = LineText(CurrentLine);
        Keyword k = MatchKeyword(line);
        if (k == KwLabel) {
            // The line after a label is tested from setscreen: on, so a label directly
            // after another label is shown as prose.
            if (!MoveToNextLine()) return StepShowsLine;
            line = LineText(CurrentLine);
            k = MatchKeyword(line);
            if (k == KwLabel) return StepShowsLine;
        }
        const char* arg = line + ArgumentOffset(k);
        int n = ReadNumberAt(line, ArgumentOffset(k));
        switch (k) {
        case KwSetscreen: AnimeFrames = 0; ScreenFrame = n; WaveEffect = false; break;
        case KwSetchar: CharacterCell = n; WaveEffect = false; break;
        case KwEnd:
            SetGameMode(n);
            TakeClick();
            return StepEndsMode;
        case KwSize: TextSize = HeldTextSize(n); break;
        case KwFile: LoadStoryPicture(arg); break;
        case KwJump: GoToLine(FindLabel(arg)); continue;
        case KwSwin: StoryState = ShowingOverWindow; break;
        case KwCommand:
            StoryState = ChoiceOpen;
            OptionClickIgnored = true;  // the click that opened it was meant for the story
            --CurrentLine;
            return StepOpensChoice;
        case KwSwave: WaveEffect = true; break;
        case KwFlg: {
            int a = ReadNumberAt(line, 4);
            if (IsFlagIndex(a)) FlagTable[a] = ReadNumberAt(line, 8);
            break;
        }
        case KwLoopanime: AnimeFrame = 0; AnimeLoop = n; break;
        case KwAnime:
            AnimeFrames = n;
            if (n != 0) AnimeFramesSaved = n;
            break;
        case KwSpeed: AnimeSpeed = n; AnimeFrame = 0; break;
        case KwIf: {
            int a = ReadNumberAt(line, 3), b = ReadNumberAt(line, 9);
            if (IsFlagIndex(a) && IsFlagIndex(b) && FlagTable[a] == ReadNumberAt(line, 7))
                FlagTable[b] = ReadNumberAt(line, 13);
            break;
        }
        case KwSwitch: {
            int a = ReadNumberAt(line, 7);
            if (IsFlagIndex(a) && FlagTable[a] == ReadNumberAt(line, 11)) {
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
            std::snprintf(RequestedMusic, sizeof RequestedMusic, "%s", arg);
            RequestedMusicLoops = true;
            if (MusicOff == 0) kaMusic::PlayMusic(arg, 1);
            kaMusic::SetMusicVolume(-6);
            break;
        case KwMidiStop:
            RequestedMusic[0] = '\0';
            kaMusic::StopMusic();
            break;
        case KwWavePlay:
            if (!IsEffectClip(arg)) StepVoiceLine = CurrentLine;
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
    if (*position >= limit) AnimeBackward = true;
    if (*position <= 0) {
        AnimeBackward = false;
        *position += 1;
        return false;
    }
    *position += AnimeBackward ? -1 : 1;
    return true;
}

static void AnimationTick() {
    switch (AnimeLoop) {
    case 1:
        AnimeColumn = 0;
        if (++AnimeFrame == AnimeFrames) AnimeFrame = 0;
        break;
    case 2:
        AnimeColumn = 0;
        PingPong(&AnimeFrame, AnimeFrames);
        break;
    case 3:
        AnimeColumn = 0;
        if (!PingPong(&AnimeFrame, AnimeFrames)) AnimeFrames = 0;
        break;
    case 4: PingPong(&AnimeColumn, AnimeFrames); break;
    case 5:
        AnimeColumn = 0;
        if (AnimeFrame < AnimeFrames) {
            ++AnimeFrame;
        } else {
            AnimeBackward = true;
            AnimeFrames = 0;
            AnimeFrame = 1;
        }
        break;
    default:  // 0 and any other value: once through, the last band stays
        AnimeColumn = 0;
        if (++AnimeFrame == AnimeFrames) {
            ScreenFrame = AnimeFrames;
            AnimeFrames = 0;
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
    if (WaveEffect) {
        if (ScreenFrame < 0 || ScreenFrame > LastBand) return;
        const layout::Placement& b = layout::Band;
        kaDraw::BltWave(b.x, b.y, layout::WaveReach, 2, 150.0f, BackgroundId, 0,
                        b.height * ScreenFrame, b.width, b.height * ScreenFrame + b.height, 0);
        return;
    }
    if ((AnimeLoop == 3 || AnimeLoop == 5) && AnimeFrames == 0) {
        DrawBand(ScreenFrame);
        if (RandomNumber() % 200 == 5) {
            AnimeFrame = 1;
            AnimeFrames = AnimeFramesSaved;
        }
    }
    if (AnimeLoop == 4) AnimeFrame = 0;
    if (AnimeFrames == 0) {
        DrawBand(ScreenFrame);
        if (CharacterCell != NoCharacter && CharacterCell >= 0 && CharacterCell <= LastCell) {
            const layout::Placement& c = layout::Character;
            kaDraw::BltTransparent(c.x, c.y, CharacterSheetId, c.width * CharacterCell, 0,
                                   c.width * CharacterCell + c.width, c.height);
        }
        return;
    }
    AnimeClock += float(AnimeSpeed) * FrameSeconds;
    DrawBand(AnimeFrame, AnimeColumn);
    if (AnimeClock >= 10.0f) {
        AnimationTick();
        AnimeClock -= 10.0f;
    }
}

// An open choice or quit prompt has the message window to itself: its prompt is drawn
// there, whole, every frame, and the text layer may still hold another text (the system
// menu's).
bool MessageWindowShowsLine() { return StoryState != ChoiceOpen && !QuitPromptOpen; }

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

void DrawTextArea(const layout::TextArea& a, const char* text) {
    kaDraw::DrawTextBlock(a.x, a.y, a.right, a.bottom, text, 0);
}

// More options than fit on the screen are never drawn; the bound keeps a bad count from
// running long.
static int ShownOptions(int count) { return std::clamp(count, 0, layout::ChoiceRowsMost); }

// The prompt line of a choice of count options whose command: line is line + 1.
static int PromptLine(int count, int line) { return line + 2 + ShownOptions(count); }

// The options of the story choice that is open: the count its command: line gives.
static int StoryChoiceCount() { return ReadNumberAt(LineText(CurrentLine + 1), 8); }

int OpenChoiceOptions() {
    if (QuitPromptOpen) return QuitPromptOptions;
    return StoryState == ChoiceOpen ? ShownOptions(StoryChoiceCount()) : 0;
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
            SpeakLineClip(LineText(line + 2 + i) + 5);
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
    MessageLayoutReplaced();
    kaDraw::SelectTextFont(EngineText(TextGothic), layout::ChoiceTextSize);
    kaDraw::SetTextColours(0xFFFFFF, 0, 1);
    for (int i = 0; i < count; ++i) DrawTextArea(layout::ChoiceOption(i), LineText(line + 2 + i) + 5);
    kaDraw::EndTextDrawing();
    kaDraw::SelectTextFont(EngineText(TextMincho), layout::ChoiceTextSize);
    kaDraw::SetTextColours(0xFFFFFF, 0, 1);
    DrawTextArea(layout::ChoicePrompt, LineText(PromptLine(count, line)));
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
        SpeakLineClip(LineText(PromptLine(2, QuitPromptLine)));
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

        bool resume = ResumeAtLoadedLine && StoryState != ChoiceOpen;
        ResumeAtLoadedLine = false;
        if (resume || (click && StoryState != ChoiceOpen && !QuitPromptOpen)) {
            // A press past a shown prose line reads it; a click of held Ctrl or of skip
            // mode does not.
            if (!OptionClickIgnored && LaidOutLine == CurrentLine &&
                MatchKeyword(LineText(CurrentLine)) == KwNone)
                MarkLineRead(CurrentLine);
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
            ForgetReplacedLine();  // the line a step stops at is shown afresh
            StoryState = ShowingProse;
            if (!resume) MoveToNextLine();
            WaveEffect = false;
            StepVoiceLine = -1;
            StepEnd end = ExecuteLines();
            if (end == StepEndsMode) return;
            if (end == StepOpensChoice)
                SpeakLineClip(LineText(PromptLine(ReadNumberAt(LineText(CurrentLine + 1), 8), CurrentLine)));
            if (end == StepShowsLine) {
                ShownTextSize = TextSize;
                // With self-voicing on, a line no clip of its own speaks is narrated,
                // as its voice.
                std::string narration = StepVoiceLine < 0 ? NarrationClip(CurrentLine) : "";
                if (!narration.empty()) PlayNarration(narration.c_str());
                RecordShownLine(CurrentLine, TextSize, StepVoiceLine);
                // While the line is read, the picture of the step after it is decoded.
                if (const char* picture = NextStepPicture()) kaDraw::ReadAheadObject(picture);
            }
        }

        if (StoryState == ShowingOverWindow) {
            BltOpaqueAt(layout::WindowBack, WindowBackId);
            BltTransparentAt(layout::WindowFrame, WindowFrameId);
        }
        bool showsLine = MessageWindowShowsLine();
        if (showsLine) ShowLine(CurrentLine, 0, ShownTextSize);
        DrawPicture();
        BltTransparentAt(layout::Panel, InterfacePicture[PicPanel]);
        SpeakPanelButtonReached();
        BltTransparentAt(layout::MessageFrame, InterfacePicture[PicMessage]);
        if (showsLine && RevealText(MessageSpeed == 0.0f ? 0.0f : MessageSpeed * 0.01f) &&
            LaidOutLine == CurrentLine)
            MarkLineRead(CurrentLine);  // all its characters are out

        if (StoryState == ChoiceOpen) {
            int r = ChoiceMenu(StoryChoiceCount(), CurrentLine, click);
            if (r != 0) {
                GoToLine(r);
                StoryState = ShowingProse;
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

void StoryFrame(StepCause cause, bool skipping) {
    if (cause == StepBySkip) OptionClickIgnored = true;
    PointerHidden = cause != StepOnClick;
    StoryFrameOnce(cause != StepOnClick || FrameInput().LeftClick, skipping);
    PointerHidden = false;
    OptionClickIgnored = PanelClickIgnored = false;
}

void TakeStorySnapshot(StorySnapshot* out) {
    StorySnapshot& s = *out;
    s.line = CurrentLine;
    std::copy(FlagTable, FlagTable + FlagCount, s.flags);
    std::snprintf(s.picture, sizeof s.picture, "%s", BackgroundName);
    s.storyState = StoryState;
    s.screenFrame = ScreenFrame;
    s.characterCell = CharacterCell;
    s.waveEffect = WaveEffect;
    s.wavePhase = kaDraw::WavePhaseDegrees();
    s.animeFrames = AnimeFrames;
    s.animeFrame = AnimeFrame;
    s.animeLoop = AnimeLoop;
    s.animeFramesSaved = AnimeFramesSaved;
    s.animeSpeed = AnimeSpeed;
    s.animeColumn = AnimeColumn;
    s.animeBackward = AnimeBackward;
    s.animeClock = AnimeClock;
    s.textSize = ShownTextSize;
    std::snprintf(s.music, sizeof s.music, "%s", RequestedMusic);
    s.musicLoops = RequestedMusic[0] && RequestedMusicLoops;
    s.random = RandomState();
}

// The music is asked for again from its start, as midi_play: would ask for it.
static void RestoreMusic(const char* name, bool loops) {
    std::snprintf(RequestedMusic, sizeof RequestedMusic, "%s", name);
    RequestedMusicLoops = loops;
    if (!name[0]) {
        kaMusic::StopMusic();
        return;
    }
    if (MusicOff == 0) kaMusic::PlayMusic(name, loops ? 1 : 0);
    kaMusic::SetMusicVolume(-6);
}

void RestoreStorySnapshot(const StorySnapshot& s) {
    GoToLine(s.line);
    std::copy(s.flags, s.flags + FlagCount, FlagTable);
    if (!s.picture[0]) {
        if (BackgroundId > kaDraw::FontBufferSprite) kaDraw::ReleaseObject(BackgroundId);
        BackgroundId = 0;
        BackgroundName[0] = '\0';
    } else if (BackgroundId == 0 || std::strcmp(s.picture, BackgroundName) != 0) {
        LoadStoryPicture(s.picture);
    }
    // A choice is open only where one opens next; EnterLoadedLine settles the rest.
    StoryState = s.storyState == ShowingOverWindow                        ? ShowingOverWindow
                 : s.storyState == ChoiceOpen && ChoiceOpensAfter(s.line) ? ChoiceOpen
                                                                          : ShowingProse;
    ScreenFrame = s.screenFrame;
    CharacterCell = s.characterCell;
    WaveEffect = s.waveEffect;
    kaDraw::SetWavePhaseDegrees(s.wavePhase);
    AnimeFrames = s.animeFrames;
    AnimeFrame = s.animeFrame;
    AnimeLoop = s.animeLoop;
    AnimeFramesSaved = s.animeFramesSaved;
    AnimeSpeed = s.animeSpeed;
    AnimeColumn = s.animeColumn;
    AnimeBackward = s.animeBackward;
    AnimeClock = s.animeClock;
    ShownTextSize = HeldTextSize(s.textSize);
    RestoreMusic(s.music, s.musicLoops);
    SetRandomState(s.random);
}

void GoToLineForTest(int line) { GoToLine(line); }
int32_t FlagForTest(int index) { return IsFlagIndex(index) ? FlagTable[index] : 0; }
void SetFlagForTest(int index, int32_t value) {
    if (IsFlagIndex(index)) FlagTable[index] = value;
}
int StoryPictureForTest() { return BackgroundId; }
int AnimeFramesSavedForTest() { return AnimeFramesSaved; }
int AnimeColumnForTest() { return AnimeColumn; }
float AnimeClockForTest() { return AnimeClock; }
