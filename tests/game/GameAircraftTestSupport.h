#pragma once
// Shared pieces of the game aircraft tests: an aircraft node with a model box (its
// clearance above the ground), a description written here (not the game's aircraft
// files), terrains made in the test with the terrain chunk format, and an application
// context with known control gains, time scale and terrain.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/FSApplicationContext.h"
#include "game/CSPAircraft.h"
#include "resources/FSArchive.h"
#include "world/FSBox.h"
#include "world/FSFixed.h"
#include "world/FSSceneNode.h"
#include "world/FSTerrainHolder.h"

namespace game_test {

// The engine's step at the nominal frame rate: 0.05 × 4.0 s.
inline constexpr float kFrameStep = 0.2f;
// Scene height of altitude 0, km.
inline constexpr float kSceneHeightOfAltitudeZero = 5.0f;
// The model's lowest point lies this far below the node's origin, km (1.5 m).
inline constexpr float kClearance = 0.0015f;

// An aircraft node: no drawing, a model box 10 m long and wide whose bottom is the
// wheels.
class AircraftNode : public MFSSceneNode {
public:
    AircraftNode() : MFSSceneNode(kNodeMeshed) {
        box = FSBox::FromCorners({FloatToFixed(-0.005f), FloatToFixed(-0.005f), FloatToFixed(-kClearance)},
                                 {FloatToFixed(0.005f), FloatToFixed(0.005f), FloatToFixed(0.001f)});
    }
    void SetPosition(const FSFixedVector& position) override { StorePosition(position); }
    void Scale(const FSFixedVector& /*factors*/) override {}
    void Update(CFSScene& /*scene*/, const FSFrame& /*frame*/) override {}
    void Draw(CFSScene& /*scene*/) override {}
    const FSBox* GetModel() const override { return hasModel ? &box : nullptr; }

    FSBox box;
    bool hasModel = true;
};

// A light high-wing trainer: 767 kg empty, 150 kg of fuel, 2 kN of thrust. Positions are
// metres (longitudinal, vertical, lateral) about a datum 1 m ahead of the centre of
// gravity; the nose plate 1.5 m ahead of it.
inline const char* kTrainer = R"(// Test trainer
# A light trainer made for the game aircraft tests.
FuselageNose 2.5 0 0 0 0 2.0
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

// A text block as ReadArchiveText makes it.
inline FSMemoryBlock TextBlock(const std::string& text) {
    FSMemoryBlock block;
    block.data = std::make_unique<uint8_t[]>(text.size() + 1);
    std::memcpy(block.data.get(), text.data(), text.size());
    block.data[text.size()] = 0;
    block.size = text.size();
    return block;
}

// A terrain file of N × N vertices over the 240 km world, every vertex at the given
// height (km) with level faces, or sloping down toward +z by slope (height per km).
inline std::vector<uint8_t> FlatTerrainFile(float heightKm, int n = 4, float slope = 0.0f) {
    std::vector<uint8_t> bytes;
    const auto put = [&bytes](uint32_t value) {
        for (int k = 0; k < 4; ++k)
            bytes.push_back(static_cast<uint8_t>(value >> (8 * k)));
    };
    const auto fixed = [](double v) {
        return static_cast<uint32_t>(static_cast<int32_t>(std::lround(v * 65536.0)));
    };
    const double side = 240.0;
    const double spacing = side / n;
    put(2);
    put(4);
    put(static_cast<uint32_t>(n));
    put(3);
    put(4);
    put(fixed(side));
    put(0xA002);
    put(static_cast<uint32_t>(n * n * 4));
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            put(fixed(heightKm - slope * spacing * j));
    put(0xA004);
    put(static_cast<uint32_t>(n * n * 24));
    const double length = std::sqrt(1.0 + static_cast<double>(slope) * slope);
    for (int k = 0; k < n * n * 2; ++k) {
        put(fixed(0.0));
        put(fixed(1.0 / length));
        put(fixed(slope / length));
    }
    return bytes;
}

// A fixture that gives each test a fresh application context with known control gains
// (the settings' defaults: 0.125 for the keys, 0.05 for the stylus), time scale 1 and,
// when asked, a terrain.
class GameAircraftTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetApplicationContext();
        CFSApplicationContext& context = *GetApplicationContext();
        context.timeScale = 1.0f;
        context.game.keyPitchRate = 0.125f;
        context.game.keyRollRate = 0.125f;
        context.game.stylusPitchRate = 0.05f;
        context.game.stylusRollRate = 0.05f;
    }
    void TearDown() override { ResetApplicationContext(); }

    // Puts a terrain made in memory into the context.
    static void UseTerrain(const std::vector<uint8_t>& file) {
        CFSApplicationContext& context = *GetApplicationContext();
        context.terrain = std::make_unique<CFSTerrainHolder>();
        ASSERT_TRUE(context.terrain->model->LoadFromMemory(file.data(), file.size(), 9, false));
    }
    // The real terrain of a route, from data/terrains.zip.
    static bool UseGameTerrain(const std::string& member) {
        CFSApplicationContext& context = *GetApplicationContext();
        context.terrain = std::make_unique<CFSTerrainHolder>();
        return context.terrain->model->Load(MakeDataPath("data\\terrains.zip"), member, 9, false);
    }
};

// A loaded game aircraft on its own node.
struct GameAircraft {
    SineTable sine;
    std::unique_ptr<AircraftNode> node = std::make_unique<AircraftNode>();
    CSPAircraft* aircraft = nullptr;

    // At scene height y (km) in cell (column, row) at local (x, z), nose toward world −z,
    // wings level, loaded from the description (which trims it when it is not at altitude
    // 0), attached to the node as its moveable object.
    explicit GameAircraft(const std::string& description = kTrainer, float sceneHeight = 6.0f,
                          const FSCell& cell = FSCell{}, float x = 0.0f, float z = 0.0f) {
        node->SetCell(cell);
        node->Place({FloatToFixed(x), FloatToFixed(sceneHeight), FloatToFixed(z)});
        node->SetCell(cell);
        node->SavePosition();
        node->LookAlong(FSVector(0.0f, 0.0f, -1.0f), FSVector(0.0f, 1.0f, 0.0f));
        auto made = std::make_unique<CSPAircraft>(*node, FSVector(), sine);
        made->LoadText(TextBlock(description));
        aircraft = made.get();
        node->SetMoveableObject(std::move(made));
    }
    CSPAircraft& operator*() { return *aircraft; }
    CSPAircraft* operator->() { return aircraft; }

    // One flight frame as the game runs it: the step, then the ground check.
    bool Frame() {
        aircraft->Integrate(kFrameStep);
        return aircraft->GroundContact(false);
    }
    float SceneHeight() const { return FixedToFloat(node->GetPosition().y); }
    // Height of the node above the terrain of the context, km.
    float HeightAboveGround() const {
        const CFSTerrainStorage* terrain = FlightTerrain();
        return terrain ? FixedToFloat(terrain->HeightAboveAt(node->GetPosition(), node->GetCell()))
                       : SceneHeight();
    }
    FSVector Nose() const { return ToFloat(node->GetAxisY()); }
    FSVector Top() const { return ToFloat(node->GetAxisZ()); }
};

}  // namespace game_test
