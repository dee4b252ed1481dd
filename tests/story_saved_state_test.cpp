// The state kept beside each save slot: what a load puts back, and the slots it must
// leave to load as they always did (older, hand-edited, damaged or for another script).
#include <climits>
#include <functional>

#include "base/random.h"
#include "base/hash.h"
#include "sound/kaMusic.h"
#include "tests/engine_script.h"

using namespace storytest;

namespace {

class SavedState : public StoryTest {
protected:
    uint32_t Pixel(int x, int y) { return headless::LastFrame()->Pixel(x, y); }
    // A story whose first line stands on band 2 of sc1.sad, animated (at frame 2, in loop
    // mode 1), with music and a flag; its third line on sc0.sad, still, without either.
    void UseTwoScenes() {
        WriteEnginePictures(dir);
        SetScript({"file:sc1.sad", "setscreen:2", "midi_play:bgm1.mid", "flg:007,2",
                   "speed:70", "anime:3", "loopanime:1", "size:36", Sjis("一"), Sjis("二"),
                   "midi_stop:", "file:sc0.sad", "setscreen:1", "flg:007,5", Sjis("三")});
        PointAt(300, 400);
        Click();
        ASSERT_EQ(CurrentScene().line, 14);
        for (int i = 0; i < 7; ++i) Frame(0.05f);
        ASSERT_EQ(CurrentScene().animeFrame, 2);
    }
    void StepToLineThree() {
        for (int i = 0; i < 3 && CurrentScene().line < 20; ++i) Click();
        ASSERT_EQ(CurrentScene().line, 20);
        ASSERT_EQ(FlagForTest(7), 5);
        ASSERT_EQ(kaMusic::MusicPlaying, 0);
    }
};

TEST_F(SavedState, ALoadPutsBackThePictureTheAnimationTheMusicAndTheFlags) {
    UseTwoScenes();
    const std::vector<int> animation = {CurrentScene().animeFrames, CurrentScene().animeFrame, CurrentScene().animeLoop, CurrentScene().screenFrame,
                                        CurrentScene().animeColumn};
    const float clock = CurrentScene().animeClock;
    ASSERT_NE(CurrentScene().animeFrame, 0) << "the animation has ticked";
    MenuClick(170, 90);
    ASSERT_EQ(MenuNoticeForTest(), MenuSaved);
    ASSERT_FALSE(State(0).empty());
    Click();
    StepToLineThree();
    EXPECT_EQ(Pixel(10, 10), SceneZeroBand(1));

    MenuClick(170, 170);
    EXPECT_EQ(CurrentScene().line, 14);
    EXPECT_EQ(FlagForTest(7), 2);
    EXPECT_STREQ(CurrentScene().music, "bgm1.mid");
    EXPECT_EQ(kaMusic::MusicPlaying, 1);
    EXPECT_EQ(std::vector<int>({CurrentScene().animeFrames, CurrentScene().animeFrame, CurrentScene().animeLoop, CurrentScene().screenFrame, CurrentScene().animeColumn}),
              animation);
    EXPECT_FLOAT_EQ(CurrentScene().animeClock, clock);
    // The closing click shows the loaded line; the next steps on, still on the animated
    // sc1.sad.
    Click();
    EXPECT_EQ(CurrentScene().line, 14);
    Click();
    EXPECT_EQ(CurrentScene().line, 15);
    const uint32_t shown = Pixel(10, 10) & 0xFFFFFF;
    EXPECT_TRUE(shown == SceneOneBand(0) || shown == SceneOneBand(1) || shown == SceneOneBand(2))
        << "not a black picture: " << std::hex << shown;
}

// Without a whole state made for it (none, its line changed by hand, another script, a
// state damaged, a folder, or holding what this script cannot make), a slot loads as it
// always did: the animation, character and band cleared, the rest as it is; no word.
TEST_F(SavedState, WithoutAWholeStateMadeForItASlotLoadsAsBefore) {
    UseTwoScenes();
    ASSERT_TRUE(SaveSlot(0));
    const std::filesystem::path path = State(0);
    const std::string good = ReadFile(path), saveLine = ReadFile(Slot(0));
    static StateFile read;
    ASSERT_TRUE(ReadStateFile(path.c_str(), &read));
    const StateFile state = read;
    Click();
    StepToLineThree();
    const int picture = StoryPictureForTest();
    std::string flipped = good;
    flipped[good.size() / 2] ^= 0x10;
    std::vector<std::string> files = {good.substr(0, good.size() - 1), flipped, std::string(),
                                      std::string(good.size(), 'x'), good + "x"};
    const std::vector<std::function<void(StorySnapshot&)>> forged = {
        [](StorySnapshot& s) { s.animeFrame = INT_MAX; },
        [](StorySnapshot& s) { s.animeFrame = -1; },
        [](StorySnapshot& s) { s.animeColumn = INT_MAX - 1; },
        [](StorySnapshot& s) { s.animeFrames = 4; },  // past every anime:
        [](StorySnapshot& s) { s.animeFramesSaved = INT_MIN; },
        [](StorySnapshot& s) { s.animeLoop = 6; },
        [](StorySnapshot& s) { s.animeSpeed = INT_MAX; },
        [](StorySnapshot& s) { s.animeClock = -1.0f; },
        [](StorySnapshot& s) { s.screenFrame = 100; },
        [](StorySnapshot& s) { s.characterCell = -1; },
        [](StorySnapshot& s) { s.textSize = 0; },
        [](StorySnapshot& s) { s.wavePhase = 360.0f; },
        [](StorySnapshot& s) { std::strcpy(s.picture, "../../../../etc/passwd"); },
        [](StorySnapshot& s) { std::strcpy(s.picture, "sc2.sad"); },
        [](StorySnapshot& s) { std::strcpy(s.music, "../bgm1.mid"); },
        [](StorySnapshot& s) { s.line = 15; },
    };
    for (const auto& forge : forged) {
        StorySnapshot s = state.snapshot;
        forge(s);
        files.push_back(StateFileBytes(state.saveLine, s, state.preview));
    }
    files.push_back(StateFileBytes("01,040,001,001,001,15", state.snapshot, state.preview));
    enum { NoState = -4, Folder, LineChanged, ScriptChanged };  // besides the files
    for (int c = NoState; c < int(files.size()); ++c) {
        std::filesystem::remove_all(path);
        WriteFile(Slot(0), c == LineChanged ? "01,040,001,001,001,15\r\n" : saveLine);
        if (c == Folder) std::filesystem::create_directory(path);
        if (c == LineChanged || c == ScriptChanged) WriteFile(path, good);
        if (c == ScriptChanged) std::strcat(TestTable[19], "0");  // flg:007,50
        if (c >= 0) WriteFile(path, files[size_t(c)]);
        ASSERT_TRUE(LoadSlot(0));
        EXPECT_EQ(std::vector<int>({CurrentScene().animeFrames, CurrentScene().animeFrame, CurrentScene().animeLoop, CurrentScene().characterCell, CurrentScene().screenFrame}),
                  std::vector<int>({0, 0, 0, NoCharacter, 99}))
            << c;
        EXPECT_EQ(std::vector<int>({FlagForTest(7), StoryPictureForTest(), kaMusic::MusicPlaying}),
                  std::vector<int>({5, picture, 0}))
            << c;
        TestTable[19][9] = '\0';  // flg:007,5 again
        for (int frame = 0; frame < 5; ++frame) Frame(0.5f);
    }
    WriteFile(dir / "z_save1.state", good);  // whole, where an older build kept it
    WriteFile(Slot(1), saveLine);
    LoadSlot(1);
    EXPECT_EQ(FlagForTest(7), 2) << "the good file is taken";
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

// A state file of the last version, which kept the random generator as its seed and the
// draws since, loads with the generator where those lead.
TEST_F(SavedState, TheLastVersionsFileLoadsWithItsGeneratorWhereItStood) {
    UseTwoScenes();
    SeedRandom(1234);
    for (int i = 0; i < 17; ++i) RandomNumber();
    ASSERT_TRUE(SaveSlot(0));
    const int next = RandomNumber();
    // "AKSTATE3" made "AKSTATE2": the seed and the draws (4 and 8 bytes) in the place of
    // the generator's state, before the preview, and the hash after anew.
    std::string bytes = ReadFile(State(0));
    bytes.erase(bytes.size() - 8);
    const std::string seed1234Draws17("\xd2\x04\0\0\x11\0\0\0\0\0\0\0", 12);
    bytes.replace(bytes.size() - PreviewBytes - 8, 8, seed1234Draws17);
    bytes[7] = '2';
    const uint64_t hash = HashBytes(bytes.data(), bytes.size());
    for (int i = 0; i < 8; ++i) bytes += char(hash >> (8 * i));
    WriteFile(State(0), bytes);
    SeedRandom(99);
    ASSERT_TRUE(LoadSlot(0));
    EXPECT_EQ(RandomNumber(), next);
}

}  // namespace
