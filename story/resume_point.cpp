// The resume point: the reader's place, kept beside the saves whenever the program ends
// in the middle of the story, which つづきから offers with the saves.
#include "base/files.h"
#include "story/story.h"

// The place the reader left the story from by the quit prompt's way out, whose lines the
// story then steps through to its end.
static StorySnapshot PlaceAtQuit;
static bool PlaceKeptAtQuit;

void ResetResumePoint() { PlaceKeptAtQuit = false; }

void KeepReaderPlace() {
    TakeStorySnapshot(&PlaceAtQuit);
    PlaceKeptAtQuit = true;
}

// In the story, its menu or a page over it, and at the end the menu's quit or the quit
// prompt makes, the reader is somewhere; at the logo, the notice, the title, or once the
// script itself has ended the run, nowhere to come back to.
bool WriteResumePoint() {
    static StorySnapshot now;
    int mode = GetGameMode();
    const StorySnapshot* place = nullptr;
    if (mode == ModeStory || mode == ModeSystemMenu || (mode == ModeEnd && SystemMenuOpen)) {
        if (mode == ModeStory && !BacklogOpen && !PreferencesOpen) KeepStoryFrame();
        TakeStorySnapshot(&now);
        place = &now;
    } else if (mode == ModeEnd && PlaceKeptAtQuit) {
        place = &PlaceAtQuit;
    }
    char path[PathBytes], line[SaveLineBytes];
    if (!place || !SlotPath(ResumePoint, path, sizeof path)) return false;
    FormatSaveLine(place->line, line, sizeof line);
    return ReplaceFile(path, StateFileBytes(line, *place, LastStoryFrame()));
}
