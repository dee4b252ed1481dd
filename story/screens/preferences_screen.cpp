// The preferences page: F1 opens it over the story or the title. Each row is a setting,
// changed by a click on its boxes, the wheel over it, or the arrow keys (up and down,
// through the keyboard's focus, pick the row; left and right change it); a right click,
// Escape, Backspace or F1 closes it.
// Changes act at once and are kept: the volumes, the language and the reader's choices in
// preferences.ini, the message speed and music in owlsys.ini as the menu writes them,
// full screen as the window keeps it.
#include <cstdio>

#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "story/screens/screens.h"

bool PreferencesOpen = false;

enum Row {
    RowMusicVolume, RowVoiceVolume, RowClickVoice, RowAutoPause, RowSkip, RowSpeed, RowMusic,
    RowFullScreen, RowSelfVoicing, RowLanguage, RowCopyLines, RowWordBox, RowClose
};
static_assert(RowClose + 1 == layout::PreferenceRowCount, "a row for each place");

struct RowShape {
    EngineTextId label;
    int boxes, step, width;      // a stepper has two boxes, less and more
    bool stepper;
    EngineTextId box[2];         // the choice rows' texts of two boxes
    const char* phrase;          // what self-voicing says of the row
};

static const RowShape Rows[layout::PreferenceRowCount] = {
    {TextMusicVolume, 2, layout::StepperBoxStep, layout::StepperBoxWidth, true, {},
     "pref_music_volume"},
    {TextVoiceVolume, 2, layout::StepperBoxStep, layout::StepperBoxWidth, true, {},
     "pref_voice_volume"},
    {TextClickVoice, 2, layout::WideBoxStep, layout::WideBoxWidth, false,
     {TextVoiceStops, TextVoiceFinishes}, "pref_voice_stop"},
    {TextAutoPause, 2, layout::StepperBoxStep, layout::StepperBoxWidth, true, {},
     "pref_auto_pause"},
    {TextSkipKey, 2, layout::WideBoxStep, layout::WideBoxWidth, false,
     {TextSkipRead, TextSkipEverything}, "pref_skip"},
    {TextMessageSpeed, 6, layout::SpeedBoxStep, layout::SpeedBoxWidth, false, {},
     "pref_message_speed"},
    {TextMusic, 2, layout::WideBoxStep, layout::WideBoxWidth, false, {TextOn, TextOff},
     "pref_music"},
    {TextFullScreen, 2, layout::WideBoxStep, layout::WideBoxWidth, false, {TextOn, TextOff},
     "pref_full_screen"},
    {TextSelfVoicing, 2, layout::WideBoxStep, layout::WideBoxWidth, false, {TextOn, TextOff},
     "pref_self_voicing"},
    {TextLanguage, 2, layout::WideBoxStep, layout::WideBoxWidth, false, {TextJapanese, TextEnglish},
     "pref_language"},
    {TextCopyLines, 2, layout::WideBoxStep, layout::WideBoxWidth, false, {TextOn, TextOff},
     "pref_copy_lines"},
    {TextWordBox, 2, layout::WideBoxStep, layout::WideBoxWidth, false, {TextOn, TextOff},
     "pref_word_box"},
    {TextClose, 1, layout::WideBoxStep, layout::WideBoxWidth, false, {TextClose}, "pref_close"},
};

static int Focus = 0;  // the row the arrow keys change

int PreferencesRow() { return Focus; }
void PickPreferencesRow(int row) {
    if (row >= 0 && row < layout::PreferenceRowCount) Focus = row;
}

void ResetPreferencesScreen() {
    if (PreferencesOpen) UncoverStory();
    PreferencesOpen = false;
    Focus = 0;
}

static layout::Rect Box(int row, int n) {
    return layout::PreferenceBox(row, n, Rows[row].step, Rows[row].width);
}

// A setting's row is pointed at on its label, where a click changes nothing (left and
// right change it); the close row at its button.
layout::Rect PreferencesRowTarget(int row) {
    if (row == RowClose) return Box(row, 0);
    return layout::PreferenceLabelArea(row < 0 ? 0 : row > RowClose ? RowClose : row);
}

// The box a choice row has chosen; -1 for a stepper and the close button.
static int Chosen(int row) {
    switch (row) {
    case RowClickVoice: return Preferences.ClickStopsVoice ? 0 : 1;
    case RowSkip: return Preferences.SkipEverything ? 1 : 0;
    case RowSpeed: return int(MessageSpeed);
    case RowMusic: return MusicOff != 0 ? 1 : 0;
    case RowFullScreen: return FrameInput().FullScreenShown ? 0 : 1;
    case RowSelfVoicing: return SelfVoicingOn() ? 0 : 1;
    case RowLanguage: return EnglishInForce() ? 1 : 0;
    case RowCopyLines: return Preferences.CopyLines ? 0 : 1;
    case RowWordBox: return Preferences.WordBox ? 0 : 1;
    default: return -1;
    }
}

