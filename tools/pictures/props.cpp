// The station's pieces, each a few paper layers with their lights.
#include "tools/pictures/props.h"

#include <algorithm>
#include <cmath>

namespace art {

void PlatformAndTrack(Canvas& c, const View& v, const Palette& p, float zFar, float curve, float platformEnd) {
    const float zNear = 0.8f;
    float zTrack = zFar;
    if (platformEnd > 0) zFar = platformEnd;
    auto bend = [&](float z) { return curve * z * z / 40.f; };
    // The track bed: a dark band of ballast and snow reaching to the distance.
    Shape bed{{v.P(-4, TrackBed, zTrack), v.P(12 + bend(zTrack), TrackBed, zTrack), v.P(12, TrackBed, zNear),
               v.P(-4, TrackBed, zNear)}};
    Cut(c, bed, Mix(p.front, p.snow, 0.25f), 0);
    // Sleepers and rails, following the curve.
    Shape sleepers, rails;
    for (float z = 1.2f; z < zTrack; z += 0.7f) {
        float x = TrackX + bend(z);
        Point a = v.P(x - 1.0f, TrackBed, z), b = v.P(x + 1.0f, TrackBed, z);
        sleepers.push_back(Stroke(a, b, std::max(0.6f, v.f * 0.12f / z)));
    }
    Cut(c, sleepers, Mix(p.front, p.near, 0.5f), 0);
    for (float side : {-0.53f, 0.53f}) {
        Contour left, right;
        for (float z = zNear; z <= zTrack + 0.01f; z += std::max(0.5f, z * 0.1f)) {
            float x = TrackX + side + bend(z), w = 0.07f;
            left.push_back(v.P(x - w, TrackBed + 0.15f, z));
            right.push_back(v.P(x + w, TrackBed + 0.15f, z));
        }
        left.insert(left.end(), right.rbegin(), right.rend());
        rails.push_back(left);
    }
    Mask railMask = MaskOf(c, rails);
    Paint(c, railMask, Mix(p.mid, p.light, 0.18f));
    // The platform: its face toward the track and its snowy top.
    Shape face{{v.P(1, PlatformTop, zNear), v.P(1, PlatformTop, zFar), v.P(1, TrackBed, zFar), v.P(1, TrackBed, zNear)}};
    Cut(c, face, p.near, 0.5f);
    Shape top{{v.P(-8, PlatformTop, zNear), v.P(1, PlatformTop, zNear), v.P(1, PlatformTop, zFar),
               v.P(-8, PlatformTop, zFar)}};
    Mask topMask = MaskOf(c, top);
    PaintGradient(c, topMask, Mix(p.snow, p.near, 0.55f), Mix(p.snow, p.near, 0.15f), v.vy, float(c.height));
    // Snow banked along the edge, its top a little uneven.
    Contour bank;
    for (float z = zNear; z <= zFar; z += std::max(0.3f, z * 0.08f)) bank.push_back(v.P(0.6f, PlatformTop, z));
    for (float z = zFar; z >= zNear; z -= std::max(0.3f, z * 0.08f))
        bank.push_back(v.P(1.02f, PlatformTop + 0.12f + 0.12f * Noise1(z * 1.3f, 5), z));
    Cut(c, {bank}, Mix(p.snow, p.near, 0.2f), 0.25f);
}

void LightPool(Canvas& c, float x, float y, float rx, float ry, Rgb colour, float strength) {
    int x0 = std::max(0, int(x - rx * 2)), x1 = std::min(c.width, int(x + rx * 2));
    int y0 = std::max(0, int(y - ry * 2)), y1 = std::min(c.height, int(y + ry * 2));
    for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx) {
            float dx = (float(xx) - x) / rx, dy = (float(yy) - y) / ry;
            float k = std::exp(-(dx * dx + dy * dy) * 1.5f) * strength;
            Rgb& px = c.At(xx, yy);
            px = px + px * colour * (k * 1.6f) + colour * (k * 0.12f);
        }
}

