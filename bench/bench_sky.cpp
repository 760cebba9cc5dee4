// The per-frame costs of the sky: drawing the sky box (five textured faces filling the
// 240 × 320 picture), the day cycle's clear colour, and the fly-through effect's clouded
// conversion of a 240 × 320 image against the plain one it replaces.
#include <GLES/gl.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/FSGLSurface.h"
#include "resources/FSArchive.h"
#include "resources/FSPixels.h"
#include "resources/FSTextureCache.h"
#include "world/FSCamera.h"
#include "world/FSDayTime.h"
#include "world/FSFlyThroughEffect.h"
#include "world/FSSineTable.h"
#include "world/FSSkyBox.h"
#include "world/FSSkyColour.h"

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 320;

// One frame's sky box: the GL work is finished inside the loop, so the figure is the
// whole cost of filling the picture (Mesa draws in software here).
void BM_SkyBoxDraw(benchmark::State& state) {
    CFSGLSurface surface;
    if (!surface.Create(kWidth, kHeight)) return state.SkipWithError("no 3-D display");
    glViewport(0, 0, kWidth, kHeight);
    SineTable sine;
    CFSCamera camera(&sine);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    camera.SetPerspective(60.0f, 0.75f, 0.001f, 100.0f);
    glMatrixMode(GL_MODELVIEW);
    CFSTextureCache cache(MakeDataPath("data\\textures.zip"));
    CFSSkyBox box;
    if (!box.Load(SkyBoxFolder(kDayTimeNoon), &cache)) return state.SkipWithError("no sky box in the data");
    float heading = 0.0f;
    for (auto _ : state) {
        const FSFixedVector eye{0, kFixedOne, 0};
        camera.SetView(eye, eye + ToFixed(FSVector(std::sin(heading), 0.2f, std::cos(heading))),
                       {0, kFixedOne, 0}, 2);
        box.Draw(camera);
        glFinish();
        heading += 0.01f;
    }
    box.Unload(&cache);
}
BENCHMARK(BM_SkyBoxDraw)->Unit(benchmark::kMicrosecond);

void BM_UpdateClearColour(benchmark::State& state) {
    CFSGLSurface surface;
    if (!surface.Create(16, 16)) return state.SkipWithError("no 3-D display");
    SineTable sine;
    CFSCamera camera(&sine);
    camera.Sky().SetSun(1.2f, 0.7f);
    camera.SetOrientation(FSQuaternion{0.9f, 0.1f, 0.3f, 0.2f});
    CFSSkyColour sky;
    uint32_t now = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sky.UpdateClearColour(camera, now));
        now += 16;
    }
}
BENCHMARK(BM_UpdateClearColour);

struct ConvertData {
    std::vector<uint32_t> picture;
    std::vector<uint16_t> out;
    CFSFlyThroughEffect effect;
    bool ready = false;

    ConvertData() : picture(kWidth * kHeight), out(kWidth * kHeight) {
        for (size_t i = 0; i < picture.size(); ++i)
            picture[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
        ready = effect.LoadCloudImage(MakeDataPath("data\\textures.zip"));
        FSCloudZone zone;
        zone.outer = FSBox::FromCorners({0, 0, 0}, {FixedFromInt(40), FixedFromInt(10), FixedFromInt(40)});
        zone.inner = FSBox::FromCorners({FixedFromInt(10), FixedFromInt(2), FixedFromInt(10)},
                                        {FixedFromInt(30), FixedFromInt(8), FixedFromInt(30)});
        effect.AddZone(zone);
    }
};

// state.range(0): the x of the aircraft in the zone: 20 inside (state 2, first mode),
// 8 in the shell at factor 0.8 (second mode, with the haze step).
void BM_FlyThroughConvert(benchmark::State& state) {
    ConvertData data;
    if (!data.ready) return state.SkipWithError("no cloud picture in the data");
    data.effect.UpdateAt({FixedFromInt(static_cast<int>(state.range(0))), FixedFromInt(5), FixedFromInt(20)});
    float seconds = 0.0f;
    for (auto _ : state) {
        data.effect.Convert(data.out.data(), data.picture.data(), kWidth, kHeight, seconds);
        benchmark::DoNotOptimize(data.out.data());
        seconds += 0.016f;
    }
    state.counters["state"] = data.effect.State();
}
BENCHMARK(BM_FlyThroughConvert)->Arg(20)->Arg(8)->Unit(benchmark::kMicrosecond);

// The plain conversion it stands in for.
void BM_PlainConvert(benchmark::State& state) {
    ConvertData data;
    for (auto _ : state) {
        ConvertTo565(data.out.data(), data.picture.data(), kWidth * kHeight);
        benchmark::DoNotOptimize(data.out.data());
    }
}
BENCHMARK(BM_PlainConvert)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
