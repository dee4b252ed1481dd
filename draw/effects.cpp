// The line-shift blits: a picture's rows swayed along a moving cosine wave, or shaken
// sideways by random amounts, each row copied as its own keyed blit.
#include <cmath>

#include "base/frame.h"
#include "base/random.h"
#include "draw/kaDraw.h"

namespace kaDraw {

// Degrees the wave has moved on, and the sign of the next row's offset when rows
// alternate.
static float WavePhase = 0.0f;
static int32_t WaveSign = 1;

void ResetEffects() {
    WavePhase = 0.0f;
    WaveSign = 1;
}

void BltWave(int destX, int destY, int amplitude, int rowDivisor, float speed, int objectId,
             int srcLeft, int srcTop, int srcRight, int srcBottom, int alternate) {
    const double TwoPi = 6.283185307179586;
    for (int r = srcTop; r < srcBottom; ++r) {
        // The absolute source row sets the angle, so a band keeps its place in the wave
        // wherever it is drawn.
        int base = rowDivisor != 0 ? r / rowDivisor : r;
        int angle = base + int(WavePhase);
        // Multiplied in this order: folding 2 pi / 360 into one constant rounds
        // differently and moves some rows (angle 1140, 1500) by a pixel.
        int offset = int(amplitude * std::cos(angle * TwoPi * (1.0 / 360.0)));
        if (alternate) {
            offset *= WaveSign;
            WaveSign = -WaveSign;
        }
        BltTransparent(destX + offset, destY + (r - srcTop), objectId, srcLeft, r, srcRight, r + 1);
    }
    WavePhase += FrameSeconds * speed;
    if (WavePhase >= 360.0f) WavePhase -= 360.0f;
}

void BltJitter(int destX, int destY, int jitter, int objectId, int srcLeft, int srcTop,
               int srcRight, int srcBottom) {
    if (jitter <= 0) {
        BltTransparent(destX, destY, objectId, srcLeft, srcTop, srcRight, srcBottom);
        return;
    }
    for (int r = srcTop; r < srcBottom; ++r) {
        int dx = int(RandomNumber() % (2 * int64_t(jitter)) - jitter);
        BltTransparent(destX + dx, destY + (r - srcTop), objectId, srcLeft, r, srcRight, r + 1);
    }
}

float WavePhaseDegrees() { return WavePhase; }
void SetWavePhaseDegrees(float degrees) { WavePhase = degrees; }

}  // namespace kaDraw
