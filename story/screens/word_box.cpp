// The word box, for readers learning Japanese: the pointer on a word of the line shown
// marks the word and shows, over the message window, the word as written, its reading
// (as the voices read it), the word it is a form of, and its first English senses, from
// the glossary the build made of the story's words.
#include <algorithm>
#include <cstdio>

#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "story/records/glossary.h"
#include "story/screens/screens.h"

// The word the keyboard's focus is on, counted along the line shown; -1 for none. The
// word whose box showed in the last frame, which self-voicing has said.
static int FocusedWord = -1;
static const GlossaryWord* WordSaid = nullptr;

static bool LineReadable() {
    return !EnglishInForce() && GetGameMode() == ModeStory && MessageWindowShowsLine() && LineWhollyOut() &&
           OpenChoiceOptions() == 0;
}

void MoveWordFocus() {
    const InputFields& in = FrameInput();
    int count = 0;
    if (in.TranslationHeld && LineReadable()) GlossaryWordsOf(CurrentScene().line, &count);
    if (count == 0) {
        FocusedWord = -1;
        return;
    }
    if (in.ArrowKey != ArrowLeft && in.ArrowKey != ArrowRight) return;
    int step = in.ArrowKey == ArrowRight ? 1 : -1;
    FocusedWord = FocusedWord < 0 ? (step > 0 ? 0 : count - 1) : std::clamp(FocusedWord + step, 0, count - 1);
    TakeArrowKey();
}

// The word of the line shown under the pointer; nullptr when there is none.
static const GlossaryWord* WordUnderPointer() {
    const kaDraw::TextLayout& laid = MessageLayout();
    const InputFields& in = FrameInput();
    for (int i = 1; i < laid.count; ++i) {
        const kaDraw::TextRect& r = laid.rects[i];
        if (in.MouseX >= r.left && in.MouseX < r.right && in.MouseY >= r.top && in.MouseY < r.bottom)
            return GlossaryWordAt(CurrentScene().line, laid.offsets[i]);
    }
    return nullptr;
}

// A line under the word's characters.
static void MarkWord(const GlossaryWord& word) {
    const kaDraw::TextLayout& laid = MessageLayout();
    for (int i = 1; i < laid.count; ++i) {
        if (laid.offsets[i] < word.start || laid.offsets[i] >= word.start + word.length) continue;
        const kaDraw::TextRect& r = laid.rects[i];
        kaDraw::DrawRect(r.left, r.bottom, r.right, r.bottom + 2, layout::WordBoxMarkColour,
                         layout::WordBoxMarkColour, 1);
    }
}

bool DrawWordBox() {
    int count = 0;
    const GlossaryWord* words = LineReadable() ? GlossaryWordsOf(CurrentScene().line, &count) : nullptr;
    const GlossaryWord* word = FocusedWord >= 0 && FocusedWord < count ? &words[FocusedWord]
                               : Preferences.WordBox && count         ? WordUnderPointer()
                                                                      : nullptr;
    // Self-voicing says a word's reading as its box comes up.
    if (word && word != WordSaid) SpeakLineClip(GlossaryEntryOf(*word).reading);
    WordSaid = word;
    if (!word) return false;
    MarkWord(*word);
    const GlossaryEntry& e = GlossaryEntryOf(*word);
    char text[512];
    std::snprintf(text, sizeof text, "%s\x81\x40%s%s%s%s\n%s", e.word, e.reading, e.base[0] ? "\x81\x40\x81\x69" : "",
                  e.base, e.base[0] ? "\x81\x6A" : "", e.senses);  // word　reading　（base）
    DrawBoxOverWindow(EngineText(TextGothic), layout::WordBoxTextSize, text);
    return true;
}
