// The people of the story as paper cut-outs: 湊 in cap and long coat, 小夜 in her sailor
// uniform with braids and red scarf, and the figures of the memories.
#pragma once
#include "tools/pictures/raster.h"

namespace art {

// The colours of 小夜's uniform and of 湊's coat, the same in every picture of them.
namespace wear {
inline const Rgb Uniform = Hex(0x242A4A), Stocking = Hex(0x16141E), Hair = Hex(0x151219), Skin = Hex(0xE6D2C2),
                 Scarf = Hex(0xA02C38), CollarLine = Hex(0xDCDCE6), Bag = Hex(0x6E4629), Coat = Hex(0x27252F);
}  // namespace wear

enum class Who { Minato, Sayo, Mother, Child };
enum class Pose {
    Stand,     // side view
    Walk,      // side view, mid-stride
    Sit,       // side view, on a bench or seat
    BackSit,   // seen from behind, seated
    BackWalk,  // seen from behind, walking away
};

// Where and how a figure stands: feet (or seat) at (x, y), `height` the standing height
// in pixels, `facing` +1 right or -1 left; `light` scales its colours (night dims them),
// `rim` is the light catching the edge toward (rimDx, rimDy); `opacity` below 1 lets
// what lies behind show through.
struct Placement {
    float x, y, height;
    int facing;
    float light;
    Rgb rim;
    int rimDx, rimDy;
    float opacity;
};

// What the figure holds out in front of it.
enum class Holding { Nothing, Lantern, Cup, HandsOut };

// With `coatLent`, 小夜 wears 湊's long coat, far too big for her, and 湊, seen from
// behind, is in his uniform jacket.
void Figure(Canvas& c, Who who, Pose pose, const Placement& at, Holding holding = Holding::Nothing,
            bool coatLent = false);

// 小夜 close, from the waist up, in profile looking up: `x`, `y` the chin, `size` the
// head's height; with `handsInLap` she sits with her hands on the bag in her lap.
void SayoClose(Canvas& c, float x, float y, float size, int facing, float light, Rgb rim, bool handsInLap = false);

// A finger (or thumb) seen close: from `base` at `angle` (radians, 0 pointing right,
// y down), `length` long, `root` wide at the base and `tip` wide before its round end.
Contour Finger(Point base, float angle, float length, float root, float tip);
// Two faint creases across a finger drawn by Finger, at a third and two thirds of it.
Shape FingerCreases(Point base, float angle, float length, float root);

}  // namespace art
