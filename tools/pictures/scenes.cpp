// One recipe per story picture: which palette, which layers from far to near, which
// lights, and what moves from band to band.
#include "tools/pictures/scenes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "tools/pictures/figures.h"
#include "tools/pictures/props.h"

namespace art {

namespace {
using Recipe = void (*)(Canvas&, int band, int bands);

const View Down{170, 150, 330};  // down the platform from its near end

// Sky, a far ridge and a wooded ridge: the backdrop of every outdoor scene.
void Backdrop(Canvas& c, const Palette& p, float horizon, int seed, int frame = 0) {
    Sky(c, p, horizon);
    if (p.stars > 0) Stars(c, seed, p.stars, horizon, frame);
    Cut(c, Ridge(c.width, horizon - 20, 80, 0.006f, seed, float(c.height)), p.far, 0.3f);
    Cut(c, Ridge(c.width, horizon + 10, 50, 0.011f, seed + 1, float(c.height)), Mix(p.far, p.mid, 0.5f), 0.3f);
    Cut(c, Woods(c.width, horizon + 30, 42, seed + 2, float(c.height)), p.mid, 0.35f);
}

// Memories are softer: a slight blur and a pale vignette.
void Soften(Canvas& c, Rgb haze) {
    Canvas copy = c;
    for (int y = 1; y < c.height - 1; ++y)
        for (int x = 1; x < c.width - 1; ++x) {
            Rgb s = copy.At(x, y) * 4;
            s = s + copy.At(x - 1, y) + copy.At(x + 1, y) + copy.At(x, y - 1) + copy.At(x, y + 1);
            float dx = (float(x) / float(c.width) - 0.5f) * 2, dy = (float(y) / float(c.height) - 0.5f) * 2;
            float v = std::min(1.f, (dx * dx + dy * dy) * 0.45f);
            c.At(x, y) = Mix(s * (1.f / 8), haze, v * 0.7f);
        }
}

// Snow lying on the ground from `top` down, lit a little toward the bottom.
void SnowGround(Canvas& c, float top, const Palette& p) {
    Mask m = MaskOf(c, Ridge(c.width, top, 8, 0.02f, 77, float(c.height)));
    PaintGradient(c, m, Mix(p.snow, p.near, 0.45f), Mix(p.snow, p.near, 0.1f), top, float(c.height));
}

void Sc01(Canvas& c, int, int) {
    Backdrop(c, Dusk, 250, 101);
    SnowGround(c, 300, Dusk);
    Station(c, 250, 305, 1.0f, Dusk, 1.0f, false);
}

void Sc02(Canvas& c, int band, int bands) {
    Backdrop(c, Dusk, 170, 102);
    PlatformAndTrack(c, Down, Dusk, 80, 1.2f);
    PlatformLamp(c, Down, Dusk, -0.8f, 5, 0.8f, Dusk.light);
    if (band < bands - 1) {
        // Each band a third farther, so the train stays on the curve inside the frame.
        float z = 7 * std::pow(1.3f, float(band));
        float bend = 1.2f * z * z / 40.f;
        float x = TrackX + bend;
        Point a = Down.P(x - 1.4f, TrackBed + 0.4f, z), b = Down.P(x + 1.4f, TrackBed + 4.0f, z);
        Point far = Down.P(x + 1.2f * 2 * z / 40.f * 18 - 1.4f, TrackBed + 4.0f, z + 18);
        float s = Down.f / z, roof = (a.y - b.y) * 0.12f;
        Shape body{Polygon({{a.x, a.y}, {a.x, b.y + roof}, {a.x + (b.x - a.x) * 0.2f, b.y}, {b.x - (b.x - a.x) * 0.2f, b.y},
                            {b.x, b.y + roof}, {b.x, a.y}}),
                   Polygon({{a.x, b.y + roof}, {far.x, far.y}, {far.x, a.y - (a.y - b.y) * 0.5f}, {a.x, a.y}})};
        Mask m = MaskOf(c, body);
        Cut(c, m, Mix(Dusk.near, Hex(0x3A3A48), 0.3f), 0.4f);
        // The two rear windows, the cab dark, the car behind it lit.
        float wy = b.y + (a.y - b.y) * 0.25f, wh = (a.y - b.y) * 0.22f, ww = (b.x - a.x) * 0.3f;
        Shape windows{Rect(a.x + (b.x - a.x) * 0.12f, wy, a.x + (b.x - a.x) * 0.12f + ww, wy + wh),
                      Rect(b.x - (b.x - a.x) * 0.12f - ww, wy, b.x - (b.x - a.x) * 0.12f, wy + wh)};
        Paint(c, MaskOf(c, windows), Mix(Hex(0x1A1A28), Dusk.light, 0.35f));
        Paint(c, MaskOf(c, {Rect(a.x, a.y - (a.y - b.y) * 0.3f, b.x, a.y - (a.y - b.y) * 0.27f)}), Hex(0xC8B070), 0.5f);
        for (float side : {-1.f, 1.f}) {
            Point lamp = Down.P(x + side * 1.05f, TrackBed + 1.1f, z);
            Dot(c, lamp.x, lamp.y, std::max(0.8f, s * 0.1f), Hex(0xFF4030), 1);
            Glow(c, lamp.x, lamp.y, std::max(2.f, s * 0.3f), Hex(0xFF3020), 0.8f);
        }
    }
}

void Sc03(Canvas& c, int, int) {
    Palette p = Blend(Dusk, Night, 0.45f);
    Backdrop(c, p, 150, 103);
    PlatformAndTrack(c, Down, p, 60);
    PlatformLamp(c, Down, p, -0.8f, 9, 1, p.light);
    PlatformLamp(c, Down, p, -0.8f, 22, 0, p.light);
    NameBoard(c, 110, 120, 170, p, 0.5f);
}

void Sc07(Canvas& c, int band, int bands) {
    Backdrop(c, Night, 150, 107);
    PlatformAndTrack(c, Down, Night, 60);
    PlatformLamp(c, Down, Night, -0.8f, 7, 1, Night.light);
    PlatformLamp(c, Down, Night, -0.8f, 20, 0.6f, Night.light);
    Snowfall(c, 7, band, bands, 260, Mix(Night.snow, Hex(0xFFFFFF), 0.5f), 22);
}

// The far end of the platform: under its last lamp, a girl alone on the plank bench,
// seen from behind, facing the tunnel; snow falling. With `coatLent` she wears 湊's coat.
void GirlOnTheBench(Canvas& c, int band, int bands, bool coatLent) {
    const View v{200, 140, 330};
    Backdrop(c, Night, 140, 109);
    Tunnel(c, v, Night, 30, 0);
    PlatformAndTrack(c, v, Night, 28);
    PlatformLamp(c, v, Night, -0.2f, 14, 0.45f, Night.light);
    PlatformLamp(c, v, Night, -0.1f, 5.6f, 1, Night.light);
    const float z = 5.0f, k = v.f / z;
    const float seatY = v.P(0, PlatformTop + 0.45f, z).y, floorY = v.P(0, PlatformTop, z).y;
    const float left = v.P(-1.7f, 0, z).x, right = v.P(-0.5f, 0, z).x;
    const Rgb wood = Mix(Night.near, Hex(0x4A3424), 0.45f);
    Shape legs;
    for (float x : {left + 6, right - 9}) legs.push_back(Polygon({{x, seatY}, {x + 4, seatY}, {x + 5, floorY}, {x - 1, floorY}}));
    Cut(c, legs, wood * 0.7f, 0.4f);
    Mask plank = MaskOf(c, {Rect(left, seatY - 2, right, seatY + 4)});
    Cut(c, plank, wood, 0.4f);
    Rim(c, plank, 0, -2, Night.light, 0.4f);
    SnowOnTop(c, plank, Night.snow * 1.2f, 2);
    const float h = 1.58f * k;
    Figure(c, Who::Sayo, Pose::BackSit, {v.P(-1.05f, 0, z).x, seatY + 0.26f * h, h, 1, 0.85f, Night.light, 1, -2, 1},
           Holding::Nothing, coatLent);
    Snowfall(c, 9, band, bands, 220, Mix(Night.snow, Hex(0xFFFFFF), 0.5f), 22);
}

void Sc09(Canvas& c, int band, int bands) { GirlOnTheBench(c, band, bands, false); }
void Sc41(Canvas& c, int band, int bands) { GirlOnTheBench(c, band, bands, true); }

void Sc10(Canvas& c, int, int) {
    Backdrop(c, Night, 200, 110);
    // The lamps down the platform, out of focus behind her.
    for (int i = 0; i < 3; ++i) Glow(c, 80.f + float(i) * 45, 120.f + float(i) * 8, 10 - float(i) * 2, Night.light, 0.6f);
    SnowGround(c, 300, Night);
    Glow(c, 330, -20, 120, Night.light, 0.35f);
    SayoClose(c, 300, 160, 54, -1, 0.85f, Night.light, true);
    // The lamplight falls from above: her lap sinks into the dark below it.
    for (int y = 250; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) c.At(x, y) = c.At(x, y) * (1.f - 0.45f * float(y - 250) / 125.f);
    Snowfall(c, 10, 0, 1, 120, Mix(Night.snow, Hex(0xFFFFFF), 0.6f), 0);
}

// The waiting room: plank walls, a window on the snow, timetables, benches, the stove.
void WaitingRoom(Canvas& c, int flicker, float stoveX) {
    PlankWall(c, 0, 280, Hex(0x5A3A24), 41);
    Floor(c, 280, Hex(0x3A261A));
    NightWindow(c, 40, 60, 150, 190, Night, 4);
    WallNotice(c, 300, 70, 360, 160, 0.8f, 5);
    WallNotice(c, 372, 80, 420, 150, 0.8f, 6);
    InteriorBench(c, 20, 160, 290, Hex(0x3A2618));
    InteriorBench(c, 400, 520, 290, Hex(0x3A2618));
    Stove(c, stoveX, 340, 1.0f, 1.0f, flicker);
    // The stove lights the whole room: warm near, falling to dusk in the corners, and
    // breathing a little with the flame.
    float breath = 0.75f * (1 + 0.05f * std::sin(float(flicker) * 2.3f + 0.5f));
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            float dx = (float(x) - stoveX) / 300, dy = (float(y) - 290) / 260;
            c.At(x, y) = c.At(x, y) * (0.45f + breath * std::exp(-(dx * dx + dy * dy) * 2.f));
        }
}

void Sc04(Canvas& c, int band, int) {
    WaitingRoom(c, band, 270);
}

void SayoByStove(Canvas& c, Holding holding, bool coat) {
    WaitingRoom(c, 1, 350);
    InteriorBench(c, 110, 250, 272, Hex(0x3A2618));
    Figure(c, Who::Sayo, Pose::Sit, {200, 340, 240, 1, 0.9f, Hex(0xFFA050), 5, 0, 1}, holding, coat);
}
void Sc11(Canvas& c, int, int) { SayoByStove(c, Holding::HandsOut, false); }
void Sc12(Canvas& c, int, int) { SayoByStove(c, Holding::Nothing, true); }
void Sc13(Canvas& c, int, int) { SayoByStove(c, Holding::Cup, false); }

void Desk(Canvas& c, float top, Rgb wood) {
    Mask m = MaskOf(c, {Rect(-2, top, float(c.width + 2), float(c.height))});
    PaintGradient(c, m, wood * 1.1f, wood * 0.6f, top, float(c.height));
    Shape grain;
    for (int i = 0; i < 14; ++i) grain.push_back(Wire({-5, top + 8 + float(i) * 9}, {float(c.width) + 5, top + 12 + float(i) * 9}, 3 * Hash(i, 0, 2), 0.8f));
    Paint(c, MaskOf(c, grain), wood * 0.7f, 0.5f);
}

void GreenLamp(Canvas& c, float x, float y, float light) {
    Shape lamp{Polygon({{x - 40, y + 20}, {x + 40, y + 20}, {x + 22, y - 6}, {x - 22, y - 6}}),
               Rect(x - 3, y + 20, x + 3, y + 80), Rect(x - 22, y + 78, x + 22, y + 86)};
    Mask m = MaskOf(c, lamp);
    Cut(c, m, Hex(0x1E4A30), 0.5f);
    Rim(c, m, 0, -2, Hex(0x6ACB8A), 0.5f);
    LightPool(c, x, y + 100, 130, 45, Hex(0xFFE0A0), 0.9f * light);
    Glow(c, x, y + 24, 18, Hex(0xFFE8B0), 0.6f * light);
}

void Sc05(Canvas& c, int, int) {
    PlankWall(c, 0, 250, Hex(0x3A281A), 51);
    Desk(c, 250, Hex(0x4A3020));
    // Ticket case with its pigeon-holes, the round clock.
    Shape cells;
    Contour caseBox = Rect(300, 40, 470, 170);
    for (int r = 0; r < 5; ++r)
        for (int k = 0; k < 7; ++k) cells.push_back(Rect(306 + float(k) * 23.5f, 46 + float(r) * 24.5f, 324 + float(k) * 23.5f, 66 + float(r) * 24.5f));
    Cut(c, {caseBox}, Hex(0x3A2414), 0.5f);
    Paint(c, MaskOf(c, cells), Hex(0x140C08));
    Shape tickets;
    for (int i = 0; i < 35; ++i)
        if (Hash(i, 0, 9) > 0.3f) {
            float x = 308 + float(i % 7) * 23.5f, y = 52 + float(i / 7) * 24.5f;
            tickets.push_back(Rect(x, y, x + 14, y + 14));
        }
    Paint(c, MaskOf(c, tickets), Hex(0xB8A880), 0.6f);
    Mask clock = MaskOf(c, {Ellipse(130, 80, 42, 42)});
    Cut(c, clock, Hex(0x2A1A10), 0.5f);
    Paint(c, MaskOf(c, {Ellipse(130, 80, 34, 34)}), Hex(0xD8D0B8));
    Paint(c, MaskOf(c, {Stroke({130, 80}, {130, 52}, 3), Stroke({130, 80}, {150, 88}, 4)}), Hex(0x1A1410));
    // The ledger open on the desk.
    Shape ledger{Polygon({{140, 300}, {250, 290}, {252, 350}, {130, 362}}), Polygon({{250, 290}, {360, 296}, {372, 358}, {252, 350}})};
    Cut(c, ledger, Hex(0xD8CCA8), 0.5f);
    Shape rules;
    for (int i = 1; i < 8; ++i) {
        rules.push_back(Stroke({140 - float(i) * 1.3f, 300 + float(i) * 7.5f}, {250, 290 + float(i) * 7.5f}, 0.8f));
        rules.push_back(Stroke({250, 290 + float(i) * 7.5f}, {361 + float(i) * 1.5f, 296 + float(i) * 7.5f}, 0.8f));
    }
    Paint(c, MaskOf(c, rules), Hex(0x7A6A58), 0.6f);
    GreenLamp(c, 420, 215, 1);
    for (size_t i = 0; i < c.px.size(); ++i) c.px[i] = c.px[i] * 0.8f;
}

// Yellowed paper with the warm light of a lamp from the left.
void PaperSheet(Canvas& c, const Contour& shape, Rgb paper) {
    Mask m = MaskOf(c, {shape});
    Cut(c, m, paper, 0.55f);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            float a = m.At(x, y);
            if (a <= 0) continue;
            float stain = Noise2(float(x) * 0.03f, float(y) * 0.03f, 61) * 0.18f;
            c.At(x, y) = c.At(x, y) * (1.f - stain * a);
        }
}

