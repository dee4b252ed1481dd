// The shipped story played through the program's own message loop on the virtual clock,
// with a fixed seed, driven only through window events: the opening, the backlog, auto
// mode, the quit prompt, Return, held Ctrl and the menu, then six paths to the end card
// and back to the title. Every picture sent, with its time, is compared with
// tests/golden/shipped_story_frames.txt. A change meant to change the screens rewrites it
// (AKARI_WRITE_GOLDEN=1 build/tests/akari_tests --gtest_filter='ShippedStory.*').
#include <cstring>
#include <fstream>
#include <set>

#include "base/random.h"
#include "draw/sjis.h"
#include "tests/game_test.h"
#include "tools/asset_lists.h"
#include "tools/png_file.h"

using namespace gametest;

namespace {

const char* const GoldenFile = AKARI_GOLDEN_DIR "/shipped_story_frames.txt";
constexpr unsigned Seed = 1848;
// Each choice's option rows start at y 140, 40 pixels apart; x 300 is left of the panel.
constexpr int RowX = 300, FirstRowY = 157, SecondRowY = 197;
// A story that does not come back to the title within this many clicks never will.
constexpr int MaxClicksPerEnding = 3000;

struct StoryRun {
    std::vector<int> shown;             // the lines the run stopped at, in order
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

// The prose lines of the end card: from its label to the end: that returns to the title.
std::vector<int> CardLines() {
    std::vector<int> lines;
    for (int i = FindLabelIn(ShippedScript, "card"); MatchKeyword(ShippedScript[i]) != KwEnd; ++i)
        if (MatchKeyword(ShippedScript[i]) == KwNone) lines.push_back(i);
    return lines;
}

class ShippedStory : public GameTest {
protected:
    std::vector<std::string> steps;  // one line per step: what, frames sent, their hash
    size_t folded = 0;               // presented frames already in a step
    std::vector<StoryRun> runs;      // one per start from the title
    bool photographing = false;      // on the six paths, where every line is out at once
    std::set<std::string> photographed;
    const std::filesystem::path screens = std::filesystem::path(AKARI_TEST_OUTPUT_DIR) / "story_screens";

    ShippedStory() : GameTest("golden_") {}

    void SetUp() override {
        GameTest::SetUp();
        CopyAllAssets();
        std::filesystem::create_directories(screens);
    }

    static uint32_t Now() { return plat::Milliseconds(); }
    static void Push(const plat::Event& ev) { headless::PushEvent(ev); }
    static void RunFor(uint32_t ms) {
        uint32_t until = Now() + ms;
        while (int32_t(Now() - until) < 0 && RunLoopPass()) {
        }
    }
    static std::string PictureName() {
        int id = StoryPictureForTest();
        return id > 0 ? kaDraw::ObjectTable[id].name : "";
    }

    // Closes a step: the frames sent since the last one, and one hash over their
    // pictures and the times they were sent at.
    void Step(const std::string& what) {
        const std::vector<uint64_t>& h = headless::PresentedHashes();
        const std::vector<uint32_t>& t = headless::PresentedTimes();
        uint64_t hash = 14695981039346656037u;
        for (size_t i = folded; i < h.size(); ++i) {
            hash = (hash ^ h[i]) * 1099511628211u;
            hash = (hash ^ t[i]) * 1099511628211u;
        }
        char line[160];
        std::snprintf(line, sizeof line, "%-28s %5zu %016llx", what.c_str(), h.size() - folded,
                      static_cast<unsigned long long>(hash));
        steps.push_back(line);
        folded = h.size();
    }

