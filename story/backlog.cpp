// The backlog: the prose lines shown in this run, kept in memory, and the page that
// shows them over the frozen story when the wheel turns up; the story is put back
// exactly when it closes.
#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "sound/kaSound.h"
#include "story/story.h"

namespace {

struct Entry {
    int line;       // the ScriptLine shown
    int size;       // the font size it was shown at
    int voiceLine;  // the wave_play: line of its step, -1 for none
    int height;     // laid-out height in pixels, -1 until measured
};

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

void SelectEntryFont(const Entry& e) {
    kaDraw::SelectTextFont(EngineText(TextGothic), e.size);
    kaDraw::SetTextColours(0xC8C8C8, 0, 1);
}

// The entry's height as the message window's layout wraps it across the page's width.
int HeightOf(Entry& e) {
    if (e.height >= 0) return e.height;
    SelectEntryFont(e);
    kaDraw::LayOutTextBlock(Page.left, 0, Page.right, LayoutBottom, LineText(e.line), 0);
    kaDraw::EndTextDrawing();
    int bottom = 0;
    for (int i = 1; i < kaDraw::TextRectCount; ++i)
        if (kaDraw::TextRects[i].bottom > bottom) bottom = kaDraw::TextRects[i].bottom;
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

// A line with a clip of its own, or, with self-voicing on, any line: its narration.
bool Replayable(const Entry& e) { return e.voiceLine >= 0 || SelfVoicingOn(); }

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
        if (Replayable(e)) {
            // The mark of a line whose clip a click replays, lit under the pointer.
            const layout::Rect area = layout::BacklogLineArea(p.top, p.bottom);
            if (PointerIn(area))
                kaDraw::DrawRect(area.left, area.top, area.right, area.bottom, 0x603010, 0x603010, 1);
            const layout::Rect mark = layout::BacklogVoiceMark(p.top);
            kaDraw::DrawRect(mark.left, mark.top, mark.right, mark.bottom, 0x80C0F0, 0x80C0F0, 1);
        }
        SelectEntryFont(e);
        kaDraw::DrawTextBlock(Page.left, p.top, Page.right, LayoutBottom, LineText(e.line), 0);
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
        if (PointerIn(layout::BacklogLineArea(Visible[v].top, Visible[v].bottom))) return v;
    return -1;
}

// Plays a line's clip again, or its narration, in place of whatever speaks.
void Replay(const Entry& e) {
    if (!Replayable(e)) return;
    StopReplay();
    StopSpeaking();
    if (VoiceId >= 0) kaSound::Stop(VoiceId, -1);
    ReplayId = e.voiceLine >= 0
                   ? kaSound::LoadObject(LineText(e.voiceLine) + ArgumentOffset(KwWavePlay), 1)
                   : kaSound::LoadOpusObject(NarrationClip(e.line).c_str(), 1);
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

}  // namespace

bool BacklogOpen = false;

void RecordShownLine(int line, int size, int voiceLine) {
    if (!LineText(line)[0]) return;  // the end of the script shows nothing
    if (Count == BacklogCapacity) {
        First = (First + 1) % BacklogCapacity;
        --Count;
    }
    Ring[(First + Count) % BacklogCapacity] = {line, size, voiceLine, -1};
    ++Count;
}

void ClearBacklog() {
    if (BacklogOpen) CloseBacklog();
    First = Count = 0;
}

int BacklogCount() { return Count; }
int BacklogLine(int index) { return index >= 0 && index < Count ? At(index).line : -1; }
int BacklogVoiceLine(int index) { return index >= 0 && index < Count ? At(index).voiceLine : -1; }

void OpenBacklog() {
    if (BacklogOpen || Count == 0) return;
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

bool BacklogFrame() {
    bool close = InputState.RightClick || InputState.EscapeKey || InputState.BackKey;
    // Page Up scrolls as a notch of the wheel up does.
    int up = InputState.WheelSteps + InputState.PageUpKey;
    for (int n = up; n > 0 && Bottom > 0 && !FitsFromTop(Bottom); --n) --Bottom;
    for (int n = InputState.WheelSteps; n < 0 && !close; ++n) {
        if (Bottom == Count - 1) close = true;
        else ++Bottom;
    }
    bool click = InputState.LeftClick && !close;
    InputState.LeftClick = InputState.RightClick = 0;
    InputState.WheelSteps = InputState.BackKey = 0;
    if (close) {
        CloseBacklog();
        return false;
    }
    if (click) ReplayAtPointer(true);
    DrawPage();
    ReplayAtPointer(false);
    return true;
}
