// The system menu's save slots, its music switch, and owlsys.ini and the other files
// the game reads on disk.
#include <sys/stat.h>

#include "sound/kaMusic.h"
#include "story/settings.h"
#include "tests/engine_script.h"

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

// Whatever line a save holds, continuing from it (the menu's load, F9, the title's
// つづきから) shows what the reader saw there, and one click goes on from it: prose, a
// choice open over prose or over a command line (the state kept beside the slot tells the
// first; the second even without one), the last line of a branch, and a command line of
// an edited save, which runs on rather than show as text. The voice of the line left
// stops and the saved line's is not played again; the menu's load makes no step.
TEST_F(Saves, ContinuingShowsTheSavedLineAsTheReaderSawIt) {
    CopyAssets({"v_minato_001.sad"});
    WriteEnginePictures(dir);
    SetScript({"file:sc0.sad", "setscreen:0", "wave_play:v_minato_001.sad", Sjis("一"),  // 6-9
               "flg:007,2", Sjis("二"), "command:2", "aaaa:" + Sjis("左"), "bbbb:" + Sjis("右"),  // -14
               Sjis("どちら？"), "label:aaaa", Sjis("左の終わり"), "jump:cccc", "label:bbbb",  // -19
               Sjis("右"), "setscreen:1", Sjis("三"), "midi_stop:", "command:2",  // 20-24
               "cccc:" + Sjis("上"), "dddd:" + Sjis("下"), Sjis("どれ？"), "label:cccc",  // -28
               Sjis("上の道"), "label:dddd", Sjis("下の道")});  // 29-31
    enum Route { MenuLoad, QuickLoad, TitleContinue };
    const char* const routeNames[] = {"the menu's load", "F9", "つづきから"};
    struct Case {
        const char* what;
        int line;         // saved at; a choice is open there when choice
        bool choice;
        bool stateKept;   // the state beside the slot, or an older (or edited) save
        int shown, next;  // the line then shown, and the line after one click
        int band;         // the band as saved, cleared without a state, or set by the commands run
    } cases[] = {{"prose", 9, false, true, 9, 11, 0},
                 {"a choice over prose", 11, true, true, 11, 17, 0},
                 {"a choice over a command", 23, true, true, 23, 29, 1},
                 {"a choice over a command, from an older save", 23, true, false, 23, 29, 99},
                 {"the last line of a branch", 17, false, true, 17, 29, 0},
                 {"a command line", 21, false, false, 22, 23, 1}};
    auto press = [this](plat::Key key) {
        HandleWindowEvent({plat::EvKeyDown, 0, 0, 0, 0, key});
        Frame();
    };
    auto click = [this](int row) {  // on an option's row, or off every row and button
        PointAt(300, row < 0 ? 400 : 157 + 40 * row);
        Frame(0.016f, true);
    };
    for (const Case& c : cases) {
        for (Route route : {MenuLoad, QuickLoad, TitleContinue}) {
            const std::string what = std::string(c.what) + ", by " + routeNames[route];
            for (const char* name : {"z_save0.sdt", "z_save0.state", "z_quick.sdt", "z_quick.state"})
                std::filesystem::remove(dir / name);
            ResetStoryState();
            kaSound::ResetTable();
            SetGameMode(ModeStory);
            if (c.stateKept) {
                for (int n = 0; n < 9 && !(CurrentLine == c.line && (StoryState == ChoiceOpen) == c.choice); ++n)
                    click(StoryState != ChoiceOpen ? -1 : c.line > 19 ? 1 : 0);
                ASSERT_EQ(CurrentLine, c.line) << what;
                press(plat::KeyF5);
                ASSERT_TRUE(std::filesystem::exists(dir / "z_quick.state")) << what;
                std::filesystem::copy_file(dir / "z_quick.state", dir / "z_save0.state");
                std::filesystem::copy_file(dir / "z_quick.sdt", dir / "z_save0.sdt");
            } else {
                const std::string line = "01,040,001,001,001," + std::to_string(c.line) + "\r\n";
                WriteFile(dir / "z_quick.sdt", line);
                WriteFile(dir / "z_save0.sdt", line);
            }
            // Another run, its first line's voice speaking.
            ResetStoryState();
            kaSound::ResetTable();
            SetGameMode(route == TitleContinue ? ModeTitle : ModeStory);
            route == TitleContinue ? Frame() : click(-1);
            if (route == MenuLoad) {
                MenuClick(170, 170);
                ASSERT_EQ(MenuNoticeForTest(), MenuLoaded) << what;
                click(-1);  // the notice closed
            } else if (route == QuickLoad) {
                press(plat::KeyF9);
            } else {
                PointAt(layout::ContinueEntry.left + 20, layout::ContinueEntry.top + 10);
                Frame(0.016f, true);
            }
            Frame();
            ASSERT_EQ(GetGameMode(), ModeStory) << what;
            EXPECT_EQ(CurrentLine, c.shown) << what;
            EXPECT_EQ(StoryState == ChoiceOpen, c.choice) << what;
            if (MessageWindowShowsLine()) {
                EXPECT_EQ(MatchKeyword(LineText(CurrentLine)), KwNone) << what << ": no command as text";
                EXPECT_EQ(RevealCount > kaDraw::TextRectCount, route == MenuLoad && c.shown == c.line)
                    << what << ": whole after the menu, coming out again after F9";
            }
            EXPECT_EQ(ScreenFrame, c.band) << what;
            for (int id = 1; id < kaSound::ObjectCount; ++id)
                EXPECT_EQ(kaSound::SecondsLeft(id), 0.0f) << what << ": " << kaSound::NameOf(id);
            click(c.choice ? 0 : -1);
            EXPECT_EQ(CurrentLine, c.next) << what;
        }
    }
}

