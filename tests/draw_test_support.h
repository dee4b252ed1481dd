// What the graphics tests share: a set-up display on the headless backend with a
// temporary program directory, and a writer of BMP files in every layout.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "draw/kaDraw.h"
#include "platform/headless.h"

// Each test: headless backend reset, a fresh program directory, Screen(700, 520, 1);
// CloseScreen and the directory removed afterwards.
class DrawTest : public ::testing::Test {
protected:
    std::string dir;

    void SetUp() override {
        headless::Reset();
        char pattern[] = "/tmp/akari-draw-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = std::string(pattern) + "/";
        headless::SetProgramDirectory(dir);
        kaDraw::SetDisplayFormat(DisplayFormat());
        ASSERT_EQ(kaDraw::Screen(700, 520, 1), 1);
        kaDraw::SetKeyColour(0);
    }
    void TearDown() override {
        kaDraw::CloseScreen();
        kaDraw::SetDisplayFormat(kaDraw::FormatXRGB8888);
        std::system(("rm -rf '" + dir + "'").c_str());
    }
    virtual kaDraw::PixelFormat DisplayFormat() const { return kaDraw::FormatXRGB8888; }

    void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::FILE* f = std::fopen((dir + name).c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    std::string FileStart(const std::string& name) {
        char two[3] = {0, 0, 0};
        std::FILE* f = std::fopen((dir + name).c_str(), "rb");
        if (!f) return "";
        size_t n = std::fread(two, 1, 2, f);
        std::fclose(f);
        return std::string(two, n);
    }
    int BoxCount() { return int(headless::MessageBoxes().size()); }
    std::string LastBoxText() {
        const auto& boxes = headless::MessageBoxes();
        return boxes.empty() ? "" : boxes.back().text;
    }
    // Back buffer pixel as 0x00RRGGBB (the display format is XRGB unless a test says).
    uint32_t Back(int x, int y) { return kaDraw::ReadPixel(kaDraw::BackBuffer, x, y); }
};

// ---- BMP files ----------------------------------------------------------------------

struct BmpSpec {
    int width = 1, height = 1;  // negative height: rows stored top-down
    int bitsPerPixel = 24;
    uint32_t compression = 0;   // 0 RGB, 1 RLE8, 2 RLE4, 3 bit fields
    int headerBytes = 40;       // 12 (OS/2 core), 40, 108 (V4), 124 (V5)
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    uint32_t masks[3] = {0, 0, 0};  // red, green, blue, for bit fields
    std::vector<uint8_t> bits;      // pixel data exactly as stored
    uint32_t colourCount = 0;       // biClrUsed as written (0: palette.size() when short)
    uint32_t sizeImage = 0;
    bool blank = false;             // "  " instead of "BM"
};

inline void Put16(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    v[at] = uint8_t(x);
    v[at + 1] = uint8_t(x >> 8);
}
inline void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    Put16(v, at, x);
    Put16(v, at + 2, x >> 16);
}

inline std::vector<uint8_t> BuildBmp(const BmpSpec& s) {
    bool core = s.headerBytes == 12;
    size_t entry = core ? 3 : 4;
    size_t masksAfter = (s.headerBytes == 40 && s.compression == 3) ? 12 : 0;
    size_t offset = 14 + s.headerBytes + masksAfter + s.palette.size() * entry;
    std::vector<uint8_t> v(offset + s.bits.size(), 0);
    v[0] = s.blank ? ' ' : 'B';
    v[1] = s.blank ? ' ' : 'M';
    Put32(v, 2, uint32_t(v.size()));
    Put32(v, 10, uint32_t(offset));
    Put32(v, 14, uint32_t(s.headerBytes));
    if (core) {
        Put16(v, 18, uint32_t(s.width));
        Put16(v, 20, uint32_t(s.height));
        Put16(v, 22, 1);
        Put16(v, 24, uint32_t(s.bitsPerPixel));
    } else {
        Put32(v, 18, uint32_t(s.width));
        Put32(v, 22, uint32_t(s.height));
        Put16(v, 26, 1);
        Put16(v, 28, uint32_t(s.bitsPerPixel));
        Put32(v, 30, s.compression);
        Put32(v, 34, s.sizeImage);
        uint32_t used = s.colourCount;
        if (!used && s.bitsPerPixel <= 8 && s.palette.size() < (1u << s.bitsPerPixel))
            used = uint32_t(s.palette.size());
        Put32(v, 46, used);
        if (s.compression == 3 || s.headerBytes > 40)
            for (int i = 0; i < 3; ++i) Put32(v, 14 + 40 + 4 * i, s.masks[i]);
    }
    size_t p = 14 + s.headerBytes + masksAfter;
    for (uint32_t c : s.palette) {
        v[p] = uint8_t(c);            // blue
        v[p + 1] = uint8_t(c >> 8);   // green
        v[p + 2] = uint8_t(c >> 16);  // red
        p += entry;
    }
    std::copy(s.bits.begin(), s.bits.end(), v.begin() + offset);
    return v;
}

// Rows of values in file order packed at bitsPerPixel, each row padded to 4 bytes.
// Values are palette indices up to 8 bits, raw words at 16 and 32, 0x00RRGGBB at 24.
inline std::vector<uint8_t> PackRows(int bitsPerPixel, const std::vector<std::vector<uint32_t>>& rows) {
    std::vector<uint8_t> out;
    for (const auto& row : rows) {
        size_t stride = ((row.size() * bitsPerPixel + 31) / 32) * 4;
        std::vector<uint8_t> bytes(stride, 0);
        for (size_t x = 0; x < row.size(); ++x) {
            uint32_t v = row[x];
            switch (bitsPerPixel) {
            case 1: bytes[x / 8] |= uint8_t((v & 1) << (7 - x % 8)); break;
            case 4: bytes[x / 2] |= uint8_t((v & 15) << (x % 2 ? 0 : 4)); break;
            case 8: bytes[x] = uint8_t(v); break;
            case 16: Put16(bytes, 2 * x, v); break;
            case 24:
                bytes[3 * x] = uint8_t(v);
                bytes[3 * x + 1] = uint8_t(v >> 8);
                bytes[3 * x + 2] = uint8_t(v >> 16);
                break;
            default: Put32(bytes, 4 * x, v); break;
            }
        }
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

// A 24-bit picture whose pixel (x, y) is colour(x, y) as 0x00RRGGBB, stored bottom-up.
inline std::vector<uint8_t> Picture24(int width, int height,
                                      const std::function<uint32_t(int, int)>& colour,
                                      bool blank = true) {
    std::vector<std::vector<uint32_t>> rows;
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint32_t> row;
        for (int x = 0; x < width; ++x) row.push_back(colour(x, y));
        rows.push_back(row);
    }
    BmpSpec s;
    s.width = width;
    s.height = height;
    s.bits = PackRows(24, rows);
    s.blank = blank;
    return BuildBmp(s);
}

// Colour of the test pattern: red = x, green = y, blue 0x80.
inline uint32_t Pattern(int x, int y) { return uint32_t(x) << 16 | uint32_t(y) << 8 | 0x80; }
