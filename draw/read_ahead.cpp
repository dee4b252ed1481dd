// Pictures read and decoded ahead of the load that will need them, on a thread of their
// own: a page turn then costs a digest of the file read from the page cache instead of
// a decode. Only the decoded picture and the digest of its file are kept, never the
// file. The load itself, with everything it reports, stays where it was.
#include <cstring>

#include "base/files.h"
#include "base/start_up_task.h"
#include "draw/draw_internal.h"
#include "platform/platform.h"

namespace kaDraw {

namespace {

// The story's largest picture is under 4 MB; a larger file is decoded at its load.
constexpr size_t MaxReadAheadBytes = size_t(16) << 20;

// The file's signature, "BM" or an asset's blanks, is left out of the digest: the
// decoder reads both alike, and a load restores an asset's header after its read ahead.
constexpr size_t SignatureBytes = 2;

// What the reader leaves: written only on its thread, read only once AwaitTask has
// joined it.
struct ReadResult {
    uint64_t digest = 0;  // of the file after its signature
    Surface* surface = nullptr;
};

StartUpTask Reader;
ReadResult Result;
// The file being read ahead and the layout it is decoded into: the main thread's own.
std::string ReaderPath;
PixelFormat ReaderFormat;

bool SameFormat(const PixelFormat& a, const PixelFormat& b) {
    return a.bitsPerPixel == b.bitsPerPixel && a.redMask == b.redMask &&
           a.greenMask == b.greenMask && a.blueMask == b.blueMask;
}

// Whether the file now holds what the picture was decoded from.
bool FileUnchanged(const std::string& path, uint64_t digest) {
    std::vector<uint8_t> head;
    uint64_t now;
    return DigestFile(path.c_str(), MaxReadAheadBytes, SignatureBytes, &head, &now) &&
           HasBmpSignature(head.data(), head.size()) && now == digest;
}

}  // namespace

void ReadAheadObject(const char* name) {
    if (!BackBuffer || !name || !*name || std::strlen(name) > MaxNameLength) return;
    std::string path = std::string(plat::ProgramDirectory()) + name;
    if (path == ReaderPath) return;  // read, or being read, already
    DropReadAhead();
    ReaderPath = path;
    ReaderFormat = BackBuffer->format;
    PixelFormat format = ReaderFormat;
    StartTask(&Reader, [path, format] {
        std::vector<uint8_t> bytes;
        if (!ReadWholeFile(path.c_str(), MaxReadAheadBytes, &bytes) || bytes.empty()) return;
        Result.surface = DecodeBmp(bytes.data(), bytes.size(), format);
        if (Result.surface)
            Result.digest =
                DigestBytes(bytes.data() + SignatureBytes, bytes.size() - SignatureBytes);
    });
}

void AwaitReadAhead() { AwaitTask(&Reader); }

Surface* TakeReadAhead(const std::string& path, const PixelFormat& format) {
    if (ReaderPath.empty() || path != ReaderPath) return nullptr;
    AwaitTask(&Reader);
    Surface* taken = nullptr;
    if (Result.surface && SameFormat(format, ReaderFormat) && FileUnchanged(path, Result.digest)) {
        taken = Result.surface;
        Result.surface = nullptr;
    }
    DropReadAhead();
    return taken;
}

void DropReadAhead() {
    AwaitTask(&Reader);
    FreeSurface(Result.surface);
    Result.surface = nullptr;
    ReaderPath.clear();
}

}  // namespace kaDraw
