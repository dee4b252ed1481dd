// The frame clock every module that moves with time reads: the seconds the current
// frame covers.
#pragma once

// Seconds between the previous frame and this one. Written by the main loop at the
// start of every frame (0 after a rest's cap or a reset of the frame timer); read by
// whatever moves with time: the line-shift effects, the reveal, the logo, animations.
extern float FrameSeconds;
