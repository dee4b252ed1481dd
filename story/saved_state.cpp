// The state file kept beside each save slot: the story's snapshot at the saved line and
// a small picture of the frame the reader saw, tied to the script table and the line.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/little_endian.h"
#include "draw/kaDraw.h"
#include "story/story.h"

static uint8_t StoryFramePreview[PreviewBytes];
// The story pixels the pointer was last drawn over, and where: the preview is taken
// from the presented frame, which has the pointer in it.
static uint32_t UnderPointer[layout::PointerSize][layout::PointerSize];
static int UnderX, UnderY, UnderWidth, UnderHeight;

void ResetStoryFramePreview() {
    std::fill(StoryFramePreview, StoryFramePreview + PreviewBytes, 0);
    UnderWidth = UnderHeight = 0;
}

void KeepUnderPointer(int x, int y) {
    const kaDraw::Surface* back = kaDraw::BackBuffer;
    UnderWidth = UnderHeight = 0;
    if (!back || x < 0 || y < 0) return;
    UnderX = x;
    UnderY = y;
    UnderWidth = std::min(layout::PointerSize, back->width - x);
    UnderHeight = std::min(layout::PointerSize, back->height - y);
    for (int row = 0; row < UnderHeight; ++row)
        for (int col = 0; col < UnderWidth; ++col)
            UnderPointer[row][col] = kaDraw::ReadPixel(back, x + col, y + row);
}

// Each preview pixel is the mean of four back buffer pixels spread over the part of the
// window it stands for. The pointer is taken out first; the next frame draws it again.
void KeepStoryFrame() {
    kaDraw::Surface* back = kaDraw::BackBuffer;
    if (!back) return;
    for (int row = 0; row < UnderHeight; ++row)
        for (int col = 0; col < UnderWidth; ++col)
            kaDraw::WritePixel(back, UnderX + col, UnderY + row, UnderPointer[row][col]);
    UnderWidth = UnderHeight = 0;
    const kaDraw::PixelFormat& f = back->format;
    const layout::Placement& p = layout::SlotPreview;
    uint8_t* out = StoryFramePreview;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x, out += 3) {
            unsigned sum[3] = {};
            for (int k = 0; k < 4; ++k) {
                int sx = (4 * x + 1 + 2 * (k & 1)) * layout::ClientWidth / (4 * p.width);
                int sy = (4 * y + 1 + (k & 2)) * layout::ClientHeight / (4 * p.height);
                uint32_t pixel = kaDraw::ReadPixel(back, sx, sy);
                sum[0] += kaDraw::ExpandChannel(pixel, f.redMask);
                sum[1] += kaDraw::ExpandChannel(pixel, f.greenMask);
                sum[2] += kaDraw::ExpandChannel(pixel, f.blueMask);
            }
            for (int c = 0; c < 3; ++c) out[c] = uint8_t((sum[c] + 2) / 4);
        }
    }
}

const uint8_t* LastStoryFrame() { return StoryFramePreview; }

// FNV-1a, 64 bits.
static const uint64_t HashStart = 0xcbf29ce484222325ULL;
static uint64_t HashBytes(uint64_t h, const uint8_t* p, size_t n) {
    for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 0x100000001b3ULL;
    return h;
}

// The file: "AKSTATE1", the table's hash, the snapshot's fields (little-endian), the
// preview's pixels, and a hash of all that before it, so that a damaged file is refused.
static const uint64_t MostRandomDraws = 100000000;
static const char Magic[8] = {'A', 'K', 'S', 'T', 'A', 'T', 'E', '1'};

namespace {
struct Writer {
    std::string bytes;
    void U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes += char(v >> (8 * i));
    }
    void U64(uint64_t v) {
        U32(uint32_t(v));
        U32(uint32_t(v >> 32));
    }
    void I32(int32_t v) { U32(uint32_t(v)); }
    void F32(float v) {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        U32(u);
    }
    void Text(const char* s) { bytes.append(s, ScriptLineBytes); }
};

