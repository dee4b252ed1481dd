// Where everything stands on the screen: the picture the window shows, where each
// screen draws its pictures and text, and the areas its buttons answer in. The screens
// and the picture tool, which paints the boxes under those areas, both take them from
// here. All figures are client pixels unless a comment says otherwise.
#pragma once

#include <initializer_list>

namespace layout {

struct Point {
    int x, y;
};

// A rectangle by its edges. As a hit area the pointer is on it when strictly between
// them (every edge exclusive); drawn (DrawRect, a blit's source, a painted box) it covers
// left to right - 1 and top to bottom - 1.
struct Rect {
    int left, top, right, bottom;
};

// A picture drawn with its top-left corner at (x, y); width x height is the part of it
// that is drawn, which is the whole picture.
struct Placement {
    int x, y, width, height;
};

// A block of text laid out from (x, y) with the right and bottom limits the layout takes.
struct TextArea {
    int x, y, right, bottom;
};

// A row of buttons of one size, count of them, each step pixels right of the one before.
struct ButtonRow {
    int left, step, count, width, top, bottom;
    constexpr Rect Button(int n) const {
        return {left + step * n, top, left + step * n + width, bottom};
    }
};

// The middle of a hit area: where the keyboard's focus puts the pointer on it.
constexpr Point Centre(Rect r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
// The pixels a hit area answers on, as a drawn rectangle.
constexpr Rect Inside(Rect hit) { return {hit.left + 1, hit.top + 1, hit.right, hit.bottom}; }
// A screen rectangle in the pixels of a picture drawn at place.
constexpr Rect InPicture(Rect r, Placement place) {
    return {r.left - place.x, r.top - place.y, r.right - place.x, r.bottom - place.y};
}

// ---- The picture ------------------------------------------------------------------

// Every frame is composed on the back buffer; the window shows its top-left part.
constexpr int BackBufferWidth = 700, BackBufferHeight = 520;
constexpr int ClientWidth = 640, ClientHeight = 474;
// The pointer sprite, drawn with its top-left corner at the pointer.
constexpr int PointerSize = 32;

// ---- The opening ------------------------------------------------------------------

constexpr Placement Logo{175, 160, 325, 115};
constexpr Placement Notice{90, 150, 450, 165};
constexpr Placement Title{0, 0, 640, 474};

// The title's two entries, small at the foot of its right side (the picture's own
// words stand at the middle of its foot): the pointer's area of each, its text, and the
// small light beside the text of the one under the pointer.
constexpr Rect ContinueEntry{510, 398, 630, 426};
constexpr Rect TitlePreferencesEntry{510, 428, 630, 456};
constexpr int TitleEntryTextSize = 16;
constexpr int TitleEntryTextLeft = 530, TitleEntryTextInset = 6;
constexpr Rect TitleEntryLight(Rect entry) {
    return {entry.left + 8, (entry.top + entry.bottom) / 2 - 3, entry.left + 14,
            (entry.top + entry.bottom) / 2 + 3};
}

// ---- The story screen -------------------------------------------------------------

// One band of a story picture: band k is its rows height x k to height x (k + 1).
constexpr Placement Band{0, 0, 500, 375};
// The wave effect slides each row of the band up to this many pixels either way.
constexpr int WaveReach = 10;
// A cell of the character sheet: cell k is its columns width x k to width x (k + 1).
constexpr Placement Character{260, 40, 250, 350};
// The window pictures of swin:, under the band.
constexpr Placement WindowBack{0, 0, 500, 375};
constexpr Placement WindowFrame{0, 200, 491, 119};
constexpr Placement Panel{474, 0, 168, 377};
constexpr Placement MessageFrame{-7, 375, 650, 100};
// The prose line of the message window.
constexpr TextArea MessageText{10, 385, 590, 580};

// The panel's buttons, as hit areas; the panel picture paints a box over the pixels
// each answers on.
constexpr Rect MenuButton{518, 256, 625, 284};
constexpr Rect QuitButton{549, 326, 616, 347};
constexpr Rect PanelMenuBox = InPicture(Inside(MenuButton), Panel);
constexpr Rect PanelQuitBox = InPicture(Inside(QuitButton), Panel);

// The marks at the panel's foot while auto mode or skip mode runs: arrowheads, each
// PanelMarkHeight rows from its point's top-left; skip mode's ends in a bar.
constexpr int PanelMarkHeight = 9;
constexpr Point AutoMarkAt[2] = {{584, 354}, {592, 354}};
constexpr Point SkipMarkAt[2] = {{556, 354}, {564, 354}};
constexpr Rect SkipMarkBar{572, 354, 574, 354 + PanelMarkHeight};

// The notice of a quick save or load, over the top of the picture.
constexpr TextArea QuickNoticeText{14, 12, 470, 80};

// ---- A choice and the quit prompt ---------------------------------------------------

constexpr Placement ChoiceBox{58, 90, 470, 200};
// Option i's row: its top, the pointer's area and the highlight under it, its text.
constexpr int ChoiceRowTop = 140, ChoiceRowStep = 40, ChoiceRowHeight = 35;
constexpr int ChoiceRowsMost = 8;  // more options than fit on the screen are not drawn
constexpr int ChoiceHitLeft = 70, ChoiceTextLeft = 80, ChoiceRowRight = 512;
constexpr int ChoiceTextSize = 28;  // the options' and the prompt's letters
constexpr int ChoiceRow(int i) { return ChoiceRowTop + ChoiceRowStep * i; }
constexpr Rect ChoiceRowHit(int i) {
    return {ChoiceHitLeft, ChoiceRow(i), ChoiceRowRight, ChoiceRow(i) + ChoiceRowHeight};
}
constexpr Rect ChoiceHighlight(int i) {
    return {ChoiceTextLeft, ChoiceRow(i), ChoiceRowRight, ChoiceRow(i) + ChoiceRowHeight};
}
constexpr TextArea ChoiceOption(int i) { return {ChoiceTextLeft, ChoiceRow(i), 800, 600}; }
// The prompt, in the message window.
constexpr TextArea ChoicePrompt{30, 385, 655, 100};
// Where the pointer is put once a story choice is made.
constexpr Point PointerAfterChoice{560, 170};
// The pointer's remembered y once an option is taken, so that no hit area of the frame
// that restarts matches; and the point at which auto mode's step clicks, for the same
// reason.
constexpr int PointerYAfterOption = 5;
constexpr Point AutoStepPointer{0, 0};

// ---- The system menu ----------------------------------------------------------------

constexpr Placement MenuPage{0, 0, 640, 474};
constexpr ButtonRow SaveRow{170, 63, 5, 50, 90, 115};
constexpr ButtonRow LoadRow{170, 63, 5, 50, 170, 195};
constexpr ButtonRow SpeedRow{170, 63, 6, 50, 250, 275};
constexpr ButtonRow MusicRow{170, 67, 2, 50, 325, 350};  // on, off
// Quit and return overlap; both answer there, return last, so the page shows quit
// ending where return begins.
constexpr Rect QuitGameButton{170, 370, 340, 390};
constexpr Rect ReturnButton{320, 370, 490, 390};
constexpr Rect QuitGameBox{QuitGameButton.left, QuitGameButton.top, ReturnButton.left,
                           QuitGameButton.bottom};
constexpr TextArea MenuText{170, 50, 635, 500};
// The card the page's picture paints behind the rows, drawn dimmed while a notice shows.
constexpr Rect MenuCard{150, 40, 560, 400};
// The free margin left of the rows, where nothing of the menu answers or is written:
// while the pointer is on a save or load button, that slot's small picture of the story
// frame it was saved at (framed by a line one pixel outside it), the date and time it
// was saved and the start of its line; after a save or a load, the notice instead, and
// below it how to go on.
constexpr Rect MenuMargin{0, 40, 168, 474};
constexpr Placement SlotPreview{10, 90, 150, 113};
constexpr Rect SlotPreviewFrame{SlotPreview.x - 1, SlotPreview.y - 1,
                                SlotPreview.x + SlotPreview.width + 1,
                                SlotPreview.y + SlotPreview.height + 1};
constexpr int SlotTextSize = 14;
constexpr TextArea SlotDateText{10, 210, 166, 232};
constexpr TextArea SlotLineText{10, 232, 166, 300};
constexpr TextArea MenuNoticeText{10, 92, 166, 160};
// How to go on, in smaller letters, this far below the notice's last row.
constexpr int MenuNoticeHintGap = 8;
// The mark of the message speed and the music setting in force: a bar just below the
// chosen button's edge, where the pointer's area of the button does not reach.
constexpr Rect MarkUnder(Rect button) {
    return {button.left + 8, button.bottom + 2, button.right - 8, button.bottom + 5};
}
// The margin and the marks answer no click, so none of them may touch a button of the
// menu, whatever the margin comes to show.
constexpr bool Overlap(Rect a, Rect b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
constexpr bool TouchesAMenuButton(Rect r) {
    bool touches = Overlap(r, QuitGameButton) || Overlap(r, ReturnButton);
    for (ButtonRow row : {SaveRow, LoadRow, SpeedRow, MusicRow})
        for (int n = 0; n < row.count; ++n) touches = touches || Overlap(r, row.Button(n));
    return touches;
}
constexpr bool MarginOrAMarkTouchesAMenuButton() {
    bool touches = TouchesAMenuButton(MenuMargin);
    for (ButtonRow row : {SpeedRow, MusicRow})
        for (int n = 0; n < row.count; ++n)
            touches = touches || TouchesAMenuButton(MarkUnder(row.Button(n)));
    return touches;
}
static_assert(!MarginOrAMarkTouchesAMenuButton(), "the menu's margin or a mark touches a button");

// ---- The line's English, held ----------------------------------------------------

// Over the message window, as wide as its text, growing up from its top edge.
constexpr int TranslationLeft = 6, TranslationRight = 594, TranslationBottom = 372;
constexpr int TranslationTextSize = 18, TranslationInset = 6;

// The word box: as wide as the message window's text, over it like the English held,
// with a mark under the word pointed at.
constexpr int WordBoxTextSize = 18, WordBoxMarkColour = 0x80E0F0;

// ---- The backlog --------------------------------------------------------------------

// Lines stand between left and right, the newest ending at bottom, none beginning above
// top unless it is the only one; BacklogGap pixels apart.
constexpr Rect BacklogPage{20, 16, 600, 458};
constexpr int BacklogGap = 10;
// A voiced line's area, which lights under the pointer and replays its clip on a click,
// and the small square that marks it.
constexpr Rect BacklogLineArea(int top, int bottom) {
    return {BacklogPage.left - 8, top - 4, BacklogPage.right + 4, bottom + 4};
}
constexpr Rect BacklogVoiceMark(int top) {
    return {BacklogPage.left - 14, top + 6, BacklogPage.left - 9, top + 11};
}
// The mark of a line the story can go back to, under the voice square and left of the
// line's text.
constexpr Rect BacklogReturnMark(int top) {
    return {BacklogPage.left - 19, top + 15, BacklogPage.left - 8, top + 25};
}
// The boxes a click on either mark hits, one above the other across the page's whole
// margin: 19 pixels wide and 17 high each, so that a touchpad's pointer finds them.
constexpr Rect BacklogVoiceHit(int top) {
    return {BacklogPage.left - 21, top - 6, BacklogPage.left - 1, top + 12};
}
constexpr Rect BacklogReturnHit(int top) {
    return {BacklogPage.left - 21, top + 11, BacklogPage.left - 1, top + 29};
}

// ---- The preferences ---------------------------------------------------------------

// A page over the story or the title: its title, then one row a setting, each a label
// and boxes: a stepper's two (less and more, its value between them) or a choice's.
constexpr Rect PreferencesPage{70, 20, 570, 450};
constexpr Point PreferencesTitleAt{90, 30};
constexpr int PreferenceRowCount = 13;
constexpr int PreferenceRowTop = 58, PreferenceRowStep = 30, PreferenceRowHeight = 25;
constexpr int PreferenceLabelLeft = 100, PreferenceFocusLeft = 84, PreferenceFocusSize = 8;
constexpr int PreferenceBoxesLeft = 290, PreferenceTextSize = 16, PreferenceTextInset = 4;
constexpr int PreferenceValueLeft = 350;  // a stepper's value, between its boxes
constexpr int PreferenceRowTopOf(int row) { return PreferenceRowTop + PreferenceRowStep * row; }
// The area of a row that the wheel turns, reaching half way to the next row's, and the
// pointer's area of its box n.
constexpr int PreferenceRowGap = PreferenceRowStep - PreferenceRowHeight;
constexpr Rect PreferenceRowArea(int row) {
    return {PreferencesPage.left, PreferenceRowTopOf(row) - PreferenceRowGap / 2, PreferencesPage.right,
            PreferenceRowTopOf(row) + PreferenceRowHeight + (PreferenceRowGap + 1) / 2};
}
static_assert(PreferenceRowTopOf(PreferenceRowCount) <= PreferencesPage.bottom, "the rows fit the page");
constexpr Rect PreferenceBox(int row, int n, int step, int width) {
    return {PreferenceBoxesLeft + step * n, PreferenceRowTopOf(row),
            PreferenceBoxesLeft + step * n + width, PreferenceRowTopOf(row) + PreferenceRowHeight};
}
// A row's label, left of its boxes: where the keyboard's focus puts the pointer on the
// row (a click there changes nothing).
constexpr Rect PreferenceLabelArea(int row) {
    return {PreferenceFocusLeft, PreferenceRowTopOf(row), PreferenceBoxesLeft,
            PreferenceRowTopOf(row) + PreferenceRowHeight};
}
// Box sizes: a stepper's, a choice of two (and the close button), the six speeds.
constexpr int StepperBoxStep = 130, StepperBoxWidth = 40;
constexpr int WideBoxStep = 130, WideBoxWidth = 120;
constexpr int SpeedBoxStep = 44, SpeedBoxWidth = 40;

}  // namespace layout
