// What a save slot holds, as the menu's margin and the title's つづきから need it: whether
// it holds a save, when that was made, the line it holds and the small picture kept
// beside it.
#include <ctime>

#include "base/files.h"
#include "story/story.h"

bool ReadSlotSummary(int slot, SlotSummary* out) {
    char path[PathBytes];
    char token[25] = {};
    out->saved = out->pictured = false;
    if (!SlotPath(slot, false, path, sizeof path)) return false;
    ReadFirstToken(path, token, sizeof token);
    if (!token[0] || !FileChangedAt(path, &out->changedAt)) return false;
    out->saved = true;
    out->line = SavedLineIn(token, sizeof token);
    static StorySnapshot unused;
    out->pictured = SlotPath(slot, true, path, sizeof path) &&
                    ReadStateFile(path, out->line, &unused, out->preview);
    return true;
}

int MostRecentSlot() {
    int recent = -1;
    int64_t latest = 0;
    for (int slot = 0; slot <= QuickSlot; ++slot) {
        char path[PathBytes];
        int64_t changedAt;
        if (!SlotHoldsSave(slot) || !SlotPath(slot, false, path, sizeof path) ||
            !FileChangedAt(path, &changedAt))
            continue;
        if (recent < 0 || changedAt > latest) {
            recent = slot;
            latest = changedAt;
        }
    }
    return recent;
}

void FormatSaveTime(int64_t changedAt, char* out, int size) {
    std::time_t seconds = std::time_t(changedAt / 1000000000);
    std::tm local;
    if (size < 1) return;
    if (!localtime_r(&seconds, &local) || std::strftime(out, size_t(size), "%Y/%m/%d %H:%M", &local) == 0)
        out[0] = '\0';
}
