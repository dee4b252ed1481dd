// The title's two entries, small over its picture: つづきから continues from the most
// recent save, slot or quick, as F9 continues from the quick slot; 設定 opens the
// preferences. A press anywhere else starts the story, as it always did.
#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "story/screens/screens.h"

// The title's own words are in a warm white; the entry under the pointer takes the
// panel marks' lamplight, and つづきから is greyed while there is nothing to continue.
static const uint32_t EntryColour = 0xD8E8F4, DimColour = 0x707070;

// A press on つづきから with no save is taken and does nothing: a reader aiming for it
// does not land at the story's start instead.
TitleEntry TitleEntryPressed() {
    if (PointerIn(layout::ContinueEntry)) {
        TakeClick();
        int slot = MostRecentSlot();
        if (slot >= 0) {
            ContinueFromSlot(slot, TextLoaded);
            ClearBacklog();  // the backlog holds only what was shown since
        }
        return TitleContinues;
    }
    if (PointerIn(layout::TitlePreferencesEntry)) {
        TakeClick();
        return TitleOpensPreferences;
    }
    return TitleNoEntry;
}

// An entry, lit under the pointer when usable; reached by the pointer, it says its phrase
// (a greyed one too, so that a listener knows it is there).
static void Entry(const layout::Rect& r, EngineTextId text, bool usable, int item, const char* phrase) {
    if (PointerIn(r) && PointerReaches(ReachTitle, item)) SpeakPhrase(phrase);
    bool lit = usable && PointerIn(r);
    if (lit) {
        layout::Rect light = layout::TitleEntryLight(r);
        kaDraw::DrawRect(light.left, light.top, light.right, light.bottom, PanelMarkColour,
                         PanelMarkColour, 1);
    }
    kaDraw::SetTextColours(!usable ? DimColour : lit ? uint32_t(PanelMarkColour) : EntryColour, 0, 1);
    kaDraw::DrawTextBlock(layout::TitleEntryTextLeft, r.top + layout::TitleEntryTextInset, r.right,
                          r.bottom, EngineText(text), 0x100);
}

void DrawTitleEntries() {
    kaDraw::SelectTextFont(EngineText(TextGothic), layout::TitleEntryTextSize);
    Entry(layout::ContinueEntry, TextContinue, MostRecentSlot() >= 0, 0, "title_continue");
    Entry(layout::TitlePreferencesEntry, TextPreferences, true, 1, "title_settings");
    kaDraw::EndTextDrawing();
}