// The old departure timetable found behind the new one: one column per train, the first
// at the left, the last at the right, its 二三 四〇 marked 最終 and ringed in red ink
// gone over many times.
void Sc06(Canvas& c, int, int) {
    PlankWall(c, 0, 375, Hex(0x3A281A), 61);
    PaperSheet(c, Rect(30, 20, 470, 360), Hex(0xD8C89C));
    const char* times[] = {"六時十分", "九時五分", "十二時半", "十五時", "十八時二十"};
    Mask ink = MakeMask(c.width, c.height);
    const char* title = "灯野驛　發車時刻表";
    Lettering(ink, title, 250 - LetteringWidth(title, 26, true) / 2, 32, 26, true);
    Shape rules;
    for (int i = 0; i <= 6; ++i) rules.push_back(Rect(80 + float(i) * 62, 80, 81.5f + float(i) * 62, 345));
    rules.push_back(Rect(80, 80, 453, 81.5f));
    rules.push_back(Rect(80, 140, 453, 141));
    Cover(ink, rules);
    for (int i = 0; i < 6; ++i) {
        float x = 111 + float(i) * 62;  // the column's centre
        Lettering(ink, "普通", x - 11, 90, 22, true, true);
        if (i < 5) Lettering(ink, times[i], x - 10, 155, 20, true, true);
    }
    Lettering(ink, "最終", 413, 148, 16, true, true);
    Lettering(ink, "二三", 405, 192, 26, true, true);
    Lettering(ink, "四〇", 405, 256, 26, true, true);
    Paint(c, ink, Hex(0x2A2018), 0.85f);
    // The red ring, gone round again and again, never quite on the same line.
    Mask ring = MakeMask(c.width, c.height);
    for (int k = 0; k < 4; ++k) {
        float dx = (Hash(k, 0, 6) - 0.5f) * 5, dy = (Hash(k, 1, 6) - 0.5f) * 7, grow = Hash(k, 2, 6) * 4;
        Mask one = MaskOf(c, {Ellipse(419 + dx, 254 + dy, 28 + grow, 70 + grow)});
        Subtract(one, MaskOf(c, {Ellipse(419 + dx, 254 + dy, 25.5f + grow, 67.5f + grow)}));
        Cover(ring, {});
        for (size_t i = 0; i < ring.a.size(); ++i) ring.a[i] = std::max(ring.a[i], one.a[i]);
    }
    Paint(c, ring, Hex(0xA8383A), 0.7f);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) c.At(x, y) = c.At(x, y) * (1.15f - 0.55f * float(x) / float(c.width));
}

void Sc08(Canvas& c, int band, int) {
    Sky(c, Night, 375);
    Stars(c, 8, 0.5f, 300);
    const float light[] = {1.0f, 0.45f, 0.12f};
    const Rgb colour[] = {Hex(0xFFC070), Hex(0xB8C8FF), Hex(0xFFA060)};
    float l = light[band % 3];
    Glow(c, 250, 200, 160, colour[band % 3], 0.25f * l);
    Shape iron{Polygon({{140, 170}, {360, 170}, {290, 90}, {210, 90}}), Rect(236, 60, 264, 92), Rect(244, 0, 256, 62),
               Rect(150, 168, 350, 178)};
    Mask m = MaskOf(c, iron);
    Cut(c, m, Hex(0x1A1A22), 0.5f);
    SnowOnTop(c, m, Night.snow * 1.3f, 10);
    Mask bulb = MaskOf(c, {Ellipse(250, 205, 26, 30)});
    Paint(c, bulb, Mix(Hex(0x3A3428), Mix(colour[band % 3], Hex(0xFFFFFF), 0.5f), l));
    Rim(c, m, 0, 4, colour[band % 3], 0.7f * l);
    Glow(c, 250, 205, 30, colour[band % 3], 0.9f * l);
    Snowfall(c, 8, 0, 1, 90, Mix(Night.snow, Hex(0xFFFFFF), 0.5f), 0);
}

// A point on a quadratic curve from a through m to b.
Point Curve(Point a, Point m, Point b, float t) {
    float u = 1 - t;
    return {u * u * a.x + 2 * u * t * m.x + t * t * b.x, u * u * a.y + 2 * u * t * m.y + t * t * b.y};
}

