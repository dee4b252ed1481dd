// One recipe per story picture: which palette, which layers from far to near, which
// lights, and what moves from band to band.
#include "tools/pictures/scenes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "tools/pictures/figures.h"
#include "tools/pictures/props.h"
#include "tools/pictures/sayo.h"

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

// Roundness for a flat cut: its edges darken toward `shade` over about `radius` pixels,
// as the sides of a finger or a palm turn away from the light.
void Round(Canvas& c, const Mask& m, Rgb shade, int radius, float strength) {
    Mask soft = m;
    Blur(soft, radius);
    Mask edge = m;
    for (size_t i = 0; i < edge.a.size(); ++i) edge.a[i] = m.a[i] * std::max(0.f, 1.f - soft.a[i]) * 2;
    Paint(c, edge, shade, strength);
}

// Snow lying on the ground from `top` down, lit a little toward the bottom.
void SnowGround(Canvas& c, float top, const Palette& p) {
    Mask m = MaskOf(c, Ridge(c.width, top, 8, 0.02f, 77, float(c.height)));
    PaintGradient(c, m, Mix(p.snow, p.near, 0.45f), Mix(p.snow, p.near, 0.1f), top, float(c.height));
}

// The station at dusk on its ledge halfway up the mountain, seen from the road below:
// the mountainside rising steeply behind it with its cedars, a stone wall under the
// ledge, the slope falling away below to the valley at the left, far ridges in the
// haze; the evening sky from violet to rose with its first faint star.
void Sc01(Canvas& c, int, int) {
    Palette p = Dusk;
    p.stars = 0;
    Sky(c, p, 330);
    Dot(c, 120, 58, 1.2f, Hex(0xFFF4E0), 0.9f);
    Glow(c, 120, 58, 3, Hex(0xFFF4E0), 0.3f);
    // Far ridges across the valley at the left, paler with distance.
    Cut(c, Ridge(c.width, 300, 36, 0.006f, 101, 377), Mix(p.far, p.sky[3], 0.45f), 0.2f);
    Cut(c, Ridge(c.width, 326, 24, 0.01f, 102, 377), Mix(p.far, p.sky[3], 0.2f), 0.25f);
    // The mountainside: from the valley at the left up to the top right, behind the ledge.
    Contour side{{60, 377}};
    for (int i = 0; i <= 20; ++i) {
        float t = float(i) / 20, x = 110 + t * 410;
        side.push_back({x, 250 - 215 * t * (0.7f + 0.3f * t) - 14 * Fbm1(t * 6, 103, 3)});
    }
    side.push_back({520, 377});
    Mask mountain = MaskOf(c, {side});
    Cut(c, mountain, p.mid, 0.35f);
    SnowOnTop(c, mountain, Mix(p.snow, p.mid, 0.45f), 4);
    Shape slopeCedars;
    for (int i = 0; i < 18; ++i) {
        float x = 150 + Hash(i, 0, 104) * 350, t = (x - 110) / 410;
        float top = 250 - 215 * t * (0.7f + 0.3f * t);
        slopeCedars.push_back(Cedar(x, top + 24 + Hash(i, 1, 104) * 60, 32 + Hash(i, 2, 104) * 26, 1040 + i));
    }
    Cut(c, slopeCedars, Mix(p.mid, p.near, 0.6f), 0.3f);
    // The slope falling away below the ledge to the valley at the lower left, its woods,
    // and the road climbing it in two bends.
    Mask below = MaskOf(c, {Polygon({{-2, 372}, {60, 350}, {150, 296}, {510, 292}, {510, 377}, {-2, 377}})});
    Cut(c, below, Mix(p.near, p.mid, 0.35f), 0.4f);
    SnowOnTop(c, below, Mix(p.snow, p.near, 0.3f), 5);
    Mask road = MaskOf(c, {Polygon({{160, 296}, {172, 296}, {300, 330}, {150, 377}, {128, 377}, {276, 332}})});
    Paint(c, road, Mix(p.snow, p.near, 0.25f), 0.8f);
    Shape lower;
    for (int i = 0; i < 16; ++i) {
        float x = 20 + float(i) * 31 + Hash(i, 3, 104) * 12;
        lower.push_back(Cedar(x, 392, 50 + Hash(i, 4, 104) * 40 + (x > 300 ? 30 : 0), 1060 + i));
    }
    Cut(c, lower, p.front, 0.4f);
    // The ledge and the stone wall under it.
    Mask wall = MaskOf(c, {Polygon({{150, 250}, {510, 250}, {510, 294}, {158, 296}})});
    Cut(c, wall, Mix(p.near, Hex(0x5A5468), 0.4f), 0.45f);
    Shape joints;
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 14; ++k) {
            float x = 152 + float(k) * 27 + float(row % 2) * 13, y = 252 + float(row) * 11;
            joints.push_back(Rect(x, y, x + 1.2f, y + 11));
            joints.push_back(Rect(x - 13, y + 10.4f, x + 14, y + 11.4f));
        }
    Mask j = MaskOf(c, joints);
    for (size_t i = 0; i < j.a.size(); ++i) j.a[i] *= wall.a[i];
    Paint(c, j, p.near * 0.7f, 0.7f);
    Cut(c, {Rect(146, 244, 512, 251)}, Mix(p.snow, p.mid, 0.2f), 0.3f);
    Station(c, 340, 246, 0.62f, p, 1.0f, false);
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

// She has stood up from the bench under the lamp and bows, her bag in her hands, the
// snow she never brushed off lying on her head and shoulders; snow falling.
void Sc44(Canvas& c, int band, int bands) {
    const View v{250, 140, 330};
    Backdrop(c, Night, 140, 144);
    Tunnel(c, v, Night, 30, 0);
    PlatformAndTrack(c, v, Night, 28);
    PlatformLamp(c, v, Night, -0.2f, 14, 0.45f, Night.light);
    PlatformLamp(c, v, Night, 0.05f, 4.2f, 1, Night.light);
    const float z = 4.0f, k = v.f / z;
    const float seatY = v.P(0, PlatformTop + 0.45f, z).y, floorY = v.P(0, PlatformTop, z).y;
    const float left = v.P(-2.3f, 0, z).x, right = v.P(-1.1f, 0, z).x;
    const Rgb wood = Mix(Night.near, Hex(0x4A3424), 0.45f);
    Shape legs;
    for (float x : {left + 6, right - 9}) legs.push_back(Polygon({{x, seatY}, {x + 4, seatY}, {x + 5, floorY}, {x - 1, floorY}}));
    Cut(c, legs, wood * 0.7f, 0.4f);
    Mask plank = MaskOf(c, {Rect(left, seatY - 2, right, seatY + 4)});
    Cut(c, plank, wood, 0.4f);
    Rim(c, plank, 0, -2, Night.light, 0.4f);
    SnowOnTop(c, plank, Night.snow * 1.2f, 2);
    // The hollow her sitting left in the snow on the plank.
    Paint(c, MaskOf(c, {Ellipse((left + right) / 2 + 8, seatY - 2, 16, 2.5f)}), Night.near, 0.7f);
    SayoLook look;
    look.light = 0.9f, look.rim = Night.light, look.rimDx = 2, look.rimDy = -3;
    look.snow = Mix(Night.snow, Hex(0xFFFFFF), 0.35f);
    Point feet = v.P(-0.75f, PlatformTop, 3.2f);
    DrawSayo(c, SayoPose::Bow, feet.x, feet.y, 1.58f * v.f / 3.2f, -1, look);
    (void)k;
    Snowfall(c, 44, band, bands, 220, Mix(Night.snow, Hex(0xFFFFFF), 0.5f), 22);
}

