// The message window: lays out the shown prose line once and releases its characters
// at the message speed.
#include "story/story.h"

int RevealCount = 0;
float RevealClock = 0.0f;
