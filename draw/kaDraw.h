// The graphics module: software surfaces, the table of image objects, picture loading,
// blits and presentation, the line-shift effects and the text layer. Every frame is
// composed on the 700 x 520 back buffer; its top-left 640 x 474 pixels reach the window.
// Colours passed in are 0x00BBGGRR (red in the low byte).
#pragma once
#include <cstddef>
#include <cstdint>

namespace kaDraw {

// ---- Surfaces (surface.cpp) -------------------------------------------------------

// A pixel layout. bitsPerPixel 16, 24 or 32; 16 and 32 carry channel masks, 24 is
// three bytes per pixel (byte 0 blue, 1 green, 2 red). Masks all 0 means a layout
// without channels (a palette mode), which the display set-up refuses.
struct PixelFormat {
    int bitsPerPixel;
    uint32_t redMask, greenMask, blueMask;
};

extern const PixelFormat FormatXRGB8888;  // the display format: 0x00RRGGBB words
extern const PixelFormat FormatRGB565;
extern const PixelFormat FormatRGB555;
extern const PixelFormat FormatRGB888;    // 24-bit

struct Surface {
    uint8_t* pixels;  // row y starts at pixels + y * pitch
    int width, height;
    int pitch;        // bytes per row
    PixelFormat format;
    uint32_t colourKey;  // native pixel value left out by keyed blits
};

Surface* CreateSurface(int width, int height, const PixelFormat& format);
void FreeSurface(Surface* s);
// Native pixel value of a 0x00BBGGRR colour in the surface's format.
uint32_t NativeFromColour(const PixelFormat& f, uint32_t bbggrr);
uint32_t ReadPixel(const Surface* s, int x, int y);
void WritePixel(Surface* s, int x, int y, uint32_t value);
// Position of the lowest set bit of a channel mask; mask must not be 0.
int ChannelShift(uint32_t mask);
// The channel under mask in a native pixel, scaled to 0..255 (0 when mask is 0).
uint32_t ExpandChannel(uint32_t pixel, uint32_t mask);

// ---- Display set-up (screen.cpp) --------------------------------------------------

// The pixel layout Screen gives the back buffer; tests may choose 16/24-bit layouts
// before Screen. Default FormatXRGB8888.
void SetDisplayFormat(const PixelFormat& f);

// Creates the back buffer and the four internal sprites, computes the channel shifts,
// then starts kaSound::Init, the sound table reset, kaMusic::Init and InitText in that
// order. Returns 1, or 0 after an ErrorBox; after a failure nothing stays created and
// every drawing operation does nothing.
int Screen(int width, int height, int mode);
// Bits per pixel of the display: the back buffer's depth.
int DisplayBitDepth();
// Releases every surface, internal sprites and back buffer included. Safe to call
// twice, or before Screen.
void CloseScreen();

extern int ScreenWidth, ScreenHeight;
extern uint16_t RedShift, GreenShift, BlueShift;
extern uint16_t Red5Shift, Green5Shift, Blue5Shift;
extern Surface* BackBuffer;

// ---- Image objects (objects.cpp, asset_header.cpp, bmp.cpp) ------------------------

constexpr int ObjectCount = 1024;
constexpr int BufferSprite = 0, ScreenSprite = 1, FontSprite = 2, FontBufferSprite = 3;

struct ImageObject {
    Surface* surface;  // nullptr: no picture
    char name[32];     // empty: free entry
    uint32_t placement;
    int32_t key;       // 0x00BBGGRR colour, or -1 for the top-left pixel
    uint16_t width, height;
};
extern ImageObject ObjectTable[ObjectCount];

int LoadObject(const char* name, int placement);
int SwapObject(const char* name, int id, int placement);
void ReleaseObject(int id);
void SetKeyColour(uint32_t colour);
void SetKeyFromPixel();
void RestoreAssetHeader(const char* path);
void BlankAssetHeader(const char* path);
uint32_t PhysicalColour(Surface* s, int32_t colour);
void ApplyColourKey(Surface* s, int32_t colour);

// Decodes a BMP file held in memory (the first two bytes may be blanked) into a new
// surface of the given format. nullptr when the data is not a BMP this decoder takes,
// or is truncated or inconsistent anywhere.
Surface* DecodeBmp(const uint8_t* data, size_t size, const PixelFormat& format);
// The data starts with "BM" or with the two blanks of a stored asset.
bool HasBmpSignature(const uint8_t* data, size_t size);

// ---- Reading ahead (read_ahead.cpp) ---------------------------------------------------

// Reads and decodes the picture file that LoadObject(name) would load, on a thread of its
// own, so that such a load soon after need not decode it: the load still reads the file
// itself and takes the decoded picture only when the bytes on disk are the ones it was
// decoded from. One picture at a time: asking for another drops the first. Reports
// nothing; a file that cannot be read is the load's to report.
void ReadAheadObject(const char* name);
// Waits until the picture asked for is read and decoded (tests; a load waits by itself).
void AwaitReadAhead();

// ---- Blits, presentation and primitives (blit.cpp) --------------------------------

void SetClipRect(int left, int top, int right, int bottom);
void BltOpaque(int destX, int destY, int id, int srcLeft, int srcTop, int srcRight, int srcBottom);
void BltTransparent(int destX, int destY, int id, int srcLeft, int srcTop, int srcRight,
                    int srcBottom);
// Both fill with native value 0 (black); 1 when something was filled, else 0.
int ClearBackBuffer();
int ClearObject(int id);
void DrawRect(int left, int top, int right, int bottom, uint32_t fillColour, uint32_t penColour,
              int penWidth);
// Sends the back buffer's visible part to the window when it differs from the picture
// sent last; an unchanged frame sends nothing.
void PresentBackBuffer();
// Sends the picture sent last again: the window lost it (exposed, resized, full screen).
void PresentAgain();
// True when the last PresentBackBuffer sent a changed picture.
bool PresentedNewPicture();

// The rectangle blits may write to, right and bottom exclusive (set by SetClipRect).
extern int ClipLeft, ClipTop, ClipRight, ClipBottom;

// ---- Line-shift effects (effects.cpp) ---------------------------------------------

// The wave's phase and alternating sign back to their start values (0 degrees, +1);
// called by CloseScreen.
void ResetEffects();
void BltWave(int destX, int destY, int amplitude, int rowDivisor, float speed, int objectId,
             int srcLeft, int srcTop, int srcRight, int srcBottom, int alternate);
void BltJitter(int destX, int destY, int jitter, int objectId, int srcLeft, int srcTop,
               int srcRight, int srcBottom);

// ---- Text (text_*.cpp) ------------------------------------------------------------

struct TextRect {
    int32_t left, top, right, bottom;
};
constexpr int TextRectCapacity = 3200;
extern TextRect TextRects[TextRectCapacity];
extern int32_t TextRectCount;

void InitText();
void FreeText();
void SelectTextFont(const char* faceCp932, int size);
void SetTextColours(uint32_t text, uint32_t shadow, int transparent);
void DrawTextBlock(int x, int y, int right, int bottom, const char* textCp932, uint32_t flags);
void LayOutTextBlock(int x, int y, int right, int bottom, const char* textCp932, uint32_t flags);
void EndTextDrawing();
// Draws a zero-terminated Shift-JIS string with its cells' top-left at (x, y) of the font
// buffer sprite, in the current text colour over a transparent background, with the
// font of the drawing sequence. 1 when drawn, 0 outside a drawing sequence.
int DrawGlyphText(int x, int y, const char* textCp932);
// Reduces a double-size line of the font buffer sprite (source rectangle in its pixels)
// into the font sprite at (destX, destY), mixing edges with the back buffer under it.
// 1 when done (also when there was nothing to do), 0 when a surface is missing.
int ReduceTextLine(int destX, int destY, int srcLeft, int srcTop, int srcRight, int srcBottom);

// ---- Test hooks -------------------------------------------------------------------
// Only tests call these; the program never does.

// The wave's phase in degrees (0 up to 360), which every BltWave moves on.
float WavePhaseForTest();
void SetWavePhaseForTest(float degrees);

}  // namespace kaDraw
