// The figures, built from a handful of paper pieces each, in figure units (height 1,
// feet at 0, forward positive) and placed by a Placement.
#include "tools/pictures/figures.h"

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
    Contour Oval(float u, float v, float ru, float rv) const {
        Point c = P(u, v);
        return Ellipse(c.x, c.y, ru * h, rv * h);
    }
};

const Rgb Uniform = Hex(0x242A4A), Stocking = Hex(0x16141E), Hair = Hex(0x151219), Skin = Hex(0xE6D2C2),
          Scarf = Hex(0xA02C38), CollarLine = Hex(0xDCDCE6), Bag = Hex(0x6E4629), Coat = Hex(0x27252F),
          Cap = Hex(0x1C2032), Trousers = Hex(0x1B1B25), Badge = Hex(0xD8B060), Kimono = Hex(0x4C3C52),
          Apron = Hex(0xD6D0C2), Obi = Hex(0x7A3A40), Yukata = Hex(0xC4CCDC), LanternBody = Hex(0x2C2622);
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
        out.push_back({{F.Poly({{handU - 0.02f, handV + 0.035f}, {handU + 0.025f, handV + 0.035f},
                                {handU + 0.022f, handV - 0.01f}, {handU - 0.017f, handV - 0.01f}})},
                       Hex(0xF0F0EC)});
        Point top = F.P(handU, handV + 0.04f);
        Steam(c, top.x, top.y, F.h * 0.22f, F.h * 0.03f, 1.f, Hex(0xF2EEE8), 0.35f);
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

static std::vector<Piece> BackView(Who who, Pose pose, const Frame& F) {
    std::vector<Piece> out;
    bool sit = pose == Pose::BackSit;
    float drop = sit ? 0.28f : 0;
    float t = 0.8f - drop, hv = 0.895f - drop;
    if (who == Who::Minato) {
        if (!sit)
            out.push_back({{F.Limb(-0.04f, 0.3f, -0.045f, 0.02f, 0.05f), F.Limb(0.04f, 0.3f, 0.04f, 0.05f, 0.05f)},
                           Trousers});
        float hem = sit ? 0.26f : 0.2f;
        out.push_back({{F.Poly({{-0.13f, t - 0.01f}, {0.13f, t - 0.01f}, {0.15f, hem}, {-0.15f, hem}})}, Coat});
        out.push_back({{F.Poly({{-0.06f, t + 0.04f}, {0.06f, t + 0.04f}, {0.07f, t - 0.02f}, {-0.07f, t - 0.02f}})},
                       Coat * 1.15f});
        out.push_back({{F.Oval(0, hv, 0.058f, 0.07f)}, Hair});
        out.push_back({{F.Poly({{-0.07f, hv + 0.005f}, {0.07f, hv + 0.005f}, {0.078f, hv + 0.085f}, {-0.078f, hv + 0.085f}})},
                       Cap});
    } else {
        if (!sit)
            out.push_back({{F.Limb(-0.035f, 0.3f, -0.04f, 0.02f, 0.04f), F.Limb(0.035f, 0.3f, 0.03f, 0.06f, 0.04f)},
                           Stocking});
        float hem = sit ? 0.26f : 0.24f;
        out.push_back({{F.Poly({{-0.08f, 0.6f - drop}, {0.08f, 0.6f - drop}, {0.14f, hem}, {-0.14f, hem}})}, Uniform});
        out.push_back({{F.Poly({{-0.1f, t}, {0.1f, t}, {0.085f, 0.58f - drop}, {-0.085f, 0.58f - drop}})}, Uniform});
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

void Figure(Canvas& c, Who who, Pose pose, const Placement& at, Holding holding, bool bigCoat) {
    float h = who == Who::Child ? at.height * 0.62f : at.height;
    Frame F{at.x, at.y, h, at.facing};
    bool back = pose == Pose::BackSit || pose == Pose::BackWalk;
    Rgb glow = Hex(0xFFC878);
    std::vector<Piece> pieces = back ? BackView(who, pose, F) : SideView(c, who, pose, F, holding, bigCoat, glow);
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

void SayoClose(Canvas& c, float x, float y, float s, int facing, float light, Rgb rim) {
    // Units of the head's height, origin at the chin, forward = facing, up positive.
    Frame F{x, y, s, facing};
    std::vector<Piece> out;
    out.push_back({{F.Poly({{-1.6f, -0.6f}, {0.5f, -0.62f}, {1.0f, -1.2f}, {1.3f, -3.5f}, {-2.0f, -3.5f}, {-1.9f, -1.2f}})},
                   Uniform});
    out.push_back({{F.Poly({{-1.75f, -0.55f}, {-0.35f, -0.5f}, {-0.55f, -1.55f}, {-1.95f, -1.5f}})}, Uniform * 0.8f});
    CollarLines(out, F, -1.9f, -0.6f, -1.5f);
    out.push_back({{F.Poly({{0.95f, -2.4f}, {1.35f, -2.5f}, {1.4f, -2.85f}, {0.9f, -2.8f}})}, Bag});
    out.push_back({{F.Limb(-0.15f, -0.7f, 0.05f, 0.3f, 0.45f)}, Skin * 0.85f});
    // A profile turned up: brow, nose, lips, chin.
    out.push_back({{F.Poly({{-0.55f, 0.05f}, {0.0f, 0.0f}, {0.22f, 0.12f}, {0.3f, 0.3f}, {0.36f, 0.36f}, {0.34f, 0.42f},
                            {0.44f, 0.56f}, {0.4f, 0.62f}, {0.5f, 0.78f}, {0.46f, 0.88f}, {0.42f, 1.04f},
                            {0.38f, 1.1f}, {0.3f, 1.3f}, {-0.2f, 1.45f}, {-0.7f, 1.1f}, {-0.8f, 0.5f}})},
                   Skin});
    out.push_back({{F.Poly({{-0.9f, 0.2f}, {-0.85f, 1.0f}, {-0.45f, 1.42f}, {0.1f, 1.46f}, {0.38f, 1.18f}, {0.2f, 1.12f},
                            {-0.05f, 1.2f}, {-0.3f, 0.95f}, {-0.35f, 0.4f}, {-0.55f, 0.0f}}),
                    F.Limb(-0.75f, 0.5f, -0.95f, -1.8f, 0.26f), F.Oval(-0.96f, -1.9f, 0.12f, 0.16f)},
                   Hair});
    out.push_back({{F.Limb(0.2f, 0.9f, 0.33f, 0.94f, 0.04f)}, Hair});  // a lowered eyelid
    out.push_back({{F.Poly({{-0.75f, -0.05f}, {0.3f, -0.1f}, {0.45f, -0.45f}, {-0.2f, -0.55f}, {-0.85f, -0.45f}}),
                    F.Poly({{0.25f, -0.3f}, {0.6f, -0.3f}, {0.7f, -1.1f}, {0.35f, -1.1f}})},
                   Scarf});
    // The near braid falls over her shoulder and the scarf, tied with a dark ribbon.
    out.push_back({{F.Limb(-0.5f, 0.35f, -0.3f, -0.5f, 0.2f), F.Limb(-0.3f, -0.5f, -0.1f, -1.55f, 0.17f),
                    F.Oval(-0.08f, -1.72f, 0.1f, 0.14f)},
                   Hair});
    out.push_back({{F.Oval(-0.1f, -1.55f, 0.12f, 0.06f)}, Scarf * 0.6f});
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
