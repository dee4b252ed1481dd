// Fuzz target of the reader of our compressed clips and the conversion at load
// (libFuzzer): no input may read out of bounds, and a clip read is whole samples of its
// channels, converted to whole stereo frames.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/little_endian.h"
#include "sound/sound_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::vector<uint8_t> file(bytes, bytes + size), format, data;
    if (!kaSound::ParseOpus(file, &format, &data)) return 0;
    if (format.size() < 18 || data.empty() || data.size() % (4 * Read16(&format[2])) != 0) std::abort();
    std::vector<float> clip;
    if (!kaSound::ConvertClip(format, data, &clip) || clip.empty() || clip.size() % 2 != 0) std::abort();
    return 0;
}
