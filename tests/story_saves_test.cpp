// The system menu's save slots, its music switch, and owlsys.ini and the other files
// the game reads on disk.
#include <sys/stat.h>

#include <functional>
#include <map>

#include "base/files.h"
#include "sound/kaMusic.h"
#include "story/records/settings.h"
#include "tests/engine_script.h"

using namespace storytest;

namespace {

using Saves = StoryTest;

// Whatever line a save holds (prose, a choice open over prose or over a command line, a
// branch's last line, an edited save's command line, which runs on), continuing from it
// by the menu, F9 or つづきから shows what the reader saw, and one click goes on. No voice
// plays after; the menu's load makes no step.
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
    auto click = [this](int row) {  // on an option's row, or off every row and button
        PointAt(300, row < 0 ? 400 : 157 + 40 * row);
        Frame(0.016f, true);
    };
    for (const Case& c : cases) {
        for (Route route : {MenuLoad, QuickLoad, TitleContinue}) {
            const std::string what = std::string(c.what) + ", by " + routeNames[route];
            for (const auto& entry : std::filesystem::directory_iterator(dir))
                if (entry.path().stem().string().compare(0, 7, "z_save0") == 0 ||
                    entry.path().stem().string().compare(0, 7, "z_quick") == 0)
                    std::filesystem::remove(entry.path());
            ResetStoryState();
            kaSound::ResetTable();
            SetGameMode(ModeStory);
            if (c.stateKept) {
                for (int n = 0; n < 9 && !(CurrentScene().line == c.line && (CurrentScene().storyState == ChoiceOpen) == c.choice); ++n)
                    click(CurrentScene().storyState != ChoiceOpen ? -1 : c.line > 19 ? 1 : 0);
                ASSERT_EQ(CurrentScene().line, c.line) << what;
                Press(plat::KeyF5);
                ASSERT_NE(StateBeside(dir, "z_quick"), "") << what;
                std::filesystem::copy_file(StateBeside(dir, "z_quick"), dir / "z_save0.state");
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
                Press(plat::KeyF9);
            } else {
                PointAt(layout::ContinueEntry.left + 20, layout::ContinueEntry.top + 10);
                Frame(0.016f, true);
            }
            Frame();
            ASSERT_EQ(GetGameMode(), ModeStory) << what;
            EXPECT_EQ(CurrentScene().line, c.shown) << what;
            EXPECT_EQ(CurrentScene().storyState == ChoiceOpen, c.choice) << what;
            if (MessageWindowShowsLine()) {
                EXPECT_EQ(MatchKeyword(LineText(CurrentScene().line)), KwNone) << what << ": no command as text";
                EXPECT_EQ(RevealCount > MessageLayout().count, route == MenuLoad && c.shown == c.line)
                    << what << ": whole after the menu, coming out again after F9";
            }
            EXPECT_EQ(CurrentScene().screenFrame, c.band) << what;
            for (int id = 1; id < kaSound::ObjectCount; ++id)
                EXPECT_EQ(kaSound::SecondsLeft(id), 0.0f) << what << ": " << kaSound::NameOf(id);
            click(c.choice ? 0 : -1);
            EXPECT_EQ(CurrentScene().line, c.next) << what;
        }
    }
}

