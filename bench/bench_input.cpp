// Cost of one pass of the input as the main loop runs it: sample the 13 key states, evaluate
// the 38 factory bindings and dispatch what fires. Measured with nothing held (the common
// case), with the pad held in flight (several chords fire and repeat), and with button 5 and
// left held, where the longest chord has to win.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "app/FSInput.h"
#include "platform/FSNullDisplay.h"

namespace {

struct InputRig {
    CFSNullDisplay display;
    CFSInput input{kActionCount};
    uint32_t now = 100000;
    int sent = 0;

    explicit InputRig(int actionSet) {
        input.ResetToDefaults();
        input.SetKeySource(&display);
        input.SetOrientation(2);
        display.SetKeyTable(input.CurrentKeyTable());
        input.EnableActionSet(actionSet);
    }

    void Pass() {
        input.Poll();
        input.EvaluateAll(now);
        input.Dispatch([this](int action) {
            sent += action;
            return 1;
        });
        now += 16;  // one pass at 60 passes a second
    }
};

void BM_InputPassIdle(benchmark::State& state) {
    InputRig rig(kActionSetFlight);
    for (auto _ : state)
        rig.Pass();
    benchmark::DoNotOptimize(rig.sent);
}
BENCHMARK(BM_InputPassIdle);

void BM_InputPassPadHeldInFlight(benchmark::State& state) {
    InputRig rig(kActionSetFlight);
    rig.display.SetPadKey(1, true);  // left
    rig.display.SetPadKey(3, true);  // up
    for (auto _ : state)
        rig.Pass();
    benchmark::DoNotOptimize(rig.sent);
}
BENCHMARK(BM_InputPassPadHeldInFlight);

void BM_InputPassChordInFlight(benchmark::State& state) {
    InputRig rig(kActionSetFlight);
    rig.input.SetButtonToggle(4, 1);  // button 5
    rig.display.SetPadKey(1, true);
    for (auto _ : state)
        rig.Pass();
    benchmark::DoNotOptimize(rig.sent);
}
BENCHMARK(BM_InputPassChordInFlight);

}  // namespace

BENCHMARK_MAIN();
