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
#include "support/AircraftTestData.h"
#include "world/FSBox.h"
#include "world/FSFixed.h"
#include "world/FSSceneNode.h"
#include "world/FSTerrainHolder.h"

namespace game_test {

using aircraft_test::FlatTerrainFile;
using aircraft_test::kTrainer;
using aircraft_test::TextBlock;

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

// A fixture that gives each test a fresh application context and, when asked, a terrain
// in it. The aircraft's controls keep the factory settings (key gains 0.125, stylus gains
// 0.05) at time scale 1.
class GameAircraftTest : public ::testing::Test {
protected:
    void SetUp() override { ResetApplicationContext(); }
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
