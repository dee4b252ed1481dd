// The names of the spoken clips the build makes for the script's lines: the folder, a
// hash of the line's CP932 bytes and the Ogg Opus extension. The build and the game
// compute the same name from the same text, so no table has to join them, and a line
// whose text changes gets a new clip.
#include <cstdio>
#include <cstring>

#include "base/hash.h"
#include "sound/kaSound.h"

namespace kaSound {

std::string SpeechClipName(const char* text, bool english) {
    if (!text) text = "";
    const uint64_t hash = HashBytes(text, std::strlen(text));
    char name[32];
    std::snprintf(name, sizeof name, "%s/%016llx.opus", english ? "en" : "speech",
                  static_cast<unsigned long long>(hash));
    return name;
}

}  // namespace kaSound
