// The error box's text, caption, beep and 255-byte cut; set.ini's place, round trips,
// the 63-character value, a missing file, other content kept, unsafe text refused, and
// the order in which a replaced file reaches the disk.
#include <dlfcn.h>
#include <sys/stat.h>

#include "base/error_box.h"
#include "base/key_values.h"
#include "story/records/settings.h"
#include "tests/story_test_table.h"

namespace fs = std::filesystem;

// fsync and rename as the program calls them, recorded while FileCalls is not null and
// passed on to the C library's own: "flush NAME (SIZE bytes)" for a file, "flush NAME/"
// for a folder, "rename NAME NAME", names without their folder.
static std::vector<std::string>* FileCalls = nullptr;

static std::string NameOf(const std::string& path) {
    std::string name = fs::path(path).filename().string();
    return name.empty() ? fs::path(path).parent_path().filename().string() : name;
}

extern "C" int fsync(int fd) {
    static auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    struct stat st;
    if (FileCalls && fstat(fd, &st) == 0) {
        std::string path = fs::read_symlink("/proc/self/fd/" + std::to_string(fd)).string();
        FileCalls->push_back("flush " + NameOf(path) +
                             (S_ISDIR(st.st_mode) ? "/" : " (" + std::to_string(st.st_size) + " bytes)"));
    }
    return real(fd);
}

extern "C" int rename(const char* from, const char* to) {
    static auto real = reinterpret_cast<int (*)(const char*, const char*)>(dlsym(RTLD_NEXT, "rename"));
    if (FileCalls) FileCalls->push_back("rename " + NameOf(from) + " " + NameOf(to));
    return real(from, to);
}

namespace {

TEST(ErrorBox, ShowsLocationAndMessageAfterABeepCutTo255BytesAtAWholeCharacter) {
    headless::Reset();
    EXPECT_EQ(ErrorBox("kaSound::LoadObject", "オブジェクト数が多過ぎます"), 0);
    EXPECT_EQ(headless::MessageBoxes().at(0).caption, "エラー発生");
    EXPECT_EQ(headless::MessageBoxes().at(0).text, "kaSound::LoadObject : オブジェクト数が多過ぎます");
    EXPECT_EQ(headless::BeepCount(), 1);

    std::string kana;  // "kaDraw::Screen : " is 17 bytes, each "あ" 3: byte 255 falls inside one
    for (int i = 0; i < 100; ++i) kana += "あ";
    ErrorBox("kaDraw::Screen", kana.c_str());
    EXPECT_EQ(headless::MessageBoxes().at(1).text, "kaDraw::Screen : " + kana.substr(0, 3 * 79));
    ErrorBox("kaDraw::Screen", std::string(300, 'x').c_str());
    EXPECT_EQ(headless::MessageBoxes().at(2).text.size(), 255u);
}

// Each test has an empty config home of its own.
class Settings : public ::testing::Test {
protected:
    fs::path dir = storytest::TestFolder("settings_");
    void SetUp() override { setenv("XDG_CONFIG_HOME", dir.c_str(), 1); }
    std::string FileText() { return storytest::ReadFile(dir / "akari/set.ini"); }
};

TEST_F(Settings, LivesInTheConfigHomeAndRoundTripsValuesReadToSixtyThreeCharacters) {
    EXPECT_EQ(ReadSetting("st", "sc"), "");  // no file yet
    ASSERT_TRUE(WriteSetting("st", "sc", "label_07"));
    EXPECT_EQ(FileText(), "[st]\nsc=label_07\n");
    std::string exact = std::string(62, 'a') + "Z";
    ASSERT_TRUE(WriteSetting("st", "sc", exact.c_str()));
    EXPECT_EQ(ReadSetting("st", "sc"), exact);
    ASSERT_TRUE(WriteSetting("st", "sc", (exact + "overflow").c_str()));
    EXPECT_EQ(ReadSetting("st", "sc"), exact);
    EXPECT_EQ(FileText(), "[st]\nsc=" + exact + "overflow\n");  // stored whole, cut on reading
}

TEST_F(Settings, OtherSectionsKeysAndCommentsAreKept) {
    fs::create_directories(dir / "akari");
    storytest::WriteFile(dir / "akari/set.ini", "; kept\r\n[First]\r\na=1\r\n\r\n[ST]\r\nx=2\r\n"
                                                "s=1\r\nscx=9\r\nSC = old value \r\ny=3\r\n[last]\r\nb=4\r\n");
    // Names ignore case, a name is never taken for a longer or shorter one; values trimmed.
    EXPECT_EQ(ReadSetting("st", "sc"), "old value");
    EXPECT_EQ(ReadSetting("st", "b"), "");
    EXPECT_EQ(ReadSetting("none", "a"), "");
    ASSERT_TRUE(WriteSetting("st", "sc", "new"));
    ASSERT_TRUE(WriteSetting("first", "c", "5"));  // after the section's last key
    ASSERT_TRUE(WriteSetting("added", "k", "v"));  // a new section at the end
    EXPECT_EQ(FileText(),
              "; kept\n[First]\na=1\nc=5\n\n[ST]\nx=2\ns=1\nscx=9\nsc=new\ny=3\n[last]\nb=4\n"
              "[added]\nk=v\n");
}

// The new file's bytes are on the disk before the rename makes them the file, and the
// rename is on the disk before the write is reported done.
TEST_F(Settings, AReplacedFileIsFlushedBeforeItsRenameAndItsFolderAfter) {
    std::vector<std::string> calls;
    FileCalls = &calls;
    bool written = WriteSetting("st", "sc", "label_07");
    FileCalls = nullptr;
    EXPECT_TRUE(written);
    EXPECT_EQ(calls, (std::vector<std::string>{"flush set.ini.tmp (17 bytes)",
                                               "rename set.ini.tmp set.ini", "flush akari/"}));
}

TEST_F(Settings, TextThatWouldBreakTheFileIsRefusedAndTheOldFileKept) {
    ASSERT_TRUE(WriteSetting("st", "sc", "keep"));
    EXPECT_FALSE(WriteSetting("st", "sc", "two\nlines"));
    EXPECT_FALSE(WriteSetting("st", "a=b", "v"));
    EXPECT_FALSE(WriteSetting("s]t", "sc", "v"));
    EXPECT_FALSE(WriteSetting("st", "", "v"));
    EXPECT_FALSE(WriteSetting("st", "sc", nullptr));
    EXPECT_EQ(FileText(), "[st]\nsc=keep\n");
}

}  // namespace

// The reader of the small settings files, on text alone: sections, pairs and other lines
// told apart, spaces and a CR dropped, each line kept as it stood; a number only when it
// is the whole value.
TEST(KeyValues, EachLineIsASectionAPairOrKeptAsItStands) {
    std::string seen;
    for (const KeyValueLine& l : ParseKeyValues(" [ Sec ] \r\n key = a=b \n; note\n\n[broken\nlast="))
        seen += std::to_string(l.kind) + l.name + "|" + l.value + "|" + l.text + "\n";
    EXPECT_EQ(seen, "1Sec|| [ Sec ] \n2key|a=b| key = a=b \n0||; note\n0||\n0||[broken\n2last||last=\n");
    int n = 0;
    EXPECT_TRUE(WholeNumber("-12", &n) && n == -12);
    for (const char* bad : {"", "12x", "1 2", "99999999999"}) EXPECT_FALSE(WholeNumber(bad, &n)) << bad;
}
