// Cost of the flight model: one frame's Integrate of a light aircraft (0.2 s, the step of
// a frame at the nominal 18 frames per second: 4 sub-steps of 0.05 s, each a force
// computation over the ten plates plus the rotation step), and one force computation alone.
// The aircraft is put back in its trimmed level flight before every step. Then the game's
// aircraft rolling on the ground: a frame's Integrate (eleven plates, friction, brakes,
// steering) and its ground check against a terrain.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "app/FSApplicationContext.h"
#include "flight/FSAircraft.h"
#include "flight/FSFlightCommands.h"
#include "game/CSPAircraft.h"
#include "resources/FSArchive.h"
#include "support/AircraftTestData.h"
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
        aircraft->LoadDescription(aircraft_test::TextBlock(aircraft_test::kTrainer));
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
        const std::vector<uint8_t> terrain = aircraft_test::FlatTerrainFile(0.15f, 64);
        context.terrain->model->LoadFromMemory(terrain.data(), terrain.size(), 9, false);
        node.Place({0, FloatToFixed(0.15f + 0.0015f), 0});
        node.LookAlong(FSVector(0.0f, 0.0f, -1.0f), FSVector(0.0f, 1.0f, 0.0f));
        aircraft = std::make_unique<CSPAircraft>(node, FSVector(), sine);
        aircraft->LoadText(aircraft_test::TextBlock(aircraft_test::kTrainer));
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
