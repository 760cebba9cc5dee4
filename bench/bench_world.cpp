// Cost of the world's arithmetic and of one scene pass: the 16.16 reciprocal and square
// root, a node's world box, the fast sine, the sky colour of the fog set-up, and the
// update plus culled draw of a scene of scattered nodes (GL calls on llvmpipe).
#include <GLES/gl.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/FSGLSurface.h"
#include "world/FSFixed.h"
#include "world/FSScene.h"
#include "world/FSSineTable.h"
#include "world/FSSkyModel.h"

namespace {

class BenchNode : public MFSSceneNode {
public:
    BenchNode() { SetVisible(true); }
    void SetPosition(const FSFixedVector& p) override { StorePosition(p); }
    void Scale(const FSFixedVector&) override {}
    const FSBox* GetModel() const override { return &box_; }
    void Update(CFSScene&, const FSFrame&) override {}
    void Draw(CFSScene&) override {}

private:
    FSBox box_ = FSBox::FromCorners({-FixedFromInt(1), 0, -FixedFromInt(1)},
                                    {FixedFromInt(1), FixedFromInt(2), FixedFromInt(1)});
};

void BM_FixedReciprocal(benchmark::State& state) {
    FSFixed x = 12345;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FixedReciprocal(x));
        x += 77777;
    }
}
BENCHMARK(BM_FixedReciprocal);

void BM_FixedSqrt(benchmark::State& state) {
    FSFixed x = 12345;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FixedSqrt(x));
        x = (x + 77777) & 0x3FFFFFFF;
    }
}
BENCHMARK(BM_FixedSqrt);

void BM_NodeWorldBox(benchmark::State& state) {
    BenchNode node;
    node.SetOrientation(FromAxisAngle(FSVector(0.3f, 1, 0.2f), 0.7f));
    node.Place({FixedFromInt(3), FixedFromInt(1), FixedFromInt(-2)});
    for (auto _ : state)
        benchmark::DoNotOptimize(node.GetSweptBox());
}
BENCHMARK(BM_NodeWorldBox);

void BM_FastSine(benchmark::State& state) {
    SineTable table;
    float a = 0.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.Sin(a));
        a += 0.001f;
    }
}
BENCHMARK(BM_FastSine);

void BM_SkyColour(benchmark::State& state) {
    SineTable table;
    CFSSkyModel sky(&table);
    sky.SetTurbidity(3.0f);
    sky.SetSun(0.8f, 0.4f);
    float phi = 0.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sky.SkyColour(1.2f, phi));
        phi += 0.01f;
    }
}
BENCHMARK(BM_SkyColour);

// A frame of a scene with n nodes scattered over the whole 240 × 240 km world: update,
// then the culled draw (the nodes themselves draw nothing).
void BM_SceneUpdateAndCull(benchmark::State& state) {
    CFSGLSurface surface;
    if (!surface.Create(240, 320)) {
        state.SkipWithError("no 3-D display");
        return;
    }
    SineTable table;
    CFSScene scene(&table);
    scene.Camera().SetPerspectiveMatrix(60.0f, 0.75f, 0.001f, 40.0f);
    std::srand(7);
    for (int i = 0; i < state.range(0); ++i) {
        auto node = std::make_unique<BenchNode>();
        node->SetCell({std::rand() % 4, std::rand() % 4});
        node->Place({(std::rand() % 60 - 30) * kFixedOne, (std::rand() % 4) * kFixedOne,
                     (std::rand() % 60 - 30) * kFixedOne});
        scene.AddNode(std::move(node));
    }
    int32_t culled = 0;
    float heading = 0.0f;
    for (auto _ : state) {
        const FSFixedVector eye{0, FixedFromInt(2), 0};
        scene.Camera().LookAt(eye, eye + ToFixed(FSVector(std::sin(heading), -0.1f, std::cos(heading))),
                              {0, kFixedOne, 0}, 2);
        scene.Update(FSFrame{});
        scene.Draw(true, nullptr, culled);
        heading += 0.01f;
    }
    glFinish();
    state.counters["culled"] = culled;
}
BENCHMARK(BM_SceneUpdateAndCull)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