// The old aluminium kettle on the stove top: a wide low body, a lid with its knob, a
// spout curving up from the side, a bail handle with a wooden grip; dents, shine and
// the stove's glow on its lower edge, steam from the spout.
void Sc14(Canvas& c, int band, int) {
    Sky(c, Indoor, 375);
    PlankWall(c, 0, 230, Hex(0x3A2416), 14);
    // The stove pipe behind, and the round iron top plate with the firebox's glow at its rim.
    Mask pipe = MaskOf(c, {Rect(40, -5, 92, 250)});
    Cut(c, pipe, Hex(0x1E1A1C), 0.5f);
    Rim(c, pipe, 3, 0, Hex(0xFF9A50), 0.45f);
    Mask plate = MaskOf(c, {Ellipse(250, 300, 250, 58), Rect(0, 300, 500, 380)});
    Cut(c, plate, Hex(0x242022), 0.5f);
    Mask lid = MaskOf(c, {Ellipse(250, 296, 170, 36)});
    Subtract(lid, MaskOf(c, {Ellipse(250, 296, 166, 34)}));
    Paint(c, lid, Hex(0x3A3232), 0.8f);
    Mask seam = MaskOf(c, {Wire({0, 352}, {500, 352}, 6, 3)});
    Paint(c, seam, Hex(0xFF7A30), 0.7f);
    Glow(c, 250, 360, 200, Hex(0xFF7A30), 0.3f);
    // The body: the bottom edge, up round the shoulders to the lid's rim.
    const float bottom = 300, left = 118, right = 382, top = 196;
    Contour body;
    for (int i = 0; i <= 8; ++i) body.push_back(Curve({left + 10, bottom}, {left - 8, bottom - 52}, {150, top + 26}, float(i) / 8));
    for (int i = 1; i <= 8; ++i) body.push_back(Curve({150, top + 26}, {168, top + 2}, {200, top}, float(i) / 8));
    for (int i = 0; i <= 8; ++i) body.push_back(Curve({300, top}, {332, top + 2}, {350, top + 26}, float(i) / 8));
    for (int i = 1; i <= 8; ++i) body.push_back(Curve({350, top + 26}, {right + 8, bottom - 52}, {right - 10, bottom}, float(i) / 8));
    // The spout from the lower right of the body, curving up and out to its open tip.
    Contour spout;
    for (int i = 0; i <= 10; ++i) spout.push_back(Curve({352, 262}, {408, 252}, {442, 178}, float(i) / 10));
    for (int i = 10; i >= 0; --i) {
        Point q = Curve({356, 292}, {426, 270}, {456, 184}, float(i) / 10);
        spout.push_back(q);
    }
    Mask metal = MaskOf(c, {body, spout});
    Cut(c, metal, Hex(0x9094A0), 0.5f);
    PaintGradient(c, metal, Hex(0xC8CCD4), Hex(0x5E626C), 190, 300);
    // The window's light down the left of the body, a second shine on the spout, and the
    // stove's orange along the bottom.
    Mask shine = MaskOf(c, {Polygon({{158, 220}, {182, 208}, {176, 290}, {150, 292}})});
    Blur(shine, 6);
    Paint(c, shine, Hex(0xF2F4F8), 0.55f);
    Paint(c, MaskOf(c, {Stroke({412, 246}, {436, 196}, 4)}), Hex(0xE8ECF0), 0.4f);
    Mask low = MaskOf(c, {Rect(100, 270, 400, 302)});
    for (size_t i = 0; i < low.a.size(); ++i) low.a[i] *= metal.a[i];
    Blur(low, 6);
    Paint(c, low, Hex(0xFF8A40), 0.3f);
    // Dents: a soft hollow, lit on its lower lip.
    for (Point d : {Point{292, 252}, Point{214, 272}}) {
        Mask hollow = MaskOf(c, {Ellipse(d.x, d.y, 18, 10)});
        Blur(hollow, 4);
        Paint(c, hollow, Hex(0x5A5E68), 0.18f);
        Mask lip = MaskOf(c, {Ellipse(d.x + 3, d.y + 6, 10, 3)});
        Blur(lip, 2);
        Paint(c, lip, Hex(0xE4E8EE), 0.25f);
    }
    Cut(c, {Rect(left + 4, bottom - 6, right - 4, bottom + 2)}, Hex(0x2A2628), 0.2f);  // soot at the base
    Rim(c, metal, -3, -3, Hex(0xE8ECF4), 0.4f);
    // The lid, a low dome with its rim, and the black knob.
    Mask lidTop = MaskOf(c, {Ellipse(250, 197, 56, 12), Polygon({{196, 197}, {304, 197}, {290, 186}, {210, 186}})});
    Cut(c, lidTop, Hex(0xA8ACB6), 0.35f);
    PaintGradient(c, lidTop, Hex(0xD4D8E0), Hex(0x8A8E98), 180, 205);
    Mask knob = MaskOf(c, {Ellipse(250, 180, 12, 7), Rect(244, 180, 256, 188)});
    Cut(c, knob, Hex(0x1A1618), 0.3f);
    Rim(c, knob, -1, -2, Hex(0xE8ECF4), 0.5f);
    // The bail handle: two lugs on the shoulders, the wire arching over, a wooden grip.
    Shape lugs{Ellipse(172, 212, 5, 6), Ellipse(328, 212, 5, 6)};
    Cut(c, lugs, Hex(0x8A8E98), 0.25f);
    Mask wire = MaskOf(c, {Wire({172, 210}, {328, 210}, -112, 4)});
    Cut(c, wire, Hex(0x6E727C), 0.4f);
    Rim(c, wire, -1, -2, Hex(0xE8ECF4), 0.6f);
    Mask grip = MaskOf(c, {Polygon({{212, 110}, {288, 110}, {290, 122}, {210, 122}}), Ellipse(212, 116, 4, 6),
                           Ellipse(288, 116, 4, 6)});
    Cut(c, grip, Hex(0x5A3A22), 0.4f);
    PaintGradient(c, grip, Hex(0x8A5E3A), Hex(0x3A2414), 108, 124);
    const float sway[] = {-1.f, 0.f, 1.f};
    Steam(c, 450, 178, 160, 18 * sway[band % 3] + 6, 1.3f * float(band), Hex(0xF4F0EC), 0.45f);
}

// Roundness for a flat cut: its edges darken toward `shade` over about `radius` pixels,
// as the sides of a finger or a palm turn away from the light.
void Round(Canvas& c, const Mask& m, Rgb shade, int radius, float strength) {
    Mask soft = m;
    Blur(soft, radius);
    Mask edge = m;
    for (size_t i = 0; i < edge.a.size(); ++i) edge.a[i] = m.a[i] * std::max(0.f, 1.f - soft.a[i]) * 2;
    Paint(c, edge, shade, strength);
}

void Sc15(Canvas& c, int, int) {
    Sky(c, Paper, 375);
    Glow(c, 120, 60, 200, Paper.light, 0.25f);
    // The waiting room's lights, far behind and out of focus.
    Glow(c, 440, 40, 16, Paper.light, 0.3f);
    Glow(c, 470, 250, 10, Paper.light, 0.2f);
    // A right hand, palm up, fingers toward the right and a little up, thumb below; laid
    // out from the palm's centre along the hand (`d`) and across it toward the thumb (`s`).
    const float tilt = -0.4f;
    const Point d{std::cos(tilt), std::sin(tilt)}, s{-d.y, d.x};
    auto at = [&](float u, float v) { return Point{228 + d.x * u + s.x * v, 228 + d.y * u + s.y * v}; };
    const Rgb skin = Hex(0xF0DCCC), shade = Hex(0xB08E82), lamp = Hex(0xFFD8A0);
    // The thumb first, out and down from the heel of the hand, the palm over its root.
    Point thumbRoot = at(-60, 70);
    float thumbAngle = tilt + 0.75f;
    Mask thumb = MaskOf(c, {Finger(thumbRoot, thumbAngle, 140, 62, 46)});
    Cut(c, thumb, skin, 0.4f);
    Round(c, thumb, shade, 16, 0.6f);
    Rim(c, thumb, -3, -4, lamp, 0.4f);
    Paint(c, MaskOf(c, {FingerCreases(thumbRoot, thumbAngle, 140, 54)[1]}), shade * 0.8f, 0.35f);
    Contour palm{at(-190, -95), at(-60, -110), at(60, -112), at(112, -100), at(126, -50), at(128, 10),
                 at(120, 70), at(100, 104), at(30, 112), at(-80, 112), at(-190, 92)};
    Mask palmMask = MaskOf(c, {palm});
    Cut(c, palmMask, skin, 0.4f);
    Round(c, palmMask, shade, 40, 0.6f);
    // The hollow of the cupped palm and the three lines across it.
    Mask hollow = MaskOf(c, {Ellipse(at(10, 10).x, at(10, 10).y, 70, 50)});
    Blur(hollow, 50);
    Paint(c, hollow, shade, 0.3f);
    Shape lines;
    auto curve = [&](Point a, Point b, Point m) {
        for (int i = 0; i < 12; ++i) {
            auto q = [&](float t) {
                return Point{(1 - t) * (1 - t) * a.x + 2 * t * (1 - t) * m.x + t * t * b.x,
                             (1 - t) * (1 - t) * a.y + 2 * t * (1 - t) * m.y + t * t * b.y};
            };
            lines.push_back(Stroke(q(float(i) / 12), q(float(i + 1) / 12), 1.2f));
        }
    };
    curve(at(90, -96), at(40, 96), at(56, -10));       // heart line, along the fingers' roots
    curve(at(30, 100), at(-20, -80), at(-20, 30));     // head line
    curve(at(-10, 104), at(-150, 30), at(-100, 110));  // life line, round the thumb's root
    Paint(c, MaskOf(c, lines), shade * 0.75f, 0.3f);
    // Four fingers close together from the knuckles, little to index (the index beside
    // the thumb), each a cut of its own so that a soft shadow parts it from the next.
    struct Digit {
        float v, length, root, spread;
    } digits[] = {{-82, 120, 46, -0.1f}, {-34, 160, 52, -0.03f}, {18, 168, 54, 0.02f}, {70, 146, 52, 0.08f}};
    for (const Digit& f : digits) {
        Point base = at(96 - std::abs(f.v + 6) * 0.3f, f.v);
        float angle = tilt + f.spread;
        Mask m = MaskOf(c, {Finger(base, angle, f.length, f.root, f.root * 0.78f)});
        Cut(c, m, skin, 0.3f);
        Round(c, m, shade, 14, 0.6f);
        Rim(c, m, -3, -4, lamp, 0.4f);
        Paint(c, MaskOf(c, FingerCreases(base, angle, f.length, f.root)), shade * 0.8f, 0.35f);
    }
    Rim(c, palmMask, -3, -4, lamp, 0.3f);
    // Her navy sleeve over the wrist, with the three white lines of the uniform's cuff.
    Contour sleeve{at(-170, -150), at(-162, 150), at(-400, 150), at(-400, -150)};
    Mask sleeveMask = MaskOf(c, {sleeve});
    Cut(c, sleeveMask, Hex(0x1E2442), 0.5f);
    Rim(c, sleeveMask, 3, -3, lamp, 0.35f);
    Shape cuff;
    for (int i = 0; i < 3; ++i) {
        float u = -188 - float(i) * 9;
        cuff.push_back(Stroke(at(u, -150), at(u + 2, 150), 2.4f));
    }
    Mask cuffMask = MaskOf(c, cuff);
    for (size_t i = 0; i < cuffMask.a.size(); ++i) cuffMask.a[i] *= sleeveMask.a[i];
    Paint(c, cuffMask, Hex(0xE6E2DA), 0.85f);
    // The ticket lying across the palm.
    Contour ticket = Polygon({{170, 170}, {330, 150}, {345, 255}, {185, 275}});
    PaperSheet(c, ticket, Hex(0xE2D2A4));
    Mask ink = MakeMask(c.width, c.height);
    Lettering(ink, "灯野→", 195, 175, 34, true);
    Lettering(ink, "31.-2.14", 200, 222, 20, false);
    Lettering(ink, "三等 普通", 205, 246, 13, true);
    Cover(ink, {Stroke({180, 212}, {335, 193}, 1.2f)});
    Paint(c, ink, Hex(0x3A2A22), 0.85f);
}

