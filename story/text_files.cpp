// The two small file operations of saves and owlsys.ini: a whole-line write that never
// leaves a half-written file, and a bounded read of the first token.
#include <cctype>
#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "shell/shell.h"
#include "story/story.h"

bool ProgramPath(const char* name, char* out, int size) {
    int n = std::snprintf(out, size_t(size), "%s%s", plat::ProgramDirectory(), name);
    return n >= 0 && n < size;
}

bool WriteTextFile(const char* path, const char* text) {
    return ReplaceFile(path, std::string(text) + "\r\n");
}

void ReadFirstToken(const char* path, char* out, int size) {
    if (size <= 0) return;
    out[0] = '\0';
    std::FILE* f = OpenForReading(path);
    if (!f) return;
    int c = std::fgetc(f);
    while (c != EOF && std::isspace(c)) c = std::fgetc(f);
    int n = 0;
    for (; c != EOF && !std::isspace(c); c = std::fgetc(f))
        if (n < size - 1) out[n++] = char(c);
    out[n] = '\0';
    std::fclose(f);
}
