// The graphics module: software surfaces, the table of image objects, picture loading,
// blits and presentation, the line-shift effects and the text layer. Every frame is
// composed on the 700 x 520 back buffer; its top-left 640 x 474 pixels reach the window.
// Colours passed in are 0x00BBGGRR (red in the low byte). Everything runs on the game
// thread but the reading ahead, which has a thread of its own. Failures the player must
// hear of go through ErrorBox, with the operation's name as its location; before Screen
// has succeeded, or after CloseScreen, every drawing operation does nothing.
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

// Called by Screen (the back buffer and sprites) and by the BMP decoder: a surface of
// width x height pixels (1 to 32767 each) in format (16, 24 or 32 bits), every byte 0,
// rows padded to 4 bytes, colour key 0. nullptr, reporting nothing, when a size or the
// format is out of range or the memory cannot be had.
Surface* CreateSurface(int width, int height, const PixelFormat& format);
// Frees the surface and its pixels; nullptr is ignored.
void FreeSurface(Surface* s);
// Native pixel value of a 0x00BBGGRR colour in the surface's format: each 8-bit channel
// scaled to its mask, rounded.
uint32_t NativeFromColour(const PixelFormat& f, uint32_t bbggrr);
// The native value of pixel (x, y), and its replacement. Not checked: the caller keeps x
// and y inside the surface.
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

// Called once by OpenMedia, first of all, with the back buffer's size (mode is taken
// and changes nothing: every surface lives in ordinary memory). Creates the back buffer
// and the four internal sprites of that size, sets the clip rectangle to the whole back
// buffer, computes the channel shifts and empties every other table entry; OpenMedia
// starts the sound, the music and the text layer after it. A second call starts from a
// closed screen. Returns 1, or 0 after an ErrorBox naming what could not be made; after
// a failure nothing stays created and every drawing operation
// does nothing.
int Screen(int width, int height, int mode);
// Called by the text reduction: bits per pixel of the back buffer, or of the chosen
// display format before Screen.
int DisplayBitDepth();
// Called by Shutdown after FreeText and the sound's release: drops the picture read
// ahead and releases every surface, internal sprites and back buffer included. Safe to
// call twice, or before Screen.
void CloseScreen();

extern int ScreenWidth, ScreenHeight;  // the back buffer's size, as Screen was given it
// The back buffer's channel positions, set by Screen for the text reduction: each
// channel's lowest bit, and where a 5-bit value of it goes (one higher for a 6-bit green).
extern uint16_t RedShift, GreenShift, BlueShift;
extern uint16_t Red5Shift, Green5Shift, Blue5Shift;
extern Surface* BackBuffer;  // every frame is composed here; nullptr outside Screen's run

// ---- Image objects (objects.cpp, asset_header.cpp, bmp.cpp) ------------------------

// Entries 0 to 3 are the internal sprites Screen makes, of the back buffer's size: the
// text layer lays text out in the font buffer at twice its size and reduces it into a
// layout's sprite, the font sprite being the shared layout's; 4 to 1023 are loaded
// pictures. ObjectId 0 is also what a failed load gives.
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

// Called by the story engine (through LoadPicture) for the interface pictures at
// start-up and for each file: line. Loads the BMP file name (a name in the program's
// directory, at most 30 bytes; its first two bytes may be blanked) into the first free
// entry from 4 on, converted to the back buffer's layout and keyed as the last
// SetKeyColour or SetKeyFromPixel said. placement is recorded as 2 whatever is asked:
// every surface lives in ordinary memory. Returns the ObjectId, or 0 after an ErrorBox
// when the name is empty or too long, the table is full, or the file cannot be read or
// decoded (the entry then stays free). Returns 0, reporting nothing, before Screen.
int LoadObject(const char* name, int placement);
// Not called by the game: loads name into entry id (4 to 1023) in place of the picture
// it holds, as LoadObject would. Returns 1, or 0 after an ErrorBox (the entry is then
// empty); 0 without a report for an id outside 4 to 1023 or before Screen.
int SwapObject(const char* name, int id, int placement);
// Called by the story engine for a story picture a file: line replaces and for the logo
// once it has run. Frees the entry's picture and its name; ids 0 to 3 (the internal
// sprites), ids outside the table and empty entries are ignored.
void ReleaseObject(int id);
// Called before LoadObject: the pictures loaded next leave out colour (0x00BBGGRR), or,
// after SetKeyFromPixel, each picture's own top-left pixel, in keyed blits.
void SetKeyColour(uint32_t colour);
void SetKeyFromPixel();
// Called by the story engine around each load of a picture asset, whose "BM" signature
// is stored blanked: the signature is written back before the load and blanked again
// after. path is the file's whole path. A file that is missing, cannot be written (a
// read-only install), is not a regular file or does not start with a signature, blanked
// or not, is left as it is, silently: the load reads blanked files as well.
void RestoreAssetHeader(const char* path);
void BlankAssetHeader(const char* path);
// The native value of a key colour in the surface's format: colour 0x00BBGGRR, or -1
// for the surface's top-left pixel. 0xFFFFFFFF for a null surface.
uint32_t PhysicalColour(Surface* s, int32_t colour);
// Makes that value the surface's colour key, which BltTransparent leaves out.
void ApplyColourKey(Surface* s, int32_t colour);

