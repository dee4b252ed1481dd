// 小夜 from curves: the upper body is drawn once, standing, in figure units (height 1, u
// forward or to her right, v up), and each pose turns it about the waist and sets it on
// a lower body of its own.
#include "tools/pictures/sayo.h"

#include <cmath>
#include <vector>

#include "tools/pictures/figures.h"
#include "tools/pictures/style.h"

namespace art {

namespace {
using namespace wear;
const Rgb Shoe = Hex(0x2A1E1A), Brass = Hex(0xD8B060), Ribbon = Hex(0x5A1822), Lips = Hex(0x9A5652),
          Blush = Mix(Skin, Hex(0xF08A8A), 0.18f);

struct Piece {
    Shape shape;
    Rgb colour;
    bool parted;  // casts a soft shadow on the pieces already cut, to part it from them
};

// Turns p about `about` by `angle` radians toward her front (u) and down.
Point Turn(Point p, Point about, float angle) {
    float du = p.x - about.x, dv = p.y - about.y, c = std::cos(angle), s = std::sin(angle);
    return {about.x + du * c + dv * s, about.y - du * s + dv * c};
}

struct Body {
    float x, y, h;
    int f;
    Point waist{0, 0.6f};  // where the upper body's waist (0, 0.6) goes
    float lean = 0, nod = 0;
    std::vector<Piece> pieces;

    Point Pixel(Point q) const { return {x + q.x * h * float(f), y - q.y * h}; }
    Point Lower(float u, float v) const { return Pixel({u, v}); }
    // A point of the standing upper body where the pose puts it; the head nods about the
    // neck first.
    Point Upper(float u, float v, bool head = false) const {
        Point q{u, v};
        if (head) q = Turn(q, {0, 0.862f}, nod);
        q = Turn(q, {0, 0.6f}, lean);
        return Pixel({q.x + waist.x, q.y - 0.6f + waist.y});
    }
    // Above the waist a point follows the upper body; below it stays (a standing pose).
    Point Either(float u, float v) const { return v >= 0.6f ? Upper(u, v) : Lower(u, v); }

