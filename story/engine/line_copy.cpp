// The line shown on the desktop's clipboard, in the language shown: on Ctrl+C, and with
// the preference, each line as it is shown, for the dictionary tools readers of
// Japanese keep beside the window.
#include "draw/sjis.h"
#include "platform/platform.h"
#include "story/engine/engine.h"

void CopyLine(int line) {
    if (!LineText(line)[0] || MatchKeyword(LineText(line)) != KwNone) return;
    char utf8[ScriptLineBytes * 2];  // CP932's two bytes become at most three in UTF-8
    plat::SetClipboardText(SjisToUtf8(ReaderText(line), utf8, sizeof utf8));
}
