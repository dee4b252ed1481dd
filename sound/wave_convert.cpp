// Turns a clip from the WAVE reader into the output's own format once, at load:
// interleaved stereo float at the output rate, so that playing it is only a matter of
// adding samples. Other rates go through libsamplerate's best band-limited converter:
// linear interpolation dulls the highs and mirrors them above the source's band.
#include <samplerate.h>

#include <cmath>
#include <cstring>
#include <new>

#include "base/little_endian.h"
#include "sound/sound_state.h"

namespace kaSound {

constexpr uint16_t TagPcm = 1, TagFloat = 3, TagExtensible = 0xFFFE;
// Rates a sound buffer accepts, and the longest clip we hold (about 12 minutes).
constexpr uint32_t MinRate = 100, MaxRate = 200000;
constexpr int64_t MaxClipFrames = int64_t(1) << 25;
constexpr size_t ExtensibleExtraBytes = 22;
// The tail of the KSDATAFORMAT_SUBTYPE GUIDs after their first two bytes.
static const uint8_t SubtypeTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

enum class Encoding { Unsigned8, Signed16, Signed24, Signed32, Float32, Unsupported };

// The sample encoding a format block describes; extensible formats are judged by their
// subformat GUID.
static Encoding EncodingOf(const std::vector<uint8_t>& format) {
    uint16_t tag = Read16(&format[0]);
    uint16_t bits = Read16(&format[14]);
    if (tag == TagExtensible) {
        size_t extra = Read16(&format[16]);
        if (extra < ExtensibleExtraBytes || format.size() < 18 + ExtensibleExtraBytes)
            return Encoding::Unsupported;
        const uint8_t* guid = &format[18 + 6];
        if (std::memcmp(guid + 2, SubtypeTail, sizeof SubtypeTail) != 0 || guid[1] != 0)
            return Encoding::Unsupported;
        tag = guid[0];
    }
    if (tag == TagPcm && bits == 8) return Encoding::Unsigned8;
    if (tag == TagPcm && bits == 16) return Encoding::Signed16;
    if (tag == TagPcm && bits == 24) return Encoding::Signed24;
    if (tag == TagPcm && bits == 32) return Encoding::Signed32;
    if (tag == TagFloat && bits == 32) return Encoding::Float32;
    return Encoding::Unsupported;
}

static float SampleAt(const uint8_t* p, Encoding encoding) {
    switch (encoding) {
    case Encoding::Unsigned8: return (int(p[0]) - 128) / 128.0f;
    case Encoding::Signed16: return int16_t(Read16(p)) / 32768.0f;
    case Encoding::Signed24: {  // moved into the top of 32 bits, where its sign bit belongs
        uint32_t raw = uint32_t(p[0]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 24;
        return float(int32_t(raw) / 2147483648.0);
    }
    case Encoding::Signed32: return float(int32_t(Read32(p)) / 2147483648.0);
    case Encoding::Float32: {
        uint32_t raw = Read32(p);
        float value;
        std::memcpy(&value, &raw, sizeof value);
        return std::isfinite(value) ? value : 0.0f;  // one bad sample must not poison the mix
    }
    case Encoding::Unsupported: break;
    }
    return 0.0f;
}

bool ConvertClip(const std::vector<uint8_t>& format, const std::vector<uint8_t>& data,
                 std::vector<float>* clip, bool quick) {
    if (format.size() < 18) return false;
    Encoding encoding = EncodingOf(format);
    int channels = Read16(&format[2]);
    uint32_t rate = Read32(&format[4]);
    int blockAlign = Read16(&format[12]);
    int bytesPerSample = Read16(&format[14]) / 8;
    if (encoding == Encoding::Unsupported || (channels != 1 && channels != 2) ||
        rate < MinRate || rate > MaxRate || blockAlign != channels * bytesPerSample)
        return false;
    int64_t inFrames = int64_t(data.size() / blockAlign);
    if (inFrames == 0) return false;
    int64_t outFrames = (inFrames * OutputRate + rate - 1) / rate;
    if (outFrames > MaxClipFrames) return false;

    try {
        std::vector<float> source(static_cast<size_t>(inFrames) * 2);
        for (int64_t i = 0; i < inFrames; ++i) {
            const uint8_t* p = &data[size_t(i) * blockAlign];
            source[size_t(i) * 2] = SampleAt(p, encoding);
            source[size_t(i) * 2 + 1] =
                channels == 2 ? SampleAt(p + bytesPerSample, encoding) : source[size_t(i) * 2];
        }
        if (rate == uint32_t(OutputRate)) {
            *clip = std::move(source);  // copied sample for sample
            return true;
        }
        clip->assign(static_cast<size_t>(outFrames) * 2, 0.0f);
        SRC_DATA job = {};
        job.data_in = source.data();
        job.input_frames = long(inFrames);
        job.data_out = clip->data();
        job.output_frames = long(outFrames);
        job.src_ratio = double(OutputRate) / rate;
        int converter = quick ? SRC_SINC_FASTEST : SRC_SINC_BEST_QUALITY;
        if (src_simple(&job, converter, 2) != 0 || job.output_frames_gen <= 0)
            return false;
        clip->resize(static_cast<size_t>(job.output_frames_gen) * 2);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace kaSound
