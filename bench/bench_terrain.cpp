// Cost of the terrain: Prepare + Draw of the valley at the window sizes of the video
// settings (33, 49, 65) into a 240 × 320 surface on llvmpipe, with the camera standing
// still and with the camera crossing a grid vertex every frame (a window rebuild each
// time), and one height query. Run from build/bin (reads data/terrains.zip and
// data/textures.zip).
#include <GLES/gl.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "app/FSApplicationContext.h"
#include "platform/FSGLSurface.h"
#include "resources/FSArchive.h"
#include "resources/FSTextureCache.h"
#include "world/FSCamera.h"
#include "world/FSTerrainModel.h"

namespace {

FSFixed F(double v) {
    return DoubleToFixed(v);
}

// A surface set up like the engine's, the context's texture cache, and the valley.
struct TerrainBench {
    explicit TerrainBench(int windowSize) {
        ready = surface.Create(240, 320);
        if (!ready) return;
        glViewport(0, 0, 240, 320);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_CULL_FACE);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnable(GL_TEXTURE_2D);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        camera.SetPerspective(60.0f, 0.75f, 0.001f, 100.0f);
        glMatrixMode(GL_MODELVIEW);
        camera.SetPerspectiveMatrix(60.0f, 0.75f, 0.001f, 40.0f);
        GetApplicationContext()->textureCache =
            std::make_unique<CFSTextureCache>(MakeDataPath("data\\textures.zip"));
        ready = terrain.Load(MakeDataPath("data\\terrains.zip"), "valley.ter", windowSize, true);
    }
    ~TerrainBench() { GetApplicationContext()->textureCache.reset(); }

    // 1 km over the valley's southern airfield, looking north at the horizon.
    void Look(const FSFixedVector& eye) {
        camera.SetCell(cell);
        camera.SetView(eye, {eye.x, eye.y, eye.z - F(10)}, {0, kFixedOne, 0}, 0);
    }

    CFSGLSurface surface;
    CFSCamera camera;
    CFSTerrainModel terrain;
    const FSCell cell{1, 0};
    bool ready = false;
};

void BM_TerrainPrepareAndDraw(benchmark::State& state) {
    TerrainBench bench(static_cast<int>(state.range(0)));
    if (!bench.ready) {
        state.SkipWithError("no GL surface or terrain");
        return;
    }
    const FSFixedVector eye{F(-5.625), F(1.15), F(-13.125)};
    bench.Look(eye);
    FSTerrainDrawOptions options;
    options.alignment = 0;
    int triangles = 0;
    for (auto _ : state) {
        bench.terrain.Prepare(eye, bench.cell, false);
        triangles = bench.terrain.Draw(bench.camera, options);
        bench.surface.WaitGL();
    }
    state.counters["triangles"] = triangles;
}
BENCHMARK(BM_TerrainPrepareAndDraw)->Arg(33)->Arg(49)->Arg(65)->Unit(benchmark::kMillisecond);

void BM_TerrainPrepareAndDrawMoving(benchmark::State& state) {
    TerrainBench bench(static_cast<int>(state.range(0)));
    if (!bench.ready) {
        state.SkipWithError("no GL surface or terrain");
        return;
    }
    FSFixedVector eye{F(-5.625), F(1.15), F(-13.125)};
    FSTerrainDrawOptions options;
    options.alignment = 0;
    for (auto _ : state) {
        // One grid spacing north each frame: the window is rebuilt every time.
        eye.z -= bench.terrain.Spacing();
        if (eye.z < -kHalfCell) eye.z += kCellSize;
        bench.Look(eye);
        bench.terrain.Prepare(eye, bench.cell, false);
        bench.terrain.Draw(bench.camera, options);
        bench.surface.WaitGL();
    }
}
BENCHMARK(BM_TerrainPrepareAndDrawMoving)->Arg(33)->Arg(65)->Unit(benchmark::kMillisecond);

void BM_TerrainHeightAbove(benchmark::State& state) {
    CFSTerrainStorage terrain;
    if (!terrain.Load(MakeDataPath("data\\terrains.zip"), "valley.ter", 33, false)) {
        state.SkipWithError("no terrain");
        return;
    }
    std::mt19937 random(3);
    std::uniform_int_distribution<FSFixed> across(0, FixedFromInt(240) - 1);
    std::vector<FSFixedVector> points(4096);
    for (FSFixedVector& p : points)
        p = {across(random), F(2), across(random)};
    size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(terrain.HeightAbove(points[k]));
        k = (k + 1) & 4095;
    }
}
BENCHMARK(BM_TerrainHeightAbove);

}  // namespace

BENCHMARK_MAIN();
