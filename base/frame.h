// The frame every module draws and times: the size of the picture the window shows,
// and the seconds the current frame covers.
#pragma once

// The picture the window shows, in client pixels: the top-left part of the back buffer.
constexpr int ClientWidth = 640, ClientHeight = 474;

// Seconds between the previous frame and this one. Written by the main loop at the
// start of every frame (0 after a rest's cap or a reset of the frame timer); read by
// whatever moves with time: the line-shift effects, the reveal, the logo, animations.
extern float FrameSeconds;
