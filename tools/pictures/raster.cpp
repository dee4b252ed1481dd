// The drawing toolkit: shape coverage by scanlines, blurs, glows and the dithered finish.
#include "tools/pictures/raster.h"

#include <algorithm>
#include <cmath>

namespace art {

Rgb Hex(uint32_t v) {
    return {float((v >> 16) & 255) / 255.f, float((v >> 8) & 255) / 255.f, float(v & 255) / 255.f};
}

Canvas MakeCanvas(int width, int height, Rgb fill) {
    return Canvas{width, height, std::vector<Rgb>(size_t(width) * height, fill)};
}

Mask MakeMask(int width, int height) {
    return Mask{width, height, std::vector<float>(size_t(width) * height, 0.f)};
}

namespace {
struct Edge {
    float x0, y0, x1, y1;
    int dir;
};
struct Crossing {
    float x;
    int dir;
};
}  // namespace

// Adds the coverage of [xa, xb) on one row, weighted, into acc (exact at the ends).
static void AddSpan(std::vector<float>& acc, float xa, float xb, float weight) {
    int w = int(acc.size());
    xa = std::max(xa, 0.f);
    xb = std::min(xb, float(w));
    if (xb <= xa) return;
    int ia = int(xa), ib = int(xb);
    if (ia == ib) {
        acc[ia] += (xb - xa) * weight;
        return;
    }
    acc[ia] += (float(ia + 1) - xa) * weight;
    for (int x = ia + 1; x < ib; ++x) acc[x] += weight;
    if (ib < w) acc[ib] += (xb - float(ib)) * weight;
}

void Cover(Mask& m, const Shape& s) {
    constexpr int Sub = 4;
    std::vector<Edge> edges;
    float top = 1e9f, bottom = -1e9f;
    for (const Contour& c : s) {
        // Every contour counts the same way round, so overlapping pieces add up to a
        // union instead of cancelling into holes.
        float area = 0;
        for (size_t i = 0; i < c.size(); ++i) {
            Point a = c[i], b = c[(i + 1) % c.size()];
            area += a.x * b.y - b.x * a.y;
        }
        int turn = area < 0 ? -1 : 1;
        for (size_t i = 0; i < c.size(); ++i) {
            Point a = c[i], b = c[(i + 1) % c.size()];
            if (a.y == b.y) continue;
            edges.push_back(a.y < b.y ? Edge{a.x, a.y, b.x, b.y, turn} : Edge{b.x, b.y, a.x, a.y, -turn});
            top = std::min(top, std::min(a.y, b.y));
            bottom = std::max(bottom, std::max(a.y, b.y));
        }
    }
    if (edges.empty()) return;
    int y0 = std::max(0, int(std::floor(top))), y1 = std::min(m.height, int(std::ceil(bottom)));
    std::vector<float> acc(size_t(m.width));
    std::vector<Crossing> xs;
    for (int y = y0; y < y1; ++y) {
        std::fill(acc.begin(), acc.end(), 0.f);
        for (int sub = 0; sub < Sub; ++sub) {
            float sy = float(y) + (float(sub) + 0.5f) / Sub;
            xs.clear();
            for (const Edge& e : edges)
                if (sy >= e.y0 && sy < e.y1)
                    xs.push_back({e.x0 + (sy - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0), e.dir});
            std::sort(xs.begin(), xs.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
            int winding = 0;
            for (size_t i = 0; i + 1 < xs.size(); ++i) {
                winding += xs[i].dir;
                if (winding != 0) AddSpan(acc, xs[i].x, xs[i + 1].x, 1.f / Sub);
            }
        }
        float* row = &m.a[size_t(y) * m.width];
        for (int x = 0; x < m.width; ++x) {
            float c = std::min(acc[x], 1.f);
            row[x] = row[x] + c - row[x] * c;
        }
    }
}

void Subtract(Mask& m, const Mask& cut) {
    for (size_t i = 0; i < m.a.size(); ++i) m.a[i] *= 1.f - cut.a[i];
}

Contour Rect(float left, float top, float right, float bottom) {
    return {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
}

Contour Ellipse(float cx, float cy, float rx, float ry, int segments) {
    if (segments <= 0) segments = std::max(12, int(std::max(rx, ry) * 2.5f));
    Contour c;
    for (int i = 0; i < segments; ++i) {
        float t = 2.f * float(M_PI) * float(i) / float(segments);
        c.push_back({cx + rx * std::cos(t), cy + ry * std::sin(t)});
    }
    return c;
}

Contour Polygon(std::initializer_list<Point> points) { return Contour(points); }

// The point at t (0..1) of the Catmull-Rom segment from p1 to p2.
static Point CatmullRom(Point p0, Point p1, Point p2, Point p3, float t) {
    float t2 = t * t, t3 = t2 * t;
    auto f = [&](float a, float b, float c, float d) {
        return 0.5f * (2 * b + (c - a) * t + (2 * a - 5 * b + 4 * c - d) * t2 + (3 * b - a - 3 * c + d) * t3);
    };
    return {f(p0.x, p1.x, p2.x, p3.x), f(p0.y, p1.y, p2.y, p3.y)};
}

Contour Spline(const std::vector<Point>& through, int steps) {
    Contour c;
    size_t n = through.size();
    for (size_t i = 0; i < n; ++i)
        for (int k = 0; k < steps; ++k)
            c.push_back(CatmullRom(through[(i + n - 1) % n], through[i], through[(i + 1) % n],
                                   through[(i + 2) % n], float(k) / float(steps)));
    return c;
}

Contour Band(const std::vector<Point>& through, float width, int steps) {
    std::vector<Point> line;
    size_t n = through.size();
    for (size_t i = 0; i + 1 < n; ++i)
        for (int k = 0; k < steps; ++k)
            line.push_back(CatmullRom(through[i ? i - 1 : 0], through[i], through[i + 1],
                                      through[std::min(i + 2, n - 1)], float(k) / float(steps)));
    line.push_back(through.back());
    Contour left, right;
    for (size_t i = 0; i < line.size(); ++i) {
        Point a = line[i ? i - 1 : 0], b = line[std::min(i + 1, line.size() - 1)];
        float dx = b.x - a.x, dy = b.y - a.y, len = std::max(1e-4f, std::sqrt(dx * dx + dy * dy));
        float nx = -dy / len * width / 2, ny = dx / len * width / 2;
        left.push_back({line[i].x + nx, line[i].y + ny});
        right.push_back({line[i].x - nx, line[i].y - ny});
    }
    left.insert(left.end(), right.rbegin(), right.rend());
    return left;
}

Contour Stroke(Point a, Point b, float width) {
    float dx = b.x - a.x, dy = b.y - a.y, len = std::sqrt(dx * dx + dy * dy);
    if (len == 0) return {};
    float nx = -dy / len * width / 2, ny = dx / len * width / 2;
    return {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}};
}

Contour Wire(Point a, Point b, float sag, float width) {
    constexpr int Steps = 32;
    Contour upper, lower;
    for (int i = 0; i <= Steps; ++i) {
        float t = float(i) / Steps;
        float x = a.x + (b.x - a.x) * t, y = a.y + (b.y - a.y) * t + sag * 4 * t * (1 - t);
        upper.push_back({x, y - width / 2});
        lower.push_back({x, y + width / 2});
    }
    upper.insert(upper.end(), lower.rbegin(), lower.rend());
    return upper;
}

void Paint(Canvas& c, const Mask& m, Rgb colour, float alpha) {
    for (size_t i = 0; i < c.px.size(); ++i) {
        float a = m.a[i] * alpha;
        if (a > 0) c.px[i] = Mix(c.px[i], colour, a);
    }
}

void PaintGradient(Canvas& c, const Mask& m, Rgb atTop, Rgb atBottom, float top, float bottom) {
    for (int y = 0; y < c.height; ++y) {
        float t = std::clamp((float(y) - top) / std::max(1.f, bottom - top), 0.f, 1.f);
        Rgb colour = Mix(atTop, atBottom, t);
        for (int x = 0; x < c.width; ++x) {
            float a = m.At(x, y);
            if (a > 0) c.At(x, y) = Mix(c.At(x, y), colour, a);
        }
    }
}

// One box blur pass along rows (step 1) or columns (step width).
static void BoxPass(std::vector<float>& v, int count, int lines, int step, int lineStep, int r) {
    std::vector<float> line(static_cast<size_t>(count));
    for (int l = 0; l < lines; ++l) {
        float* base = &v[size_t(l) * lineStep];
        for (int i = 0; i < count; ++i) line[i] = base[size_t(i) * step];
        float sum = 0;
        for (int i = -r; i <= r; ++i) sum += line[std::clamp(i, 0, count - 1)];
        for (int i = 0; i < count; ++i) {
            base[size_t(i) * step] = sum / float(2 * r + 1);
            sum += line[std::min(i + r + 1, count - 1)] - line[std::max(i - r, 0)];
        }
    }
}

void Blur(Mask& m, int radius) {
    int r = std::max(1, radius / 2);
    for (int pass = 0; pass < 3; ++pass) {
        BoxPass(m.a, m.width, m.height, 1, m.width, r);
        BoxPass(m.a, m.height, m.width, m.width, 1, r);
    }
}

void Shadow(Canvas& c, const Mask& m, int dx, int dy, int radius, float strength, Rgb tint) {
    Mask soft = m;
    Blur(soft, radius);
    for (int y = 0; y < c.height; ++y) {
        int sy = y - dy;
        if (sy < 0 || sy >= c.height) continue;
        for (int x = 0; x < c.width; ++x) {
            int sx = std::clamp(x - dx, 0, c.width - 1);
            float a = soft.At(sx, sy) * strength;
            if (a > 0) c.At(x, y) = Mix(c.At(x, y), tint, a);
        }
    }
}

void Dot(Canvas& c, float cx, float cy, float r, Rgb colour, float opacity) {
    int x0 = std::max(0, int(cx - r - 1)), x1 = std::min(c.width, int(cx + r + 2));
    int y0 = std::max(0, int(cy - r - 1)), y1 = std::min(c.height, int(cy + r + 2));
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            float dx = float(x) + 0.5f - cx, dy = float(y) + 0.5f - cy;
            float a = std::clamp(r + 0.5f - std::sqrt(dx * dx + dy * dy), 0.f, 1.f) * opacity;
            if (a > 0) c.At(x, y) = Mix(c.At(x, y), colour, a);
        }
}

void Glow(Canvas& c, float cx, float cy, float radius, Rgb colour, float intensity) {
    float reach = radius * 4;
    int x0 = std::max(0, int(cx - reach)), x1 = std::min(c.width, int(cx + reach) + 1);
    int y0 = std::max(0, int(cy - reach)), y1 = std::min(c.height, int(cy + reach) + 1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            float dx = (float(x) + 0.5f - cx) / radius, dy = (float(y) + 0.5f - cy) / radius;
            float d2 = dx * dx + dy * dy;
            // A bright core and a long soft halo, fading to nothing at the reach.
            float k = std::exp(-d2 * 2.f) + 0.25f / (1.f + d2 * 3.f) * std::max(0.f, 1.f - d2 / 16.f);
            c.At(x, y) = c.At(x, y) + colour * (k * intensity);
        }
}

void SkyGradient(Canvas& c, const std::vector<Stop>& stops) {
    for (int y = 0; y < c.height; ++y) {
        float t = (float(y) + 0.5f) / float(c.height);
        Rgb colour = stops.front().colour;
        for (size_t i = 0; i + 1 < stops.size(); ++i) {
            if (t >= stops[i].at && t <= stops[i + 1].at) {
                float u = (t - stops[i].at) / std::max(1e-6f, stops[i + 1].at - stops[i].at);
                u = u * u * (3 - 2 * u);  // smooth steps between the stops
                colour = Mix(stops[i].colour, stops[i + 1].colour, u);
            }
        }
        if (t > stops.back().at) colour = stops.back().colour;
        for (int x = 0; x < c.width; ++x) c.At(x, y) = colour;
    }
}

float Hash(int x, int y, int seed) {
    uint32_t h = uint32_t(x) * 0x8DA6B343u ^ uint32_t(y) * 0xD8163841u ^ uint32_t(seed) * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return float(h & 0xFFFFFF) / float(0x1000000);
}

float Noise1(float x, int seed) {
    int i = int(std::floor(x));
    float f = x - float(i), u = f * f * (3 - 2 * f);
    return Hash(i, 0, seed) * (1 - u) + Hash(i + 1, 0, seed) * u;
}

float Fbm1(float x, int seed, int octaves) {
    float sum = 0, amp = 0.5f, total = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += Noise1(x, seed + o * 101) * amp;
        total += amp;
        x *= 2.03f;
        amp *= 0.5f;
    }
    return sum / total;
}

