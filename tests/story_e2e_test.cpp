// The whole game on the headless backend with the real modules, driven by scripted
// clicks on a virtual clock: the engine on a small script of its own, and the shipped
// story through every branch.
#include <functional>
#include <set>

#include "sound/kaMusic.h"
#include "tests/engine_script.h"
#include "tools/asset_lists.h"

using namespace storytest;

namespace {

class EndToEnd : public gametest::GameTest {
protected:
    EndToEnd() : GameTest("story_") {}

    void SetUp() override {
        GameTest::SetUp();
        CopyAllAssets();
        PointAt(639, 473);  // the pointer sprite stays out of the way
        StartGame();
        ResetFrameTimer();
    }
    // One frame of the main loop, ms after the last on the virtual clock.
    void Frame(uint32_t ms = 16) { RunFrameAfter(ms); }
    void Click(int x, int y) {
        PointAt(x, y);
        InputState.LeftClick = 1;
        Frame();
        PointAt(639, 473);
    }
    void RightClick() { InputState.RightClick = 1, Frame(); }
    uint32_t Pixel(int x, int y) { return headless::LastFrame()->Pixel(x, y); }
    std::string File(const char* name) { return ReadFile(dir / name); }
    // Pixel (x, y) of a picture of the game folder, decoded as the game decodes it.
    uint32_t Shown(const char* name, int x, int y) {
        std::string bytes = File(name);
        kaDraw::Surface* s = kaDraw::DecodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                               kaDraw::FormatXRGB8888);
        EXPECT_NE(s, nullptr) << name;
        uint32_t p = s ? kaDraw::ReadPixel(s, x, y) & 0xFFFFFF : 0;
        kaDraw::FreeSurface(s);
        return p;
    }
    // Pixels of colour (or, with colour 0, light ones) in a rectangle of the last frame.
    int Count(int x0, int y0, int x1, int y1, uint32_t colour = 0) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                uint32_t p = Pixel(x, y);
                n += colour ? p == colour
                            : (p & 0xFF) > 0x80 && ((p >> 8) & 0xFF) > 0x80 && (p >> 16) > 0x80;
            }
        return n;
    }
    int TextPixels() { return Count(10, 385, 590, 413); }
    // The file name of the story's picture, "" before one.
    static std::string PictureName() {
        int id = StoryPictureForTest();
        return id > 0 ? kaDraw::ObjectTable[id].name : "";
    }
    // What a load in a new run does to the flags: none is kept.
    static void ForgetFlags() {
        for (int i = 0; i < FlagCount; ++i) SetFlagForTest(i, 0);
    }
};

