// The figures, built from a handful of paper pieces each, in figure units (height 1,
// feet at 0, forward positive) and placed by a Placement.
#include "tools/pictures/figures.h"

#include <algorithm>
#include <cmath>

#include "tools/pictures/style.h"

namespace art {

namespace {
struct Piece {
    Shape shape;
    Rgb colour;
};

// Figure units to pixels.
struct Frame {
    float x, y, h;
    int f;
    Point P(float u, float v) const { return {x + u * h * float(f), y - v * h}; }
    Contour Poly(std::initializer_list<Point> uv) const {
        Contour c;
        for (Point p : uv) c.push_back(P(p.x, p.y));
        return c;
    }
    Contour Limb(float u0, float v0, float u1, float v1, float width) const {
        return Stroke(P(u0, v0), P(u1, v1), width * h);
    }
    Contour Wire(float u0, float v0, float u1, float v1, float rise, float width) const {
        return art::Wire(P(u0, v0), P(u1, v1), -rise * h, width * h);
    }
    Contour Oval(float u, float v, float ru, float rv) const {
        Point c = P(u, v);
        return Ellipse(c.x, c.y, ru * h, rv * h);
    }
};

using namespace wear;
const Rgb Cap = Hex(0x1C2032), Trousers = Hex(0x1B1B25), Badge = Hex(0xD8B060), Kimono = Hex(0x4C3C52),
          Apron = Hex(0xD6D0C2), Obi = Hex(0x7A3A40), Yukata = Hex(0xC4CCDC), LanternBody = Hex(0x2C2622),
          Jacket = Hex(0x222A48);
}  // namespace

// The three white lines along the lower edge of the sailor collar's flap.
static void CollarLines(std::vector<Piece>& out, const Frame& F, float left, float right, float bottom) {
    for (int i = 0; i < 3; ++i) {
        float v = bottom + 0.008f + 0.009f * float(i);
        out.push_back({{F.Limb(left + 0.006f, v, right - 0.006f, v, 0.0035f)}, CollarLine});
    }
}

static void Held(std::vector<Piece>& out, Canvas& c, const Frame& F, Holding holding, float handU, float handV,
                 Rgb light) {
    if (holding == Holding::Lantern) {
        out.push_back({{F.Limb(handU, handV, handU, handV - 0.06f, 0.006f),
                        F.Poly({{handU - 0.03f, handV - 0.06f}, {handU + 0.03f, handV - 0.06f},
                                {handU + 0.025f, handV - 0.14f}, {handU - 0.025f, handV - 0.14f}})},
                       LanternBody});
        out.push_back({{F.Oval(handU, handV - 0.10f, 0.018f, 0.03f)}, light});
    } else if (holding == Holding::Cup) {
        // A handleless earthenware teacup, glazed grey-green, darker at the foot, with a
        // chip out of its rim; her fingers round its front.
        float l = handU - 0.024f, r = handU + 0.028f, top = handV + 0.045f, foot = handV - 0.012f;
        out.push_back({{F.Poly({{l, top}, {l + 0.016f, top}, {l + 0.02f, top - 0.006f}, {l + 0.028f, top - 0.006f},
                                {l + 0.031f, top}, {r, top}, {r - 0.004f, foot}, {l + 0.004f, foot}})},
                       Hex(0x7E8C74)});
        out.push_back({{F.Poly({{l + 0.003f, foot + 0.012f}, {r - 0.003f, foot + 0.012f}, {r - 0.004f, foot},
                                {l + 0.004f, foot}})},
                       Hex(0x5A4A3A)});
        out.push_back({{F.Limb(l, top - 0.003f, l + 0.016f, top - 0.003f, 0.005f),
                        F.Limb(l + 0.031f, top - 0.003f, r, top - 0.003f, 0.005f)},
                       Hex(0xB8C2AC)});
        out.push_back({{F.Oval(r - 0.004f, handV + 0.008f, 0.013f, 0.02f)}, Skin});
        Point rim = F.P(handU, handV + 0.05f);
        Steam(c, rim.x, rim.y, F.h * 0.22f, F.h * 0.03f, 1.f, Hex(0xF2EEE8), 0.35f);
    }
}

static std::vector<Piece> SideView(Canvas& c, Who who, Pose pose, const Frame& F, Holding holding, bool bigCoat,
                                   Rgb light) {
    std::vector<Piece> out;
    bool sit = pose == Pose::Sit, walk = pose == Pose::Walk;
    float drop = sit ? 0.28f : 0;  // the upper body sinks onto the seat
    bool woman = who == Who::Mother || who == Who::Child;
    // Legs.
    Rgb legColour = who == Who::Minato ? Trousers : Stocking;
    if (sit) {
        out.push_back({{F.Limb(0.0f, 0.29f, 0.2f, 0.29f, 0.06f), F.Limb(0.2f, 0.29f, 0.21f, 0.03f, 0.045f),
                        F.Oval(0.23f, 0.02f, 0.035f, 0.014f)},
                       legColour});
    } else if (!woman) {
        float a = walk ? 0.08f : 0.015f;
        out.push_back({{F.Limb(0.0f, 0.34f, a, 0.03f, 0.045f), F.Limb(0.01f, 0.34f, -a, 0.03f, 0.045f),
                        F.Oval(a + 0.02f, 0.016f, 0.035f, 0.015f), F.Oval(-a + 0.02f, 0.016f, 0.035f, 0.015f)},
                       legColour});
    }
    // Body below the waist.
    if (who == Who::Sayo && !bigCoat) {
        if (sit)
            out.push_back({{F.Poly({{-0.09f, 0.36f}, {0.06f, 0.37f}, {0.22f, 0.33f}, {0.25f, 0.2f}, {0.17f, 0.19f},
                                    {0.16f, 0.26f}, {-0.1f, 0.26f}})},
                           Uniform});
        else
            out.push_back({{F.Poly({{-0.075f, 0.6f}, {0.075f, 0.6f}, {0.125f, 0.24f}, {0.08f, 0.25f}, {0.04f, 0.235f},
                                    {0.0f, 0.25f}, {-0.04f, 0.235f}, {-0.08f, 0.25f}, {-0.12f, 0.24f}})},
                           Uniform});
    }
    if (who == Who::Minato || bigCoat) {
        float hem = sit ? 0.14f : 0.2f;
        if (sit)
            out.push_back({{F.Poly({{-0.11f, 0.52f}, {0.08f, 0.52f}, {0.1f, 0.36f}, {0.26f, 0.34f}, {0.27f, hem},
                                    {0.15f, hem}, {0.14f, 0.26f}, {-0.13f, 0.25f}})},
                           Coat});
        else
            out.push_back({{F.Poly({{-0.1f, 0.79f}, {0.09f, 0.79f}, {0.135f, hem}, {-0.125f, hem}})}, Coat});
    }
    if (woman) {
        float s = who == Who::Child ? 1.f : 1.f;
        Rgb robe = who == Who::Mother ? Kimono : Yukata;
        out.push_back({{F.Poly({{-0.085f, 0.8f}, {0.075f, 0.8f}, {0.07f * s, 0.03f}, {-0.09f, 0.03f}})}, robe});
        if (who == Who::Mother)
            out.push_back({{F.Poly({{0.01f, 0.74f}, {0.08f, 0.74f}, {0.08f, 0.25f}, {0.02f, 0.25f}})}, Apron});
        out.push_back({{F.Limb(-0.085f, 0.58f, 0.085f, 0.58f, 0.07f)}, Obi});
        out.push_back({{F.Oval(0.0f, 0.03f, 0.05f, 0.015f), F.Oval(0.06f, 0.02f, 0.035f, 0.012f)}, Stocking});
    }
    // Upper body.
    float t = 0.8f - drop, w = 0.58f - drop;
    if (who == Who::Sayo && !bigCoat) {
        out.push_back({{F.Poly({{-0.075f, t + 0.005f}, {0.07f, t}, {0.075f, w}, {-0.07f, w}})}, Uniform});
        out.push_back({{F.Poly({{-0.09f, t + 0.012f}, {-0.005f, t + 0.012f}, {-0.015f, t - 0.1f}, {-0.1f, t - 0.1f}})},
                       Uniform * 0.8f});
        CollarLines(out, F, -0.1f, -0.015f, t - 0.1f);
        out.push_back({{F.Poly({{-0.02f, 0.52f - drop}, {0.07f, 0.52f - drop}, {0.07f, 0.44f - drop}, {-0.02f, 0.44f - drop}})},
                       Bag});
    }
    if (bigCoat) {
        out.push_back({{F.Poly({{-0.11f, t + 0.01f}, {0.09f, t}, {0.1f, w - 0.02f}, {-0.12f, w - 0.02f}})}, Coat});
    }
    // Head and neck.
    float hv = 0.895f - drop;
    out.push_back({{F.Limb(0.0f, t - 0.01f, 0.01f, hv - 0.04f, 0.045f)}, Skin * 0.85f});
    out.push_back({{F.Oval(0.015f, hv, 0.062f, 0.072f)}, Skin});
    // Hair (and cap), covering the back and top of the head.
    if (who == Who::Minato) {
        out.push_back({{F.Poly({{-0.06f, hv + 0.01f}, {0.01f, hv + 0.02f}, {0.0f, hv - 0.05f}, {-0.065f, hv - 0.04f}})},
                       Hair});
        out.push_back({{F.Poly({{-0.065f, hv + 0.035f}, {0.07f, hv + 0.04f}, {0.075f, hv + 0.1f}, {-0.06f, hv + 0.095f}}),
                        F.Poly({{0.04f, hv + 0.045f}, {0.12f, hv + 0.03f}, {0.12f, hv + 0.02f}, {0.04f, hv + 0.03f}})},
                       Cap});
        out.push_back({{F.Oval(0.06f, hv + 0.07f, 0.008f, 0.008f)}, Badge});
        out.push_back({{F.Poly({{-0.09f, t + 0.04f}, {0.04f, t + 0.01f}, {0.05f, t - 0.04f}, {-0.1f, t - 0.03f}})}, Coat});
    } else if (who == Who::Mother) {
        out.push_back({{F.Poly({{-0.06f, hv - 0.03f}, {0.0f, hv + 0.07f}, {0.06f, hv + 0.06f}, {0.07f, hv + 0.02f},
                                {0.02f, hv + 0.035f}, {-0.01f, hv - 0.04f}}),
                        F.Oval(-0.05f, hv + 0.07f, 0.04f, 0.035f)},
                       Hair});
    } else {
        out.push_back({{F.Poly({{-0.065f, hv - 0.06f}, {-0.06f, hv + 0.05f}, {0.0f, hv + 0.078f}, {0.07f, hv + 0.04f},
                                {0.075f, hv + 0.01f}, {0.02f, hv + 0.03f}, {-0.01f, hv - 0.03f}, {-0.02f, hv - 0.06f}})},
                       Hair});
        if (who == Who::Sayo)
            out.push_back({{F.Limb(-0.045f, hv - 0.03f, -0.06f, hv - 0.25f, 0.028f),
                            F.Oval(-0.06f, hv - 0.26f, 0.015f, 0.02f)},
                           Hair});
    }
    if (who == Who::Sayo)
        out.push_back({{F.Poly({{-0.055f, t + 0.03f}, {0.055f, t + 0.025f}, {0.06f, t - 0.02f}, {-0.06f, t - 0.015f}}),
                        F.Poly({{0.035f, t}, {0.065f, t}, {0.075f, t - 0.12f}, {0.05f, t - 0.12f}})},
                       Scarf});
    // The near arm.
    Rgb sleeve = who == Who::Sayo && !bigCoat ? Uniform : who == Who::Minato || bigCoat ? Coat
                 : who == Who::Mother                    ? Kimono
                                                         : Yukata;
    float sw = who == Who::Minato || bigCoat ? 0.05f : 0.04f;
    Point hand;
    if (holding == Holding::HandsOut || holding == Holding::Cup) {
        float reach = holding == Holding::Cup ? 0.08f : 0.17f;
        out.push_back({{F.Limb(0.0f, t - 0.03f, reach * 0.6f, t - 0.13f, sw), F.Limb(reach * 0.6f, t - 0.13f, reach, t - 0.1f, sw)},
                       sleeve});
        hand = {reach + 0.02f, t - 0.1f};
        if (!bigCoat) out.push_back({{F.Oval(hand.x, hand.y, 0.022f, 0.016f)}, Skin});
    } else {
        float swing = walk ? 0.04f : 0.01f;
        out.push_back({{F.Limb(0.0f, t - 0.03f, swing, t - 0.16f, sw), F.Limb(swing, t - 0.16f, swing + 0.03f, t - 0.26f, sw)},
                       sleeve});
        hand = {swing + 0.035f, t - 0.28f};
        out.push_back({{F.Oval(hand.x, hand.y, 0.018f, 0.02f)}, Skin * 0.9f});
        if (woman) out.push_back({{F.Poly({{-0.02f, t - 0.05f}, {0.05f, t - 0.1f}, {0.04f, t - 0.34f}, {-0.03f, t - 0.3f}})}, sleeve});
    }
    Held(out, c, F, holding, hand.x, hand.y, light);
    return out;
}

// A long coat seen from behind, from the collar to `hem`: shoulders `shoulder` wide that
// round into the sleeves, a body flaring a little to the hem, sleeves to `cuff` (v),
// bent forward at the elbow when seated; a back seam, a half-belt and a turned-up collar.
static void CoatFromBehind(std::vector<Piece>& out, const Frame& F, float t, float shoulder, float hem, float flare,
                           float cuff, bool sit, Rgb colour) {
    float s = shoulder;
    // The shoulder line, a curve from the neck over the shoulder's round into the arm.
    auto shoulderLine = [&](float side) {  // from the arm up to the neck
        std::vector<Point> line;
        for (int i = 0; i <= 8; ++i) {
            float k = float(8 - i) / 8, u = 1 - k;
            Point a{0.045f, t + 0.02f}, m{s * 1.02f, t + 0.01f}, b{s * 1.04f, t - 0.08f};
            line.push_back(F.P(side * (u * u * a.x + 2 * u * k * m.x + k * k * b.x), u * u * a.y + 2 * u * k * m.y + k * k * b.y));
        }
        return line;
    };
    Contour body = shoulderLine(-1);
    std::reverse(body.begin(), body.end());
    for (Point q : {F.P(-s * 0.93f, hem + 0.18f), F.P(-flare, hem), F.P(flare, hem), F.P(s * 0.93f, hem + 0.18f)})
        body.push_back(q);
    for (Point q : shoulderLine(1)) body.push_back(q);
    out.push_back({{body}, colour});
    // The sleeves, a shade darker so the arms part from the back.
    float elbow = t - 0.16f;
    for (float side : {-1.f, 1.f}) {
        if (sit)
            out.push_back({{F.Limb(side * s * 0.9f, t - 0.035f, side * s * 1.02f, elbow, 0.058f),
                            F.Oval(side * s * 1.0f, elbow, 0.03f, 0.03f)},
                           colour * 0.82f});
        else
            out.push_back({{F.Limb(side * s * 0.9f, t - 0.035f, side * s * 1.05f, elbow, 0.058f),
                            F.Limb(side * s * 1.05f, elbow, side * s * 0.98f, cuff, 0.052f)},
                           colour * 0.82f});
    }
    out.push_back({{F.Limb(0, hem + 0.01f, 0, std::max(hem + 0.05f, t - 0.3f), 0.004f)}, colour * 0.6f});  // back seam
    float belt = sit ? hem + 0.06f : t - 0.3f;
    out.push_back({{F.Poly({{-0.075f, belt + 0.022f}, {0.075f, belt + 0.022f}, {0.075f, belt}, {-0.075f, belt}})},
                   colour * 1.18f});
    for (float side : {-1.f, 1.f}) out.push_back({{F.Oval(side * 0.055f, belt + 0.011f, 0.007f, 0.007f)}, colour * 0.55f});
    out.push_back({{F.Poly({{-0.05f, t + 0.05f}, {0.05f, t + 0.05f}, {0.064f, t + 0.004f}, {-0.064f, t + 0.004f}})},
                   colour * 1.2f});
}

static std::vector<Piece> BackView(Who who, Pose pose, const Frame& F, bool coatLent) {
    std::vector<Piece> out;
    bool sit = pose == Pose::BackSit;
    float drop = sit ? 0.28f : 0;
    float t = 0.8f - drop, hv = 0.895f - drop;
    if (who == Who::Minato) {
        float hem = sit ? 0.26f : coatLent ? 0.44f : 0.2f;
        if (!sit) {
            out.push_back({{F.Limb(-0.042f, hem + 0.04f, -0.046f, 0.03f, 0.05f), F.Limb(0.042f, hem + 0.04f, 0.04f, 0.06f, 0.05f)},
                           Trousers});
            out.push_back({{F.Oval(-0.046f, 0.018f, 0.03f, 0.016f), F.Oval(0.04f, 0.048f, 0.03f, 0.016f)}, Stocking});
        }
        // His long coat, or (the coat lent) the shorter uniform jacket with its stand collar.
        CoatFromBehind(out, F, t, coatLent ? 0.11f : 0.12f, hem, sit ? 0.16f : coatLent ? 0.115f : 0.145f, t - 0.31f,
                       sit, coatLent ? Jacket : Coat);
        for (float side : {-1.f, 1.f}) out.push_back({{F.Oval(side * 0.049f, hv - 0.008f, 0.009f, 0.015f)}, Skin * 0.55f});
        out.push_back({{F.Poly({{-0.024f, hv - 0.04f}, {0.024f, hv - 0.04f}, {0.028f, t + 0.04f}, {-0.028f, t + 0.04f}})},
                       Skin * 0.7f});  // the nape above the collar
        out.push_back({{F.Oval(0, hv + 0.005f, 0.05f, 0.058f)}, Hair});
        // The railway cap from behind: a crown wider than the head over a darker band
        // with a thin piping line.
        out.push_back({{F.Poly({{-0.057f, hv + 0.03f}, {0.057f, hv + 0.03f}, {0.073f, hv + 0.083f}, {0.068f, hv + 0.098f},
                                {0.0f, hv + 0.103f}, {-0.068f, hv + 0.098f}, {-0.073f, hv + 0.083f}})},
                       Cap});
        out.push_back({{F.Poly({{-0.058f, hv + 0.028f}, {0.058f, hv + 0.028f}, {0.061f, hv + 0.054f}, {-0.061f, hv + 0.054f}})},
                       Cap * 0.6f});
        out.push_back({{F.Limb(-0.061f, hv + 0.057f, 0.061f, hv + 0.057f, 0.004f)}, Badge * 0.6f});
    } else if (coatLent) {
        // 小夜 in 湊's coat: shoulders that droop past her own, sleeves over her hands,
        // the hem nearly at her ankles; her scarf at the collar, her braids down its back.
        float hem = sit ? 0.26f : 0.09f;
        if (!sit)
            out.push_back({{F.Limb(-0.032f, 0.12f, -0.036f, 0.02f, 0.038f), F.Limb(0.032f, 0.12f, 0.028f, 0.05f, 0.038f)},
                           Stocking});
        CoatFromBehind(out, F, t - 0.012f, 0.125f, hem, sit ? 0.17f : 0.15f, t - 0.36f, sit, Coat);
        out.push_back({{F.Poly({{-0.052f, t + 0.05f}, {0.052f, t + 0.05f}, {0.058f, t + 0.01f}, {-0.058f, t + 0.01f}})},
                       Scarf});
        out.push_back({{F.Oval(0, hv, 0.06f, 0.07f), F.Limb(-0.03f, hv - 0.02f, -0.038f, hv - 0.3f, 0.028f),
                        F.Limb(0.03f, hv - 0.02f, 0.036f, hv - 0.3f, 0.028f), F.Oval(-0.038f, hv - 0.31f, 0.014f, 0.018f),
                        F.Oval(0.036f, hv - 0.31f, 0.014f, 0.018f)},
                       Hair});
    } else {
        if (!sit)
            out.push_back({{F.Limb(-0.035f, 0.3f, -0.04f, 0.02f, 0.04f), F.Limb(0.035f, 0.3f, 0.03f, 0.06f, 0.04f)},
                           Stocking});
        float hem = sit ? 0.26f : 0.24f;
        out.push_back({{F.Poly({{-0.08f, 0.6f - drop}, {0.08f, 0.6f - drop}, {0.14f, hem}, {-0.14f, hem}})}, Uniform});
        // The skirt's pleats.
        Shape pleats;
        for (int i = -2; i <= 2; ++i)
            pleats.push_back(F.Limb(float(i) * 0.03f, 0.58f - drop, float(i) * 0.052f, hem + 0.01f, 0.004f));
        out.push_back({pleats, Uniform * 0.7f});
        out.push_back({{F.Poly({{-0.1f, t}, {0.1f, t}, {0.085f, 0.58f - drop}, {-0.085f, 0.58f - drop}})}, Uniform});
        for (float side : {-1.f, 1.f})
            out.push_back({{F.Limb(side * 0.092f, t - 0.02f, side * 0.105f, t - 0.17f, 0.04f)}, Uniform * 0.85f});
        out.push_back({{F.Poly({{-0.085f, t + 0.01f}, {0.085f, t + 0.01f}, {0.085f, t - 0.1f}, {-0.085f, t - 0.1f}})},
                       Uniform * 0.8f});
        CollarLines(out, F, -0.085f, 0.085f, t - 0.1f);
        for (float side : {-1.f, 1.f}) CollarLines(out, F, side * 0.085f - 0.006f, side * 0.085f + 0.006f, t - 0.1f);
        out.push_back({{F.Poly({{-0.05f, t + 0.03f}, {0.05f, t + 0.03f}, {0.055f, t - 0.005f}, {-0.055f, t - 0.005f}})},
                       Scarf});
        out.push_back({{F.Oval(0, hv, 0.06f, 0.07f), F.Limb(-0.03f, hv - 0.02f, -0.04f, hv - 0.27f, 0.028f),
                        F.Limb(0.03f, hv - 0.02f, 0.04f, hv - 0.27f, 0.028f)},
                       Hair});
    }
    return out;
}

void Figure(Canvas& c, Who who, Pose pose, const Placement& at, Holding holding, bool coatLent) {
    float h = who == Who::Child ? at.height * 0.62f : at.height;
    Frame F{at.x, at.y, h, at.facing};
    bool back = pose == Pose::BackSit || pose == Pose::BackWalk;
    Rgb glow = Hex(0xFFC878);
    std::vector<Piece> pieces = back ? BackView(who, pose, F, coatLent) : SideView(c, who, pose, F, holding, coatLent && who == Who::Sayo, glow);
    Mask all = MakeMask(c.width, c.height);
    for (const Piece& p : pieces) Cover(all, p.shape);
    Shadow(c, all, 2, 3, 5, 0.4f * at.opacity, Hex(0x07060E));
    for (const Piece& p : pieces) {
        Mask m = MaskOf(c, p.shape);
        Paint(c, m, p.colour * at.light, at.opacity);
    }
    if (at.rimDx || at.rimDy) Rim(c, all, at.rimDx, at.rimDy, at.rim, 0.55f * at.opacity);
    if (holding == Holding::Lantern) {
        float handU = pose == Pose::Walk ? 0.075f : 0.045f;
        Point lamp = F.P(handU, 0.8f - 0.26f - 0.04f - 0.10f);
        Glow(c, lamp.x, lamp.y, h * 0.06f, glow, 0.9f);
        Glow(c, lamp.x, lamp.y, h * 0.35f, glow * 0.5f, 0.35f);
    }
}

void SayoClose(Canvas& c, float x, float y, float s, int facing, float light, Rgb rim, bool handsInLap) {
    // Units of the head's height, origin at the chin, forward = facing, up positive.
    Frame F{x, y, s, facing};
    std::vector<Piece> out;
    if (handsInLap) {
        // Seated: the skirt over her thighs, reaching forward from the hips.
        out.push_back({{F.Poly({{-1.9f, -2.6f}, {0.8f, -2.7f}, {2.9f, -2.85f}, {3.1f, -3.3f}, {3.0f, -5.0f}, {-2.1f, -5.0f},
                                {-2.15f, -3.4f}, {-2.05f, -2.9f}})},
                       Uniform * 0.92f});
        Shape pleats;
        for (int i = 0; i < 4; ++i)
            pleats.push_back(F.Limb(0.4f + float(i) * 0.6f, -2.78f - float(i) * 0.03f, 0.2f + float(i) * 0.7f, -5.f, 0.03f));
        out.push_back({pleats, Uniform * 0.7f});
    }
    out.push_back({{F.Poly({{-1.3f, -0.52f}, {-1.62f, -0.62f}, {-1.84f, -0.85f}, {-1.95f, -1.3f}, {-1.88f, -2.0f},
                            {-1.8f, -2.5f}, {-1.95f, -2.9f},
                            {0.95f, -2.8f}, {1.08f, -2.2f}, {1.02f, -1.5f}, {0.85f, -1.0f}, {0.5f, -0.62f}})},
                   Uniform});
    if (!handsInLap)
        out.push_back({{F.Poly({{1.1f, -2.2f}, {1.3f, -3.5f}, {-2.0f, -3.5f}, {-1.95f, -2.9f}, {0.95f, -2.8f}})}, Uniform});
    out.push_back({{F.Poly({{-1.75f, -0.55f}, {-0.35f, -0.5f}, {-0.55f, -1.55f}, {-1.95f, -1.5f}})}, Uniform * 0.8f});
    CollarLines(out, F, -1.9f, -0.6f, -1.5f);
    out.push_back({{F.Limb(-0.15f, -0.7f, 0.05f, 0.3f, 0.45f)}, Skin * 0.85f});
    // A profile turned up: brow, nose, lips, chin, and the jaw back to the ear.
    out.push_back({{F.Poly({{-0.55f, 0.05f}, {0.0f, 0.0f}, {0.22f, 0.12f}, {0.3f, 0.3f}, {0.36f, 0.36f}, {0.34f, 0.42f},
                            {0.44f, 0.56f}, {0.4f, 0.62f}, {0.5f, 0.78f}, {0.46f, 0.88f}, {0.42f, 1.04f},
                            {0.38f, 1.1f}, {0.3f, 1.3f}, {-0.2f, 1.45f}, {-0.7f, 1.1f}, {-0.8f, 0.5f}})},
                   Skin});
    out.push_back({{F.Oval(0.02f, 0.5f, 0.16f, 0.09f)}, Mix(Skin, Hex(0xE89090), 0.3f)});  // the cold on her cheek
    // The eye looking up, the iris at its front with a glint, the lashes, the brow, and
    // the line of her closed lips.
    out.push_back({{F.Poly({{0.06f, 0.8f}, {0.16f, 0.86f}, {0.27f, 0.87f}, {0.32f, 0.83f}, {0.22f, 0.77f}, {0.12f, 0.77f}})},
                   Hex(0xB8A8A4)});
    out.push_back({{F.Oval(0.24f, 0.83f, 0.05f, 0.045f)}, Hair});
    out.push_back({{F.Limb(0.05f, 0.81f, 0.3f, 0.875f, 0.03f)}, Hair});
    out.push_back({{F.Oval(0.255f, 0.845f, 0.012f, 0.012f)}, Hex(0xF4EEE8)});
    out.push_back({{F.Limb(0.06f, 0.98f, 0.3f, 1.02f, 0.035f)}, Hair});
    out.push_back({{F.Limb(0.24f, 0.34f, 0.34f, 0.38f, 0.02f)}, Hex(0x8A4A48)});
    out.push_back({{F.Poly({{-0.9f, 0.2f}, {-0.85f, 1.0f}, {-0.45f, 1.42f}, {0.1f, 1.46f}, {0.38f, 1.18f}, {0.2f, 1.12f},
                            {-0.05f, 1.2f}, {-0.3f, 0.95f}, {-0.35f, 0.4f}, {-0.55f, 0.0f}}),
                    F.Limb(-0.75f, 0.5f, -0.95f, -1.8f, 0.26f), F.Oval(-0.96f, -1.9f, 0.12f, 0.16f)},
                   Hair});
    out.push_back({{F.Poly({{-0.75f, -0.05f}, {0.3f, -0.1f}, {0.45f, -0.45f}, {-0.2f, -0.55f}, {-0.85f, -0.45f}}),
                    F.Poly({{0.25f, -0.3f}, {0.6f, -0.3f}, {0.7f, -1.1f}, {0.35f, -1.1f}})},
                   Scarf});
    // The near braid falls over her shoulder and the scarf, tied with a dark ribbon.
    out.push_back({{F.Limb(-0.5f, 0.35f, -0.3f, -0.5f, 0.2f), F.Limb(-0.3f, -0.5f, -0.1f, -1.55f, 0.17f),
                    F.Oval(-0.08f, -1.72f, 0.1f, 0.14f)},
                   Hair});
    out.push_back({{F.Oval(-0.1f, -1.55f, 0.12f, 0.06f)}, Scarf * 0.6f});
    if (handsInLap) {
        // The bag on her lap, her arm down from the shoulder, bent at the elbow, and her
        // hand closed on the bag's handle.
        out.push_back({{F.Wire(1.15f, -2.78f, 1.95f, -2.78f, 0.32f, 0.06f)}, Bag * 0.7f});
        out.push_back({{F.Poly({{0.95f, -2.75f}, {2.2f, -2.72f}, {2.3f, -3.45f}, {0.9f, -3.5f}})}, Bag});
        out.push_back({{F.Poly({{0.93f, -2.74f}, {2.22f, -2.71f}, {2.24f, -3.0f}, {0.92f, -3.02f}})}, Bag * 0.8f});
        out.push_back({{F.Oval(1.58f, -3.0f, 0.06f, 0.05f)}, Badge});
        out.push_back({{F.Limb(-0.55f, -0.75f, -0.45f, -2.05f, 0.46f), F.Limb(-0.45f, -2.05f, 1.2f, -2.45f, 0.4f),
                        F.Oval(-0.45f, -2.05f, 0.23f, 0.23f)},
                       Uniform * 0.85f});
        for (int i = 0; i < 3; ++i) {
            float d = 0.08f + 0.07f * float(i);
            out.push_back({{F.Limb(1.12f - d, -2.25f - d * 0.24f, 1.12f - d + 0.06f, -2.65f - d * 0.24f, 0.025f)}, CollarLine});
        }
        out.push_back({{F.Poly({{1.2f, -2.3f}, {1.55f, -2.4f}, {1.72f, -2.62f}, {1.62f, -2.8f}, {1.3f, -2.78f}, {1.15f, -2.6f}})},
                       Skin});
    }
    Mask all = MakeMask(c.width, c.height);
    for (const Piece& p : out) Cover(all, p.shape);
    Shadow(c, all, 4, 6, 12, 0.45f, Hex(0x07060E));
    for (const Piece& p : out) Paint(c, MaskOf(c, p.shape), p.colour * light);
    Rim(c, all, 0, -3, rim, 0.6f);
}

Contour Finger(Point base, float angle, float length, float root, float tip) {
    Point e{std::cos(angle), std::sin(angle)}, n{-e.y, e.x};
    Point end{base.x + e.x * length, base.y + e.y * length};
    Contour f{{base.x + n.x * root / 2, base.y + n.y * root / 2}, {end.x + n.x * tip / 2, end.y + n.y * tip / 2}};
    for (int i = 1; i < 10; ++i) {  // the round end, from one side to the other
        float a = float(M_PI) * float(i) / 10;
        float along = std::sin(a) * tip * 0.55f, across = std::cos(a) * tip / 2;
        f.push_back({end.x + e.x * along + n.x * across, end.y + e.y * along + n.y * across});
    }
    f.push_back({end.x - n.x * tip / 2, end.y - n.y * tip / 2});
    f.push_back({base.x - n.x * root / 2, base.y - n.y * root / 2});
    return f;
}

Shape FingerCreases(Point base, float angle, float length, float root) {
    Point e{std::cos(angle), std::sin(angle)}, n{-e.y, e.x};
    Shape creases;
    for (float at : {0.36f, 0.68f}) {
        Point m{base.x + e.x * length * at, base.y + e.y * length * at};
        float half = root * 0.2f;
        creases.push_back(Stroke({m.x - n.x * half, m.y - n.y * half}, {m.x + n.x * half, m.y + n.y * half}, 1.3f));
    }
    return creases;
}

}  // namespace art
