// Cost of the frame cycle: one flight frame of the test scene (render on llvmpipe,
// read-back, 5-6-5 conversion, present to the null display) and the conversion alone.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSShell.h"
#include "menu/CSPMenu.h"
#include "platform/FSClock.h"
#include "platform/FSNullDisplay.h"
#include "platform/FSPaths.h"
#include "resources/FSPixels.h"
#include "testflight/CSPPlaceholderController.h"

namespace {

void BM_RenderFrameTestScene(benchmark::State& state) {
    platform::SetPlayerFolder("/tmp/aerovant-bench");
    platform::UseVirtualClock(10000);
    CFSNullDisplay display;
    {
        CFSShell shell(display, {[] { return std::make_unique<CSPMenu>(); },
                                 [] { return std::make_unique<CSPPlaceholderController>(); }});
        if (shell.Start() != 0) {
            state.SkipWithError("no 3-D display");
            return;
        }
        CFSApplicationContext* context = GetApplicationContext();
        context->video.resolution = static_cast<int>(state.range(0));
        DeriveRenderSize(context->video);
        context->gameController->RunFlightStart();
        CFSEngine& engine = *context->engine;
        for (auto _ : state) {
            platform::Sleep(16);
            engine.RenderFrame();
        }
        state.SetLabel(context->video.resolution == 0 ? "120x160 doubled" : "240x320");
    }
    ResetApplicationContext();
    platform::UseRealClock();
}
BENCHMARK(BM_RenderFrameTestScene)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_ConvertTo565FullScreen(benchmark::State& state) {
    std::vector<uint32_t> source(240 * 320);
    for (size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<uint32_t>(i * 2654435761u);
    std::vector<uint16_t> out(240 * 320);
    for (auto _ : state) {
        ConvertTo565(out.data(), source.data(), 240 * 320);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 240 * 320 * 4);
}
BENCHMARK(BM_ConvertTo565FullScreen)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
