// What a save slot holds, as the menu's margin and the title's つづきから need it: whether
// it holds a save, when that was made, the line it holds and the small picture kept
// beside it.
#include <cstring>
#include <ctime>

#include "base/files.h"
#include "story/saves/saves.h"

bool ReadSlotSummary(int slot, SlotSummary* out) {
    char path[PathBytes];
    char token[SaveTokenBytes];
    out->saved = out->pictured = false;
    if (!ReadSaveLine(slot, token) || !SlotPath(slot, path, sizeof path) ||
        !FileChangedAt(path, &out->changedAt))
        return false;
    out->saved = true;
    out->line = SavedLineIn(token, sizeof token);
    static StateFile state;
    out->pictured = ReadSlotState(slot, token, &state);
    if (out->pictured) std::memcpy(out->preview, state.preview, PreviewBytes);
    return true;
}

int MostRecentSlot() {
    int recent = -1;
    int64_t latest = 0;
    for (int slot = 0; slot <= ResumePoint; ++slot) {
        char path[PathBytes];
        int64_t changedAt;
        if (!SlotHoldsSave(slot) || !SlotPath(slot, path, sizeof path) ||
            !FileChangedAt(path, &changedAt))
            continue;
        if (recent < 0 || changedAt > latest) {
            recent = slot;
            latest = changedAt;
        }
    }
    return recent;
}

bool SaveTimeOnClock(int64_t changedAt, std::tm* out) {
    std::time_t seconds = std::time_t(changedAt / 1000000000);
    return localtime_r(&seconds, out) != nullptr;
}

void FormatSaveTime(int64_t changedAt, char* out, int size) {
    std::tm local;
    if (size < 1) return;
    if (!SaveTimeOnClock(changedAt, &local) || std::strftime(out, size_t(size), "%Y/%m/%d %H:%M", &local) == 0)
        out[0] = '\0';
}
