// The game thread against a real audio thread: with SDL's dummy driver the device's own
// thread runs the mixer while this thread loads, plays, stops and releases voices and
// replaces pieces, as the story does between clicks. Run under ThreadSanitizer, every
// state the mixer reads unguarded is reported; everywhere, the mixer must keep up.
#include <chrono>
#include <thread>

#include "platform/platform.h"
#include "sound/sound_state.h"
#include "tests/sound_test_files.h"

using namespace soundtest;

namespace {

void Write(const std::string& name, const Bytes& bytes) {
    std::ofstream(std::string(plat::ProgramDirectory()) + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Whether any of the object's voices is sounding, read as the mixer sees it.
bool Sounding(int id) {
    plat::LockAudio();
    bool any = false;
    for (int j = 0; j < kaSound::MixCountOf(id); ++j)
        any = any || kaSound::SoundObjectTable[id].Buffers[j].playing;
    plat::UnlockAudio();
    return any;
}

// Waits up to five seconds of real time for the audio thread to reach a state.
template <class Done> bool WaitFor(Done done) {
    for (int i = 0; i < 500; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

}  // namespace

TEST(AudioThread, GameThreadChangesVoicesAndPiecesWhileTheDeviceMixes) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Write("thread_short.sad", ConstantClip(8000, 2205));   // 50 ms
    Write("thread_long.sad", ConstantClip(-8000, 44100));  // 1 s
    Write("thread_a.mid", Note(60, 96));                   // 0.1 s
    Write("thread_b.mid", Note(67, 9600));                 // 10 s

    ASSERT_EQ(kaSound::Init(), 1) << "the dummy audio driver opens";
    kaSound::ResetTable();
    ASSERT_EQ(kaMusic::Init(), 1) << "a General MIDI SoundFont is installed";

    // The device's thread plays a clip to its end and rewinds it by itself.
    int shortId = kaSound::LoadObject("thread_short.sad", 3);
    ASSERT_GE(shortId, 1);
    kaSound::Play(shortId, -1);
    EXPECT_TRUE(WaitFor([&] { return !Sounding(shortId); })) << "the callback never mixed";

    // A non-looping piece ends only as it is rendered, so its end is the thread's work.
    kaMusic::PlayMusic("thread_a.mid", 0);
    EXPECT_TRUE(WaitFor([] { return kaMusic::PollMusicEnd() == 0; })) << "the piece never ended";

    // Everything the story does between two clicks, many times over, while it mixes.
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (int round = 0; std::chrono::steady_clock::now() < until; ++round) {
        int longId = kaSound::LoadObject("thread_long.sad", round % 2 ? 1 : -2);
        ASSERT_GE(longId, 1) << "round " << round;
        kaSound::Play(longId, -1);
        kaSound::Play(shortId, -1);
        kaSound::SetVolume(longId, -(round % 40), -1);
        kaMusic::PlayMusic(round % 2 ? "thread_a.mid" : "thread_b.mid", round % 3 != 0);
        kaMusic::SetMusicVolume(-(round % 30));
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        if (round % 5 == 0) kaMusic::StopMusic();
        if (round % 20 == 0) {
            kaSound::ReleaseWhenEnded(longId);  // freed by a later load once it has ended
        } else {
            kaSound::Stop(longId, -1);
            kaSound::ReleaseObject(longId);
        }
        kaMusic::PollMusicEnd();
    }
    kaMusic::PlayMusic("thread_b.mid", 1);
    kaSound::Play(shortId, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(kaMusic::PollMusicEnd(), 1);

    kaMusic::CloseMusic();
    kaSound::Release();
    EXPECT_EQ(kaSound::SoundReady, 0);
    for (const char* name : {"thread_short.sad", "thread_long.sad", "thread_a.mid", "thread_b.mid"})
        std::filesystem::remove(std::string(plat::ProgramDirectory()) + name);
}