TEST_F(Saves, AMissingOrBadSaveLoadsLineZero) {
    WriteFile(Slot(1), "01,040,001,001,001,99999\r\n");
    WriteFile(Slot(2), "01,040,001,001,001,-3\n");
    WriteFile(Slot(3), "07,008,009,010,011,0000000000000000000000000012");
    for (int slot : {4, 1, 2, 3}) {
        GoToLineForTest(9);
        LoadSlot(slot);
        EXPECT_EQ(CurrentLine, 0) << "slot " << slot;
    }
    // The fields before the line number are kept for the next save.
    ASSERT_TRUE(SaveSlot(0));
    EXPECT_EQ(ReadFile(Slot(0)), "07,008,009,010,011,0\r\n") << "a long token is cut, not overrun";
}

// Fields beyond their written width would be saved wider, at offsets the reader does
// not use: each is held to its width, and a load then a save keeps the line.
TEST_F(Saves, ALoadedSlotSavedAgainLoadsToTheSameLine) {
    for (const char* text : {"99999999999999999996", "-99999999999999999,-9,-99,-9,-9,8",
                             "100,1000,001,001,001,7", "01,040,001,001,001,9"}) {
        WriteFile(Slot(1), text);
        LoadSlot(1);
        int line = CurrentLine;
        ASSERT_TRUE(SaveSlot(2));
        LoadSlot(2);
        EXPECT_EQ(CurrentLine, line) << text;
        ASSERT_TRUE(SaveSlot(3));
        EXPECT_EQ(ReadFile(Slot(3)), ReadFile(Slot(2))) << text;
    }
    EXPECT_EQ(ReadFile(Slot(2)), "01,040,001,001,001,9\r\n");
}

// Music off stops the piece at once; on again plays the piece midi_play: last asked for,
// unless a midi_stop: came after it. Neither makes a step.
TEST_F(Saves, TheMusicSwitchActsOnThePieceTheScriptAskedFor) {
    SetScript({"midi_play:bgm1.mid", Sjis("一"), Sjis("二"), "midi_stop:", Sjis("三")});
    UseSystemSettings("1,1,");
    PointAt(300, 400);
    Frame(0.016f, true);
    EXPECT_EQ(kaMusic::MusicPlaying, 0) << "midi_play: starts nothing while music is off";
    struct Step {
        int button;  // 0 on, 1 off; -1 a click on the story
        int playing;
    } steps[] = {{0, 1}, {1, 0}, {0, 1}, {0, 1}, {-1, 1}, {-1, 0}, {1, 0}, {0, 0}};
    for (const Step& s : steps) {
        int line = CurrentLine;
        if (s.button < 0) {
            Frame(0.016f, true);
        } else {
            MenuClick(170 + 67 * s.button, 325);
            EXPECT_EQ(CurrentLine, line);
            EXPECT_EQ(MusicOff, s.button);
        }
        EXPECT_EQ(kaMusic::MusicPlaying, s.playing) << "line " << CurrentLine;
    }
}

