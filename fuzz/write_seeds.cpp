// Writes the fuzz targets' seed corpora from the game folder and the story script:
// pictures, voices, narration and music as the build made them, the script in both its
// forms, and small files of each kind the readers take.
// Usage: akari_fuzz_seeds GAME_DIR SCRIPT_TXT OUT_DIR
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "draw/sjis.h"
#include "story/records/script.h"
#include "story/frame.h"

namespace fs = std::filesystem;

static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

static void Write(const fs::path& dir, const std::string& name, const std::string& bytes) {
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary) << bytes;
}

// Frames of the story target: what (1 left click, 2 right click, 4 Ctrl, 8 Return; the
// high nibble the frame's length) and where.
static std::string Frames(int count, int what, int x, int y) {
    std::string s;
    for (int i = 0; i < count; ++i) s += {char(what), char(x * 256 / 640), char(y * 256 / 474)};
    return s;
}

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s GAME_DIR SCRIPT_TXT OUT_DIR\n", argv[0]);
        return 2;
    }
    fs::path game = argv[1], out = argv[3];
    for (const auto& entry : fs::directory_iterator(game)) {
        if (!entry.is_regular_file()) continue;  // the narration's folder
        std::string name = entry.path().filename().string(), bytes = Read(entry.path());
        if (entry.path().extension() == ".mid") Write(out / "midi", name, bytes);
        if (entry.path().extension() != ".sad") continue;
        bool wave = bytes.size() > 12 && bytes.compare(8, 4, "WAVE") == 0;
        Write(out / (wave ? "wave" : "bmp"), name, bytes);
    }
    // A few of the narration's clips: the phrases of the panel and the menu's first row.
    for (const char* id : {"panel_menu", "panel_quit", "menu_save_1", "menu_saved"})
        Write(out / "opus", std::string(id) + ".opus", Read(game / "speech" / (std::string(id) + ".opus")));

    std::string source = Read(argv[2]);
    Write(out / "script", "script.txt", source);

    // The script in CP932, line by line, as the table holds it.
    std::string table;
    std::vector<std::string> prose;
    size_t at = 0;
    while (at < source.size()) {
        size_t end = source.find('\n', at);
        if (end == std::string::npos) end = source.size();
        std::string line = source.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) break;
        if (IsToolNote(line.c_str())) continue;
        char converted[ScriptLineBytes] = {};
        if (!Utf8ToSjis(line.c_str(), converted, sizeof converted)) continue;
        table += std::string(converted) + "\n";
        if (static_cast<unsigned char>(converted[0]) >= 0x80) prose.push_back(converted);
    }
    // Read through with clicks; through the other option; with Ctrl held and the menu.
    std::string frames = Frames(1, 0x10, 320, 240);
    for (int i = 0; i < 80; ++i) frames += Frames(1, 0x11, 320, 240) + Frames(3, 0x10, 320, 240);
    Write(out / "story", "clicks", table + '\0' + frames);
    std::string other;
    for (int i = 0; i < 80; ++i) other += Frames(1, 0x11, 300, 195) + Frames(2, 0x10, 300, 195);
    Write(out / "story", "second_option", table + '\0' + other);
    Write(out / "story", "ctrl_and_menu",
          table + '\0' + Frames(40, 0x14, 320, 240) + Frames(1, 0x12, 320, 240) +
              Frames(1, 0x11, 300, 130) + Frames(3, 0x10, 0, 0) + Frames(1, 0x12, 320, 240) +
              Frames(1, 0x11, 300, 180) + Frames(30, 0x18, 320, 240));

    // Text: depth, font size (two bytes), flags (two bytes), then a line of the story.
    int n = 0;
    for (const std::string& line : prose) {
        if (n == 12) break;
        std::string head = {char(n % 4 | (n & 4) | (n & 8)), char(n % 3 ? 28 : 20), 0,
                            char(n % 5 == 0 ? 2 : 0), char(n % 2 ? 1 : 0)};
        Write(out / "text", "line" + std::to_string(n++), head + line);
    }
    Write(out / "text", "breaks", std::string("\x01\x18\0\0\0", 5) + "\x82\xa0\n\n\n\x82\xa2\x81");

    Write(out / "saves", "slot", "00,000,000,000,000,123\r\n");
    Write(out / "saves", "settings", "1,0,\r\n");
    Write(out / "saves", "far", "99,999,999,999,999,99999\r\n");
    // A state at the line before the first choice, on the picture and music the script
    // named last before it: its fields from the save line to the preview, and the whole
    // file.
    ResetStoryState();
    StorySnapshot state;
    TakeStorySnapshot(&state);
    for (int line = FindLabelIn(ShippedScript, "head"); line < ScriptLineCount; ++line) {
        Keyword k = MatchKeyword(ShippedScript[line]);
        if (k == KwCommand) break;
        const char* arg = ShippedScript[line] + ArgumentOffset(k);
        if (k == KwFile) std::snprintf(state.picture, sizeof state.picture, "%s", arg);
        if (k == KwMidiPlay) std::snprintf(state.music, sizeof state.music, "%s", arg);
        state.line = line;
    }
    std::string saveLine = "01,040,001,001,001," + std::to_string(state.line);
    std::vector<uint8_t> preview(PreviewBytes, 0x40);
    std::string file = StateFileBytes(saveLine.c_str(), state, preview.data());
    Write(out / "state", "fields", '\x01' + file.substr(16, file.size() - 24 - PreviewBytes));
    Write(out / "state", "whole", '\x00' + file);

    Write(out / "settings", "one", "[st]\r\nsc=rest\r\n");
    Write(out / "settings", "two", "; note\n[ST]\nSC = nori \n[other]\nsc=noko\n");
    return 0;
}
