// What the graphics tests share: a display set up on the headless backend with a
// temporary program directory, and a writer of BMP files in any layout.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "draw/kaDraw.h"
#include "platform/headless.h"
#include "sound/kaMusic.h"
#include "sound/kaSound.h"

// Undoes Screen and the modules it started, in the shutdown's order.
inline void CloseMedia() {
    kaMusic::CloseMusic();
    kaDraw::FreeText();
    kaSound::Release();
    kaDraw::CloseScreen();
}

class DrawTest : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override {
        headless::Reset();
        char pattern[] = "/tmp/akari-draw-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = std::string(pattern) + "/";
        headless::SetProgramDirectory(dir);
        ASSERT_EQ(kaDraw::Screen(700, 520, 1), 1);
        kaDraw::SetKeyColour(0);
    }
    void TearDown() override {
        CloseMedia();
        kaDraw::SetDisplayFormat(kaDraw::FormatXRGB8888);
        std::system(("rm -rf '" + dir + "'").c_str());
    }
    int Load(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::FILE* f = std::fopen((dir + name).c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return kaDraw::LoadObject(name.c_str(), 2);
    }
    std::string FileStart(const std::string& name) {
        char two[2] = {0, 0};
        std::FILE* f = std::fopen((dir + name).c_str(), "rb");
        if (!f) return "";
        size_t n = std::fread(two, 1, 2, f);
        std::fclose(f);
        return std::string(two, n);
    }
    static std::string LastBox() {
        auto& boxes = headless::MessageBoxes();
        return boxes.empty() ? "" : boxes.back().text;
    }
    static uint32_t Back(int x, int y) { return kaDraw::ReadPixel(kaDraw::BackBuffer, x, y); }
    static int Written() {  // back-buffer pixels that are not black
        int n = 0;
        for (int y = 0; y < 520; ++y)
            for (int x = 0; x < 700; ++x) n += Back(x, y) != 0;
        return n;
    }
};

// A BMP file as stored: header size 12 (OS/2 core), 40, 108 (V4) or 124 (V5);
// compression 0 plain, 1 RLE8, 2 RLE4, 3 bit fields; palette and colours 0x00RRGGBB.
struct Bmp {
    int width = 1, height = 1, bitsPerPixel = 24;
    uint32_t compression = 0;
    int headerBytes = 40;
    std::vector<uint32_t> palette;
    std::vector<uint32_t> masks;  // red, green, blue
    std::vector<uint8_t> bits;
    uint32_t sizeImage = 0;
    bool blank = true;  // "  " in place of "BM", as assets are stored
};

inline void Put(std::vector<uint8_t>& v, size_t at, uint32_t x, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) v[at + i] = uint8_t(x >> (8 * i));
}

inline std::vector<uint8_t> Build(const Bmp& s) {
    bool core = s.headerBytes == 12;
    size_t entry = core ? 3 : 4, masksAfter = s.headerBytes == 40 ? 4 * s.masks.size() : 0;
    size_t offset = 14 + s.headerBytes + masksAfter + s.palette.size() * entry;
    std::vector<uint8_t> v(offset, 0);
    v[0] = s.blank ? ' ' : 'B', v[1] = s.blank ? ' ' : 'M';
    Put(v, 10, uint32_t(offset));
    Put(v, 14, uint32_t(s.headerBytes));
    int at = 18, size = core ? 2 : 4;  // width, height, planes, bits per pixel
    Put(v, at, uint32_t(s.width), size);
    Put(v, at + size, uint32_t(s.height), size);
    Put(v, at + 2 * size, 1, 2);
    Put(v, at + 2 * size + 2, uint32_t(s.bitsPerPixel), 2);
    if (!core) {
        Put(v, 30, s.compression);
        Put(v, 34, s.sizeImage);
        Put(v, 46, s.bitsPerPixel <= 8 ? uint32_t(s.palette.size()) : 0);
    }
    for (size_t i = 0; i < s.masks.size(); ++i) Put(v, 54 + 4 * i, s.masks[i]);
    for (size_t i = 0; i < s.palette.size(); ++i)
        Put(v, 14 + s.headerBytes + masksAfter + i * entry, s.palette[i], 3);
    Put(v, 2, uint32_t(offset + s.bits.size()));
    v.insert(v.end(), s.bits.begin(), s.bits.end());
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

// A blanked 24-bit picture whose pixel (x, y) is colour(x, y).
inline std::vector<uint8_t> Picture(int w, int h, const std::function<uint32_t(int, int)>& colour) {
    std::vector<std::vector<uint32_t>> rows(h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) rows[h - 1 - y].push_back(colour(x, y));
    Bmp s;
    s.width = w, s.height = h, s.bits = Rows(24, rows);
    return Build(s);
}

// The test pattern: red = x, green = y, blue 0x80.
inline uint32_t Pattern(int x, int y) { return uint32_t(x) << 16 | uint32_t(y) << 8 | 0x80; }
