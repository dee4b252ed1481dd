// The interface pictures: logo, notice, title, side panel, message frame, choice box,
// menu page, pointer and the spare backdrop. Button boxes sit exactly where the screens
// test the pointer; keyed pictures keep their key colour outside what must show.
#include "tools/pictures/interface.h"

#include <algorithm>
#include <cmath>

#include "base/screen_layout.h"
#include "tools/pictures/figures.h"
#include "tools/pictures/props.h"

namespace art {

static Image Finished(const Canvas& c, int seed) { return Image{c.width, c.height, Finish(c, seed)}; }

void SetKey(Image& image) {
    for (uint32_t& p : image.pixels)
        if (p == KeyColour) p ^= 0x000100;
    image.pixels[0] = KeyColour;
}

// A keyed picture: the finished canvas where `shows` covers half a pixel or more, the
// key elsewhere (hard edges there, so no pixel mixes with the key colour).
static Image Keyed(const Canvas& c, const Mask& shows, int seed) {
    Image image = Finished(c, seed);
    for (uint32_t& p : image.pixels) p = p == KeyColour ? p ^ 0x000100 : p;
    for (size_t i = 0; i < image.pixels.size(); ++i)
        if (shows.a[i] < 0.5f) image.pixels[i] = KeyColour;
    image.pixels[0] = KeyColour;
    return image;
}

static void Text(Canvas& c, const std::string& s, float x, float y, float size, bool mincho, Rgb colour,
                 float alpha = 1) {
    Mask m = MakeMask(c.width, c.height);
    Lettering(m, s, x, y, size, mincho);
    Paint(c, m, colour, alpha);
}
static void CentredText(Canvas& c, const std::string& s, float cx, float y, float size, bool mincho, Rgb colour) {
    Text(c, s, cx - LetteringWidth(s, size, mincho) / 2, y, size, mincho, colour);
}

// A button box: a one-pixel light border round a slightly lighter fill, exactly over
// the pixels of r.
static void ButtonBox(Canvas& c, const layout::Rect& r, Rgb fill, Rgb border) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            bool edge = x == r.left || y == r.top || x == r.right - 1 || y == r.bottom - 1;
            c.At(x, y) = edge ? border : Mix(fill, c.At(x, y), 0.35f);
        }
}

static const Rgb Cream = Hex(0xF2E4C4), Amber = Hex(0xFFB45A), Ink = Hex(0x0E1128);

static Image Logo() {
    const int w = layout::Logo.width, h = layout::Logo.height;
    Canvas c = MakeCanvas(w, h, Hex(0));
    Mask shows = MakeMask(w, h);
    Shape mark{Ellipse(58, 57, 30, 30)};
    for (int i = 0; i < 8; ++i) {
        float a = float(i) * float(M_PI) / 4;
        mark.push_back(Stroke({58 + std::cos(a) * 36, 57 + std::sin(a) * 36}, {58 + std::cos(a) * 48, 57 + std::sin(a) * 48}, 5));
    }
    Mask m = MaskOf(c, mark);
    Paint(c, m, Amber);
    Contour drop = Ellipse(58, 64, 11, 12);
    drop.insert(drop.begin() + int(drop.size() * 3 / 4), {58, 36});
    Mask flame = MaskOf(c, {drop});
    Paint(c, flame, Hex(0xFFF4D8));
    Cover(shows, mark);
    Mask name = MakeMask(w, h);
    Lettering(name, "灯火舎", 112, 14, 58, true);
    Paint(c, name, Cream);
    Mask latin = MakeMask(w, h);
    Lettering(latin, "T O M O S H I B I - S H A", 114, 86, 13, false);
    Paint(c, latin, Amber);
    for (size_t i = 0; i < shows.a.size(); ++i) shows.a[i] = std::max({shows.a[i], name.a[i], latin.a[i]});
    // Drawn on the cleared black screen: the key is black, and edges fade to it.
    Image image{w, h, std::vector<uint32_t>(size_t(w) * size_t(h))};
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        Rgb p = c.px[i];
        auto q = [](float v) { return uint32_t(std::lround(std::clamp(v, 0.f, 1.f) * 255)); };
        image.pixels[i] = shows.a[i] < 0.08f ? 0 : q(p.r) << 16 | q(p.g) << 8 | q(p.b);
        if (image.pixels[i] == 0 && shows.a[i] >= 0.08f) image.pixels[i] = 0x010101;
    }
    image.pixels[0] = 0;
    return image;
}

