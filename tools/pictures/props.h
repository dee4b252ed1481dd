// The station and its things as paper cut-outs: the building, lamps, benches, the
// platform and track seen down their length, the tunnel, trains, and the furniture
// and small objects of the waiting room and the office.
#pragma once
#include "tools/pictures/style.h"

namespace art {

// A view down the platform: a point at (X right, Y up, Z ahead) in metres from the eye
// lands at (vx + f X / Z, vy - f Y / Z). The platform's top is 1.6 m below the eye, the
// track bed 1 m lower, the track centred 2.2 m right of the platform edge at X 1.
struct View {
    float vx, vy, f;
    Point P(float x, float y, float z) const { return {vx + f * x / z, vy - f * y / z}; }
};
constexpr float PlatformTop = -1.6f, TrackBed = -2.6f, TrackX = 2.2f;

// The track to depth zFar and the platform beside it with its snowy edge, ending at
// `platformEnd` (0: as far as the track); `curve` bends the track sideways with distance.
void PlatformAndTrack(Canvas& c, const View& v, const Palette& p, float zFar, float curve = 0, float platformEnd = 0);
// A lamp post on the platform at (x, z): its post, shade, and (when `light` > 0) its
// glow and the pool of light on the snow under it.
void PlatformLamp(Canvas& c, const View& v, const Palette& p, float x, float z, float light, Rgb colour);
void PlatformBench(Canvas& c, const View& v, const Palette& p, float x, float z);
// The hillside ahead with the tunnel's arched mouth over the track at depth z;
// `inner` lights the inside of the tunnel (0 dark .. 1 flooded).
void Tunnel(Canvas& c, const View& v, const Palette& p, float z, float inner);

// The station building seen from the forecourt, centred on x with its base at `ground`.
void Station(Canvas& c, float x, float ground, float scale, const Palette& p, float windows, bool shutters);
// A nameboard on two posts with the station's name.
void NameBoard(Canvas& c, float x, float y, float w, const Palette& p, float light);

// Interiors: plank walls and floor, the pot-bellied stove (fire 0..1, flame shape by
// `flicker`), a window on the snowy night, timetables, a hanging bulb.
void PlankWall(Canvas& c, float top, float bottom, Rgb base, int seed);
void Floor(Canvas& c, float top, Rgb base);
void Stove(Canvas& c, float x, float floor, float scale, float fire, int flicker);
void NightWindow(Canvas& c, float left, float top, float right, float bottom, const Palette& p, int seed);
void WallNotice(Canvas& c, float left, float top, float right, float bottom, float light, int seed);
void HangingBulb(Canvas& c, float x, float ceiling, float length, float angle, float light);
void InteriorBench(Canvas& c, float left, float right, float seat, Rgb colour);

// A carriage side-on: brown wooden body from `left` to `right`, lit windows.
void Carriage(Canvas& c, float left, float right, float top, float bottom, float light);
// Warm light washing over the canvas from (x, y), fading with distance.
void LightPool(Canvas& c, float x, float y, float rx, float ry, Rgb colour, float strength);

}  // namespace art