void PlatformLamp(Canvas& c, const View& v, const Palette& p, float x, float z, float light, Rgb colour) {
    Point base = v.P(x, PlatformTop, z), top = v.P(x, PlatformTop + 3.2f, z);
    float s = v.f / z;
    Point arm = {top.x + s * 0.35f, top.y};
    Shape post{Stroke(base, {top.x, top.y - s * 0.05f}, s * 0.12f), Stroke(top, arm, s * 0.06f),
               Polygon({{arm.x - s * 0.22f, arm.y + s * 0.08f}, {arm.x + s * 0.22f, arm.y + s * 0.08f},
                        {arm.x + s * 0.08f, arm.y - s * 0.08f}, {arm.x - s * 0.08f, arm.y - s * 0.08f}})};
    Mask m = MaskOf(c, post);
    Cut(c, m, p.front, 0.35f);
    SnowOnTop(c, m, p.snow, std::max(1, int(s * 0.06f)));
    if (light <= 0) return;
    Point bulb = {arm.x, arm.y + s * 0.14f};
    // A faint cone of light from the shade down to the snow.
    Mask cone = MaskOf(c, {Polygon({{bulb.x - s * 0.15f, bulb.y}, {bulb.x + s * 0.15f, bulb.y},
                                    {bulb.x + s * 1.1f, base.y}, {bulb.x - s * 1.1f, base.y}})});
    Blur(cone, int(std::max(2.f, s * 0.25f)));
    for (size_t i = 0; i < c.px.size(); ++i) c.px[i] = c.px[i] + colour * (cone.a[i] * 0.09f * light);
    LightPool(c, bulb.x, base.y, s * 1.4f, s * 0.35f, colour, 0.55f * light);
    Dot(c, bulb.x, bulb.y, s * 0.06f, Mix(colour, Hex(0xFFFFFF), 0.6f), light);
    Glow(c, bulb.x, bulb.y, s * 0.25f, colour, 0.9f * light);
    Glow(c, bulb.x, bulb.y, s * 1.1f, colour, 0.22f * light);
}

void PlatformBench(Canvas& c, const View& v, const Palette& p, float x, float z) {
    float y = PlatformTop;
    Shape bench{{v.P(x, y + 0.45f, z), v.P(x, y + 0.45f, z + 1.8f), v.P(x + 0.4f, y + 0.45f, z + 1.8f),
                 v.P(x + 0.4f, y + 0.45f, z)},
                {v.P(x - 0.02f, y + 0.6f, z), v.P(x - 0.02f, y + 0.6f, z + 1.8f), v.P(x - 0.02f, y + 0.9f, z + 1.8f),
                 v.P(x - 0.02f, y + 0.9f, z)},
                Stroke(v.P(x + 0.2f, y, z + 0.1f), v.P(x + 0.2f, y + 0.45f, z + 0.1f), v.f * 0.05f / z),
                Stroke(v.P(x + 0.2f, y, z + 1.7f), v.P(x + 0.2f, y + 0.45f, z + 1.7f), v.f * 0.05f / z)};
    Mask m = MaskOf(c, bench);
    Cut(c, m, Mix(p.near, Hex(0x3A2A20), 0.35f), 0.4f);
}

void Tunnel(Canvas& c, const View& v, const Palette& p, float z, float inner) {
    Point centre = v.P(TrackX, TrackBed, z);
    float s = v.f / z;
    // The hillside: a ridge rising on both sides of the portal, with cedars on it.
    Shape hill = Ridge(c.width, centre.y - s * 8.5f, s * 7.f, 0.012f, 11, centre.y + 2);
    Mask hillMask = MaskOf(c, hill);
    Cut(c, hillMask, p.mid, 0.4f);
    Cut(c, Woods(c.width, centre.y - s * 8.f, s * 4.f, 12, centre.y - s * 6.f), Mix(p.mid, p.front, 0.5f), 0.3f);
    float w = s * 2.6f, h = s * 5.0f;
    Contour portal = Rect(centre.x - w * 1.5f, centre.y - h * 1.3f, centre.x + w * 1.5f, centre.y);
    Cut(c, {portal}, Mix(p.near, p.snow, 0.12f), 0.4f);
    Contour arch;
    for (int i = 0; i <= 24; ++i) {
        float a = float(M_PI) * float(i) / 24.f;
        arch.push_back({centre.x + std::cos(a) * w, centre.y - h + w - std::sin(a) * w});
    }
    arch.push_back({centre.x - w, centre.y});
    arch.push_back({centre.x + w, centre.y});
    Mask mouth = MaskOf(c, {arch});
    Paint(c, mouth, Mix(Hex(0x0C0A14), p.light * 0.9f, inner));
    // The stone ring of the arch.
    Shape stones;
    for (int i = 0; i <= 12; ++i) {
        float a = float(M_PI) * float(i) / 12.f;
        Point q{centre.x + std::cos(a) * w * 1.12f, centre.y - h + w - std::sin(a) * w * 1.12f};
        stones.push_back(Ellipse(q.x, q.y, s * 0.3f, s * 0.3f, 10));
    }
    Mask ring = MaskOf(c, stones);
    Subtract(ring, mouth);
    Paint(c, ring, Mix(p.mid, p.snow, 0.2f));
    SnowOnTop(c, MaskOf(c, {portal}), p.snow, std::max(1, int(s * 0.25f)));
}