void Sc09(Canvas& c, int band, int bands) { GirlOnTheBench(c, band, bands, false); }
void Sc41(Canvas& c, int band, int bands) { GirlOnTheBench(c, band, bands, true); }

// 小夜 close on the bench, from the side, her face turned up to the lamp above her:
// braids, scarf, the sailor collar, her bag in her lap; the lamplight from above on her
// face and shoulders, her lap sinking into the dark; snow in the air around her.
void Sc10(Canvas& c, int, int) {
    Backdrop(c, Night, 200, 110);
    // The lamps down the platform, out of focus behind her.
    for (int i = 0; i < 3; ++i) Glow(c, 70.f + float(i) * 42, 126.f + float(i) * 7, 10 - float(i) * 2, Night.light, 0.6f);
    SnowGround(c, 300, Night);
    Glow(c, 420, -30, 150, Night.light, 0.45f);
    // The bench's plank under her, snow along it.
    Mask plank = MaskOf(c, {Rect(-2, 346, 502, 360), Rect(40, 360, 52, 377), Rect(440, 360, 452, 377)});
    Cut(c, plank, Mix(Night.near, Hex(0x4A3424), 0.45f), 0.5f);
    SnowOnTop(c, plank, Night.snow * 1.1f, 3);
    SayoLook look;
    look.light = 0.92f, look.rim = Hex(0xFFC880), look.rimDx = 1, look.rimDy = -3;
    DrawSayo(c, SayoPose::Sit, 150, 497, 560, 1, look);
    // The lamplight falls from above: her lap sinks into the dark below it.
    for (int y = 260; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) c.At(x, y) = c.At(x, y) * (1.f - 0.3f * float(y - 260) / 115.f);
    Snowfall(c, 10, 0, 1, 110, Mix(Night.snow, Hex(0xFFFFFF), 0.6f), 0);
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

// 小夜 on a bench by the stove, seen from the side, its light on her face and front.
void SayoByStove(Canvas& c, SayoHands hands, bool coat) {
    WaitingRoom(c, 1, 350);
    InteriorBench(c, 100, 250, 272, Hex(0x3A2618));
    SayoLook look;
    look.coat = coat, look.hands = hands, look.light = 0.95f, look.rim = Hex(0xFFA050), look.rimDx = 4, look.rimDy = -1;
    DrawSayo(c, SayoPose::Sit, 168, 350, 290, 1, look);
}
void Sc11(Canvas& c, int, int) { SayoByStove(c, SayoHands::Warming, false); }
void Sc12(Canvas& c, int, int) { SayoByStove(c, SayoHands::Bag, true); }
void Sc13(Canvas& c, int, int) { SayoByStove(c, SayoHands::Cup, false); }

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
    // The ledger lying closed on the desk: a cloth cover gone dark with handling, its
    // corners worn round and pale where the cloth rubbed through to the board, a paper
    // label on it, the edges of its pages showing below the cover.
    auto corner = [](Point at, Point toA, Point toB, float r) {  // a rounded corner's arc
        Contour arc;
        for (int i = 0; i <= 6; ++i) {
            float t = float(i) / 6, u = 1 - t;
            arc.push_back({u * u * (at.x + toA.x * r) + 2 * u * t * at.x + t * t * (at.x + toB.x * r),
                           u * u * (at.y + toA.y * r) + 2 * u * t * at.y + t * t * (at.y + toB.y * r)});
        }
        return arc;
    };
    const Point tl{150, 286}, tr{338, 280}, br{352, 346}, bl{144, 354};
    Contour pages = Polygon({{tl.x + 2, tl.y + 6}, {tr.x + 4, tr.y + 6}, {br.x + 4, br.y + 6}, {bl.x + 2, bl.y + 6}});
    Cut(c, {pages}, Hex(0xCFC3A0), 0.5f);
    Shape edges;
    for (int i = 0; i < 4; ++i) edges.push_back(Stroke({bl.x + 6, bl.y + 2.f + float(i) * 1.4f}, {br.x, br.y + 2.f + float(i) * 1.4f}, 0.5f));
    Paint(c, MaskOf(c, edges), Hex(0x8A7A60), 0.6f);
    Contour cover;
    auto append = [&](const Contour& arc) { cover.insert(cover.end(), arc.begin(), arc.end()); };
    append(corner(tl, {0, 1}, {1, 0}, 14));
    append(corner(tr, {-1, 0}, {0, 1}, 12));
    append(corner(br, {0, -1}, {-1, 0}, 16));
    append(corner(bl, {1, 0}, {0, -1}, 14));
    Mask coverMask = MaskOf(c, {cover});
    Cut(c, coverMask, Hex(0x3A4A3A), 0.5f);
    Round(c, coverMask, Hex(0x1E261E), 8, 0.5f);
    // The rubbed corners: pale board showing through the cloth.
    for (Point at : {tl, tr, br, bl}) {
        Point inward{(at.x < 250 ? 8.f : -8.f), (at.y < 320 ? 6.f : -6.f)};
        Mask worn = MaskOf(c, {Ellipse(at.x + inward.x * 0.6f, at.y + inward.y * 0.6f, 8, 6)});
        for (size_t i = 0; i < worn.a.size(); ++i) worn.a[i] *= coverMask.a[i];
        Blur(worn, 2);
        Paint(c, worn, Hex(0x8A8470), 0.4f);
    }
    Rim(c, coverMask, 2, -2, Hex(0xFFE0A0), 0.35f);
    Contour label = Polygon({{210, 295}, {282, 292}, {284, 318}, {212, 321}});
    PaperSheet(c, label, Hex(0xD8CCA8));
    Mask title = MakeMask(c.width, c.height);
    Lettering(title, "業務日誌", 222, 298, 14, true);
    Paint(c, title, Hex(0x3A2E26), 0.8f);
    GreenLamp(c, 420, 215, 1);
    for (size_t i = 0; i < c.px.size(); ++i) c.px[i] = c.px[i] * 0.8f;
}

