// The music's synthesizer: a FluidSynth instance with no audio driver of its own and a
// General MIDI SoundFont, rendered by the mixer into sound object 0.
#include <fluidsynth.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/error_box.h"
#include "base/files.h"
#include "base/start_up_task.h"
#include "platform/platform.h"
#include "sound/kaSound.h"
#include "sound/music_state.h"

namespace kaMusic {

int MusicPlaying = 0;
int MusicLoop = 1;
fluid_synth_t* Synth = nullptr;
fluid_player_t* Player = nullptr;

static fluid_settings_t* Settings = nullptr;
static int MusicViaSound = 0;  // a SoundFont is loaded and the output goes to object 0

// Making the synthesizer and reading a General MIDI SoundFont take a tenth of a second or
// more, and the first frames (the logo) play no music: Init gives both to a start-up
// task, done on a thread of its own once the first frame is out. Whatever touches the
// synthesizer waits for it first, and so does every error box, so a synthesizer or
// SoundFont that cannot be used is still reported before any failure that comes after
// Init. The main loop has it reported as soon as the read is over; a game closed before
// then is closed without it.
static StartUpTask SoundFontReader;
static bool SoundFontLoaded = false;   // written by the reader, read after the join

// Where the system's General MIDI SoundFonts are looked for.
static const char* const SystemSoundFontFolder = "/usr/share/sounds/sf2/";
static const char* SoundFontFolder = SystemSoundFontFolder;
// TimGM6mb first: the pieces are balanced against it (a larger set such as FluidR3 sounds
// about 2 dB louder, peaks 3 dB higher and takes 150 MB of memory), and the package
// depends on it. The system's chosen default comes next, for a system without it.
static const char* const SystemSoundFonts[] = {"TimGM6mb.sf2", "default-GM.sf2",
                                               "FluidR3_GM.sf2"};

// The SoundFonts to try, in order: any .sf2 in the program's directory (sorted by name),
// then the General MIDI sets a Debian system installs.
static std::vector<std::string> SoundFontCandidates() {
    std::vector<std::string> found;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(plat::ProgramDirectory(), error)) {
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        if (extension == ".sf2") found.push_back(entry.path().string());
    }
    std::sort(found.begin(), found.end());
    for (const char* name : SystemSoundFonts)
        found.push_back(std::string(SoundFontFolder) + name);
    return found;
}

// True when the file is a regular one (links followed: Debian's default-GM.sf2 is one)
// that starts as a SoundFont (a RIFF "sfbk" form). Anything else is not offered to the
// synthesizer: a FIFO or a device would hang its loader, which also complains on the
// terminal about files of other kinds.
static bool LooksLikeSoundFont(const std::string& path) {
    std::vector<uint8_t> header;
    return ReadFileStart(path.c_str(), 12, &header) && header.size() == 12 &&
           std::memcmp(header.data(), "RIFF", 4) == 0 &&
           std::memcmp(header.data() + 8, "sfbk", 4) == 0;
}

static void DeleteSynth() {
    if (Synth) delete_fluid_synth(Synth);
    if (Settings) delete_fluid_settings(Settings);
    Synth = nullptr;
    Settings = nullptr;
}

static bool LoadSoundFont() {
    for (const std::string& path : SoundFontCandidates())
        if (LooksLikeSoundFont(path) && fluid_synth_sfload(Synth, path.c_str(), 1) != FLUID_FAILED)
            return true;
    return false;
}

// Run by the reader: false when the synthesizer cannot be made.
static bool MakeSynth() {
    Settings = new_fluid_settings();
    if (Settings) {
        fluid_settings_setnum(Settings, "synth.sample-rate", kaSound::OutputRate);
        fluid_settings_setnum(Settings, "synth.gain", SynthGain);
        fluid_settings_setint(Settings, "synth.polyphony", SynthPolyphony);
        // The player advances with the samples we render, not with a timer thread.
        fluid_settings_setstr(Settings, "player.timing-source", "sample");
        fluid_settings_setint(Settings, "synth.lock-memory", 0);
        // Every call into the synthesizer from the game thread is made under the audio
        // lock, or while nothing renders; its own mutex would only be one more lock taken
        // on the audio thread at every note.
        fluid_settings_setint(Settings, "synth.threadsafe-api", 0);
        Synth = new_fluid_synth(Settings);
    }
    return Synth != nullptr;
}

