// Read marks: which lines of the script the reader has read, kept across runs in a file
// of our own beside the saves. A prose line is read once all its characters were out or
// a press stepped past it. The file is written by the main loop a few seconds after a
// change, and at shutdown, never by a frame.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/files.h"
#include "story/records/records.h"

static bool Read[ScriptLineCount];
static bool Unsaved = false;  // a mark was set since the file was last written
// The hash of the script table the marks were made against.
static uint64_t TableHash = 0;

static const char* const MarksFileName = "read_marks.txt";
static const char* const MarksHeader = "akari read marks 1";

void ResetReadMarks() {
    std::memset(Read, 0, sizeof Read);
    Unsaved = false;
    TableHash = 0;
}

// The header, the table's hash in hex, then one '0' or '1' per line.
static std::string MarksText() {
    char head[64];
    std::snprintf(head, sizeof head, "%s\n%016" PRIx64 "\n", MarksHeader, TableHash);
    std::string text = head;
    for (bool read : Read) text += read ? '1' : '0';
    return text + "\n";
}

void LoadReadMarks() {
    ResetReadMarks();
    TableHash = ScriptTableHash();
    char path[PathBytes];
    if (!PlayerPath(MarksFileName, path, sizeof path)) return;
    std::vector<uint8_t> bytes;
    size_t expected = MarksText().size();
    if (!ReadWholeFile(path, expected, &bytes) || bytes.size() != expected) return;
    std::string text(bytes.begin(), bytes.end());
    // A file of another table's hash, or damaged in any way, holds no marks.
    std::string head = MarksText();
    size_t marksAt = head.size() - ScriptLineCount - 1;
    if (text.compare(0, marksAt, head, 0, marksAt) != 0 || text.back() != '\n') return;
    for (int line = 0; line < ScriptLineCount; ++line) {
        char c = text[marksAt + size_t(line)];
        if (c != '0' && c != '1') {
            std::memset(Read, 0, sizeof Read);
            return;
        }
        Read[line] = c == '1';
    }
}

void MarkLineRead(int line) {
    if (line < 0 || line >= ScriptLineCount || Read[line]) return;
    Read[line] = true;
    Unsaved = true;
}

bool LineWasRead(int line) { return line >= 0 && line < ScriptLineCount && Read[line]; }

bool ReadMarksUnsaved() { return Unsaved; }

bool WriteReadMarks() {
    if (!Unsaved) return true;
    if (TableHash == 0) TableHash = ScriptTableHash();
    char path[PathBytes];
    if (!PlayerPath(MarksFileName, path, sizeof path) || !ReplaceFile(path, MarksText()))
        return false;
    Unsaved = false;
    return true;
}