void Sc16(Canvas& c, int band, int) {
    PlankWall(c, 0, 375, Hex(0x2E1E14), 16);
    Shape beams{Rect(-5, 0, 505, 40), Rect(-5, 110, 505, 132), Polygon({{-5, 40}, {120, 40}, {-5, 110}})};
    Cut(c, beams, Hex(0x1A120C), 0.5f);
    const float angle[] = {-0.28f, 0.f, 0.28f};
    for (size_t i = 0; i < c.px.size(); ++i) c.px[i] = c.px[i] * 0.6f;
    HangingBulb(c, 250, 40, 190, angle[band % 3], 1);
}

// A flared horn along the axis from `throat` to `mouth`: its radius grows exponentially
// from r0 to r1, so it reads as a loudspeaker rather than a cone.
Contour Horn(Point throat, Point mouth, float r0, float r1) {
    float dx = mouth.x - throat.x, dy = mouth.y - throat.y, len = std::hypot(dx, dy);
    Point n{-dy / len, dx / len};
    Contour side, other;
    for (int i = 0; i <= 24; ++i) {
        float t = float(i) / 24, r = r0 * std::pow(r1 / r0, t * t);
        Point a{throat.x + dx * t, throat.y + dy * t};
        side.push_back({a.x + n.x * r, a.y + n.y * r});
        other.push_back({a.x - n.x * r, a.y - n.y * r});
    }
    side.insert(side.end(), other.rbegin(), other.rend());
    return side;
}

// An ellipse of half-axes (along, across) turned to the direction (dx, dy).
Contour TurnedEllipse(Point centre, float along, float across, float dx, float dy) {
    float len = std::hypot(dx, dy), ux = dx / len, uy = dy / len;
    Contour e;
    for (int i = 0; i < 48; ++i) {
        float a = 6.2831853f * float(i) / 48, u = std::cos(a) * along, v = std::sin(a) * across;
        e.push_back({centre.x + ux * u - uy * v, centre.y + uy * u + ux * v});
    }
    return e;
}

void Sc17(Canvas& c, int, int) {
    Sky(c, Night, 375);
    Stars(c, 17, 0.8f, 375);
    Glow(c, 230, 430, 230, Hex(0x6A84D0), 0.45f);
    // Telegraph wires from the post's crossbar, sagging away on both sides.
    Shape wires{Wire({-10, 95}, {292, 70}, 18, 1.6f), Wire({348, 70}, {510, 110}, 10, 1.6f),
                Wire({-10, 130}, {292, 70}, 30, 1.4f)};
    Cut(c, wires, Hex(0x2A3050), 0.2f);
    // The post, its grain, the crossbar with two porcelain insulators.
    Mask post = MaskOf(c, {Rect(300, -5, 340, 380), Rect(270, 64, 370, 78)});
    Cut(c, post, Hex(0x2C2218), 0.5f);
    Shape grain;
    for (int i = 0; i < 5; ++i) grain.push_back(Wire({306 + float(i) * 7, -5}, {304 + float(i) * 7.5f, 380}, 2, 0.8f));
    Paint(c, MaskOf(c, grain), Hex(0x1A140E), 0.6f);
    Cut(c, {Ellipse(284, 60, 6, 7), Ellipse(356, 60, 6, 7)}, Hex(0xB8C0D0), 0.3f);
    Rim(c, post, 0, 6, Hex(0x7C90D0), 0.5f);
    SnowOnTop(c, MaskOf(c, {Rect(270, 64, 370, 78)}), Night.snow * 1.5f, 4);
    // The iron strap and bracket holding the horn's driver out from the post.
    Shape bracket{Rect(296, 150, 344, 160), Stroke({300, 156}, {268, 168}, 8), Stroke({300, 196}, {262, 176}, 6)};
    Cut(c, bracket, Hex(0x1A1C24), 0.4f);
    // The horn: its driver, the flare, two seams and the mouth with its rim.
    const Point throat{262, 172}, mouth{112, 236};
    Mask driver = MaskOf(c, {Ellipse(268, 170, 22, 20)});
    Cut(c, driver, Hex(0x30343E), 0.5f);
    Mask horn = MaskOf(c, {Horn(throat, mouth, 9, 64)});
    Cut(c, horn, Hex(0x4C525E), 0.5f);
    PaintGradient(c, horn, Hex(0x5A6272), Hex(0x3A404C), 150, 300);
    float dx = mouth.x - throat.x, dy = mouth.y - throat.y;
    for (float t : {0.35f, 0.7f}) {
        Point a{throat.x + dx * t, throat.y + dy * t};
        float r = 9 * std::pow(64.f / 9, t * t), len = std::hypot(dx, dy);
        Point n{-dy / len * r, dx / len * r};
        Paint(c, MaskOf(c, {Stroke({a.x + n.x, a.y + n.y}, {a.x - n.x, a.y - n.y}, 2)}), Hex(0x2A2E38), 0.8f);
    }
    Mask rim = MaskOf(c, {TurnedEllipse(mouth, 16, 66, dx, dy)});
    Paint(c, rim, Hex(0x6A7284));
    Mask inside = MaskOf(c, {TurnedEllipse({mouth.x + 2, mouth.y}, 12, 58, dx, dy)});
    PaintGradient(c, inside, Hex(0x0C0E16), Hex(0x262C40), 170, 300);
    Mask whole = horn;
    Cover(whole, {TurnedEllipse(mouth, 16, 66, dx, dy), Ellipse(268, 170, 22, 20)});
    Rim(c, whole, 0, 5, Hex(0x8AA0E0), 0.55f);
    SnowOnTop(c, whole, Night.snow * 1.5f, 6);
    // The cable from the driver down the front of the post, white with frost.
    Mask cable = MaskOf(c, {Wire({276, 188}, {314, 250}, 10, 3.5f), Rect(312.5f, 249, 316, 380)});
    Cut(c, cable, Hex(0x14161E), 0.3f);
    for (int i = 0; i < 14; ++i) {
        float y = 256 + float(i) * 8.5f + Hash(i, 2, 171) * 5;
        Dot(c, 314 + (Hash(i, 0, 171) - 0.5f) * 3, y, 0.7f + Hash(i, 1, 171) * 0.8f, Hex(0xD8E2F4), 0.6f);
    }
    Snowfall(c, 17, 0, 1, 60, Mix(Night.snow, Hex(0xFFFFFF), 0.5f), 0);
}

// A sepia print of the station with its staff, for the photograph.
Canvas OldPhoto(int w, int h) {
    Canvas p = MakeCanvas(w, h, Hex(0));
    Backdrop(p, Morning, float(h) * 0.45f, 180);
    SnowGround(p, float(h) * 0.55f, Morning);
    Station(p, float(w) * 0.5f, float(h) * 0.66f, 0.55f, Morning, 0, false);
    for (int i = 0; i < 5; ++i)
        Figure(p, Who::Minato, Pose::Stand, {float(w) * 0.28f + float(i) * 26, float(h) * 0.92f, 70, i < 2 ? 1 : -1, 0.8f, Hex(0), 0, 0, 1});
    Figure(p, Who::Sayo, Pose::Stand, {float(w) * 0.88f, float(h) * 0.93f, 62, -1, 0.9f, Hex(0), 0, 0, 1});
    for (Rgb& px : p.px) {
        float l = 0.3f * px.r + 0.6f * px.g + 0.1f * px.b;
        px = Mix(Hex(0x3A2818), Hex(0xF0DCB0), std::min(1.f, l * 1.2f));
    }
    return p;
}

void Sc18(Canvas& c, int, int) {
    Sky(c, Paper, 375);
    Desk(c, 0, Hex(0x3A2618));
    Contour border;
    for (int i = 0; i < 120; ++i) {
        float t = float(i) / 120;
        float x, y;
        if (t < 0.25f) x = 70 + t * 4 * 360, y = 50;
        else if (t < 0.5f) x = 430, y = 50 + (t - 0.25f) * 4 * 270;
        else if (t < 0.75f) x = 430 - (t - 0.5f) * 4 * 360, y = 320;
        else x = 70, y = 320 - (t - 0.75f) * 4 * 270;
        float scallop = (i % 2) ? 3.f : 0.f;
        border.push_back({x + (x < 250 ? -scallop : scallop) * ((t >= 0.25f && t < 0.5f) || t >= 0.75f ? 1.f : 0.f),
                          y + (y < 185 ? -scallop : scallop) * (t < 0.25f || (t >= 0.5f && t < 0.75f) ? 1.f : 0.f)});
    }
    Cut(c, {border}, Hex(0xEAE2CC), 0.55f);
    Canvas photo = OldPhoto(330, 240);
    for (int y = 0; y < photo.height; ++y)
        for (int x = 0; x < photo.width; ++x) c.At(85 + x, 65 + y) = photo.At(x, y);
    LightPool(c, 150, 120, 260, 200, Paper.light, 0.35f);
}

void Sc19(Canvas& c, int, int) {
    Sky(c, Paper, 375);
    Desk(c, 0, Hex(0x3A2618));
    Contour env = Polygon({{150, 80}, {360, 70}, {372, 330}, {160, 340}});
    PaperSheet(c, env, Hex(0xDCCFAE));
    Mask ink = MakeMask(c.width, c.height);
    Lettering(ink, "母さんへ", 245, 110, 38, true, true);
    Paint(c, ink, Hex(0x2A2A3A), 0.8f);
    GreenLamp(c, 440, 20, 1);
    for (size_t i = 0; i < c.px.size(); ++i) c.px[i] = c.px[i] * 0.85f;
}

void Sc20(Canvas& c, int, int) {
    Sky(c, Paper, 375);
    Desk(c, 0, Hex(0x2E1E14));
    PaperSheet(c, Rect(30, 30, 470, 360), Hex(0xD4C8A4));
    Shape rules;
    for (float y = 50; y < 350; y += 16) rules.push_back(Rect(40, y, 460, y + 0.8f));
    Paint(c, MaskOf(c, rules), Hex(0x6A8AA8), 0.5f);
    Contour cutting = Polygon({{110, 70}, {400, 80}, {396, 320}, {104, 312}});
    PaperSheet(c, cutting, Hex(0xCCC4AE));
    Mask ink = MakeMask(c.width, c.height);
    Lettering(ink, "雪崩で列車不通", 350, 92, 30, true, true);
    Lettering(ink, "女学生行方不明", 305, 120, 24, true, true);
    Paint(c, ink, Hex(0x1E1C1E), 0.9f);
    // The article itself in small vertical columns, right to left.
    const char* columns[] = {"十四日未明、灯野驛附近にて",   "大規模なる雪崩發生し、上り",   "最終列車は隧道手前にて立往",
                             "生、全線不通となる。乗客は",   "驛員の誘導により驛舎へ避難",   "せるも、同列車にて歸省中の",
                             "女學生一名の行方いまだ知れ",   "ず。驛員ならびに村の消防團",   "は夜を徹して捜索を續けてゐ",
                             "るが、積雪深く作業は難航し", "てゐる。"};
    Mask type = MakeMask(c.width, c.height);
    for (int col = 0; col < 11; ++col) Lettering(type, columns[col], 266 - float(col) * 15, 96, 11.5f, true, true);
    Paint(c, type, Hex(0x3A3836), 0.8f);
    Shape pin{Ellipse(255, 78, 6, 6)};
    Cut(c, pin, Hex(0xB03030), 0.5f);
    LightPool(c, 120, 120, 280, 220, Paper.light, 0.3f);
}

