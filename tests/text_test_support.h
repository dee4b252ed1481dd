// What the text tests share: a display on the headless backend with the game's Gothic
// face selected, and counts of drawn pixels.
#pragma once
#include <gtest/gtest.h>

#include "draw/sjis.h"
#include "draw/text_engine.h"
#include "story/frame.h"
#include "tests/draw_test_support.h"

class TextDisplayTest : public ::testing::Test {
protected:
    const char* gothic = EngineText(TextGothic);
    void SetUp() override {
        headless::Reset();
        kaDraw::SetDisplayFormat(DisplayFormat());
        ASSERT_EQ(OpenMedia(700, 520, 1), 1);
        kaDraw::SelectTextFont(gothic, 28);
        kaDraw::SetTextColours(0xC8C8C8, 0, 1);
    }
    virtual kaDraw::PixelFormat DisplayFormat() const { return kaDraw::FormatXRGB8888; }
    void TearDown() override {
        CloseMedia();
        kaDraw::SetDisplayFormat(kaDraw::FormatXRGB8888);
    }

    // Pixels v in a rectangle of an object's surface for which keep(v).
    using Keep = bool (*)(uint32_t);
    static int Ink(int id, int left, int top, int right, int bottom,
                   Keep keep = [](uint32_t v) { return v != 0; }) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += keep(kaDraw::ReadPixel(kaDraw::ObjectTable[id].surface, x, y));
        return n;
    }
};
