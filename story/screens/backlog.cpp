// The backlog: the prose lines shown in this run, kept in memory with the story's state
// as each was shown, and the page that shows them over the frozen story when the wheel
// turns up; the story is put back exactly when it closes, or put back as it stood at a
// passed line when the reader goes back to it.

#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "sound/kaSound.h"
#include "story/screens/screens.h"

namespace {

struct Entry {
    ShownLine shown;  // the line, its size, its voice and the scene as it was shown
    int height;       // laid-out height in pixels, -1 until measured
};

// The marks of the page, and what lights under the pointer.
constexpr uint32_t MarkColour = 0x80C0F0, LitColour = 0x603010;

constexpr layout::Rect Page = layout::BacklogPage;
constexpr int MaxVisible = 64;
// Far below any line's end: an entry is never cut, so measuring and drawing agree.
constexpr int LayoutBottom = 10000;

Entry Ring[BacklogCapacity];
int First = 0, Count = 0;  // oldest entry's slot, entries held
int Bottom = 0;            // index (0 oldest) of the entry drawn at the page's foot
int ReplayId = -1;         // sound object of the clip replayed last

// Where each entry of the last page was drawn, for the click test.
struct Placed {
    int index, top, bottom;
};
Placed Visible[MaxVisible];
int VisibleCount = 0;

Entry& At(int index) { return Ring[(First + index) % BacklogCapacity]; }

void KeepFirst(int count) { Count = count; }

// The language the heights were measured in: a switch, or the English held, measures
// every entry again.
bool HeightsInEnglish = false;

// The lines are shown in English in the English edition, and while T is held.
bool ShowsEnglish() { return EnglishInForce() || FrameInput().TranslationHeld; }
const char* TextOf(const Entry& e) {
    const char* english = ShowsEnglish() ? EnglishLineText(e.shown.line) : nullptr;
    return english ? english : LineText(e.shown.line);
}
uint32_t FlagsOf() { return ShowsEnglish() ? kaDraw::TextWrapWords : 0; }

void SelectEntryFont(const Entry& e) {
    kaDraw::SelectTextFont(EngineTextIn(TextGothic, ShowsEnglish()), e.shown.size);
    kaDraw::SetTextColours(0xC8C8C8, 0, 1);
}

// The entry's height as the message window's layout wraps it across the page's width.
int HeightOf(Entry& e) {
    if (HeightsInEnglish != ShowsEnglish()) {
        for (Entry& entry : Ring) entry.height = -1;
        HeightsInEnglish = ShowsEnglish();
    }
    if (e.height >= 0) return e.height;
    SelectEntryFont(e);
    const kaDraw::TextLayout& laid =
        kaDraw::MeasureTextBlock(Page.left, 0, Page.right, LayoutBottom, TextOf(e), FlagsOf());
    kaDraw::EndTextDrawing();
    int bottom = 0;
    for (int i = 1; i < laid.count; ++i)
        if (laid.rects[i].bottom > bottom) bottom = laid.rects[i].bottom;
    e.height = bottom;
    return e.height;
}

// True when entries 0 to bottom all fit on the page: nothing lies above to scroll to.
bool FitsFromTop(int bottom) {
    int used = 0;
    for (int i = 0; i <= bottom; ++i) {
        used += HeightOf(At(i)) + (i ? layout::BacklogGap : 0);
        if (used > Page.bottom - Page.top) return false;
    }
    return true;
}

// A return key's arrow (down from the top right, then left to its head), lit under the
// pointer.
void DrawReturnMark(int top) {
    const layout::Rect hit = layout::BacklogReturnHit(top);
    if (PointerIn(hit)) kaDraw::DrawRect(hit.left, hit.top, hit.right, hit.bottom, LitColour, LitColour, 1);
    const layout::Rect m = layout::BacklogReturnMark(top);
    const int stem = m.top + 5;  // the upper of the stem's two rows
    kaDraw::DrawRect(m.right - 3, m.top, m.right - 1, stem + 2, MarkColour, MarkColour, 1);
    kaDraw::DrawRect(m.left + 5, stem, m.right - 1, stem + 2, MarkColour, MarkColour, 1);
    for (int i = 0; i < 8; ++i) {
        int reach = i < 7 - i ? i : 7 - i;
        int y = stem - 3 + i;
        kaDraw::DrawRect(m.left + 3 - reach, y, m.left + 5, y + 1, MarkColour, MarkColour, 1);
    }
}


// A line with a clip of its own, or, with self-voicing on, any line: its narration.
bool Replayable(const Entry& e) { return e.shown.voiceLine >= 0 || SelfVoicingOn(); }

// The pointer is on the line or its voice square, and not on its return arrow's box,
// which reaches into the line's area.
bool OverLine(const Placed& p) {
    return (PointerIn(layout::BacklogLineArea(p.top, p.bottom)) || PointerIn(layout::BacklogVoiceHit(p.top))) &&
           !PointerIn(layout::BacklogReturnHit(p.top));
}

// Where the entries from Bottom up stand on the page.
void PlaceLines() {
    VisibleCount = 0;
    int y = Page.bottom;
    for (int i = Bottom; i >= 0 && VisibleCount < MaxVisible; --i) {
        Entry& e = At(i);
        int top = y - HeightOf(e);
        if (top < Page.top && i != Bottom) break;
        Visible[VisibleCount++] = {i, top, y};
        y = top - layout::BacklogGap;
    }
}

// The slot of Visible that holds entry index; -1 when it is not on the page.
int PlacedSlot(int index) {
    for (int v = 0; v < VisibleCount; ++v)
        if (Visible[v].index == index) return v;
    return -1;
}

void DrawPage() {
    DrawCoverBackdrop();
    PlaceLines();
    for (int v = 0; v < VisibleCount; ++v) {
        const Placed& p = Visible[v];
        const Entry& e = At(p.index);
        DrawReturnMark(p.top);
        if (Replayable(e)) {
            // The mark of a line whose clip a click replays, lit under the pointer.
            const layout::Rect area = layout::BacklogLineArea(p.top, p.bottom);
            if (OverLine(p))
                kaDraw::DrawRect(area.left, area.top, area.right, area.bottom, LitColour, LitColour, 1);
            const layout::Rect mark = layout::BacklogVoiceMark(p.top);
            kaDraw::DrawRect(mark.left, mark.top, mark.right, mark.bottom, MarkColour, MarkColour, 1);
        }
        SelectEntryFont(e);
        kaDraw::DrawTextBlock(Page.left, p.top, Page.right, LayoutBottom, TextOf(e), FlagsOf());
        kaDraw::EndTextDrawing();
    }
}

void StopReplay() {
    if (ReplayId < 0) return;
    kaSound::Stop(ReplayId, -1);
    kaSound::ReleaseObject(ReplayId);
    ReplayId = -1;
}

// The entry drawn under the pointer: its place in Visible, -1 for none.
int EntryAtPointer() {
    for (int v = 0; v < VisibleCount; ++v)
        if (OverLine(Visible[v])) return v;
    return -1;
}

// Plays a line's clip again, or its narration, in place of whatever speaks.
void Replay(const Entry& e) {
    if (!Replayable(e)) return;
    StopReplay();
    StopSpeaking();
    if (VoiceId >= 0) kaSound::Stop(VoiceId, -1);
    ReplayId = e.shown.voiceLine >= 0
                   ? kaSound::LoadObject(LineText(e.shown.voiceLine) + ArgumentOffset(KwWavePlay), 1)
                   : kaSound::LoadOpusObject(NarrationClip(e.shown.line).c_str(), 1);
    kaSound::Play(ReplayId, -1);
}

// A click on a line plays its clip again; with self-voicing on, a line says itself as
// the pointer reaches it.
void ReplayAtPointer(bool click) {
    int v = EntryAtPointer();
    if (v < 0) return;
    if (PointerReaches(ReachBacklog, Visible[v].index) || click) Replay(At(Visible[v].index));
}

void CloseBacklog() {
    StopReplay();
    UncoverStory();
    BacklogOpen = false;
}

// The entry a click on its mark, or R over its line or mark, goes back to; -1 for none.
int ReturnAtPointer(bool overLineToo) {
    for (int v = 0; v < VisibleCount; ++v) {
        const Placed& p = Visible[v];
        if (PointerIn(layout::BacklogReturnHit(p.top)) ||
            (overLineToo && PointerIn(layout::BacklogLineArea(p.top, p.bottom))))
            return p.index;
    }
    return -1;
}

// The story as it stood when entry index was shown: its state, its line laid out afresh
// and coming out again with its voice, and the backlog up to it. What was read stays read.
void GoBackTo(int index) {
    const ShownLine& shown = At(index).shown;
    CloseBacklog();
    RestoreStorySnapshot(shown.scene);
    QuitPromptOpen = false;
    ForgetLayout();
    ResumePassedLine(shown.voiceLine);
    KeepFirst(index + 1);
}

}  // namespace

