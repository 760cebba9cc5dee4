// Cost of the flight model: one frame's Integrate of a light aircraft (0.2 s, the step of
// a frame at the nominal 18 frames per second: 4 sub-steps of 0.05 s, each a force
// computation over the ten plates plus the rotation step), and one force computation alone.
// The aircraft is put back in its trimmed level flight before every step.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>

#include "flight/FSAircraft.h"
#include "resources/FSArchive.h"
#include "world/FSFixed.h"
#include "world/FSSceneNode.h"
#include "world/FSSineTable.h"

namespace {

class BenchNode : public MFSSceneNode {
public:
    void SetPosition(const FSFixedVector& p) override { StorePosition(p); }
    void Scale(const FSFixedVector&) override {}
    void Update(CFSScene&, const FSFrame&) override {}
    void Draw(CFSScene&) override {}
};

const char* kLightAircraft = R"(FuselageNose 2.5 0 0 0 0 2.0
FuselageTail -1.5 0 0 0 0 2.0
LeftWing 1.0 0 -2.8 -4 1.5 7.0
RightWing 1.0 0 2.8 -4 -1.5 7.0
LeftAileron 0.7 0 -4.6 0 1.5 0.8
RightAileron 0.7 0 4.6 0 -1.5 0.8
HorizontalStabilizer -3.5 0 0 0 0 2.0
Elevator -3.9 0 0 0 0 1.4
VerticalStabilizer -3.6 0.5 0 0 90 1.0
Rudder -4.0 0.5 0 0 90 0.7
CG 1.0 0 0
Mass 767
Inertia 1825 1285 2667
Pitch -25 20 1
Roll -15 15 1
Yaw -16 16 1
Throttle 0 2000 0.1
Fuel 10 150 0.02
)";

struct Flight {
    SineTable sine;
    BenchNode node;
    std::unique_ptr<CFSAircraft> aircraft;
    FSFixedVector position;
    FSQuaternion orientation;
    FSVector velocity;

    Flight() {
        node.Place({0, FloatToFixed(6.0f), 0});
        node.LookAlong(FSVector(0.0f, 0.0f, -1.0f), FSVector(0.0f, 1.0f, 0.0f));
        aircraft = std::make_unique<CFSAircraft>(node, FSVector(), sine);
        const std::string text = kLightAircraft;
        FSMemoryBlock block;
        block.data = std::make_unique<uint8_t[]>(text.size() + 1);
        std::memcpy(block.data.get(), text.c_str(), text.size() + 1);
        block.size = text.size();
        aircraft->LoadDescription(block);
        // Slightly off trim, so that the rotation step has work to do.
        aircraft->SetAngularVelocity(FSVector(0.01f, 0.02f, -0.01f));
        position = node.GetPosition();
        orientation = node.GetOrientation();
        velocity = aircraft->GetVelocity();
    }
    void Reset() {
        node.Place(position);
        node.SetOrientation(orientation);
        aircraft->SetVelocity(velocity);
        aircraft->SetAngularVelocity(FSVector(0.01f, 0.02f, -0.01f));
    }
};

void BM_IntegrateOneFrame(benchmark::State& state) {
    Flight flight;
    for (auto _ : state) {
        flight.Reset();
        flight.aircraft->Integrate(0.2f);
        benchmark::DoNotOptimize(flight.node.GetPosition());
    }
    state.counters["sub_steps"] = static_cast<double>(MFSMoveableObject::SubStepsFor(0.2f, true).count);
}
BENCHMARK(BM_IntegrateOneFrame);

void BM_ComputeForces(benchmark::State& state) {
    Flight flight;
    for (auto _ : state) {
        flight.aircraft->ComputeForces();
        benchmark::DoNotOptimize(flight.aircraft->GetForce());
    }
}
BENCHMARK(BM_ComputeForces);

}  // namespace

BENCHMARK_MAIN();
