// The two small file operations of saves and owlsys.ini: a whole-line write that never
// leaves a half-written file, and a bounded read of the first token.
#include <cctype>
#include <cstdio>

#include "platform/platform.h"
#include "story/story.h"

bool ProgramPath(const char* name, char* out, int size) {
    int n = std::snprintf(out, size_t(size), "%s%s", plat::ProgramDirectory(), name);
    return n >= 0 && n < size;
}

bool WriteTextFile(const char* path, const char* text) {
    char temporary[PathBytes + 8];
    if (std::snprintf(temporary, sizeof temporary, "%s.tmp", path) >= int(sizeof temporary))
        return false;
    std::FILE* f = std::fopen(temporary, "wb");
    if (!f) return false;
    bool written = std::fputs(text, f) >= 0 && std::fputs("\r\n", f) >= 0;
    written = std::fflush(f) == 0 && written;
    written = std::fclose(f) == 0 && written;
    if (!written || std::rename(temporary, path) != 0) {
        std::remove(temporary);
        return false;
    }
    return true;
}

void ReadFirstToken(const char* path, char* out, int size) {
    if (size <= 0) return;
    out[0] = '\0';
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return;
    int c = std::fgetc(f);
    while (c != EOF && std::isspace(c)) c = std::fgetc(f);
    int n = 0;
    for (; c != EOF && !std::isspace(c); c = std::fgetc(f))
        if (n < size - 1) out[n++] = char(c);
    out[n] = '\0';
    std::fclose(f);
}
