// The flight's instruments as the game makes and feeds them: each aircraft's own cockpit,
// the compass led to the next gate and the altimeter reading the height above the ground.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "FSHeadlessRun.h"
#include "game/CSPObstacle.h"
#include "game/CSPRoute.h"
#include "hud/FSAltimeter.h"
#include "hud/FSCockpit.h"
#include "hud/FSCompass.h"
#include "platform/FSDisplay.h"
#include "support/TestSupport.h"
#include "world/FSSceneNode.h"
#include "world/FSVectorMath.h"
#include "world/FSWorldPosition.h"

namespace {

FSHeadlessOptions Flight(int aircraft, int align) {
    FSHeadlessOptions options;
    options.aircraft = aircraft;
    options.align = align;
    options.playerFolder = testing_support::MakeTempFolder("instruments");
    return options;
}

TEST(GameInstruments, EveryAircraftFliesWithItsOwnCockpitInBothScreenShapes) {
    for (int aircraft = 0; aircraft < 5; ++aircraft) {
        for (int align : {0, 2}) {
            CFSHeadlessRun run(Flight(aircraft, align));
            ASSERT_EQ(run.Start(), 0);
            const CFSCockpit* cockpit = run.Controller().Cockpit();
            ASSERT_TRUE(cockpit) << CockpitName(aircraft);
            EXPECT_GT(cockpit->ImageCount(), 0u) << CockpitName(aircraft) << " " << align;
            EXPECT_TRUE(cockpit->Horizon()) << CockpitName(aircraft) << " " << align;
            EXPECT_EQ(cockpit->Rotation(), align == 2 ? 1 : 0);
        }
    }
}

TEST(GameInstruments, TheCompassLeadsToTheNextGateAndTheAltimeterReadsTheGround) {
    CFSHeadlessRun run(Flight(0, 0));
    ASSERT_EQ(run.Start(), 0);
    CSPGameController& game = run.Controller();
    MFSSceneNode* aircraft = game.AircraftNode();
    const MFSSceneNode* gate = game.Route() ? game.Route()->CurrentTarget() : nullptr;
    ASSERT_TRUE(aircraft && gate);
    std::vector<uint16_t> screen(MFSDisplay::kPixels, 0);
    // Turned to face the gate, the heading is the bearing the marker stands at.
    FSVector way = ToFloat(WrappedDifference(gate->GetPosition(), gate->GetCell(), aircraft->GetPosition(),
                                             aircraft->GetCell()));
    way.y = 0.0f;
    for (const float turn : {0.0f, 1.0f, 2.5f}) {
        const float c = std::cos(turn), s = std::sin(turn);
        aircraft->LookAlong(Normalise(FSVector(c * way.x - s * way.z, 0.0f, s * way.x + c * way.z)),
                            FSVector(0.0f, 1.0f, 0.0f));
        game.DrawInstruments(screen.data());
        const double off = std::remainder(game.Compass()->TargetBearing() - game.Compass()->Heading(), 360.0);
        EXPECT_NEAR(std::fabs(off), turn * 57.29578, 0.5) << turn;
    }
    EXPECT_EQ(game.Compass()->ShowTarget(), 1);
    // Standing on the runway, a few metres at most.
    EXPECT_GE(game.Altimeter()->Value(), 0.0);
    EXPECT_LT(game.Altimeter()->Value(), 0.01);
    EXPECT_GT(game.Altimeter()->TargetValue(), game.Altimeter()->Value());
}

}  // namespace
