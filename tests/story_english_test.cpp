// The English edition, through the program's own loop with every text handed to the
// layout watched: the shipped story in English on every path and screen; the language
// switched while a line is shown; T held; Ctrl+C; the error box.
#include <set>

#include "base/error_box.h"
#include "base/screen_layout.h"
#include "draw/sjis.h"
#include "sound/kaSound.h"
#include "story/records/glossary.h"
#include "tests/game_test.h"

using namespace gametest;

namespace {

// The texts handed to the layout: each one, how many, the last, and those not ASCII.
std::set<std::string> LaidOut, NotAscii;
std::string LastLaidOut;
int TextsLaidOut = 0;
void Watch(const char* text) {
    ++TextsLaidOut;
    LaidOut.insert(text);
    LastLaidOut = text;
    for (const char* p = text; *p; ++p)
        if (static_cast<unsigned char>(*p) >= 0x80) {
            char utf8[1024];
            NotAscii.insert(SjisToUtf8(text, utf8, sizeof utf8));
            return;
        }
}

bool Ascii(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

// Option rows of a choice at a place left of the panel; the preferences' language row.
constexpr int RowX = 300, FirstRowY = 157, SecondRowY = 197;
constexpr int LanguageRow = 9;

class English : public GameTest {
protected:
    English() : GameTest("english_") {}
    void SetUp() override {
        GameTest::SetUp();
        CopyAllAssets();
        LaidOut.clear();
        NotAscii.clear();
        TextsLaidOut = 0;
        kaDraw::WatchLaidOutText(Watch);
    }
    void TearDown() override {
        kaDraw::WatchLaidOutText(nullptr);
        GameTest::TearDown();
    }
    void WritePreferences(const char* language) {
        std::filesystem::create_directories(dir / "config" / "akari");
        std::ofstream(dir / "config" / "akari" / "preferences.ini") << "[preferences]\nlanguage=" << language << "\n";
    }
    // The game opened with every line out at once, past the opening to the title, and
    // clicks lines into the story.
    void OpenAndRead(int clicks) {
        std::ofstream(dir / "owlsys.ini") << "0,0,";
        headless::EnableAudio(true);
        ASSERT_EQ(OpenGame(), 1);
        headless::PushEvent({plat::EvFocusGained, 0, 0, 0, 0, {}});
        RunFor(4000);
        for (int n = 0; n < clicks; ++n) Click(RowX, FirstRowY);
    }
    static void RunFor(uint32_t ms) {
        uint32_t until = plat::Milliseconds() + ms;
        while (int32_t(plat::Milliseconds() - until) < 0 && RunLoopPass()) {
        }
    }
    static void Click(int x, int y, int button = 1, uint32_t ms = 60) {
        headless::PushEvent({plat::EvPointerMove, x, y, 0, 0, {}});
        headless::PushEvent({plat::EvButtonDown, x, y, button, 1, {}});
        RunFor(ms);
    }
    static void ClickOn(const layout::Rect& r, uint32_t ms = 60) { Click(layout::Centre(r).x, layout::Centre(r).y, 1, ms); }
    static void Key(plat::Key key, uint32_t ms = 100) {
        headless::PushEvent({plat::EvKeyDown, 0, 0, 0, 0, key});
        RunFor(ms);
    }
    static void LetGoOfT() {
        headless::PushEvent({plat::EvKeyUp, 0, 0, 0, 0, plat::KeyT});
        RunFor(100);
    }
    static void OpenBacklog() {
        headless::PushEvent({plat::EvWheel, 0, 1, 0, 0, {}});
        RunFor(100);
        ASSERT_TRUE(BacklogOpen);
    }
    // The menu opened and the button whose box is r clicked.
    static void MenuButton(const layout::Rect& r) {
        Click(RowX, FirstRowY, 3, 100);
        ClickOn(r);
    }
    static layout::Rect LanguageBox(int n) {
        return layout::PreferenceBox(LanguageRow, n, layout::WideBoxStep, layout::WideBoxWidth);
    }

    // Clicks from the title back to the title, taking option first at the first choice
    // and second at the second; with forget, the flags are cleared after the first
    // choice, as a load clears them, for the lines that read right whatever was chosen.
    // Each screen is opened on the way; every line shown must lie within the window.
    void PlayPath(int first, int second, bool forget, std::set<int>* shown) {
        Click(RowX, FirstRowY);  // the title
        for (int n = 0, choices = 0; n < 3000; ++n) {
            const kaDraw::TextLayout& laid = MessageLayout();
            for (int i = 1; i < laid.count; ++i) {
                ASSERT_LE(laid.rects[i].bottom, layout::ClientHeight) << "line " << CurrentScene().line;
                ASSERT_LE(laid.rects[i].right, layout::MessageText.right) << "line " << CurrentScene().line;
            }
            shown->insert(CurrentScene().line);
            if (n == 3) {
                Key(plat::KeyF5);  // the quick notice
                MenuButton(layout::SaveRow.Button(0));
                Click(RowX, FirstRowY);
                MenuButton(layout::LoadRow.Button(4));  // an empty slot
                Click(RowX, FirstRowY);
                OpenBacklog();
                Click(RowX, FirstRowY, 3);
                Key(plat::KeyF1, 200);
                Key(plat::KeyF1);
                Click(580, 336, 1, 200);  // the quit prompt, declined
                Click(RowX, SecondRowY);
            }
            bool choosing = CurrentScene().storyState == ChoiceOpen;
            Click(RowX, (choices ? second : first) ? SecondRowY : FirstRowY);
            if (choosing && ++choices == 1 && forget)
                for (int i = 0; i < FlagCount; ++i) SetFlagForTest(i, 0);
            if (GetGameMode() == ModeTitle) {
                EXPECT_EQ(choices, 2);
                Key(plat::KeyF5);  // nothing can be saved here
                return;
            }
        }
        FAIL() << "the path " << first << second << " never came back to the title";
    }
};

TEST_F(English, EveryPathAndScreenLaysOutOnlyAsciiThatFits) {
    WritePreferences("en");
    OpenAndRead(0);
    ASSERT_TRUE(EnglishInForce());
    std::set<int> shown;
    for (int path = 0; path < 6; ++path) PlayPath(path / 2 % 2, path % 2, path >= 4, &shown);
    for (const std::string& text : NotAscii) ADD_FAILURE() << "laid out in English: " << text;
    // Every screen was reached, and every prose line shown (a choice's options and
    // prompt are no scene's line).
    for (EngineTextId id : {TextMenu, TextSaved, TextClickToReturn, TextNothingToLoad, TextQuickSaved,
                            TextNothingToSave, TextPreferences, TextContinue})
        EXPECT_TRUE(LaidOut.count(EngineText(id))) << EngineText(id);
    EXPECT_TRUE(LaidOut.count(ReaderText(5))) << "the quit prompt";
    for (int line = 1; line < ScriptLineCount && ShippedScript[line][0]; ++line) {
        Keyword k = MatchKeyword(ShippedScript[line]);
        if (k == KwCommand) line += ReadNumberAt(ShippedScript[line], 8) + 1;
        if (k == KwNone) {
            EXPECT_TRUE(shown.count(line)) << "line " << line;
        }
    }
}

// Switched in the preferences, the line shown is laid out again at once, the backlog
// follows, and a save made in one language loads in the other; the page itself turns.
TEST_F(English, SwitchedLiveTheLineAndTheBacklogFollowAndSavesDoNot) {
    OpenAndRead(4);
    ASSERT_FALSE(EnglishInForce()) << "without the preference, Japanese";
    const int saved = CurrentScene().line;
    ASSERT_FALSE(Ascii(LastLaidOut));
    MenuButton(layout::SaveRow.Button(0));
    Click(RowX, FirstRowY);  // the notice closed, a step
    const int line = CurrentScene().line;

    Key(plat::KeyF1, 200);
    ClickOn(LanguageBox(1));
    EXPECT_TRUE(EnglishInForce());
    std::ifstream kept(dir / "config" / "akari" / "preferences.ini");
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(kept), {}).find("language=en"), std::string::npos);
    Key(plat::KeyF1, 200);
    EXPECT_EQ(CurrentScene().line, line) << "the story stays";
    EXPECT_EQ(LastLaidOut, ReaderText(line)) << "the line laid out again in English";
    EXPECT_TRUE(Ascii(LastLaidOut));

