// The pictures of the game folder as the screens and the script use them: every one
// decodes with the size its screen or its script lines need, keyed pictures keep their
// key out of what must show, strips move rather than cut, and the files use the
// decoder's palette, RLE and 4-bit paths.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "story/script.h"
#include "tools/asset_lists.h"

namespace {

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Decoded {
    std::vector<uint8_t> bytes;
    std::unique_ptr<kaDraw::Surface, void (*)(kaDraw::Surface*)> surface{nullptr, kaDraw::FreeSurface};
    uint32_t At(int x, int y) const { return kaDraw::ReadPixel(surface.get(), x, y); }
};

Decoded Load(const std::string& file) {
    Decoded d;
    d.bytes = ReadBytes(std::string(AKARI_GAME_DIR) + "/" + file);
    d.surface.reset(kaDraw::DecodeBmp(d.bytes.data(), d.bytes.size(), kaDraw::FormatXRGB8888));
    return d;
}

// The story pictures of data/pictures.txt.
std::vector<PictureEntry> PictureList() {
    std::vector<PictureEntry> list;
    std::string fault = ReadPictureList(AKARI_PICTURE_LIST, &list);
    EXPECT_EQ(fault, "");
    return list;
}

// Mean of the absolute channel differences, and the share of pixels that changed by
// more than 8 levels in a channel, between two 500 x 375 windows.
void Compare(const Decoded& a, int bandA, const Decoded& b, int bandB, double* mean, double* changed) {
    double sum = 0;
    long moved = 0;
    for (int y = 0; y < 375; ++y)
        for (int x = 0; x < 500; ++x) {
            uint32_t p = a.At(x, 375 * bandA + y), q = b.At(x, 375 * bandB + y);
            int most = 0;
            for (int s = 0; s < 24; s += 8) {
                int d = std::abs(int(p >> s & 255) - int(q >> s & 255));
                sum += d;
                most = std::max(most, d);
            }
            moved += most > 8;
        }
    *mean = sum / (500.0 * 375 * 3);
    *changed = double(moved) / (500.0 * 375);
}
// A motion: something visibly changes, yet the picture as a whole stays.
bool IsMotion(double mean, double changed) { return changed >= 0.001 && mean <= 20; }

}  // namespace

TEST(Pictures, EveryScriptPictureHasTheBandsAndWidthItsLinesNeed) {
    // Walk the script as the interpreter steps it: each prose line shows the current
    // picture with the band or animation its commands left.
    std::map<std::string, std::pair<int, int>> need;  // file -> rows, columns
    std::string file;
    int frames = 0, loop = 0;
    for (int i = 0; i < ScriptLineCount; ++i) {
        const char* line = ShippedScript[i];
        Keyword k = MatchKeyword(line);
        int n = ReadNumberAt(line, ArgumentOffset(k));
        if (k == KwFile) file = line + ArgumentOffset(k);
        if (k == KwSetscreen) {
            frames = 0;
            if (n != 99 && !file.empty()) need[file].first = std::max(need[file].first, 375 * (n + 1));
        }
        if (k == KwAnime) frames = n;
        if (k == KwLoopanime) loop = n;
        if (k != KwNone || !line[0] || file.empty() || frames == 0) continue;
        auto& [rows, columns] = need[file];
        if (loop == 4) columns = std::max(columns, 500 + frames);
        else rows = std::max(rows, 375 * (loop == 1 ? frames : frames + 1));  // 1 loops 0..N-1
    }
    ASSERT_FALSE(need.empty()) << "the script shows no picture";
    for (const auto& [name, size] : need) {
        Decoded d = Load(name);
        ASSERT_TRUE(d.surface) << name << " is missing or does not decode";
        EXPECT_GE(d.surface->height, size.first) << name;
        EXPECT_GE(d.surface->width, std::max(500, size.second)) << name;
        EXPECT_EQ(d.surface->height % 375, 0) << name << " is not whole bands";
    }
}

