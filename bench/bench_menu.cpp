// Cost of the menu: one whole redraw of a screen (composed 320 x 240, turned onto the
// device and shown on the null display), and the CPU the idle main menu takes in the real
// main loop, paced to 60 passes a second.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <memory>
#include <thread>

#include "app/FSApplicationContext.h"
#include "app/FSShell.h"
#include "common/HeadlessGame.h"
#include "menu/CSPMenu.h"
#include "platform/FSClock.h"
#include "platform/FSNullDisplay.h"
#include "platform/FSPaths.h"
#include "testflight/CSPPlaceholderController.h"

namespace {

void BM_MenuScreenRedraw(benchmark::State& state) {
    HeadlessGame game("/tmp/aerovant-bench/");
    if (game.Start() != 0) {
        state.SkipWithError("the game did not start");
        return;
    }
    game.menu->SwitchScreen(static_cast<int>(state.range(0)), 0);
    game.Pass(2);
    for (auto _ : state)
        game.menu->UpdateAndDraw(1);
    static const char* const kNames[17] = {"main", "",         "route",  "",         "aircraft", "",
                                           "",     "scores",   "pilots", "settings", "",         "",
                                           "",     "controls", "",       "",         "help"};
    state.SetLabel(kNames[state.range(0)]);
}
BENCHMARK(BM_MenuScreenRedraw)
    ->Arg(0)
    ->Arg(2)
    ->Arg(4)
    ->Arg(7)
    ->Arg(8)
    ->Arg(9)
    ->Arg(13)
    ->Arg(16)
    ->Unit(benchmark::kMicrosecond);

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// The whole process's CPU time over wall time while the main menu sits idle for 5 s.
void BM_IdleMainMenuCpu(benchmark::State& state) {
    platform::SetPlayerFolder("/tmp/aerovant-bench/");
    CFSNullDisplay display;
    for (auto _ : state) {
        CFSShell shell(display, {[] { return std::make_unique<CSPMenu>(); },
                                 [] { return std::make_unique<CSPPlaceholderController>(); }});
        if (shell.Start() != 0) {
            state.SkipWithError("the game did not start");
            break;
        }
        const double cpu = CpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        std::thread closer([&display] {
            std::this_thread::sleep_for(std::chrono::seconds(5));
            display.PostEvent({FSEventType::Quit, 0, 0, 0});
        });
        shell.Run();
        closer.join();
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.counters["cpu_percent"] = 100.0 * (CpuSeconds() - cpu) / wall;
        shell.Shutdown();
        ResetApplicationContext();
    }
}
BENCHMARK(BM_IdleMainMenuCpu)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