float Noise2(float x, float y, int seed) {
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    float fx = x - float(ix), fy = y - float(iy);
    float ux = fx * fx * (3 - 2 * fx), uy = fy * fy * (3 - 2 * fy);
    float a = Hash(ix, iy, seed), b = Hash(ix + 1, iy, seed);
    float c = Hash(ix, iy + 1, seed), d = Hash(ix + 1, iy + 1, seed);
    return (a * (1 - ux) + b * ux) * (1 - uy) + (c * (1 - ux) + d * ux) * uy;
}

std::vector<uint32_t> Finish(const Canvas& c, int seed) {
    std::vector<uint32_t> out(c.px.size());
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            // Paper: long soft fibres across, and a fine tooth; grain: a little noise.
            float fibre = Noise2(float(x) * 0.08f, float(y) * 0.6f, seed) - 0.5f;
            float tooth = Noise2(float(x) * 0.7f, float(y) * 0.7f, seed + 7) - 0.5f;
            float grain = Hash(x, y, seed + 13) + Hash(x, y, seed + 17) - 1.f;
            Rgb p = c.px[size_t(y) * c.width + x];
            float lum = 0.3f * p.r + 0.6f * p.g + 0.1f * p.b;
            float texture = 1.f + fibre * 0.035f + tooth * 0.025f;
            float add = grain * (0.010f + 0.012f * lum);
            uint32_t v = 0;
            int channel = 0;
            for (float ch : {p.r, p.g, p.b}) {
                // Triangular dither of one level spreads every gradient step.
                float d = Hash(x, y, seed + 31 + channel) + Hash(x, y, seed + 37 + channel) - 1.f;
                float level = (ch * texture + add) * 255.f + d;
                int q = std::clamp(int(std::lround(level)), 5, 255);
                v = v << 8 | uint32_t(q);
                ++channel;
            }
            out[size_t(y) * c.width + x] = v;
        }
    return out;
}

}  // namespace art