void Station(Canvas& c, float x, float ground, float k, const Palette& p, float windows, bool shutters) {
    float w = 300 * k, h = 92 * k, roof = 70 * k;
    Rgb wood = Mix(p.near, Hex(0x4A3424), 0.3f);
    // The body, its roof with snow, and a chimney.
    Contour body = Rect(x - w / 2, ground - h, x + w / 2, ground);
    Contour roofShape = Polygon({{x - w / 2 - 22 * k, ground - h + 4 * k}, {x - w / 2 + 40 * k, ground - h - roof},
                                 {x + w / 2 - 40 * k, ground - h - roof}, {x + w / 2 + 22 * k, ground - h + 4 * k}});
    Contour chimney = Rect(x + w * 0.22f, ground - h - roof - 26 * k, x + w * 0.22f + 12 * k, ground - h - roof + 10 * k);
    Mask roofMask = MaskOf(c, {roofShape, chimney});
    Cut(c, {body}, wood, 0.5f);
    // Boards.
    Shape boards;
    for (float bx = x - w / 2 + 10 * k; bx < x + w / 2; bx += 12 * k)
        boards.push_back(Rect(bx, ground - h, bx + 1.2f * k, ground));
    Paint(c, MaskOf(c, boards), wood * 0.75f);
    Cut(c, roofMask, p.front, 0.5f);
    SnowOnTop(c, roofMask, p.snow, int(12 * k));
    // Windows and the door, lit from inside or shuttered.
    Rgb lit = Mix(p.light, Hex(0xFFE2A0), 0.3f);
    for (int i = -2; i <= 2; ++i) {
        float cx = x + float(i) * 58 * k, top = ground - h + 22 * k, bottom = ground - (i == 0 ? 0 : 26 * k);
        float half = (i == 0 ? 18 : 16) * k;
        Contour pane = Rect(cx - half, top, cx + half, bottom);
        Mask m = MaskOf(c, {pane});
        if (shutters) {
            Paint(c, m, Mix(wood, p.snow, 0.15f));
            Shape slats;
            for (float sy = top + 4 * k; sy < bottom; sy += 6 * k) slats.push_back(Rect(cx - half, sy, cx + half, sy + 1.2f * k));
            Paint(c, MaskOf(c, slats), wood * 0.6f);
            continue;
        }
        Paint(c, m, Mix(wood * 0.6f, lit, windows));
        Shape bars{Rect(cx - 1 * k, top, cx + 1 * k, bottom), Rect(cx - half, (top + bottom) / 2 - k, cx + half, (top + bottom) / 2 + k)};
        Paint(c, MaskOf(c, bars), wood * 0.5f);
        if (windows > 0) {
            Glow(c, cx, (top + bottom) / 2, half * 1.3f, p.light, 0.35f * windows);
            LightPool(c, cx, ground + 8 * k, half * 2.5f, 10 * k, p.light, 0.3f * windows);
        }
    }
    // The name over the door and an eave lamp.
    Mask name = MakeMask(c.width, c.height);
    float size = 15 * k;
    std::string title = "灯野駅";
    Lettering(name, title, x - LetteringWidth(title, size, true) / 2, ground - h + 3 * k, size, true);
    Paint(c, name, Mix(p.snow, Hex(0xFFFFFF), 0.3f), 0.85f);
    if (windows > 0) {
        Glow(c, x - w / 2 + 20 * k, ground - h + 10 * k, 5 * k, p.light, 0.9f * windows);
        Glow(c, x - w / 2 + 20 * k, ground - h + 10 * k, 30 * k, p.light, 0.25f * windows);
    }
}

