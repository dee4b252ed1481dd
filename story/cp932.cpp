// UTF-8 to CP932, the one conversion the script and the engine's own texts go through.
#include <iconv.h>

#include <cstring>

#include "story/script.h"

bool Utf8ToCp932(const char* utf8, char* out, int size) {
    if (size <= 0) return false;
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == iconv_t(-1)) return false;
    char* in = const_cast<char*>(utf8);
    size_t inLeft = std::strlen(utf8);
    char* o = out;
    size_t outLeft = size_t(size) - 1;
    size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    *o = '\0';
    return r != size_t(-1) && inLeft == 0;
}
