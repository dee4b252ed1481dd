// The state file kept beside each save slot and as the resume point: the story's
// snapshot at the saved line and a small picture of the frame the reader saw, tied to
// the script table and the save line, each field held to what the engine can make.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/hash.h"
#include "base/random.h"
#include "base/little_endian.h"
#include "draw/kaDraw.h"
#include "story/saves/saves.h"

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

// The file: "AKSTATE3", the table's hash, the save line it belongs to, the snapshot's
// fields (little-endian), the preview's pixels, and a hash of all that before it, so that
// a damaged file is refused. Older files are read too: "AKSTATE2" keeps the random
// generator as the seed and the draws since, and "AKSTATE1" also has no save line (it
// belongs to the save line of its line).
static const char Magic[8] = {'A', 'K', 'S', 'T', 'A', 'T', 'E', '3'};
static const int FirstVersion = 1;
static const size_t HashBytesAtEnd = 8;

namespace {
// The writer and the reader take the same fields, by reference and in the same order
// (SnapshotFields): the writer appends each, the reader fills it and holds it to its
// range; ok turns false once the bytes run out or a field holds what no save writes.
struct Writer {
    std::string bytes;
    void U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes += char(v >> (8 * i));
    }
    void U64(const uint64_t& v) {
        U32(uint32_t(v));
        U32(uint32_t(v >> 32));
    }
    void I32(const int32_t& v, int32_t = 0, int32_t = 0) { U32(uint32_t(v)); }
    void Bool(const bool& v) { U32(v); }
    void F32(const float& v) {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        U32(u);
    }
    void Text(const char* s, size_t size) {
        size_t n = strnlen(s, size - 1);
        bytes.append(s, n);
        bytes.append(size - n, '\0');
    }
};

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
    void U64(uint64_t& v) {
        uint64_t low = U32();
        v = low | uint64_t(U32()) << 32;
    }
    // Any number, or one held to [least, most].
    void I32(int32_t& v) { v = int32_t(U32()); }
    void I32(int32_t& v, int32_t least, int32_t most) {
        I32(v);
        if (v < least || v > most) ok = false;
    }
    void Bool(bool& v) {
        int32_t n;
        I32(n, 0, 1);
        v = n == 1;
    }
    void F32(float& v) {
        uint32_t u = U32();
        std::memcpy(&v, &u, 4);
        if (!std::isfinite(v)) ok = false;
    }
    void Text(char* out, size_t size) {
        const uint8_t* at = Take(size);
        if (!at || !std::memchr(at, 0, size)) {
            ok = false;
            out[0] = '\0';
            return;
        }
        std::memcpy(out, at, size);
    }
};

// The least and most of what the active script's lines of keyword k give as their
// number, with the values the engine itself sets counted in.
struct Range {
    int32_t least, most;
};
Range ArgumentRange(Keyword k, std::initializer_list<int32_t> own) {
    Range r = {std::min(own), std::max(own)};
    for (int line = 0; line < ScriptLineCount; ++line) {
        if (!LineText(line)[0] || MatchKeyword(LineText(line)) != k) continue;
        int32_t n = ReadNumberAt(LineText(line), ArgumentOffset(k));
        r.least = std::min(r.least, n);
        r.most = std::max(r.most, n);
    }
    return r;
}

// A picture or a piece a state names must be one a line of keyword k of the active
// script names, and a plain name in the game's folder: the state is no way to open any
// other file. Empty is none.
bool NamedByScript(Keyword k, const char* name) {
    if (!name[0]) return true;
    if (std::strchr(name, '/') || std::strchr(name, '\\') || std::strstr(name, "..")) return false;
    for (int line = 0; line < ScriptLineCount; ++line)
        if (LineText(line)[0] && MatchKeyword(LineText(line)) == k &&
            std::strcmp(LineText(line) + ArgumentOffset(k), name) == 0)
            return true;
    return false;
}

