// Pictures read and decoded ahead of the load that will need them, on a thread of their
// own: a page turn then costs a read of the file from the page cache and a comparison
// instead of a decode. The load itself, with everything it reports, stays where it was.
#include <cstring>

#include "base/files.h"
#include "base/start_up_task.h"
#include "draw/draw_internal.h"
#include "platform/platform.h"

namespace kaDraw {

namespace {

// The story's largest picture is under 4 MB; a larger file is decoded at its load.
constexpr size_t MaxReadAheadBytes = size_t(16) << 20;

// What the reader leaves: written only on its thread, read only once AwaitTask has
// joined it.
struct ReadResult {
    std::vector<uint8_t> bytes;
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

// The decoder reads "BM" and the stored asset's two blanks alike: the header's restore
// between the read ahead and the load changes nothing it decodes.
bool SameBmpBytes(const std::vector<uint8_t>& loaded, const std::vector<uint8_t>& read) {
    return loaded.size() == read.size() && HasBmpSignature(loaded.data(), loaded.size()) &&
           std::memcmp(loaded.data() + 2, read.data() + 2, loaded.size() - 2) == 0;
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
        if (Result.surface) Result.bytes = std::move(bytes);
    });
}

void AwaitReadAhead() { AwaitTask(&Reader); }

Surface* TakeReadAhead(const std::string& path, const std::vector<uint8_t>* bytes,
                       const PixelFormat& format) {
    if (ReaderPath.empty() || path != ReaderPath) return nullptr;
    AwaitTask(&Reader);
    Surface* taken = nullptr;
    if (bytes && Result.surface && SameFormat(format, ReaderFormat) &&
        SameBmpBytes(*bytes, Result.bytes)) {
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
    std::vector<uint8_t>().swap(Result.bytes);
    ReaderPath.clear();
}

}  // namespace kaDraw