void Sc21(Canvas& c, int, int) {
    Backdrop(c, Blizzard, 150, 121);
    Tunnel(c, Down, Blizzard, 40, 0);
    PlatformAndTrack(c, Down, Blizzard, 38);
    Point feet = Down.P(TrackX, TrackBed, 9);
    Figure(c, Who::Minato, Pose::BackWalk, {feet.x, feet.y, Down.f * 1.7f / 9, 1, 0.8f, Hex(0), 0, 0, 1});
    Point lamp = Down.P(TrackX + 0.45f, TrackBed + 0.8f, 9);
    Glow(c, lamp.x, lamp.y, 8, Blizzard.light, 1.0f);
    Glow(c, lamp.x, lamp.y, 50, Blizzard.light, 0.35f);
    Snowfall(c, 21, 0, 1, 900, Blizzard.snow, 0);
    Soften(c, Blizzard.sky[3]);
}

void Sc22(Canvas& c, int, int) {
    Palette p = Blend(Morning, Blizzard, 0.5f);
    Backdrop(c, p, 200, 122);
    SnowGround(c, 290, p);
    // A small town house: dark board walls, a low tiled roof deep in snow, a latticed
    // window lit from within, and the sliding door open on the warm entrance.
    const Rgb boards = Mix(p.near, Hex(0x4A3426), 0.5f);
    Mask wall = MaskOf(c, {Rect(30, 150, 250, 300)});
    Cut(c, wall, boards, 0.5f);
    Shape seams;
    for (float x = 38; x < 250; x += 9) seams.push_back(Rect(x, 150, x + 1, 300));
    seams.push_back(Rect(30, 176, 250, 179));  // the beam under the eaves
    Paint(c, MaskOf(c, seams), boards * 0.7f);
    Mask roof = MaskOf(c, {Polygon({{4, 160}, {46, 116}, {234, 116}, {276, 160}})});
    Cut(c, roof, Mix(p.near, Hex(0x3A3A44), 0.5f), 0.5f);
    Shape tiles;
    for (float y = 124; y < 160; y += 7) tiles.push_back(Rect(0, y, 280, y + 1.2f));
    Mask tileMask = MaskOf(c, tiles);
    for (size_t i = 0; i < tileMask.a.size(); ++i) tileMask.a[i] *= roof.a[i];
    Paint(c, tileMask, Hex(0x1E1E26), 0.5f);
    Mask snowCap = MaskOf(c, {Polygon({{8, 150}, {44, 110}, {236, 110}, {272, 150}, {240, 142}, {40, 142}})});
    Cut(c, snowCap, p.snow, 0.25f);
    Mask window = MaskOf(c, {Rect(50, 196, 128, 250)});
    Paint(c, window, Hex(0xE8D8B0), 0.75f);
    Shape lattice;
    for (float x = 50; x < 128; x += 7) lattice.push_back(Rect(x, 196, x + 2.5f, 250));
    lattice.push_back(Rect(48, 194, 130, 197));
    lattice.push_back(Rect(48, 249, 130, 252));
    Paint(c, MaskOf(c, lattice), boards * 0.8f);
    Paint(c, MaskOf(c, {Rect(150, 190, 210, 300)}), Hex(0xE8D8B0), 0.8f);
    Mask door = MaskOf(c, {Rect(210, 188, 244, 300)});
    Cut(c, door, boards * 1.1f, 0.4f);
    Shape doorLattice;
    for (float x = 213; x < 242; x += 6) doorLattice.push_back(Rect(x, 192, x + 2, 250));
    Paint(c, MaskOf(c, doorLattice), Hex(0xD8C8A0), 0.5f);
    Figure(c, Who::Mother, Pose::Stand, {180, 300, 140, 1, 0.9f, Hex(0), 0, 0, 1});
    Steam(c, 196, 170, 30, 6, 0.5f, Hex(0xFFFFFF), 0.5f);
    Figure(c, Who::Sayo, Pose::Walk, {390, 318, 110, 1, 0.9f, Hex(0), 0, 0, 1});
    Snowfall(c, 22, 0, 1, 60, p.snow, 0);
    Soften(c, p.sky[3]);
}

void Sc23(Canvas& c, int, int) {
    Backdrop(c, Summer, 170, 123);
    // The river: dark water with the sky and fireflies glinting in it.
    Mask water = MaskOf(c, {Rect(-2, 250, 502, 377)});
    PaintGradient(c, water, Summer.sky[2], Summer.front, 250, 375);
    Shape glints;
    for (int i = 0; i < 60; ++i) {
        float x = Hash(i, 0, 23) * 500, y = 255 + Hash(i, 1, 23) * 115;
        glints.push_back(Rect(x, y, x + 8 + Hash(i, 2, 23) * 20, y + 1));
    }
    Paint(c, MaskOf(c, glints), Summer.snow, 0.6f);
    Cut(c, {Polygon({{-2, 300}, {200, 290}, {260, 377}, {-2, 377}})}, Summer.front, 0.4f);
    Figure(c, Who::Mother, Pose::Stand, {120, 330, 150, 1, 0.55f, Summer.light, 0, 0, 1});
    Figure(c, Who::Child, Pose::Stand, {165, 333, 150, 1, 0.6f, Summer.light, 0, 0, 1});
    Fireflies(c, 23, 40, 120, 340);
    Soften(c, Summer.sky[0]);
}

void Sc24(Canvas& c, int, int) {
    View v{250, 150, 330};
    Backdrop(c, Night, 150, 124);
    Tunnel(c, v, Night, 30, 0);
    PlatformAndTrack(c, v, Night, 28, 0, 6);
    Point foot = v.P(4.3f, TrackBed, 12), head = v.P(4.3f, TrackBed + 4.5f, 12);
    Shape signal{Stroke(foot, head, 5), Rect(head.x - 8, head.y - 4, head.x + 8, head.y + 26)};
    Cut(c, signal, Night.front, 0.4f);
    Dot(c, head.x, head.y + 6, 4, Hex(0xFF5040), 1);
    Glow(c, head.x, head.y + 6, 9, Hex(0xFF2A20), 1.0f);
    Glow(c, head.x, head.y + 6, 45, Hex(0xFF2A20), 0.3f);
}

void Sc25(Canvas& c, int band, int bands) {
    Sky(c, Night, 330);
    Stars(c, 25, 2.2f, 330, band);
    if (band > 0) {
        float t = float(band - 1) / float(std::max(1, bands - 2));
        Point head{90 + t * 280, 50 + t * 140};
        float fade = 1.f - t * 0.8f;
        for (int i = 0; i < 30; ++i) {
            float k = float(i) / 30;
            Dot(c, head.x - k * 90, head.y - k * 45, 1.4f * (1 - k), Hex(0xF8F4FF), fade * (1 - k));
        }
        Glow(c, head.x, head.y, 4, Hex(0xE8F0FF), 0.7f * fade);
    }
    Cut(c, Ridge(c.width, 320, 70, 0.008f, 125, 377), Night.mid, 0.3f);
    Cut(c, Woods(c.width, 345, 40, 126, 377), Night.front, 0.3f);
    Glow(c, 330, 350, 3, Night.light, 0.9f);
    Glow(c, 330, 350, 30, Night.light, 0.2f);
}

// The platform's plank bench seen from behind, 0.45 m high at depth z, from x0 to x1
// (metres across); its plank's top row on the canvas.
float PlankBench(Canvas& c, const View& v, const Palette& p, float z, float x0, float x1) {
    const float seatY = v.P(0, PlatformTop + 0.45f, z).y, floorY = v.P(0, PlatformTop, z).y;
    const float left = v.P(x0, 0, z).x, right = v.P(x1, 0, z).x, k = v.f / z;
    const Rgb wood = Mix(p.near, Hex(0x4A3424), 0.45f);
    Shape legs;
    for (float x : {left + 0.1f * k, right - 0.15f * k})
        legs.push_back(Polygon({{x, seatY}, {x + 0.06f * k, seatY}, {x + 0.08f * k, floorY}, {x - 0.02f * k, floorY}}));
    Cut(c, legs, wood * 0.7f, 0.4f);
    Mask plank = MaskOf(c, {Rect(left, seatY - 0.03f * k, right, seatY + 0.055f * k)});
    Cut(c, plank, wood, 0.4f);
    Rim(c, plank, 0, -3, p.light, 0.4f);
    return seatY - 0.03f * k;
}

// 湊 and 小夜 from behind on the platform's plank bench near midnight, the relit lamp
// ahead of them at the platform's edge, the rails running on to the tunnel; with
// `coatLent` she wears his coat and he his uniform jacket.
void BenchAtMidnight(Canvas& c, bool coatLent) {
    const View v{250, 118, 330};
    Backdrop(c, Night, 118, 126);
    Tunnel(c, v, Night, 40, 0);
    PlatformAndTrack(c, v, Night, 38);
    PlatformLamp(c, v, Night, 0.8f, 6.5f, 1, Night.light);
    // Where they sit: 2 m ahead of the eye. Their shadows fall toward us from the lamp.
    const float z = 2.0f, k = v.f / z;
    const float floorY = v.P(0, PlatformTop, z).y, left = v.P(-1.55f, 0, z).x, right = v.P(0.5f, 0, z).x;
    Mask shade = MaskOf(c, {Ellipse((left + right) / 2 - 20, floorY - 8, (right - left) * 0.5f, 26)});
    Blur(shade, 12);
    Paint(c, shade, Hex(0x0A0A18), 0.5f);
    const float seatY = PlankBench(c, v, Night, z, -1.55f, 0.5f) + 5;
    Mask snow = MaskOf(c, {Rect(left, seatY - 9, left + 40, seatY - 4), Rect(right - 46, seatY - 9, right, seatY - 4)});
    Cut(c, snow, Night.snow * 1.2f, 0.2f);
    const Rgb rim = Night.light;
    const float minato = 1.75f * k, sayo = 1.58f * k;
    Figure(c, Who::Minato, Pose::BackSit, {v.P(-0.92f, 0, z).x, seatY + 0.26f * minato, minato, 1, 0.8f, rim, 2, -3, 1},
           Holding::Nothing, coatLent);
    Figure(c, Who::Sayo, Pose::BackSit, {v.P(-0.2f, 0, z).x, seatY + 0.26f * sayo, sayo, 1, 0.8f, rim, 2, -3, 1},
           Holding::Nothing, coatLent);
}

