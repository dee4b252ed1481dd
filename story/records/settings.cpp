// set.ini: the profile file through which the script keeps a label between runs:
// sections in brackets, key=value lines, names compared without regard to ASCII case;
// every other line is kept as it was.
#include "story/records/settings.h"

#include <filesystem>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/folders.h"
#include "base/key_values.h"

namespace {

constexpr size_t MaxValueLength = 63;
// Far above what the script keeps in it; a bound so that a stray huge file is refused.
constexpr size_t MaxSettingsBytes = 1 << 20;

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
    std::vector<KeyValueLine> lines;
    if (!section || !key || !ReadKeyValueFile(SettingsPath(), MaxSettingsBytes, &lines)) return "";
    bool inSection = false;
    for (const KeyValueLine& line : lines) {
        if (line.kind == KeyValueLine::Section) {
            inSection = SameName(line.name, section);
        } else if (inSection && line.kind == KeyValueLine::Pair && SameName(line.name, key)) {
            return line.value.substr(0, MaxValueLength);
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

    // A file there that cannot be read (no regular file, or too large) is never written over.
    std::vector<KeyValueLine> lines;
    if (!ReadKeyValueFile(path, MaxSettingsBytes, &lines) && (std::filesystem::exists(path, ec) || ec))
        return false;
    std::vector<std::string> text;
    for (const KeyValueLine& line : lines) text.push_back(line.text);
    std::string entry = std::string(key) + "=" + value;
    bool inSection = false, done = false;
    size_t sectionEnd = std::string::npos;  // line after the section's last key line
    for (size_t i = 0; i < lines.size() && !done; ++i) {
        if (lines[i].kind == KeyValueLine::Section) {
            if (inSection) break;
            inSection = SameName(lines[i].name, section);
            if (inSection) sectionEnd = i + 1;
        } else if (inSection && lines[i].kind == KeyValueLine::Pair) {
            if (SameName(lines[i].name, key)) {
                text[i] = entry;
                done = true;
            }
            sectionEnd = i + 1;
        }
    }
    if (!done) {
        if (sectionEnd == std::string::npos) {
            text.push_back(std::string("[") + section + "]");
            sectionEnd = text.size();
        }
        text.insert(text.begin() + long(sectionEnd), entry);
    }
    std::string bytes;
    for (const std::string& line : text) bytes += line + '\n';
    return ReplaceFile(path.c_str(), bytes);
}
