// Writing Ogg Opus files with libsndfile.
#include "tools/opus_file.h"

#include <sndfile.h>

#include <cstdio>

// libsndfile sets Opus's bit rate from a compression level on a straight line from
// 256 kbit/s (0) down to 6 kbit/s (1): 0.9 gives about 31 kbit/s, where mono speech
// keeps its full band and its consonants clear, in about a twentieth of the bytes of
// the WAVE clips' 16-bit samples.
constexpr double CompressionLevel = 0.9;

bool WriteOpusFile(const std::string& path, const std::vector<int16_t>& samples, int rate) {
    std::string part = path + ".part";
    SF_INFO info = {};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_OGG | SF_FORMAT_OPUS;
    SNDFILE* file = sf_open(part.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    double level = CompressionLevel;
    sf_count_t frames = sf_count_t(samples.size());
    bool ok = sf_command(file, SFC_SET_COMPRESSION_LEVEL, &level, sizeof level) == SF_TRUE &&
              sf_writef_short(file, samples.data(), frames) == frames;
    ok = sf_close(file) == 0 && ok && std::rename(part.c_str(), path.c_str()) == 0;
    if (!ok) std::remove(part.c_str());
    return ok;
}
