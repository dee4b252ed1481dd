// The audio output: opened once at start-up, fed by the mixer from the audio thread,
// closed at shutdown. Without a device the module stays silent and says nothing.
#include <utility>

#include "base/error_box.h"
#include "platform/platform.h"
#include "sound/sound_state.h"

namespace kaSound {

int SoundReady = 0;

// Small enough that a voice starts within a frame or two of the click.
constexpr int DeviceBufferFrames = 1024;

// The device's callback: the mixer adds into silence, and the limiter keeps the sum's
// peaks under full scale, so that loud music or several voices are never clipped.
static void FillOutput(float* out, int frames, void*) {
    for (int i = 0; i < frames * 2; ++i) out[i] = 0.0f;
    Mix(out, frames);
    LimitOutput(out, frames);
}

int Init() {
    Release();  // a second start-up begins from a closed output
    SetBeepHook(PlayBeep);
    PrepareBeep();
    ResetFades();
    ResetLimiter();
    if (!plat::OpenAudio(OutputRate, DeviceBufferFrames, FillOutput, nullptr)) return 0;
    SoundReady = 1;
    return 1;
}

void Release() {
    if (!SoundReady) return;
    plat::CloseAudio();
    SoundReady = 0;
    MusicHoldsObject0 = false;
    for (SoundObject& object : SoundObjectTable) {
        std::vector<float>().swap(object.Clip);
        object.ClipFrames = 0;
        object.InUse = 0;
        for (Voice& voice : object.Buffers) voice.playing = 0;
    }
}

}  // namespace kaSound
