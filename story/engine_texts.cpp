// The texts the engine draws itself (font names, notices, the system menu), converted
// once from UTF-8 to the CP932 bytes the text module lays out.
#include "draw/sjis.h"
#include "story/story.h"

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
