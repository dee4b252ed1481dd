// Whole files: an asset read into memory (bounded, so that a stray huge file is refused
// rather than read), and a player's file replaced without ever being half-written.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "shell/shell.h"

std::FILE* OpenForReading(const char* path) {
    // Non-blocking, so that opening a FIFO with no writer returns at once; the flag
    // does not matter for the regular file that is kept.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    std::FILE* file = nullptr;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) file = fdopen(fd, "rb");
    if (!file) close(fd);
    return file;
}

bool ReadWholeFile(const char* path, size_t maxBytes, std::vector<uint8_t>* bytes) {
    bytes->clear();
    std::FILE* file = OpenForReading(path);
    if (!file) return false;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    bool ok = size >= 0 && static_cast<unsigned long>(size) <= maxBytes &&
              std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes->resize(static_cast<size_t>(size));
        ok = std::fread(bytes->data(), 1, bytes->size(), file) == bytes->size();
    }
    std::fclose(file);
    if (!ok) bytes->clear();
    return ok;
}

bool ReplaceFile(const char* path, const std::string& bytes) {
    std::string temporary = std::string(path) + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
