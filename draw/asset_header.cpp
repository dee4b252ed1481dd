// Picture assets on disk carry a blanked "BM" signature; these put it back and blank it.
#include <cstdio>

#include "draw/kaDraw.h"

namespace kaDraw {

// Writes two bytes at the start of an existing file; nothing when it cannot be opened
// for update (a missing file, a read-only install).
static void WriteSignature(const char* path, const char* twoBytes) {
    if (!path) return;
    std::FILE* f = std::fopen(path, "r+b");
    if (!f) return;
    std::fwrite(twoBytes, 1, 2, f);
    std::fclose(f);
}

void RestoreAssetHeader(const char* path) { WriteSignature(path, "BM"); }
void BlankAssetHeader(const char* path) { WriteSignature(path, "  "); }

}  // namespace kaDraw
