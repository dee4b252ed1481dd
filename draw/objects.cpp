// The table of image objects: loading pictures into free entries, reloading, releasing,
// and the colour keys that keyed blits leave out.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/error_box.h"
#include "base/files.h"
#include "draw/draw_internal.h"
#include "platform/platform.h"

namespace kaDraw {

ImageObject ObjectTable[ObjectCount];

static bool KeyFromPixel = false;
static uint32_t KeyColour = 0;

void ResetObjectEntry(int id) {
    ImageObject& o = ObjectTable[id];
    FreeSurface(o.surface);
    o = ImageObject{nullptr, {0}, 2, 0, 0, 0};
}

Surface* ObjectSurface(int id) {
    if (id < 0 || id >= ObjectCount) return nullptr;
    return ObjectTable[id].surface;
}

void SetKeyColour(uint32_t colour) {
    KeyFromPixel = false;
    KeyColour = colour;
}

void SetKeyFromPixel() { KeyFromPixel = true; }

uint32_t PhysicalColour(Surface* s, int32_t colour) {
    if (!s) return 0xFFFFFFFFu;
    if (colour == -1) return ReadPixel(s, 0, 0);
    return NativeFromColour(s->format, uint32_t(colour));
}

void ApplyColourKey(Surface* s, int32_t colour) {
    if (s) s->colourKey = PhysicalColour(s, colour);
}

// The picture read ahead from the file when it was decoded from what the file holds now;
// else the whole file read and decoded into the back buffer's layout. The signature is
// taken blanked or not, so a read-only asset loads as well as a writable one.
static Surface* LoadBitmapSurface(const std::string& path) {
    if (Surface* ahead = TakeReadAhead(path, BackBuffer->format)) return ahead;
    std::vector<uint8_t> data;
    if (!ReadWholeFile(path.c_str(), MaxPictureFileBytes, &data) || data.empty()) return nullptr;
    return DecodeBmp(data.data(), data.size(), BackBuffer->format);
}

// Fills entry id from the file in the program's directory, keyed by the module's key state.
// Every surface lives in ordinary memory, so the placement a caller asks for changes
// nothing; the entry records placement 2.
static bool FillEntry(int id, const char* name) {
    ImageObject& o = ObjectTable[id];
    std::snprintf(o.name, sizeof o.name, "%s", name);
    o.placement = 2;
    std::string path = std::string(plat::ProgramDirectory()) + name;
    Surface* s = LoadBitmapSurface(path);
    if (!s) return false;
    o.surface = s;
    o.width = uint16_t(s->width);
    o.height = uint16_t(s->height);
    o.key = KeyFromPixel ? -1 : int32_t(KeyColour);
    ApplyColourKey(s, o.key);
    return true;
}

static bool NameTooLong(const char* name) { return std::strlen(name) > MaxNameLength; }

int LoadObject(const char* name, int placement) {
    if (!BackBuffer) return 0;
    const char* where = "kaDraw::LoadObject";
    if (!name || !*name) return ErrorBox(where, "BMPファイルを読み込めません");
    if (NameTooLong(name)) return ErrorBox(where, "ファイル名またはリソース名が長すぎます");
    int id = 4;
    while (id < ObjectCount && ObjectTable[id].name[0]) ++id;
    if (id == ObjectCount) return ErrorBox(where, "オブジェクト数が多過ぎます");
    if (!FillEntry(id, name)) {
        // Freed again, so that failed loads cannot use the table up.
        ResetObjectEntry(id);
        return ErrorBox(where, "BMPファイルを読み込めません");
    }
    return id;
}

int SwapObject(const char* name, int id, int placement) {
    // The internal sprites are never loaded from files.
    if (!BackBuffer || id < 4 || id >= ObjectCount) return 0;
    const char* where = "kaDraw::SwapObject";
    if (!name || !*name) return ErrorBox(where, "BMPファイルを読み込めません");
    if (NameTooLong(name)) return ErrorBox(where, "ファイル名またはリソース名が長すぎます");
    ImageObject& o = ObjectTable[id];
    FreeSurface(o.surface);
    o.surface = nullptr;
    o.width = o.height = 0;
    if (!FillEntry(id, name)) return ErrorBox(where, "BMPファイルを読み込めません");
    return 1;
}

// The internal sprites 0 to 3 stay until CloseScreen: a failed load hands out 0, and
// its caller may release what it holds.
void ReleaseObject(int id) {
    if (id < 4 || id >= ObjectCount || !ObjectTable[id].surface) return;
    uint32_t placement = ObjectTable[id].placement;
    ResetObjectEntry(id);
    ObjectTable[id].placement = placement;
}

}  // namespace kaDraw
