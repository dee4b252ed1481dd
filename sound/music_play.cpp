// Starting, looping and stopping pieces: each piece gets a new player fed from the MIDI
// file's bytes, read here on the game thread so that the audio thread never touches a
// file.
//
// The player is never told to loop for ever: it reloads its file at the end of every
// pass, inside the audio callback, and a file it fails to load, or one that ends at
// once, would have it reload without end while the callback holds the device lock.
// Instead each pass is granted one more pass only while it is sounding and has not yet
// reached its end, so a piece that fails or plays nothing goes silent after one try.
#include <string>
#include <vector>

#include "base/files.h"
#include "platform/platform.h"
#include "sound/kaSound.h"
#include "sound/music_state.h"

namespace kaMusic {

// Far above any song's size; a bound so that a stray huge file is not read whole.
constexpr size_t MaxMidiFileBytes = 16L * 1024 * 1024;

// Audio-thread state of the current piece, reset under the lock by StartPlayer.
static int LoopWanted = 0;
static int PieceTicks = -1;     // the loaded piece's length in ticks; -1 before the load
static bool NoteHeard = false;  // a note has started since the piece began
static bool NotesReleased = false;

// The file's bytes when it is a playable Standard MIDI File; empty otherwise.
static std::vector<uint8_t> ReadMidiFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(path.c_str(), MaxMidiFileBytes, &bytes) && !IsPlayableMidi(bytes))
        bytes.clear();
    return bytes;
}

// The player's events go to the synthesizer as they would without us; a note-on is noted.
static int PassEvent(void*, fluid_midi_event_t* event) {
    if (fluid_midi_event_get_type(event) == 0x90 && fluid_midi_event_get_velocity(event) > 0)
        NoteHeard = true;
    return fluid_synth_handle_midi_event(Synth, event);
}

// The synthesizer lets reset notes die away, and takes about 1.3 ms to silence notes
// cut outright; this much of it is rendered unheard after a cut.
constexpr int CutFrames = 256;
static float CutSlice[CutFrames * 2];

// Nothing of the piece is left in the synthesizer, to sound when the next one starts.
void DropPlayer() {
    if (!Player) return;
    plat::LockAudio();
    kaSound::FadeOutMusic();
    delete_fluid_player(Player);
    Player = nullptr;
    fluid_synth_system_reset(Synth);
    fluid_synth_all_sounds_off(Synth, -1);
    fluid_synth_write_float(Synth, CutFrames, CutSlice, 0, 2, CutSlice, 1, 2);
    plat::UnlockAudio();
}

void StartPlayer(const std::vector<uint8_t>& bytes, int loop) {
    AwaitSoundFont();
    plat::LockAudio();
    fluid_player_t* player = new_fluid_player(Synth);
    if (player && fluid_player_add_mem(player, bytes.data(), bytes.size()) == FLUID_OK) {
        fluid_player_set_playback_callback(player, PassEvent, nullptr);
        fluid_player_set_loop(player, 1);  // one pass; RenewPass grants the next
        fluid_player_play(player);
        Player = player;
        LoopWanted = loop;
        PieceTicks = -1;
        NoteHeard = false;
        NotesReleased = false;
    } else if (player) {
        delete_fluid_player(player);
    }
    plat::UnlockAudio();
}

// The length is asked for once, after the first slice has loaded the file: it walks
// every event, and the file is the same at every pass. A granted pass starts within the
// slice that ends the last one, so a player found past its end has none: its notes are
// released, since it keeps playing while any still sounds (a note whose note-off the
// loader dropped would sound for ever).
void RenewPass() {
    if (PieceTicks < 0) PieceTicks = fluid_player_get_total_ticks(Player);
    if (fluid_player_get_current_tick(Player) < PieceTicks) {
        if (LoopWanted && NoteHeard && fluid_player_get_status(Player) == FLUID_PLAYER_PLAYING)
            fluid_player_set_loop(Player, 1);
    } else if (!NotesReleased) {
        fluid_synth_all_notes_off(Synth, -1);
        NotesReleased = true;
    }
}

void PlayMusic(const char* name, int loop) {
    AwaitSoundFont();
    DropPlayer();
    if (CanPlay() && name) {
        std::vector<uint8_t> bytes = ReadMidiFile(std::string(plat::ProgramDirectory()) + name);
        if (!bytes.empty()) StartPlayer(bytes, loop);
        if (Player) TimeFirstPoll();
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
