// Shift-JIS helpers over iconv's CP932 tables.
#include "draw/sjis.h"

#include <iconv.h>

#include <cstring>

bool SjisIsLeadByte(uint8_t byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

int SjisCharLength(const char* text, size_t available) {
    if (available >= 2 && SjisIsLeadByte(uint8_t(text[0]))) return 2;
    return 1;
}

// Characters that may stay at the end of a line past the right limit, in CP932.
static const char* const HangingChars[] = {
    "\x81\x41",  // 、
    "\x81\x42",  // 。
    "\x81\x43",  // ，
    "\x81\x44",  // ．
    "\x81\x45",  // ・
    "\x81\x63",  // …
    "\x81\x64",  // ‥
    "\x81\x68",  // ”
    "\x81\x66",  // ’
    "\x81\x69",  // （
    "\x81\x76",  // 」
    ",",  ".",
    "\x81\x40",  // ideographic space
    " ",
};

bool SjisCharHangs(const char* ch) {
    for (const char* hanging : HangingChars)
        if (std::strcmp(ch, hanging) == 0) return true;
    return false;
}

size_t SjisFittingBytes(const char* text, size_t most) {
    size_t length = std::strlen(text), p = 0;
    while (p < length) {
        size_t n = size_t(SjisCharLength(text + p, length - p));
        if (p + n > most) break;
        p += n;
    }
    return p;
}

// A converter keeps its shift state and buffers in itself, so two threads must never
// use one at once (the font table is filled on a thread of its own while the game
// converts its texts). Each thread has its own per direction, opened on its first use
// and closed when the thread ends.
namespace {
struct Converter {
    iconv_t cd;
    Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Converter() {
        if (cd != iconv_t(-1)) iconv_close(cd);
    }
};
}  // namespace

static iconv_t DecoderCp932() {
    thread_local Converter decoder("UTF-32LE", "CP932");
    return decoder.cd;
}

static iconv_t EncoderCp932() {
    thread_local Converter encoder("CP932", "UTF-8");
    return encoder.cd;
}

uint32_t SjisDecodeChar(const char* bytes, int length) {
    if (length < 1 || length > 2) return SjisGetaMark;
    if (length == 1 && uint8_t(bytes[0]) < 0x80) return uint8_t(bytes[0]);
    if (length == 1 && SjisIsLeadByte(uint8_t(bytes[0]))) return SjisGetaMark;
    iconv_t decoder = DecoderCp932();
    if (decoder == iconv_t(-1)) return SjisGetaMark;
    char in[2];
    std::memcpy(in, bytes, size_t(length));
    uint8_t out[8];
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    size_t inLeft = size_t(length), outLeft = sizeof out;
    iconv(decoder, nullptr, nullptr, nullptr, nullptr);
    size_t result = iconv(decoder, &inPtr, &inLeft, &outPtr, &outLeft);
    // Exactly one code point from all the bytes, or the character is not one.
    if (result == size_t(-1) || inLeft != 0 || sizeof out - outLeft != 4) return SjisGetaMark;
    uint32_t code = uint32_t(out[0]) | uint32_t(out[1]) << 8 | uint32_t(out[2]) << 16 |
                    uint32_t(out[3]) << 24;
    return code == 0 ? SjisGetaMark : code;
}

// Appends the UTF-8 form of a code point if it fits (room counts the terminator).
static size_t PutUtf8(uint32_t code, char* out, size_t room) {
    char buf[4];
    size_t n;
    if (code < 0x80) {
        buf[0] = char(code);
        n = 1;
    } else if (code < 0x800) {
        buf[0] = char(0xC0 | code >> 6);
        buf[1] = char(0x80 | (code & 0x3F));
        n = 2;
    } else if (code < 0x10000) {
        buf[0] = char(0xE0 | code >> 12);
        buf[1] = char(0x80 | ((code >> 6) & 0x3F));
        buf[2] = char(0x80 | (code & 0x3F));
        n = 3;
    } else {
        buf[0] = char(0xF0 | code >> 18);
        buf[1] = char(0x80 | ((code >> 12) & 0x3F));
        buf[2] = char(0x80 | ((code >> 6) & 0x3F));
        buf[3] = char(0x80 | (code & 0x3F));
        n = 4;
    }
    if (n >= room) return 0;
    std::memcpy(out, buf, n);
    return n;
}

char* SjisToUtf8(const char* text, char* out, size_t size) {
    if (size == 0) return out;
    size_t used = 0, length = std::strlen(text);
    for (size_t p = 0; p < length;) {
        int n = SjisCharLength(text + p, length - p);
        size_t put = PutUtf8(SjisDecodeChar(text + p, n), out + used, size - used);
        if (put == 0) break;
        used += put;
        p += size_t(n);
    }
    out[used] = 0;
    return out;
}

bool Utf8ToSjis(const char* text, char* out, size_t size) {
    if (size == 0) return false;
    out[0] = 0;
    iconv_t encoder = EncoderCp932();
    if (encoder == iconv_t(-1)) return false;
    char* inPtr = const_cast<char*>(text);
    char* outPtr = out;
    size_t inLeft = std::strlen(text), outLeft = size - 1;
    iconv(encoder, nullptr, nullptr, nullptr, nullptr);
    if (iconv(encoder, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1) || inLeft != 0) {
        out[0] = 0;
        return false;
    }
    *outPtr = 0;
    return true;
}
