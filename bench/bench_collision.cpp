// Cost of the collision pass and of a particle system: one Detect over 200 nodes (half of
// them moving) spread over a whole cell or crowded into an airfield, with the ground test
// on; and one update (and draw, on llvmpipe) of a smoke system of 200 particles.
#include <GLES/gl.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "platform/FSGLSurface.h"
#include "world/FSFadeOutAffector.h"
#include "world/FSFountainEmmiter.h"
#include "world/FSGravityAffector.h"
#include "world/FSGridCollisionDetector.h"
#include "world/FSParticlesSystem.h"
#include "world/FSRandom.h"
#include "world/FSScene.h"

namespace {

class Mover : public MFSProperty {};

class BenchNode : public MFSSceneNode {
public:
    BenchNode() { SetVisible(true); }
    void SetPosition(const FSFixedVector& p) override { StorePosition(p); }
    void Scale(const FSFixedVector&) override {}
    const FSBox* GetModel() const override { return &box_; }
    void Update(CFSScene&, const FSFrame&) override {}
    void Draw(CFSScene&) override {}

private:
    // A building-sized block, 0.1 km across.
    FSBox box_ = FSBox::FromCorners({-3277, 0, -3277}, {3277, 6554, 3277});
};

// range(0): the side of the square (km) the 200 nodes are spread over.
void BM_CollisionPass(benchmark::State& state) {
    const FSFixed side = static_cast<FSFixed>(state.range(0)) * kFixedOne;
    CFSGridCollisionDetector grid(FSBox::FromCorners({-FixedFromInt(30), 0, -FixedFromInt(30)},
                                                     {FixedFromInt(30), FixedFromInt(90), FixedFromInt(30)}));
    CFSRandom random(7);
    std::vector<std::unique_ptr<BenchNode>> nodes;
    for (int i = 0; i < 200; ++i) {
        auto node = std::make_unique<BenchNode>();
        node->SetCell({1, 1});
        const FSFixed x = static_cast<FSFixed>(static_cast<int64_t>(random.Next()) * side / 32768) - side / 2;
        const FSFixed z = static_cast<FSFixed>(static_cast<int64_t>(random.Next()) * side / 32768) - side / 2;
        node->Place({x, (random.Next() % 8) * kFixedOne / 4, z});
        node->SavePosition();
        if (i % 2 == 0) node->SetMoveableObject(std::make_unique<Mover>());
        grid.Insert(node.get());
        nodes.push_back(std::move(node));
    }
    int contacts = 0;
    grid.handlers.mayCollide = [](MFSSceneNode&, MFSSceneNode&) { return true; };
    grid.handlers.collision = [&contacts](MFSSceneNode&, MFSSceneNode&) { ++contacts; };
    grid.handlers.touchesGround = [](MFSSceneNode& node) { return node.GetPosition().y < kFixedOne / 8; };
    grid.handlers.groundContact = [&contacts](MFSSceneNode&) { ++contacts; };
    for (auto _ : state) {
        grid.Detect();
        benchmark::DoNotOptimize(contacts);
    }
    state.counters["tests"] = grid.GetTestCount();
}
BENCHMARK(BM_CollisionPass)->Arg(60)->Arg(10)->Unit(benchmark::kMicrosecond);

std::unique_ptr<CFSParticlesSystem> Smoke() {
    auto system = CFSParticlesSystem::CreateParticlesSystem(
        nullptr, "particle.png", 200,
        std::make_unique<TFSFountainEmmiter>(FixedFromInt(60), FSFixedVector{2621, 26214, 2621},
                                             FSFixedVector{}, 52428),
        0x222222, 6553);
    system->AddAffector(std::make_unique<TFSGravityAffector>());
    system->AddAffector(std::make_unique<TFSFadeOutAffector>());
    return system;
}

void BM_ParticlesUpdate(benchmark::State& state) {
    CFSScene scene;
    auto system = Smoke();
    for (auto _ : state)
        system->Update(scene, FSFrame{});
    state.counters["particles"] = static_cast<double>(system->Particles().size());
}
BENCHMARK(BM_ParticlesUpdate)->Unit(benchmark::kMicrosecond);

// Update and draw, finished by the library each frame, seen from 3 km.
void BM_ParticlesUpdateAndDraw(benchmark::State& state) {
    CFSGLSurface surface;
    if (!surface.Create(240, 320)) {
        state.SkipWithError("no 3-D display");
        return;
    }
    CFSScene scene;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    scene.Camera().SetPerspective(60.0f, 0.75f, 0.01f, 100.0f);
    glMatrixMode(GL_MODELVIEW);
    scene.Camera().SetView({0, FixedFromInt(1), FixedFromInt(3)}, {0, FixedFromInt(1), 0}, {0, kFixedOne, 0},
                           0);
    auto system = Smoke();
    for (int i = 0; i < 60; ++i)
        system->Update(scene, FSFrame{});
    for (auto _ : state) {
        system->Update(scene, FSFrame{});
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glMultMatrixx(scene.Camera().ViewMatrix().m);
        system->Draw(scene);
        glFinish();
    }
    state.counters["drawn"] = system->DrawnCount();
}
BENCHMARK(BM_ParticlesUpdateAndDraw)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
