// The one look of every picture: paper-cut silhouettes in a few depth layers against a
// luminous sky, soft glows round every light, a restrained palette per time of day.
// This header names the palettes and the pieces the scene recipes put together.
#pragma once
#include <string>

#include "tools/pictures/raster.h"

namespace art {

// The colours of one time of day: sky stops from top to horizon, four depth layers
// from farthest to nearest, the light of lamps and windows, snow, and how many stars.
struct Palette {
    Rgb sky[4];
    Rgb far, mid, near, front;
    Rgb light, snow;
    float stars;
};
extern const Palette Dusk, Night, Blizzard, Dawn, Morning, Summer, Indoor, Paper;
Palette Blend(const Palette& a, const Palette& b, float t);

// A paper layer: its soft shadow cast down-right on what lies behind, then the paper.
void Cut(Canvas& c, const Mask& m, Rgb colour, float shadow = 0.45f);
void Cut(Canvas& c, const Shape& s, Rgb colour, float shadow = 0.45f);
Mask MaskOf(const Canvas& c, const Shape& s);
// Light catching the edges of a layer that face a light (dx, dy points at the light).
void Rim(Canvas& c, const Mask& m, int dx, int dy, Rgb light, float strength);

// Sky, stars, moon, far ridges and woods.
void Sky(Canvas& c, const Palette& p, float horizon);
void Stars(Canvas& c, int seed, float amount, float horizon, int frame = 0);
void Moon(Canvas& c, float x, float y, float r, Rgb colour, float crescent);
Shape Ridge(int width, float base, float amplitude, float roughness, int seed, float bottom);
Shape Woods(int width, float base, float height, int seed, float bottom, float density = 1);
Contour Cedar(float x, float base, float height, int seed);
// Snow lying on a layer: a lighter cut along the tops of its mask.
void SnowOnTop(Canvas& c, const Mask& m, Rgb snow, int depth);

// Things in the air. Snow falls `fall` rows a band (near flakes twice that), and band
// `frame` of `frames` continues into band 0 again.
void Snowfall(Canvas& c, int seed, int frame, int frames, int count, Rgb colour, float fall = 30);
void Fireflies(Canvas& c, int seed, int count, float top, float bottom);
void Steam(Canvas& c, float x, float y, float height, float sway, float phase, Rgb colour, float amount);

// The left edge of a picture drawn through the wave effect, dark: its rows slide up to
// 10 pixels sideways and leave the cleared screen showing there, which the dark edge
// takes in.
void WaveEdge(Canvas& c);

// Text cut out of paper (FreeType, Mincho or Gothic); `size` in pixels, (x, y) the top
// left of the first character; `vertical` sets it top to bottom.
void Lettering(Mask& m, const std::string& utf8, float x, float y, float size, bool mincho,
               bool vertical = false);
// The width of the text at that size.
float LetteringWidth(const std::string& utf8, float size, bool mincho);

}  // namespace art
