// The MIDI check and the synthesizer's player on what passes it: any file the check
// lets through is played, looping, for at most ten seconds of output, and must neither
// crash the synthesizer nor keep it from rendering. A fault inside the synthesizer is
// mended by tightening the check.
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "sound/kaMusic.h"
#include "sound/kaSound.h"
#include "sound/music_state.h"

static bool Started() {
    fuzz::Folder();
    headless::EnableAudio(true);
    kaSound::Init();
    kaSound::ResetTable();
    return kaMusic::Init() == 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = Started();
    if (!ready) std::abort();  // no SoundFont: nothing would be tested
    if (!kaMusic::IsPlayableMidi(std::vector<uint8_t>(data, data + size))) return 0;
    fuzz::WriteFile(fuzz::Folder() + "f.mid", data, size);
    kaMusic::PlayMusic("f.mid", 1);
    static float out[1024 * 2];
    for (int rendered = 0; rendered < 10 * kaSound::OutputRate; rendered += 1024)
        kaSound::Mix(out, 1024);
    kaMusic::StopMusic();
    return 0;
}