bool BacklogOpen = false;

void RecordShownLine(const ShownLine& shown) {
    if (!LineText(shown.line)[0]) return;  // the end of the script shows nothing
    if (Count == BacklogCapacity) {  // the oldest goes
        First = (First + 1) % BacklogCapacity;
        --Count;
    }
    Entry& e = Ring[(First + Count) % BacklogCapacity];
    e.shown = shown;
    e.height = -1;
    ++Count;
}

void ClearBacklog() {
    if (BacklogOpen) CloseBacklog();
    First = Count = 0;
}

int BacklogCount() { return Count; }
int BacklogLine(int index) { return index >= 0 && index < Count ? At(index).shown.line : -1; }
int BacklogVoiceLine(int index) { return index >= 0 && index < Count ? At(index).shown.voiceLine : -1; }

void OpenBacklog() {
    if (BacklogOpen || Count == 0) return;
    // The message window goes under the page without its text: the page's newest row is
    // that text, and a darkened copy would show through beside it.
    BltTransparentAt(layout::MessageFrame, InterfacePicture[PicMessage]);
    CoverStory();
    BacklogOpen = true;
    Bottom = Count - 1;
    DrawPage();
    // The line under the pointer waits until the opening is said.
    int v = EntryAtPointer();
    if (v >= 0) PointerReaches(ReachBacklog, Visible[v].index);
    SpeakPhrase("backlog_open");
}

