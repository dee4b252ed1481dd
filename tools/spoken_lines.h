// What the voice tool speaks, read from the script and the phrase list: the words of
// each voice clip, the lines the narrator reads (prose without a clip of its own, the
// choices' options and prompts) and the phrases of the screens.
#pragma once
#include <map>
#include <string>
#include <vector>

// Every complaint is added here as "where: why".
using Refusals = std::vector<std::string>;

// The file's lines without their line ends; a file that cannot be read is refused.
std::vector<std::string> ReadLines(const char* path, Refusals* refusals);

// The words of a prose line: a dialogue line, set as 名「……」, without the speaker's name
// and the brackets round the speech, its full stop given back; other lines whole.
std::string SpokenPart(const std::string& line);

// The prose line after each voice's wave_play: line, by clip name (path names the
// script in complaints).
std::map<std::string, std::string> VoicedLines(const std::vector<std::string>& script,
                                               const char* path, Refusals* refusals);

// A line the narrator reads: its text as the screen shows it (a prose or prompt line
// whole, an option without its label), the words spoken and its line in the script.
struct NarratedLine {
    std::string text, words;
    int line;
};
// In the script's order, from line 1 (line 0 is never shown) to the first empty line:
// every prose line that no voice clip's wave_play: comes before in its step, and every
// option and prompt of a command: block.
std::vector<NarratedLine> NarratedLines(const std::vector<std::string>& script);

// The phrases of the screens: "<id> <text>" a line, '#' starts a comment. An id is at
// most 18 lowercase letters, digits and underscores, beginning with a letter, and not
// 16 hex digits (those name the script's clips).
struct Phrase {
    std::string id, text;
    int line;
};
std::vector<Phrase> ReadPhraseList(const char* path, Refusals* refusals);
