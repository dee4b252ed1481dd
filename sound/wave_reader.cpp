// The RIFF WAVE reader: finds the "fmt " and "data" chunks anywhere after the RIFF
// form's header and hands back the format block (18 + cbSize bytes) and the sample bytes.
// Every size read from the file is checked against the bytes really there.
#include <cstring>

#include "base/files.h"
#include "base/little_endian.h"
#include "sound/sound_state.h"

namespace kaSound {

// Voice clips are small; this bound keeps a lying file from exhausting memory.
constexpr size_t MaxWaveFileBytes = 256L * 1024 * 1024;
constexpr size_t ChunkHeaderBytes = 8;
constexpr size_t PcmFormatBytes = 16;
constexpr uint16_t FormatTagPcm = 1;

// Finds the first chunk called id between begin and end.
// Chunks of odd size are followed by a pad byte. A chunk that claims to run past the
// end ends the search: nothing after it can be trusted.
static bool FindChunk(const std::vector<uint8_t>& file, size_t begin, size_t end,
                      const char* id, size_t* dataOffset, size_t* dataSize) {
    size_t at = begin;
    while (end - at >= ChunkHeaderBytes) {
        size_t size = Read32(&file[at + 4]);
        size_t body = at + ChunkHeaderBytes;
        if (size > end - body) return false;
        if (std::memcmp(&file[at], id, 4) == 0) {
            *dataOffset = body;
            *dataSize = size;
            return true;
        }
        at = body + size + (size & 1);
        if (at > end) return false;
    }
    return false;
}

// The format block: the 16 PCM fields, then cbSize and its extra bytes. Plain PCM has
// no extra bytes; other formats keep theirs (a 16-byte chunk means none).
static bool ReadFormat(const uint8_t* chunk, size_t size, std::vector<uint8_t>* format) {
    if (size < PcmFormatBytes) return false;
    uint16_t tag = Read16(chunk);
    uint16_t channels = Read16(chunk + 2);
    uint32_t rate = Read32(chunk + 4);
    if (channels == 0 || rate == 0) return false;
    size_t extra = 0;
    if (tag != FormatTagPcm && size >= PcmFormatBytes + 2) {
        extra = Read16(chunk + PcmFormatBytes);
        if (extra > size - PcmFormatBytes - 2) return false;
    }
    format->assign(PcmFormatBytes + 2 + extra, 0);
    std::memcpy(format->data(), chunk, PcmFormatBytes);
    (*format)[16] = uint8_t(extra & 0xFF);
    (*format)[17] = uint8_t(extra >> 8);
    if (extra) std::memcpy(format->data() + 18, chunk + PcmFormatBytes + 2, extra);
    return true;
}

bool ParseWave(const std::vector<uint8_t>& file, std::vector<uint8_t>* format,
               std::vector<uint8_t>* data) {
    format->clear();
    data->clear();
    if (file.size() < 12 || std::memcmp(&file[0], "RIFF", 4) != 0 ||
        std::memcmp(&file[8], "WAVE", 4) != 0)
        return false;
    // The RIFF size is not trusted either way: writers get it wrong, too large or too
    // small, while every chunk is there. The chunks are looked for up to the file's end.
    size_t fmtAt, fmtSize, dataAt, dataSize;
    if (!FindChunk(file, 12, file.size(), "fmt ", &fmtAt, &fmtSize) ||
        !ReadFormat(&file[fmtAt], fmtSize, format) ||
        !FindChunk(file, 12, file.size(), "data", &dataAt, &dataSize)) {
        format->clear();
        return false;
    }
    data->assign(file.begin() + dataAt, file.begin() + dataAt + dataSize);
    return true;
}

int ReadWaveFile(const char* path, std::vector<uint8_t>* format, std::vector<uint8_t>* data) {
    format->clear();
    data->clear();
    std::vector<uint8_t> file;
    if (!path || !ReadWholeFile(path, MaxWaveFileBytes, &file)) return 1;
    return ParseWave(file, format, data) ? 0 : 1;
}

}  // namespace kaSound
