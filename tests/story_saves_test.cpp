// The system menu's rows, the save slots and owlsys.ini on disk.
#include "tests/story_test_table.h"

using namespace storytest;

namespace {

class Saves : public StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        SetScript({Head(0), Head(1), Head(2), Head(3), Head(4), Head(5),
                   Sjis("一"),                 // 6
                   Sjis("二"),                 // 7
                   "command:2",                // 8
                   "aaaa:" + Sjis("左"),       // 9
                   "bbbb:" + Sjis("右"),       // 10
                   Sjis("どちら？"),           // 11
                   "label:aaaa",               // 12
                   Sjis("左の道"),             // 13
                   "label:bbbb",               // 14
                   Sjis("右の道"),             // 15
                   "label:_end",               // 16
                   "end:99"});                 // 17
    }
    void OpenMenu() { Frame(0.016f, false, true); }
    // Clicks the button whose top-left corner is (left, top), one frame.
    void Click(int left, int top) {
        PointAt(left + 10, top + 10);
        Frame(0.016f, true);
    }
    std::filesystem::path Slot(int n) { return dir / ("z_save" + std::to_string(n) + ".sdt"); }
    bool NoTemporaryFilesLeft() {
        for (auto& entry : std::filesystem::directory_iterator(dir))
            if (entry.path().extension() == ".tmp") return false;
        return true;
    }
};

TEST_F(Saves, ASaveWritesTheLineWithTheStartValues) {
    Frame(0.016f, true);
    ASSERT_EQ(CurrentLine, 6);
    OpenMenu();
    ASSERT_EQ(GetGameMode(), ModeSystemMenu);
    Click(170 + 63 * 2, 90);
    EXPECT_EQ(ReadFile(Slot(2)), "01,040,001,001,001,6\r\n");
    EXPECT_EQ(MenuNotice, MenuSaved);
    EXPECT_EQ(GetGameMode(), ModeSystemMenu);
    EXPECT_TRUE(NoTemporaryFilesLeft());
    Frame(0.016f, true);  // the notice's click returns to the story and steps
    EXPECT_EQ(GetGameMode(), ModeStory);
    EXPECT_EQ(CurrentLine, 7);
}

TEST_F(Saves, ASaveMadeWhileAChoiceIsOpenReopensTheChoiceWhenLoaded) {
    Frame(0.016f, true);
    PointAt(300, 400);
    Frame(0.016f, true);
    Frame(0.016f, true);
    ASSERT_EQ(StoryState, ChoiceOpen);
    ASSERT_EQ(CurrentLine, 7);
    OpenMenu();
    Click(170, 90);
    EXPECT_EQ(ReadFile(Slot(0)), "01,040,001,001,001,7\r\n");
    Frame(0.016f, true);
    PointAt(300, 160);
    Frame(0.016f, true);  // take option aaaa
    ASSERT_EQ(CurrentLine, 13);
    OpenMenu();
    Click(170, 170);  // load slot 0
    EXPECT_EQ(MenuNotice, MenuLoaded);
    EXPECT_EQ(CurrentLine, 7);
    EXPECT_EQ(ScreenFrame, 99);
    EXPECT_EQ(CharacterCell, NoCharacter);
    PointAt(300, 400);
    Frame(0.016f, true);
    EXPECT_EQ(GetGameMode(), ModeStory);
    EXPECT_EQ(StoryState, ChoiceOpen);
    EXPECT_EQ(CurrentLine, 7);
}

TEST_F(Saves, TheLoadRowLeavesTheClickButNothingElseRunsInItsFrame) {
    WriteFile(Slot(1), "01,040,001,001,001,13\n");
    OpenMenu();
    PointAt(170 + 63 + 10, 180);
    InputState.RightClick = 1;
    Shell.FrameSeconds = 0.016f;
    InputState.LeftClick = 1;
    FrameUpdate();
    EXPECT_EQ(InputState.LeftClick, 1);
    EXPECT_EQ(InputState.RightClick, 0);
    EXPECT_EQ(CurrentLine, 13) << "no step in the load's frame";
    EXPECT_EQ(GetGameMode(), ModeSystemMenu);
}

TEST_F(Saves, LoadingWhileAChoiceIsOpenClosesIt) {
    WriteFile(Slot(3), "01,040,001,001,001,6\r\n");
    Frame(0.016f, true);
    PointAt(300, 400);
    Frame(0.016f, true);
    Frame(0.016f, true);
    ASSERT_EQ(StoryState, ChoiceOpen);
    OpenMenu();
    Click(170 + 63 * 3, 170);
    EXPECT_EQ(StoryState, ShowingProse);
    PointAt(300, 400);
    Frame(0.016f, true);
    EXPECT_EQ(CurrentLine, 7) << "the story goes on from the loaded line";
}

