// The small key=value files the game keeps: its own (preferences.ini, window.ini) and the
// script's set.ini. Parsed from text, so that the reading is tested without a disk.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct KeyValueLine {
    enum Kind { Other, Section, Pair } kind;
    std::string name;   // a section's name or a pair's key, spaces around it dropped
    std::string value;  // a pair's value, spaces around it dropped
    std::string text;   // the line as it stands, without its end
};

// Each line of text ("\n" or "\r\n" ends one): "[name]" a section, "key=value" a pair,
// anything else (blank lines and comments too) Other.
std::vector<KeyValueLine> ParseKeyValues(std::string_view text);
// Reads a file of at most maxBytes and parses it; false when it is missing or cannot be
// read (too large, or no regular file), lines then empty.
bool ReadKeyValueFile(const std::string& path, size_t maxBytes, std::vector<KeyValueLine>* lines);
// The number that text is, whole: digits with an optional sign, nothing else.
bool WholeNumber(const std::string& text, int* out);