TEST(Pictures, TheListedAndInterfacePicturesHaveTheirSizes) {
    struct Case {
        std::string file;
        int width, height;
    };
    using layout::Placement;
    auto drawn = [](const char* file, const Placement& p) { return Case{file, p.width, p.height}; };
    std::vector<Case> cases = {drawn("across.sad", layout::Logo),          drawn("expr.sad", layout::Notice),
                               drawn("tit.sad", layout::Title),            drawn("panel.sad", layout::Panel),
                               drawn("message.sad", layout::MessageFrame), drawn("comwin.sad", layout::ChoiceBox),
                               drawn("savaback.sad", layout::MenuPage),
                               {"cursol.sad", layout::PointerSize, layout::PointerSize},
                               {"back.sad", layout::ClientWidth, layout::ClientHeight}};
    for (const PictureEntry& e : PictureList()) cases.push_back({e.file, e.width, 375 * e.bands});
    ASSERT_GT(cases.size(), 9u) << "data/pictures.txt lists nothing";
    for (const Case& c : cases) {
        Decoded d = Load(c.file);
        ASSERT_TRUE(d.surface) << c.file;
        EXPECT_EQ(d.surface->width, c.width) << c.file;
        EXPECT_EQ(d.surface->height, c.height) << c.file;
        EXPECT_TRUE(d.bytes[0] == ' ' && d.bytes[1] == ' ') << c.file << " keeps its BM signature";
    }
}

TEST(Pictures, KeyedPicturesKeepTheirKeyOutOfWhatMustShow) {
    struct Case {
        std::string file;
        int left, top, right, bottom;  // where the picture must show
    };
    std::vector<Case> cases = {
        {"panel.sad", 12, 0, 166, 377},     // all but its torn left edge
        {"message.sad", 20, 14, 640, 100},  // under the text, from x 10 and y 385 on screen
        {"cursol.sad", 1, 1, 2, 2},         // the hot spot
    };
    for (const PictureEntry& e : PictureList())
        if (e.waved) cases.push_back({e.file, 0, 0, e.width, 375 * e.bands});
    for (const Case& c : cases) {
        Decoded d = Load(c.file);
        ASSERT_TRUE(d.surface) << c.file;
        uint32_t key = d.At(0, 0);
        int found = 0;
        for (int y = c.top; y < c.bottom; ++y)
            for (int x = c.left; x < c.right; ++x) found += (x || y) && d.At(x, y) == key;
        EXPECT_EQ(found, 0) << c.file << ": the key colour shows where the picture must";
    }
}

// The wave effect slides each row up to its reach either way, so the screen's black
// shows at the picture's left edge beside source columns up to twice that: those must
// be as dark as the black for the edge not to show as jagged slivers.
TEST(Pictures, PicturesDrawnThroughTheWaveAreDarkWhereItsRowsSlide) {
    int waved = 0;
    for (const PictureEntry& e : PictureList()) {
        if (!e.waved) continue;
        ++waved;
        Decoded d = Load(e.file);
        ASSERT_TRUE(d.surface) << e.file;
        int brightest = 0;
        for (int y = 0; y < 375 * e.bands; ++y)
            for (int x = 0; x <= 2 * layout::WaveReach; ++x)
                if (x || y)  // the key colour's pixel
                    for (int s = 0; s < 24; s += 8) brightest = std::max(brightest, int(d.At(x, y) >> s & 255));
        EXPECT_LE(brightest, 24) << e.file;
    }
    EXPECT_GT(waved, 0);
}

TEST(Pictures, StripsMoveFromBandToBandButDoNotCut) {
    int strips = 0;
    for (const PictureEntry& e : PictureList()) {
        if (e.bands < 2) continue;
        ++strips;
        Decoded d = Load(e.file);
        ASSERT_TRUE(d.surface) << e.file;
        for (int band = 0; band + 1 < e.bands; ++band) {
            double mean, changed;
            Compare(d, band, d, band + 1, &mean, &changed);
            EXPECT_TRUE(IsMotion(mean, changed))
                << e.file << " bands " << band << " and " << band + 1 << ": mean difference " << mean
                << ", changed share " << changed;
        }
    }
    EXPECT_GT(strips, 0);
    // The measure tells a cut from a motion: two different scenes are a cut.
    Decoded station = Load("tit.sad"), menu = Load("savaback.sad");
    double mean, changed;
    Compare(station, 0, menu, 0, &mean, &changed);
    EXPECT_FALSE(IsMotion(mean, changed)) << mean << " " << changed;
}

