// Starting and stopping pieces: each piece gets a new player fed from the MIDI file's
// bytes, read here on the game thread so that the audio thread never touches a file.
#include <string>
#include <vector>

#include "platform/platform.h"
#include "shell/shell.h"
#include "sound/music_state.h"

namespace kaMusic {

// Far above any song's size; a bound so that a stray huge file is not read whole.
constexpr size_t MaxMidiFileBytes = 16L * 1024 * 1024;
constexpr uint32_t FirstPollDelayMs = 3000;

// The file's bytes when it is a playable Standard MIDI File; empty otherwise.
static std::vector<uint8_t> ReadMidiFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(path.c_str(), MaxMidiFileBytes, &bytes) && !IsPlayableMidi(bytes))
        bytes.clear();
    return bytes;
}

void DropPlayer() {
    if (!Player) return;
    plat::LockAudio();
    delete_fluid_player(Player);
    Player = nullptr;
    fluid_synth_system_reset(Synth);
    plat::UnlockAudio();
}

// Hands the piece to a new player and starts it, looping for ever when asked.
static void StartPlayer(const std::vector<uint8_t>& bytes, int loop) {
    plat::LockAudio();
    fluid_player_t* player = new_fluid_player(Synth);
    if (player && fluid_player_add_mem(player, bytes.data(), bytes.size()) == FLUID_OK) {
        if (loop) fluid_player_set_loop(player, -1);
        fluid_player_play(player);
        Player = player;
    } else if (player) {
        delete_fluid_player(player);
    }
    plat::UnlockAudio();
}

void PlayMusic(const char* name, int loop) {
    DropPlayer();
    if (CanPlay() && name) {
        std::vector<uint8_t> bytes = ReadMidiFile(std::string(plat::ProgramDirectory()) + name);
        if (!bytes.empty()) StartPlayer(bytes, loop);
        if (Player) Shell.NextMusicPoll = plat::Milliseconds() + FirstPollDelayMs;
    }
    MusicLoop = loop;
    MusicPlaying = 1;
}

void StopMusic() {
    if (!MusicPlaying) return;
    DropPlayer();
    MusicPlaying = 0;
}

}  // namespace kaMusic
