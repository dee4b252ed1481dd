// The system menu's free margin left of its rows: the slot whose save or load button the
// pointer is on (its small picture, when it was saved, the start of its line), or the
// notice after a save or a load with how to go on; and the marks of the message speed
// and the music setting in force, under their buttons (dimmed with the menu while a
// notice shows). Nothing here covers a button or a label.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "draw/sjis.h"
#include "story/screens/screens.h"

// What each slot holds, read when the pointer first comes onto one of its buttons since
// the menu opened or a slot was saved: not a file read every frame.
static SlotSummary Summaries[SlotCount];
static bool SummaryRead[SlotCount];
// The texts drawn in the last frame, for the tests.
static char MarginTexts[2][128];

// The start of a line the margin holds: this many bytes at most, then "…".
static const size_t LineStartBytes = 56;
static const uint32_t NoticeColour = 0xFFFFFF, DateColour = PanelMarkColour,
                      LineColour = 0xFFFFFF, EmptyColour = 0xC8C8C8, FrameColour = 0xC8C8C8,
                      HintColour = 0xC8C8C8, DimMarkColour = (PanelMarkColour >> 1) & 0x7F7F7F;

void ForgetSlotSummaries() {
    for (bool& read : SummaryRead) read = false;
}

static const SlotSummary& Summary(int slot) {
    if (!SummaryRead[slot]) {
        ReadSlotSummary(slot, &Summaries[slot]);
        SummaryRead[slot] = true;
    }
    return Summaries[slot];
}

static int SlotUnderPointer() {
    for (int n = 0; n < SlotCount; ++n)
        if (PointerIn(layout::SaveRow.Button(n)) || PointerIn(layout::LoadRow.Button(n))) return n;
    return -1;
}

static const kaDraw::TextLayout& MarginText(int i, const layout::TextArea& area, const char* text,
                                            int size, uint32_t colour) {
    std::snprintf(MarginTexts[i], sizeof MarginTexts[i], "%s", text);
    kaDraw::SelectTextFont(EngineText(TextGothic), size);
    kaDraw::SetTextColours(colour, 0, 1);
    const kaDraw::TextLayout& drawn = DrawTextArea(area, text);
    kaDraw::EndTextDrawing();
    return drawn;
}

// A prose line's first characters, cut at a character's end; an empty text for a line
// that is not prose (a command, or line 0 of a slot that held none of the table's).
static void LineStart(int line, char* out, int size) {
    out[0] = '\0';
    if (line <= 0 || MatchKeyword(LineText(line)) != KwNone) return;
    const char* text = ReaderText(line);
    size_t keep = SjisFittingBytes(text, LineStartBytes);
    const char* more = !text[keep] ? "" : EnglishInForce() ? "..." : "\x81\x63";  // an ellipsis
    std::snprintf(out, size_t(size), "%.*s%s", int(keep), text, more);
}

static void DrawSlot(int slot) {
    const SlotSummary& s = Summary(slot);
    if (!s.saved) {
        MarginText(0, layout::SlotDateText, EngineText(TextEmptySlot), layout::SlotTextSize, EmptyColour);
        return;
    }
    if (s.pictured) {
        const layout::Rect& f = layout::SlotPreviewFrame;
        const layout::Placement& p = layout::SlotPreview;
        kaDraw::DrawRect(f.left, f.top, f.right, f.bottom, 0, FrameColour, 1);
        kaDraw::BltRgbPixels(p.x, p.y, s.preview, p.width, p.height);
    }
    char text[LineStartBytes + 8];
    FormatSaveTime(s.changedAt, text, sizeof text);
    MarginText(0, layout::SlotDateText, text, layout::SlotTextSize, DateColour);
    LineStart(s.line, text, sizeof text);
    if (text[0]) MarginText(1, layout::SlotLineText, text, layout::SlotTextSize, LineColour);
}

// The voice clip a prose line is spoken with: the last voice's wave_play: of its step
// (a sound effect is no voice); nullptr for none.
static const char* VoiceOfLine(int line) {
    for (int at = line - 1; at > 0; --at) {
        Keyword k = MatchKeyword(LineText(at));
        const char* clip = LineText(at) + ArgumentOffset(k);
        if (k == KwWavePlay && !IsEffectClip(clip)) return clip;
        if (k == KwNone || k == KwLabel || k == KwCommand || k == KwJump || k == KwEnd) return nullptr;
    }
    return nullptr;
}

void SpeakSlotContents(int slot) {
    if (!SelfVoicingOn() || slot < 0 || slot >= SlotCount) return;
    const SlotSummary& s = Summary(slot);
    if (!s.saved) return SpeakPhraseNext("menu_slot_empty");
    std::tm t;
    if (SaveTimeOnClock(s.changedAt, &t)) {
        const struct { const char* unit; int n; } parts[] = {
            {"month_", t.tm_mon + 1}, {"day_", t.tm_mday}, {"hour_", t.tm_hour}, {"minute_", t.tm_min}};
        for (const auto& part : parts) {
            char id[24];
            std::snprintf(id, sizeof id, "%s%d", part.unit, part.n);
            SpeakPhraseNext(id);
        }
    }
    if (s.line <= 0 || MatchKeyword(LineText(s.line)) != KwNone) return;
    const char* voice = VoiceOfLine(s.line);
    SpeakClipNext(voice ? voice : NarrationClip(s.line).c_str());
}

static void DrawMark(const layout::Rect& button, uint32_t colour) {
    layout::Rect m = layout::MarkUnder(button);
    kaDraw::DrawRect(m.left, m.top, m.right, m.bottom, colour, colour, 1);
}

void DrawMenuMargin(int notice) {
    MarginTexts[0][0] = MarginTexts[1][0] = '\0';
    int slot = SlotUnderPointer();
    if (notice >= 0) {
        const kaDraw::TextLayout& drawn =
            MarginText(0, layout::MenuNoticeText, EngineText(EngineTextId(notice)), 20, NoticeColour);
        const layout::TextArea& a = layout::MenuNoticeText;
        int last = a.y;  // the foot of the notice's last row
        for (int i = 1; i < drawn.count; ++i) last = std::max(last, drawn.rects[i].bottom);
        const layout::TextArea hint{a.x, last + layout::MenuNoticeHintGap, a.right, layout::MenuMargin.bottom};
        MarginText(1, hint, EngineText(TextClickToReturn), layout::SlotTextSize, HintColour);
    } else if (slot >= 0) {
        DrawSlot(slot);
    }
    uint32_t mark = notice >= 0 ? DimMarkColour : PanelMarkColour;
    int speed = int(MessageSpeed);
    DrawMark(layout::SpeedRow.Button(speed < 0 ? 0 : speed >= layout::SpeedRow.count ? layout::SpeedRow.count - 1 : speed), mark);
    DrawMark(layout::MusicRow.Button(MusicOff != 0 ? 1 : 0), mark);
}

const char* MenuMarginTextForTest(int i) { return i == 0 || i == 1 ? MarginTexts[i] : ""; }
