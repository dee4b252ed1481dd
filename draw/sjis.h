// Shift-JIS (code page 932) character helpers: lead bytes, character length, decoding.
// Every function here may be called from any thread.
#pragma once
#include <cstddef>
#include <cstdint>

// The geta mark, drawn for a character that cannot be decoded.
constexpr uint32_t SjisGetaMark = 0x3013;

// True for the first byte of a two-byte character (0x81..0x9F, 0xE0..0xFC).
bool SjisIsLeadByte(uint8_t byte);

// Bytes taken by the character at text[0] when `available` bytes remain (at least 1):
// 2 for a lead byte that has a byte after it, else 1. Never more than `available`.
int SjisCharLength(const char* text, size_t available);

// True for a character (zero-terminated) that may stay at the end of a row past the
// row's right limit instead of going to the next: 、。，．・…‥”’（」, the full stops and
// commas of ASCII and the spaces.
bool SjisCharHangs(const char* ch);

// The length of text's longest start, at most most bytes, that ends at a character
// boundary (a two-byte character that would be cut is left out whole); text is
// zero-terminated and read from its first byte, as a trail byte may look like a lead.
size_t SjisFittingBytes(const char* text, size_t most);

// Unicode code point of a character of `length` bytes (1 or 2). A lone lead byte, a
// byte pair that is not a CP932 character, or a single byte with no meaning in CP932
// gives SjisGetaMark. Reads exactly `length` bytes.
uint32_t SjisDecodeChar(const char* bytes, int length);

// Converts a zero-terminated CP932 string to UTF-8 into out (size bytes, always
// terminated). Undecodable characters become the geta mark. Returns out.
char* SjisToUtf8(const char* text, char* out, size_t size);

// Converts a zero-terminated UTF-8 string to CP932 into out (size bytes, always
// terminated). Returns false, leaving out empty, when a character has no CP932 form or
// the result does not fit.
bool Utf8ToSjis(const char* text, char* out, size_t size);
