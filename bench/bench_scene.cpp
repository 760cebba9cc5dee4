// Cost of one flight frame of a representative world at 240 x 320 on llvmpipe: the test
// world over the valley (terrain, sky box, 50 trees, smoke and bursts, a cloud, the cloud
// layer, an aircraft with its propeller) with 15 more buildings to make 20, at the three
// terrain window sizes the video settings offer.
#include <benchmark/benchmark.h>

#include <memory>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "common/HeadlessGame.h"
#include "platform/FSClock.h"
#include "testflight/CSPPlaceholderController.h"
#include "testflight/CSPTestWorld.h"
#include "world/FSFixed.h"
#include "world/FSMeshedNode.h"
#include "world/FSScene.h"

namespace {

void BM_FlightFrameOfTheTestWorld(benchmark::State& state) {
    HeadlessGame game("/tmp/aerovant-bench", 10000);
    if (game.Start() != 0) {
        state.SkipWithError("no 3-D display");
        return;
    }
    CSPPlaceholderController& controller = *game.controller;
    CFSApplicationContext& context = *GetApplicationContext();
    context.video.visibilityRange = static_cast<int>(state.range(0));
    controller.SetAircraft(-1);  // the orbit camera round the field
    controller.SetCameraPlacement(200.0f, 8.0f, 1.4f);
    controller.RunFlightStart();
    CSPTestWorld& world = *controller.World();
    // Fifteen houses more round the field: twenty buildings in all.
    for (int i = 0; i < 15; ++i) {
        CFSMeshedNode* house = context.engine->CreateMeshedNode("buildings/house.obj", "buildings/house.png");
        const float x = -0.6f + 0.08f * i, z = 0.7f;
        house->Scale({FloatToFixed(0.001f), FloatToFixed(0.001f), FloatToFixed(0.001f)});
        house->SetCell(world.Cell());
        house->Move({FloatToFixed(-5.625f + x), FloatToFixed(world.GroundHeight(-5.625f + x, -13.125f + z)),
                     FloatToFixed(-13.125f + z)});
    }
    CFSEngine& engine = *context.engine;
    for (auto _ : state) {
        platform::Sleep(16);
        engine.RenderFrame();
    }
    state.counters["nodes"] = static_cast<double>(context.sceneRoot->Nodes().size());
    state.counters["culled"] = context.culledCount;
}
BENCHMARK(BM_FlightFrameOfTheTestWorld)
    ->Arg(33)
    ->Arg(49)
    ->Arg(65)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