void NameBoard(Canvas& c, float x, float y, float w, const Palette& p, float light) {
    float h = w * 0.32f;
    Shape posts{Rect(x - w * 0.42f, y, x - w * 0.36f, y + h * 2.4f), Rect(x + w * 0.36f, y, x + w * 0.42f, y + h * 2.4f)};
    Cut(c, posts, p.front, 0.4f);
    Contour board = Rect(x - w / 2, y, x + w / 2, y + h);
    Mask m = MaskOf(c, {board});
    Cut(c, m, Mix(Hex(0xE8E2D2), p.near, 0.45f - 0.3f * light), 0.5f);
    SnowOnTop(c, m, p.snow, std::max(2, int(h * 0.12f)));
    Mask text = MakeMask(c.width, c.height);
    float big = h * 0.52f, small = h * 0.2f;
    std::string name = "灯野", reading = "ひの";
    Lettering(text, name, x - LetteringWidth(name, big, true) / 2, y + h * 0.36f, big, true);
    Lettering(text, reading, x - LetteringWidth(reading, small, true) / 2, y + h * 0.1f, small, true);
    Paint(c, text, Hex(0x1A1820));
    Paint(c, MaskOf(c, {Rect(x - w / 2 + 4, y + h - 6, x + w / 2 - 4, y + h - 4)}), Hex(0x6A2A2A) * (0.5f + light * 0.5f));
}

void PlankWall(Canvas& c, float top, float bottom, Rgb base, int seed) {
    for (int y = std::max(0, int(top)); y < std::min(c.height, int(bottom)); ++y)
        for (int x = 0; x < c.width; ++x) {
            int plank = x / 34;
            float grain = Noise2(float(x) * 0.9f, float(y) * 0.02f + float(plank) * 7, seed) - 0.5f;
            float tone = 0.85f + 0.3f * Hash(plank, 0, seed) + grain * 0.18f;
            if (x % 34 < 2) tone *= 0.45f;
            c.At(x, y) = base * tone;
        }
}

void Floor(Canvas& c, float top, Rgb base) {
    for (int y = std::max(0, int(top)); y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            float t = (float(y) - top) / std::max(1.f, float(c.height) - top);
            float seam = std::fmod(float(x) + (float(x) - 250) * t * 1.5f, 40.f) < 1.5f ? 0.6f : 1.f;
            c.At(x, y) = base * ((0.7f + 0.4f * t) * seam);
        }
}

void Stove(Canvas& c, float x, float floor, float k, float fire, int flicker) {
    Rgb iron = Hex(0x2A2426), rim = Hex(0xFF9A48);
    Shape body{Rect(x - 4 * k, floor - 170 * k, x + 4 * k, floor - 100 * k)};  // pipe toward the ceiling
    Contour pipe = Rect(x - 7 * k, -10, x + 7 * k, floor - 105 * k);
    Contour belly = Ellipse(x, floor - 55 * k, 38 * k, 44 * k);
    Contour top = Rect(x - 28 * k, floor - 108 * k, x + 28 * k, floor - 92 * k);
    Contour base = Polygon({{x - 32 * k, floor - 22 * k}, {x + 32 * k, floor - 22 * k}, {x + 26 * k, floor - 6 * k},
                            {x - 26 * k, floor - 6 * k}});
    Shape legs{Stroke({x - 22 * k, floor - 8 * k}, {x - 30 * k, floor}, 5 * k),
               Stroke({x + 22 * k, floor - 8 * k}, {x + 30 * k, floor}, 5 * k)};
    Shape all{pipe, belly, top, base, legs[0], legs[1]};
    Mask m = MaskOf(c, all);
    Cut(c, m, iron, 0.55f);
    // The glow of the iron around the fire and the little fire window.
    Rim(c, m, -4, 0, rim * 0.8f, 0.5f * fire);
    float f = fire * (0.75f + 0.25f * std::sin(float(flicker) * 2.3f + 0.5f));
    Contour window = Rect(x - 14 * k, floor - 62 * k, x + 14 * k, floor - 44 * k);
    Mask w = MaskOf(c, {window});
    Paint(c, w, Mix(Hex(0x3A1608), Hex(0xFFB050), f));
    // Flames: a few tongues whose heights change with the flicker.
    Shape tongues;
    for (int i = 0; i < 5; ++i) {
        float fx = x - 11 * k + float(i) * 5.5f * k;
        float fh = (6 + 10 * Hash(i, flicker, 3)) * k * fire;
        tongues.push_back(Polygon({{fx - 3 * k, floor - 44 * k}, {fx + 3 * k, floor - 44 * k}, {fx + Hash(i, flicker, 4) * 2 * k, floor - 44 * k - fh}}));
    }
    Mask flames = MaskOf(c, tongues);
    Subtract(flames, MakeMask(c.width, c.height));
    for (size_t i = 0; i < flames.a.size(); ++i) flames.a[i] *= w.a[i];
    Paint(c, flames, Hex(0xFFF0B0));
    Glow(c, x, floor - 53 * k, 22 * k, Hex(0xFF8A30), 0.7f * f);
    Glow(c, x, floor - 53 * k, 110 * k, Hex(0xFF8A30), 0.28f * f);
    (void)body;
}