// A size: line's text comes back from the menu's music row at its own size and whole.
TEST_F(Saves, TheMusicRowLeavesTheLineAsItWasShown) {
    SetScript({"size:40", Sjis("大きな字")});
    PointAt(300, 400);
    Frame(0.016f, true);
    for (int i = 0; i < 10; ++i) Frame();
    kaDraw::TextRect shown = kaDraw::TextRects[1];
    ASSERT_GT(RevealCount, kaDraw::TextRectCount);
    MenuClick(170, 325);
    EXPECT_EQ(kaDraw::TextRects[1].bottom - kaDraw::TextRects[1].top, shown.bottom - shown.top);
    EXPECT_GT(RevealCount, kaDraw::TextRectCount) << "not revealed again";
}

// Each reader meets, in its file's place, a FIFO no one writes to and a link to an
// endless device; each refuses it at once, and follows a link to a regular file.
TEST_F(Saves, NoFileTheGameReadsCanHoldItUp) {
    std::filesystem::create_directories(dir / "config/akari");
    const char* names[] = {"z_save0.sdt", "owlsys.ini", "config/akari/set.ini",
                           "config/akari/window.ini", "p.sad", "v.sad", "m.mid", "a.sf2"};
    for (int kind = 0; kind < 2; ++kind) {
        for (const char* name : names) {
            std::filesystem::remove(dir / name);
            if (kind == 0) {
                ASSERT_EQ(mkfifo((dir / name).c_str(), 0600), 0) << name;
            } else {
                std::filesystem::create_symlink("/dev/zero", dir / name);
            }
        }
        GoToLineForTest(9);
        LoadSlot(0);
        EXPECT_EQ(CurrentLine, 0);
        ReadSystemSettings();
        EXPECT_EQ(MessageSpeed, 1.0f);
        EXPECT_EQ(ReadSetting("st", "sc"), "");
        EXPECT_FALSE(WriteSetting("st", "sc", "x")) << "what is not a file is not replaced";
        int width = 0, height = 0, fullScreen = 1;
        ReadWindowFile(&width, &height, &fullScreen);
        EXPECT_EQ(std::vector<int>({width, height, fullScreen}), std::vector<int>({640, 474, 0}));
        EXPECT_EQ(LoadPicture("p.sad"), 0);
        EXPECT_EQ(kaSound::LoadObject("v.sad", 1), -1);
        kaMusic::PlayMusic("m.mid", 1);
        EXPECT_EQ(kaMusic::Init(), 1) << "the system's SoundFont is taken instead";
    }
    WriteFile(dir / "slot.txt", "01,040,001,001,001,9");
    std::filesystem::create_symlink(dir / "slot.txt", Slot(1));
    LoadSlot(1);
    EXPECT_EQ(CurrentLine, 9);
    // A long file is read only so far: a line behind 8 KiB of blanks is not looked for.
    WriteFile(Slot(2), std::string(8192, ' ') + "01,040,001,001,001,9");
    LoadSlot(2);
    EXPECT_EQ(CurrentLine, 0);
}

TEST_F(Saves, AFailedSaveSaysSoAndKeepsWhatWasThere) {
    std::filesystem::create_directory(Slot(0));  // a slot that cannot be replaced
    MenuClick(170, 90);
    EXPECT_EQ(MenuNoticeForTest(), MenuSaveFailed);
    EXPECT_TRUE(std::filesystem::is_directory(Slot(0)));
    WriteFile(Slot(1), "01,040,001,001,001,12\r\n");
    EXPECT_TRUE(SaveSlot(1));
    EXPECT_EQ(ReadFile(Slot(1)), "01,040,001,001,001,5\r\n") << "a save replaces the old one";
    for (auto& entry : std::filesystem::directory_iterator(dir))
        EXPECT_NE(entry.path().extension(), ".tmp") << "no temporary file is left";
    EXPECT_FALSE(SaveSlot(QuickSlot + 1) || SaveSlot(-1));
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
        ResetStoryState();  // message speed 1
        ReadSystemSettings();
        EXPECT_EQ(MessageSpeed, 4.0f) << c.folder << ": the settings already there are read";
        GoToLineForTest(9);
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