int Init() {
    CloseMusic();
    SetSoundFontWaitHook(AwaitSoundFont);
    MusicLoop = 1;
    // Without a sound device the synthesizer would have nowhere to play: stay silent.
    if (!kaSound::SoundReady) return 0;
    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
        fluid_set_log_function(level, nullptr, nullptr);
    // Object 0 is the music's from here on, as it was when the port was set up in Init;
    // it is given back when the synthesizer or its SoundFont cannot be used.
    kaSound::ClaimMusicObject();
    SoundFontLoaded = false;
    StartTask(&SoundFontReader, [] { SoundFontLoaded = MakeSynth() && LoadSoundFont(); });
    return 1;
}

// Only the reader touches the synthesizer until this returns; then the port is set up
// (or its failure reported) as Init did when it read the SoundFont itself.
void AwaitSoundFont() {
    if (!AwaitTask(&SoundFontReader)) return;
    if (Synth) {
        Port(-1, 2, 22, 8, 0);
        return;
    }
    DeleteSynth();
    kaSound::ReleaseMusicObject();
    ErrorBox("kaMusic::Init", "DirectMusicが使用できません");
}

void ReportSoundFontWhenRead() {
    if (TaskFinished(&SoundFontReader)) AwaitSoundFont();
}

// The synthesizer is the only port (index 0, or -1 for "the synthesizer"). It always
// renders at the output's own rate and format, so the format arguments are not needed.
int Port(int index, int channels, int rateCode, int bits, int reverb) {
    AwaitSoundFont();
    if (!Synth) return 0;
    bool ready = (index == -1 || index == 0) && SoundFontLoaded;
    if (!ready || !kaSound::ClaimMusicObject()) {
        kaSound::ReleaseMusicObject();
        MusicViaSound = 0;
        return ErrorBox("kaMusic::Port", "MIDIポートが使えません");
    }
    plat::LockAudio();
    fluid_synth_reverb_on(Synth, -1, reverb != 0);
    fluid_synth_chorus_on(Synth, -1, 0);
    plat::UnlockAudio();
    MusicViaSound = 1;
    return 1;
}

void SetMusicVolume(int level) {
    AwaitSoundFont();
    if (MusicViaSound) kaSound::SetVolume(0, level, 0);
}

// When the next poll is due, in plat::Milliseconds; compared as a signed difference so
// that the clock's wrap does not make every frame poll.
static uint32_t NextPoll = 0;
static constexpr uint32_t FirstPollDelayMs = 3000, PollIntervalMs = 1000;

void TimeFirstPoll() { NextPoll = plat::Milliseconds() + FirstPollDelayMs; }

uint32_t MsUntilPoll(uint32_t now) {
    if (!MusicPlaying || MusicLoop) return UINT32_MAX;
    int32_t left = int32_t(NextPoll - now);
    return left > 0 ? uint32_t(left) : 0;
}

void PollWhenDue(uint32_t now) {
    if (MsUntilPoll(now) != 0) return;
    PollMusicEnd();
    NextPoll = now + PollIntervalMs;
}

int PollMusicEnd() {
    if (!MusicPlaying) return 0;
    if (!MusicLoop && (!Player || fluid_player_get_status(Player) == FLUID_PLAYER_DONE)) {
        StopMusic();
        return 0;
    }
    return 1;
}

bool Render(float* out, int frames) {
    if (!Player || fluid_player_get_status(Player) == FLUID_PLAYER_DONE) return false;
    fluid_synth_write_float(Synth, frames, out, 0, 2, out, 1, 2);
    RenewPass();
    return true;
}

// The player goes before the synthesizer it plays on, whatever MusicPlaying says. A
// SoundFont still being read is waited for but not reported: the game is closing.
void CloseMusic() {
    CancelTask(&SoundFontReader);
    DropPlayer();
    MusicPlaying = 0;
    kaSound::ReleaseMusicObject();
    DeleteSynth();
    MusicViaSound = 0;
}

// Playing needs a loaded SoundFont whose output reaches the mixer.
bool CanPlay() {
    AwaitSoundFont();
    return MusicViaSound != 0;
}

void UseSoundFontFolderForTest(const char* folder) {
    SoundFontFolder = folder ? folder : SystemSoundFontFolder;
}
void PretendMusicForTest(bool playing, bool loop) {
    MusicPlaying = playing;
    MusicLoop = loop;
    TimeFirstPoll();
}

uint32_t NextPollForTest() { return NextPoll; }

}  // namespace kaMusic
