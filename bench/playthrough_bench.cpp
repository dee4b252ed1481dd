// Peak memory of a whole playthrough on the headless backend with Ctrl held: the game
// folder's story from the logo to its end, the first option taken at every choice.
// "peak_rss_mb" is the process's peak resident set after the run (run this benchmark
// alone, --benchmark_filter=Playthrough, so no other benchmark's memory counts).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/frame.h"
#include "platform/headless.h"
#include "shell/shell.h"
#include "story/frame.h"

namespace {

void PlaythroughWithCtrlHeld(benchmark::State& state) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("akari_bench_play_" + std::to_string(getpid()));
    fs::create_directories(dir / "config");
    for (auto& entry : fs::directory_iterator(AKARI_GAME_DIR))
        if (entry.is_regular_file() && entry.path().filename() != "akari")
            fs::copy_file(entry.path(), dir / entry.path().filename());
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);

    int frames = 0;
    for (auto _ : state) {
        headless::Reset();
        headless::SetProgramDirectory(dir.string() + "/");
        headless::EnableAudio(true);
        ResetShellState();
        ResetStoryState();
        SetGameMode(ModeLogo);
        StartGame();
        headless::SetKeyDown(plat::KeyCtrl, true);
        for (frames = 0; frames < 200000 && !Shell.ShutdownDone; ++frames) {
            headless::AdvanceClock(16);
            FrameSeconds = 0.016f;
            // Ctrl skips prose only: the logo, notice, title and choices take a click.
            bool click = GetGameMode() != ModeStory || CurrentScene().storyState == ChoiceOpen;
            InputState.MouseX = 300, InputState.MouseY = 160;
            InputState.LeftClick = click && frames % 8 == 0;
            UpdateGame();
            InputState.LeftClick = InputState.RightClick = 0;
        }
        if (!Shell.ShutdownDone) {
            state.SkipWithError("the story did not reach its end");
            Shutdown();
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_mb"] = double(usage.ru_maxrss) / 1024.0;
    state.counters["frames"] = frames;
    fs::remove_all(dir);
}
BENCHMARK(PlaythroughWithCtrlHeld)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
