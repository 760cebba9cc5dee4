// Cost of drawing text: one 40-character line in the game's fonts onto the device screen,
// upright and turned for the landscape orientation.
#include <benchmark/benchmark.h>

#include <vector>

#include "hud/FSFont.h"

namespace {

void BM_DrawText40Characters(benchmark::State& state, const char* folder, int alignment) {
    CFSFont font;
    if (!font.LoadFont(folder, 5, 1, 0)) {
        state.SkipWithError("font not found (run from build/bin)");
        return;
    }
    std::vector<uint16_t> screen(240 * 320, 0);
    const char* line = "V: 182kmH H: 1200m THR: 75% FLAPS: 10 AP";  // 40 characters
    for (auto _ : state) {
        DrawText(font, screen.data(), alignment, 0, kJustifyLeft, {4, 100}, 0xFFFF, line);
        benchmark::ClobberMemory();
    }
}
BENCHMARK_CAPTURE(BM_DrawText40Characters, main_portrait, "main", 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_DrawText40Characters, main_landscape, "main", 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_DrawText40Characters, game_font_landscape, "game_font", 2)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
