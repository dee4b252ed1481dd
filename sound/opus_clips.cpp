// Our own compressed clips: the narration and the interface's phrases, Ogg Opus files
// the build makes. libsndfile decodes one whole from memory into the WAVE reader's form
// (a float format block and its sample bytes), and the clip is then loaded, converted
// and resampled as a WAVE clip is, with the quicker resampler. They are our files, not
// the game's assets: one that is missing or damaged is simply not there, and nothing is
// reported.
#include <sndfile.h>

#include <cstring>

#include "base/files.h"
#include "sound/sound_state.h"

namespace kaSound {

// A spoken clip is a few seconds long; these bounds keep a lying file from holding the
// loader for long or exhausting memory (the longest is about 11 minutes at 48 kHz).
constexpr size_t MaxOpusFileBytes = 16u << 20;
constexpr sf_count_t MaxOpusSamples = sf_count_t(1) << 25;
constexpr sf_count_t DecodeFrames = 4096;
constexpr uint16_t FormatTagFloat = 3;

// The file's bytes as libsndfile's virtual file: read and seek only.
struct MemoryFile {
    const std::vector<uint8_t>* bytes;
    sf_count_t at;
};

static sf_count_t MemoryLength(void* user) {
    return sf_count_t(static_cast<MemoryFile*>(user)->bytes->size());
}

static sf_count_t MemorySeek(sf_count_t offset, int whence, void* user) {
    MemoryFile* file = static_cast<MemoryFile*>(user);
    sf_count_t size = sf_count_t(file->bytes->size());
    sf_count_t base = whence == SEEK_CUR ? file->at : whence == SEEK_END ? size : 0;
    if (offset < -base || offset > size - base) return -1;
    file->at = base + offset;
    return file->at;
}

static sf_count_t MemoryRead(void* to, sf_count_t count, void* user) {
    MemoryFile* file = static_cast<MemoryFile*>(user);
    sf_count_t left = sf_count_t(file->bytes->size()) - file->at;
    if (count > left) count = left;
    if (count <= 0) return 0;
    std::memcpy(to, file->bytes->data() + file->at, size_t(count));
    file->at += count;
    return count;
}

static sf_count_t MemoryWrite(const void*, sf_count_t, void*) { return 0; }
static sf_count_t MemoryTell(void* user) { return static_cast<MemoryFile*>(user)->at; }

// The 18-byte format block of 32-bit float samples.
static std::vector<uint8_t> FloatFormat(int channels, int rate) {
    std::vector<uint8_t> format(18, 0);
    auto put = [&](size_t at, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) format[at + size_t(i)] = uint8_t(value >> (8 * i));
    };
    put(0, FormatTagFloat, 2);
    put(2, uint32_t(channels), 2);
    put(4, uint32_t(rate), 4);
    put(8, uint32_t(rate * channels * 4), 4);
    put(12, uint32_t(channels * 4), 2);
    put(14, 32, 2);
    return format;
}

// Decodes the whole stream, a chunk at a time (the length the file states is not
// trusted); false for a stream too long to hold or one the decoder gave up on.
static bool DecodeAll(SNDFILE* sound, int channels, std::vector<uint8_t>* data) {
    std::vector<float> chunk(size_t(DecodeFrames * channels));
    sf_count_t samples = 0;
    for (sf_count_t got; (got = sf_readf_float(sound, chunk.data(), DecodeFrames)) > 0;) {
        samples += got * channels;
        if (samples > MaxOpusSamples) return false;
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(chunk.data());
        data->insert(data->end(), bytes, bytes + size_t(got * channels) * sizeof(float));
    }
    return sf_error(sound) == SF_ERR_NO_ERROR && samples > 0;
}

bool ParseOpus(const std::vector<uint8_t>& file, std::vector<uint8_t>* format,
               std::vector<uint8_t>* data) {
    format->clear();
    data->clear();
    if (!WholeOggStream(file)) return false;
    MemoryFile memory{&file, 0};
    SF_VIRTUAL_IO io = {MemoryLength, MemorySeek, MemoryRead, MemoryWrite, MemoryTell};
    SF_INFO info = {};
    SNDFILE* sound = sf_open_virtual(&io, SFM_READ, &info, &memory);
    if (!sound) return false;
    bool opus = (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_OGG &&
                (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_OPUS;
    bool ok = opus && (info.channels == 1 || info.channels == 2) && info.samplerate > 0 &&
              DecodeAll(sound, info.channels, data);
    sf_close(sound);
    if (!ok) {
        data->clear();
        return false;
    }
    *format = FloatFormat(info.channels, info.samplerate);
    return true;
}

int ReadOpusFile(const char* path, std::vector<uint8_t>* format, std::vector<uint8_t>* data) {
    format->clear();
    data->clear();
    std::vector<uint8_t> file;
    if (!path || !ReadWholeFile(path, MaxOpusFileBytes, &file)) return 1;
    return ParseOpus(file, format, data) ? 0 : 1;
}

int LoadOpusObject(const char* name, int mix) {
    return LoadClipObject(name, mix, ReadOpusFile, true);
}

}  // namespace kaSound
