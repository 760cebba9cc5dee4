#pragma once
// Shared pieces of the game aircraft tests: an aircraft node with a model box (its
// clearance above the ground), the trainer written for the tests (not the game's aircraft
// files), terrains made in the test with the terrain chunk format, and an application
// context with a terrain on request.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/FSApplicationContext.h"
#include "flight/FlightTestSupport.h"
#include "game/CSPAircraft.h"
#include "world/FSBox.h"
#include "world/FSTerrainHolder.h"
#include "world/FSTerrainStorage.h"

namespace game_test {

using aircraft_test::FlatTerrainFile;
using aircraft_test::kTrainer;
using aircraft_test::TextBlock;
using flight_test::kFrameStep;
using flight_test::kSceneHeightOfAltitudeZero;
using flight_test::Near;

// The model's lowest point lies this far below the node's origin, km (1.5 m).
inline constexpr float kClearance = 0.0015f;

// An aircraft node: no drawing, a model box 10 m long and wide whose bottom is the
// wheels.
class AircraftNode : public flight_test::BareNode {
public:
    AircraftNode() : BareNode(kNodeMeshed) {
        box = FSBox::FromCorners({FloatToFixed(-0.005f), FloatToFixed(-0.005f), FloatToFixed(-kClearance)},
                                 {FloatToFixed(0.005f), FloatToFixed(0.005f), FloatToFixed(0.001f)});
    }
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
};

// A game aircraft on its own node at scene height (km), nose toward world −z, wings
// level, trimmed by its load when it is not at altitude 0, its controls reading settings
// (the factory gains at time scale 1 until a test changes them).
struct GameAircraft {
    SineTable sine;
    aircraft_test::ControlSettings settings;
    std::unique_ptr<AircraftNode> node = std::make_unique<AircraftNode>();
    CSPAircraft* aircraft = nullptr;
    float frameStep = kFrameStep;  // s

    // Loaded from a description text, attached to the node as its moveable object.
    explicit GameAircraft(const std::string& description = kTrainer, float sceneHeight = 6.0f) {
        Place(sceneHeight);
        auto made = std::make_unique<CSPAircraft>(*node, FSVector(), sine);
        made->LoadText(TextBlock(description));
        aircraft = made.get();
        node->SetMoveableObject(std::move(made));
        aircraft->SetControlSettings(settings.game, settings.frame);
    }
    // Made as the game controller makes the player's aircraft, from the game's own
    // "Aircraft<index + 1>.txt" in data/aircrafts.zip.
    GameAircraft(int index, float sceneHeight) {
        Place(sceneHeight);
        aircraft = &CreateFlightAircraft(*node, FSVector(), index, sine, MakeDataPath("data\\aircrafts.zip"));
        aircraft->SetControlSettings(settings.game, settings.frame);
    }
    CSPAircraft& operator*() { return *aircraft; }
    CSPAircraft* operator->() { return aircraft; }

    // Flight frames as the game runs them: the step, then the ground check; false when a
    // ground check failed.
    bool Fly(int frames = 1) {
        for (int frame = 0; frame < frames; ++frame) {
            aircraft->Integrate(frameStep);
            if (!aircraft->GroundContact(false)) return false;
        }
        return true;
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

private:
    void Place(float sceneHeight) {
        node->Place({0, FloatToFixed(sceneHeight), 0});
        node->SavePosition();
        node->LookAlong(FSVector(0.0f, 0.0f, -1.0f), FSVector(0.0f, 1.0f, 0.0f));
    }
};

}  // namespace game_test