    // Notes the line the story stopped at; the first time a picture shows on the paths,
    // its line must be lit below it, and the screen is kept for a person to look at.
    void Observe() {
        if (runs.empty() || GetGameMode() != ModeStory || CurrentScene().storyState == ChoiceOpen || BacklogOpen ||
            QuitPromptOpen || (!runs.back().shown.empty() && runs.back().shown.back() == CurrentScene().line))
            return;
        StoryRun& run = runs.back();
        if (run.shown.empty()) run.clearedAtStart = FlagForTest(1) == 0 && FlagForTest(2) == 0 && CurrentScene().animeLoop == 0;
        run.shown.push_back(CurrentScene().line);
        run.pictures.push_back(PictureName());
        EXPECT_LE(MessageLayout().rects[0].bottom, 474) << "line " << CurrentScene().line << " leaves the window";
        const std::string& name = run.pictures.back();
        if (!photographing || name.empty() || !photographed.insert(name).second) return;
        EXPECT_GT(TextPixels(), 200) << "the line over " << name;
        const headless::Frame* frame = headless::LastFrame(0);
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(WritePngFile((screens / (name + ".png")).string(), frame->width, frame->height,
                                 frame->pixels.data()));
    }
    void Click(int x, int y, int button, uint32_t ms, const std::string& what) {
        if (GetGameMode() == ModeTitle && button == 1) runs.emplace_back();  // a new run
        Push({plat::EvPointerMove, x, y, 0, 0, {}});
        Push({plat::EvButtonDown, x, y, button, 1, {}});
        RunFor(ms);
        Observe();
        Step(what);
    }
    void Key(plat::Key key, uint32_t ms, const std::string& what) {
        Push({plat::EvKeyDown, 0, 0, 0, 0, key});
        RunFor(ms);
        Observe();
        Step(what);
    }
    // Clicks until the story is back at the title, on the row of option `first` up to the
    // first choice and of `second` after it; with forget, the flags are cleared after the
    // first choice, as loading a save clears them. False when it never comes back. (The
    // title's picture alone cannot tell: its つづきから lights once a save is there.)
    bool PlayToTheTitle(int first, int second, bool forget, const char* path) {
        photographing = true;
        for (int n = 1, choices = 0; n <= MaxClicksPerEnding; ++n) {
            bool choosing = CurrentScene().storyState == ChoiceOpen && GetGameMode() == ModeStory;
            Click(RowX, (choices ? second : first) ? SecondRowY : FirstRowY, 1, 150,
                  std::string(path) + " click " + std::to_string(n));
            if (choosing && ++choices == 1 && forget)
                for (int i = 0; i < FlagCount; ++i) SetFlagForTest(i, 0);
            if (GetGameMode() != ModeTitle) continue;
            runs.back().titleAgain = headless::LastFrame()->Pixel(60, 60) == PicturePixel(dir / "tit.sad", 60, 60);
            EXPECT_EQ(Shell.ShutdownDone, 0) << "the end returns to the title";
            EXPECT_EQ(choices, 2) << path;
            return true;
        }
        return false;
    }

    void Compare() {
        std::string written;
        for (const std::string& s : steps) written += s + "\n";
        const char* rewrite = std::getenv("AKARI_WRITE_GOLDEN");
        if (rewrite && rewrite[0] == '1') {
            std::ofstream(GoldenFile, std::ios::binary) << written;
            std::printf("akari: wrote %s (%zu steps)\n", GoldenFile, steps.size());
            return;
        }
        std::ifstream in(GoldenFile, std::ios::binary);
        ASSERT_TRUE(in) << GoldenFile << " is missing: AKARI_WRITE_GOLDEN=1 writes it";
        std::vector<std::string> golden;
        for (std::string line; std::getline(in, line);) golden.push_back(line);
        for (size_t i = 0; i < steps.size() && i < golden.size(); ++i)
            ASSERT_EQ(steps[i], golden[i]) << "the first step whose frames differ, step " << i + 1
                                           << " (what / frames sent / hash of them)";
        EXPECT_EQ(steps.size(), golden.size()) << "steps run and steps kept";
    }

