// Music rendered offline through the mixer: pieces sound, loop without a gap, end and
// replace each other; broken files stay silent and never hold the audio callback.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>

#include "sound/music_state.h"
#include "tests/sound_test_files.h"

using namespace soundtest;

TEST_F(MusicTest, APieceLoopsWithoutAGapOrEndsAndTheNextReplacesIt) {
    Play(60, 960, 1);  // one second, looping
    std::vector<float> out = Render(3 * Second);
    for (int at = Second / 10; at + Second / 10 <= 3 * Second; at += Second / 200)
        ASSERT_GT(Rms(out, at, Second / 10), 1e-4) << "100 ms of silence at frame " << at;
    EXPECT_EQ(kaMusic::PollMusicEnd(), 1) << "a looping piece never ends";
    Play(60, 480, 0);  // half a second, once; the player is done once its note has died away
    out = Render(4 * Second);
    EXPECT_GT(Rms(out, Second / 10, Second / 5), 0.005) << "the second piece sounds";
    EXPECT_LT(Rms(out, 2 * Second), 1e-4) << "nothing of either after the second ends";
    EXPECT_EQ(kaMusic::PollMusicEnd(), 0);
    EXPECT_EQ(kaMusic::MusicPlaying, 0) << "the poll stopped it";
}

static Bytes Hex(const std::string& text) {
    Bytes bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        if (text[i] == ' ') { --i; continue; }
        bytes.push_back(uint8_t(std::stoi(text.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

// Files that the synthesizer's loader refuses, or that end at once as it reads them; a
// looping player used to reload each for ever inside the audio callback. They play
// nothing, and no box is shown, as for a missing file. The program change and the
// one-second organ note of Note(60, 960) are their common body.
#define KA_NOTE "00c013 00903c64 8740803c00"
static const struct { const char* what; const char* hex; } FilesThePlayerRefuses[] = {
    {"smpte", "4d546864 00000006 0000 0001 84e0 4d54726b 00000005 00c360 6000"},
    {"header8", "4d546864 00000008 0000 0001 01e0 0000 4d54726b 00000010 " KA_NOTE " 00ff2f00"},
    {"tempo0", "4d546864 00000006 0000 0001 01e0 4d54726b 00000014 00ff5100 " KA_NOTE " 00ff2f00"},
    {"sysex-running",
     "4d546864 00000006 0000 0001 01e0 4d54726b 00000017 00f001f7003c00 " KA_NOTE " 00ff2f00"},
    {"meta-running-no-eot",
     "4d546864 00000006 0000 0001 01e0 4d54726b 00000010 00c013 00903c64 00ff010141 87403c00"},
    {"unknown-chunk", "4d546864 00000006 0000 0001 01e0 58594e43 00000000 4d54726b 00000010 " KA_NOTE
                      " 00ff2f00"},
    {"cut-in-the-header", "4d546864 00000006 0000 0001 01e0 4d"},
    {"cut-before-the-end", "4d546864 00000006 0000 0001 01e0 4d54726b 00000010 00c013 00903c64 874080"},
    {"two-tracks-stated", "4d546864 00000006 0000 0002 01e0 4d54726b 00000010 " KA_NOTE " 00ff2f00"},
    {"running-status-first", "4d546864 00000006 0000 0001 01e0 4d54726b 00000010 004013 00903c64 8740803c00 00ff2f00"},
    {"no-time", "4d546864 00000006 0000 0001 01e0 4d54726b 00000010 00c013 00903c64 8000803c00 00ff2f00"},
    {"no-header", "90909090 90909090 90909090"},
    {"128-tracks", ""},  // built below
};
#undef KA_NOTE

static Bytes RefusedFile(size_t i) {
    if (FilesThePlayerRefuses[i].hex[0]) return Hex(FilesThePlayerRefuses[i].hex);
    Bytes file = Note(60, 960), track(file.begin() + 14, file.end());
    file.resize(14);
    file[10] = 0, file[11] = 128;
    for (int n = 0; n < 128; ++n) file.insert(file.end(), track.begin(), track.end());
    return file;
}

// The passes granted to the player, each of which reads the file anew inside the audio
// callback; counted while not negative.
static int PassesGranted = -1;

extern "C" int fluid_player_set_loop(fluid_player_t* player, int loop) {
    static auto real = reinterpret_cast<int (*)(fluid_player_t*, int)>(dlsym(RTLD_NEXT, "fluid_player_set_loop"));
    if (PassesGranted >= 0) ++PassesGranted;
    return real(player, loop);
}

// Each is refused by the check and so plays nothing. Handed to the player unchecked, none
// may hold the audio callback: the player is granted no pass after its first, while the
// same-sized good file plays and loops. A hang ends the test through the alarm.
TEST_F(MusicTest, FilesThePlayerRefusesAreRefusedAndNeverHoldTheCallback) {
    constexpr int Buffer = 1024, Buffers = 3 * Second / Buffer;
    std::vector<float> out(Buffer * 2);
    alarm(60);
    Bytes formats = Note(60, 960);
    for (uint8_t format : {0, 1, 2, 4, 8, 32, 61}) {
        formats[9] = format;
        EXPECT_EQ(kaMusic::IsPlayableMidi(formats), format <= 2) << "format " << int(format);
    }
    kaMusic::PlayMusic("absent.mid", 1);
    EXPECT_EQ(kaMusic::MusicPlaying, 1);
    EXPECT_EQ(Rms(Render(Second / 4)), 0.0);
    for (size_t i = 0; i <= std::size(FilesThePlayerRefuses); ++i) {
        bool good = i == std::size(FilesThePlayerRefuses);
        const char* what = good ? "good" : FilesThePlayerRefuses[i].what;
        Bytes file = good ? Note(60, 960) : RefusedFile(i);
        EXPECT_EQ(kaMusic::IsPlayableMidi(file), good) << what;
        Write("m.mid", file);
        kaMusic::PlayMusic("m.mid", 1);
        EXPECT_EQ(Rms(Render(Second / 4)) > 0.0, good) << what;
        kaMusic::DropPlayer();
        kaMusic::StartPlayer(file, 1);
        PassesGranted = 0;
        for (int n = 0; n < Buffers; ++n) kaSound::Mix(out.data(), Buffer);
        EXPECT_EQ(PassesGranted > 0, good) << what << ": " << PassesGranted << " passes granted";
        PassesGranted = -1;
        EXPECT_EQ(Rms(Render(Second / 4)) > 0.0, good) << what << ": sounding after 3 s";
    }
    EXPECT_EQ(Boxes(), 0u);
    // Events that last a second but sound no note: one pass, then silence.
    kaMusic::DropPlayer();
    kaMusic::StartPlayer(Hex("4d546864 00000006 0000 0001 01e0 4d54726b 0000000b "
                             "00b00740 8740b00740 00ff2f00"), 1);
    for (int n = 0; n < 2 * Buffers; ++n) kaSound::Mix(out.data(), Buffer);
    EXPECT_EQ(fluid_player_get_status(kaMusic::Player), FLUID_PLAYER_DONE);
    alarm(0);
}

// A track whose stated length runs past the file's end: the player reads it as far as
// the file goes, and plays it when its end of track is there. The check agrees with the
// player on each, measured by handing the file to the player unchecked.
TEST_F(MusicTest, ATrackLongerThanTheFilePlaysWhenItsEndOfTrackIsThere) {
    Bytes one = Note(60, 960), two = one;
    two[11] = 2;
    two.insert(two.end(), one.begin() + 14, one.end());
    auto statingLength = [](Bytes file, size_t at, uint32_t length) {
        for (int i = 0; i < 4; ++i) file[at + i] = uint8_t(length >> (24 - 8 * i));
        return file;
    };
    const struct { const char* what; Bytes file; bool plays; } cases[] = {
        {"12 bytes short", statingLength(one, 18, 16 + 12), true},  // as in a real file
        {"the last of two tracks", statingLength(two, 42, 100), true},
        {"cut before its end of track", Bytes(one.begin(), one.end() - 3), false},
        {"the first of two tracks", statingLength(two, 18, 100), false},
        {"reaching 2^31 - 1", statingLength(one, 18, 0x7FFFFFFFu - 22), true},
        {"reaching 2^31", statingLength(one, 18, 0x7FFFFFFFu - 21), false},
        {"of negative length", statingLength(one, 18, 0x80000010u), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kaMusic::IsPlayableMidi(c.file), c.plays) << c.what;
        kaMusic::DropPlayer();
        kaMusic::StartPlayer(c.file, 0);
        // From past the fade of the piece before.
        EXPECT_EQ(Rms(Render(Second / 2), Second / 50) > 1e-3, c.plays) << c.what << ", unchecked";
    }
}
