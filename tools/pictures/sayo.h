// 小夜 whole, for the pictures where she is the subject: standing or bowing seen from
// the side, standing seen from behind, kneeling and crouching with her hands together,
// in her uniform or in 湊's long coat. Her outlines are smooth curves, each piece of
// her clothes a paper cut of its own with a soft shadow on the piece behind it.
#pragma once
#include "tools/pictures/raster.h"

namespace art {

enum class SayoPose {
    Stand,       // from the side, her bag held before her in both hands, her face raised
    Sit,         // from the side, on a bench, her bag on her lap, her face turned up
    Bow,         // the same, bowing from the waist
    FromBehind,  // standing, seen from behind, the bag in her right hand
    Kneel,       // kneeling, sitting back on her heels, her hands together
    Crouch,      // crouching low, her hands together before her face
};

// What her hands do when she sits: hold her bag on her lap, reach out to a stove's
// warmth, or hold a teacup before her.
enum class SayoHands { Bag, Warming, Cup };

struct SayoLook {
    bool coat = false;   // in 湊's long coat, far too big for her
    SayoHands hands = SayoHands::Bag;
    float light = 1;     // scales her colours (night dims them)
    Rgb rim{0, 0, 0};    // the light catching her edges toward (rimDx, rimDy)
    int rimDx = 0, rimDy = 0;
    float opacity = 1;   // below 1, what lies behind her shows through
    Rgb snow{0, 0, 0};   // when not black, snow lying on her head and shoulders
    bool smiling = false;
};

// Her feet on the ground at (x, y); `height` her standing height in pixels; `facing`
// +1 right or -1 left (seen from behind: +1 keeps her right hand at the right).
void DrawSayo(Canvas& c, SayoPose pose, float x, float y, float height, int facing, const SayoLook& look);

// 小夜 seated at the lit window of the old train, seen from the platform through the
// glass: from the waist up, facing out, smiling with her eyes closed, her braids over
// her shoulders, her right hand raised with its palm pressed on the pane. (x, y) is her
// chin, `size` her head's height in pixels.
void DrawSayoAtTheWindow(Canvas& c, float x, float y, float size, const SayoLook& look);

}  // namespace art