TEST_F(Saves, AMissingOrBadSaveLoadsLineZeroAndTheQuitConfirmationComesUp) {
    WriteFile(Slot(1), "01,040,001,001,001,99999\r\n");
    WriteFile(Slot(2), "01,040,001,001,001,-3\r\n");
    WriteFile(Slot(3), "07,008,009,010,011,0000000000000000000000000012");
    for (int slot : {4, 1, 2, 3}) {
        CurrentLine = 9;
        LoadSlot(slot);
        EXPECT_EQ(CurrentLine, 0) << "slot " << slot;
    }
    // A token longer than the reader's buffer is cut: the reserved values still read.
    EXPECT_EQ(SaveReserved[0], 7);
    EXPECT_EQ(SaveReserved[4], 11);
    OpenMenu();
    Click(170 + 63 * 4, 170);
    PointAt(300, 400);
    Frame(0.016f, true);
    EXPECT_EQ(StoryState, ChoiceOpen);
    EXPECT_EQ(CurrentLine, 1);
    PointAt(300, 160);  // _end
    Frame(0.016f, true);
    EXPECT_EQ(GetGameMode(), ModeEnd);
}

TEST_F(Saves, AFailedSaveSaysSoAndKeepsWhatWasThere) {
    std::filesystem::create_directory(Slot(0));  // a slot that cannot be replaced
    OpenMenu();
    Click(170, 90);
    EXPECT_EQ(MenuNotice, MenuSaveFailed);
    EXPECT_TRUE(std::filesystem::is_directory(Slot(0)));
    EXPECT_TRUE(NoTemporaryFilesLeft());
    EXPECT_TRUE(SaveSlot(1));
    WriteFile(Slot(1), "01,040,001,001,001,12\r\n");
    EXPECT_TRUE(SaveSlot(1));
    EXPECT_EQ(ReadFile(Slot(1)), "01,040,001,001,001,5\r\n") << "a save replaces the old one";
    EXPECT_FALSE(SaveSlot(5));
    EXPECT_FALSE(SaveSlot(-1));
    // A program directory whose paths do not fit is never written under a cut name.
    headless::SetProgramDirectory(dir.string() + "/" + std::string(PathBytes, 'd'));
    EXPECT_FALSE(SaveSlot(1));
    EXPECT_FALSE(WriteSystemSettings(1, 0));
    headless::SetProgramDirectory(dir.string());
}

TEST_F(Saves, TheSpeedRowWritesOwlsysAndStepsTheStoryAtOnce) {
    Frame(0.016f, true);
    OpenMenu();
    Click(170 + 63 * 4, 250);
    EXPECT_EQ(ReadFile(dir / "owlsys.ini"), "4,0,\r\n");
    EXPECT_FLOAT_EQ(MessageSpeed, 4.0f);
    EXPECT_EQ(GetGameMode(), ModeStory);
    EXPECT_EQ(CurrentLine, 7);
    EXPECT_EQ(SystemMenuOpen, 0);
}

TEST_F(Saves, TheMusicRowWritesOwlsysAndReturnsWithoutAStep) {
    Frame(0.016f, true);
    MessageSpeed = 3.0f;
    OpenMenu();
    Click(170 + 67, 325);
    EXPECT_EQ(ReadFile(dir / "owlsys.ini"), "3,1,\r\n");
    EXPECT_EQ(MusicOff, 1);
    EXPECT_EQ(GetGameMode(), ModeStory);
    EXPECT_EQ(CurrentLine, 6);
}

TEST_F(Saves, WhereQuitAndReturnOverlapReturnWins) {
    OpenMenu();
    Click(321 - 10 + 5, 370);
    EXPECT_EQ(GetGameMode(), ModeStory);
    OpenMenu();
    Click(170, 370);
    EXPECT_EQ(GetGameMode(), ModeEnd);
    EXPECT_EQ(Shell.ShutdownDone, 1);
}

TEST_F(Saves, OwlsysIsReadWhenPresentAndKeepsTheStartValuesOtherwise) {
    std::filesystem::path ini = dir / "owlsys.ini";
    ReadSystemSettings();
    EXPECT_FLOAT_EQ(MessageSpeed, 1.0f);
    EXPECT_EQ(MusicOff, 0);
    WriteFile(ini, "");
    ReadSystemSettings();
    EXPECT_FLOAT_EQ(MessageSpeed, 1.0f);
    EXPECT_EQ(MusicOff, 0);
    WriteFile(ini, "0,1,\r\n");
    ReadSystemSettings();
    EXPECT_FLOAT_EQ(MessageSpeed, 0.0f);
    EXPECT_EQ(MusicOff, 1);
    WriteFile(ini, "  3,0,and-a-great-deal-more-than-fits\n");
    ReadSystemSettings();
    EXPECT_FLOAT_EQ(MessageSpeed, 3.0f);
    EXPECT_EQ(MusicOff, 0);
    WriteFile(ini, "123456789012345678901234567890");
    ReadSystemSettings();
    EXPECT_FLOAT_EQ(MessageSpeed, 5.0f) << "a level beyond the menu's is held at 5";
}

}  // namespace