void NightWindow(Canvas& c, float left, float top, float right, float bottom, const Palette& p, int seed) {
    Canvas outside = MakeCanvas(c.width, c.height, p.sky[0]);
    Sky(outside, p, bottom);
    Snowfall(outside, seed, 0, 1, int((right - left) * (bottom - top) / 250), p.snow, 0);
    Mask pane = MaskOf(c, {Rect(left, top, right, bottom)});
    for (size_t i = 0; i < c.px.size(); ++i)
        if (pane.a[i] > 0) c.px[i] = Mix(c.px[i], outside.px[i], pane.a[i]);
    Rgb frame = Hex(0x2A1A10);
    float mx = (left + right) / 2, my = (top + bottom) / 2;
    Shape bars{Rect(left - 5, top - 5, right + 5, top), Rect(left - 5, bottom, right + 5, bottom + 6),
               Rect(left - 5, top, left, bottom), Rect(right, top, right + 5, bottom), Rect(mx - 2, top, mx + 2, bottom),
               Rect(left, my - 2, right, my + 2)};
    Cut(c, bars, frame, 0.4f);
}

void WallNotice(Canvas& c, float left, float top, float right, float bottom, float light, int seed) {
    Mask m = MaskOf(c, {Rect(left, top, right, bottom)});
    Cut(c, m, Hex(0xD8CCA8) * light, 0.4f);
    Shape lines;
    for (float x = right - 8; x > left + 6; x -= 9)
        for (float y = top + 8; y < bottom - 8; y += 6)
            if (Hash(int(x), int(y), seed) > 0.25f) lines.push_back(Rect(x - 2.5f, y, x + 2.5f, y + 3.5f));
    Paint(c, MaskOf(c, lines), Hex(0x3A3028) * light, 0.7f);
}

void HangingBulb(Canvas& c, float x, float ceiling, float length, float angle, float light) {
    // Everything is laid out along the cord: `down` from the ceiling rose, `side` across.
    const Point down{std::sin(angle), std::cos(angle)}, side{std::cos(angle), -std::sin(angle)};
    auto at = [&](float along, float across) {
        return Point{x + down.x * along + side.x * across, ceiling + down.y * along + side.y * across};
    };
    const float neck = length + 36, centre = length + 70, r = 30;
    const Point mid = at(centre, 0);
    // First the light on the walls and beams, so that what hangs in it stays dark.
    LightPool(c, mid.x, mid.y, 230, 210, Hex(0xFFA850), 0.45f * light);
    Glow(c, mid.x, mid.y, 200, Hex(0xFFA850), 0.2f * light);
    // The ceiling rose on the beam, then the cloth cord, two twisted strands.
    Mask rose = MaskOf(c, {Ellipse(x, ceiling + 3, 16, 7), Rect(x - 13, ceiling - 4, x + 13, ceiling + 3)});
    Cut(c, rose, Hex(0x3A2A20), 0.5f);
    Shape cord;
    for (float t = 0; t < length; t += 7) {
        float twist = (int(t / 7) % 2 ? 1.f : -1.f) * 0.5f;
        cord.push_back(Stroke(at(t, twist), at(t + 7.5f, -twist), 3));
    }
    Mask cordMask = MaskOf(c, cord);
    Cut(c, cordMask, Hex(0x2A2018), 0.4f);
    Rim(c, cordMask, 0, 2, Hex(0xFFC070), 0.5f * light);
    // The bakelite socket with its brass ring, lit from below.
    Mask socket = MaskOf(c, {Polygon({at(length, -9), at(length, 9), at(length + 30, 12), at(length + 30, -12)}),
                             Ellipse(at(length, 0).x, at(length, 0).y, 9, 4)});
    Cut(c, socket, Hex(0x1E1612), 0.5f);
    Rim(c, socket, 0, 3, Hex(0xFFC070), 0.5f * light);
    Mask ring = MaskOf(c, {Polygon({at(length + 30, -12), at(length + 30, 12), at(length + 36, 11), at(length + 36, -11)})});
    PaintGradient(c, ring, Hex(0x6A4A20), Mix(Hex(0x6A4A20), Hex(0xFFD080), light), at(length + 30, 0).y,
                  at(length + 36, 0).y);
    // A pear of clear glass, the neck and then the globe, warm but not blown out, so
    // that the filament inside reads.
    Contour glass{at(neck, -9), at(neck, 9), at(neck + 16, 14)};
    for (int i = 0; i <= 20; ++i) {
        float a = -0.55f + float(i) / 20 * (float(M_PI) + 1.1f);  // round the bottom
        glass.push_back(at(centre + std::sin(a) * r, std::cos(a) * r));
    }
    glass.push_back(at(neck + 16, -14));
    Mask bulb = MaskOf(c, {glass});
    Paint(c, bulb, Mix(Hex(0x5A4030), Hex(0xE8A860), light), 0.85f);
    Glow(c, mid.x, mid.y, 24, Hex(0xFFC070), 0.35f * light);
    // The filament: two leads from the neck and a bright zigzag between them.
    Shape wire{Stroke(at(neck + 2, -4), at(centre - 2, -10), 1.1f), Stroke(at(neck + 2, 4), at(centre - 2, 10), 1.1f)};
    for (int i = 0; i < 5; ++i)
        wire.push_back(Stroke(at(centre - 2 + float(i % 2) * 7, -10 + float(i) * 4),
                              at(centre - 2 + float((i + 1) % 2) * 7, -6 + float(i) * 4), 1.8f));
    Paint(c, MaskOf(c, wire), Mix(Hex(0x5A4030), Hex(0xFFFFF0), light));
    Glow(c, mid.x, mid.y + 2, 8, Hex(0xFFFFE0), 0.6f * light);
    // Highlights on the glass: one toward the viewer's left, a rim along the bottom.
    Point shine = at(centre - 10, -17);
    Paint(c, MaskOf(c, {Ellipse(shine.x, shine.y, 4, 8)}), Hex(0xFFFFF0), 0.5f);
    Rim(c, bulb, 0, -3, Hex(0xFFF0C0), 0.4f);
}

