// Display set-up and shutdown: the back buffer, the four internal sprites and the
// channel shifts of the display's pixel layout.
#include "base/error_box.h"
#include "draw/draw_internal.h"

#include <cstring>

namespace kaDraw {

int ScreenWidth = 0, ScreenHeight = 0;
uint16_t RedShift = 0, GreenShift = 0, BlueShift = 0;
uint16_t Red5Shift = 0, Green5Shift = 0, Blue5Shift = 0;
Surface* BackBuffer = nullptr;

static PixelFormat DisplayFormat = FormatXRGB8888;

static const char* const SpriteNames[4] = {"内部用１", "内部用２", "内部用３", "内部用４"};
static const char* const SpriteFailures[4] = {
    "Bufferスプライトが生成できません", "Screenスプライトが生成できません",
    "Fontスプライトが生成できません", "Fontバッファスプライトが生成できません"};

void SetDisplayFormat(const PixelFormat& f) { DisplayFormat = f; }

int DisplayBitDepth() {
    return BackBuffer ? BackBuffer->format.bitsPerPixel : DisplayFormat.bitsPerPixel;
}

// A channel's shift is its lowest bit; a 6-bit channel (the green of 565) takes a 5-bit
// value one bit higher, so that the text smoothing can treat every channel as 5 bits.
static void ChannelShifts(uint32_t mask, uint16_t* shift, uint16_t* shift5) {
    int s = ChannelShift(mask);
    *shift = uint16_t(s);
    *shift5 = uint16_t((mask >> s) == 63 ? s + 1 : s);
}

// Whatever a failed set-up created is released again, so that no later operation can
// meet a half-built display.
static int Fail(const char* message) {
    CloseScreen();
    return ErrorBox("kaDraw::Screen", message);
}

int Screen(int width, int height, int mode) {
    CloseScreen();
    ScreenWidth = width;
    ScreenHeight = height;
    SetClipRect(0, 0, width, height);

    // The software back buffer replaces the display device, the primary surface and its
    // window clipper: the present copies the visible part into the window itself. Every
    // surface lives in system memory, so mode has nothing to choose.
    BackBuffer = CreateSurface(width, height, DisplayFormat);
    if (!BackBuffer) return Fail("裏画面が生成できません");

    for (int id = 0; id < 4; ++id) {
        Surface* sprite = CreateSurface(width, height, DisplayFormat);
        if (!sprite) return Fail(SpriteFailures[id]);
        ApplyColourKey(sprite, 0);
        ImageObject& o = ObjectTable[id];
        o.surface = sprite;
        std::strcpy(o.name, SpriteNames[id]);
        o.placement = 2;
        o.key = 0;
        o.width = uint16_t(width);
        o.height = uint16_t(height);
    }

    const PixelFormat& f = BackBuffer->format;
    if (!f.redMask || !f.greenMask || !f.blueMask) return Fail("ピクセル情報が取得できません");
    ChannelShifts(f.redMask, &RedShift, &Red5Shift);
    ChannelShifts(f.greenMask, &GreenShift, &Green5Shift);
    ChannelShifts(f.blueMask, &BlueShift, &Blue5Shift);

    for (int id = 4; id < ObjectCount; ++id) ResetObjectEntry(id);
    return 1;
}

void CloseScreen() {
    DropReadAhead();
    FreeTextLayouts();
    for (int id = 0; id < ObjectCount; ++id) ResetObjectEntry(id);
    FreeSurface(BackBuffer);
    BackBuffer = nullptr;
    FreePresentBuffer();
    ResetEffects();
}

}  // namespace kaDraw
