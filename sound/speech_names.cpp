// The names of the spoken clips the build makes for the script's lines: the folder, a
// hash of the line's CP932 bytes and the Ogg Opus extension. The build and the game
// compute the same name from the same text, so no table has to join them, and a line
// whose text changes gets a new clip.
#include <cstdio>

#include "sound/kaSound.h"

namespace kaSound {

std::string SpeechClipName(const char* text) {
    uint64_t hash = 14695981039346656037ull;  // 64-bit FNV-1a
    for (const char* p = text ? text : ""; *p; ++p) {
        hash ^= uint8_t(*p);
        hash *= 1099511628211ull;
    }
    char name[32];
    std::snprintf(name, sizeof name, "speech/%016llx.opus", static_cast<unsigned long long>(hash));
    return name;
}

}  // namespace kaSound
