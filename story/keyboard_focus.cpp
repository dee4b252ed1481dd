// The keyboard's focus: the arrow keys and Tab move it among the items of what is open
// (a choice or the quit prompt, the panel's buttons, the system menu's buttons, the
// backlog's lines, the preferences' rows, the title's entries), and the pointer, in the game and on the
// screen, is put on the focused item. The highlight and the click of Return or Space are
// then the pointer's own, so the pointer and the keys never disagree; a pointer that
// leaves the item takes the focus with it.
#include "base/screen_layout.h"
#include "story/frame.h"

namespace {

struct Item {
    layout::Rect area;  // where the pointer answers; the focus puts it at the middle
    int row;            // items side by side share a row: left and right move along it
};

// The system menu's twenty buttons are the most any screen has.
constexpr int ItemsMost = 24;
Item Items[ItemsMost];
int ItemCount = 0;

Screen LastScreen = Screen::Logo;  // what was open at the last frame's start
int Focused = -1;                  // the focused item (in the backlog its entry); -1 none
int FocusedLine = -1;              // the story's line when the focus was set

bool InStory(Screen s) { return s == Screen::Story || s == Screen::Choice || s == Screen::QuitPrompt; }

// The screens without items: the opening, the end, and the menu's notice (a click closes it).
bool HasItems(Screen s) {
    return s != Screen::Logo && s != Screen::Notice && s != Screen::End && s != Screen::MenuNotice;
}

void Add(const layout::Rect& area, int row) {
    if (ItemCount < ItemsMost) Items[ItemCount++] = {area, row};
}

void AddRow(const layout::ButtonRow& buttons, int row) {
    for (int n = 0; n < buttons.count; ++n) Add(buttons.Button(n), row);
}

// The items in reading order, top to bottom and left to right. The backlog's lines are
// not listed: it scrolls, and is walked by its entries.
void ListItems(Screen s) {
    ItemCount = 0;
    switch (s) {
    case Screen::Choice:
    case Screen::QuitPrompt:
        for (int i = 0; i < OpenChoiceOptions(); ++i) Add(layout::ChoiceRowHit(i), i);
        if (s == Screen::QuitPrompt) break;  // under the prompt the panel answers no click
        [[fallthrough]];
    case Screen::Story:
        Add(layout::MenuButton, ItemCount);
        Add(layout::QuitButton, ItemCount);
        break;
    case Screen::Menu:
        AddRow(layout::SaveRow, 0);
        AddRow(layout::LoadRow, 1);
        AddRow(layout::SpeedRow, 2);
        AddRow(layout::MusicRow, 3);
        Add(layout::QuitGameButton, 4);
        Add(layout::ReturnButton, 4);
        break;
    case Screen::Preferences:
        for (int row = 0; row < layout::PreferenceRowCount; ++row)
            Add(PreferencesRowTarget(row), row);
        break;
    case Screen::Title:
        Add(layout::ContinueEntry, 0);
        Add(layout::TitlePreferencesEntry, 1);
        break;
    default: break;
    }
}

// The focused item's area as the page stands now; false when it is not there.
bool FocusedArea(Screen s, layout::Rect* area) {
    if (s == Screen::Backlog) return BacklogLineOnPage(Focused, false, area);
    if (Focused < 0 || Focused >= ItemCount) return false;
    *area = Items[Focused].area;
    return true;
}

// The item of row whose middle lies nearest x; -1 when the row has none.
int NearestInRow(int row, int x) {
    int best = -1, bestDistance = 0;
    for (int i = 0; i < ItemCount; ++i) {
        if (Items[i].row != row) continue;
        int d = layout::Centre(Items[i].area).x - x;
        if (d < 0) d = -d;
        if (best < 0 || d < bestDistance) best = i, bestDistance = d;
    }
    return best;
}

enum Move { MoveNone, MoveUp, MoveDown, MoveLeft, MoveRight, MoveNext, MovePrevious };

Move KeyMove(Screen s) {
    if (FrameInput().TabKey) return FrameInput().TabKey > 0 ? MoveNext : MovePrevious;
    switch (FrameInput().ArrowKey) {
    case ArrowUp: return MoveUp;
    case ArrowDown: return MoveDown;
    // On the preferences left and right change the row's value, not the focus.
    case ArrowLeft: return s == Screen::Preferences ? MoveNone : MoveLeft;
    case ArrowRight: return s == Screen::Preferences ? MoveNone : MoveRight;
    default: return MoveNone;
    }
}

// The item the move reaches from the focused one. With none focused the first press
// takes the first item (down, right, Tab) or the last (up, left, Shift+Tab); on the
// preferences it starts from the row marked there. Tab goes round; the arrows stop at
// the ends.
int Moved(Screen s, Move move) {
    if (ItemCount == 0) return -1;
    int from = Focused;
    if (from < 0 && s == Screen::Preferences) from = PreferencesRow();
    if (from < 0) {
        bool forward = move == MoveDown || move == MoveRight || move == MoveNext;
        return forward ? 0 : ItemCount - 1;
    }
    const Item& at = Items[from];
    switch (move) {
    case MoveNext: return (from + 1) % ItemCount;
    case MovePrevious: return (from + ItemCount - 1) % ItemCount;
    case MoveLeft: return from > 0 && Items[from - 1].row == at.row ? from - 1 : from;
    case MoveRight: return from + 1 < ItemCount && Items[from + 1].row == at.row ? from + 1 : from;
    case MoveUp:
    case MoveDown: {
        int next = NearestInRow(at.row + (move == MoveUp ? -1 : 1), layout::Centre(at.area).x);
        return next >= 0 ? next : from;
    }
    default: return from;
    }
}

// The backlog is walked by its entries, newest at the foot: up goes to older lines, down
// to newer, and the first press takes the newest.
int MovedInBacklog(Move move) {
    int count = BacklogCount();
    if (count == 0 || move == MoveLeft || move == MoveRight) return Focused;
    if (Focused < 0) return count - 1;
    bool older = move == MoveUp || move == MovePrevious;
    int next = Focused + (older ? -1 : 1);
    return next < 0 ? 0 : next >= count ? count - 1 : next;
}

void PutPointer(layout::Point p) {
    PlacePointer(p.x, p.y);
    MovePointerTo(p.x, p.y);
}

// The focus goes when what is open changes, when the pointer leaves the focused item,
// and in the story when a step is made; the pointer a step leaves on a panel button is
// put back where a choice leaves it, so that Return steps again.
void DropStaleFocus(Screen s) {
    if (Focused < 0) return;
    bool stepped = InStory(LastScreen) && CurrentScene().line != FocusedLine;
    layout::Rect area;
    if (s != LastScreen || stepped || !FocusedArea(s, &area) || !PointerIn(area)) {
        Focused = -1;
        if (stepped && InStory(s)) PutPointer(layout::PointerAfterChoice);
    }
}

}  // namespace

