// The picture tool's checks, on the files decoded as the game decodes them.
#include "tools/pictures/picture_checks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

#include "base/screen_layout.h"
#include "draw/kaDraw.h"

namespace {

int Faults = 0;

void Fault(const std::string& file, const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", file.c_str(), why.c_str());
    ++Faults;
}

struct Picture {
    std::unique_ptr<kaDraw::Surface, void (*)(kaDraw::Surface*)> surface{nullptr, kaDraw::FreeSurface};
    uint32_t At(int x, int y) const { return kaDraw::ReadPixel(surface.get(), x, y); }
};

int Brightest(uint32_t pixel) {
    return std::max({int(pixel >> 16 & 255), int(pixel >> 8 & 255), int(pixel & 255)});
}
int Luminance(uint32_t pixel) { return int(pixel >> 16 & 255) + int(pixel >> 8 & 255) + int(pixel & 255); }

// Between bands a and a + 1 of a strip: the mean of the absolute channel differences,
// and the share of pixels of which a channel moved by more than 8 levels. A motion
// changes something visibly, yet keeps the picture as a whole.
void CheckMotion(const std::string& file, const Picture& p, int a) {
    const int w = layout::Band.width, h = layout::Band.height;
    double sum = 0, moved = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t one = p.At(x, h * a + y), two = p.At(x, h * (a + 1) + y);
            int most = 0;
            for (int s = 0; s < 24; s += 8) {
                int d = std::abs(int(one >> s & 255) - int(two >> s & 255));
                sum += d;
                most = std::max(most, d);
            }
            moved += most > 8;
        }
    double mean = sum / (3.0 * w * h), changed = moved / (double(w) * h);
    if (changed < 0.001 || mean > 20)
        Fault(file, "bands " + std::to_string(a) + " and " + std::to_string(a + 1) + " differ by " +
                        std::to_string(mean) + " on average, " + std::to_string(changed) +
                        " of the pixels visibly: a strip moves, neither standing still nor cutting");
}

// The key colour (the top-left pixel's) nowhere else in the rectangle.
void CheckKeyOut(const std::string& file, const Picture& p, int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if ((x || y) && p.At(x, y) == p.At(0, 0))
                return Fault(file, "the key colour at " + std::to_string(x) + "," + std::to_string(y) +
                                       " leaves a hole where the picture must show");
}

// The box's outline is bright; just outside and just inside it is not.
void CheckButton(const std::string& file, const Picture& p, const layout::Rect& b) {
    long edge = 0, outside = 0, inside = 0;
    for (int x = b.left + 2; x < b.right - 2; ++x) {
        edge += Luminance(p.At(x, b.top)) + Luminance(p.At(x, b.bottom - 1));
        outside += Luminance(p.At(x, b.top - 2)) + Luminance(p.At(x, b.bottom + 1));
        inside += Luminance(p.At(x, b.top + 2)) + Luminance(p.At(x, b.bottom - 3));
    }
    if (edge <= 2 * outside || edge <= 2 * inside)
        Fault(file, "no button outlined at " + std::to_string(b.left) + "," + std::to_string(b.top) +
                        ", where the screen takes its clicks");
}

}  // namespace