    // The first choice changes lines and pictures later on; after a load, which forgets
    // it, the story takes the lines and pictures that read right whatever was chosen (the
    // plain ones). Every path ends with the end card and comes back to the title, and the
    // next run starts clean. Every listed picture is shown.
    void CheckPaths() {
        std::vector<std::set<int>> switched;  // where each run of switch: lines may lead
        // The line after a switch: that only picks a picture, and the plain picture it
        // falls through to when no flag is set.
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
        const std::vector<int> card = CardLines();
        ASSERT_GE(card.size(), 3u);
        ASSERT_EQ(runs.size(), 6u);
        for (const StoryRun& run : runs) {
            EXPECT_EQ(run.shown.front(), ProseFrom(6));
            EXPECT_TRUE(run.clearedAtStart) << "what the run before left is cleared";
            ASSERT_GE(run.shown.size(), card.size());
            EXPECT_EQ(std::vector<int>(run.shown.end() - long(card.size()), run.shown.end()), card)
                << "the end card is not the end";
            EXPECT_TRUE(run.titleAgain);
        }
        // The paths by their second option: the first option 0, 1, then forgotten.
        const StoryRun* paths[2][3] = {{&runs[0], &runs[2], &runs[4]}, {&runs[3], &runs[1], &runs[5]}};
        for (int second : {0, 1}) {
            const StoryRun &coat = *paths[second][0], &tea = *paths[second][1], &forgotten = *paths[second][2];
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
        std::vector<PictureEntry> list;
        ASSERT_EQ(ReadPictureList(AKARI_PICTURE_LIST, &list), "");
        for (const PictureEntry& e : list) EXPECT_TRUE(photographed.count(e.file)) << e.file << " is never shown";
    }
};

TEST_F(ShippedStory, EveryPathEndsWithTheCardAndEveryFrameIsTheOneKept) {
    ASSERT_EQ(OpenGame(), 1);
    SeedRandom(Seed);  // the logo's jitter and the animations' chances
    Push({plat::EvFocusGained, 0, 0, 0, 0, {}});
    Push({plat::EvPointerMove, RowX, FirstRowY, 0, 0, {}});
    RunFor(4000);
    Step("logo and notice");
    EXPECT_EQ(InterfacePicture[PicAcross], 0) << "the logo's picture is let go after it";
    Click(RowX, FirstRowY, 1, 500, "title");

    // The first lines, coming out a character at a time.
    for (int n = 1; n <= 4; ++n) Click(RowX, FirstRowY, 1, 2000, "line at speed 1 #" + std::to_string(n));

    // The backlog: opened and scrolled by the wheel, a line clicked, closed by a right click.
    Push({plat::EvWheel, 0, 1, 0, 0, {}});
    RunFor(300);
    Step("backlog opened");
    Push({plat::EvWheel, 0, 2, 0, 0, {}});
    RunFor(300);
    Step("backlog scrolled");
    Click(RowX, 300, 1, 300, "backlog line clicked");
    Click(RowX, 300, 3, 300, "backlog closed");

    // Auto mode steps a few lines by itself, then the A key ends it.
    Key(plat::KeyA, 9000, "auto mode");
    Key(plat::KeyA, 500, "auto mode ended");

    // The panel's quit button, and the prompt's second option: the story stays on its line,
    // which a click then moves on.
    Click(580, 336, 1, 500, "quit prompt");
    Click(RowX, SecondRowY, 1, 250, "quit prompt declined");
    Click(RowX, SecondRowY, 1, 250, "line after the prompt");

    // Return pressed once, then Ctrl held for half a second.
    headless::SetKeyDown(plat::KeyReturn, true);
    Key(plat::KeyReturn, 100, "return down");
    headless::SetKeyDown(plat::KeyReturn, false);
    RunFor(400);
    Step("return up");
    headless::SetKeyDown(plat::KeyCtrl, true);
    Key(plat::KeyCtrl, 500, "ctrl held");
    headless::SetKeyDown(plat::KeyCtrl, false);
    RunFor(500);
    Step("ctrl let go");

    // The system menu: a save, two lines, the load, the music switched off, speed 0.
    Click(RowX, FirstRowY, 3, 300, "menu");
    Click(195, 100, 1, 300, "saved in slot 1");
    Click(RowX, FirstRowY, 1, 300, "notice closed");
    Click(RowX, FirstRowY, 1, 300, "line after the save #1");
    Click(RowX, FirstRowY, 1, 300, "line after the save #2");
    Click(RowX, FirstRowY, 3, 300, "menu again");
    // Loaded as a slot an older build wrote: without the story's state kept beside it,
    // the load clears the picture band as it always did.
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().stem().string().rfind("z_save0.", 0) == 0 && entry.path().extension() == ".state")
            std::filesystem::remove(entry.path());
    Click(180, 182, 1, 300, "loaded slot 1");
    Click(RowX, FirstRowY, 1, 150, "notice closed again");
    Click(RowX, FirstRowY, 1, 150, "line after the loaded one");
    Click(RowX, FirstRowY, 3, 300, "menu for music");
    Click(250, 337, 1, 300, "music off");
    Click(RowX, FirstRowY, 3, 300, "menu for speed");
    Click(175, 262, 1, 300, "speed 0");

    ASSERT_TRUE(PlayToTheTitle(0, 0, false, "first options"));
    Push({plat::EvPointerMove, RowX, SecondRowY, 0, 0, {}});
    RunFor(300);
    Step("title, pointer lower");
    ASSERT_TRUE(PlayToTheTitle(1, 1, false, "second options"));
    ASSERT_TRUE(PlayToTheTitle(1, 0, false, "second then first"));
    ASSERT_TRUE(PlayToTheTitle(0, 1, false, "first then second"));
    ASSERT_TRUE(PlayToTheTitle(0, 0, true, "first forgotten, first"));
    ASSERT_TRUE(PlayToTheTitle(0, 1, true, "first forgotten, second"));

    EXPECT_TRUE(headless::MessageBoxes().empty()) << headless::MessageBoxes().front().text;
    CheckPaths();
#ifndef __clang__
    // The kept frames come from the GCC build. Clang's checking builds truncate the
    // wave effect's row offsets differently at a few pixels (8 in one frame of the
    // ticket scene), which would fail every step after it for no fault of the code;
    // there the paths alone are checked, under the sanitizers.
    Compare();
#endif
}

}  // namespace