    LaidOut.clear();
    OpenBacklog();
    EXPECT_GE(LaidOut.size(), 3u);
    for (const std::string& text : LaidOut) EXPECT_TRUE(Ascii(text)) << "the backlog in English: " << text;
    Click(RowX, FirstRowY, 3);

    MenuButton(layout::LoadRow.Button(0));
    EXPECT_EQ(CurrentScene().line, saved);
    Click(RowX, FirstRowY);
    EXPECT_EQ(LastLaidOut, ReaderText(saved));

    Key(plat::KeyF1, 200);
    LaidOut.clear();
    ClickOn(LanguageBox(0), 100);
    EXPECT_FALSE(EnglishInForce());
    EXPECT_TRUE(LaidOut.count(EngineText(TextPreferences))) << "the page drawn in Japanese";
    Key(plat::KeyF1, 200);
    EXPECT_EQ(LastLaidOut, LineText(CurrentScene().line));
}

// T held shows the line's English over the window and the backlog in English; let go,
// the picture is as it was and the backlog Japanese again. The story does not move.
TEST_F(English, HeldTTheLineAndTheBacklogInEnglishLetGoJapaneseAgain) {
    OpenAndRead(4);
    const int line = CurrentScene().line;
    const std::vector<uint32_t> plain = headless::LastFrame()->pixels;
    Key(plat::KeyT);
    EXPECT_TRUE(LaidOut.count(EnglishLineText(line))) << "the line's English over the window";
    EXPECT_NE(headless::LastFrame()->pixels, plain);
    LetGoOfT();
    EXPECT_EQ(CurrentScene().line, line) << "the story did not move";
    EXPECT_EQ(headless::LastFrame()->pixels, plain) << "let go, the box is gone";

    OpenBacklog();
    LaidOut.clear();
    Key(plat::KeyT);
    EXPECT_GE(LaidOut.size(), 3u);
    for (const std::string& text : LaidOut) EXPECT_TRUE(Ascii(text)) << "the backlog in English: " << text;
    LaidOut.clear();
    LetGoOfT();
    EXPECT_TRUE(LaidOut.count(LineText(line))) << "and in Japanese again";
}