TEST_F(EndToEnd, ThePlayerReadsBothBranchesUsesTheMenuAndReachesTheEnd) {
    UseEngineScript(dir);
    EXPECT_TRUE(GameStarted());

    // The logo: 25 steps of a shaking picture, then the notice. Its first frame waits
    // for no other picture; the second has them all.
    int frames = 0, logoSeen = 0, logoId = InterfacePicture[PicAcross];
    EXPECT_GE(logoId, 4);
    EXPECT_EQ(InterfacePicture[PicTit], 0);
    for (; GetGameMode() == ModeLogo && frames < 1000; ++frames) {
        Frame(130);
        logoSeen += Count(157, 179, 482, 294);  // the light of the logo where it is drawn
        for (int i = 1; frames == 1 && i < InterfacePictureCount; ++i)
            EXPECT_GE(InterfacePicture[i], 4) << i;
    }
    EXPECT_EQ(File("tit.sad").substr(0, 2), "  ") << "the asset's blanked header is put back";
    EXPECT_EQ(frames, 25);
    EXPECT_GT(logoSeen, 0);
    EXPECT_EQ(kaDraw::ObjectTable[logoId].surface, nullptr)
        << "the logo picture is released when the logo ends";
    EXPECT_EQ(InterfacePicture[PicAcross], 0) << "and its id forgotten";
    Frame();
    EXPECT_EQ(Pixel(290, 230), Shown("expr.sad", 200, 80)) << "the notice picture";
    Click(320, 240);
    Frame();
    EXPECT_EQ(GetGameMode(), ModeTitle);
    EXPECT_EQ(Pixel(300, 220), Shown("tit.sad", 300, 220)) << "the title picture";

    Click(320, 240);  // the title's click is the story's first step
    EXPECT_EQ(CurrentLine, 9);
    Frame();
    EXPECT_EQ(Pixel(10, 10), SceneZeroBand(0)) << "band 0 of sc0.sad";
    EXPECT_EQ(Pixel(490, 10), Shown("panel.sad", 16, 10)) << "the side panel";
    EXPECT_EQ(Pixel(600, 460), Shown("message.sad", 607, 85)) << "the message frame";
    EXPECT_EQ(kaMusic::MusicPlaying, 1);

    // The next line comes out a character a frame at speed 1.
    Click(320, 240);
    EXPECT_EQ(CurrentLine, 11);
    EXPECT_EQ(TextPixels(), 0) << "a new line shows nothing in its first frame";
    Frame();
    Frame();
    int early = TextPixels();
    EXPECT_GT(early, 0);
    for (int i = 0; i < 30; ++i) Frame();
    EXPECT_GT(TextPixels(), 3 * early) << "the rest of the line has come out";
    Click(320, 240);
    EXPECT_EQ(CurrentLine, 18) << "flags set, switch jumped over line 16";
    EXPECT_EQ(FlagForTest(2), 5);
    Click(320, 240);
    EXPECT_TRUE(WaveEffect);

    int firstPicture = StoryPictureForTest();
    Click(320, 240);
    EXPECT_EQ(CurrentLine, 26);
    EXPECT_EQ(kaDraw::ObjectTable[firstPicture].surface, nullptr)
        << "the previous file: picture is released";
    std::vector<int> bands = {0};
    for (int i = 0; i < 30; ++i, Frame(50))
        for (int k = 0; k < 5; ++k)
            if (Pixel(10, 10) == SceneOneBand(k) && bands.back() != k) bands.push_back(k);
    EXPECT_GE(bands.size(), 5u) << "the ping-pong animation shows its bands in turn";
    EXPECT_EQ(bands[1], 1);

    Click(320, 240);
    Click(320, 240);
    EXPECT_EQ(CurrentLine, 33) << "save: recorded the label that load: went on after";

    // Save in slot 0, the notice, then the step that opens the choice.
    RightClick();
    EXPECT_EQ(Pixel(20, 20), Shown("savaback.sad", 20, 20)) << "the system menu's page";
    Click(195, 100);
    EXPECT_EQ(File("z_save0.sdt"), "01,040,001,001,001,33\r\n");
    EXPECT_EQ(MenuNoticeForTest(), MenuSaved);
    Click(320, 240);
    EXPECT_EQ(StoryState, ChoiceOpen);
    Frame();
    EXPECT_EQ(Pixel(70, 100), Shown("comwin.sad", 12, 10)) << "the choice box";

    Click(300, 160);  // the first branch
    EXPECT_EQ(CurrentLine, 41);

    // Message speed 0: written, back to the story with one step.
    RightClick();
    Click(175, 262);
    EXPECT_EQ(File("owlsys.ini"), "0,0,\r\n");
    EXPECT_EQ(MessageSpeed, 0.0f);
    EXPECT_EQ(CurrentLine, 49);

    // Music off: written, back without a step.
    RightClick();
    Click(250, 337);
    EXPECT_EQ(File("owlsys.ini"), "0,1,\r\n");
    EXPECT_EQ(CurrentLine, 49);
    for (int i = 0; i < 60; ++i) Frame();
    EXPECT_GT(TextPixels(), 0) << "the story's line is shown again";
    EXPECT_EQ(Count(170, 50, 470, 120, 0xFFFFFF), 0) << "no menu text is left over the story";

    // Load slot 0: back before the choice; the notice's click shows the saved line, the
    // next one reopens the choice.
    RightClick();
    Click(180, 182);
    EXPECT_EQ(MenuNoticeForTest(), MenuLoaded);
    EXPECT_EQ(CurrentLine, 33);
    Click(320, 240);
    EXPECT_EQ(CurrentLine, 33);
    Click(320, 240);
    EXPECT_EQ(StoryState, ChoiceOpen);

    Click(300, 200);  // the second branch, on sc0.sad's second band
    EXPECT_EQ(CurrentLine, 47);
    EXPECT_EQ(kaMusic::MusicPlaying, 0);
    Frame();
    EXPECT_EQ(Pixel(10, 10), SceneZeroBand(1));

    Click(320, 240);
    Click(320, 240);
    EXPECT_EQ(GetGameMode(), ModeEnd);
    EXPECT_EQ(Shell.ShutdownDone, 1);
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

// The panel's two buttons, the menu's bottom row (where quit and return overlap, return
// wins), and the menu's quit.
TEST_F(EndToEnd, ThePanelAndTheMenusBottomRowLeadWhereTheySayAndTheSpeedIsKept) {
    for (int i = 0; i < 1000 && GetGameMode() == ModeLogo; ++i) Frame(130);
    Click(320, 240);
    Click(320, 240);
    ASSERT_EQ(GetGameMode(), ModeStory);
    int line = CurrentLine;
    Click(580, 336);  // the panel's quit button: the prompt, no step
    EXPECT_TRUE(QuitPromptOpen);
    EXPECT_EQ(CurrentLine, line);
    Frame();
    EXPECT_GT(Count(80, 140, 512, 175, 0xFFFFFF), 0) << "the prompt's options are drawn";
    Click(300, 200);  // もう少し続ける
    EXPECT_FALSE(QuitPromptOpen);
    EXPECT_EQ(CurrentLine, line) << "the prompt's back made no step";
    Click(570, 270);  // the panel's menu button
    EXPECT_TRUE(SystemMenuOpen);
    Frame();
    EXPECT_EQ(GetGameMode(), ModeSystemMenu);
    EXPECT_EQ(Pixel(20, 20), Shown("savaback.sad", 20, 20)) << "the system menu's page";
    EXPECT_EQ(CurrentLine, line) << "the menu button made no step";
    Click(170 + 63 * 3 + 10, 262);
    EXPECT_EQ(File("owlsys.ini"), "3,0,\r\n");
    struct Bottom {
        int x, mode;
    } bottoms[] = {{330, ModeStory}, {480, ModeStory}, {200, ModeEnd}};  // overlap, return, quit
    for (const Bottom& b : bottoms) {
        RightClick();
        ASSERT_EQ(GetGameMode(), ModeSystemMenu);
        Click(b.x, 380);
        EXPECT_EQ(GetGameMode(), b.mode) << b.x;
        EXPECT_EQ(Shell.ShutdownDone, b.mode == ModeEnd) << b.x;
    }
    ResetShellState();
    ResetStoryState();
    StartGame();
    EXPECT_EQ(MessageSpeed, 3.0f);
}

// Positions in the shipped story come from the script itself: its choices open where
// they open, and the lines the first choice changes follow its switch: lines.
struct StoryRun {
    std::vector<int> shown;             // the line each step stopped at, in order
    std::vector<std::string> pictures;  // the picture under each of them
    bool clearedAtStart = false;        // flags and loop mode clear when the first line shows
    bool titleAgain = false;            // back at the title after the end, and the title drawn
};

// The first prose line at or after line i of the shipped script.
int ProseFrom(int i) {
    while (MatchKeyword(ShippedScript[i]) != KwNone) ++i;
    return i;
}

// The lines a run of switch: lines from line first may lead to: the line after the run
// and the line after each label it names.
std::set<int> SwitchOutcomes(int first) {
    int last = first;
    while (std::strncmp(ShippedScript[last + 1], "switch:", 7) == 0) ++last;
    std::set<int> outcomes = {ProseFrom(last + 1)};
    for (int i = first; i <= last; ++i) outcomes.insert(ProseFrom(ReadNumberAt(ShippedScript[i], 13) + 1));
    return outcomes;
}

// The first line of outcomes that the run showed, or -1.
int ShownOf(const StoryRun& run, const std::set<int>& outcomes) {
    for (int line : run.shown)
        if (outcomes.count(line)) return line;
    return -1;
}

// The picture under the first showing of the line, or "" when the run did not show it.
std::string PictureAt(const StoryRun& run, int line) {
    for (size_t i = 0; i < run.shown.size(); ++i)
        if (run.shown[i] == line) return run.pictures[i];
    return "";
}

class ShippedStory : public EndToEnd {
protected:
    // Plays the story from the title, taking option `first` at the first choice and
    // `second` at the second; with forget, the flags are cleared after the first choice,
    // as loading a save clears them. `shown` is called at each line shown.
    StoryRun Play(int first, int second, bool forget, const std::function<void()>& shown = {}) {
        StoryRun run;
        if (GetGameMode() != ModeTitle) SetGameMode(ModeTitle);  // the first run
        InputState.LeftClick = 0;  // the flag the start-up leaves set
        Frame();
        int choices = 0;
        for (int step = 0; step < 2 * ScriptLineCount && (step == 0 || GetGameMode() == ModeStory); ++step) {
            if (StoryState == ChoiceOpen) {
                Click(300, 140 + 40 * (choices++ ? second : first) + 17);
                if (forget && choices == 1) ForgetFlags();
            } else {
                Click(300, 360);  // below the option rows, left of the panel
            }
            if (GetGameMode() != ModeStory || StoryState == ChoiceOpen) continue;
            if (run.shown.empty()) run.clearedAtStart = FlagForTest(1) == 0 && FlagForTest(2) == 0 && AnimeLoop == 0;
            run.shown.push_back(CurrentLine);
            run.pictures.push_back(PictureName());
            if (shown) shown();
            EXPECT_LE(kaDraw::TextRects[0].bottom, 474) << "line " << CurrentLine << " leaves the window";
        }
        if (GetGameMode() == ModeTitle) {
            Frame();
            run.titleAgain = Pixel(300, 220) == Shown("tit.sad", 300, 220);
        }
        EXPECT_EQ(Shell.ShutdownDone, 0) << "the end returns to the title";
        EXPECT_EQ(choices, 2);
        return run;
    }
};

// The prose lines of the end card: from its label to the end: that returns to the title.
std::vector<int> CardLines() {
    std::vector<int> lines;
    for (int i = FindLabelIn(ShippedScript, "card"); MatchKeyword(ShippedScript[i]) != KwEnd; ++i)
        if (MatchKeyword(ShippedScript[i]) == KwNone) lines.push_back(i);
    return lines;
}

// The first choice changes lines and pictures later on; after a load, which forgets it,
// the story takes the lines and pictures that read right whatever was chosen (the
// plain ones). Every path ends with the end card and comes back to the title, and the
// next run starts clean.
TEST_F(ShippedStory, EveryBranchEndsWithTheCardAndTheTitleAndTheFirstChoiceChangesLaterLines) {
    UseScriptTable(nullptr);
    std::vector<std::set<int>> switched;  // where each run of switch: lines may lead
    // The line after a switch: that only picks a picture, and the plain picture it falls
    // through to when no flag is set.
    std::vector<std::pair<int, std::string>> pictureSwitched;
    for (int i = 6; ShippedScript[i][0]; ++i)
        if (std::strncmp(ShippedScript[i], "switch:", 7) == 0 &&
            std::strncmp(ShippedScript[i - 1], "switch:", 7) != 0) {
            std::set<int> outcomes = SwitchOutcomes(i);
            int plain = i;
            while (MatchKeyword(ShippedScript[plain]) != KwFile) ++plain;
            if (outcomes.size() > 1) switched.push_back(outcomes);
            else pictureSwitched.push_back({*outcomes.begin(), ShippedScript[plain] + 5});
        }
    ASSERT_FALSE(switched.empty());
    ASSERT_FALSE(pictureSwitched.empty());
    std::vector<int> card = CardLines();
    ASSERT_GE(card.size(), 3u);
    const int firstLine = ProseFrom(6);
    for (int second : {0, 1}) {
        StoryRun coat = Play(0, second, false), tea = Play(1, second, false);
        StoryRun forgotten = Play(0, second, true);
        for (const StoryRun* run : {&coat, &tea, &forgotten}) {
            EXPECT_EQ(run->shown.front(), firstLine);
            EXPECT_TRUE(run->clearedAtStart) << "what the run before left is cleared";
            ASSERT_GE(run->shown.size(), card.size());
            EXPECT_EQ(std::vector<int>(run->shown.end() - long(card.size()), run->shown.end()), card)
                << "branch " << second << ": the end card is not the end";
            EXPECT_TRUE(run->titleAgain) << "branch " << second << " stopped at line " << CurrentLine;
        }
        int changed = 0;
        for (const std::set<int>& outcomes : switched) {
            int a = ShownOf(coat, outcomes), b = ShownOf(tea, outcomes);
            if (a < 0 && b < 0) continue;  // a switch: of the other branch
            ASSERT_TRUE(a >= 0 && b >= 0) << "only one path reached line " << std::max(a, b);
            EXPECT_STRNE(ShippedScript[a], ShippedScript[b]) << "line " << a << " on both paths";
            EXPECT_TRUE(outcomes.count(ShownOf(forgotten, outcomes))) << "line " << a;
            ++changed;
        }
        EXPECT_GE(changed, 2) << "branch " << second;
        for (const auto& [line, plain] : pictureSwitched) {
            std::string a = PictureAt(coat, line), b = PictureAt(tea, line);
            if (a.empty() && b.empty()) continue;  // the other branch's
            EXPECT_NE(a, b) << "line " << line << " shows " << a << " on both paths";
            EXPECT_EQ(PictureAt(forgotten, line), plain) << "line " << line;
            ++changed;
        }
        EXPECT_GE(changed, 4) << "branch " << second;
    }
    EXPECT_TRUE(headless::MessageBoxes().empty()) << headless::MessageBoxes().front().text;
}

// The message window lets 、。…」 and a few more hang past the right limit; any other
// character that crosses it begins the next row. No row of the story may begin with
// what closes a phrase: a 」 left alone below its speech, a ？ or a second ….
TEST_F(ShippedStory, NoRowOfTheMessageWindowBeginsWithClosingPunctuation) {
    UseScriptTable(nullptr);
    const std::set<uint32_t> hangs = {0x3001, 0x3002, 0xFF0C, 0xFF0E, 0x30FB, 0x2026, 0x2025, 0x201D,
                                      0x2019, 0xFF08, 0x300D, 0x2C,   0x2E,   0x3000, 0x20};
    const std::set<uint32_t> closes = {0x3001, 0x3002, 0xFF0C, 0xFF0E, 0x30FB, 0x2026, 0x2025, 0x300D,
                                       0x300F, 0xFF09, 0xFF1F, 0xFF01, 0x201D, 0x2019};
    int size = 28, skip = 0, checked = 0;
    for (int i = 6; ShippedScript[i][0]; ++i) {
        Keyword k = MatchKeyword(ShippedScript[i]);
        if (k == KwSize) size = ReadNumberAt(ShippedScript[i], ArgumentOffset(k));
        if (k == KwCommand) skip = ReadNumberAt(ShippedScript[i], 8) + 1;  // its options and prompt
        if (k != KwNone || (skip && skip--)) continue;
        MessageLayoutReplaced();
        ShowLine(i, 0, size);
        size = 28;
        ++checked;
        std::vector<uint32_t> chars;
        const char* text = ShippedScript[i];
        for (size_t p = 0, n = std::strlen(text); p < n;) {
            int length = SjisCharLength(text + p, n - p);
            chars.push_back(SjisDecodeChar(text + p, length));
            p += size_t(length);
        }
        // Rectangle r is character j, but for a character that hung at the end of a row
        // and has none.
        for (int r = 1, j = 0; r < kaDraw::TextRectCount && j < int(chars.size()); ++r, ++j) {
            if (r == 1 || kaDraw::TextRects[r].top == kaDraw::TextRects[r - 1].top) continue;
            if (hangs.count(chars[size_t(j)])) ++j;
            EXPECT_FALSE(j < int(chars.size()) && closes.count(chars[size_t(j)]))
                << "line " << i << ": a row begins with U+" << std::hex << chars[size_t(j)] << std::dec;
        }
    }
    EXPECT_GT(checked, 400);
}

// Every picture of the list is shown by one of the paths, with the line's text lit in
// the message frame below it; the first screen of each is kept for a person to look at.
TEST_F(ShippedStory, EveryListedPictureIsShownWithItsLine) {
    UseScriptTable(nullptr);
    std::vector<PictureEntry> list;
    ASSERT_EQ(ReadPictureList(AKARI_PICTURE_LIST, &list), "");
    std::filesystem::path screens = std::filesystem::path(AKARI_TEST_OUTPUT_DIR) / "story_screens";
    std::filesystem::create_directories(screens);
    std::set<std::string> seen;
    auto photograph = [&] {
        std::string name = PictureName();
        if (name.empty() || !seen.insert(name).second) return;
        for (int i = 0; i < 250; ++i) Frame();  // the whole line revealed
        EXPECT_GT(TextPixels(), 200) << "the line over " << name;
        EXPECT_TRUE(headless::SaveLastFrameAsPng((screens / (name + ".png")).string()));
    };
    // Both options at both choices, and a run that forgets the first (as after a load),
    // which is the only way to sc11.
    for (int second : {0, 1})
        for (int first : {0, 1}) Play(first, second, false, photograph);
    Play(0, 0, true, photograph);
    for (const PictureEntry& e : list) EXPECT_TRUE(seen.count(e.file)) << e.file << " is never shown";
}

}  // namespace