    enum Part { Low, Up, Head, Standing };
    std::vector<Point> Map(std::initializer_list<Point> uv, Part part) const {
        std::vector<Point> out;
        for (Point p : uv)
            out.push_back(part == Low ? Lower(p.x, p.y) : part == Up ? Upper(p.x, p.y)
                          : part == Head ? Upper(p.x, p.y, true) : Either(p.x, p.y));
        return out;
    }
    void Add(std::initializer_list<Point> uv, Part part, Rgb colour, bool parted = false) {
        pieces.push_back({{Spline(Map(uv, part))}, colour, parted});
    }
    void AddBand(std::initializer_list<Point> uv, Part part, float width, Rgb colour, bool parted = false) {
        pieces.push_back({{art::Band(Map(uv, part), width * h)}, colour, parted});
    }
    void AddOval(Point centre, float ru, float rv, Part part, Rgb colour) {
        Point c = part == Low ? Lower(centre.x, centre.y) : Upper(centre.x, centre.y, part == Head);
        pieces.push_back({{Ellipse(c.x, c.y, ru * h, rv * h)}, colour, false});
    }
};

// Lines across a sleeve at its cuff: `from` the elbow, `to` the wrist (standing units).
void Cuff(Body& b, Point from, Point to, float width) {
    float du = to.x - from.x, dv = to.y - from.y, len = std::hypot(du, dv);
    Point d{du / len, dv / len}, n{-d.y, d.x};
    for (float back : {0.012f, 0.019f}) {
        Point m{to.x - d.x * back, to.y - d.y * back};
        b.AddBand({{m.x - n.x * width / 2, m.y - n.y * width / 2}, {m.x + n.x * width / 2, m.y + n.y * width / 2}},
                  Body::Up, 0.0028f, CollarLine);
    }
}

// A braid of three strands from `top` down through `mid` to `end`: a row of lobes,
// each leaning the other way from the one above and lit on its upper edge; a dark
// ribbon and a small tuft below it.
void Braid(Body& b, Point top, Point mid, Point end, Body::Part part) {
    b.AddBand({top, mid, end}, part, 0.016f, Hair);
    const int lobes = 11;
    for (int i = 0; i < lobes; ++i) {
        float t = (float(i) + 0.5f) / float(lobes);
        Point a = t < 0.5f ? Point{top.x + (mid.x - top.x) * t * 2, top.y + (mid.y - top.y) * t * 2}
                           : Point{mid.x + (end.x - mid.x) * (t * 2 - 1), mid.y + (end.y - mid.y) * (t * 2 - 1)};
        float side = i % 2 ? 1.f : -1.f, r = 0.0105f - 0.003f * t;
        b.Add({{a.x - r * 0.2f * side, a.y + r * 1.1f}, {a.x + r * side, a.y + r * 0.3f}, {a.x + r * 0.4f * side, a.y - r},
               {a.x - r * 0.9f * side, a.y - r * 0.2f}},
              part, Hair * 1.25f);
        b.AddBand({{a.x - r * 0.6f * side, a.y + r * 0.5f}, {a.x + r * 0.5f * side, a.y + r * 0.1f}}, part, 0.0018f,
                  Hair * 3.f);
    }
    b.Add({{end.x - 0.012f, end.y + 0.004f}, {end.x + 0.012f, end.y + 0.004f}, {end.x + 0.008f, end.y - 0.008f},
           {end.x - 0.008f, end.y - 0.008f}},
          part, Ribbon);
    b.Add({{end.x - 0.006f, end.y - 0.006f}, {end.x + 0.006f, end.y - 0.006f}, {end.x + 0.009f, end.y - 0.026f},
           {end.x, end.y - 0.03f}, {end.x - 0.009f, end.y - 0.026f}},
          part, Hair);
}

// Her head and shoulders seen from the side, facing +u: the neck, her face in profile,
// her hair drawn back behind the ear into a braid over the shoulder, the knitted scarf
// round her neck with one end hanging on her breast.
void HeadFromTheSide(Body& b, bool smiling, bool coat) {
    b.Add({{-0.03f, 0.878f}, {0.014f, 0.874f}, {0.02f, 0.83f}, {-0.03f, 0.83f}}, Body::Head, Skin * 0.82f);
    b.Add({{-0.036f, 0.872f}, {-0.058f, 0.9f}, {-0.064f, 0.94f}, {-0.048f, 0.982f}, {-0.01f, 1.002f}, {0.03f, 0.995f},
           {0.05f, 0.97f}, {0.055f, 0.95f}, {0.053f, 0.938f}, {0.068f, 0.918f}, {0.061f, 0.909f}, {0.061f, 0.9f},
           {0.057f, 0.895f}, {0.059f, 0.888f}, {0.05f, 0.874f}, {0.034f, 0.867f}, {0.012f, 0.871f}},
          Body::Head, Skin);
    b.AddOval({0.033f, 0.907f}, 0.013f, 0.008f, Body::Head, Blush);
    b.Add({{0.046f, 0.978f}, {0.03f, 0.996f}, {0.0f, 1.009f}, {-0.038f, 0.999f}, {-0.064f, 0.966f}, {-0.069f, 0.925f},
           {-0.059f, 0.888f}, {-0.043f, 0.872f}, {-0.026f, 0.884f}, {-0.02f, 0.905f}, {-0.004f, 0.94f}, {0.02f, 0.956f},
           {0.04f, 0.962f}},
          Body::Head, Hair);
    // The sheen of her hair, combed back from her brow toward the braid.
    b.AddBand({{-0.048f, 0.978f}, {-0.018f, 0.998f}, {0.018f, 0.998f}}, Body::Head, 0.005f, Hair * 2.4f);
    for (int i = 0; i < 3; ++i) {
        float k = 0.012f * float(i);
        b.AddBand({{0.03f - k, 0.972f - k * 0.5f}, {-0.02f - k, 0.975f - k * 1.6f}, {-0.05f, 0.93f - k * 1.4f}},
                  Body::Head, 0.0016f, Hair * 2.f);
    }
    b.AddOval({-0.011f, 0.922f}, 0.011f, 0.016f, Body::Head, Skin * 0.9f);
    b.AddBand({{-0.006f, 0.932f}, {-0.014f, 0.926f}, {-0.01f, 0.913f}}, Body::Head, 0.0022f, Skin * 0.7f);
    if (smiling) {  // her eye closed in a smile, the corner of her mouth lifted
        b.AddBand({{0.033f, 0.941f}, {0.043f, 0.946f}, {0.052f, 0.941f}}, Body::Head, 0.0035f, Hair);
        b.AddBand({{0.05f, 0.897f}, {0.057f, 0.894f}, {0.061f, 0.896f}}, Body::Head, 0.003f, Lips);
    } else {  // the eye, its lashes run back a little, a glint; her lips closed
        b.Add({{0.038f, 0.941f}, {0.046f, 0.945f}, {0.052f, 0.941f}, {0.046f, 0.937f}}, Body::Head, Hair);
        b.AddBand({{0.031f, 0.944f}, {0.041f, 0.947f}, {0.053f, 0.943f}}, Body::Head, 0.0025f, Hair);
        b.AddOval({0.048f, 0.942f}, 0.0015f, 0.0015f, Body::Head, Hex(0xF4EEE8));
        b.AddBand({{0.054f, 0.894f}, {0.061f, 0.894f}}, Body::Head, 0.003f, Lips);
        b.AddBand({{0.062f, 0.912f}, {0.066f, 0.911f}}, Body::Head, 0.002f, Skin * 0.7f);
    }
    b.AddBand({{0.031f, 0.955f}, {0.044f, 0.959f}, {0.054f, 0.955f}}, Body::Head, 0.004f, Hair);
    if (coat)  // his coat's turned-up collar behind her neck
        b.Add({{-0.062f, 0.835f}, {-0.03f, 0.83f}, {-0.022f, 0.88f}, {-0.052f, 0.888f}}, Body::Up, Coat * 1.2f, true);
    b.Add({{-0.043f, 0.874f}, {-0.01f, 0.88f}, {0.027f, 0.873f}, {0.037f, 0.852f}, {0.031f, 0.832f}, {-0.01f, 0.827f},
           {-0.046f, 0.837f}, {-0.052f, 0.856f}},
          Body::Up, Scarf, true);
    for (int i = 0; i < 4; ++i) {
        float u = -0.035f + 0.018f * float(i);
        b.AddBand({{u, 0.872f}, {u + 0.004f, 0.833f}}, Body::Up, 0.002f, Scarf * 0.78f);
    }
    b.Add({{0.012f, 0.842f}, {0.04f, 0.838f}, {0.052f, 0.79f}, {0.054f, 0.732f}, {0.037f, 0.726f}, {0.03f, 0.79f}},
          Body::Up, Scarf * 0.9f, true);
    for (int i = 0; i < 3; ++i) {
        float u = 0.04f + 0.006f * float(i);
        b.AddBand({{u, 0.73f}, {u + 0.001f, 0.714f}}, Body::Up, 0.0025f, Scarf * 0.8f);
    }
    Braid(b, {-0.03f, 0.886f}, {0.002f, 0.81f}, {0.02f, 0.725f}, Body::Up);
}

// The sailor blouse from the side: the body (parted from her lap when she is seated),
// the square collar's flap down her back and its front to a point on her breast, three
// white lines along its edge.
void BlouseFromTheSide(Body& b, bool seated) {
    b.Add({{-0.034f, 0.846f}, {0.02f, 0.846f}, {0.046f, 0.824f}, {0.062f, 0.78f}, {0.064f, 0.735f}, {0.052f, 0.695f},
           {0.046f, 0.64f}, {0.056f, 0.598f}, {-0.062f, 0.598f}, {-0.056f, 0.65f}, {-0.066f, 0.725f}, {-0.07f, 0.785f},
           {-0.058f, 0.828f}},
          Body::Up, Uniform, seated);
    b.Add({{0.018f, 0.85f}, {0.032f, 0.806f}, {0.046f, 0.75f}, {0.028f, 0.762f}, {0.0f, 0.782f}, {-0.035f, 0.752f},
           {-0.077f, 0.737f}, {-0.075f, 0.79f}, {-0.063f, 0.832f}, {-0.036f, 0.852f}},
          Body::Up, Uniform * 1.15f, true);
    for (int i = 0; i < 3; ++i) {
        float k = 0.006f + 0.005f * float(i);
        b.AddBand({{0.042f - k * 0.4f, 0.756f + k}, {0.026f, 0.768f + k}, {0.0f, 0.788f + k}, {-0.035f, 0.758f + k},
                   {-0.073f, 0.743f + k}},
                  Body::Up, 0.0026f, CollarLine);
    }
}

// The near arm to her hands before her (`prayer`: palms together before her breast;
// else closed on her bag's handle); the far hand shows beside the near one.
void ArmFromTheSide(Body& b, bool prayer, bool coat, Rgb sleeve) {
    Point shoulder{-0.012f, 0.812f}, elbow = prayer ? Point{0.012f, 0.7f} : Point{0.002f, 0.672f};
    Point wrist = prayer ? Point{0.066f, 0.772f} : Point{0.062f, 0.596f};
    float w = coat ? 0.052f : 0.04f;
    if (coat) wrist = {wrist.x + 0.012f * (prayer ? 0.6f : 1.f), wrist.y + (prayer ? 0.01f : -0.01f)};
    if (prayer) {
        b.Add({{0.07f, 0.77f}, {0.086f, 0.776f}, {0.103f, 0.822f}, {0.097f, 0.835f}, {0.082f, 0.826f}, {0.066f, 0.79f}},
              Body::Up, Skin * 0.85f);
        b.AddBand({shoulder, {0.0f, 0.75f}, elbow}, Body::Up, w, sleeve, true);
        b.AddOval(elbow, w * 0.5f, w * 0.5f, Body::Up, sleeve);
        b.AddBand({elbow, {0.04f, 0.73f}, wrist}, Body::Up, w * 0.9f, sleeve);
        b.Add({{0.062f, 0.772f}, {0.08f, 0.774f}, {0.099f, 0.818f}, {0.094f, 0.829f}, {0.078f, 0.82f}, {0.06f, 0.79f}},
              Body::Up, Skin, true);
        b.AddBand({{0.074f, 0.782f}, {0.09f, 0.815f}}, Body::Up, 0.0022f, Skin * 0.8f);
    } else {
        b.AddOval({0.088f, 0.585f}, 0.012f, 0.011f, Body::Up, Skin * 0.8f);
        b.AddBand({shoulder, {-0.008f, 0.74f}, elbow}, Body::Up, w, sleeve, true);
        b.AddOval(elbow, w * 0.5f, w * 0.5f, Body::Up, sleeve);
        b.AddBand({elbow, {0.032f, 0.632f}, wrist}, Body::Up, w * 0.9f, sleeve);
        b.Add({{0.058f, 0.598f}, {0.076f, 0.601f}, {0.089f, 0.589f}, {0.087f, 0.573f}, {0.07f, 0.566f},
               {0.057f, 0.577f}},
              Body::Up, Skin, true);
        // Her fingers curled round the handle, parted by fine shadows, the thumb over them.
        for (int i = 0; i < 3; ++i) {
            float u = 0.072f + 0.005f * float(i);
            b.AddBand({{u, 0.578f}, {u + 0.004f, 0.569f}}, Body::Up, 0.0018f, Skin * 0.72f);
        }
        b.AddBand({{0.061f, 0.592f}, {0.074f, 0.594f}, {0.083f, 0.588f}}, Body::Up, 0.0022f, Skin * 0.78f);
    }
    if (!coat) Cuff(b, elbow, wrist, w * 0.9f);
}

// Seated, her hands held out to a stove's warmth, palms toward it, or closed round a
// handleless teacup before her breast, its steam rising (`coat`: the sleeves of his
// coat over her fingers).
void SeatedHands(Canvas& c, Body& b, SayoHands hands, bool coat, Rgb sleeve) {
    Point shoulder{-0.012f, 0.812f};
    float w = coat ? 0.052f : 0.04f;
    if (hands == SayoHands::Warming) {
        Point elbow{0.035f, 0.7f}, wrist{0.15f, 0.71f};
        b.Add({{0.16f, 0.735f}, {0.176f, 0.742f}, {0.186f, 0.72f}, {0.178f, 0.69f}, {0.16f, 0.694f}}, Body::Up, Skin * 0.8f);
        b.AddBand({shoulder, {0.005f, 0.75f}, elbow}, Body::Up, w, sleeve, true);
        b.AddOval(elbow, w * 0.5f, w * 0.5f, Body::Up, sleeve);
        b.AddBand({elbow, {0.09f, 0.69f}, wrist}, Body::Up, w * 0.9f, sleeve);
        if (!coat) Cuff(b, elbow, wrist, w * 0.9f);
        // The open hand held up to the heat, the fingers together, a little apart from
        // the thumb.
        b.Add({{0.146f, 0.726f}, {0.164f, 0.735f}, {0.17f, 0.765f}, {0.178f, 0.77f}, {0.184f, 0.745f}, {0.18f, 0.705f},
               {0.165f, 0.69f}, {0.148f, 0.695f}},
              Body::Up, Skin, true);
        b.AddBand({{0.166f, 0.728f}, {0.172f, 0.752f}}, Body::Up, 0.0016f, Skin * 0.75f);
        return;
    }
    // The cup, held in both hands below her chin.
    Point elbow{0.004f, 0.675f}, wrist{0.07f, 0.7f};
    b.AddBand({shoulder, {-0.006f, 0.74f}, elbow}, Body::Up, w, sleeve, true);
    b.AddOval(elbow, w * 0.5f, w * 0.5f, Body::Up, sleeve);
    b.AddBand({elbow, {0.04f, 0.68f}, wrist}, Body::Up, w * 0.9f, sleeve);
    if (!coat) Cuff(b, elbow, wrist, w * 0.9f);
    const Rgb glaze = Hex(0x7E8C74);
    b.Add({{0.07f, 0.745f}, {0.108f, 0.745f}, {0.104f, 0.708f}, {0.098f, 0.698f}, {0.078f, 0.698f}, {0.073f, 0.708f}},
          Body::Up, glaze, true);
    b.AddBand({{0.07f, 0.744f}, {0.084f, 0.745f}}, Body::Up, 0.004f, glaze * 1.4f);
    b.AddBand({{0.094f, 0.745f}, {0.108f, 0.744f}}, Body::Up, 0.004f, glaze * 1.4f);  // the chip between
    b.Add({{0.074f, 0.7f}, {0.1f, 0.7f}, {0.098f, 0.694f}, {0.076f, 0.694f}}, Body::Up, Hex(0x5A4A3A));
    b.Add({{0.066f, 0.724f}, {0.082f, 0.728f}, {0.09f, 0.712f}, {0.084f, 0.698f}, {0.066f, 0.7f}}, Body::Up,
          coat ? sleeve : Skin, true);
    Point rim = b.Upper(0.089f, 0.748f);
    Steam(c, rim.x, rim.y, b.h * 0.1f, b.h * 0.012f, 1.f, Hex(0xF2EEE8), 0.35f);
}

// Her small leather school bag hanging by its handle from `hand` (pixels).
void HangBag(Body& b, Point hand, int side) {
    auto at = [&](float du, float dv) { return Point{hand.x + du * b.h * float(b.f) * float(side), hand.y - dv * b.h}; };
    Shape handle{art::Band({at(-0.022f, -0.04f), at(-0.012f, -0.004f), at(0.012f, -0.004f), at(0.022f, -0.04f)},
                           0.004f * b.h)};
    b.pieces.push_back({handle, Bag * 0.6f, false});
    b.pieces.push_back({{Spline({at(-0.044f, -0.036f), at(0.044f, -0.036f), at(0.05f, -0.08f), at(0.046f, -0.118f),
                                 at(-0.046f, -0.118f), at(-0.05f, -0.08f)})},
                        Bag, true});
    b.pieces.push_back({{Spline({at(-0.046f, -0.036f), at(0.046f, -0.036f), at(0.043f, -0.062f), at(-0.043f, -0.062f)})},
                        Bag * 0.78f, true});
    b.pieces.push_back({{Ellipse(at(0, -0.062f).x, at(0, -0.062f).y, 0.006f * b.h, 0.006f * b.h)}, Brass, false});
}

// Standing (or bowing) from the side: stockings, shoes, the long pleated skirt; or the
// coat from her shoulders nearly to her ankles.
void StandingFromTheSide(Body& b, const SayoLook& look) {
    for (float back : {-0.022f, 0.f}) {
        Rgb dark = back < 0 ? Stocking * 0.75f : Stocking;
        b.Add({{back - 0.02f, 0.25f}, {back + 0.022f, 0.25f}, {back + 0.024f, 0.18f}, {back + 0.017f, 0.08f},
               {back + 0.016f, 0.045f}, {back - 0.012f, 0.045f}, {back - 0.018f, 0.1f}, {back - 0.03f, 0.17f}},
              Body::Low, dark);
        b.Add({{back - 0.02f, 0.0f}, {back - 0.022f, 0.03f}, {back, 0.048f}, {back + 0.02f, 0.046f}, {back + 0.05f, 0.03f},
               {back + 0.068f, 0.012f}, {back + 0.064f, 0.0f}},
              Body::Low, back < 0 ? Shoe * 0.75f : Shoe);
    }
    if (look.coat) {
        b.Add({{-0.05f, 0.85f}, {0.03f, 0.852f}, {0.062f, 0.82f}, {0.08f, 0.74f}, {0.088f, 0.6f}, {0.1f, 0.3f},
               {0.116f, 0.075f}, {0.0f, 0.062f}, {-0.122f, 0.075f}, {-0.104f, 0.3f}, {-0.088f, 0.6f}, {-0.086f, 0.74f},
               {-0.072f, 0.82f}},
              Body::Standing, Coat);
        b.AddBand({{0.07f, 0.74f}, {0.08f, 0.5f}, {0.1f, 0.09f}}, Body::Standing, 0.003f, Coat * 0.7f);
        for (float v : {0.7f, 0.6f, 0.5f}) b.AddOval({0.06f, v}, 0.006f, 0.006f, Body::Up, Coat * 0.55f);
        return;
    }
    b.Add({{-0.048f, 0.637f}, {0.046f, 0.637f}, {0.06f, 0.57f}, {0.075f, 0.45f}, {0.09f, 0.33f}, {0.106f, 0.226f},
           {0.07f, 0.214f}, {0.03f, 0.222f}, {-0.01f, 0.213f}, {-0.05f, 0.222f}, {-0.09f, 0.214f}, {-0.116f, 0.226f},
           {-0.1f, 0.33f}, {-0.086f, 0.45f}, {-0.075f, 0.54f}, {-0.062f, 0.6f}},
          Body::Standing, Uniform * 0.95f);
    for (int k = 0; k < 6; ++k) {
        float top = -0.04f + 0.016f * float(k), bottom = -0.1f + 0.04f * float(k);
        b.AddBand({{top, 0.625f}, {(top + bottom) / 2, 0.42f}, {bottom, 0.222f}}, Body::Standing, 0.0025f, Uniform * 0.68f);
    }
}

// Seated on a bench, from the side: the skirt over her lap to her knees and down her
// shins, her stockings and shoes below it.
void SeatedFromTheSide(Body& b, bool coat) {
    for (float back : {-0.016f, 0.f}) {
        Rgb dark = back < 0 ? Stocking * 0.75f : Stocking;
        b.Add({{back + 0.185f, 0.17f}, {back + 0.228f, 0.17f}, {back + 0.226f, 0.1f}, {back + 0.222f, 0.045f},
               {back + 0.196f, 0.045f}, {back + 0.19f, 0.1f}},
              Body::Low, dark);
        b.Add({{back + 0.19f, 0.0f}, {back + 0.188f, 0.03f}, {back + 0.21f, 0.048f}, {back + 0.232f, 0.046f},
               {back + 0.262f, 0.03f}, {back + 0.278f, 0.012f}, {back + 0.274f, 0.0f}},
              Body::Low, back < 0 ? Shoe * 0.75f : Shoe);
    }
    if (coat) {  // his coat over her lap and down nearly to her ankles
        b.Add({{-0.07f, 0.4f}, {0.05f, 0.4f}, {0.07f, 0.36f}, {0.13f, 0.346f}, {0.22f, 0.336f}, {0.25f, 0.3f},
               {0.256f, 0.2f}, {0.252f, 0.07f}, {0.19f, 0.062f}, {0.17f, 0.25f}, {0.0f, 0.258f}, {-0.09f, 0.262f},
               {-0.1f, 0.32f}},
              Body::Low, Coat);
        b.AddBand({{0.24f, 0.3f}, {0.242f, 0.18f}, {0.24f, 0.08f}}, Body::Low, 0.003f, Coat * 0.7f);
        return;
    }
    b.Add({{-0.058f, 0.378f}, {0.046f, 0.378f}, {0.064f, 0.35f}, {0.13f, 0.336f}, {0.215f, 0.326f}, {0.236f, 0.3f},
           {0.238f, 0.25f}, {0.232f, 0.16f}, {0.2f, 0.152f}, {0.176f, 0.16f}, {0.168f, 0.262f}, {0.0f, 0.266f},
           {-0.07f, 0.268f}, {-0.082f, 0.31f}},
          Body::Low, Uniform * 0.95f);
    for (int k = 0; k < 4; ++k)  // the pleats drawn from her waist over her lap
        b.AddBand({{0.005f + 0.008f * float(k), 0.365f - 0.022f * float(k)}, {0.1f, 0.33f - 0.016f * float(k)},
                   {0.205f, 0.31f - 0.012f * float(k)}},
                  Body::Low, 0.0025f, Uniform * 0.7f);
    b.AddBand({{0.236f, 0.29f}, {0.234f, 0.22f}, {0.232f, 0.165f}}, Body::Low, 0.0025f, Uniform * 0.7f);
}

// Seen from behind, standing: her legs, the skirt's pleats, the blouse with the
// collar's square flap and its lines, the scarf at her neck, her hair parted into two
// braids down her back; or 湊's coat, its sleeves over her hands.
void StandingFromBehind(Body& b, const SayoLook& look) {
    for (float side : {-1.f, 1.f}) {
        float u = side * 0.026f;
        b.Add({{u - 0.02f, 0.24f}, {u + 0.02f, 0.24f}, {u + 0.018f, 0.15f}, {u + 0.012f, 0.05f}, {u - 0.012f, 0.05f},
               {u - 0.018f, 0.12f}, {u - 0.024f, 0.18f}},
              Body::Low, Stocking);
        b.AddOval({u, 0.022f}, 0.017f, 0.024f, Body::Low, Shoe);
    }
    const Rgb sleeve = look.coat ? Coat * 0.86f : Uniform * 0.92f;
    if (look.coat) {
        b.Add({{-0.052f, 0.862f}, {0.052f, 0.862f}, {0.1f, 0.832f}, {0.112f, 0.76f}, {0.106f, 0.6f}, {0.12f, 0.3f},
               {0.136f, 0.07f}, {0.0f, 0.062f}, {-0.136f, 0.07f}, {-0.12f, 0.3f}, {-0.106f, 0.6f}, {-0.112f, 0.76f},
               {-0.1f, 0.832f}},
              Body::Standing, Coat);
        b.AddBand({{0.0f, 0.6f}, {0.0f, 0.08f}}, Body::Standing, 0.004f, Coat * 0.6f);
        b.Add({{-0.07f, 0.62f}, {0.07f, 0.62f}, {0.07f, 0.595f}, {-0.07f, 0.595f}}, Body::Up, Coat * 1.16f, true);
        for (float side : {-1.f, 1.f}) {
            b.AddBand({{side * 0.084f, 0.822f}, {side * 0.112f, 0.7f}, {side * 0.118f, 0.55f}}, Body::Up, 0.05f, sleeve, true);
            b.AddOval({side * 0.05f, 0.607f}, 0.006f, 0.006f, Body::Up, Coat * 0.55f);
        }
        b.Add({{-0.066f, 0.9f}, {0.066f, 0.9f}, {0.074f, 0.84f}, {-0.074f, 0.84f}}, Body::Up, Coat * 1.2f, true);
    } else {
        b.Add({{-0.058f, 0.642f}, {0.058f, 0.642f}, {0.072f, 0.56f}, {0.095f, 0.42f}, {0.12f, 0.238f}, {0.1f, 0.222f},
               {0.06f, 0.229f}, {0.02f, 0.221f}, {-0.02f, 0.229f}, {-0.06f, 0.221f}, {-0.1f, 0.229f}, {-0.12f, 0.238f},
               {-0.095f, 0.42f}, {-0.072f, 0.56f}},
              Body::Standing, Uniform * 0.95f);
        for (int k = -3; k <= 3; ++k)
            b.AddBand({{float(k) * 0.016f, 0.63f}, {float(k) * 0.03f, 0.43f}, {float(k) * 0.036f, 0.228f}},
                      Body::Standing, 0.0025f, Uniform * 0.68f);
        b.Add({{-0.045f, 0.852f}, {0.045f, 0.852f}, {0.08f, 0.832f}, {0.09f, 0.8f}, {0.08f, 0.72f}, {0.066f, 0.66f},
               {0.072f, 0.6f}, {-0.072f, 0.6f}, {-0.066f, 0.66f}, {-0.08f, 0.72f}, {-0.09f, 0.8f}, {-0.08f, 0.832f}},
              Body::Up, Uniform);
        for (float side : {-1.f, 1.f}) {
            b.AddBand({{side * 0.082f, 0.81f}, {side * 0.094f, 0.7f}, {side * 0.092f, 0.6f}}, Body::Up, 0.036f, sleeve, true);
            Cuff(b, {side * 0.094f, 0.7f}, {side * 0.092f, 0.6f}, 0.034f);
            b.AddOval({side * 0.091f, 0.578f}, 0.013f, 0.02f, Body::Up, Skin * 0.9f);
        }
        b.Add({{-0.071f, 0.838f}, {0.071f, 0.838f}, {0.074f, 0.734f}, {-0.074f, 0.734f}}, Body::Up, Uniform * 1.15f, true);
        for (int i = 0; i < 3; ++i) {
            float k = 0.006f + 0.005f * float(i);
            b.AddBand({{-0.074f + k, 0.836f}, {-0.074f + k, 0.734f + k}, {0.074f - k, 0.734f + k}, {0.074f - k, 0.836f}},
                      Body::Up, 0.0026f, CollarLine);
        }
    }
    b.Add({{-0.046f, 0.878f}, {0.046f, 0.878f}, {0.052f, 0.846f}, {-0.052f, 0.846f}}, Body::Up, Scarf, true);
    b.Add({{0.0f, 1.006f}, {0.045f, 0.99f}, {0.06f, 0.94f}, {0.05f, 0.892f}, {0.02f, 0.874f}, {-0.02f, 0.874f},
           {-0.05f, 0.892f}, {-0.06f, 0.94f}, {-0.045f, 0.99f}},
          Body::Head, Hair);
    for (float side : {-1.f, 1.f}) b.AddOval({side * 0.057f, 0.922f}, 0.006f, 0.011f, Body::Head, Skin * 0.6f);
    b.AddBand({{0.0f, 1.0f}, {0.0f, 0.95f}, {0.0f, 0.9f}}, Body::Head, 0.003f, Hair * 2.2f);
    for (float side : {-1.f, 1.f}) Braid(b, {side * 0.03f, 0.888f}, {side * 0.036f, 0.8f}, {side * 0.04f, 0.712f}, Body::Up);
    HangBag(b, b.Upper(0.1f, 0.56f), 1);
}

// Kneeling on her heels, from the side: the skirt (or the coat) spread on the ground
// round her folded legs, the soles of her shoes behind.
void KneelingFromTheSide(Body& b, const SayoLook& look) {
    b.Add({{-0.165f, 0.0f}, {-0.1f, 0.0f}, {-0.096f, 0.03f}, {-0.15f, 0.036f}}, Body::Low, Shoe);
    const float spread = look.coat ? 0.025f : 0;  // the coat lies wider round her
    b.Add({{-0.056f, 0.318f}, {0.048f, 0.318f}, {0.064f, 0.25f}, {0.09f, 0.165f}, {0.15f, 0.135f + spread},
           {0.19f + spread, 0.09f}, {0.2f + spread, 0.03f}, {0.18f + spread, 0.0f}, {0.02f, -0.004f},
           {-0.12f - spread, 0.0f}, {-0.14f - spread, 0.03f}, {-0.12f - spread, 0.12f}, {-0.09f, 0.2f}, {-0.07f, 0.27f}},
          Body::Low, look.coat ? Coat : Uniform * 0.95f);
    // The lap over her thighs, a lighter cut where the light falls on it.
    b.Add({{0.06f, 0.2f}, {0.1f, 0.168f}, {0.155f, 0.14f + spread}, {0.19f + spread, 0.1f}, {0.17f, 0.09f},
           {0.1f, 0.12f}, {0.05f, 0.15f}},
          Body::Low, (look.coat ? Coat : Uniform) * 1.12f, true);
    if (!look.coat)
        for (int k = 0; k < 5; ++k) {
            float top = -0.05f + 0.02f * float(k), bottom = -0.12f + 0.03f * float(k);
            b.AddBand({{top, 0.3f}, {(top + bottom) / 2 - 0.01f, 0.15f}, {bottom, 0.01f}}, Body::Low, 0.0025f,
                      Uniform * 0.68f);
        }
}

// Crouching low, from the side: her feet under her, the skirt (or coat) over her knees
// and falling to the ground before them.
void CrouchingFromTheSide(Body& b, const SayoLook& look) {
    b.Add({{0.02f, 0.0f}, {0.11f, 0.0f}, {0.114f, 0.02f}, {0.06f, 0.04f}, {0.01f, 0.034f}}, Body::Low, Shoe);
    const float spread = look.coat ? 0.02f : 0;
    b.Add({{-0.06f, 0.31f}, {0.02f, 0.33f}, {0.09f, 0.35f + spread}, {0.135f + spread, 0.33f + spread},
           {0.145f + spread, 0.27f}, {0.132f + spread, 0.15f}, {0.122f + spread, 0.04f}, {0.095f, 0.03f},
           {0.0f, 0.04f}, {-0.085f - spread, 0.05f}, {-0.115f - spread, 0.12f}, {-0.1f - spread, 0.22f}},
          Body::Low, look.coat ? Coat : Uniform * 0.95f);
    // Her knee under the cloth, caught by the light, and the folds falling from it.
    b.Add({{0.05f, 0.33f}, {0.1f, 0.348f + spread}, {0.134f + spread, 0.33f + spread}, {0.142f + spread, 0.28f},
           {0.12f, 0.29f}, {0.08f, 0.315f}},
          Body::Low, (look.coat ? Coat : Uniform) * 1.14f, true);
    for (int k = 0; k < (look.coat ? 2 : 4); ++k) {
        float u = 0.075f + 0.024f * float(k) + spread;
        b.AddBand({{u, 0.3f}, {u + 0.008f, 0.16f}, {u + 0.002f, 0.045f}}, Body::Low, 0.0025f,
                  (look.coat ? Coat : Uniform) * 0.68f);
    }
}

void PaintBody(Canvas& c, const Body& b, const SayoLook& look) {
    Mask all = MakeMask(c.width, c.height);
    for (const Piece& p : b.pieces) Cover(all, p.shape);
    Shadow(c, all, 2, 3, std::max(2, int(b.h * 0.02f)), 0.4f * look.opacity, Hex(0x07060E));
    int soft = std::max(1, int(b.h * 0.008f));
    for (const Piece& p : b.pieces) {
        Mask m = MaskOf(c, p.shape);
        if (p.parted) Shadow(c, m, 1, 1, soft, 0.35f * look.opacity, Hex(0x07060E));
        Paint(c, m, p.colour * look.light, look.opacity);
    }
    if (look.snow.r + look.snow.g + look.snow.b > 0) SnowOnTop(c, all, look.snow, std::max(1, int(b.h * 0.012f)));
    if (look.rimDx || look.rimDy) Rim(c, all, look.rimDx, look.rimDy, look.rim, 0.55f * look.opacity);
}
}  // namespace

void DrawSayoAtTheWindow(Canvas& c, float x, float y, float s, const SayoLook& look) {
    // Drawn in units of the head's height, the origin at her chin, u to the picture's
    // right, v up; a head is an eighth of her height less a little, the figure's unit.
    const float K = 7.5f;
    Body b{x, y, s * K, 1, {0, 0.6f}, 0, 0, {}};
    auto H = [&](Point p) { return Point{p.x / K, p.y / K}; };
    auto add = [&](std::initializer_list<Point> uv, Rgb colour, bool parted = false) {
        std::vector<Point> px;
        for (Point p : uv) px.push_back(b.Lower(p.x / K, p.y / K));
        b.pieces.push_back({{Spline(px)}, colour, parted});
    };
    auto band = [&](std::initializer_list<Point> uv, float width, Rgb colour, bool parted = false) {
        std::vector<Point> px;
        for (Point p : uv) px.push_back(b.Lower(p.x / K, p.y / K));
        b.pieces.push_back({{art::Band(px, width * s)}, colour, parted});
    };
    auto oval = [&](Point centre, float ru, float rv, Rgb colour) {
        Point q = b.Lower(centre.x / K, centre.y / K);
        b.pieces.push_back({{Ellipse(q.x, q.y, ru * s, rv * s)}, colour, false});
    };
    // Her body and shoulders, the collar's front falling to a point on her breast with
    // its white lines, the neck.
    add({{-0.2f, -0.35f}, {-1.05f, -0.6f}, {-1.3f, -1.0f}, {-1.4f, -2.2f}, {1.4f, -2.2f}, {1.3f, -1.0f}, {1.05f, -0.6f},
         {0.2f, -0.35f}},
        Uniform);
    add({{-0.22f, -0.34f}, {-1.0f, -0.58f}, {-1.2f, -0.95f}, {-0.9f, -1.05f}, {0.0f, -1.25f}, {0.9f, -1.05f},
         {1.2f, -0.95f}, {1.0f, -0.58f}, {0.22f, -0.34f}, {0.0f, -0.9f}},
        Uniform * 1.15f, true);
    for (int i = 0; i < 3; ++i) {
        float k = 0.05f + 0.045f * float(i);
        band({{-1.12f + k, -0.94f + k * 0.2f}, {-0.6f, -1.02f + k}, {0.0f, -1.2f + k * 1.1f}, {0.6f, -1.02f + k},
              {1.12f - k, -0.94f + k * 0.2f}},
             0.022f, CollarLine);
    }
    add({{-0.15f, -0.3f}, {0.15f, -0.3f}, {0.16f, 0.12f}, {-0.16f, 0.12f}}, Skin * 0.78f);
    // The scarf round her neck, its knot and one end on her breast.
    add({{-0.4f, -0.04f}, {0.0f, 0.0f}, {0.4f, -0.04f}, {0.46f, -0.3f}, {0.2f, -0.44f}, {-0.2f, -0.44f}, {-0.46f, -0.3f}},
        Scarf, true);
    for (int i = 0; i < 5; ++i) {
        float u = -0.34f + 0.17f * float(i);
        band({{u, -0.06f}, {u + 0.02f, -0.38f}}, 0.018f, Scarf * 0.78f);
    }
    add({{0.06f, -0.38f}, {0.3f, -0.42f}, {0.34f, -1.0f}, {0.3f, -1.2f}, {0.12f, -1.18f}, {0.1f, -0.8f}}, Scarf * 0.9f, true);
    add({{-0.04f, -0.3f}, {0.16f, -0.34f}, {0.18f, -0.52f}, {-0.02f, -0.5f}}, Scarf * 0.85f, true);
    // Her face: a soft oval to a small chin, cheeks warm with the train's heat, her
    // eyes closed in a smile, her brows, the small curve of her mouth.
    add({{0.0f, 0.0f}, {0.2f, 0.06f}, {0.33f, 0.24f}, {0.39f, 0.5f}, {0.37f, 0.76f}, {0.2f, 0.95f}, {-0.2f, 0.95f},
         {-0.37f, 0.76f}, {-0.39f, 0.5f}, {-0.33f, 0.24f}, {-0.2f, 0.06f}},
        Skin);
    for (float side : {-1.f, 1.f}) {
        oval({side * 0.22f, 0.3f}, 0.09f, 0.05f, Blush);
        band({{side * 0.26f, 0.49f}, {side * 0.17f, 0.535f}, {side * 0.08f, 0.49f}}, 0.024f, Hair);
        band({{side * 0.29f, 0.65f}, {side * 0.18f, 0.69f}, {side * 0.07f, 0.665f}}, 0.02f, Hair * 1.3f);
    }
    band({{0.02f, 0.36f}, {0.035f, 0.29f}, {0.0f, 0.27f}}, 0.014f, Skin * 0.78f);
    band({{-0.09f, 0.165f}, {0.0f, 0.125f}, {0.09f, 0.165f}}, 0.022f, Lips);
    // Her hair parted in the middle, over her temples and ears into the two braids.
    add({{0.0f, 1.1f}, {0.32f, 1.04f}, {0.5f, 0.82f}, {0.53f, 0.5f}, {0.47f, 0.2f}, {0.36f, 0.28f}, {0.38f, 0.55f},
         {0.33f, 0.76f}, {0.16f, 0.88f}, {0.0f, 0.93f}, {-0.16f, 0.88f}, {-0.33f, 0.76f}, {-0.38f, 0.55f},
         {-0.36f, 0.28f}, {-0.47f, 0.2f}, {-0.53f, 0.5f}, {-0.5f, 0.82f}, {-0.32f, 1.04f}},
        Hair);
    band({{0.0f, 1.08f}, {0.0f, 0.93f}}, 0.02f, Hair * 2.2f);
    for (float side : {-1.f, 1.f})
        band({{side * 0.06f, 1.06f}, {side * 0.28f, 0.98f}, {side * 0.44f, 0.76f}}, 0.016f, Hair * 2.2f);
    Braid(b, H({0.44f, 0.26f}), H({0.56f, -0.4f}), H({0.5f, -1.3f}), Body::Low);
    // Her right hand raised to the glass: the sleeve up from the elbow, the cuff's lines,
    // the palm pressed flat with its fingers spread a little and the thumb toward her.
    Braid(b, H({-0.44f, 0.26f}), H({-0.58f, -0.4f}), H({-0.52f, -1.3f}), Body::Low);
    band({{-1.15f, -2.2f}, {-1.3f, -1.2f}, {-1.0f, -0.05f}}, 0.5f, Uniform * 0.92f, true);
    Cuff(b, H({-1.25f, -0.9f}), H({-1.02f, -0.05f}), 0.48f / K);
    const Point palm{-0.96f, 0.46f};
    add({{palm.x - 0.19f, palm.y - 0.3f}, {palm.x + 0.16f, palm.y - 0.32f}, {palm.x + 0.2f, palm.y + 0.05f},
         {palm.x + 0.16f, palm.y + 0.22f}, {palm.x - 0.18f, palm.y + 0.24f}, {palm.x - 0.22f, palm.y}},
        Skin, true);
    const struct {
        float u, length, angle;
    } fingers[] = {{-0.15f, 0.34f, 1.78f}, {-0.05f, 0.42f, 1.64f}, {0.05f, 0.4f, 1.52f}, {0.14f, 0.32f, 1.38f}};
    for (const auto& f : fingers) {
        Point base{palm.x + f.u, palm.y + 0.18f};
        Point tip{base.x + std::cos(f.angle) * f.length, base.y + std::sin(f.angle) * f.length};
        band({base, {(base.x + tip.x) / 2, (base.y + tip.y) / 2}, tip}, 0.09f, Skin, true);
        oval(tip, 0.045f, 0.045f, Skin);
        oval({tip.x, tip.y - 0.02f}, 0.035f, 0.04f, Mix(Skin, Hex(0xF0B0A8), 0.35f));  // pressed on the glass
    }
    band({{palm.x + 0.1f, palm.y - 0.22f}, {palm.x + 0.28f, palm.y - 0.08f}, {palm.x + 0.38f, palm.y + 0.1f}}, 0.12f, Skin,
         true);
    oval({palm.x + 0.38f, palm.y + 0.1f}, 0.06f, 0.06f, Skin);
    oval(palm, 0.1f, 0.08f, Mix(Skin, Hex(0xF0B0A8), 0.25f));
    band({{palm.x - 0.14f, palm.y + 0.04f}, {palm.x, palm.y - 0.02f}, {palm.x + 0.1f, palm.y - 0.14f}}, 0.014f, Skin * 0.78f);
    PaintBody(c, b, look);
}

void DrawSayo(Canvas& c, SayoPose pose, float x, float y, float height, int facing, const SayoLook& look) {
    Body b{x, y, height, facing, {0, 0.6f}, 0, 0, {}};
    const Rgb sleeve = look.coat ? Coat * 0.86f : Uniform * 0.92f;
    switch (pose) {
    case SayoPose::Stand:
    case SayoPose::Bow: {
        bool bow = pose == SayoPose::Bow;
        b.lean = bow ? 0.32f : 0, b.nod = bow ? 0.2f : -0.14f;
        StandingFromTheSide(b, look);
        if (!look.coat) BlouseFromTheSide(b, false);
        HeadFromTheSide(b, look.smiling, look.coat);
        ArmFromTheSide(b, false, look.coat, sleeve);
        HangBag(b, b.Upper(0.075f, 0.572f), 1);
        break;
    }
    case SayoPose::Sit:
        b.waist = {0, 0.36f}, b.nod = look.hands == SayoHands::Bag ? -0.42f : -0.05f;
        SeatedFromTheSide(b, look.coat);
        if (look.coat)
            b.Add({{-0.05f, 0.85f}, {0.03f, 0.852f}, {0.062f, 0.82f}, {0.08f, 0.74f}, {0.085f, 0.62f}, {0.07f, 0.56f},
                   {-0.08f, 0.56f}, {-0.086f, 0.74f}, {-0.072f, 0.82f}},
                  Body::Up, Coat, true);
        else
            BlouseFromTheSide(b, true);
        HeadFromTheSide(b, look.smiling, look.coat);
        if (look.hands == SayoHands::Bag) {
            ArmFromTheSide(b, false, look.coat, sleeve);
            HangBag(b, b.Upper(0.075f, 0.572f), 1);
        } else {
            SeatedHands(c, b, look.hands, look.coat, sleeve);
        }
        break;
    case SayoPose::FromBehind: StandingFromBehind(b, look); break;
    case SayoPose::Kneel:
    case SayoPose::Crouch: {
        bool kneel = pose == SayoPose::Kneel;
        b.waist = kneel ? Point{-0.012f, 0.3f} : Point{-0.02f, 0.29f};
        b.lean = kneel ? 0.1f : 0.42f, b.nod = kneel ? 0.3f : 0.22f;
        if (kneel) KneelingFromTheSide(b, look);
        else CrouchingFromTheSide(b, look);
        if (look.coat)
            b.Add({{-0.05f, 0.85f}, {0.03f, 0.852f}, {0.062f, 0.82f}, {0.08f, 0.74f}, {0.085f, 0.62f}, {0.07f, 0.56f},
                   {-0.08f, 0.56f}, {-0.086f, 0.74f}, {-0.072f, 0.82f}},
                  Body::Up, Coat, true);
        else
            BlouseFromTheSide(b, true);
        HeadFromTheSide(b, false, look.coat);
        ArmFromTheSide(b, true, look.coat, sleeve);
        break;
    }
    }
    PaintBody(c, b, look);
}

}  // namespace art
