// The effect tool's check of an effect it is about to write: heard within 50 ms, as its
// line appears; its sounding part under the voices' level but within 30 dB of it; and
// ended before a reader at 8 characters a second leaves the shortest line it plays with,
// so that the next step, which stops the clip played last, never cuts it.
#pragma once
#include <map>
#include <string>
#include <vector>

// Prints a line "file: what is wrong" for each fault and returns how many there were;
// shown holds the characters of the lines each clip plays with (ShownCharacters).
int CheckEffect(const std::string& file, const std::vector<double>& mono, int rate,
                const std::map<std::string, int>& shown);
