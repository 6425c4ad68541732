// Start-up to the first presented frame, in process: the calls the game's
// main() makes, for a new world (empty Saves/) and a resumed one, with the
// time of each phase reported beside the total.
#include <GL/gl.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/display.h"
#include "app/frame_clock.h"
#include "app/game_loop.h"
#include "app/settings.h"
#include "bench_folder.h"
#include "interface/interface_media.h"
#include "world/saves.h"

static double MsSince(std::chrono::steady_clock::time_point& mark)
{
    auto now = std::chrono::steady_clock::now();
    double ms = std::chrono::duration<double, std::milli>(now - mark).count();
    mark = now;
    return ms;
}

// A game folder of its own, so the benchmark never touches the player's saves.
static bool EnterGameFolder()
{
    static std::string folder;
    if (folder.empty()) {
        char cwd[4096];
        if (!getcwd(cwd, sizeof cwd) || (folder = MakeBenchFolder("startup")).empty())
            return false;
        std::string setup = "cd " + folder + " && mkdir Saves && ln -s " + cwd + "/Media Media && cp " + cwd +
                            "/settings.ini .";
        if (system(setup.c_str()) != 0)
            return false;
    }
    return chdir(folder.c_str()) == 0;
}

static void BM_StartToFirstFrame(benchmark::State& state)
{
    const bool resumed = state.range(0) == 1;
    if (!EnterGameFolder()) {
        state.SkipWithError("no game folder");
        return;
    }
    double display = 0, interface = 0, world = 0, firstFrame = 0;
    for (auto _ : state) {
        if (!resumed) {
            remove(WORLD_SAVE_PATH);
            remove(CORE_SAVE_PATH);
        }
        lastTick = 0;
        quitRequested = pastFirstFrame = false;
        auto mark = std::chrono::steady_clock::now();
        LoadSettings();
        OpenDisplay();
        display += MsSince(mark);
        LoadInterfaceMedia();
        interface += MsSince(mark);
        StartWorld();
        world += MsSince(mark);
        RunFrame();
        glFinish();
        firstFrame += MsSince(mark);
        SDL_Quit();
    }
    const double n = (double)state.iterations();
    state.counters["display_ms"] = display / n;
    state.counters["interface_ms"] = interface / n;
    state.counters["world_ms"] = world / n;
    state.counters["first_frame_ms"] = firstFrame / n;
}
// 0: a new world is generated, placed and saved; 1: both saves are read.
BENCHMARK(BM_StartToFirstFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
