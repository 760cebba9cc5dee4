// Where the test flight puts each aircraft: the powered ones stand on the strip, the glider
// starts in the air (it has no engine to take off with) and glides on.
#include <gtest/gtest.h>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "game/CSPAircraft.h"
#include "game/CSPPlaceholderController.h"
#include "game/CSPTestFlight.h"
#include "support/HeadlessTestGame.h"
#include "world/FSCamera.h"
#include "world/FSScene.h"

using testing_support::HeadlessTestGame;

namespace {

TEST(TestFlightStart, PoweredAircraftStandOnTheStripAndTheGliderStartsGliding) {
    for (int index : {0, 3}) {
        SCOPED_TRACE(index);
        HeadlessTestGame game;
        ASSERT_EQ(game.Start(), 0);
        game.controller->SetAircraft(index);
        game.StartFlight();
        game.Pass(2);
        ASSERT_EQ(game.shell->Context().engine->State(), Flying);
        ASSERT_NE(game.controller->Flight(), nullptr);
        CSPAircraft* aircraft = game.controller->Flight()->Aircraft();
        ASSERT_NE(aircraft, nullptr);
        // The chase camera stands behind the aircraft and above it.
        const CFSCamera& camera = game.shell->Context().sceneRoot->Camera();
        const FSFixedVector offset = camera.Eye() - aircraft->GetNode().GetPosition();
        const FSFixedVector nose = aircraft->GetNode().GetAxisY();
        EXPECT_LT(
            FixedToFloat(offset.x) * FixedToFloat(nose.x) + FixedToFloat(offset.z) * FixedToFloat(nose.z),
            -0.005f);
        EXPECT_GT(offset.y, 0);

        const bool glider = aircraft->ThrottleMax() == 0.0f;
        EXPECT_EQ(glider, index == 3);
        if (!glider) {
            EXPECT_TRUE(aircraft->IsOnGround());
            EXPECT_LT(aircraft->Airspeed(), 1.0f);
            continue;
        }
        EXPECT_FALSE(aircraft->IsOnGround());
        const float startAltitude = aircraft->Altitude();
        game.Pass(10 * 60);  // ten seconds
        EXPECT_FALSE(aircraft->IsOnGround());
        EXPECT_GT(aircraft->Airspeed(), 50.0f);
        EXPECT_LT(aircraft->Airspeed(), 160.0f);
        // Gliding: losing height, but slowly.
        EXPECT_LT(aircraft->Altitude(), startAltitude);
        EXPECT_GT(aircraft->Altitude(), startAltitude - 0.1f);
    }
}

}  // namespace
