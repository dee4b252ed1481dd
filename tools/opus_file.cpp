// Writing Ogg Opus files with libsndfile.
#include "tools/opus_file.h"

#include <sndfile.h>

#include <cstdio>

#include "base/files.h"
#include "sound/sound_state.h"

// libsndfile sets Opus's bit rate from a compression level on a straight line from
// 256 kbit/s (0) down to 6 kbit/s (1): 0.9 gives about 31 kbit/s, where mono speech
// keeps its full band and its consonants clear, in about a twentieth of the bytes of
// the WAVE clips' 16-bit samples.
constexpr double CompressionLevel = 0.9;
// libsndfile gives each stream a random serial number; with a fixed one the same
// samples make the same file, and two builds of the game the same package.
constexpr uint32_t StreamSerial = 0x72616B61;  // "akar"
constexpr size_t SerialAt = 14, ChecksumAt = 22;
constexpr size_t MaxClipBytes = 16u << 20;

static void Put32(uint8_t* p, uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(value >> (8 * i));
}

// The stream's bytes with the fixed serial number on every page; false when they are
// not whole Ogg pages.
static bool WithFixedSerial(std::vector<uint8_t>* bytes) {
    for (size_t at = 0, size; at < bytes->size(); at += size) {
        uint8_t* page = bytes->data() + at;
        size = kaSound::OggPageSize(page, bytes->size() - at);
        if (size == 0) return false;
        Put32(page + SerialAt, StreamSerial);
        Put32(page + ChecksumAt, kaSound::OggPageChecksum(page, size));
    }
    return !bytes->empty();
}

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
    ok = sf_close(file) == 0 && ok;
    std::vector<uint8_t> bytes;
    ok = ok && ReadWholeFile(part.c_str(), MaxClipBytes, &bytes) && WithFixedSerial(&bytes) &&
         ReplaceFile(path.c_str(), std::string(bytes.begin(), bytes.end()));
    std::remove(part.c_str());
    return ok;
}
