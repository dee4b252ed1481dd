// set.ini: the profile file through which the script keeps a label between runs. A
// small INI reader and writer: sections in brackets, key=value lines, names compared
// without regard to ASCII case; every other line is kept as it was.
#include "story/settings.h"

#include <filesystem>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/folders.h"

namespace {

constexpr size_t MaxValueLength = 63;

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

bool SameName(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        unsigned char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x += 'a' - 'A';
        if (y >= 'A' && y <= 'Z') y += 'a' - 'A';
        if (x != y) return false;
    }
    return i == a.size() && !b[i];
}

// The section named by a "[name]" line; false when the line is no section header.
bool SectionHeader(const std::string& line, std::string* name) {
    std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    size_t close = t.find(']');
    if (close == std::string::npos) return false;
    *name = Trim(t.substr(1, close - 1));
    return true;
}

// The key of a "key=value" line; false for any other line.
bool KeyOfLine(const std::string& line, std::string* key) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) return false;
    *key = Trim(line.substr(0, eq));
    return true;
}

// Far above what the script keeps in it; a bound so that a stray huge file is refused.
constexpr size_t MaxSettingsBytes = 1 << 20;

// The file's lines, line ends dropped; false when a file is there that cannot be read
// (no regular file, or too large), which is then never written over.
bool ReadLines(const std::string& path, std::vector<std::string>* lines) {
    lines->clear();
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path.c_str(), MaxSettingsBytes, &bytes)) {
        std::error_code ec;
        return !std::filesystem::exists(path, ec) && !ec;
    }
    std::string text(bytes.begin(), bytes.end());
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines->push_back(line);
        start = end + 1;
    }
    return true;
}

// A name or value that would break the file's line structure cannot be stored.
bool Storable(const char* text, const char* forbidden) {
    if (!text) return false;
    for (const char* p = text; *p; ++p)
        for (const char* f = forbidden; *f; ++f)
            if (*p == *f) return false;
    return true;
}

}  // namespace

std::string SettingsPath() { return ConfigPath("set.ini"); }

std::string ReadSetting(const char* section, const char* key) {
    std::string path = SettingsPath();
    if (path.empty() || !section || !key) return "";
    bool inSection = false;
    std::vector<std::string> lines;
    ReadLines(path, &lines);
    for (const std::string& line : lines) {
        std::string name;
        if (SectionHeader(line, &name)) {
            inSection = SameName(name, section);
        } else if (inSection && KeyOfLine(line, &name) && SameName(name, key)) {
            std::string value = Trim(line.substr(line.find('=') + 1));
            if (value.size() > MaxValueLength) value.resize(MaxValueLength);
            return value;
        }
    }
    return "";
}

// Replaces the key's line in its section (or adds the key, and the section when
// missing), writes the whole file to a temporary one and renames it over the old, so
// a failed write never leaves a half-written set.ini. False when it could not be written.
bool WriteSetting(const char* section, const char* key, const char* value) {
    if (!Storable(section, "\r\n]") || !Storable(key, "\r\n=[") || !Storable(value, "\r\n"))
        return false;
    if (!section[0] || !key[0]) return false;
    std::string path = SettingsPath();
    if (path.empty()) return false;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);

    std::vector<std::string> lines;
    if (!ReadLines(path, &lines)) return false;
    std::string entry = std::string(key) + "=" + value;
    bool inSection = false, done = false;
    size_t sectionEnd = std::string::npos;  // line after the section's last key line
    for (size_t i = 0; i < lines.size() && !done; ++i) {
        std::string name;
        if (SectionHeader(lines[i], &name)) {
            if (inSection) break;
            inSection = SameName(name, section);
            if (inSection) sectionEnd = i + 1;
        } else if (inSection && KeyOfLine(lines[i], &name)) {
            if (SameName(name, key)) {
                lines[i] = entry;
                done = true;
            }
            sectionEnd = i + 1;
        }
    }
    if (!done) {
        if (sectionEnd == std::string::npos) {
            lines.push_back(std::string("[") + section + "]");
            sectionEnd = lines.size();
        }
        lines.insert(lines.begin() + long(sectionEnd), entry);
    }

    std::string text;
    for (const std::string& line : lines) text += line + '\n';
    return ReplaceFile(path.c_str(), text);
}
