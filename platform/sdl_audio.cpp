// SDL2 backend: the audio device, stereo 32-bit float; SDL converts to whatever the
// hardware takes.
#include <SDL.h>

#include "platform/platform.h"

namespace {

SDL_AudioDeviceID Device = 0;
plat::AudioCallback Mixer = nullptr;
void* MixerUser = nullptr;

// The mixer writes every sample of the stream itself.
void FillFromMixer(void*, Uint8* stream, int len) {
    Mixer(reinterpret_cast<float*>(stream), len / int(2 * sizeof(float)), MixerUser);
}

}  // namespace

namespace plat {

bool OpenAudio(int rate, int maxFrames, AudioCallback callback, void* user) {
    if (Device || !callback || rate <= 0) return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    // SDL wants a power of two; take the largest that fits in maxFrames.
    Uint16 samples = 1;
    while (samples * 2 <= maxFrames && samples < 32768) samples *= 2;
    Mixer = callback;
    MixerUser = user;
    SDL_AudioSpec want{};
    want.freq = rate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = samples;
    want.callback = FillFromMixer;
    Device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (!Device) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(Device, 0);
    return true;
}

void LockAudio() {
    if (Device) SDL_LockAudioDevice(Device);
}

void UnlockAudio() {
    if (Device) SDL_UnlockAudioDevice(Device);
}

void CloseAudio() {
    if (!Device) return;
    SDL_CloseAudioDevice(Device);
    Device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace plat
