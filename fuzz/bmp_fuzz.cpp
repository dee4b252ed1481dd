// Feeds arbitrary bytes to the BMP decoder in every display layout: it must refuse or
// decode them without touching memory outside the input or the surface it makes.
#include <cstddef>
#include <cstdint>

#include "draw/kaDraw.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const kaDraw::PixelFormat* formats[] = {&kaDraw::FormatXRGB8888, &kaDraw::FormatRGB565,
                                            &kaDraw::FormatRGB888};
    for (const kaDraw::PixelFormat* f : formats) kaDraw::FreeSurface(kaDraw::DecodeBmp(data, size, *f));
    return 0;
}
