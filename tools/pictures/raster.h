// The small drawing toolkit the picture tool paints with: a canvas of floating-point
// colours, anti-aliased shape coverage, soft shadows, glows and the final dithered
// conversion to 8-bit pixels. Everything is deterministic: noise comes from hashes of
// the position, never from a clock.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace art {

struct Rgb {
    float r, g, b;
};
inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator*(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Rgb Mix(Rgb a, Rgb b, float t) { return a * (1 - t) + b * t; }
// 0xRRGGBB as a colour with channels 0..1.
Rgb Hex(uint32_t rrggbb);

struct Canvas {
    int width, height;
    std::vector<Rgb> px;
    Rgb& At(int x, int y) { return px[size_t(y) * width + x]; }
};
Canvas MakeCanvas(int width, int height, Rgb fill);

// Coverage 0..1 per pixel, the size of the canvas it is painted on.
struct Mask {
    int width, height;
    std::vector<float> a;
    float At(int x, int y) const { return a[size_t(y) * width + x]; }
};
Mask MakeMask(int width, int height);

struct Point {
    float x, y;
};
using Contour = std::vector<Point>;  // a closed polygon
using Shape = std::vector<Contour>;  // contours filled together as a union

// Adds the shape's coverage to the mask (union), with edges anti-aliased by four
// sub-scanlines per row and exact horizontal coverage.
void Cover(Mask& m, const Shape& s);
// Removes the coverage of `cut` from `m` (m = m x (1 - cut)).
void Subtract(Mask& m, const Mask& cut);

// Shape builders.
Contour Rect(float left, float top, float right, float bottom);
Contour Ellipse(float cx, float cy, float rx, float ry, int segments = 0);
Contour Polygon(std::initializer_list<Point> points);
// A closed curve through the points (Catmull-Rom), `steps` segments between two of
// them: outlines that round their corners as paper cut with scissors does.
Contour Spline(const std::vector<Point>& through, int steps = 6);
// The same, open, as a band of the given width along the curve (a braid, a strap).
Contour Band(const std::vector<Point>& through, float width, int steps = 6);
// A thick line from a to b (a quadrilateral of the given width).
Contour Stroke(Point a, Point b, float width);
// A sagging wire between a and b, `sag` pixels at its middle, as a thin band.
Contour Wire(Point a, Point b, float sag, float width);

// Paints the colour through the mask; `alpha` scales the coverage.
void Paint(Canvas& c, const Mask& m, Rgb colour, float alpha = 1);
// Paints a vertical gradient (colour at the mask's top row `top` to its bottom `bottom`).
void PaintGradient(Canvas& c, const Mask& m, Rgb atTop, Rgb atBottom, float top, float bottom);
// A cast shadow: the mask blurred by `radius`, moved by (dx, dy), darkens toward `tint`.
void Shadow(Canvas& c, const Mask& m, int dx, int dy, int radius, float strength, Rgb tint);
// A soft round dot (snowflake, star, firefly core) of radius r, anti-aliased.
void Dot(Canvas& c, float x, float y, float r, Rgb colour, float opacity);
// A soft light: an added bloom around (x, y) with a bright core and a wide halo.
void Glow(Canvas& c, float x, float y, float radius, Rgb colour, float intensity);
// Box-blurs the mask three times (close to a Gaussian of about `radius`).
void Blur(Mask& m, int radius);

// Vertical sky gradient through colour stops (position 0 top .. 1 bottom).
struct Stop {
    float at;
    Rgb colour;
};
void SkyGradient(Canvas& c, const std::vector<Stop>& stops);

// Deterministic noise: a hash in 0..1, and smooth value noise summed over octaves.
float Hash(int x, int y, int seed);
float Noise1(float x, int seed);                      // smooth, 0..1
float Fbm1(float x, int seed, int octaves);           // 0..1
float Noise2(float x, float y, int seed);             // smooth, 0..1

// The finished picture: paper texture and film grain, then every channel dithered to
// 8 bits (no banding in the gradients) and kept above pure black.
std::vector<uint32_t> Finish(const Canvas& c, int seed);

}  // namespace art
