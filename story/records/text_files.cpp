// The two small file operations of saves and owlsys.ini: a whole-line write that never
// leaves a half-written file, and a bounded read of the first token.
#include <cctype>
#include <string>
#include <vector>

#include "base/files.h"
#include "story/records/records.h"

bool WriteTextFile(const char* path, const char* text) {
    return ReplaceFile(path, std::string(text) + "\r\n");
}

// The files read here hold one short line; a token further in than this is not looked for,
// so a huge file, a FIFO or a device in a slot's place never stalls the game.
static const size_t TokenFileBytes = 4096;

void ReadFirstToken(const char* path, char* out, int size) {
    if (size <= 0) return;
    out[0] = '\0';
    std::vector<uint8_t> bytes;
    if (!ReadFileStart(path, TokenFileBytes, &bytes)) return;
    size_t i = 0;
    while (i < bytes.size() && std::isspace(bytes[i])) ++i;
    int n = 0;
    for (; i < bytes.size() && !std::isspace(bytes[i]); ++i)
        if (n < size - 1) out[n++] = char(bytes[i]);
    out[n] = '\0';
}