static int Held(int value, int least, int most) { return value < least ? least : value > most ? most : value; }

// Self-voicing says a row's new value: a volume in per cent, the pause in seconds, the
// message speed as the menu's button says it, or the box chosen.
static void SpeakValue(int row) {
    static const char* const BoxPhrases[][2] = {
        {"voice_stops", "voice_finishes"}, {"skip_read", "skip_all"}, {"value_on", "value_off"},
        {"language_japanese", "language_english"}};
    char id[32];
    switch (row) {
    case RowMusicVolume: std::snprintf(id, sizeof id, "volume_%d", Preferences.MusicVolume); break;
    case RowVoiceVolume: std::snprintf(id, sizeof id, "volume_%d", Preferences.VoiceVolume); break;
    case RowAutoPause: std::snprintf(id, sizeof id, "pause_%d", Preferences.AutoPauseTenths); break;
    case RowSpeed: std::snprintf(id, sizeof id, "menu_speed_%d", Chosen(row)); break;
    case RowClickVoice: std::snprintf(id, sizeof id, "%s", BoxPhrases[0][Chosen(row)]); break;
    case RowSkip: std::snprintf(id, sizeof id, "%s", BoxPhrases[1][Chosen(row)]); break;
    case RowMusic: std::snprintf(id, sizeof id, "%s", BoxPhrases[2][Chosen(row)]); break;
    case RowLanguage: std::snprintf(id, sizeof id, "%s", BoxPhrases[3][Chosen(row)]); break;
    case RowCopyLines:
    case RowWordBox: std::snprintf(id, sizeof id, "%s", BoxPhrases[2][Chosen(row)]); break;
    default: return;  // full screen and self-voicing say theirs as asked; close has none
    }
    SpeakPhrase(id);
}

// A stepper moved by delta steps.
static void Step(int row, int delta) {
    PreferenceFields& p = Preferences;
    if (row == RowMusicVolume) p.MusicVolume = Held(p.MusicVolume + delta * VolumeStep, 0, 100);
    if (row == RowVoiceVolume) p.VoiceVolume = Held(p.VoiceVolume + delta * VolumeStep, 0, 100);
    if (row == RowAutoPause)
        p.AutoPauseTenths = Held(p.AutoPauseTenths + delta * AutoPauseTenthsStep,
                                 AutoPauseTenthsLeast, AutoPauseTenthsMost);
    ApplyVolumes();
    SavePreferences();
    SpeakValue(row);
}

// A choice row set to box n.
static void Choose(int row, int n) {
    switch (row) {
    case RowClickVoice: Preferences.ClickStopsVoice = n == 0; SavePreferences(); break;
    case RowSkip: Preferences.SkipEverything = n == 1; SavePreferences(); break;
    case RowSpeed:
        MessageSpeed = float(n);
        WriteSystemSettings(n, MusicOff);
        break;
    case RowMusic:
        SwitchMusic(n);
        WriteSystemSettings(int(MessageSpeed), n);
        break;
    case RowFullScreen:
        if (n != Chosen(row)) RequestFullScreenToggle();
        // The window changes after the frame: the value said is the one asked for.
        SpeakPhrase(n == 0 ? "value_on" : "value_off");
        return;
    case RowSelfVoicing:
        if (n != Chosen(row)) ToggleSelfVoicing();
        return;
    case RowLanguage:
        SwitchLanguage(n == 1);
        break;
    case RowCopyLines: Preferences.CopyLines = n == 0; SavePreferences(); break;
    case RowWordBox: Preferences.WordBox = n == 0; SavePreferences(); break;
    case RowClose: PreferencesOpen = false; return;
    default: break;
    }
    SpeakValue(row);
}

// The wheel or an arrow key: a stepper steps, a choice moves to the next box, the close
// button closes.
static void Change(int row, int delta) {
    if (Rows[row].stepper) return Step(row, delta);
    if (row == RowClose) return Choose(row, 0);
    int n = Held(Chosen(row) + delta, 0, Rows[row].boxes - 1);
    if (n != Chosen(row)) Choose(row, n);
}

static void Press() {
    for (int row = 0; row < layout::PreferenceRowCount; ++row)
        for (int n = 0; n < Rows[row].boxes; ++n) {
            if (!PointerIn(Box(row, n))) continue;
            Focus = row;
            if (Rows[row].stepper) Step(row, n == 0 ? -1 : 1);
            else Choose(row, n);
            return;
        }
}

