// The frame clock's one value.
#include "base/frame.h"

float FrameSeconds;