bool BacklogLineOnPage(int index, bool scroll, layout::Rect* area) {
    if (!BacklogOpen || index < 0 || index >= Count) return false;
    if (scroll && index > Bottom) Bottom = index;
    PlaceLines();
    while (scroll && PlacedSlot(index) < 0 && Bottom > index) {
        --Bottom;
        PlaceLines();
    }
    int v = PlacedSlot(index);
    if (v < 0) return false;
    *area = layout::BacklogLineArea(Visible[v].top, Visible[v].bottom);
    return true;
}

int BacklogFrame(bool focusPress) {
    const InputFields& in = FrameInput();
    bool close = in.RightClick || in.EscapeKey || in.BackKey;
    // Page Up scrolls as a notch of the wheel up does.
    int up = in.WheelSteps + in.PageUpKey;
    for (int n = up; n > 0 && Bottom > 0 && !FitsFromTop(Bottom); --n) --Bottom;
    for (int n = in.WheelSteps; n < 0 && !close; ++n) {
        if (Bottom == Count - 1) close = true;
        else ++Bottom;
    }
    int back = -1;
    bool pressed = in.LeftClick || focusPress;
    if ((pressed || in.GoBackKey) && !close) back = ReturnAtPointer(in.GoBackKey != 0);
    bool click = pressed && !close && back < 0;
    TakePageInput();
    if (back >= 0) {
        GoBackTo(back);
        return BacklogWentBack;
    }
    if (close) {
        CloseBacklog();
        return BacklogClosed;
    }
    if (click) ReplayAtPointer(true);
    DrawPage();
    ReplayAtPointer(false);
    return BacklogStays;
}

int BacklogEntryTopForTest(int index) {
    for (int v = 0; v < VisibleCount; ++v)
        if (Visible[v].index == index) return Visible[v].top;
    return -1;
}