static Image Notice() {
    Canvas c = MakeCanvas(layout::Notice.width, layout::Notice.height, Hex(0x14183A));
    SkyGradient(c, {{0, Hex(0x1A1F48)}, {1, Hex(0x0E1230)}});
    Mask frame = MaskOf(c, {Rect(8, 8, 442, 157)});
    Subtract(frame, MaskOf(c, {Rect(9, 9, 441, 156)}));
    Paint(c, frame, Amber, 0.55f);
    // Headphones: the band and two cups.
    Mask phones = MaskOf(c, {Wire({40, 82}, {100, 82}, -56, 7), Ellipse(40, 92, 11, 18), Ellipse(100, 92, 11, 18)});
    Paint(c, phones, Cream);
    Glow(c, 70, 80, 40, Amber, 0.12f);
    Text(c, "ヘッドホンでのプレイをおすすめします", 128, 42, 16, false, Cream);
    Text(c, "この物語はフィクションです。", 130, 86, 16, true, Cream * 0.9f);
    Text(c, "実在の人物・団体・事件とは関係ありません。", 130, 112, 13, true, Cream * 0.8f);
    return Finished(c, 2);
}

void GlowingTitle(Canvas& c, const std::string& text, float cx, float top, float size, float weight) {
    float w = LetteringWidth(text, size, true), scale = size / 92;
    Glow(c, cx, top + size * 0.54f, 120 * scale, Amber, 0.18f);
    Mask letters = MakeMask(c.width, c.height);
    Lettering(letters, text, cx - w / 2, top, size, true);
    if (weight > 0) {
        // Thicker strokes: the blurred letters, their coverage raised, hold where thin
        // hairlines would vanish when the picture is shrunk.
        Mask bold = letters;
        Blur(bold, int(weight));
        for (size_t i = 0; i < bold.a.size(); ++i) letters.a[i] = std::max(letters.a[i], std::min(1.f, bold.a[i] * 2.5f));
    }
    Shadow(c, letters, int(3 * scale + 0.5f), int(4 * scale + 0.5f), std::max(1, int(6 * scale + 0.5f)), 0.7f,
           Hex(0x05060E));
    Paint(c, letters, Cream);
}

static Image Title() {
    Canvas c = MakeCanvas(layout::Title.width, layout::Title.height, Hex(0));
    View v{190, 300, 360};
    Sky(c, Night, 300);
    Stars(c, 902, 1.4f, 300);
    Moon(c, 520, 80, 20, Hex(0xF4ECD8), 0.55f);
    Cut(c, Ridge(640, 270, 90, 0.006f, 903, 474), Night.far, 0.3f);
    Cut(c, Ridge(640, 300, 50, 0.011f, 904, 474), Mix(Night.far, Night.mid, 0.5f), 0.3f);
    Cut(c, Woods(640, 330, 46, 905, 474), Night.mid, 0.35f);
    PlatformAndTrack(c, v, Night, 60);
    PlatformLamp(c, v, Night, -0.8f, 6, 1, Night.light);
    PlatformLamp(c, v, Night, -0.8f, 16, 0.7f, Night.light);
    Point feet = v.P(-0.3f, PlatformTop, 7.5f);
    Figure(c, Who::Sayo, Pose::Stand, {feet.x + 30, feet.y, 72, -1, 0.7f, Night.light, 0, -2, 1});
    Figure(c, Who::Minato, Pose::Stand, {feet.x - 20, feet.y + 2, 80, 1, 0.7f, Night.light, 0, -2, 1});
    Snowfall(c, 906, 0, 1, 140, Mix(Night.snow, Hex(0xFFFFFF), 0.5f), 0);
    GlowingTitle(c, "灯りの駅", 320, 100, 92);
    CentredText(c, "― あかりのえき ―", 320, 212, 16, true, Cream * 0.85f);
    CentredText(c, "クリックで はじまります", 320, 430, 14, false, Cream * 0.7f);
    return Finished(c, 3);
}

