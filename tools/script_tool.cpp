// Build-time script tool: converts the UTF-8 story script to CP932, checks every line by
// the rules the engine reads it with, and writes the C++ source of the script table.
// Usage: akari_script_tool script.txt out.cpp. A bad script is refused with file:line.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "draw/sjis.h"
#include "story/script.h"

static ScriptLine Table[ScriptLineCount];
static int LineCount = 0;
static const char* SourceName = "";
static int Errors = 0;

// Text line numbers count from 1; table line i is text line i + 1.
static void Refuse(int index, const std::string& why) {
    std::fprintf(stderr, "%s:%d: %s\n", SourceName, index + 1, why.c_str());
    ++Errors;
}

static bool IsDigits(const char* p, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (p[i] < '0' || p[i] > '9') return false;
    return true;
}

// Fixed-width fields: "DDD,D" runs, then a last field of one or more digits.
static bool FieldsMatch(const char* args, const char* shape) {
    size_t n = std::strlen(shape);
    for (size_t i = 0; i < n; ++i) {
        if (shape[i] == 'D' ? !IsDigits(args + i, 1) : args[i] != shape[i]) return false;
    }
    const char* last = args + n;
    size_t digits = std::strspn(last, "0123456789");
    return digits > 0 && last[digits] == '\0';
}

// The label a jump or an option names must be found by the label search at its own
// label: line; an earlier line whose bytes 6 to 9 spell it would capture it.
static void CheckLabelTarget(int index, const std::string& name) {
    if (name.size() != 4) {
        Refuse(index, "label name \"" + name + "\" is not exactly 4 bytes");
        return;
    }
    int found = FindLabelIn(Table, name.c_str());
    if (found >= LineCount) {
        Refuse(index, "no label: line for \"" + name + "\"");
    } else if (std::strncmp(Table[found], "label:", 6) != 0) {
        Refuse(index, "label \"" + name + "\" is captured by line " + std::to_string(found + 1));
    }
}

static void CheckFileName(int index, const char* name) {
    size_t n = std::strlen(name);
    if (n == 0) Refuse(index, "file name missing");
    if (n > 30) Refuse(index, "file name longer than 30 characters");
}

static void CheckLine(int i) {
    const char* line = Table[i];
    Keyword k = MatchKeyword(line);
    if (k == KwNone) return;
    size_t length = std::strlen(KeywordText[k]);
    if (std::strncmp(line, KeywordText[k], length) != 0) {
        Refuse(i, std::string("\"") + KeywordText[k] + "\" written without its colon");
        return;
    }
    const char* arg = line + length;
    switch (k) {
    case KwLabel:
        if (std::strlen(arg) != 4) Refuse(i, "label: name is not exactly 4 bytes");
        break;
    case KwJump: CheckLabelTarget(i, arg); break;
    case KwFlg:
        if (!FieldsMatch(arg, "DDD,")) Refuse(i, "flg: must be flg:AAA,V");
        break;
    case KwIf:
        if (!FieldsMatch(arg, "DDD,D,DDD,")) Refuse(i, "if: must be if:AAA,V,BBB,W");
        break;
    case KwSwitch:
        if (!FieldsMatch(arg, "DDD,D,")) {
            Refuse(i, "switch: must be switch:AAA,V,LLL");
        } else {
            int target = ReadNumberAt(line, 13);
            if (target < 0 || target >= LineCount)
                Refuse(i, "switch: sends to line " + std::to_string(target) +
                              ", outside the script");
        }
        break;
    case KwSize: {
        int size = ReadNumberAt(line, int(length));
        if (!FieldsMatch(arg, "") || size < MinTextSize || size > MaxTextSize)
            Refuse(i, "size: must be a font size from " + std::to_string(MinTextSize) +
                          " to " + std::to_string(MaxTextSize));
        break;
    }
    case KwFile:
    case KwMidiPlay:
    case KwWavePlay: CheckFileName(i, arg); break;
    case KwCommand: {
        int count = ReadNumberAt(line, 8);
        if (count < 1 || count > 8) {
            Refuse(i, "command: needs 1 to 8 options");
            break;
        }
        if (i + count + 1 >= LineCount) {
            Refuse(i, "command: block is not followed by its options and prompt");
            break;
        }
        for (int o = i + 1; o <= i + count; ++o) {
            const char* colon = std::strchr(Table[o], ':');
            if (!colon || colon - Table[o] != 4)
                Refuse(o, "option line must begin with a 4-byte label and ':'");
            else
                CheckLabelTarget(o, std::string(Table[o], 4));
        }
        break;
    }
    default: break;
    }
}

// Reads the script into Table; the first empty line (or the end of the file) ends it.
static bool ReadScript(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot read\n", path);
        return false;
    }
    std::string text;
    int index = 0;
    bool ended = false;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (ended) {
            if (!text.empty()) {
                Refuse(index, "text after the empty line that ends the script");
                return false;
            }
        } else if (text.empty()) {
            ended = true;
        } else if (index >= ScriptLineCount - 1) {
            Refuse(index, "the script runs past line 1499: an empty line must end it");
            return false;
        } else {
            // CP932 never takes more bytes than UTF-8 for the same text, so a failed
            // conversion is always a character that CP932 lacks, whatever the length.
            std::vector<char> converted(text.size() + 1);
            if (!Utf8ToSjis(text.c_str(), converted.data(), converted.size()))
                Refuse(index, "a character that CP932 cannot encode");
            else if (std::strlen(converted.data()) >= size_t(ScriptLineBytes))
                Refuse(index, "longer than 399 bytes in CP932");
            else
                std::strcpy(Table[index], converted.data());
            LineCount = index + 1;
        }
        ++index;
    }
    return true;
}

static void WriteByte(std::FILE* f, unsigned char c) {
    if (c == '"' || c == '\\') std::fprintf(f, "\\%c", c);
    else if (c < 0x20 || c >= 0x7F) std::fprintf(f, "\\%03o", c);
    else std::fputc(c, f);
}

static bool WriteTable(const char* path) {
    std::string temporary = std::string(path) + ".tmp";
    std::FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f) return false;
    std::fprintf(f, "// The story script, made by the script tool from data/script.txt.\n");
    std::fprintf(f, "#include \"story/script.h\"\n\n");
    std::fprintf(f, "const ScriptLine ShippedScript[ScriptLineCount] = {\n");
    for (int i = 0; i < LineCount; ++i) {
        std::fputs("    \"", f);
        for (const char* p = Table[i]; *p; ++p) WriteByte(f, static_cast<unsigned char>(*p));
        std::fputs("\",\n", f);
    }
    std::fprintf(f, "};\n");
    bool ok = std::fclose(f) == 0;
    return ok && std::rename(temporary.c_str(), path) == 0;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s script.txt out.cpp\n", argv[0]);
        return 2;
    }
    SourceName = argv[1];
    if (!ReadScript(argv[1])) return 1;
    if (Errors == 0)
        for (int i = 0; i < LineCount; ++i) CheckLine(i);
    if (Errors) return 1;
    if (!WriteTable(argv[2])) {
        std::fprintf(stderr, "%s: cannot write\n", argv[2]);
        return 1;
    }
    return 0;
}
