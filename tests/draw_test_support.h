// What the graphics tests share: a display set up on the headless backend with a
// temporary program directory, and a writer of BMP files in any layout.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "draw/kaDraw.h"
#include "platform/headless.h"
#include "story/frame.h"

inline void Put(std::vector<uint8_t>& v, size_t at, uint32_t x, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) v[at + i] = uint8_t(x >> (8 * i));
}

// A BMP file as assets are stored ("  " in place of "BM"): header size 12 (OS/2 core),
// 40, 108 (V4) or 124 (V5); compression 0 plain, 1 RLE8, 2 RLE4, 3 bit fields; palette
// 0x00RRGGBB; masks red, green, blue.
inline std::vector<uint8_t> BmpFile(int width, int height, int bpp, const std::vector<uint8_t>& bits,
                                    const std::vector<uint32_t>& palette = {}, uint32_t compression = 0,
                                    const std::vector<uint32_t>& masks = {}, int header = 40,
                                    uint32_t sizeImage = 0) {
    bool core = header == 12;
    size_t entry = core ? 3 : 4, table = 14 + header + (header == 40 ? 4 * masks.size() : 0);
    size_t offset = table + palette.size() * entry;
    std::vector<uint8_t> v(offset + bits.size(), 0);
    v[0] = v[1] = ' ';
    Put(v, 2, uint32_t(v.size())), Put(v, 10, uint32_t(offset)), Put(v, 14, uint32_t(header));
    int size = core ? 2 : 4;  // width, height, planes, bits per pixel
    Put(v, 18, uint32_t(width), size), Put(v, 18 + size, uint32_t(height), size);
    Put(v, 18 + 2 * size, 1, 2), Put(v, 20 + 2 * size, uint32_t(bpp), 2);
    if (!core)  // the colour count is stated only for a palette
        Put(v, 30, compression), Put(v, 34, sizeImage), Put(v, 46, bpp <= 8 ? uint32_t(palette.size()) : 0);
    for (size_t i = 0; i < masks.size(); ++i) Put(v, 54 + 4 * i, masks[i]);
    for (size_t i = 0; i < palette.size(); ++i) Put(v, table + i * entry, palette[i], 3);
    std::copy(bits.begin(), bits.end(), v.begin() + long(offset));
    return v;
}

// Rows in file order, each padded to 4 bytes: indices up to 8 bits, raw words at 16
// and 32, 0x00RRGGBB at 24.
inline std::vector<uint8_t> Rows(int bpp, const std::vector<std::vector<uint32_t>>& rows) {
    std::vector<uint8_t> out;
    for (const auto& row : rows) {
        std::vector<uint8_t> bytes((row.size() * bpp + 31) / 32 * 4, 0);
        for (size_t x = 0; x < row.size(); ++x) {
            if (bpp < 8) bytes[x * bpp / 8] |= uint8_t(row[x] << (8 - bpp - x * bpp % 8));
            else Put(bytes, x * bpp / 8, row[x], bpp / 8);
        }
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

// A top-down 32-bit picture whose pixel (x, y) is colour(x, y).
inline std::vector<uint8_t> Picture(int w, int h, const std::function<uint32_t(int, int)>& colour) {
    std::vector<uint8_t> bits(4 * w * h);
    for (int i = 0; i < w * h; ++i) Put(bits, 4 * i, colour(i % w, i / w));
    return BmpFile(w, -h, 32, bits);
}

// The test pattern: red = x, green = y, blue 0x80 (never black, so never keyed out).
inline uint32_t Pattern(int x, int y) { return uint32_t(x) << 16 | uint32_t(y) << 8 | 0x80; }

class DrawTest : public ::testing::Test {
protected:
    std::string dir = "/tmp/akari-draw-XXXXXX";
    void SetUp() override {
        headless::Reset();
        ASSERT_NE(mkdtemp(&dir[0]), nullptr);
        headless::SetProgramDirectory(dir += "/");
        ASSERT_EQ(OpenMedia(700, 520, 1), 1);
        kaDraw::SetKeyColour(0);
    }
    void TearDown() override {
        CloseMedia();
        kaDraw::SetDisplayFormat(kaDraw::FormatXRGB8888);
        std::filesystem::remove_all(dir);
    }
    int Load(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream(dir + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return kaDraw::LoadObject(name.c_str(), 2);
    }
    static std::string LastBox() {
        return headless::MessageBoxes().empty() ? "" : headless::MessageBoxes().back().text;
    }
    static uint32_t Back(int x, int y) { return kaDraw::ReadPixel(kaDraw::BackBuffer, x, y); }
    static int Written() {  // back-buffer pixels that are not black
        int n = 0;
        for (int i = 0; i < 700 * 520; ++i) n += Back(i % 700, i / 700) != 0;
        return n;
    }
};
