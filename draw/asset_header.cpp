// Picture assets on disk carry a blanked "BM" signature; these put it back and blank it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "draw/kaDraw.h"

namespace kaDraw {

// Writes two bytes over the start of an existing regular file whose first two bytes
// are a signature, blanked or not; any other file (a music file a script line names by
// mistake, a FIFO, a device) is left as it is, as is a file that cannot be opened for
// update (a missing file, a read-only install).
// True when written; the callers need not know, as the load that follows tells.
static bool WriteSignature(const char* path, const char* twoBytes) {
    if (!path) return false;
    int fd = open(path, O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    char start[2];
    bool written = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && pread(fd, start, 2, 0) == 2 &&
                   (std::memcmp(start, "BM", 2) == 0 || std::memcmp(start, "  ", 2) == 0) &&
                   pwrite(fd, twoBytes, 2, 0) == 2;
    close(fd);
    return written;
}

void RestoreAssetHeader(const char* path) { WriteSignature(path, "BM"); }
void BlankAssetHeader(const char* path) { WriteSignature(path, "  "); }

}  // namespace kaDraw