static void Text(int x, int y, const char* text) {
    kaDraw::DrawTextBlock(x, y, layout::PreferencesPage.right, layout::PreferencesPage.bottom, text, 0);
}

// A box's text: a choice's own, the speed's digit, or a stepper's less and more.
static void BoxText(int row, int n, char* out, int size) {
    if (Rows[row].stepper) std::snprintf(out, size_t(size), "%s", EngineText(n == 0 ? TextLess : TextMore));
    else if (row == RowSpeed) std::snprintf(out, size_t(size), "%d", n);
    else std::snprintf(out, size_t(size), "%s", EngineText(Rows[row].box[n]));
}

static void StepperValue(int row, char* out, int size) {
    if (row == RowAutoPause)
        std::snprintf(out, size_t(size), "%d.%d%s", Preferences.AutoPauseTenths / 10,
                      Preferences.AutoPauseTenths % 10, EngineText(TextSeconds));
    else
        std::snprintf(out, size_t(size), "%d%%",
                      row == RowMusicVolume ? Preferences.MusicVolume : Preferences.VoiceVolume);
}

static void DrawPage() {
    DrawCoverBackdrop();
    const layout::Rect& page = layout::PreferencesPage;
    kaDraw::DrawRect(page.left, page.top, page.right, page.bottom, 0x301808, 0xC8C8C8, 1);
    kaDraw::SelectTextFont(EngineText(TextGothic), layout::PreferenceTextSize);
    kaDraw::SetTextColours(0xFFFFFF, 0, 1);
    Text(layout::PreferencesTitleAt.x, layout::PreferencesTitleAt.y, EngineText(TextPreferences));
    char text[64];
    for (int row = 0; row < layout::PreferenceRowCount; ++row) {
        int top = layout::PreferenceRowTopOf(row);
        if (row == Focus) {
            int y = top + (layout::PreferenceRowHeight - layout::PreferenceFocusSize) / 2;
            kaDraw::DrawRect(layout::PreferenceFocusLeft, y,
                             layout::PreferenceFocusLeft + layout::PreferenceFocusSize,
                             y + layout::PreferenceFocusSize, 0x80E0F0, 0x80E0F0, 1);
        }
        if (row != RowClose) Text(layout::PreferenceLabelLeft, top + layout::PreferenceTextInset, EngineText(Rows[row].label));
        for (int n = 0; n < Rows[row].boxes; ++n) {
            layout::Rect r = Box(row, n);
            int fill = PointerIn(r) ? 0x0000FF : n == Chosen(row) ? 0x806040 : 0x000000;
            kaDraw::DrawRect(r.left, r.top, r.right, r.bottom, fill, 0xC8C8C8, 1);
            BoxText(row, n, text, sizeof text);
            Text(r.left + layout::PreferenceTextInset, top + layout::PreferenceTextInset, text);
        }
        if (Rows[row].stepper) {
            StepperValue(row, text, sizeof text);
            Text(layout::PreferenceValueLeft, top + layout::PreferenceTextInset, text);
        }
    }
    kaDraw::EndTextDrawing();
}

// A row says its name as the pointer reaches it.
static void SpeakRowReached() {
    for (int row = 0; row < layout::PreferenceRowCount; ++row)
        if (PointerIn(layout::PreferenceRowArea(row)) && PointerReaches(ReachPreferences, row))
            SpeakPhrase(Rows[row].phrase);
}

void OpenPreferences() {
    CoverStory();
    PreferencesOpen = true;
    DrawPage();
    // The row under the pointer waits until the page's name is said.
    for (int row = 0; row < layout::PreferenceRowCount; ++row)
        if (PointerIn(layout::PreferenceRowArea(row))) PointerReaches(ReachPreferences, row);
    SpeakPhrase("title_settings");
}

bool PreferencesFrame(bool focusPress) {
    const InputFields& in = FrameInput();
    bool close = in.RightClick || in.EscapeKey || in.PreferencesKey ||
                 in.BackKey;
    if (!close) {
        SpeakRowReached();  // before what a click changes, whose value is said after
        if (in.ArrowKey == ArrowLeft) Change(Focus, -1);
        if (in.ArrowKey == ArrowRight) Change(Focus, 1);
        for (int row = 0; row < layout::PreferenceRowCount && in.WheelSteps; ++row)
            if (PointerIn(layout::PreferenceRowArea(row))) Change(row, in.WheelSteps > 0 ? 1 : -1);
        if (in.LeftClick || focusPress) Press();
    }
    // F1 closes the page and is spent: the frame's end would open it again.
    TakePageInput();
    TakePreferencesKey();
    if (close || !PreferencesOpen) {
        PreferencesOpen = false;
        UncoverStory();
        return false;
    }
    DrawPage();
    return true;
}