// The snapshot's fields in the file's order, each number held on reading to what the
// engine can make with the active script: a frame or a column past every anime: count, a
// band, a cell, a loop mode or a speed no line gives would otherwise run the animation's
// counting past int. A file before version 3 keeps the generator as its seed and the
// draws since.
template <class Io>
void SnapshotFields(Io& io, StorySnapshot& s, int version) {
    io.I32(s.line, 0, ScriptLineCount - 1);
    for (int32_t& flag : s.flags) io.I32(flag);  // flg: and if: may set any number
    io.Text(s.picture, ScriptLineBytes);
    io.I32(s.storyState, ShowingProse, ChoiceOpen);  // an older file's window flag is 0 or 1
    const Range frames = ArgumentRange(KwAnime, {0});
    const Range screen = ArgumentRange(KwSetscreen, {frames.least, frames.most, 50, 99});
    const Range cell = ArgumentRange(KwSetchar, {NoCharacter});
    const Range loop = ArgumentRange(KwLoopanime, {0});
    const Range speed = ArgumentRange(KwSpeed, {40});
    const int32_t frameMost = std::max(frames.most, 1);
    io.I32(s.screenFrame, screen.least, screen.most);
    io.I32(s.characterCell, cell.least, cell.most);
    io.Bool(s.waveEffect);
    io.F32(s.wavePhase);
    io.I32(s.animeFrames, frames.least, frames.most);
    io.I32(s.animeFrame, 0, frameMost);
    io.I32(s.animeLoop, loop.least, loop.most);
    io.I32(s.animeFramesSaved, frames.least, frames.most);
    io.I32(s.animeSpeed, speed.least, speed.most);
    io.I32(s.animeColumn, 0, frameMost);
    io.Bool(s.animeBackward);
    io.F32(s.animeClock);
    io.I32(s.textSize, MinTextSize, MaxTextSize);
    io.Text(s.music, ScriptLineBytes);
    io.Bool(s.musicLoops);
    if (version >= 3) {
        io.U64(s.random);
    } else {
        int32_t seed = 0;  // only read: the writer writes the version 3 fields
        uint64_t draws = 0;
        io.I32(seed);
        io.U64(draws);
        s.random = RandomStateAfter(uint32_t(seed), draws);
    }
}
}  // namespace

std::string StateFileBytes(const char* saveLine, const StorySnapshot& s, const uint8_t* preview) {
    Writer w;
    w.bytes.assign(Magic, sizeof Magic);
    w.U64(ScriptTableHash());
    w.Text(saveLine, SaveLineBytes);
    static StorySnapshot copy;
    copy = s;
    SnapshotFields(w, copy, Magic[sizeof Magic - 1] - '0');
    w.bytes.append(reinterpret_cast<const char*>(preview), PreviewBytes);
    w.U64(HashBytes(w.bytes.data(), w.bytes.size()));
    return w.bytes;
}

static uint64_t Read64(const uint8_t* at) { return uint64_t(Read32(at)) | uint64_t(Read32(at + 4)) << 32; }

uint64_t StateFileHash(const std::string& bytes) {
    if (bytes.size() < HashBytesAtEnd) return 0;
    return Read64(reinterpret_cast<const uint8_t*>(bytes.data()) + bytes.size() - HashBytesAtEnd);
}

// Every field is held to what the engine can make with the active script (SnapshotFields).
bool ReadStateFile(const char* path, StateFile* out) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, 1 << 20, &bytes) || bytes.size() < sizeof Magic + HashBytesAtEnd) return false;
    size_t body = bytes.size() - HashBytesAtEnd;
    uint64_t sum = HashBytes(bytes.data(), body);
    const int version = bytes[sizeof Magic - 1] - '0';
    if (std::memcmp(bytes.data(), Magic, sizeof Magic - 1) != 0 || version < FirstVersion ||
        version > Magic[sizeof Magic - 1] - '0' || Read64(&bytes[body]) != sum)
        return false;
    const bool hasSaveLine = version >= 2;
    Reader r{bytes.data() + sizeof Magic, body - sizeof Magic};
    uint64_t table;
    r.U64(table);
    if (table != ScriptTableHash()) return false;
    static StateFile f;
    f.saveLine[0] = '\0';
    if (hasSaveLine) r.Text(f.saveLine, SaveLineBytes);
    StorySnapshot& s = f.snapshot;
    SnapshotFields(r, s, version);
    const uint8_t* pixels = r.Take(PreviewBytes);
    // A phase outside a turn or a clock run backwards by no speed come from no save, and
    // a name no file: or midi_play: line gives would open another file.
    bool sane = s.wavePhase >= 0.0f && s.wavePhase < 360.0f &&
                (s.animeClock >= 0.0f || ArgumentRange(KwSpeed, {40}).least < 0) &&
                NamedByScript(KwFile, s.picture) &&
                NamedByScript(KwMidiPlay, s.music) &&
                (!hasSaveLine || SavedLineIn(f.saveLine, SaveLineBytes) == s.line);
    if (!r.ok || r.left != 0 || !sane) return false;
    std::memcpy(f.preview, pixels, PreviewBytes);
    *out = f;
    return true;
}
