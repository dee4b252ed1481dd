// The resume point: the reader's place, kept beside the saves whenever the program ends
// in the middle of the story, which つづきから offers with the saves.
#include "base/files.h"
#include "story/saves/saves.h"

bool WriteResumeFile(const StorySnapshot& place) {
    char path[PathBytes], line[SaveLineBytes];
    if (!SlotPath(ResumePoint, path, sizeof path)) return false;
    SaveLineOf(place.line, line, sizeof line);
    return ReplaceFile(path, StateFileBytes(line, place, LastStoryFrame()));
}
