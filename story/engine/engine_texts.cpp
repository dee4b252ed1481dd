// The texts the engine draws itself (font names, notices, the system menu), converted
// once from UTF-8 to the CP932 bytes the text module lays out.
#include "draw/sjis.h"
#include "story/engine/engine.h"

static const char* const Utf8Texts[EngineTextCount] = {
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
};

static char Converted[EngineTextCount][512];
static bool ConversionDone = false;

const char* EngineText(EngineTextId id) {
    if (!ConversionDone) {
        for (int i = 0; i < EngineTextCount; ++i)
            if (!Utf8ToSjis(Utf8Texts[i], Converted[i], sizeof Converted[i]))
                Converted[i][0] = '\0';
        ConversionDone = true;
    }
    return id >= 0 && id < EngineTextCount ? Converted[id] : "";
}
