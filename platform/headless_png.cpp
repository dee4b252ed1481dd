// Writes the newest presented frame of the headless backend as a PNG file, so that a
// picture test leaves something a person can look at.
#include "platform/headless.h"
#include "platform/png_file.h"

namespace headless {

bool SaveLastFrameAsPng(const std::string& path) {
    const Frame* frame = LastFrame(0);
    return frame && WritePngFile(path, frame->width, frame->height, frame->pixels.data());
}

}  // namespace headless