void Sc26(Canvas& c, int, int) { BenchAtMidnight(c, false); }
void Sc42(Canvas& c, int, int) { BenchAtMidnight(c, true); }

void Sc27(Canvas& c, int band, int bands) {
    View v{250, 160, 330};
    Backdrop(c, Night, 160, 127);
    float t = float(band) / float(std::max(1, bands - 1));
    Tunnel(c, v, Night, 24, band == bands - 1 ? 1.f : t * t * 0.3f);
    PlatformAndTrack(c, v, Night, 22);
    if (band > 0) {
        Point light = v.P(TrackX, TrackBed + 1.3f, 24);
        float r = 2 + t * t * 30;
        Dot(c, light.x, light.y, r * 0.4f, Hex(0xFFF8E0), 1);
        Glow(c, light.x, light.y, r, Hex(0xFFE0A0), 0.9f);
        Glow(c, light.x, light.y, r * 5, Hex(0xFFC070), 0.25f * t);
    }
}

void Sc28(Canvas& c, int, int) {
    Backdrop(c, Night, 170, 128);
    Carriage(c, -30, 250, 170, 290, 1);
    Carriage(c, 262, 540, 170, 290, 1);
    Mask platform = MaskOf(c, {Rect(-2, 305, 502, 377)});
    PaintGradient(c, platform, Mix(Night.snow, Night.near, 0.3f), Mix(Night.snow, Night.near, 0.05f), 305, 375);
    Steam(c, 120, 300, 40, 10, 0.3f, Hex(0xD8E0F0), 0.3f);
    Steam(c, 380, 300, 40, 10, 1.3f, Hex(0xD8E0F0), 0.3f);
    Shape post{Rect(440, 60, 448, 340), Rect(420, 60, 470, 68)};
    Cut(c, post, Night.front, 0.4f);
    Glow(c, 445, 78, 6, Night.light, 1);
    Glow(c, 445, 78, 60, Night.light, 0.3f);
}

void Sc29(Canvas& c, int, int) {
    Sky(c, Night, 375);
    Stars(c, 29, 0.6f, 60);
    Carriage(c, -20, 430, 60, 320, 1);
    Carriage(c, 446, 920, 60, 320, 1);
    Mask platform = MaskOf(c, {Rect(-2, 345, float(c.width + 2), 377)});
    Paint(c, platform, Mix(Night.snow, Night.near, 0.3f));
}

void Sc30(Canvas& c, int, int) {
    Sky(c, Indoor, 375);
    for (Rgb& px : c.px) px = px * 1.4f;
    // Through the glass: the dark platform with a lamp.
    Mask glass = MaskOf(c, {Rect(40, 40, 330, 330)});
    Paint(c, glass, Hex(0x141A30));
    Glow(c, 110, 110, 12, Night.light, 0.6f);
    Mask reflection = MaskOf(c, {Rect(40, 250, 330, 330)});
    Paint(c, reflection, Night.snow * 0.5f, 0.5f);
    Shape frame{Rect(20, 20, 350, 40), Rect(20, 330, 350, 356), Rect(20, 20, 40, 356), Rect(330, 20, 350, 356)};
    Cut(c, frame, Hex(0x4A2A1C), 0.5f);
    SayoClose(c, 390, 230, 58, -1, 1.0f, Hex(0xFFD890));
    // Her arm raised from the shoulder to the pane.
    Mask arm = MaskOf(c, {Stroke({366, 300}, {340, 240}, 30), Ellipse(340, 240, 14, 14), Stroke({340, 240}, {304, 182}, 22)});
    Cut(c, arm, Hex(0x242A4A), 0.4f);
    Rim(c, arm, 2, -4, Hex(0xFFD890), 0.5f);
    // Her hand flat on the pane, seen from its back: the palm, four fingers spread a
    // little upward and the thumb out to the side, rounded and lit from the lamp.
    Shape hand{Polygon({{286, 186}, {284, 160}, {290, 146}, {314, 144}, {318, 160}, {314, 186}})};
    const struct {
        float x, y, angle, length, width;
    } digits[] = {{288, 150, -2.0f, 20, 8}, {296, 146, -1.7f, 26, 9}, {305, 146, -1.48f, 25, 9},
                  {313, 150, -1.22f, 20, 8}, {316, 176, -0.55f, 20, 10}};
    for (const auto& f : digits) hand.push_back(Finger({f.x, f.y}, f.angle, f.length, f.width, f.width * 0.85f));
    Mask handMask = MaskOf(c, hand);
    Cut(c, handMask, Hex(0xEED6C4), 0.3f);
    Round(c, handMask, Hex(0xB8907E), 5, 0.5f);
    Rim(c, handMask, 2, -3, Hex(0xFFD890), 0.4f);
    Mask fog = MaskOf(c, {Ellipse(285, 205, 40, 26)});
    Blur(fog, 14);
    Paint(c, fog, Hex(0xE8E8F0), 0.5f);
    Glow(c, 420, 60, 160, Hex(0xFFD890), 0.3f);
}

// A gloved part: dark leather, rounded, its edges catching the lamplight.
void Leather(Canvas& c, const Shape& shape, Rgb light) {
    Mask m = MaskOf(c, shape);
    Cut(c, m, Hex(0x3E2C22), 0.45f);
    Round(c, m, Hex(0x150E0A), 12, 0.75f);
    Rim(c, m, -2, -3, light, 0.3f);
}

void Sc31(Canvas& c, int, int) {
    Sky(c, Night, 700);
    Glow(c, 90, 10, 220, Night.light, 0.4f);
    // The platform's other lamps, out of focus far behind.
    for (int i = 0; i < 4; ++i)
        Glow(c, 40 + float(i) * 120 + Hash(i, 0, 31) * 40, 70 + Hash(i, 1, 31) * 60, 14, Night.light, 0.35f);
    const Rgb wool = Hex(0x323C64), lamp = Night.light;
    // The attendant's left hand holds the ticket by its left end: the fingers behind the
    // card (their tips show below it), the back of the hand and the thumb on its face.
    Mask leftSleeve = MaskOf(c, {Polygon({{-10, 250}, {62, 262}, {90, 380}, {-10, 380}})});
    Cut(c, leftSleeve, wool, 0.5f);
    Rim(c, leftSleeve, 0, -4, lamp, 0.6f);
    SnowOnTop(c, leftSleeve, Night.snow * 1.5f, 7);
    for (int i = 0; i < 3; ++i) {
        Point root{160 + float(i) * 21, 262 + float(i) * 3};
        Leather(c, {Finger(root, 1.45f - float(i) * 0.12f, 28 - float(i) * 3, 21, 18)}, lamp);
    }
    Leather(c, {Polygon({{48, 290}, {68, 264}, {118, 246}, {150, 250}, {158, 298}, {132, 318}, {74, 334}})}, lamp);
    // The ticket: a stiff card, just punched at its top edge.
    Contour ticket = Polygon({{150, 176}, {344, 160}, {352, 262}, {158, 278}});
    PaperSheet(c, ticket, Hex(0xE2D2A4));
    Mask ink = MakeMask(c.width, c.height);
    Lettering(ink, "灯野→", 188, 186, 34, true);
    Lettering(ink, "31.-2.14", 190, 234, 18, false);
    Lettering(ink, "三等", 296, 236, 14, true);
    Paint(c, ink, Hex(0x3A2A22), 0.85f);
    Leather(c, {Finger({112, 262}, -0.28f, 46, 30, 23)}, lamp);  // the thumb on the card's margin
    // The punch: a pair of steel jaws closed on the card's top edge, pivoting at a
    // rivet, and two long handles down into the right hand.
    const Point pivot{318, 176}, jaw{262, 166};
    Shape steelShape{Polygon({{jaw.x - 4, jaw.y - 16}, {jaw.x + 16, jaw.y - 18}, {pivot.x + 6, pivot.y - 14},
                              {pivot.x + 4, pivot.y + 12}, {jaw.x + 14, jaw.y + 14}, {jaw.x - 4, jaw.y + 12}}),
                     Ellipse(pivot.x, pivot.y, 15, 15), Wire(pivot, {452, 214}, -8, 13), Wire(pivot, {440, 270}, 10, 13)};
    Mask steel = MaskOf(c, steelShape);
    Cut(c, steel, Hex(0x7A8290), 0.55f);
    PaintGradient(c, steel, Hex(0xB4BCC8), Hex(0x4E5664), 130, 280);
    Round(c, steel, Hex(0x2A2E38), 6, 0.5f);
    Rim(c, steel, -3, -4, Hex(0xFFE0B0), 0.7f);
    // The die's ring on the upper jaw and the rivet.
    Mask die = MaskOf(c, {Ellipse(jaw.x + 6, jaw.y - 4, 7, 7)});
    Subtract(die, MaskOf(c, {Ellipse(jaw.x + 6, jaw.y - 4, 4, 4)}));
    Paint(c, die, Hex(0x3A3E48), 0.8f);
    Paint(c, MaskOf(c, {Ellipse(pivot.x, pivot.y, 5, 5)}), Hex(0x20222A));
    Paint(c, MaskOf(c, {Ellipse(pivot.x - 1.5f, pivot.y - 1.5f, 2, 2)}), Hex(0xE8E8F0), 0.7f);
    // The notch it just cut, and the little chip of card falling away.
    Cut(c, {Polygon({{250, 168}, {262, 167}, {257, 180}})}, Night.sky[1], 0);
    Cut(c, {Polygon({{248, 300}, {258, 297}, {254, 308}})}, Hex(0xE2D2A4), 0.3f);
    // The right sleeve from the edge, its glove closed round the handles: the back of
    // the hand, four curled fingers over the handles, the thumb along the top one.
    Mask rightSleeve = MaskOf(c, {Polygon({{486, 168}, {510, 160}, {510, 380}, {440, 380}, {462, 300}})});
    Cut(c, rightSleeve, wool, 0.5f);
    Rim(c, rightSleeve, -4, -2, lamp, 0.5f);
    Leather(c, {Ellipse(462, 248, 42, 54)}, lamp);
    for (int i = 0; i < 4; ++i) {
        Point knuckle{454 - float(i) * 3, 222 + float(i) * 17};
        Leather(c, {Finger(knuckle, float(M_PI) + 0.25f, 30, 20, 18)}, lamp);
    }
    Leather(c, {Finger({452, 206}, float(M_PI) + 0.42f, 58, 24, 19)}, lamp);
    // The cuff with its brass buttons, snow on the sleeve.
    Cut(c, {Polygon({{484, 196}, {510, 190}, {510, 214}, {488, 220}})}, Hex(0x222A48), 0.2f);
    for (int i = 0; i < 2; ++i) Dot(c, 494 + float(i) * 10, 206 - float(i) * 3, 3, Hex(0xD8B060), 1);
    SnowOnTop(c, rightSleeve, Night.snow * 1.5f, 7);
    Snowfall(c, 31, 0, 1, 50, Mix(Night.snow, Hex(0xFFFFFF), 0.5f), 0);
}

