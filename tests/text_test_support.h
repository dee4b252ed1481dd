// What the text tests share: a display on the headless backend in a chosen pixel
// layout, and counts of drawn pixels in the internal sprites.
#pragma once
#include <gtest/gtest.h>

#include "draw/kaDraw.h"
#include "platform/headless.h"
#include "tests/draw_test_support.h"

class TextDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless::Reset();
        kaDraw::SetDisplayFormat(DisplayFormat());
        ASSERT_EQ(kaDraw::Screen(700, 520, 1), 1);
    }
    void TearDown() override {
        CloseMedia();
        kaDraw::SetDisplayFormat(kaDraw::FormatXRGB8888);
    }
    virtual kaDraw::PixelFormat DisplayFormat() const { return kaDraw::FormatXRGB8888; }

    static uint32_t Back(int x, int y) { return kaDraw::ReadPixel(kaDraw::BackBuffer, x, y); }
    // Pixels that are not 0 in a rectangle of an object's surface.
    static int Ink(int id, int left, int top, int right, int bottom) {
        const kaDraw::Surface* s = kaDraw::ObjectTable[id].surface;
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += kaDraw::ReadPixel(s, x, y) != 0;
        return n;
    }
};
