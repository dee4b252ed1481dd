// The output's peak limiter: loud music, or a voice over it, is turned down smoothly just
// before a peak instead of being clipped. The output is delayed by a short look-ahead;
// each frame's gain falls over the look-ahead to what its loudest coming peak needs, and
// rises again slowly. Below the threshold the signal passes unchanged, sample for sample.
// It runs on the audio thread: fixed tables, no allocation, no lock.
#include <cmath>

#include "sound/sound_state.h"

namespace kaSound {

// 63 frames (1.4 ms) of delay; the gain falls over 64 frames (the attack, 1.5 ms).
constexpr int LookAheadFrames = 63;
constexpr int Window = LookAheadFrames + 1;  // a power of two: ring indices are masked
constexpr unsigned WindowMask = Window - 1;
// Peaks above -2 dBFS are pressed smoothly under the ceiling of -1 dBFS, which they
// approach but never reach: the gap left covers the rounding of the gain.
constexpr float Threshold = 0.7943282f;                // -2 dBFS
constexpr float CeilingReached = 0.8912509f * 0.9999f;  // -1 dBFS
constexpr float Knee = CeilingReached - Threshold;
// The gain comes back with a time constant of 100 ms; within a millionth of 1 it is 1.
constexpr double ReleaseSeconds = 0.1;
constexpr double UnityGap = 1e-6;

static float Delayed[Window * 2];  // the input's last frames, interleaved stereo
static unsigned Now;               // frames taken in, modulo 2^32
// The smallest gain that the frames of the look-ahead window need, kept as a queue of
// rising gains with the frame each came with: the front is the window's minimum.
static float HeldGain[Window];
static unsigned HeldAt[Window];
static unsigned HeldFront, HeldBack;
static double Released;       // the held gain after the slow release
static double ReleaseStep;    // the part of the way back to 1 made each frame
static float Smoothing[Window];  // the released gains of the last Window frames
static double SmoothingSum;
static int FramesAtUnity;     // how many of those are exactly 1

// The gain one frame needs: 1 up to the threshold, then what brings its peak onto the
// knee's curve, which leaves the threshold at slope 1 and flattens under the ceiling.
static float GainFor(float peak) {
    if (peak <= Threshold) return 1.0f;
    float limited = Threshold + Knee * (1.0f - std::exp((Threshold - peak) / Knee));
    return limited / peak;
}

void ResetLimiter() {
    for (float& s : Delayed) s = 0.0f;
    for (float& g : Smoothing) g = 1.0f;
    Now = HeldFront = HeldBack = 0;
    Released = 1.0;
    ReleaseStep = 1.0 - std::exp(-1.0 / (ReleaseSeconds * OutputRate));
    SmoothingSum = Window;
    FramesAtUnity = Window;
}

// At rest the gain is 1 over the whole window and the window's minimum is one gain of 1;
// a block every sample of which is under the threshold then only passes through the
// delay, and leaves the state where the frame by frame path would leave it. That is the
// music most of the time, at a fraction of the frame by frame path's cost.
static bool PassedAtRest(float* out, int frames) {
    if (FramesAtUnity != Window || Released != 1.0 || HeldBack - HeldFront != 1 ||
        HeldGain[HeldFront & WindowMask] != 1.0f)
        return false;
    for (int i = 0; i < frames * 2; ++i)
        if (!(std::fabs(out[i]) <= Threshold)) return false;
    for (int i = 0; i < frames; ++i, ++Now) {
        float* slot = &Delayed[(Now & WindowMask) * 2];
        const float* leaving = &Delayed[((Now - LookAheadFrames) & WindowMask) * 2];
        float left = out[2 * i], right = out[2 * i + 1];
        out[2 * i] = leaving[0];
        out[2 * i + 1] = leaving[1];
        slot[0] = left;
        slot[1] = right;
    }
    HeldAt[HeldFront & WindowMask] = Now - 1;
    return true;
}

void LimitOutput(float* out, int frames) {
    if (frames > 0 && PassedAtRest(out, frames)) return;
    for (int i = 0; i < frames; ++i, ++Now) {
        float left = out[2 * i], right = out[2 * i + 1];
        float gain = GainFor(std::fmax(std::fabs(left), std::fabs(right)));

        // The window's minimum: the front leaves once it is older than the window, and
        // this frame's gain replaces the earlier ones that are no smaller.
        if (HeldBack != HeldFront && Now - HeldAt[HeldFront & WindowMask] >= unsigned(Window))
            ++HeldFront;
        while (HeldBack != HeldFront && HeldGain[(HeldBack - 1) & WindowMask] >= gain) --HeldBack;
        HeldGain[HeldBack & WindowMask] = gain;
        HeldAt[HeldBack & WindowMask] = Now;
        ++HeldBack;
        double held = HeldGain[HeldFront & WindowMask];

        // Down at once, up slowly.
        if (held < Released) Released = held;
        else Released += (held - Released) * ReleaseStep;
        if (Released > 1.0 - UnityGap) Released = 1.0;

        // The mean over the window: the gain of the frame now leaving the delay, which
        // every gain averaged here is already low enough for.
        float released = float(Released);
        float& oldest = Smoothing[Now & WindowMask];
        FramesAtUnity += (released == 1.0f) - (oldest == 1.0f);
        SmoothingSum += double(released) - oldest;
        oldest = released;
        float applied = 1.0f;
        if (FramesAtUnity == Window) SmoothingSum = Window;  // no drift while at rest
        else applied = float(SmoothingSum / Window);

        float* slot = &Delayed[(Now & WindowMask) * 2];
        const float* leaving = &Delayed[((Now - LookAheadFrames) & WindowMask) * 2];
        out[2 * i] = leaving[0] * applied;
        out[2 * i + 1] = leaving[1] * applied;
        slot[0] = left;
        slot[1] = right;
    }
}

}  // namespace kaSound
