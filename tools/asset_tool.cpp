// Build-time asset tool: writes the scene's placeholder pictures and a short piece of
// music into the game folder (the interface pictures are drawn by the picture tool).
// Usage: akari_asset_tool game-folder.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/le_bytes.h"

// A picture in 0x00RRGGBB pixels, top row first.
struct Picture {
    int width, height;
    std::vector<uint32_t> pixels;
};

static Picture MakePicture(int width, int height, uint32_t fill) {
    return Picture{width, height, std::vector<uint32_t>(size_t(width) * height, fill)};
}

static void Fill(Picture& p, int left, int top, int right, int bottom, uint32_t colour) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (x >= 0 && y >= 0 && x < p.width && y < p.height)
                p.pixels[size_t(y) * p.width + x] = colour;
}

static void Put32Be(std::vector<uint8_t>& b, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(uint8_t(v >> s));
}

static bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// A 24-bit BMP whose "BM" signature is blanked to two spaces, as picture assets are kept.
static bool WriteSad(const std::string& path, const Picture& p) {
    int rowBytes = (p.width * 3 + 3) & ~3;
    uint32_t dataSize = uint32_t(rowBytes) * p.height;
    std::vector<uint8_t> b = {' ', ' '};
    Put32(b, 54 + dataSize);
    Put32(b, 0);
    Put32(b, 54);
    Put32(b, 40);
    Put32(b, uint32_t(p.width));
    Put32(b, uint32_t(p.height));
    Put16(b, 1);
    Put16(b, 24);
    Put32(b, 0);
    Put32(b, dataSize);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, 0);
    Put32(b, 0);
    for (int y = p.height - 1; y >= 0; --y) {
        for (int x = 0; x < p.width; ++x) {
            uint32_t c = p.pixels[size_t(y) * p.width + x];
            b.push_back(uint8_t(c));
            b.push_back(uint8_t(c >> 8));
            b.push_back(uint8_t(c >> 16));
        }
        for (int pad = p.width * 3; pad < rowBytes; ++pad) b.push_back(0);
    }
    return WriteFile(path, b);
}

// A scene picture: bands of 500 x 375 stacked from the top, each its own colour with a
// light square that moves from band to band.
static Picture Scene(int bands, uint32_t base) {
    Picture p = MakePicture(500, 375 * bands, 0);
    for (int k = 0; k < bands; ++k) {
        uint32_t colour = base + uint32_t(k) * 0x200000 + uint32_t(k) * 0x18;
        Fill(p, 0, 375 * k, 500, 375 * k + 375, colour);
        Fill(p, 60 + 80 * k, 375 * k + 140, 140 + 80 * k, 375 * k + 220, 0xF0F0F0);
    }
    return p;
}

// A Standard MIDI file, format 0: a slow rising phrase on the piano.
static bool WriteMusic(const std::string& path) {
    std::vector<uint8_t> track;
    const uint8_t notes[] = {60, 64, 67, 72, 67, 64};
    for (uint8_t n : notes) {
        track.insert(track.end(), {0x00, 0x90, n, 0x50});
        track.insert(track.end(), {0x83, 0x60, 0x80, n, 0x40});  // 480 ticks later
    }
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
    std::vector<uint8_t> b = {'M', 'T', 'h', 'd'};
    Put32Be(b, 6);
    b.insert(b.end(), {0, 0, 0, 1, 0x01, 0xE0});  // format 0, one track, 480 per beat
    for (char c : std::string("MTrk")) b.push_back(uint8_t(c));
    Put32Be(b, uint32_t(track.size()));
    b.insert(b.end(), track.begin(), track.end());
    return WriteFile(path, b);
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s game-folder\n", argv[0]);
        return 2;
    }
    std::string dir = std::string(argv[1]) + "/";
    bool ok = WriteSad(dir + "sc0.sad", Scene(2, 0x4070A0)) &&
              WriteSad(dir + "sc1.sad", Scene(5, 0x305020)) &&
              WriteMusic(dir + "bgm1.mid");
    if (!ok) {
        std::fprintf(stderr, "%s: cannot write the assets\n", argv[1]);
        return 1;
    }
    return 0;
}
