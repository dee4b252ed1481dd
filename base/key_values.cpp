// The key=value reader shared by the game's small settings files.
#include "base/key_values.h"

#include <cerrno>
#include <cstdlib>

#include "base/files.h"

static std::string_view Trim(std::string_view s) {
    const char* space = " \t\r";
    size_t b = s.find_first_not_of(space);
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(space) - b + 1);
}

static KeyValueLine ParseLine(std::string_view line) {
    KeyValueLine out{KeyValueLine::Other, "", "", std::string(line)};
    std::string_view t = Trim(line);
    if (t.size() >= 2 && t.front() == '[' && t.find(']') != std::string_view::npos) {
        out.kind = KeyValueLine::Section;
        out.name = Trim(t.substr(1, t.find(']') - 1));
    } else if (line.find('=') != std::string_view::npos) {
        out.kind = KeyValueLine::Pair;
        out.name = Trim(line.substr(0, line.find('=')));
        out.value = Trim(line.substr(line.find('=') + 1));
    }
    return out;
}

std::vector<KeyValueLine> ParseKeyValues(std::string_view text) {
    std::vector<KeyValueLine> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(ParseLine(line));
        start = end + 1;
    }
    return lines;
}

bool ReadKeyValueFile(const std::string& path, size_t maxBytes, std::vector<KeyValueLine>* lines) {
    lines->clear();
    std::vector<uint8_t> bytes;
    if (path.empty() || !ReadWholeFile(path.c_str(), maxBytes, &bytes)) return false;
    *lines = ParseKeyValues(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return true;
}

bool WholeNumber(const std::string& text, int* out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text.c_str(), &end, 10);
    if (*end || errno || v < -2147483647L - 1 || v > 2147483647L) return false;
    *out = int(v);
    return true;
}