TEST(Pictures, TheFilesUseThePaletteRleAndFourBitPathsOfTheDecoder) {
    std::vector<std::string> files = {"across.sad", "expr.sad", "tit.sad", "panel.sad", "message.sad",
                                      "comwin.sad", "savaback.sad", "cursol.sad", "back.sad"};
    for (const PictureEntry& e : PictureList()) files.push_back(e.file);
    std::map<std::pair<int, int>, int> layouts;  // (bits per pixel, compression) -> files
    for (const std::string& f : files) {
        std::vector<uint8_t> b = ReadBytes(std::string(AKARI_GAME_DIR) + "/" + f);
        ASSERT_GE(b.size(), 54u) << f;
        ++layouts[{b[28] | b[29] << 8, b[30]}];
    }
    EXPECT_GE((layouts[{4, 0}]), 1) << "no 4-bit picture";
    EXPECT_GE((layouts[{8, 1}]), 1) << "no RLE8 picture";
    EXPECT_GE((layouts[{8, 0}]), 2) << "fewer than two 8-bit palette pictures";
    EXPECT_GT((layouts[{24, 0}]), int(files.size()) / 2) << "most pictures should be 24-bit";
}

TEST(Pictures, TheMenuAndPanelButtonsAreDrawnWhereTheScreensTestThePointer) {
    struct Case {
        std::string file;
        layout::Rect box;  // in the picture's own pixels
    };
    std::vector<Case> cases = {{"panel.sad", layout::PanelMenuBox}, {"panel.sad", layout::PanelQuitBox}};
    for (const layout::ButtonRow& row : {layout::SaveRow, layout::LoadRow, layout::SpeedRow, layout::MusicRow})
        for (int n = 0; n < row.count; ++n) cases.push_back({"savaback.sad", row.Button(n)});
    cases.push_back({"savaback.sad", layout::QuitGameBox});
    cases.push_back({"savaback.sad", layout::ReturnButton});
    auto luminance = [](uint32_t p) { return int(p >> 16 & 255) + int(p >> 8 & 255) + int(p & 255); };
    for (const Case& c : cases) {
        Decoded d = Load(c.file);
        ASSERT_TRUE(d.surface) << c.file;
        // The box's outline is bright; just outside and just inside it is not.
        const layout::Rect& b = c.box;
        long edge = 0, outside = 0, inside = 0, count = 0;
        for (int x = b.left + 2; x < b.right - 2; ++x) {
            edge += luminance(d.At(x, b.top)) + luminance(d.At(x, b.bottom - 1));
            outside += luminance(d.At(x, b.top - 2)) + luminance(d.At(x, b.bottom + 1));
            inside += luminance(d.At(x, b.top + 2)) + luminance(d.At(x, b.bottom - 3));
            count += 2;
        }
        EXPECT_GT(edge, 2 * outside) << c.file << " box at " << b.left << "," << b.top;
        EXPECT_GT(edge, 2 * inside) << c.file << " box at " << b.left << "," << b.top;
    }
}

TEST(Pictures, TheToolRefusesAListItCannotDrawWhole) {
    struct Case {
        const char* list;
        const char* says;
    };
    const Case cases[] = {
        {"sc01.sad 1 - fine\nnothing.sad 1 - a picture nobody drew\n", "nothing.sad has no drawing recipe"},
        {"sc01.sad two - bands not a number\n", ":1: bad band count"},
        {"sc01.sad 1 wave - a keyed column that is neither swave nor -\n", ":1: keyed is swave or -"},
        {"sc01.sad w300 - a panorama narrower than a band\n", ":1: a width is w500 or more"},
    };
    std::string dir = std::string(AKARI_TEST_OUTPUT_DIR) + "/picture-tool-refusals";
    std::system(("mkdir -p '" + dir + "'").c_str());
    for (const Case& c : cases) {
        std::ofstream(dir + "/list.txt") << c.list;
        std::string cmd = std::string("'") + AKARI_PICTURE_TOOL + "' '" + dir + "/list.txt' '" + dir + "' '" + dir +
                          "' 2>'" + dir + "/said.txt'";
        EXPECT_NE(std::system(cmd.c_str()), 0) << c.list;
        std::vector<uint8_t> said = ReadBytes(dir + "/said.txt");
        EXPECT_NE(std::string(said.begin(), said.end()).find(c.says), std::string::npos) << c.list;
    }
}