// The same bench at dawn, empty, the lamp out: the night's snow on its plank is
// pressed down in one place only, where 湊 sat.
void Sc32(Canvas& c, int, int) {
    const View v{250, 118, 330};
    Backdrop(c, Dawn, 118, 132);
    Tunnel(c, v, Dawn, 40, 0);
    PlatformAndTrack(c, v, Dawn, 38);
    PlatformLamp(c, v, Dawn, 0.8f, 6.5f, 0, Dawn.light);
    const float z = 2.0f, k = v.f / z;
    const float top = PlankBench(c, v, Dawn, z, -1.55f, 0.5f);
    const float left = v.P(-1.55f, 0, z).x, right = v.P(0.5f, 0, z).x;
    // A cushion of snow along the plank, with one hollow the width of a man.
    const float hollow = v.P(-0.92f, 0, z).x, half = 0.23f * k;
    Contour snow{{left, top + 1}};
    for (float x = left; x <= right; x += 2) {
        float d = std::fabs(x - hollow) / half, dip = d < 1 ? 0.85f * (1 - d * d) : 0;
        float lump = 0.075f * k * (0.8f + 0.4f * Noise1(x * 0.05f, 32));
        snow.push_back({x, top - lump * (1 - dip)});
    }
    snow.push_back({right, top + 1});
    Mask cushion = MaskOf(c, {snow});
    Cut(c, cushion, Dawn.snow, 0.2f);
    Mask pressed = MaskOf(c, {Ellipse(hollow, top - 2, half * 0.95f, 4)});
    Blur(pressed, 2);
    Paint(c, pressed, Mix(Dawn.snow, Hex(0x5A5A80), 0.45f), 0.7f);
    Rim(c, cushion, 0, -2, Hex(0xFFE6D0), 0.4f);
}

// The old road down through the cedars at night, the two of them from behind in the
// lantern's light; with `coatLent` she walks in his coat and he in his uniform jacket.
void MountainRoad(Canvas& c, bool coatLent) {
    Backdrop(c, Night, 140, 133);
    Mask road = MaskOf(c, {Polygon({{210, 170}, {290, 170}, {520, 377}, {-20, 377}})});
    PaintGradient(c, road, Mix(Night.snow, Night.near, 0.5f), Mix(Night.snow, Night.near, 0.15f), 170, 375);
    // Cedars along both sides of the road, nearer ones larger and lower.
    Shape cedars;
    for (int i = 0; i < 9; ++i) {
        float t = float(i) / 8, base = 190 + t * t * 200, h = 90 + t * 260;
        float offset = 30 + t * 250 + Hash(i, 0, 33) * 20;
        cedars.push_back(Cedar(250 - offset, base, h, 330 + i));
        cedars.push_back(Cedar(250 + offset + 10, base + 6, h * 0.95f, 340 + i));
    }
    Cut(c, cedars, Night.front, 0.4f);
    LightPool(c, 230, 330, 120, 35, Night.light, 0.7f);
    Figure(c, Who::Minato, Pose::BackWalk, {220, 340, 150, 1, 0.7f, Night.light, 0, 0, 1}, Holding::Nothing, coatLent);
    Figure(c, Who::Sayo, Pose::BackWalk, {275, 342, 128, 1, 0.75f, Night.light, 0, 0, 1}, Holding::Nothing, coatLent);
    Glow(c, 195, 280, 6, Night.light, 1);
    Glow(c, 195, 280, 40, Night.light, 0.35f);
}

void Sc33(Canvas& c, int, int) { MountainRoad(c, false); }
void Sc43(Canvas& c, int, int) { MountainRoad(c, true); }

// The valley at night from high on the old road: far ridges, the snowy slopes falling
// to the valley floor, and the town spread along its winding river, its lights smaller
// and fainter toward the far side; cedars of the near slope along the bottom.
void Sc34(Canvas& c, int, int) {
    const float w = float(c.width);
    Sky(c, Night, 120);
    Stars(c, 34, 1.0f, 110);
    Cut(c, Ridge(c.width, 95, 45, 0.004f, 341, 377), Night.far, 0.3f);
    // The far slope, snow between its woods, down to the valley floor at about y 200.
    Mask slope = MaskOf(c, Ridge(c.width, 140, 40, 0.005f, 342, 377));
    PaintGradient(c, slope, Mix(Night.snow, Night.far, 0.45f), Mix(Night.snow, Night.mid, 0.55f), 100, 210);
    Cut(c, Woods(c.width, 168, 26, 343, 169, 0.6f), Mix(Night.mid, Night.far, 0.4f), 0.2f);
    Cut(c, Woods(c.width, 196, 14, 346, 197, 0.5f), Mix(Night.mid, Night.far, 0.2f), 0.2f);
    // The valley floor: snowy fields seen from above, paler toward us.
    Mask floor = MaskOf(c, Ridge(c.width, 200, 8, 0.01f, 344, 377));
    PaintGradient(c, floor, Mix(Night.snow, Night.mid, 0.6f), Mix(Night.snow, Night.mid, 0.4f), 195, 330);
    // The river, winding from the left to the right across the floor, catching the sky.
    auto riverY = [&](float x) { return 248 + 26 * std::sin(x / w * 6.3f + 0.6f) + 10 * std::sin(x / w * 17.f); };
    Shape river;
    for (float x = -10; x < w + 10; x += 6) {
        float y0 = riverY(x), y1 = riverY(x + 6), half = 3.f + 2.5f * (y0 - 195) / 100;
        river.push_back(Polygon({{x, y0 - half}, {x + 6, y1 - half}, {x + 6, y1 + half}, {x, y0 + half}}));
    }
    Paint(c, MaskOf(c, river), Mix(Night.sky[3], Night.snow, 0.35f), 0.8f);
    // The town: streets of lights along and across the river, a denser heart, scattered
    // houses on the fields; each light larger the nearer (lower) it lies.
    auto light = [&](float x, float y, float warmth, float strength) {
        float near = std::clamp((y - 200) / 110, 0.f, 1.f);
        Rgb colour = Mix(Hex(0xD8E4FF), Hex(0xFFD890), warmth);
        Dot(c, x, y, 0.7f + 0.9f * near, colour, strength);
        Glow(c, x, y, 3 + 5 * near, Mix(colour, Night.light, 0.5f), 0.35f * strength);
    };
    int seed = 0;
    for (int street = 0; street < 5; ++street) {  // along the river, above and below it
        float offset = (float(street) - 2) * 16 + Hash(street, 0, 34) * 6;
        for (float x = 140 + Hash(street, 1, 34) * 80; x < w - 120; x += 9 + Hash(seed, 2, 34) * 14, ++seed)
            if (Hash(seed, 3, 34) < 0.55f + 0.4f * std::exp(-std::pow((x - w * 0.5f) / 200, 2.f)))
                light(x, riverY(x) + offset + Hash(seed, 4, 34) * 4, Hash(seed, 5, 34), 0.7f + 0.3f * Hash(seed, 6, 34));
    }
    for (int road = 0; road < 7; ++road) {  // roads climbing away from the river
        float x0 = 220 + float(road) * 110 + Hash(road, 7, 34) * 40;
        for (int k = 1; k < 9; ++k, ++seed) {
            float y = riverY(x0) - float(k) * 6;
            if (y > 202) light(x0 + float(k) * 3, y, Hash(seed, 8, 34), 0.8f);
        }
    }
    for (int i = 0; i < 60; ++i)  // lone houses on the fields
        light(60 + Hash(i, 9, 34) * (w - 120), 210 + Hash(i, 10, 34) * 100, 0.8f + 0.2f * Hash(i, 11, 34), 0.8f);
    // The near slope: cedars along the bottom, taller at the two ends of the view.
    Shape near;
    for (int i = 0; i < 40; ++i) {
        float x = float(i) * w / 39, edge = std::max(0.f, 1 - std::min(x, w - x) / 250);
        near.push_back(Cedar(x + Hash(i, 12, 34) * 16, 385, 60 + 40 * Hash(i, 13, 34) + 150 * edge, 3400 + i));
    }
    near.push_back(Rect(-2, 355, w + 2, 377));
    Cut(c, near, Night.front, 0.4f);
}

void Sc35(Canvas& c, int, int) {
    Backdrop(c, Night, 120, 135);
    // The steep slope rising on the left, cedars along its crest, and the road's snow.
    Mask slope = MaskOf(c, {Polygon({{-10, 40}, {60, 60}, {150, 170}, {190, 300}, {-10, 380}})});
    Cut(c, slope, Mix(Night.near, Night.snow, 0.25f), 0.5f);
    SnowOnTop(c, slope, Night.snow * 1.2f, 10);
    Shape cedars;
    for (int i = 0; i < 4; ++i) cedars.push_back(Cedar(10 + float(i) * 34, 70 + float(i) * 30, 150 - float(i) * 18, 350 + i));
    Cut(c, cedars, Night.front, 0.4f);
    SnowGround(c, 290, Night);
    LightPool(c, 420, 330, 200, 50, Night.light, 0.5f);
    // The jizo on its stone base: robe, head, the faded red bib, hands held together.
    const Contour base = Polygon({{190, 314}, {282, 314}, {294, 350}, {178, 350}});
    Cut(c, {base}, Hex(0x4A4A54), 0.5f);
    Contour robe = Polygon({{214, 196}, {258, 196}, {278, 232}, {284, 300}, {278, 318}, {192, 318}, {186, 300}, {192, 232}});
    Shape jizo{robe, Ellipse(236, 170, 25, 28)};
    Mask j = MaskOf(c, jizo);
    Cut(c, j, Hex(0x6A6A72), 0.5f);
    PaintGradient(c, j, Hex(0x62626C), Hex(0x3A3A44), 150, 320);
    Cut(c, {Polygon({{212, 194}, {260, 194}, {266, 226}, {236, 244}, {206, 226}})}, Hex(0x8A3A3A), 0.3f);
    Cut(c, {Ellipse(236, 266, 10, 15)}, Hex(0x50505A), 0.3f);
    // Eyes closed in two thin arcs, a faint smile.
    Shape face{Wire({224, 170}, {233, 170}, 2, 1.3f), Wire({239, 170}, {248, 170}, 2, 1.3f), Wire({231, 183}, {241, 183}, 1.5f, 1.1f)};
    Paint(c, MaskOf(c, face), Hex(0x2E2E36), 0.8f);
    Mask all = j;
    Cover(all, {base});
    SnowOnTop(c, all, Night.snow * 1.6f, 9);
    Rim(c, all, 4, 0, Night.light, 0.7f);
    // A little stone cup before it with the dried flowers.
    Shape stems{Stroke({312, 330}, {304, 290}, 1.6f), Stroke({316, 330}, {318, 286}, 1.6f), Stroke({320, 330}, {332, 292}, 1.6f)};
    Cut(c, stems, Hex(0x6A5038), 0.2f);
    Shape heads;
    for (Point h : {Point{304, 288}, Point{318, 284}, Point{332, 290}, Point{310, 296}, Point{326, 296}})
        heads.push_back(Ellipse(h.x, h.y, 4, 3.5f));
    Cut(c, heads, Hex(0xA86A4E), 0.2f);
    Mask cup = MaskOf(c, {Polygon({{302, 326}, {330, 326}, {326, 348}, {306, 348}})});
    Cut(c, cup, Hex(0x50505A), 0.4f);
    Rim(c, cup, 4, 0, Night.light, 0.6f);
    SnowOnTop(c, cup, Night.snow * 1.5f, 3);
    Glow(c, 530, 230, 150, Night.light, 0.45f);
    Snowfall(c, 35, 0, 1, 40, Mix(Night.snow, Hex(0xFFFFFF), 0.5f), 0);
}

