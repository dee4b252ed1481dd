// Fuzz target of the WAVE reader and the conversion at load (libFuzzer): no input may
// read out of bounds, and a converted clip always has whole stereo frames.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "sound/sound_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::vector<uint8_t> file(bytes, bytes + size), format, data;
    if (!kaSound::ParseWave(file, &format, &data)) return 0;
    if (format.size() < 18) std::abort();
    std::vector<float> clip;
    if (kaSound::ConvertClip(format, data, &clip) && (clip.empty() || clip.size() % 2 != 0))
        std::abort();
    return 0;
}
