// Writing texts as C string literals.
#include "tools/c_literal.h"

void WriteCLiteral(std::FILE* f, const std::string& bytes) {
    std::fputc('"', f);
    for (unsigned char c : bytes) {
        if (c == '"' || c == '\\') std::fprintf(f, "\\%c", c);
        else if (c < 0x20 || c >= 0x7F) std::fprintf(f, "\\%03o", c);
        else std::fputc(c, f);
    }
    std::fputc('"', f);
}