// Called by LoadObject, the reading ahead and the tests: decodes a BMP file held in
// memory (the first two bytes may be blanked) into a new surface of the given format.
// nullptr when the data is not a BMP this decoder takes, or is truncated or
// inconsistent anywhere; it reports nothing, as its caller does.
Surface* DecodeBmp(const uint8_t* data, size_t size, const PixelFormat& format);
// The data starts with "BM" or with the two blanks of a stored asset.
bool HasBmpSignature(const uint8_t* data, size_t size);

// ---- Reading ahead (read_ahead.cpp) ---------------------------------------------------

// Called by the story engine once a step has shown its line, with the picture of the
// next step's file: line. Reads and decodes the picture file that LoadObject(name)
// would load, on a thread of its own, so that such a load soon after need not decode
// it: the load still reads the file itself and takes the decoded picture only when the
// bytes on disk are the ones it was decoded from. One picture at a time: asking for
// another drops the first. Reports nothing; a file that cannot be read is the load's to
// report.
void ReadAheadObject(const char* name);
// Waits until the picture asked for is read and decoded (tests; a load waits by itself).
void AwaitReadAhead();

// ---- Blits, presentation and primitives (blit.cpp) --------------------------------

// Called by Screen (the whole back buffer) and by tests: the rectangle blits may write
// to, right and bottom exclusive. Taken as given: blits stay inside the back buffer
// whatever it says.
void SetClipRect(int left, int top, int right, int bottom);
// Called by every screen of the story engine while it composes a frame: copies the
// source rectangle (srcLeft, srcTop) to (srcRight, srcBottom), right and bottom
// exclusive, of object id to the back buffer with its top-left at (destX, destY), cut to
// the clip rectangle. BltOpaque copies every pixel; BltTransparent leaves out the
// object's colour key. A copy that is not wholly inside the picture once cut (a band
// below a strip's end), an empty object, an id outside the table or a picture of
// another pixel size draws nothing, silently.
void BltOpaque(int destX, int destY, int id, int srcLeft, int srcTop, int srcRight, int srcBottom);
void BltTransparent(int destX, int destY, int id, int srcLeft, int srcTop, int srcRight,
                    int srcBottom);
// Called by each screen at the start of its frame (ClearBackBuffer) and by the text
// layer for its sprites (ClearObject): fill with native value 0 (black); 1 when
// something was filled, 0 when the back buffer or the object has no surface.
int ClearBackBuffer();
int ClearObject(int id);
// Called by the choice and the system menu for the highlight under the pointer, and by
// auto mode and the backlog for their marks: fills the rectangle (right and bottom
// exclusive; edges given in either order) with fillColour and outlines its outermost
// penWidth (at least 1) rows and columns with penColour, cut to the back buffer.
void DrawRect(int left, int top, int right, int bottom, uint32_t fillColour, uint32_t penColour,
              int penWidth);
// Called by the system menu for a save's small picture: copies width x height pixels of
// rgb (three bytes a pixel, red first; rows top down, each width x 3 bytes) to the back
// buffer with their top-left at (destX, destY), each converted to the back buffer's
// layout as NativeFromColour converts a colour, cut to the clip rectangle and the back
// buffer. A null rgb or a size below 1 draws nothing.
void BltRgbPixels(int destX, int destY, const uint8_t* rgb, int width, int height);
// Called by FrameUpdate once per frame, last: sends the back buffer's visible part to
// the window when it differs from the picture sent last; an unchanged frame sends
// nothing. Does nothing before Screen, or when the memory for the copy cannot be had.
void PresentBackBuffer();
// Called by the shell when the window lost its picture (exposed, resized, full screen):
// sends the picture sent last again; nothing before the first present.
void PresentAgain();
// Asked by the main loop after a frame: true when the last PresentBackBuffer sent a
// changed picture.
bool PresentedNewPicture();

// The rectangle blits may write to, right and bottom exclusive (set by SetClipRect).
extern int ClipLeft, ClipTop, ClipRight, ClipBottom;

// ---- Line-shift effects (effects.cpp) ---------------------------------------------

// The wave's phase and alternating sign back to their start values (0 degrees, +1);
// called by CloseScreen.
void ResetEffects();
// Called by the story screen for a band drawn through the wave (swave:): each source
// row of the rectangle (as BltTransparent takes it) is drawn as its own keyed blit,
// shifted amplitude x cos(angle) pixels sideways, where angle in degrees is the row's
// source y divided by rowDivisor (0 divides by 1) plus the phase. alternate non-zero flips the
// shift's sign from row to row. The phase then moves on by speed degrees a second of
// the frame's FrameSeconds. Draws nothing where BltTransparent would not.
void BltWave(int destX, int destY, int amplitude, int rowDivisor, float speed, int objectId,
             int srcLeft, int srcTop, int srcRight, int srcBottom, int alternate);