void InteriorBench(Canvas& c, float left, float right, float seat, Rgb colour) {
    Shape bench{Rect(left, seat, right, seat + 10), Rect(left, seat - 60, right, seat - 44),
                Rect(left + 10, seat + 10, left + 18, seat + 70), Rect(right - 18, seat + 10, right - 10, seat + 70)};
    Cut(c, bench, colour, 0.5f);
}

void Carriage(Canvas& c, float left, float right, float top, float bottom, float light) {
    Rgb brown = Hex(0x4A2A1C);
    Shape body{Rect(left, top, right, bottom), Polygon({{left - 4, top + 2}, {right + 4, top + 2}, {right - 10, top - 16}, {left + 10, top - 16}})};
    Mask m = MaskOf(c, body);
    Cut(c, m, brown, 0.5f);
    // Vertical boards and the windows with their warm light.
    Shape boards;
    for (float x = left + 6; x < right; x += 9) boards.push_back(Rect(x, top, x + 1.2f, bottom));
    Paint(c, MaskOf(c, boards), brown * 0.7f);
    Rgb lit = Hex(0xFFD890);
    for (float x = left + 26; x + 40 < right; x += 62) {
        float wt = top + 18, wb = top + (bottom - top) * 0.55f;
        Mask w = MaskOf(c, {Rect(x, wt, x + 40, wb)});
        PaintGradient(c, w, Mix(brown, lit, light * 0.8f), Mix(brown, lit * 1.05f, light), wt, wb);
        // The backs of two seats facing each other in the light.
        Shape seats{Rect(x + 3, wb - (wb - wt) * 0.3f, x + 15, wb), Rect(x + 25, wb - (wb - wt) * 0.3f, x + 37, wb)};
        Paint(c, MaskOf(c, seats), Mix(brown, Hex(0x6A3A2A), 0.5f) * 0.8f);
        Paint(c, MaskOf(c, {Rect(x, (wt + wb) / 2 - 1, x + 40, (wt + wb) / 2 + 1)}), brown * 0.6f);
        Glow(c, x + 20, (wt + wb) / 2, 22, Hex(0xFFB860), 0.35f * light);
        LightPool(c, x + 20, bottom + 20, 30, 12, Hex(0xFFB860), 0.3f * light);
    }
    Shape under{Rect(left + 10, bottom, right - 10, bottom + 10)};
    for (float x = left + 30; x < right - 20; x += (right - left - 60) / 3)
        under.push_back(Ellipse(x, bottom + 12, 12, 12));
    Cut(c, under, Hex(0x120E10), 0.3f);
}

}  // namespace art