// Ctrl+C puts the line shown on the clipboard, in the language shown, and the held Ctrl
// of the press skips nothing; with the preference each new line goes there as it shows.
TEST_F(English, CtrlCCopiesTheLineShownAndThePreferenceEveryNewLine) {
    OpenAndRead(4);
    const int line = CurrentScene().line;
    headless::SetKeyDown(plat::KeyCtrl, true);
    Key(plat::KeyCtrl, 120);
    Key(plat::KeyCopy, 600);
    headless::SetKeyDown(plat::KeyCtrl, false);
    RunFor(100);
    EXPECT_EQ(CurrentScene().line, line) << "the Ctrl of Ctrl+C skips nothing";
    char utf8[1024];
    EXPECT_EQ(headless::ClipboardText(), SjisToUtf8(LineText(line), utf8, sizeof utf8));

    Preferences.CopyLines = true;
    SetLanguage(true);
    Click(RowX, FirstRowY);
    ASSERT_NE(CurrentScene().line, line);
    EXPECT_EQ(headless::ClipboardText(), EnglishLineText(CurrentScene().line));
}

// With the preference, the pointer on a word of the line shows its entry of the glossary:
// the word, its reading, the word it is a form of, and its senses; without it, nothing.
TEST_F(English, ThePointerOnAWordShowsItsReadingAndMeaning) {
    OpenAndRead(4);
    const int line = CurrentScene().line;
    const kaDraw::TextRect first = MessageLayout().rects[1];
    const GlossaryWord* word = GlossaryWordAt(line, 0);
    ASSERT_NE(word, nullptr) << "the glossary has the line's first word";
    const GlossaryEntry& entry = GlossaryEntryOf(*word);
    EXPECT_NE(std::string(LineText(line)).find(entry.word), std::string::npos);
    for (bool on : {false, true}) {
        Preferences.WordBox = on;
        LaidOut.clear();
        headless::PushEvent({plat::EvPointerMove, first.left + 2, first.top + 2, 0, 0, {}});
        RunFor(100);
        bool shown = false;
        for (const std::string& text : LaidOut)
            shown = shown || (text.find(entry.word) == 0 && text.find(entry.reading) != std::string::npos &&
                              text.find(entry.senses) != std::string::npos);
        EXPECT_EQ(shown, on);
        headless::PushEvent({plat::EvPointerMove, RowX, FirstRowY, 0, 0, {}});
        RunFor(100);
    }
    // T held, Right and Left move along the words; the second word's box, then the first's,
    // whose reading self-voicing says.
    Preferences.WordBox = false;
    Preferences.SelfVoicing = true;
    std::filesystem::copy(std::string(AKARI_GAME_DIR) + "/speech", dir / "speech");
    int count = 0;
    const GlossaryWord* words = GlossaryWordsOf(line, &count);
    ASSERT_GE(count, 2);
    Key(plat::KeyT);
    Key(plat::KeyRight);
    LaidOut.clear();
    Key(plat::KeyRight);
    EXPECT_EQ(LastLaidOut.find(GlossaryEntryOf(words[1]).word), 0u) << "the second word";
    Key(plat::KeyLeft);
    EXPECT_EQ(LastLaidOut.find(entry.word), 0u) << "the first word again";
    bool said = false;
    for (int id = 0; id < kaSound::ObjectCount; ++id)
        said = said || (kaSound::SecondsLeft(id) > 0.0f && kaSound::SpeechClipName(entry.reading) == kaSound::NameOf(id));
    EXPECT_TRUE(said) << "the word's reading said";
    LetGoOfT();
    EXPECT_EQ(CurrentScene().line, line);
}

// The error box a reader can meet speaks the language read from the preferences.
TEST_F(English, TheErrorBoxFollowsTheLanguage) {
    for (const char* language : {"en", "ja"}) {
        WritePreferences(language);
        LoadPreferences();
        ErrorBox("kaDraw::LoadObject", "BMPファイルを読み込めません");
    }
    ASSERT_EQ(headless::MessageBoxes().size(), 2u);
    EXPECT_EQ(headless::MessageBoxes()[0].caption, "Error");
    EXPECT_EQ(headless::MessageBoxes()[0].text, "kaDraw::LoadObject : Cannot read a picture file");
    EXPECT_EQ(headless::MessageBoxes()[1].caption, "エラー発生");
}

}  // namespace
