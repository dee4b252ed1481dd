// Build-time picture tool: draws the nine interface pictures and every story picture
// that the list names, into the game folder, and a contact sheet of the story pictures.
// Usage: akari_picture_tool pictures.txt game-folder sheet-folder
// A list entry without a drawing recipe, a line that does not read, or a picture that
// fails its checks (tools/pictures/picture_checks.h) stops the build, and nothing is written.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/screen_layout.h"
#include "tools/asset_lists.h"
#include "tools/pictures/interface.h"
#include "tools/pictures/picture_checks.h"
#include "tools/pictures/scenes.h"
#include "tools/pictures/style.h"

namespace {

// The grain of each picture its own, the same on every build.
int Seed(const std::string& file) {
    uint32_t h = 2166136261u;
    for (char ch : file) h = (h ^ uint8_t(ch)) * 16777619u;
    return int(h % 100000);
}

// The picture in the stored layout: bands stacked from the top.
bool DrawListed(const PictureEntry& e, art::Image& image) {
    image = art::Image{e.width, layout::Band.height * e.bands, {}};
    for (int band = 0; band < e.bands; ++band) {
        art::Canvas c = art::MakeCanvas(e.width, layout::Band.height, art::Hex(0));
        if (!art::DrawScene(e.file.c_str(), c, band, e.bands)) return false;
        if (e.waved) art::WaveEdge(c);
        std::vector<uint32_t> px = art::Finish(c, Seed(e.file));
        image.pixels.insert(image.pixels.end(), px.begin(), px.end());
    }
    if (e.waved) art::SetKey(image);
    return true;
}

// Pictures that are stored with a palette, so the decoder's palette path is used by
// the story as well as by the interface.
art::Format StoryFormat(const std::string& file) {
    return file == "sc16.sad" || file == "sc06.sad" ? art::Format::Palette8 : art::Format::Rgb24;
}

// A row per picture: its name, then each band at a fifth of its size.
art::Image ContactSheet(const std::vector<PictureEntry>& list, const std::vector<art::Image>& pictures) {
    const int scale = 5, label = 90, gap = 6;
    int width = 0;
    for (const PictureEntry& e : list) width = std::max(width, label + e.bands * (e.width / scale + gap));
    int rowHeight = layout::Band.height / scale + gap;
    art::Canvas sheet = art::MakeCanvas(width, rowHeight * int(list.size()) + gap, art::Hex(0x202028));
    art::Mask names = art::MakeMask(sheet.width, sheet.height);
    for (size_t i = 0; i < list.size(); ++i) {
        const art::Image& p = pictures[i];
        int top = gap + int(i) * rowHeight;
        art::Lettering(names, list[i].file, 6, float(top + 24), 14, false);
        for (int band = 0; band < list[i].bands; ++band) {
            int left = label + band * (list[i].width / scale + gap);
            for (int y = 0; y < layout::Band.height / scale; ++y)
                for (int x = 0; x < list[i].width / scale; ++x) {
                    // The mean of each 5 x 5 block.
                    float r = 0, g = 0, b = 0;
                    for (int dy = 0; dy < scale; ++dy)
                        for (int dx = 0; dx < scale; ++dx) {
                            uint32_t v = p.pixels[size_t(band * layout::Band.height + y * scale + dy) * p.width + x * scale + dx];
                            r += float(v >> 16 & 255), g += float(v >> 8 & 255), b += float(v & 255);
                        }
                    float n = 255.f * scale * scale;
                    sheet.At(left + x, top + y) = {r / n, g / n, b / n};
                }
        }
    }
    art::Paint(sheet, names, art::Hex(0xE0E0E0));
    art::Image out{sheet.width, sheet.height, std::vector<uint32_t>(sheet.px.size())};
    for (size_t i = 0; i < sheet.px.size(); ++i) {
        auto q = [](float v) { return uint32_t(std::clamp(v, 0.f, 1.f) * 255 + 0.5f); };
        out.pixels[i] = q(sheet.px[i].r) << 16 | q(sheet.px[i].g) << 8 | q(sheet.px[i].b);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s pictures.txt game-folder sheet-folder\n", argv[0]);
        return 2;
    }
    std::vector<PictureEntry> list;
    std::string fault = ReadPictureList(argv[1], &list);
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        return 1;
    }
    std::string dir = std::string(argv[2]) + "/";
    std::vector<art::Image> pictures(list.size());
    for (size_t i = 0; i < list.size(); ++i)
        if (!DrawListed(list[i], pictures[i])) {
            std::fprintf(stderr, "%s: %s has no drawing recipe in tools/pictures/scenes.cpp\n", argv[1],
                         list[i].file.c_str());
            return 1;
        }
    std::vector<PictureFile> files;
    for (const art::InterfacePicture& ui : art::InterfacePictures)
        files.push_back({ui.file, art::EncodeSad(ui.draw(), ui.format, ui.keyed)});
    for (size_t i = 0; i < list.size(); ++i)
        files.push_back({list[i].file, art::EncodeSad(pictures[i], StoryFormat(list[i].file), list[i].waved)});
    if (int faults = CheckPictures(list, files)) {
        std::fprintf(stderr, "%s: %d faults in the pictures; none written\n", argv[1], faults);
        return 1;
    }
    bool ok = true;
    for (const PictureFile& f : files) ok = ok && art::WriteBytes(dir + f.file, f.bytes);
    ok = ok && art::WriteBmp(std::string(argv[3]) + "/story_pictures.bmp", ContactSheet(list, pictures));
    if (!ok) {
        std::fprintf(stderr, "%s: cannot write the pictures\n", argv[2]);
        return 1;
    }
    return 0;
}
