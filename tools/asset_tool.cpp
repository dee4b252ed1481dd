// Build-time asset tool: writes the interface pictures into the game folder, and a
// placeholder for each story picture that data/pictures.txt lists.
// The pictures are plain, with the sizes and button boxes the screens use.
// Usage: akari_asset_tool game-folder data-folder.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/le_bytes.h"
#include "tools/placeholder_assets.h"

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

// A filled box with a one-pixel border.
static void Box(Picture& p, int left, int top, int right, int bottom, uint32_t fill,
                uint32_t border) {
    Fill(p, left, top, right, bottom, border);
    Fill(p, left + 1, top + 1, right - 1, bottom - 1, fill);
}

static const uint32_t Magenta = 0xFF00FF;  // the key colour of keyed pictures

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

// The system menu's page: a box under every button it tests.
static Picture MenuPage() {
    Picture p = MakePicture(640, 474, 0x182038);
    const uint32_t fill = 0x304068, border = 0x8090C0;
    for (int n = 0; n < 5; ++n) {
        Box(p, 170 + 63 * n, 90, 220 + 63 * n, 115, fill, border);
        Box(p, 170 + 63 * n, 170, 220 + 63 * n, 195, fill, border);
    }
    for (int n = 0; n < 6; ++n) Box(p, 170 + 63 * n, 250, 220 + 63 * n, 275, fill, border);
    for (int n = 0; n < 2; ++n) Box(p, 170 + 67 * n, 325, 220 + 67 * n, 350, fill, border);
    Box(p, 170, 370, 340, 390, fill, border);
    Box(p, 320, 370, 490, 390, fill, border);
    return p;
}

// The side panel, drawn at x 474: the menu button at 518..625 x 256..284 and the quit
// button at 549..616 x 326..347 on the screen.
static Picture Panel() {
    Picture p = MakePicture(168, 377, 0x283828);
    p.pixels[0] = Magenta;
    Box(p, 518 - 474, 256, 625 - 474, 284, 0x486048, 0xC0E0C0);
    Box(p, 549 - 474, 326, 616 - 474, 347, 0x604848, 0xE0C0C0);
    return p;
}

static Picture Pointer() {
    Picture p = MakePicture(32, 32, Magenta);
    for (int y = 0; y < 24; ++y) Fill(p, 0, y, y * 2 / 3 + 1, y + 1, y == 23 ? 0 : 0xFFFFFF);
    for (int y = 0; y < 24; ++y) Fill(p, y * 2 / 3, y, y * 2 / 3 + 1, y + 1, 0x000000);
    p.pixels[0] = Magenta;
    return p;
}

static Picture Logo() {
    Picture p = MakePicture(325, 115, 0x000000);
    for (int i = 0; i < 7; ++i) Fill(p, 20 + 42 * i, 30, 50 + 42 * i, 85, 0xF0E0A0);
    return p;
}

// A scene picture: bands of 375 rows stacked from the top, each its own colour with a
// light square that moves from band to band, and a stripe every 100 columns so that a
// sideways slide shows.
static Picture Scene(int width, int height, uint32_t base) {
    Picture p = MakePicture(width, height, 0);
    for (int k = 0; 375 * k < height; ++k) {
        uint32_t colour = base + uint32_t(k % 8) * 0x200000 + uint32_t(k % 8) * 0x18;
        Fill(p, 0, 375 * k, width, 375 * k + 375, colour);
        Fill(p, 60 + 40 * (k % 8), 375 * k + 140, 140 + 40 * (k % 8), 375 * k + 220, 0xF0F0F0);
        for (int x = 50; x < width; x += 100) Fill(p, x, 375 * k, x + 4, 375 * k + 375, 0x808080);
    }
    return p;
}

static bool WritePlaceholder(const std::string& dir, const Placeholder& p) {
    return WriteSad(dir + p.file, Scene(p.width, p.height, 0x304060));
}

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s game-folder data-folder\n", argv[0]);
        return 2;
    }
    std::string listError;
    std::vector<Placeholder> placeholders = StoryPlaceholders(argv[2], &listError);
    if (!listError.empty()) {
        std::fprintf(stderr, "%s\n", listError.c_str());
        return 1;
    }
    std::string dir = std::string(argv[1]) + "/";
    Picture notice = MakePicture(450, 165, 0xE8E0D0);
    Box(notice, 20, 20, 430, 145, 0xF8F4EC, 0x605040);
    Picture message = MakePicture(650, 100, 0x101828);
    message.pixels[0] = Magenta;
    Box(message, 4, 4, 646, 96, 0x101828, 0xA0A0C0);
    Picture choice = MakePicture(470, 200, 0x281830);
    Box(choice, 0, 0, 470, 200, 0x281830, 0xC0A0D0);
    Picture title = MakePicture(640, 474, 0x102040);
    for (int y = 0; y < 474; ++y) Fill(title, 0, y, 640, y + 1, 0x102040 + uint32_t(y / 8) * 0x010100);
    Fill(title, 120, 180, 520, 260, 0xF0D080);

    bool ok = WriteSad(dir + "across.sad", Logo()) && WriteSad(dir + "savaback.sad", MenuPage()) &&
              WriteSad(dir + "panel.sad", Panel()) && WriteSad(dir + "expr.sad", notice) &&
              WriteSad(dir + "back.sad", MakePicture(640, 474, 0x000000)) &&
              WriteSad(dir + "message.sad", message) && WriteSad(dir + "cursol.sad", Pointer()) &&
              WriteSad(dir + "comwin.sad", choice) && WriteSad(dir + "tit.sad", title);
    for (const Placeholder& p : placeholders) ok = ok && WritePlaceholder(dir, p);
    if (!ok) {
        std::fprintf(stderr, "%s: cannot write the assets\n", argv[1]);
        return 1;
    }
    return 0;
}
