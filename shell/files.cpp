// Whole files: an asset read into memory (bounded, so that a stray huge file is refused
// rather than read), and a player's file replaced without ever being half-written.
#include <cstdio>

#include "shell/shell.h"

bool ReadWholeFile(const char* path, size_t maxBytes, std::vector<uint8_t>* bytes) {
    bytes->clear();
    std::FILE* file = std::fopen(path, "rb");
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