int CheckPictures(const std::vector<PictureEntry>& list, const std::vector<PictureFile>& files) {
    Faults = 0;
    std::map<std::string, Picture> decoded;
    std::map<std::pair<int, int>, int> layouts;  // (bits per pixel, compression) -> files
    for (const PictureFile& f : files) {
        Picture& p = decoded[f.file];
        p.surface.reset(kaDraw::DecodeBmp(f.bytes.data(), f.bytes.size(), kaDraw::FormatXRGB8888));
        if (!p.surface || f.bytes[0] != ' ' || f.bytes[1] != ' ') {
            Fault(f.file, "does not decode, or keeps its BM signature");
            decoded.erase(f.file);
            continue;
        }
        ++layouts[{f.bytes[28] | f.bytes[29] << 8, f.bytes[30]}];
    }
    auto found = [&](const std::string& file) { return decoded.count(file) ? &decoded[file] : nullptr; };

    struct Size {
        std::string file;
        int width, height;
    };
    auto placed = [](const char* file, const layout::Placement& p) { return Size{file, p.width, p.height}; };
    std::vector<Size> sizes = {placed("across.sad", layout::Logo),         placed("expr.sad", layout::Notice),
                               placed("tit.sad", layout::Title),           placed("panel.sad", layout::Panel),
                               placed("message.sad", layout::MessageFrame), placed("comwin.sad", layout::ChoiceBox),
                               placed("savaback.sad", layout::MenuPage),
                               {"cursol.sad", layout::PointerSize, layout::PointerSize},
                               {"back.sad", layout::ClientWidth, layout::ClientHeight}};
    for (const PictureEntry& e : list) sizes.push_back({e.file, e.width, layout::Band.height * e.bands});
    for (const Size& s : sizes) {
        const Picture* p = found(s.file);
        if (!p) Fault(s.file, "is not made");
        else if (p->surface->width != s.width || p->surface->height != s.height)
            Fault(s.file, std::to_string(p->surface->width) + " x " + std::to_string(p->surface->height) +
                              ", where the game needs " + std::to_string(s.width) + " x " + std::to_string(s.height));
    }
    if (!Faults) {  // the rest looks where the sizes say
        struct Shown {
            std::string file;
            int left, top, right, bottom;  // where a keyed picture must show
        };
        std::vector<Shown> keyed = {
            {"panel.sad", 12, 0, 166, 377},     // all but its torn left edge
            {"message.sad", 20, 14, 640, 100},  // under the text, from x 10 and y 385 on screen
            {"cursol.sad", 1, 1, 2, 2},         // the hot spot
        };
        for (const PictureEntry& e : list)
            if (e.waved) keyed.push_back({e.file, 0, 0, e.width, layout::Band.height * e.bands});
        for (const Shown& k : keyed) CheckKeyOut(k.file, *found(k.file), k.left, k.top, k.right, k.bottom);
        for (const PictureEntry& e : list) {
            const Picture& p = *found(e.file);
            // The wave slides each row up to its reach either way, so the screen's black
            // shows beside source columns up to twice that: they must be as dark.
            int brightest = 0;
            for (int y = 0; e.waved && y < p.surface->height; ++y)
                for (int x = y ? 0 : 1; x <= 2 * layout::WaveReach; ++x)
                    brightest = std::max(brightest, Brightest(p.At(x, y)));
            if (brightest > 24)
                Fault(e.file, "its left edge, which the wave slides open, is lighter than the black beside it");
            for (int band = 0; band + 1 < e.bands; ++band) CheckMotion(e.file, p, band);
        }
        CheckButton("panel.sad", *found("panel.sad"), layout::PanelMenuBox);
        CheckButton("panel.sad", *found("panel.sad"), layout::PanelQuitBox);
        for (const layout::ButtonRow& row : {layout::SaveRow, layout::LoadRow, layout::SpeedRow, layout::MusicRow})
            for (int n = 0; n < row.count; ++n) CheckButton("savaback.sad", *found("savaback.sad"), row.Button(n));
        CheckButton("savaback.sad", *found("savaback.sad"), layout::QuitGameBox);
        CheckButton("savaback.sad", *found("savaback.sad"), layout::ReturnButton);
    }
    // The game's own files take the decoder's rarer paths, so that a fault there shows.
    if (layouts[{4, 0}] < 1 || layouts[{8, 1}] < 1 || layouts[{8, 0}] < 2 || layouts[{24, 0}] * 2 <= int(files.size()))
        Fault("the pictures", "need a 4-bit one, an RLE8 one, two 8-bit palette ones, and most at 24 bits");
    return Faults;
}
