// The system menu's save slots and owlsys.ini on disk.
#include "tests/story_test_table.h"

using namespace storytest;

namespace {

class Saves : public StoryTest {
protected:
    std::filesystem::path Slot(int n) { return dir / ("z_save" + std::to_string(n) + ".sdt"); }
    // Opens the menu and clicks the button whose top-left corner is (left, top).
    void MenuClick(int left, int top) {
        Frame(0.016f, false, true);
        PointAt(left + 10, top + 10);
        Frame(0.016f, true);
        PointAt(300, 400);
    }
};

TEST_F(Saves, ASaveMadeWhileAChoiceIsOpenReopensItAndALoadClosesTheOpenOne) {
    SetScript({Sjis("一"), "command:2", "aaaa:" + Sjis("左"), "bbbb:" + Sjis("右"),
               Sjis("どちら？"), "label:aaaa", "label:bbbb"});
    PointAt(300, 400);
    Frame(0.016f, true);
    Frame(0.016f, true);
    ASSERT_EQ(StoryState, ChoiceOpen);
    MenuClick(170, 90);
    EXPECT_EQ(ReadFile(Slot(0)), "01,040,001,001,001,6\r\n");
    Frame(0.016f, true);
    MenuClick(170, 170);
    EXPECT_EQ(MenuNotice, MenuLoaded);
    EXPECT_EQ(StoryState, ShowingProse) << "the open choice is closed by the load";
    Frame(0.016f, true);
    EXPECT_EQ(StoryState, ChoiceOpen);
    EXPECT_EQ(CurrentLine, 6);
}

TEST_F(Saves, AMissingOrBadSaveLoadsLineZero) {
    WriteFile(Slot(1), "01,040,001,001,001,99999\r\n");
    WriteFile(Slot(2), "01,040,001,001,001,-3\n");
    WriteFile(Slot(3), "07,008,009,010,011,0000000000000000000000000012");
    for (int slot : {4, 1, 2, 3}) {
        CurrentLine = 9;
        LoadSlot(slot);
        EXPECT_EQ(CurrentLine, 0) << "slot " << slot;
    }
    EXPECT_EQ(SaveReserved[0], 7) << "a long token is cut, not overrun";
    EXPECT_EQ(SaveReserved[4], 11);
}

TEST_F(Saves, AFailedSaveSaysSoAndKeepsWhatWasThere) {
    std::filesystem::create_directory(Slot(0));  // a slot that cannot be replaced
    MenuClick(170, 90);
    EXPECT_EQ(MenuNotice, MenuSaveFailed);
    EXPECT_TRUE(std::filesystem::is_directory(Slot(0)));
    WriteFile(Slot(1), "01,040,001,001,001,12\r\n");
    EXPECT_TRUE(SaveSlot(1));
    EXPECT_EQ(ReadFile(Slot(1)), "01,040,001,001,001,5\r\n") << "a save replaces the old one";
    for (auto& entry : std::filesystem::directory_iterator(dir))
        EXPECT_NE(entry.path().extension(), ".tmp") << "no temporary file is left";
    EXPECT_FALSE(SaveSlot(5) || SaveSlot(-1));
    // A program directory whose paths do not fit is never written under a cut name.
    headless::SetProgramDirectory(dir.string() + "/" + std::string(PathBytes, 'd'));
    EXPECT_FALSE(SaveSlot(1) || WriteSystemSettings(1, 0));
}

TEST_F(Saves, OwlsysIsReadWhenPresentAndKeepsTheStartValuesOtherwise) {
    struct Case {
        const char* bytes;  // nullptr: no file
        float speed;
        int musicOff;  // -1: not checked
    } cases[] = {{nullptr, 1, 0}, {"", 1, 0}, {"0,1,\r\n", 0, 1},
                 {"  3,0,and-a-great-deal-more-than-fits\n", 3, 0},
                 {"123456789012345678901234567890", 5, -1}};  // held at the menu's last level
    for (const Case& c : cases) {
        ResetStoryState();
        if (c.bytes) WriteFile(dir / "owlsys.ini", c.bytes);
        ReadSystemSettings();
        EXPECT_FLOAT_EQ(MessageSpeed, c.speed) << (c.bytes ? c.bytes : "none");
        EXPECT_EQ(c.musicOff < 0 ? -1 : MusicOff, c.musicOff) << (c.bytes ? c.bytes : "none");
    }
}

// An installed game's folder is read-only: the saves and owlsys.ini go to the data
// folder, and what is there already is read; a writable folder keeps them beside the
// program, even when the data folder has some.
TEST_F(Saves, AReadOnlyGameFolderKeepsThePlayersFilesInTheDataFolder) {
    struct Case {
        bool readOnly;
        const char* xdg;  // XDG_DATA_HOME, nullptr: unset (HOME is the test folder)
        const char* folder;
    } cases[] = {{false, "/data", ""}, {true, "/data", "data/akari/"},
                 {true, nullptr, "home/.local/share/akari/"}, {true, "relative", "home/.local/share/akari/"}};
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir / "data");
        std::filesystem::remove_all(dir / "home");
        std::filesystem::remove(Slot(2));
        std::filesystem::remove(dir / "owlsys.ini");
        headless::SetProgramDirectoryReadOnly(c.readOnly);
        setenv("HOME", (dir / "home").c_str(), 1);
        if (c.xdg) setenv("XDG_DATA_HOME", c.xdg[0] == '/' ? (dir.string() + c.xdg).c_str() : c.xdg, 1);
        else unsetenv("XDG_DATA_HOME");
        std::filesystem::create_directories(dir / c.folder);
        WriteFile(dir / c.folder / "owlsys.ini", "4,0,\r\n");
        MessageSpeed = 1.0f;
        ReadSystemSettings();
        EXPECT_EQ(MessageSpeed, 4.0f) << c.folder << ": the settings already there are read";
        CurrentLine = 9;
        ASSERT_TRUE(SaveSlot(2)) << c.folder;
        EXPECT_EQ(ReadFile(dir / c.folder / "z_save2.sdt"), "01,040,001,001,001,9\r\n") << c.folder;
        EXPECT_EQ(std::filesystem::exists(Slot(2)), !c.readOnly) << c.folder;
        ASSERT_TRUE(WriteSystemSettings(3, 1));
        EXPECT_EQ(ReadFile(dir / c.folder / "owlsys.ini"), "3,1,\r\n") << c.folder;
    }
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", home.c_str(), 1);
}

}  // namespace
