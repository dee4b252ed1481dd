// The tools that write C++ sources of tables write their texts as C string literals.
#pragma once
#include <cstdio>
#include <string>

// bytes as a quoted C string literal: quotes and backslashes escaped, every byte outside
// printable ASCII as an octal escape, so that the source is ASCII whatever the text.
void WriteCLiteral(std::FILE* f, const std::string& bytes);