// The wave's phase in degrees (0 up to 360): read by a save, set again by its load.
float WavePhaseDegrees();
void SetWavePhaseDegrees(float degrees);
// Called by the logo: each source row drawn as its own keyed blit, shifted sideways by
// a random amount from -jitter to jitter - 1 (the game's RandomNumber); jitter 0 or less
// draws the rectangle unshifted.
void BltJitter(int destX, int destY, int jitter, int objectId, int srcLeft, int srcTop,
               int srcRight, int srcBottom);

// ---- Text (text_*.cpp) ------------------------------------------------------------

struct TextRect {
    int32_t left, top, right, bottom;  // client pixels, right and bottom exclusive
};
constexpr int TextRectCapacity = 3200;
// A block of text laid out: its rectangles (entry 0 the block, then one per character)
// and its characters, reduced over the picture under them, in a sprite of its own at the
// same client coordinates, keyed on 0. The message window owns one and reveals it over
// many frames; every text drawn at once shares the module's own (DrawTextBlock).
struct TextLayout {
    TextRect rects[TextRectCapacity];
    int32_t offsets[TextRectCapacity];  // the byte of the text each character rectangle is of
    int32_t count = 0;  // rectangles laid out
    // Made by the first layout into it, from the text's top-left to the back buffer's
    // bottom-right, where text can reach; freed by CloseScreen.
    Surface* sprite = nullptr;
    int spriteX = 0, spriteY = 0;  // the client pixel of the sprite's top-left
};

// Called by Screen, last: empties the layout and starts collecting the installed fonts
// on a thread of their own; the first font selection waits for it. Reports nothing: a
// face that cannot be found draws no text.
void InitText();
// Called by Shutdown before the sound's release: waits for the font collection, then
// closes the glyph engine and the faces it opened. Safe to call twice.
void FreeText();
// Called before each text: the face by its CP932 name (a face that is not installed,
// or an empty name, is stood in for by a near one, the Japanese sans-serif at last) and
// the size in pixels of the characters as they reach the screen (they are drawn at
// twice the size and reduced). Waits for the font collection InitText started. Holds
// the face until EndTextDrawing; when no face at all can be found, text draws nothing.
void SelectTextFont(const char* faceCp932, int size);
// Called after SelectTextFont: the text colour and the shadow colour (0x00BBGGRR; a
// colour darker than 16 in every channel is drawn as 0x101010). The background is
// always transparent, whatever transparent says.
void SetTextColours(uint32_t text, uint32_t shadow, int transparent);
// Lays textCp932 (Shift-JIS, byte 0x0A breaks a line) out from (x, y), in the selected
// face and colours, into a layout at the same client coordinates. A line wraps where a
// character would reach right (closing punctuation may hang past it); the text stops
// once a line would begin at or below bottom. flags: the low byte adds pixels to the
// line height; 0x100 draws a shadow, 0x200 widens, 0x400 thickens, TextWrapWords
// breaks lines at spaces (a word wider than the row still breaks where it reaches
// right). Without a selected face the characters take no room and nothing is drawn.
// LayOutTextBlock lays out into the caller's layout (the message window's), which its
// owner copies out (BltTextRect); DrawTextBlock, for the choice, the menu and the
// pages, into the module's shared layout, copied to the back buffer at once;
// MeasureTextBlock into the shared layout without drawing (the backlog's heights).
constexpr uint32_t TextWrapWords = 0x800;
void LayOutTextBlock(TextLayout* into, int x, int y, int right, int bottom, const char* textCp932,
                     uint32_t flags);
const TextLayout& DrawTextBlock(int x, int y, int right, int bottom, const char* textCp932,
                                uint32_t flags);
const TextLayout& MeasureTextBlock(int x, int y, int right, int bottom, const char* textCp932,
                                   uint32_t flags);
// Copies rectangle i of the layout (0: the whole block) to the back buffer at its place,
// leaving out the empty pixels; an index outside the layout draws nothing.
void BltTextRect(const TextLayout& layout, int i);
// Tests watch every text handed to the layout, before it is laid out (nullptr: none).
void WatchLaidOutText(void (*watcher)(const char* textCp932));
// Called by CloseScreen: every layout's sprite freed, the layouts emptied.
void FreeTextLayouts();
// Called after the texts of one font: lets the face go.
void EndTextDrawing();
// Draws a zero-terminated Shift-JIS string with its cells' top-left at (x, y) of the font
// buffer sprite, in the current text colour over a transparent background, with the
// font of the drawing sequence. 1 when drawn, 0 outside a drawing sequence.
int DrawGlyphText(int x, int y, const char* textCp932);
// Reduces a double-size line of the font buffer sprite (source rectangle in its pixels)
// into a layout's sprite, whose top-left is client pixel (intoX, intoY), at client pixel
// (destX, destY), mixing edges with the back buffer under it. 1 when done (also when
// there was nothing to do), 0 when a surface is missing.
int ReduceTextLine(Surface* into, int intoX, int intoY, int destX, int destY, int srcLeft, int srcTop,
                   int srcRight, int srcBottom);

}  // namespace kaDraw