void ResetKeyboardFocus() {
    LastScreen = Screen::Logo;
    Focused = FocusedLine = -1;
    ItemCount = 0;
}

bool KeyboardFocusFrame() {
    Screen s = CurrentScreen();
    ListItems(s);
    DropStaleFocus(s);
    LastScreen = s;
    Move move = KeyMove(s);
    if (move != MoveNone && HasItems(s)) {
        int next = s == Screen::Backlog ? MovedInBacklog(move) : Moved(s, move);
        layout::Rect area = next >= 0 && next < ItemCount ? Items[next].area : layout::Rect{};
        // The backlog scrolls until the line it moves to shows.
        bool placed = s == Screen::Backlog ? BacklogLineOnPage(next, true, &area) : next >= 0;
        if (placed) {
            Focused = next;
            FocusedLine = CurrentScene().line;
            if (s == Screen::Preferences) PickPreferencesRow(next);
            PutPointer(layout::Centre(area));
        }
    }
    // The pages run before the frame's key poll: there Return and Space press the focused
    // item, and the story does not see them again should the press close the page.
    bool page = s == Screen::Backlog || s == Screen::Preferences;
    if (!page || Focused < 0 || !(FrameInput().ReturnKey || FrameInput().SpaceKey)) return false;
    TakeFocusPress();
    return true;
}

int KeyboardFocusForTest() { return Focused; }