// The old departure timetable found behind the new one: one column per train, the first
// at the left, the last at the right, its 二三 四〇 marked 最終 and ringed in red ink
// gone over many times.
void Sc06(Canvas& c, int, int) {
    PlankWall(c, 0, 375, Hex(0x3A281A), 61);
    // The sheet with its lower left corner torn away and small tears along its edges: a
    // torn edge runs in short jagged steps.
    Contour sheet;
    auto torn = [&](Point a, Point b, float depth, int seed) {
        float dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
        int steps = int(len / 4);
        for (int i = 0; i < steps; ++i) {
            float t = float(i) / float(steps), j = (Hash(i, 0, seed) - 0.5f) * depth;
            sheet.push_back({a.x + dx * t - dy / len * j, a.y + dy * t + dx / len * j});
        }
    };
    torn({30, 20}, {470, 20}, 1.5f, 62);
    torn({470, 20}, {470, 360}, 1.5f, 63);
    torn({470, 360}, {168, 360}, 2, 64);
    torn({168, 360}, {120, 318}, 7, 65);
    torn({120, 318}, {78, 296}, 6, 66);
    torn({78, 296}, {30, 232}, 8, 67);
    torn({30, 232}, {30, 20}, 1.5f, 68);
    PaperSheet(c, sheet, Hex(0xD8C89C));
    Mask paper = MaskOf(c, {sheet});
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
    for (size_t i = 0; i < ink.a.size(); ++i) ink.a[i] *= paper.a[i];
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

// The lamp close, against the dark: it is shown while snow falls and after it stops,
// so neither stars nor flakes.
void Sc08(Canvas& c, int band, int) {
    Sky(c, Night, 375);
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
    Contour cutting = Polygon({{128, 70}, {400, 80}, {396, 320}, {122, 312}});
    PaperSheet(c, cutting, Hex(0xCCC4AE));
    Mask ink = MakeMask(c.width, c.height);
    Lettering(ink, "雪崩で列車不通", 350, 92, 30, true, true);
    Lettering(ink, "女学生行方不明", 305, 120, 24, true, true);
    Paint(c, ink, Hex(0x1E1C1E), 0.9f);
    // The article itself in small vertical columns, right to left, under the paper's
    // date: the night before, the avalanche by the tunnel, the last train cancelled, a
    // girl who was waiting at the station gone; the cutting ends in the middle of it.
    const char* columns[] = {"十四日夜、灯野驛北方の隧道", "附近にて大規模なる雪崩あり", "同驛二十三時四十分發の最終",
                             "列車は運休となれり。同驛に", "て列車を待ちゐたる十七歳の", "女學生一名、夜のうちに姿を",
                             "消し行方いまだ知れず。驛員", "竝に村の消防團は夜を徹して", "搜索を續けてゐるが、積雪深",
                             "く作業は難航し、なほ同驛の"};
    Mask type = MakeMask(c.width, c.height);
    Lettering(type, "昭和三十一年二月十五日", 380, 92, 9.5f, true, true);
    for (int col = 0; col < 10; ++col) Lettering(type, columns[col], 266 - float(col) * 15, 96, 11.5f, true, true);
    Mask clip = MaskOf(c, {cutting});
    for (size_t i = 0; i < type.a.size(); ++i) type.a[i] *= clip.a[i];
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
// `coatLent` she wears his coat and he his uniform jacket. While it snows (`frames` > 0)
// the sky is clouded and snow falls past them, band `frame` of `frames`.
void BenchAtMidnight(Canvas& c, bool coatLent, int frame = 0, int frames = 0) {
    const View v{250, 118, 330};
    Palette sky = Night;
    if (frames > 0) sky.stars = 0.2f;
    Backdrop(c, sky, 118, 126);
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
    if (frames > 0) Snowfall(c, 45, frame, frames, 240, Mix(Night.snow, Hex(0xFFFFFF), 0.5f), 22);
}

void Sc26(Canvas& c, int, int) { BenchAtMidnight(c, false); }
void Sc42(Canvas& c, int, int) { BenchAtMidnight(c, true); }
void Sc45(Canvas& c, int band, int bands) { BenchAtMidnight(c, false, band, bands); }
void Sc46(Canvas& c, int band, int bands) { BenchAtMidnight(c, true, band, bands); }

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

// The old train at the platform; with `her`, 小夜 standing before its lit door with her
// bag, seen from behind against the warm windows (`coatLent`: still in 湊's coat).
void TrainAtThePlatform(Canvas& c, bool her, bool coatLent) {
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
    if (!her) return;
    LightPool(c, 256, 318, 90, 18, Hex(0xFFD890), 0.45f);
    SayoLook look;
    look.coat = coatLent, look.light = 0.78f, look.rim = Hex(0xFFD890), look.rimDx = 0, look.rimDy = -3;
    DrawSayo(c, SayoPose::FromBehind, 256, 352, 190, 1, look);
}

void Sc28(Canvas& c, int, int) { TrainAtThePlatform(c, false, false); }
void Sc47(Canvas& c, int, int) { TrainAtThePlatform(c, true, false); }
void Sc48(Canvas& c, int, int) { TrainAtThePlatform(c, true, true); }

void Sc29(Canvas& c, int, int) {
    Sky(c, Night, 375);
    Stars(c, 29, 0.6f, 60);
    Carriage(c, -20, 430, 60, 320, 1);
    Carriage(c, 446, 920, 60, 320, 1);
    Mask platform = MaskOf(c, {Rect(-2, 345, float(c.width + 2), 377)});
    Paint(c, platform, Mix(Night.snow, Night.near, 0.3f));
}

// From the platform, the old carriage's side close: its brown boards, a lit window, and
// through the glass 小夜 in her seat, smiling with her eyes closed, her palm pressed on
// the pane; the glass holding the platform lamp's reflection and the fog of her breath.
void Sc30(Canvas& c, int, int) {
    Sky(c, Night, 60);
    Stars(c, 30, 0.6f, 40);
    const Rgb brown = Hex(0x4A2A1C), lit = Hex(0xFFD890);
    Mask body = MaskOf(c, {Polygon({{-5, 44}, {505, 38}, {505, 380}, {-5, 380}})});
    Cut(c, body, brown, 0.5f);
    Shape boards;
    for (float x = 8; x < 500; x += 15) boards.push_back(Rect(x, 40, x + 1.6f, 380));
    Paint(c, MaskOf(c, boards), brown * 0.68f);
    Cut(c, {Polygon({{-5, 40}, {505, 34}, {505, 52}, {-5, 58}})}, Hex(0x2A1812), 0.4f);  // the roof's eave
    // The window: the warm inside, the seat's back, the luggage rack, and her.
    const float left = 70, top = 86, right = 430, sash = 300;
    Mask glass = MaskOf(c, {Rect(left, top, right, sash)});
    PaintGradient(c, glass, Mix(brown, lit, 0.75f), Mix(brown, lit, 0.95f), top, sash);
    Glow(c, 250, top + 10, 90, Hex(0xFFC070), 0.45f);
    Cut(c, {Rect(left, top + 14, right, top + 22)}, Hex(0x3A2418), 0.3f);  // the rack
    Shape net;
    for (float x = left + 4; x < right; x += 10) net.push_back(Stroke({x, top + 22}, {x + 6, top + 34}, 1));
    Paint(c, MaskOf(c, net), Hex(0x3A2418), 0.6f);
    Cut(c, {Polygon({{left, 170}, {200, 164}, {214, 300}, {left, 300}}), Polygon({{330, 166}, {right, 170}, {right, 300}, {318, 300}})},
        Mix(Hex(0x6A3A2A), brown, 0.3f), 0.35f);
    SayoLook look;
    look.light = 1.0f, look.rim = lit, look.rimDx = 0, look.rimDy = -3;
    Canvas room = c;  // she is seen only through the glass
    DrawSayoAtTheWindow(c, 268, 205, 78, look);
    for (size_t i = 0; i < c.px.size(); ++i) c.px[i] = Mix(room.px[i], c.px[i], glass.a[i]);
    // The glass over her: a faint sheen across it, the lamp's reflection, her breath.
    Mask sheen = MaskOf(c, {Polygon({{300, top}, {340, top}, {230, sash}, {190, sash}})});
    for (size_t i = 0; i < sheen.a.size(); ++i) sheen.a[i] *= glass.a[i];
    Blur(sheen, 6);
    Paint(c, sheen, Hex(0xFFFFFF), 0.1f);
    Glow(c, 392, 120, 7, Hex(0xFFE6B0), 0.8f);
    Paint(c, MaskOf(c, {Rect(391, 104, 393, 150)}), Hex(0xFFE6B0), 0.25f);
    Mask fog = MaskOf(c, {Ellipse(262, 214, 30, 14), Ellipse(212, 196, 26, 22)});
    Blur(fog, 10);
    for (size_t i = 0; i < fog.a.size(); ++i) fog.a[i] *= glass.a[i];
    Paint(c, fog, Hex(0xF4F0EC), 0.25f);
    // The frame, its lower sash's rail, and the boards under the window in shadow.
    Shape frame{Rect(left - 12, top - 12, right + 12, top), Rect(left - 12, top, left, 330), Rect(right, top, right + 12, 330),
                Rect(left - 12, sash, right + 12, sash + 14), Rect(left - 16, 330, right + 16, 342)};
    Mask f = MaskOf(c, frame);
    Cut(c, f, Hex(0x3A2014), 0.5f);
    Rim(c, f, 0, -2, lit, 0.35f);
    Mask lower = MaskOf(c, {Rect(left, sash + 14, right, 330)});
    PaintGradient(c, lower, Mix(brown, lit, 0.35f), Mix(brown, lit, 0.2f), sash, 330);
    LightPool(c, 250, 372, 220, 26, lit, 0.4f);
    // The platform lamp's light along the boards from the right.
    Glow(c, 560, 140, 120, Night.light, 0.35f);
}

// A gloved part: dark leather, rounded, its edges catching the lamplight.
void Leather(Canvas& c, const Shape& shape, Rgb light) {
    Mask m = MaskOf(c, shape);
    Cut(c, m, Hex(0x3E2C22), 0.45f);
    Round(c, m, Hex(0x150E0A), 12, 0.75f);
    Rim(c, m, -2, -3, light, 0.3f);
}

// The ticket between them, close and from the side: 小夜 holds it out by its left end in
// both hands, her thumbs on its face and her fingers round its edge, her navy sleeves
// with their white lines; from the upper right his gloved hand brings the old steel
// ticket punch down on its top edge, whose jaws have just bitten a notch, the little
// chip of card falling; the platform's lamps far behind.
void Sc31(Canvas& c, int, int) {
    Sky(c, Night, 700);
    Glow(c, 90, 10, 220, Night.light, 0.4f);
    for (int i = 0; i < 4; ++i)  // the platform's other lamps, out of focus far behind
        Glow(c, 40 + float(i) * 120 + Hash(i, 0, 31) * 40, 110 + Hash(i, 1, 31) * 60, 14, Night.light, 0.35f);
    const Rgb lamp = Night.light, skin = Hex(0xF0DCCC), shade = Hex(0xB08E82);
    auto flesh = [&](const Shape& shape, float strength) {
        Mask m = MaskOf(c, shape);
        Cut(c, m, skin, 0.4f);
        Round(c, m, shade, 8, strength);
        Rim(c, m, 0, -3, lamp, 0.35f);
        return m;
    };
    // Her fingers round the card's left edge, behind it: the sides of the index fingers.
    for (float y : {170.f, 236.f})
        flesh({Finger({112, y + 18}, -0.25f, 56, 26, 22)}, 0.5f);
    // The card, with the notch just punched in its top edge.
    Contour ticket = Polygon({{150, 140}, {318, 131}, {326, 142}, {334, 130}, {360, 128}, {368, 250}, {158, 262}});
    PaperSheet(c, ticket, Hex(0xE2D2A4));
    Mask ink = MakeMask(c.width, c.height);
    Lettering(ink, "灯野→", 196, 156, 34, true);
    Lettering(ink, "31.-2.14", 200, 204, 19, false);
    Lettering(ink, "三等 普通", 204, 232, 13, true);
    Cover(ink, {Stroke({186, 197}, {352, 190}, 1.2f)});
    Paint(c, ink, Hex(0x3A2A22), 0.85f);
    // Her sleeves from the left with the cuffs' three white lines, and her thumbs on the
    // card's face, each with its nail.
    for (float y : {180.f, 248.f}) {
        Mask sleeve = MaskOf(c, {Polygon({{-10, y - 40}, {96, y - 30}, {112, y + 30}, {-10, y + 44}})});
        Cut(c, sleeve, Hex(0x1E2442), 0.5f);
        Rim(c, sleeve, 3, -3, lamp, 0.35f);
        Shape cuff;
        for (int i = 0; i < 3; ++i) cuff.push_back(Stroke({84 - float(i) * 7, y - 32}, {98 - float(i) * 7, y + 34}, 2.2f));
        Mask cuffMask = MaskOf(c, cuff);
        for (size_t i = 0; i < cuffMask.a.size(); ++i) cuffMask.a[i] *= sleeve.a[i];
        Paint(c, cuffMask, Hex(0xE6E2DA), 0.85f);
        // The back of the hand, narrowing to the wrist; the thumb from its root at the
        // heel of the hand, its first joint up, its tip bent a little back on the card.
        flesh({Spline({{98, y - 22}, {124, y - 26}, {146, y - 14}, {152, y + 8}, {140, y + 24}, {108, y + 24}})}, 0.55f);
        const Point root{132, y + 4}, joint{160, y - 6};
        flesh({Finger(root, std::atan2(joint.y - root.y, joint.x - root.x), 34, 28, 24)}, 0.6f);
        const float bend = -0.34f;
        flesh({Finger(joint, bend, 32, 23, 19)}, 0.6f);
        Point tip{joint.x + std::cos(bend) * 28, joint.y + std::sin(bend) * 28};
        Paint(c, MaskOf(c, {Ellipse(tip.x - 5, tip.y + 1, 7.5f, 6)}), Mix(skin, Hex(0xFFEAE2), 0.6f), 0.8f);
        Paint(c, MaskOf(c, {Stroke({joint.x - 2, joint.y - 9}, {joint.x + 3, joint.y + 9}, 1.3f)}), shade * 0.8f, 0.4f);
    }
    // The punch, from the jaws on the card's edge up to his hand: a chunky head with the
    // die on its upper jaw and the anvil under the card, the pivot's rivet, two long
    // nickelled handles parting toward his hand with the spring between them.
    const Point jaw{330, 132}, pivot{356, 96};
    Shape head{Band({{jaw.x - 2, jaw.y + 16}, {jaw.x + 4, jaw.y - 6}, {pivot.x - 6, pivot.y + 8}}, 22),
               Ellipse(pivot.x, pivot.y, 15, 15)};
    Shape handles{Band({pivot, {400, 74}, {452, 58}}, 13), Band({{pivot.x + 4, pivot.y + 6}, {410, 96}, {466, 92}}, 12)};
    Mask spring = MaskOf(c, {Band({{404, 80}, {418, 86}, {432, 86}}, 14)});
    Paint(c, spring, Hex(0x2A2E38));
    Shape coils;
    for (int i = 0; i < 6; ++i) coils.push_back(Stroke({404 + float(i) * 5.f, 76}, {400 + float(i) * 5.f, 94}, 1.6f));
    Paint(c, MaskOf(c, coils), Hex(0xC8D0DC), 0.8f);
    Mask steel = MaskOf(c, handles);
    Cover(steel, head);
    Cut(c, steel, Hex(0x7A8290), 0.55f);
    PaintGradient(c, steel, Hex(0xC8D0DC), Hex(0x505866), 50, 160);
    Round(c, steel, Hex(0x2A2E38), 5, 0.5f);
    Rim(c, steel, -2, -3, Hex(0xFFE0B0), 0.75f);
    Paint(c, MaskOf(c, {Rect(jaw.x - 12, jaw.y - 3, jaw.x + 12, jaw.y + 3)}), Hex(0x3A3E48), 0.6f);  // the jaws' gap
    Mask dieRing = MaskOf(c, {Ellipse(jaw.x + 2, jaw.y - 14, 7, 7)});
    Subtract(dieRing, MaskOf(c, {Ellipse(jaw.x + 2, jaw.y - 14, 3.5f, 3.5f)}));
    Paint(c, dieRing, Hex(0x3A3E48), 0.8f);
    Paint(c, MaskOf(c, {Ellipse(pivot.x, pivot.y, 5, 5)}), Hex(0x20222A));
    Paint(c, MaskOf(c, {Ellipse(pivot.x - 1.5f, pivot.y - 1.5f, 2, 2)}), Hex(0xE8E8F0), 0.7f);
    Cut(c, {Polygon({{344, 286}, {354, 282}, {351, 294}})}, Hex(0xE2D2A4), 0.3f);  // the chip, falling
    // His gloved right hand round the handles: the sleeve from the corner with its brass
    // buttons, the back of the glove and its three stitched lines, the knuckles, four
    // fingers curled under the handles, each its own piece, the thumb along the upper.
    Mask sleeve = MaskOf(c, {Band({{560, -40}, {520, 30}, {490, 70}}, 100)});
    Cut(c, sleeve, Hex(0x222A48), 0.5f);
    Rim(c, sleeve, -3, 2, lamp, 0.35f);
    for (int i = 0; i < 2; ++i) Dot(c, 480 + float(i) * 10, 40 + float(i) * 12, 3.2f, Hex(0xD8B060), 1);
    for (int i = 3; i >= 0; --i) {  // the fingers, from the little finger up
        Point root{470 - float(i) * 12, 104 + float(i) * 4}, mid{456 - float(i) * 12, 122 + float(i) * 2},
            tip{440 - float(i) * 12, 112 + float(i) * 1};
        Leather(c, {Band({root, mid, tip}, 18), Ellipse(tip.x, tip.y, 9, 9)}, lamp);
        Paint(c, MaskOf(c, {Stroke({mid.x - 5, mid.y - 7}, {mid.x + 4, mid.y - 8}, 1.2f)}), Hex(0x140C08), 0.5f);
    }
    Leather(c, {Spline({{438, 62}, {470, 46}, {500, 60}, {506, 96}, {484, 110}, {446, 104}, {432, 84}})}, lamp);
    Shape seams;
    for (int i = 0; i < 3; ++i)
        seams.push_back(Band({{452 + float(i) * 12, 64 - float(i) * 3}, {466 + float(i) * 11, 80}, {476 + float(i) * 10, 96}}, 1.2f));
    Paint(c, MaskOf(c, seams), Hex(0x1A120C), 0.6f);
    Leather(c, {Band({{446, 62}, {420, 60}, {398, 66}}, 20), Ellipse(398, 66, 10, 10)}, lamp);
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
    Snowfall(c, 33, 0, 1, 45, Mix(Night.snow, Hex(0xFFFFFF), 0.5f), 0);  // the snow has grown light
}

void Sc33(Canvas& c, int, int) { MountainRoad(c, false); }
void Sc43(Canvas& c, int, int) { MountainRoad(c, true); }

// The deep valley at night from the edge of the old road where the cedars end: the far
// wall rising steeply from the valley floor to its ridge, gullies of snow down it
// between dark woods; on the narrow floor far below, the river and the town's few
// lights strung along it, a handful up the slopes; mist in the bottom; the tops of the
// near cedars below the road. 湊 and 小夜 stand at the edge, seen from behind (with
// `coatLent` she wears his coat), where the slide sideways keeps them in view.
void Valley(Canvas& c, bool coatLent) {
    const float w = float(c.width);
    Palette p = Night;
    p.stars = 0.35f;  // the clouds thinning, a little snow still falling
    Sky(c, p, 110);
    Stars(c, 34, p.stars, 100);
    Cut(c, Ridge(c.width, 92, 30, 0.004f, 341, 377), Mix(p.far, p.sky[3], 0.3f), 0.3f);
    // The far wall: from its ridge down to the floor at about y 250, snow in its gullies.
    Mask wall = MaskOf(c, Ridge(c.width, 120, 34, 0.006f, 342, 377));
    PaintGradient(c, wall, Mix(p.far, p.snow, 0.18f), Mix(p.mid, p.far, 0.5f), 90, 250);
    // Snow lying in patches between the wall's woods.
    for (int y = 100; y < 250; ++y)
        for (int x = 0; x < c.width; ++x) {
            float n = Noise2(float(x) * 0.02f, float(y) * 0.05f, 343), a = wall.At(x, y);
            if (n > 0.62f && a > 0) c.At(x, y) = Mix(c.At(x, y), Mix(p.snow, p.far, 0.4f), (n - 0.62f) * 2.2f * a);
        }
    Cut(c, Woods(c.width, 178, 30, 343, 260, 0.8f), Mix(p.mid, p.front, 0.3f), 0.2f);
    Cut(c, Woods(c.width, 214, 22, 346, 262, 0.7f), Mix(p.mid, p.front, 0.5f), 0.2f);
    // The narrow floor and the river winding along it.
    Mask floor = MaskOf(c, {Rect(-2, 246, w + 2, 377)});
    PaintGradient(c, floor, Mix(p.snow, p.mid, 0.7f), Mix(p.snow, p.mid, 0.78f), 246, 280);
    auto riverY = [&](float x) { return 258 + 6 * std::sin(x / w * 9.f + 0.6f) + 3 * std::sin(x / w * 23.f); };
    Shape river;
    for (float x = -10; x < w + 10; x += 6)
        river.push_back(Polygon({{x, riverY(x) - 2}, {x + 6, riverY(x + 6) - 2}, {x + 6, riverY(x + 6) + 2.5f}, {x, riverY(x) + 2.5f}}));
    Paint(c, MaskOf(c, river), Mix(p.sky[3], p.snow, 0.3f), 0.7f);
    // The town's lights: a short street by the river at the middle of the valley, a few
    // more along it either way, one or two up the slopes.
    auto light = [&](float x, float y, float warmth, float strength) {
        Rgb colour = Mix(Hex(0xD8E4FF), Hex(0xFFD890), warmth);
        Dot(c, x, y, 0.9f, colour, strength);
        Glow(c, x, y, 4, Mix(colour, p.light, 0.5f), 0.35f * strength);
    };
    for (int i = 0; i < 34; ++i) {
        float x = 400 + Hash(i, 0, 344) * 340, spread = std::exp(-std::pow((x - 570) / 120, 2.f));
        if (Hash(i, 1, 344) > 0.3f + 0.7f * spread) continue;
        light(x, riverY(x) + (Hash(i, 2, 344) - 0.5f) * 14, 0.6f + 0.4f * Hash(i, 3, 344), 0.75f + 0.25f * Hash(i, 4, 344));
    }
    for (int i = 0; i < 14; ++i)
        light(80 + Hash(i, 5, 344) * (w - 160), riverY(80) + (Hash(i, 6, 344) - 0.5f) * 16, 0.8f, 0.7f);
    for (int i = 0; i < 6; ++i)
        light(200 + Hash(i, 7, 344) * (w - 400), 215 + Hash(i, 8, 344) * 30, 0.9f, 0.55f);
    // Mist lying in the bottom.
    for (int y = 236; y < 282; ++y) {
        float k = 0.16f * std::exp(-std::pow((float(y) - 262) / 12, 2.f));
        for (int x = 0; x < c.width; ++x) c.At(x, y) = Mix(c.At(x, y), Mix(p.snow, p.sky[3], 0.5f), k);
    }
    // The near wall falling steeply from below the road to the floor, dark with woods.
    Mask nearWall = MaskOf(c, Ridge(c.width, 290, 16, 0.008f, 347, 377));
    PaintGradient(c, nearWall, Mix(p.near, p.front, 0.3f), p.front, 270, 377);
    Cut(c, Woods(c.width, 300, 18, 348, 377, 0.9f), p.front * 0.9f, 0.2f);
    // The near slope falling away below the road: the tops of its cedars.
    Shape near;
    for (int i = 0; i < 46; ++i) {
        float x = float(i) * w / 45 + Hash(i, 12, 34) * 14, edge = std::max(0.f, 1 - std::min(x, w - x) / 260);
        near.push_back(Cedar(x, 392, 70 + 40 * Hash(i, 13, 34) + 170 * edge, 3400 + i));
    }
    Cut(c, near, p.front, 0.4f);
    // The road's snowy edge where they stand, and the lantern's light on it.
    Mask road = MaskOf(c, {Polygon({{440, 377}, {470, 356}, {540, 350}, {640, 352}, {700, 362}, {720, 377}})});
    PaintGradient(c, road, Mix(p.snow, p.near, 0.4f), Mix(p.snow, p.near, 0.2f), 350, 377);
    LightPool(c, 548, 362, 90, 12, p.light, 0.6f);
    Figure(c, Who::Minato, Pose::BackWalk, {548, 372, 112, 1, 0.7f, p.light, 0, -2, 1}, Holding::Nothing, coatLent);
    SayoLook look;
    look.coat = coatLent, look.light = 0.75f, look.rim = p.light, look.rimDx = -2, look.rimDy = -2;
    DrawSayo(c, SayoPose::FromBehind, 592, 373, 100, 1, look);
    Glow(c, 528, 330, 5, p.light, 1);
    Glow(c, 528, 330, 34, p.light, 0.35f);
    Snowfall(c, 34, 0, 1, 70, Mix(p.snow, Hex(0xFFFFFF), 0.5f), 0);
}

void Sc34(Canvas& c, int, int) { Valley(c, false); }
void Sc49(Canvas& c, int, int) { Valley(c, true); }

// The roadside jizo under the cliff, lit from the right by the lantern 湊 set down, and
// 小夜 crouching before it with her hands together (in his coat while she wears it).
void Jizo(Canvas& c, bool coatLent) {
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
    const Contour base = Polygon({{134, 314}, {226, 314}, {238, 350}, {122, 350}});
    Cut(c, {base}, Hex(0x4A4A54), 0.5f);
    Contour robe = Polygon({{158, 196}, {202, 196}, {222, 232}, {228, 300}, {222, 318}, {136, 318}, {130, 300}, {136, 232}});
    Shape jizo{robe, Ellipse(180, 170, 25, 28)};
    Mask j = MaskOf(c, jizo);
    Cut(c, j, Hex(0x6A6A72), 0.5f);
    PaintGradient(c, j, Hex(0x62626C), Hex(0x3A3A44), 150, 320);
    Cut(c, {Polygon({{156, 194}, {204, 194}, {210, 226}, {180, 244}, {150, 226}})}, Hex(0x8A3A3A), 0.3f);
    Cut(c, {Ellipse(180, 266, 10, 15)}, Hex(0x50505A), 0.3f);
    // Eyes closed in two thin arcs, a faint smile.
    Shape face{Wire({168, 170}, {177, 170}, 2, 1.3f), Wire({183, 170}, {192, 170}, 2, 1.3f), Wire({175, 183}, {185, 183}, 1.5f, 1.1f)};
    Paint(c, MaskOf(c, face), Hex(0x2E2E36), 0.8f);
    Mask all = j;
    Cover(all, {base});
    SnowOnTop(c, all, Night.snow * 1.6f, 9);
    Rim(c, all, 4, 0, Night.light, 0.7f);
    // A little stone cup before it with the dried flowers.
    Shape stems{Stroke({256, 330}, {248, 290}, 1.6f), Stroke({260, 330}, {262, 286}, 1.6f), Stroke({264, 330}, {276, 292}, 1.6f)};
    Cut(c, stems, Hex(0x6A5038), 0.2f);
    Shape heads;
    for (Point h : {Point{248, 288}, Point{262, 284}, Point{276, 290}, Point{254, 296}, Point{270, 296}})
        heads.push_back(Ellipse(h.x, h.y, 4, 3.5f));
    Cut(c, heads, Hex(0xA86A4E), 0.2f);
    Mask cup = MaskOf(c, {Polygon({{246, 326}, {274, 326}, {270, 348}, {250, 348}})});
    Cut(c, cup, Hex(0x50505A), 0.4f);
    Rim(c, cup, 4, 0, Night.light, 0.6f);
    SnowOnTop(c, cup, Night.snow * 1.5f, 3);
    Glow(c, 530, 230, 150, Night.light, 0.45f);
    SayoLook look;
    look.coat = coatLent, look.light = 0.8f, look.rim = Night.light, look.rimDx = 3, look.rimDy = -1;
    look.snow = Mix(Night.snow, Hex(0xFFFFFF), 0.3f);
    DrawSayo(c, SayoPose::Crouch, 330, 352, 250, -1, look);
    Snowfall(c, 35, 0, 1, 40, Mix(Night.snow, Hex(0xFFFFFF), 0.5f), 0);
}

void Sc35(Canvas& c, int, int) { Jizo(c, false); }
void Sc50(Canvas& c, int, int) { Jizo(c, true); }

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

// An old grave of the temple's yard: the tall stone with its low-peaked top on two
// plinths, each a block with its face to us, its right side in shade and its top seen
// from a little above; the engraving as faint columns of cuts; snow lying on every top,
// the morning's light on their left edges. `w` is the stone's width, `h` its height.
void GraveStone(Canvas& c, float x, float base, float w, float h, Rgb stone, Rgb light, Rgb snow, int seed) {
    const float side = w * 0.42f, rise = w * 0.22f;
    Shape fronts, sides, tops;
    auto block = [&](float half, float top, float bottom, bool peaked) {
        float peak = peaked ? w * 0.12f : 0;
        fronts.push_back(Polygon({{x - half, top}, {x, top - peak}, {x + half, top}, {x + half, bottom}, {x - half, bottom}}));
        sides.push_back(Polygon({{x + half, top}, {x + half + side, top - rise}, {x + half + side, bottom - rise},
                                 {x + half, bottom}}));
        tops.push_back(Polygon({{x - half, top}, {x, top - peak}, {x + half, top}, {x + half + side, top - rise},
                                {x + side, top - rise - peak}, {x - half + side, top - rise}}));
    };
    const float low = base - w * 0.34f, mid = low - w * 0.3f, top = mid - h;
    block(w * 1.1f, low, base, false);
    block(w * 0.8f, mid, low, false);
    block(w * 0.5f, top, mid, true);
    Mask all = MaskOf(c, fronts);
    Cover(all, sides);
    Cover(all, tops);
    Shadow(c, all, 3, 2, std::max(2, int(w * 0.25f)), 0.45f, Hex(0x07060E));
    Paint(c, MaskOf(c, fronts), stone);
    Paint(c, MaskOf(c, sides), stone * 0.6f);
    // Weathering: darker streaks down the faces from the top, lichen near the foot.
    Shape streaks;
    for (int i = 0; i < 5; ++i) {
        float sx = x - w * 0.45f + Hash(i, 0, seed) * w * 0.9f;
        streaks.push_back(Rect(sx, top + 2, sx + std::max(1.f, w * 0.04f), top + h * (0.3f + 0.5f * Hash(i, 1, seed))));
    }
    Paint(c, MaskOf(c, streaks), stone * 0.82f, 0.5f);
    // The engraving, too worn and too far to read: two columns of characters, each a
    // few short strokes across, down and aslant.
    Shape cut;
    const float cell = w * 0.2f, t = std::max(0.8f, w * 0.035f);
    for (int col = 0; col < 2; ++col)
        for (int k = 0; k < 6; ++k) {
            Point o{x - w * 0.14f + float(col) * w * 0.28f, top + h * 0.1f + float(k) * cell * 1.25f};
            if (o.y + cell > mid - h * 0.06f) break;
            for (int n = 0; n < 4; ++n) {
                float a = Hash(k * 4 + n, col, seed), b = Hash(k * 4 + n, col + 3, seed), d = Hash(k * 4 + n, col + 6, seed);
                Point p{o.x + (a - 0.5f) * cell * 0.8f, o.y + (b - 0.5f) * cell * 0.8f};
                Point q = d < 0.4f ? Point{p.x + cell * 0.5f, p.y} : d < 0.75f ? Point{p.x, p.y + cell * 0.5f}
                                                                   : Point{p.x + cell * 0.35f, p.y + cell * 0.35f};
                cut.push_back(Stroke({p.x - (q.x - p.x) * 0.5f, p.y - (q.y - p.y) * 0.5f}, q, t));
            }
        }
    Paint(c, MaskOf(c, cut), stone * 0.52f, 0.6f);
    // The flower vases at the stone's foot.
    Shape vases;
    for (float s : {-1.f, 1.f})
        vases.push_back(Polygon({{x + s * w * 0.62f - w * 0.1f, mid}, {x + s * w * 0.62f + w * 0.1f, mid},
                                 {x + s * w * 0.62f + w * 0.12f, mid - w * 0.3f}, {x + s * w * 0.62f - w * 0.12f, mid - w * 0.3f}}));
    Mask v = MaskOf(c, vases);
    Cut(c, v, stone * 0.78f, 0.3f);
    // Snow lying on the tops: each top raised into a slab, its edges softened.
    Shape slabs;
    for (const Contour& top : tops) {
        float depth = w * 0.14f;
        Contour slab;
        for (Point p : top) slab.push_back({p.x, p.y - depth});
        slabs.push_back(slab);
        slabs.push_back(top);
        float left = top[0].x, right = top[3].x, y0 = top[0].y, y1 = top[3].y;
        slabs.push_back(Polygon({{left, y0 - depth}, {right, y1 - depth}, {right, y1}, {left, y0}}));
    }
    Mask caps = MaskOf(c, slabs);
    Cover(caps, {Rect(0, 0, 0, 0)});
    Blur(caps, std::max(1, int(w * 0.06f)));
    for (float& a : caps.a) a = std::clamp((a - 0.35f) * 3.f, 0.f, 1.f);
    Cut(c, caps, snow, 0.2f);
    Rim(c, caps, -2, -2, light, 0.55f);
    Rim(c, all, -3, 0, light, 0.6f);
}

// The temple's yard at the edge of the town at dawn: a gold sky over the eastern ridge
// at the left, the slope of graves under snow, a plum tree at the right with its first
// white flowers. `rows` of graves recede up the slope; the nearest stones are at `near`.
// The sky of the morning at the graves: pale blue high up, going through lilac to peach
// and gold over the ridge where the sun comes.
Palette GoldMorning(float warmth) {
    Palette p = DawnAt(0.72f);
    p.sky[0] = Hex(0x4A5C9C), p.sky[1] = Mix(Hex(0x8A88B8), Hex(0xB098B8), warmth);
    p.sky[2] = Mix(Hex(0xE8B0A8), Hex(0xFFC894), warmth), p.sky[3] = Hex(0xFFE2AC);
    p.far = Mix(Hex(0x8A7A9C), Hex(0xA88A98), warmth);
    return p;
}

void Graveyard(Canvas& c) {
    Palette gold = GoldMorning(0.3f);
    Sky(c, gold, 260);
    Glow(c, 60, 205, 70, Hex(0xFFD890), 0.5f);
    Cut(c, Ridge(c.width, 200, 50, 0.008f, 371, 377), gold.far, 0.3f);
    Cut(c, Woods(c.width, 238, 26, 375, 377, 0.7f), Mix(gold.mid, gold.far, 0.3f), 0.25f);
    Mask slope = MaskOf(c, Ridge(c.width, 262, 14, 0.01f, 372, 377));
    PaintGradient(c, slope, Hex(0xF0DCD4), Hex(0xC8B8CC), 250, 375);
    const Rgb stone = Hex(0x6A6470), light = Hex(0xFFD890), snow = Hex(0xFFF2EA);
    // The far row, small, then the near row.
    for (int i = 0; i < 7; ++i) {
        float x = 40 + float(i) * 70 + Hash(i, 0, 37) * 16;
        GraveStone(c, x, 278 + Hash(i, 1, 37) * 6, 9 + Hash(i, 2, 37) * 2, 30 + Hash(i, 3, 37) * 8,
                   Mix(stone, gold.far, 0.35f), light, snow, 370 + i);
    }
    for (int i = 0; i < 4; ++i) {
        if (i == 2) continue;  // the path she walks up
        float x = 50 + float(i) * 120 + Hash(i, 4, 37) * 20;
        GraveStone(c, x, 318 + Hash(i, 5, 37) * 8, 15 + Hash(i, 6, 37) * 3, 52 + Hash(i, 7, 37) * 12, stone, light,
                   snow, 380 + i);
    }
}

// The plum tree at the right, its first flowers out on the thin twigs.
void PlumTree(Canvas& c, Point root, float scale) {
    Shape wood;
    std::vector<Point> twigs;
    PlumBranch(wood, twigs, root, -1.72f, 120 * scale, 16 * scale, 0, 38);
    PlumBranch(wood, twigs, {root.x - 18 * scale, root.y - 90 * scale}, -2.5f, 70 * scale, 8 * scale, 1, 39);
    Mask tree = MaskOf(c, wood);
    Cut(c, tree, Hex(0x2A1E24), 0.4f);
    Rim(c, tree, -2, 0, Hex(0xFFD890), 0.4f);
    for (size_t i = 0; i < twigs.size(); ++i) {
        Point f{twigs[i].x + (Hash(int(i), 0, 40) - 0.5f) * 5, twigs[i].y + (Hash(int(i), 1, 40) - 0.5f) * 5};
        if (Hash(int(i), 2, 40) < 0.45f) {  // a bud
            Dot(c, f.x, f.y, 1.6f * scale, Hex(0xF0C8C8), 0.9f);
            continue;
        }
        for (int k = 0; k < 5; ++k) {
            float a = float(k) * 1.2566f + Hash(int(i), 3, 40);
            Dot(c, f.x + std::cos(a) * 2 * scale, f.y + std::sin(a) * 2 * scale, 1.7f * scale, Hex(0xFFF8F4), 0.95f);
        }
        Dot(c, f.x, f.y, 0.9f * scale, Hex(0xD07080), 0.8f);
    }
}

// She has come with 湊 to the graves and stands among them, seen from behind, before
// the row where her mother lies (in his coat while she still wears it).
void AmongTheGraves(Canvas& c, bool coatLent) {
    Graveyard(c);
    PlumTree(c, {470, 380}, 1);
    SayoLook look;
    look.coat = coatLent, look.light = 0.85f, look.rim = Hex(0xFFD890), look.rimDx = -3, look.rimDy = -1;
    DrawSayo(c, SayoPose::FromBehind, 292, 366, 176, 1, look);
}

// Close before her mother's grave: the stone at the right, a plum branch over it, the
// first sunlight on its snow; `who`: 0 nobody, 1 小夜 kneeling, 2 kneeling in 湊's coat;
// with nobody, the old ticket lies on the snow where she knelt.
void BeforeTheGrave(Canvas& c, int who) {
    Palette gold = GoldMorning(who ? 0.6f : 1.f);
    Sky(c, gold, 230);
    Glow(c, 40, 190, 90, Hex(0xFFD890), who ? 0.55f : 0.9f);
    Cut(c, Ridge(c.width, 180, 40, 0.008f, 381, 377), gold.far, 0.3f);
    Mask ground = MaskOf(c, Ridge(c.width, 292, 8, 0.01f, 382, 377));
    PaintGradient(c, ground, Hex(0xF4E2D8), Hex(0xCCBCCC), 285, 375);
    const Rgb stone = Hex(0x6A6470), light = Hex(0xFFD890), snow = Hex(0xFFF2EA);
    GraveStone(c, 80, 300, 16, 62, Mix(stone, gold.far, 0.3f), light, snow, 391);
    GraveStone(c, 368, 342, 46, 178, stone, light, snow, 390);
    PlumTree(c, {520, 300}, 1.2f);
    LightPool(c, 300, 330, 160, 30, Hex(0xFFE0B0), who ? 0.35f : 0.6f);
    if (who) {
        SayoLook look;
        look.coat = who == 2, look.light = 0.85f, look.rim = light, look.rimDx = -3, look.rimDy = -1;
        DrawSayo(c, SayoPose::Kneel, 222, 356, 268, 1, look);
        return;
    }
    // The ticket on the snow, its printing too small to read from here.
    Contour ticket = Polygon({{236, 344}, {268, 339}, {271, 352}, {239, 357}});
    Mask t = MaskOf(c, {ticket});
    Cut(c, t, Hex(0xE2D2A4), 0.35f);
    Paint(c, MaskOf(c, {Stroke({242, 346}, {262, 343}, 1.2f), Stroke({243, 351}, {256, 349}, 1.0f)}), Hex(0x6A5A48), 0.7f);
    Glow(c, 120, 170, 160, Hex(0xFFE6B0), 0.3f);
}

void Sc37(Canvas& c, int, int) { AmongTheGraves(c, false); }
void Sc51(Canvas& c, int, int) { AmongTheGraves(c, true); }
void Sc52(Canvas& c, int, int) { BeforeTheGrave(c, 1); }
void Sc53(Canvas& c, int, int) { BeforeTheGrave(c, 2); }
void Sc54(Canvas& c, int, int) { BeforeTheGrave(c, 0); }

// In the first sunlight she grows faint among the graves, smiling, the plum's flowers
// showing through her braids.
void Sc38(Canvas& c, int, int) {
    Graveyard(c);
    PlumTree(c, {470, 380}, 1);
    Glow(c, 240, 220, 140, Hex(0xFFE6B0), 0.3f);
    SayoLook look;
    look.light = 1.05f, look.rim = Hex(0xFFF0C8), look.rimDx = -3, look.rimDy = -1, look.opacity = 0.55f,
    look.smiling = true;
    DrawSayo(c, SayoPose::Stand, 352, 362, 206, -1, look);
    Glow(c, 330, 200, 60, Hex(0xFFF0D0), 0.25f);
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
    {"sc36.sad", Sc36}, {"sc37.sad", Sc37}, {"sc38.sad", Sc38}, {"sc39.sad", Sc39}, {"sc40.sad", Sc40},
    {"sc41.sad", Sc41}, {"sc42.sad", Sc42}, {"sc43.sad", Sc43}, {"sc44.sad", Sc44}, {"sc45.sad", Sc45},
    {"sc46.sad", Sc46}, {"sc47.sad", Sc47}, {"sc48.sad", Sc48}, {"sc49.sad", Sc49}, {"sc50.sad", Sc50},
    {"sc51.sad", Sc51}, {"sc52.sad", Sc52}, {"sc53.sad", Sc53}, {"sc54.sad", Sc54},
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