static Image Panel() {
    const int w = layout::Panel.width, h = layout::Panel.height;
    Canvas c = MakeCanvas(w, h, Hex(0));
    SkyGradient(c, {{0, Hex(0x121838)}, {0.6f, Hex(0x1C2148)}, {1, Hex(0x141833)}});
    Stars(c, 904, 0.8f, 200);
    Moon(c, 120, 48, 11, Hex(0xF4ECD8), 0.5f);
    // A torn-paper left edge over the picture's right margin.
    Contour edge{{float(w + 2), -1.f}, {float(w + 2), float(h + 1)}};
    for (int y = h + 1; y >= -1; y -= 3) edge.push_back({6 + 4 * Fbm1(float(y) * 0.08f, 905, 3), float(y)});
    Mask paper = MaskOf(c, {edge});
    Mask rim = paper;
    Mask inner = MakeMask(w, h);
    Contour shifted = edge;
    for (Point& p : shifted) p.x += 2;
    Cover(inner, {shifted});
    Subtract(rim, inner);
    Paint(c, rim, Hex(0x8C86B0), 0.8f);
    // The title set downward, a small lamp beneath it.
    Mask title = MakeMask(w, h);
    Lettering(title, "灯りの駅", 70, 70, 28, true, true);
    Paint(c, title, Cream);
    Glow(c, 84, 212, 5, Amber, 0.9f);
    Glow(c, 84, 212, 26, Amber, 0.25f);
    Mask lamp = MaskOf(c, {Polygon({{74, 204}, {94, 204}, {89, 198}, {79, 198}}), Rect(83, 190, 85, 198)});
    Paint(c, lamp, Hex(0x0E1024));
    // The two buttons, over the pixels the story screen's hit areas answer on.
    ButtonBox(c, layout::PanelMenuBox, Hex(0x2C3466), Hex(0xC8B890));
    CentredText(c, "メニュー", 98, 261, 16, false, Cream);
    ButtonBox(c, layout::PanelQuitBox, Hex(0x3A2A44), Hex(0xC8B890));
    CentredText(c, "終了", 109, 329, 14, false, Cream);
    return Keyed(c, paper, 4);
}

static Image MessageFrame() {
    const int w = layout::MessageFrame.width, h = layout::MessageFrame.height;
    Canvas c = MakeCanvas(w, h, Hex(0));
    SkyGradient(c, {{0, Hex(0x161A3A)}, {1, Hex(0x0C0F24)}});
    // Seen from the window's left edge (the frame is drawn left of it) to its right edge:
    // rounded upper corners, a fine inner line.
    Contour outline;
    const float left = float(-layout::MessageFrame.x), right = left + float(layout::ClientWidth), r = 12;
    for (int i = 0; i <= 8; ++i) {
        float a = float(M_PI) + float(i) * float(M_PI) / 16;
        outline.push_back({left + r + std::cos(a) * r, r + std::sin(a) * r});
    }
    for (int i = 0; i <= 8; ++i) {
        float a = 1.5f * float(M_PI) + float(i) * float(M_PI) / 16;
        outline.push_back({right - r + std::cos(a) * r, r + std::sin(a) * r});
    }
    outline.push_back({right, float(h + 1)});
    outline.push_back({left, float(h + 1)});
    Mask shows = MaskOf(c, {outline});
    Mask line = MaskOf(c, {Rect(left + 5, 5, right - 5, 6), Rect(left + 5, 5, left + 6, 96), Rect(right - 6, 5, right - 5, 96)});
    Paint(c, line, Hex(0x7A7CA8), 0.5f);
    // A small lamp at the right, where the text never reaches.
    Glow(c, 622, 78, 3, Amber, 0.8f);
    Glow(c, 622, 78, 14, Amber, 0.2f);
    return Keyed(c, shows, 5);
}

static Image ChoiceBox() {
    Canvas c = MakeCanvas(layout::ChoiceBox.width, layout::ChoiceBox.height, Hex(0));
    SkyGradient(c, {{0, Hex(0x1C2048)}, {1, Hex(0x10132E)}});
    Mask border = MaskOf(c, {Rect(3, 3, 467, 197)});
    Subtract(border, MaskOf(c, {Rect(4, 4, 466, 196)}));
    Paint(c, border, Hex(0xC8B890), 0.8f);
    // Options are written from x 80 (22 here) in rows from y 140 (50 here).
    Mask rule = MaskOf(c, {Rect(22, 40, 448, 41)});
    Paint(c, rule, Hex(0xC8B890), 0.4f);
    Glow(c, 30, 24, 4, Amber, 0.9f);
    Glow(c, 30, 24, 18, Amber, 0.25f);
    Text(c, "えらぶ", 44, 14, 16, true, Cream * 0.8f);
    return Finished(c, 6);
}