// Reads fields back in the same order; ok turns false once the bytes run out or a
// field holds what no save writes.
struct Reader {
    const uint8_t* p;
    size_t left;
    bool ok = true;
    const uint8_t* Take(size_t n) {
        if (!ok || left < n) {
            ok = false;
            return nullptr;
        }
        const uint8_t* at = p;
        p += n;
        left -= n;
        return at;
    }
    uint32_t U32() {
        const uint8_t* at = Take(4);
        return at ? Read32(at) : 0;
    }
    uint64_t U64() {
        uint64_t low = U32();
        return low | uint64_t(U32()) << 32;
    }
    int32_t I32() { return int32_t(U32()); }
    bool Bool() {
        uint32_t v = U32();
        if (v > 1) ok = false;
        return v == 1;
    }
    float F32() {
        uint32_t u = U32();
        float v;
        std::memcpy(&v, &u, 4);
        if (!std::isfinite(v)) ok = false;
        return v;
    }
    void Text(char* out) {
        const uint8_t* at = Take(ScriptLineBytes);
        if (!at || !std::memchr(at, 0, ScriptLineBytes)) {
            ok = false;
            out[0] = '\0';
            return;
        }
        std::memcpy(out, at, ScriptLineBytes);
    }
};
}  // namespace

bool WriteStateFile(const char* path, const StorySnapshot& s, const uint8_t* preview) {
    Writer w;
    w.bytes.assign(Magic, sizeof Magic);
    w.U64(ScriptTableHash());
    w.I32(s.line);
    for (int32_t flag : s.flags) w.I32(flag);
    w.Text(s.picture);
    w.I32(s.storyState);
    w.I32(s.screenFrame);
    w.I32(s.characterCell);
    w.U32(s.waveEffect);
    w.F32(s.wavePhase);
    for (int32_t v : {s.animeFrames, s.animeFrame, s.animeLoop, s.animeFramesSaved,
                      s.animeSpeed, s.animeColumn})
        w.I32(v);
    w.U32(s.animeBackward);
    w.F32(s.animeClock);
    w.I32(s.textSize);
    w.Text(s.music);
    w.U32(s.musicLoops);
    w.U32(s.random.seed);
    w.U64(s.random.draws);
    w.bytes.append(reinterpret_cast<const char*>(preview), PreviewBytes);
    w.U64(HashBytes(HashStart, reinterpret_cast<const uint8_t*>(w.bytes.data()), w.bytes.size()));
    return ReplaceFile(path, w.bytes);
}

bool ReadStateFile(const char* path, int line, StorySnapshot* out, uint8_t* preview) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, 1 << 20, &bytes) || bytes.size() < sizeof Magic + 8) return false;
    size_t body = bytes.size() - 8;
    uint64_t sum = HashBytes(HashStart, bytes.data(), body);
    if (std::memcmp(bytes.data(), Magic, sizeof Magic) != 0 || Read32(&bytes[body]) != uint32_t(sum) ||
        Read32(&bytes[body + 4]) != uint32_t(sum >> 32))
        return false;
    Reader r{bytes.data() + sizeof Magic, body - sizeof Magic};
    if (r.U64() != ScriptTableHash() || r.I32() != line) return false;
    StorySnapshot s;
    s.line = line;
    for (int32_t& flag : s.flags) flag = r.I32();
    r.Text(s.picture);
    s.storyState = r.I32();
    s.screenFrame = r.I32();
    s.characterCell = r.I32();
    s.waveEffect = r.Bool();
    s.wavePhase = r.F32();
    for (int32_t* v : {&s.animeFrames, &s.animeFrame, &s.animeLoop, &s.animeFramesSaved,
                       &s.animeSpeed, &s.animeColumn})
        *v = r.I32();
    s.animeBackward = r.Bool();
    s.animeClock = r.F32();
    s.textSize = r.I32();
    r.Text(s.music);
    s.musicLoops = r.Bool();
    s.random.seed = r.U32();
    s.random.draws = r.U64();
    const uint8_t* pixels = r.Take(PreviewBytes);
    // A phase outside a turn, more draws than weeks of frames make (the draws are
    // replayed on a load), or a story state the interpreter has not, come from no save.
    bool sane = s.wavePhase >= 0.0f && s.wavePhase < 360.0f && s.random.draws <= MostRandomDraws &&
                s.storyState >= ShowingProse && s.storyState <= ChoiceOpen;
    if (!r.ok || r.left != 0 || !sane) return false;
    *out = s;
    std::memcpy(preview, pixels, PreviewBytes);
    return true;
}
