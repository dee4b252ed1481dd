// The texts the engine draws itself (font names, notices, the system menu, the pages), in
// Japanese and in English, converted once from UTF-8 to the CP932 bytes the text module
// lays out. The English are ASCII, in a Latin face, and fit where the Japanese do.
#include "draw/sjis.h"
#include "story/engine/engine.h"

static const char* const JapaneseTexts[EngineTextCount] = {
    "ＭＳ Ｐゴシック",
    "ＭＳ Ｐ明朝",
    "セーブしました",
    "ロードしました",
    "セーブできませんでした",
    "クイックセーブしました",
    "クイックロードしました",
    "クイックセーブがありません",
    // The menu: 17 lines, the even ones empty; lines 13 and 15 stand beside the music
    // row's buttons and show nothing.
    "セーブ\n"
    "\n"
    "  No.1    No.2    No.3    No.4    No.5\n"
    "\n"
    "ロード\n"
    "\n"
    "  No.1    No.2    No.3    No.4    No.5\n"
    "\n"
    "メッセージスピード\n"
    "\n"
    "   ０      　１  　    ２      　３　      ４　      ５\n"
    "\n"
    "　　　\n"
    "\n"
    "　　　　　　　　\n"
    "\n"
    "ゲームを終了する　　ゲームに戻る",
    // The preferences.
    "設定", "音楽の音量", "声の音量", "クリックで声を", "止める", "最後まで", "オートの間",
    "Ｓキーで飛ばす", "既読のみ", "すべて", "文字の速さ", "音楽", "入", "切", "全画面",
    "閉じる", "秒", "読み上げ",
    // A slot the menu's margin shows that holds no save; the title's entry that loads the
    // most recent save.
    "空きスロット", "つづきから",
    // Below the menu's notice: how to go on; F5 where nothing can be saved; the notice of
    // a load from a slot that holds no save.
    "クリックで戻る", "ここではセーブできません", "このスロットは空です",
    // The preferences' language row and its two boxes.
    "言語", "日本語", "English",
    // A stepper's two boxes; the row that copies each line to the clipboard.
    "－", "＋", "行をコピー", "言葉の意味",
};

// The English is set in the Latin letters of the IPA faces the Japanese uses: side by
// side with DejaVu at the message window's size, their even strokes read better once
// reduced, and the menu's rows keep the Japanese spacing.
static const char* const EnglishTexts[EngineTextCount] = {
    "IPAPGothic",
    "IPAPMincho",
    "Saved",
    "Loaded",
    "Could not save",
    "Quick saved",
    "Quick loaded",
    "No quick save",
    "Save\n"
    "\n"
    "  No.1    No.2    No.3    No.4    No.5\n"
    "\n"
    "Load\n"
    "\n"
    "  No.1    No.2    No.3    No.4    No.5\n"
    "\n"
    "Text speed\n"
    "\n"
    "    0          1          2          3          4          5\n"
    "\n"
    "\n"
    "\n"
    "\n"
    "\n"
    "  Quit the game     Back to the game",
    "Preferences", "Music volume", "Voice volume", "A click on a voice", "stops it", "lets it end",
    "Auto pause", "The S key skips", "lines read", "all", "Text speed", "Music", "On", "Off",
    "Full screen", "Close", " s", "Self-voicing",
    "Empty slot", "Continue",
    "Click to return", "Nothing can be saved here", "This slot is empty",
    "Language", "Japanese", "English",
    "-", "+", "Copy each line", "Word box",
};

static char Converted[2][EngineTextCount][512];
static bool ConversionDone = false;

const char* EngineTextIn(EngineTextId id, bool english) {
    if (!ConversionDone) {
        for (int i = 0; i < EngineTextCount; ++i) {
            if (!Utf8ToSjis(JapaneseTexts[i], Converted[0][i], sizeof Converted[0][i])) Converted[0][i][0] = '\0';
            if (!Utf8ToSjis(EnglishTexts[i], Converted[1][i], sizeof Converted[1][i])) Converted[1][i][0] = '\0';
        }
        ConversionDone = true;
    }
    return id >= 0 && id < EngineTextCount ? Converted[english ? 1 : 0][id] : "";
}
