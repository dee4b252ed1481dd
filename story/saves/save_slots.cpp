// The save slots on disk: each slot's save line (z_saveN.sdt, z_quick.sdt) and the state
// kept beside it, written so that the pair changes as one; the resume point's file; and
// the temporary files a killed write may leave.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/folders.h"
#include "story/saves/saves.h"

bool SlotPath(int slot, char* out, int size) {
    if (slot < 0 || slot > ResumePoint) return false;
    char name[32];
    if (slot == ResumePoint)
        std::snprintf(name, sizeof name, "z_resume.state");
    else if (slot == QuickSlot)
        std::snprintf(name, sizeof name, "z_quick.sdt");
    else
        std::snprintf(name, sizeof name, "z_save%i.sdt", slot);
    return PlayerPath(name, out, size);
}

bool ReadSaveLine(int slot, char* token) {
    char path[PathBytes];
    token[0] = '\0';
    if (!SlotPath(slot, path, sizeof path)) return false;
    if (slot == ResumePoint) {
        static StateFile file;
        if (!ReadStateFile(path, &file) || std::strlen(file.saveLine) >= size_t(SaveTokenBytes)) return false;
        std::memcpy(token, file.saveLine, SaveTokenBytes);
    } else {
        ReadFirstToken(path, token, SaveTokenBytes);
    }
    if (SavedLineIn(token, SaveTokenBytes) >= 0) return true;
    token[0] = '\0';
    return false;
}

bool SlotHoldsSave(int slot) {
    char token[SaveTokenBytes];
    return ReadSaveLine(slot, token);
}

// A slot's states are named after its save file's stem: "z_save0." (or "z_quick."), the
// line, '.', the file's own hash in hex, ".state". The older build's one state per slot,
// z_save0.state, is among them.
static std::string StatePrefix(int slot) {
    return slot == QuickSlot ? "z_quick." : "z_save" + std::to_string(slot) + ".";
}

// The names of the player's folder that are states of slot, and the folder.
static std::vector<std::string> StatesOf(int slot, std::string* folder) {
    std::vector<std::string> names;
    char path[PathBytes];
    if (!PlayerPath("", path, sizeof path)) return names;
    *folder = path;
    const std::string prefix = StatePrefix(slot), suffix = ".state";
    std::error_code ec;
    for (std::filesystem::directory_iterator it(*folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        // z_save0.state too: its '.' is the prefix's.
        if (name.size() >= prefix.size() + suffix.size() - 1 && name.compare(0, prefix.size(), prefix) == 0 &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            names.push_back(name);
    }
    return names;
}

// A state belongs to the save line it was written with (an older one, to its line). Of
// several (a save killed before its save line was replaced leaves its state beside the
// one in force, for the same save line), the last written. At most a few are read.
bool ReadSlotState(int slot, const char* token, StateFile* out) {
    static StateFile file;
    char path[PathBytes];
    int line = SavedLineIn(token, SaveTokenBytes);
    if (line < 0 || !SlotPath(slot, path, sizeof path)) return false;
    if (slot == ResumePoint) {
        if (!ReadStateFile(path, &file) || std::strcmp(file.saveLine, token) != 0) return false;
        *out = file;
        return true;
    }
    std::string folder;
    const std::string named = StatePrefix(slot) + std::to_string(line) + ".";
    const std::string older = StatePrefix(slot) + "state";
    int read = 0;
    bool found = false;
    int64_t newest = 0;
    for (const std::string& name : StatesOf(slot, &folder)) {
        if (name != older && name.compare(0, named.size(), named) != 0) continue;
        if (++read > 8) break;
        std::string statePath = folder + name;
        int64_t changedAt;
        if (!ReadStateFile(statePath.c_str(), &file) || !FileChangedAt(statePath.c_str(), &changedAt) ||
            (file.saveLine[0] ? std::strcmp(file.saveLine, token) != 0 : file.snapshot.line != line) ||
            (found && changedAt <= newest))
            continue;
        *out = file;
        found = true;
        newest = changedAt;
    }
    return found;
}

// The new state goes under a name of its own, so the old one stays whole until the save
// line, renamed over the old, makes the new pair the slot's; the old state goes after.
// A kill at any moment leaves the old pair or the new one, and a failure before the save
// line leaves the slot's files as they were. A state already standing under the new name
// with the same bytes (a save made again with nothing changed) is kept as it is; anything
// else standing there is never replaced.
bool WriteSlot(int slot, const char* saveLine, const StorySnapshot& s, const uint8_t* preview) {
    char path[PathBytes], name[64], statePath[PathBytes];
    if (slot < 0 || slot > QuickSlot || !SlotPath(slot, path, sizeof path)) return false;
    const std::string bytes = StateFileBytes(saveLine, s, preview);
    std::snprintf(name, sizeof name, "%s%d.%016" PRIx64 ".state", StatePrefix(slot).c_str(), s.line,
                  StateFileHash(bytes));
    if (!PlayerPath(name, statePath, sizeof statePath)) return false;
    std::error_code ec;
    namespace fs = std::filesystem;
    bool standing = fs::symlink_status(statePath, ec).type() != fs::file_type::not_found;
    std::vector<uint8_t> there;
    if (standing && !(ReadWholeFile(statePath, bytes.size(), &there) && there.size() == bytes.size() &&
                      std::memcmp(there.data(), bytes.data(), bytes.size()) == 0))
        return false;
    if (!standing && !ReplaceFile(statePath, bytes)) return false;
    if (!WriteTextFile(path, saveLine)) {
        if (!standing) RemoveFile(statePath);
        return false;
    }
    std::string folder;
    for (const std::string& old : StatesOf(slot, &folder))
        if (old != name) RemoveFile((folder + old).c_str());
    return true;
}

// Only names the program writes with ".tmp" after them: z_save*, z_quick*, z_resume*,
// owlsys.ini and read_marks.txt beside the saves, the settings in the configuration
// folder. Nothing but files is removed.
void RemoveLeftoverTemporaries() {
    char path[PathBytes];
    std::string folders[2] = {PlayerPath("", path, sizeof path) ? path : "", ConfigPath("")};
    const char* const stems[] = {"z_save", "z_quick", "z_resume", "owlsys.ini.tmp", "read_marks.txt.tmp",
                                 "set.ini.tmp", "window.ini.tmp", "preferences.ini.tmp"};
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        std::error_code ec;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            std::string name = it->path().filename().string();
            if (name.size() < 4 || name.compare(name.size() - 4, 4, ".tmp") != 0) continue;
            for (const char* stem : stems)
                if (name.compare(0, std::strlen(stem), stem) == 0) {
                    RemoveFile((folder + name).c_str());
                    break;
                }
        }
    }
}