// A slot holding no save line (missing, garbage, a line out of the table, fields out of
// place, a folder, a FIFO, an endless device, 1 GB of zeros): the menu's load and F9 say
// so and leave the story as it stood, and the title offers nothing.
TEST_F(Saves, ASlotWithNoSaveInItLoadsNothingAndSaysSo) {
    WriteEnginePictures(dir);
    SetScript({"file:sc0.sad", "setscreen:1", "flg:007,3", Sjis("一"), Sjis("二")});
    PointAt(300, 400);
    Frame(0.016f, true);
    ASSERT_EQ(CurrentScene().line, 9);
    const int picture = StoryPictureForTest();
    const std::vector<std::string> texts = {
        "", std::string("\x93\x94\0garbage\xff", 12), "01,040,001,001,001,99999\r\n",
        "01,040,001,001,001,-3\r\n", "01,040,001,001,001,0\r\n", "07,008,009,010,011,0000000000000000000000000012",
        "100,1000,001,001,001,7", "01,040,001,001,001,9x", std::string(8192, ' ') + "01,040,001,001,001,9"};
    enum { Missing = -5, Folder, Fifo, Device, Zeros };  // besides the texts
    for (int c = Missing; c < int(texts.size()); ++c) {
        for (const std::filesystem::path& p : {Slot(0), dir / "z_quick.sdt"}) {
            std::filesystem::remove_all(p);
            if (c >= 0) WriteFile(p, texts[size_t(c)]);
            if (c == Folder) std::filesystem::create_directory(p);
            if (c == Fifo) {
                ASSERT_EQ(mkfifo(p.c_str(), 0600), 0);
            }
            if (c == Device) std::filesystem::create_symlink("/dev/zero", p);
            if (c == Zeros) {
                WriteFile(p, "");
                std::filesystem::resize_file(p, 1u << 30);  // sparse: no disk taken
            }
        }
        MenuClick(170, 170);
        EXPECT_EQ(MenuNoticeForTest(), MenuSlotEmpty) << c;
        Frame(0.016f, true);
        EXPECT_EQ(GetGameMode(), ModeStory) << c;
        HandleWindowEvent({plat::EvKeyDown, 0, 0, 0, 0, plat::KeyF9});
        Frame();
        EXPECT_EQ(QuickNoticeForTest(), TextNoQuickSave) << c;
        EXPECT_EQ(std::vector<int>({CurrentScene().line, FlagForTest(7), CurrentScene().screenFrame, CurrentScene().storyState}),
                  std::vector<int>({9, 3, 1, ShowingProse}))
            << c;
        EXPECT_EQ(StoryPictureForTest(), picture) << c;
        EXPECT_EQ(MostRecentSlot(), -1) << c;
    }
    std::filesystem::remove_all(Slot(0));
    // A link to a file holding a save is followed; its fields are saved again as read.
    WriteFile(dir / "slot.txt", "07,008,-09,010,011,8");
    std::filesystem::create_symlink(dir / "slot.txt", Slot(1));
    ASSERT_TRUE(LoadSlot(1));
    EXPECT_EQ(CurrentScene().line, 8);
    ASSERT_TRUE(SaveSlot(0));
    EXPECT_EQ(ReadFile(Slot(0)), "07,008,-09,010,011,8\r\n");
}

// Every step of a save that changes the disk fails, or stops as in a program killed
// there. A save that says it failed leaves the slot's files byte for byte; any other
// leaves a whole save with its own state: the old until the save line is renamed into
// place, the new from then on.
TEST_F(Saves, ASaveFailingOrCutShortAtAnyStepLeavesAWholeSave) {
    WriteEnginePictures(dir);
    SetScript({"file:sc0.sad", "setscreen:1", "flg:007,1", Sjis("一"), "file:sc1.sad", "setscreen:3",
               "flg:007,2", Sjis("二")});
    PointAt(300, 400);
    for (int slot : {0, QuickSlot}) {
        const std::string stem = slot == QuickSlot ? "z_quick." : "z_save0.";
        auto files = [&] {
            std::map<std::string, std::string> found;
            for (const auto& entry : std::filesystem::directory_iterator(dir))
                if (entry.path().filename().string().compare(0, stem.size(), stem) == 0)
                    found[entry.path().filename().string()] = ReadFile(entry.path());
            return found;
        };
        auto digest = [](const std::map<std::string, std::string>& found) {  // names and hashes
            std::map<std::string, size_t> digests;
            for (const auto& entry : found) digests[entry.first] = std::hash<std::string>{}(entry.second);
            return digests;
        };
        GoToLineForTest(5);
        Frame(0.016f, true);
        ASSERT_TRUE(SaveSlot(slot));  // the old save: line 9, flag 1, band 1 of sc0
        const std::map<std::string, std::string> old = files();
        Frame(0.016f, true);
        ASSERT_TRUE(SaveSlot(3));  // the new place (line 13, flag 2, band 3 of sc1), for each try
        int firstNew = 0;
        for (int step = 1, steps = 1; step <= steps + 1; ++step) {
            for (bool stop : {false, true}) {
                for (const auto& entry : files()) std::filesystem::remove(dir / entry.first);
                for (const auto& entry : old) WriteFile(dir / entry.first, entry.second);
                ASSERT_TRUE(LoadSlot(3));
                FailFileStepForTest(step, stop);
                bool saved = SaveSlot(slot);
                steps = std::max(steps, FileStepsForTest());
                FailFileStepForTest(0, false);
                if (!saved && !stop) {
                    EXPECT_EQ(digest(files()), digest(old)) << "step " << step;
                }
                RemoveLeftoverTemporaries();  // as the next run starts
                StorySnapshot cleared = CurrentScene();
                cleared.flags[7] = 0;
                cleared.screenFrame = 0;
                RestoreStorySnapshot(cleared);
                ASSERT_TRUE(LoadSlot(slot)) << "step " << step << (stop ? ", stopped" : "");
                std::vector<int> loaded = {CurrentScene().line, FlagForTest(7), CurrentScene().screenFrame};
                bool isNew = loaded == std::vector<int>({13, 2, 3});
                EXPECT_TRUE(isNew || loaded == std::vector<int>({9, 1, 1})) << "step " << step;
                EXPECT_TRUE(isNew || !saved) << "step " << step;
                if (stop && isNew && !firstNew) firstNew = step;
                EXPECT_TRUE(isNew || !stop || !firstNew) << "step " << step << ": the old save is back";
            }
        }
        EXPECT_GT(firstNew, 1) << "the old save stands while the new one is written";
    }
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
        int line = CurrentScene().line;
        if (s.button < 0) {
            Frame(0.016f, true);
        } else {
            MenuClick(170 + 67 * s.button, 325);
            EXPECT_EQ(CurrentScene().line, line);
            EXPECT_EQ(MusicOff, s.button);
        }
        EXPECT_EQ(kaMusic::MusicPlaying, s.playing) << "line " << CurrentScene().line;
    }
}