// The eastern ridge under a sky going from night through violet and rose to gold.
Palette DawnAt(float t) {
    Palette gold = Morning;
    gold.sky[1] = Hex(0x9AA4C8), gold.sky[2] = Hex(0xFFC47E), gold.sky[3] = Hex(0xFFDC9C);
    if (t < 0.5f) return Blend(Night, Dawn, t * 2);
    return Blend(Dawn, gold, (t - 0.5f) * 2);
}

void Sc36(Canvas& c, int band, int bands) {
    // From the deep blue before dawn (not the full night) to gold, so each band is a step.
    float t = 0.15f + 0.85f * float(band) / float(std::max(1, bands - 1));
    Palette p = DawnAt(t);
    Sky(c, p, 280);
    Stars(c, 36, p.stars * (1 - t), 260);
    Glow(c, 300, 285, 40 + 60 * t, p.light, 0.15f + 0.6f * t * t);
    Cut(c, Ridge(c.width, 280, 70, 0.007f, 361, 377), p.mid, 0.3f);
    Cut(c, Woods(c.width, 320, 34, 362, 377), p.front, 0.3f);
}

// A plum branch in the angular way plums grow: straight runs with sharp turns, each
// run thinner, side shoots at the turns; buds and flowers gather on the thin twigs.
void PlumBranch(Shape& wood, std::vector<Point>& twigs, Point a, float angle, float length, float width,
                int depth, int seed) {
    Point b{a.x + std::cos(angle) * length, a.y + std::sin(angle) * length};
    wood.push_back(Stroke(a, b, width));
    wood.push_back(Ellipse(b.x, b.y, width / 2, width / 2));
    if (depth >= 2)
        for (int i = 0; i < 4; ++i) {
            float t = (float(i) + Hash(i, depth, seed)) / 4;
            twigs.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
        }
    if (depth == 4) return;
    float turn = (Hash(depth, 1, seed) - 0.5f) * 0.9f;
    PlumBranch(wood, twigs, b, angle + turn, length * 0.78f, width * 0.68f, depth + 1, seed * 3 + 1);
    float side = (Hash(depth, 2, seed) > 0.5f ? 1.f : -1.f) * (0.6f + 0.4f * Hash(depth, 3, seed));
    PlumBranch(wood, twigs, b, angle + side, length * 0.6f, width * 0.55f, depth + 1, seed * 3 + 2);
}

void Graves(Canvas& c, const Palette& p) {
    Palette gold = DawnAt(0.72f);
    Sky(c, gold, 230);
    Cut(c, Ridge(c.width, 200, 50, 0.008f, 371, 377), gold.far, 0.3f);
    Mask slope = MaskOf(c, Ridge(c.width, 270, 30, 0.01f, 372, 377));
    PaintGradient(c, slope, Hex(0xF8E8D8), Hex(0xC8B8C8), 250, 375);
    // Old graves: a tall stone on one or two plinths, some with wooden grave tablets
    // standing behind them.
    for (int i = 0; i < 7; ++i) {
        float x = 60 + float(i) * 64 + Hash(i, 0, 37) * 20, base = 300 + float(i % 3) * 18;
        float h = 50 + Hash(i, 1, 37) * 26;
        Shape tablets;
        if (i % 3 == 1)
            for (int k = 0; k < 3; ++k) {
                float tx = x + 10 + float(k) * 7, top = base - h - 24 + float(k) * 6;
                tablets.push_back(Polygon({{tx - 2.5f, top + 3}, {tx, top}, {tx + 2.5f, top + 3}, {tx + 2.5f, base - 8}, {tx - 2.5f, base - 8}}));
            }
        if (!tablets.empty()) Cut(c, tablets, Mix(Hex(0x8A7A70), p.near, 0.3f), 0.3f);
        bool twoSteps = Hash(i, 3, 37) > 0.4f;
        float plinth = twoSteps ? 16 : 8;
        Shape stone{Rect(x - 12, base - plinth - h, x + 12, base - plinth), Rect(x - 20, base - plinth, x + 20, base - plinth + 8)};
        if (twoSteps) stone.push_back(Rect(x - 27, base - 8, x + 27, base + 2));
        Mask m = MaskOf(c, stone);
        Cut(c, m, Mix(Hex(0x6A6470), p.near, 0.3f), 0.45f);
        SnowOnTop(c, m, Hex(0xFFF4EA), 7);
        Rim(c, m, -3, 0, Hex(0xFFD890), 0.6f);
    }
    // The plum tree at the right, its first flowers out on the thin twigs.
    Shape wood;
    std::vector<Point> twigs;
    PlumBranch(wood, twigs, {470, 380}, -1.72f, 120, 16, 0, 38);
    PlumBranch(wood, twigs, {452, 290}, -2.5f, 70, 8, 1, 39);
    Mask tree = MaskOf(c, wood);
    Cut(c, tree, Hex(0x2A1E24), 0.4f);
    Rim(c, tree, -2, 0, Hex(0xFFD890), 0.4f);
    for (size_t i = 0; i < twigs.size(); ++i) {
        Point f{twigs[i].x + (Hash(int(i), 0, 40) - 0.5f) * 5, twigs[i].y + (Hash(int(i), 1, 40) - 0.5f) * 5};
        if (Hash(int(i), 2, 40) < 0.45f) {  // a bud
            Dot(c, f.x, f.y, 1.6f, Hex(0xF0C8C8), 0.9f);
            continue;
        }
        for (int k = 0; k < 5; ++k) {
            float a = float(k) * 1.2566f + Hash(int(i), 3, 40);
            Dot(c, f.x + std::cos(a) * 2, f.y + std::sin(a) * 2, 1.7f, Hex(0xFFF8F4), 0.95f);
        }
        Dot(c, f.x, f.y, 0.9f, Hex(0xD07080), 0.8f);
    }
    Glow(c, 80, 190, 90, Hex(0xFFD890), 0.35f);
}

void Sc37(Canvas& c, int, int) { Graves(c, Dawn); }

void Sc38(Canvas& c, int, int) {
    Graves(c, Dawn);
    Figure(c, Who::Sayo, Pose::Stand, {230, 345, 230, -1, 1.0f, Hex(0xFFE0A0), -4, 0, 0.55f});
    Glow(c, 200, 200, 120, Hex(0xFFE6B0), 0.25f);
}

void Sc39(Canvas& c, int, int) {
    Backdrop(c, Morning, 220, 139);
    SnowGround(c, 250, Morning);
    Station(c, 250, 255, 0.85f, Morning, 0, true);
    Mask road = MaskOf(c, {Polygon({{230, 260}, {270, 260}, {420, 377}, {80, 377}})});
    Paint(c, road, Hex(0xB8C4D8), 0.6f);
}

// The end card: a lone lit lamp on a snowy night, the title lettered down the left.
void Sc40(Canvas& c, int, int) {
    const View v{250, 200, 330};
    Palette p = Night;
    p.stars = 0.5f;
    Backdrop(c, p, 250, 140);
    SnowGround(c, 328, p);
    PlatformLamp(c, v, p, 1.1f, 4.0f, 1, p.light);
    Mask title = MakeMask(c.width, c.height);
    Lettering(title, "灯りの駅", 92, 58, 54, true, true);
    Shadow(c, title, 2, 3, 4, 0.5f, Hex(0x07060E));
    Paint(c, title, Mix(p.snow, p.light, 0.4f) * 1.1f);
    Snowfall(c, 40, 0, 1, 140, Mix(p.snow, Hex(0xFFFFFF), 0.5f), 0);
}

struct Entry {
    const char* file;
    Recipe draw;
};
const Entry Recipes[] = {
    {"sc01.sad", Sc01}, {"sc02.sad", Sc02}, {"sc03.sad", Sc03}, {"sc04.sad", Sc04}, {"sc05.sad", Sc05},
    {"sc06.sad", Sc06}, {"sc07.sad", Sc07}, {"sc08.sad", Sc08}, {"sc09.sad", Sc09}, {"sc10.sad", Sc10},
    {"sc11.sad", Sc11}, {"sc12.sad", Sc12}, {"sc13.sad", Sc13}, {"sc14.sad", Sc14}, {"sc15.sad", Sc15},
    {"sc16.sad", Sc16}, {"sc17.sad", Sc17}, {"sc18.sad", Sc18}, {"sc19.sad", Sc19}, {"sc20.sad", Sc20},
    {"sc21.sad", Sc21}, {"sc22.sad", Sc22}, {"sc23.sad", Sc23}, {"sc24.sad", Sc24}, {"sc25.sad", Sc25},
    {"sc26.sad", Sc26}, {"sc27.sad", Sc27}, {"sc28.sad", Sc28}, {"sc29.sad", Sc29}, {"sc30.sad", Sc30},
    {"sc31.sad", Sc31}, {"sc32.sad", Sc32}, {"sc33.sad", Sc33}, {"sc34.sad", Sc34}, {"sc35.sad", Sc35},
    {"sc36.sad", Sc36}, {"sc37.sad", Sc37}, {"sc38.sad", Sc38}, {"sc39.sad", Sc39}, {"sc40.sad", Sc40}, {"sc41.sad", Sc41}, {"sc42.sad", Sc42}, {"sc43.sad", Sc43},
};
}  // namespace

bool DrawScene(const char* file, Canvas& c, int band, int bands) {
    for (const Entry& e : Recipes)
        if (std::strcmp(e.file, file) == 0) {
            e.draw(c, band, bands);
            return true;
        }
    return false;
}

}  // namespace art
