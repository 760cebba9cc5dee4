// The game's routes: how long each flight takes to build (route file, terrain, scenery,
// gates, runway, aircraft), and the cost of one flight frame on the busiest route (the
// most scene nodes) at 240 x 320 on llvmpipe, the aircraft flying on autopilot, in the
// chase and the cockpit views.
#include <benchmark/benchmark.h>

#include "FSHeadlessRun.h"
#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "platform/FSClock.h"
#include "world/FSScene.h"

namespace {

FSHeadlessOptions Options(int route) {
    FSHeadlessOptions options;
    options.route = route;
    options.playerFolder = "/tmp/aerovant-bench";
    return options;
}

void BM_FlightBuild(benchmark::State& state) {
    CFSHeadlessRun run(Options(static_cast<int>(state.range(0))));
    if (run.Start() != 0) {
        state.SkipWithError("no route or no 3-D display");
        return;
    }
    for (auto _ : state)
        run.Controller().RunFlightStart();
    state.counters["nodes"] = static_cast<double>(GetApplicationContext()->sceneRoot->Nodes().size());
}
BENCHMARK(BM_FlightBuild)->DenseRange(0, 7)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// Route 4, the market town: fifty buildings, sixteen gates, trees and clouds; seen from
// the chase camera (0) and from the cockpit (1), whose panel and artificial horizon (a
// second GL pass read back every frame) come on top.
void BM_FlightFrameOfTheBusiestRoute(benchmark::State& state) {
    FSHeadlessOptions options = Options(3);
    options.pilot = FSHeadlessPilot::Autopilot;
    options.cockpit = state.range(0) == 1;
    CFSHeadlessRun run(options);
    if (run.Start() != 0) {
        state.SkipWithError("no route or no 3-D display");
        return;
    }
    CFSApplicationContext& context = *GetApplicationContext();
    CFSEngine& engine = *context.engine;
    for (int i = 0; i < 120; ++i)
        run.Pass();
    for (auto _ : state) {
        platform::Sleep(16);
        engine.RenderFrame();
    }
    state.counters["nodes"] = static_cast<double>(context.sceneRoot->Nodes().size());
    state.counters["culled"] = context.culledCount;
}
BENCHMARK(BM_FlightFrameOfTheBusiestRoute)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