// A size: line's text comes back from the menu's music row at its own size and whole.
TEST_F(Saves, TheMusicRowLeavesTheLineAsItWasShown) {
    SetScript({"size:40", Sjis("大きな字")});
    PointAt(300, 400);
    Frame(0.016f, true);
    for (int i = 0; i < 10; ++i) Frame();
    kaDraw::TextRect shown = MessageLayout().rects[1];
    ASSERT_GT(RevealCount, MessageLayout().count);
    MenuClick(170, 325);
    EXPECT_EQ(MessageLayout().rects[1].bottom - MessageLayout().rects[1].top, shown.bottom - shown.top);
    EXPECT_GT(RevealCount, MessageLayout().count) << "not revealed again";
}

// Each reader meets, in its file's place, a FIFO no one writes to and a link to an
// endless device (a slot's, with its load); each refuses it at once.
TEST_F(Saves, NoFileTheGameReadsCanHoldItUp) {
    std::filesystem::create_directories(dir / "config/akari");
    const char* names[] = {"owlsys.ini", "config/akari/set.ini",
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
}

// A folder in a slot's place fails its save, which leaves nothing behind; folders where
// a state or a temporary file went are neither in a save's way nor removed. Temporary
// files of ours, and only those, are removed as the game starts.
TEST_F(Saves, AFailedSaveSaysSoAndKeepsWhatWasThere) {
    std::filesystem::create_directory(Slot(0));  // a slot that cannot be replaced
    MenuClick(170, 90);
    EXPECT_EQ(MenuNoticeForTest(), MenuSaveFailed);
    EXPECT_TRUE(std::filesystem::is_directory(Slot(0)));
    EXPECT_EQ(StateBeside(dir, "z_save0"), "");
    const char* folders[] = {"z_save1.state", "z_save1.state.tmp", "z_quick.state", "z_save2.sdt.tmp"};
    for (const char* folder : folders) std::filesystem::create_directory(dir / folder);
    WriteFile(Slot(1), "01,040,001,001,001,12\r\n");
    EXPECT_TRUE(SaveSlot(1) && SaveSlot(QuickSlot));
    EXPECT_EQ(ReadFile(Slot(1)), "01,040,001,001,001,5\r\n") << "a save replaces the old one";
    EXPECT_FALSE(SaveSlot(2));
    std::filesystem::create_directories(dir / "config/akari");
    const char* leftovers[] = {"z_save3.sdt.tmp", "z_quick.9.00ff.state.tmp", "z_resume.state.tmp",
                               "owlsys.ini.tmp", "read_marks.txt.tmp", "config/akari/set.ini.tmp", "notes.tmp"};
    for (const char* name : leftovers) WriteFile(dir / name, "cut short");
    RemoveLeftoverTemporaries();
    for (const char* name : leftovers)
        EXPECT_EQ(std::filesystem::exists(dir / name), name == std::string("notes.tmp")) << name;
    for (const char* folder : folders) EXPECT_TRUE(std::filesystem::is_directory(dir / folder)) << folder;
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

// In a read-only game folder the saves and owlsys.ini go to the data folder, and are read
// there; a writable folder keeps them beside the program, even when the data folder has some.
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