static Image MenuPage() {
    Canvas c = MakeCanvas(layout::MenuPage.width, layout::MenuPage.height, Hex(0));
    Sky(c, Night, 474);
    Stars(c, 907, 0.6f, 474);
    Cut(c, Ridge(640, 440, 50, 0.008f, 908, 474), Night.far * 0.8f, 0.3f);
    Cut(c, Woods(640, 458, 30, 909, 474), Night.front, 0.3f);
    // A paper card behind the buttons.
    const layout::Rect& r = layout::MenuCard;
    Mask card = MaskOf(c, {Rect(r.left, r.top, r.right, r.bottom)});
    Shadow(c, card, 4, 5, 10, 0.5f, Hex(0x05060E));
    Paint(c, card, Hex(0x141a3c), 0.85f);
    Mask heading = MakeMask(c.width, c.height);
    Lettering(heading, "システム", 586, 60, 20, true, true);
    Paint(c, heading, Cream * 0.8f);
    const Rgb fill = Hex(0x2C3466), edge = Hex(0xC8B890);
    for (const layout::ButtonRow& row : {layout::SaveRow, layout::LoadRow, layout::SpeedRow})
        for (int n = 0; n < row.count; ++n) ButtonBox(c, row.Button(n), fill, edge);
    // The music row: the menu's text gives it no words, so its label and the ON and OFF
    // marks are painted here, above the boxes that the highlight fills.
    Text(c, "おんがく", 170, 290, 18, false, Cream);
    CentredText(c, "ON", 195, 307, 14, false, Cream);
    CentredText(c, "OFF", 262, 307, 14, false, Cream);
    for (int n = 0; n < layout::MusicRow.count; ++n) ButtonBox(c, layout::MusicRow.Button(n), fill, edge);
    ButtonBox(c, layout::QuitGameBox, fill, edge);
    ButtonBox(c, layout::ReturnButton, fill, edge);
    return Finished(c, 7);
}

static Image Pointer() {
    const int size = layout::PointerSize;
    Canvas c = MakeCanvas(size, size, Hex(0x101428));
    Contour arrow = Polygon({{1, 1}, {1, 23}, {6.5f, 18}, {10.5f, 27}, {14.5f, 25.5f}, {10.5f, 16.5f}, {17.5f, 16.5f}});
    Mask outer = MaskOf(c, {arrow});
    Contour fill = Polygon({{2.6f, 4.6f}, {2.6f, 19.4f}, {7, 15.4f}, {11.3f, 24.9f}, {12.5f, 24.4f}, {8.3f, 15}, {14, 15}});
    Mask inner = MaskOf(c, {fill});
    Paint(c, inner, Cream);
    // The tip, where the pointer points, is a bright amber pixel.
    c.At(1, 1) = Amber;
    Image image{size, size, std::vector<uint32_t>(size_t(size) * size_t(size))};
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        Rgb p = c.px[i];
        auto q = [](float v) { return uint32_t(std::lround(std::clamp(v, 0.f, 1.f) * 255)); };
        image.pixels[i] = outer.a[i] < 0.5f ? KeyColour : q(p.r) << 16 | q(p.g) << 8 | q(p.b);
    }
    image.pixels[size + 1] = 0xFFB45A;
    image.pixels[0] = KeyColour;
    return image;
}

static Image Backdrop() {
    Canvas c = MakeCanvas(layout::ClientWidth, layout::ClientHeight, Hex(0));
    Sky(c, Night, 360);
    Stars(c, 910, 1.0f, 360);
    Cut(c, Ridge(640, 340, 90, 0.006f, 911, 474), Night.far, 0.3f);
    Cut(c, Woods(640, 400, 50, 912, 474), Night.mid, 0.35f);
    return Finished(c, 8);
}

const InterfacePicture InterfacePictures[9] = {
    {"across.sad", Logo, Format::Rle8, true},          {"savaback.sad", MenuPage, Format::Palette8, false},
    {"panel.sad", Panel, Format::Palette8, true},      {"expr.sad", Notice, Format::Rgb24, false},
    {"back.sad", Backdrop, Format::Rgb24, false},      {"message.sad", MessageFrame, Format::Rgb24, true},
    {"cursol.sad", Pointer, Format::Palette4, true},   {"comwin.sad", ChoiceBox, Format::Rgb24, false},
    {"tit.sad", Title, Format::Rgb24, false},
};

}  // namespace art
