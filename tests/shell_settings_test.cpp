// set.ini: round trips, the 63-character limit, missing pieces, other content kept,
// and where the file lives. Every test runs on a temporary XDG_CONFIG_HOME.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "shell/shell.h"

namespace fs = std::filesystem;

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = getenv("XDG_CONFIG_HOME");
        hadOld_ = old != nullptr;
        if (old) old_ = old;
        std::string pattern = (fs::temp_directory_path() / "akari-settings-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    }
    void TearDown() override {
        if (hadOld_)
            setenv("XDG_CONFIG_HOME", old_.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(dir_);
    }
    std::string FileText() {
        std::ifstream in(dir_ + "/akari/set.ini", std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void WriteFile(const std::string& text) {
        fs::create_directories(dir_ + "/akari");
        std::ofstream(dir_ + "/akari/set.ini", std::ios::binary) << text;
    }
    std::string dir_, old_;
    bool hadOld_ = false;
};

TEST_F(Settings, LivesInTheAkariFolderOfTheConfigHome) {
    EXPECT_EQ(SettingsPath(), dir_ + "/akari/set.ini");
    std::string home = dir_ + "/home";
    const char* oldHome = getenv("HOME");
    std::string savedHome = oldHome ? oldHome : "";
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(SettingsPath(), home + "/.config/akari/set.ini");
    setenv("XDG_CONFIG_HOME", "relative/dir", 1);  // not absolute: ignored
    EXPECT_EQ(SettingsPath(), home + "/.config/akari/set.ini");
    if (oldHome)
        setenv("HOME", savedHome.c_str(), 1);
    else
        unsetenv("HOME");
}

TEST_F(Settings, MissingFileSectionOrKeyReadsEmpty) {
    EXPECT_EQ(ReadSetting("st", "sc"), "");
    WriteFile("[other]\nsc=x\n[st]\nzz=y\n");
    EXPECT_EQ(ReadSetting("st", "sc"), "");
    EXPECT_EQ(ReadSetting("none", "zz"), "");
}

TEST_F(Settings, WriteCreatesTheFolderAndReadsBack) {
    ASSERT_EQ(WriteSetting("st", "sc", "label_07"), 1);
    EXPECT_EQ(ReadSetting("st", "sc"), "label_07");
    EXPECT_EQ(FileText(), "[st]\nsc=label_07\n");
    ASSERT_EQ(WriteSetting("st", "sc", "second"), 1);
    EXPECT_EQ(ReadSetting("st", "sc"), "second");
    EXPECT_EQ(FileText(), "[st]\nsc=second\n");
    EXPECT_FALSE(fs::exists(dir_ + "/akari/set.ini.tmp"));
}

TEST_F(Settings, ValuesOfSixtyThreeCharactersReadWholeLongerOnesAreCut) {
    std::string exact(63, 'a');
    exact[62] = 'Z';
    ASSERT_EQ(WriteSetting("st", "sc", exact.c_str()), 1);
    EXPECT_EQ(ReadSetting("st", "sc"), exact);
    std::string longer = exact + "overflow";
    ASSERT_EQ(WriteSetting("st", "sc", longer.c_str()), 1);
    EXPECT_EQ(ReadSetting("st", "sc"), exact);
    EXPECT_NE(FileText().find(longer), std::string::npos);  // stored whole, cut on reading
}

TEST_F(Settings, OtherSectionsKeysAndCommentsAreKept) {
    WriteFile("; kept\r\n[First]\r\na=1\r\n\r\n[ST]\r\nx=2\r\nSC = old value \r\ny=3\r\n[last]\r\nb=4\r\n");
    EXPECT_EQ(ReadSetting("st", "sc"), "old value");  // names ignore case, values trimmed
    ASSERT_EQ(WriteSetting("st", "sc", "new"), 1);
    EXPECT_EQ(FileText(), "; kept\n[First]\na=1\n\n[ST]\nx=2\nsc=new\ny=3\n[last]\nb=4\n");
    ASSERT_EQ(WriteSetting("first", "c", "5"), 1);  // a new key goes after the section's last
    ASSERT_EQ(WriteSetting("added", "k", "v"), 1);  // a new section goes at the end
    EXPECT_EQ(FileText(),
              "; kept\n[First]\na=1\nc=5\n\n[ST]\nx=2\nsc=new\ny=3\n[last]\nb=4\n[added]\nk=v\n");
    EXPECT_EQ(ReadSetting("last", "b"), "4");
    EXPECT_EQ(ReadSetting("first", "c"), "5");
}

TEST_F(Settings, TextThatWouldBreakTheFileIsRefused) {
    ASSERT_EQ(WriteSetting("st", "sc", "keep"), 1);
    EXPECT_EQ(WriteSetting("st", "sc", "two\nlines"), 0);
    EXPECT_EQ(WriteSetting("st", "a=b", "v"), 0);
    EXPECT_EQ(WriteSetting("s]t", "sc", "v"), 0);
    EXPECT_EQ(WriteSetting("st", "", "v"), 0);
    EXPECT_EQ(WriteSetting("st", "sc", nullptr), 0);
    EXPECT_EQ(FileText(), "[st]\nsc=keep\n");
}

TEST_F(Settings, AFailedWriteLeavesTheOldFile) {
    ASSERT_EQ(WriteSetting("st", "sc", "keep"), 1);
    fs::create_directory(dir_ + "/akari/set.ini.tmp");  // the temporary cannot be opened
    EXPECT_EQ(WriteSetting("st", "sc", "lost"), 0);
    EXPECT_EQ(ReadSetting("st", "sc"), "keep");
}

}  // namespace
