// Cost of the flight model: one frame's Integrate of a light aircraft (0.2 s, the step of
// a frame at the nominal 18 frames per second: 4 sub-steps of 0.05 s, each a force
// computation over the ten plates plus the rotation step), and one force computation alone.
// The aircraft is put back in its trimmed level flight before every step. Then the game's
// aircraft rolling on the ground: a frame's Integrate (eleven plates, friction, brakes,
// steering) and its ground check against a terrain.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/FSApplicationContext.h"
#include "flight/FSAircraft.h"
#include "flight/FSFlightCommands.h"
#include "game/CSPAircraft.h"
#include "resources/FSArchive.h"
#include "world/FSFixed.h"
#include "world/FSSceneNode.h"
#include "world/FSSineTable.h"
#include "world/FSTerrainHolder.h"

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

// A terrain file of 64 × 64 level vertices at 0.15 km over the 240 km world.
std::vector<uint8_t> LevelTerrain() {
    std::vector<uint8_t> bytes;
    const auto put = [&bytes](uint32_t value) {
        for (int k = 0; k < 4; ++k)
            bytes.push_back(static_cast<uint8_t>(value >> (8 * k)));
    };
    const uint32_t n = 64;
    put(2), put(4), put(n);
    put(3), put(4), put(240u << 16);
    put(0xA002), put(n * n * 4);
    for (uint32_t i = 0; i < n * n; ++i)
        put(static_cast<uint32_t>(0.15 * 65536));
    put(0xA004), put(n * n * 24);
    for (uint32_t i = 0; i < n * n * 2; ++i)
        put(0), put(65536), put(0);
    return bytes;
}

class BenchAircraftNode : public BenchNode {
public:
    const FSBox* GetModel() const override { return &box; }
    FSBox box = FSBox::FromCorners({-328, -328, -98}, {328, 328, 65});  // 10 m, 1.5 m clearance
};

// The game's aircraft rolling down a level runway at 20 m/s with a little rudder.
struct Roll {
    SineTable sine;
    BenchAircraftNode node;
    std::unique_ptr<CSPAircraft> aircraft;
    FSFixedVector position;
    FSQuaternion orientation;

    Roll() {
        CFSApplicationContext& context = *GetApplicationContext();
        context.game.keyPitchRate = context.game.keyRollRate = 0.125f;
        context.terrain = std::make_unique<CFSTerrainHolder>();
        const std::vector<uint8_t> terrain = LevelTerrain();
        context.terrain->model->LoadFromMemory(terrain.data(), terrain.size(), 9, false);
        node.Place({0, FloatToFixed(0.15f + 0.0015f), 0});
        node.LookAlong(FSVector(0.0f, 0.0f, -1.0f), FSVector(0.0f, 1.0f, 0.0f));
        aircraft = std::make_unique<CSPAircraft>(node, FSVector(), sine);
        const std::string text = kLightAircraft;
        FSMemoryBlock block;
        block.data = std::make_unique<uint8_t[]>(text.size() + 1);
        std::memcpy(block.data.get(), text.c_str(), text.size() + 1);
        block.size = text.size();
        aircraft->LoadText(block);
        aircraft->GroundContact(true);
        aircraft->HandleCommand(kCommandBrakesReleased, 0);
        aircraft->HandleCommand(kCommandRudderRight, 0);
        position = node.GetPosition();
        orientation = node.GetOrientation();
    }
    ~Roll() { ResetApplicationContext(); }
    void Reset() {
        node.Place(position);
        node.SetOrientation(orientation);
        aircraft->SetVelocity(FSVector(0.0f, 0.0f, -0.02f));
    }
};

void BM_GameAircraftRollingFrame(benchmark::State& state) {
    Roll roll;
    for (auto _ : state) {
        roll.Reset();
        roll.aircraft->Integrate(0.2f);
        benchmark::DoNotOptimize(roll.aircraft->GroundContact(false));
    }
    state.counters["on_ground"] = roll.aircraft->IsOnGround() ? 1.0 : 0.0;
}
BENCHMARK(BM_GameAircraftRollingFrame);

void BM_GameAircraftGroundContact(benchmark::State& state) {
    Roll roll;
    for (auto _ : state) {
        roll.Reset();
        benchmark::DoNotOptimize(roll.aircraft->GroundContact(false));
    }
}
BENCHMARK(BM_GameAircraftGroundContact);

}  // namespace

BENCHMARK_MAIN();
