// A whole flight flown the way a player flies it in the window: only pad keys and the
// application buttons, through the input's chords, at 60 passes a second. Each powered
// aircraft in turn starts on the airfield's strip, takes off, climbs away, cruises and lands
// again; the glider, which has no engine to take off with, starts in the air and glides.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSShell.h"
#include "game/CSPAircraft.h"
#include "game/CSPPlaceholderController.h"
#include "game/CSPTestFlight.h"
#include "platform/FSDisplay.h"
#include "support/HeadlessTestGame.h"
#include "world/FSCamera.h"
#include "world/FSScene.h"
#include "world/FSTerrainHolder.h"
#include "world/FSTerrainStorage.h"

using testing_support::HeadlessTestGame;

namespace {

constexpr float kDegree = 0.017453292f;
// Pad keys as the player sees them, and the hot keys of the buttons as they lie in flight:
// key state 9 (the shift of the chords) is button 5, states 5-7 are buttons 4, 3 and 2.
enum Pad { kAction = 0, kUp = 3, kDown = 4 };
constexpr int kShift = 197, kFlapsButton = 196, kThrottleMoreButton = 195, kThrottleLessButton = 194;
// The highest lift-off speed of each aircraft (km/h), hands off at its ground attitude with
// flaps and full throttle (the glider, index 3, is not flown).
constexpr float kLiftOffAtMost[5] = {135.0f, 180.0f, 240.0f, 0.0f, 120.0f};

class Pilot {
public:
    explicit Pilot(HeadlessTestGame& game) : game_(game) {}

    CSPAircraft& Aircraft() const { return *game_.controller->Flight()->Aircraft(); }
    bool Crashed() const { return game_.controller->Flight()->Crashed(); }
    float Pitch() const {
        float pitch = 0.0f, bank = 0.0f;
        Aircraft().Attitude(pitch, bank);
        return pitch;
    }
    // Height of the aircraft above the ground under it, km.
    float Height() const {
        const CFSTerrainStorage* terrain = GetApplicationContext()->terrain->model.get();
        const MFSSceneNode& node = Aircraft().GetNode();
        return FixedToFloat(terrain->HeightAboveAt(node.GetPosition(), node.GetCell()));
    }

    void Button(int hotKey) {  // one message per pass: down or up
        game_.display.PostEvent({FSEventType::HotKey, 0, 0, hotKey});
        game_.Pass();
    }
    // Button 5 held while a button is pressed for passes passes.
    void Chord(int hotKey, int passes) {
        Button(kShift);
        Button(hotKey);
        game_.Pass(passes);
        Button(hotKey);
        Button(kShift);
    }
    void ReleaseBrakes() {
        Button(kShift);
        game_.display.SetPadKey(kAction, true);
        game_.Pass(2);
        game_.display.SetPadKey(kAction, false);
        game_.Pass();
        Button(kShift);
    }
    // One pass of holding the nose between low and high (rad) with the elevator keys, the
    // way a player does it: every eighth pass a look at where the nose is going (its
    // attitude and pitch rate), and a short press of Down or Up (three passes: a press
    // shorter than two passes gives back its step when released) if it is leaving the band.
    void HoldPitch(float low, float high) {
        if (tick_ % 8 == 0) {
            const float heading = Pitch() + Aircraft().GetAngularVelocity().x * 0.5f;
            key_ = heading < low ? kDown : heading > high ? kUp : -1;
        }
        const bool pressing = key_ >= 0 && tick_ % 8 < 3;
        game_.display.SetPadKey(kDown, pressing && key_ == kDown);  // Down raises the nose
        game_.display.SetPadKey(kUp, pressing && key_ == kUp);
        ++tick_;
        game_.Pass();
    }
    void LetGo() {
        game_.display.SetPadKey(kDown, false);
        game_.display.SetPadKey(kUp, false);
        game_.Pass();
    }

private:
    HeadlessTestGame& game_;
    int tick_ = 0;
    int key_ = -1;
};

TEST(KeyboardFlight, EachPoweredAircraftTakesOffClimbsCruisesAndLandsWithTheKeysAndTheGliderGlides) {
    for (int index : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE(index);
        HeadlessTestGame game;
        ASSERT_EQ(game.Start(), 0);
        // The smallest picture: the flight is what is tested here, not its drawing.
        CFSApplicationContext& context = game.shell->Context();
        context.video.resolution = 0;
        DeriveRenderSize(context.video);
        game.controller->SetTerrain("farmland.ter");
        game.controller->SetAircraft(index);
        game.StartFlight();
        game.Pass(2);
        ASSERT_EQ(context.engine->State(), Flying);
        ASSERT_NE(game.controller->Flight(), nullptr);
        Pilot pilot(game);
        CSPAircraft& aircraft = pilot.Aircraft();
        // The chase camera stands behind the aircraft and above it.
        const FSFixedVector offset = context.sceneRoot->Camera().Eye() - aircraft.GetNode().GetPosition();
        const FSVector nose = ToFloat(aircraft.GetNode().GetAxisY());
        EXPECT_LT(FixedToFloat(offset.x) * nose.x + FixedToFloat(offset.z) * nose.z, -0.005f);
        EXPECT_GT(offset.y, 0);
        if (index == 3) {
            // Gliding for ten seconds: losing height, but slowly.
            ASSERT_FALSE(aircraft.IsOnGround());
            const float startAltitude = aircraft.Altitude();
            game.Pass(10 * 60);
            EXPECT_FALSE(aircraft.IsOnGround());
            EXPECT_GT(aircraft.Airspeed(), 50.0f);
            EXPECT_LT(aircraft.Airspeed(), 160.0f);
            EXPECT_LT(aircraft.Altitude(), startAltitude);
            EXPECT_GT(aircraft.Altitude(), startAltitude - 0.1f);
            continue;
        }
        ASSERT_TRUE(aircraft.IsOnGround());
        EXPECT_LT(aircraft.Airspeed(), 1.0f);
        ASSERT_TRUE(aircraft.IsBrakes());

        // Flaps down, full throttle, brakes off; hands off until the wheels leave.
        pilot.Chord(kFlapsButton, 1);
        ASSERT_TRUE(aircraft.IsFlaps());
        pilot.Chord(kThrottleMoreButton, 20);
        ASSERT_EQ(aircraft.ThrottleFraction(), 1.0f);
        const FSFixedVector start = aircraft.GetNode().GetPosition();
        pilot.ReleaseBrakes();
        ASSERT_FALSE(aircraft.IsBrakes());
        int pass = 0;
        for (; pass < 60 * 60 && aircraft.IsOnGround(); ++pass)
            game.Pass();
        ASSERT_FALSE(aircraft.IsOnGround()) << "no lift-off in a minute";
        // The wheels hold it level, so it leaves the ground at its ground attitude: at a
        // sensible speed and within an airfield's length.
        EXPECT_LT(aircraft.Airspeed(), kLiftOffAtMost[index]);
        const FSFixedVector rolled = aircraft.GetNode().GetPosition() - start;
        EXPECT_LT(std::hypot(FixedToFloat(rolled.x), FixedToFloat(rolled.z)), 0.6f);

        // Climb away with the nose 5-12 degrees up to 150 m, then flaps up.
        for (pass = 0; pass < 60 * 60 && pilot.Height() < 0.15f; ++pass) {
            pilot.HoldPitch(5.0f * kDegree, 12.0f * kDegree);
            ASSERT_FALSE(pilot.Crashed()) << "climbing, pass " << pass;
        }
        ASSERT_GE(pilot.Height(), 0.15f) << "not at 150 m after a minute";
        pilot.LetGo();
        pilot.Chord(kFlapsButton, 1);
        ASSERT_FALSE(aircraft.IsFlaps());

        // Cruise level for ten seconds at 70 % throttle.
        pilot.Chord(kThrottleLessButton, 3);
        const float cruiseStart = pilot.Height();
        for (pass = 0; pass < 60 * 10; ++pass) {
            pilot.HoldPitch(-1.0f * kDegree, 3.0f * kDegree);
            ASSERT_FALSE(pilot.Crashed());
        }
        EXPECT_GT(pilot.Height(), cruiseStart - 0.1f);
        EXPECT_GT(aircraft.Airspeed(), 60.0f);

        // Approach: throttle back, nose down; flare close to the ground; touch down.
        pilot.LetGo();
        pilot.Chord(kThrottleLessButton, 6);
        for (pass = 0; pass < 60 * 120 && !aircraft.IsOnGround(); ++pass) {
            if (pilot.Height() > 0.012f)
                pilot.HoldPitch(-6.0f * kDegree, -3.0f * kDegree);
            else
                pilot.HoldPitch(1.0f * kDegree, 4.0f * kDegree);
            ASSERT_FALSE(pilot.Crashed()) << "landing, pass " << pass << " at " << pilot.Height() << " km, "
                                          << aircraft.Airspeed() << " km/h";
        }
        pilot.LetGo();
        ASSERT_TRUE(aircraft.IsOnGround()) << "still in the air after two minutes";
        // Brakes (button 5 and the action key held) stop it on the ground.
        pilot.Chord(kThrottleLessButton, 10);
        pilot.Button(kShift);
        game.display.SetPadKey(kAction, true);
        for (pass = 0; pass < 60 * 60 && aircraft.Airspeed() > 1.0f; ++pass)
            game.Pass();
        game.display.SetPadKey(kAction, false);
        pilot.Button(kShift);
        EXPECT_FALSE(pilot.Crashed());
        EXPECT_LT(aircraft.Airspeed(), 1.0f);
        EXPECT_TRUE(aircraft.IsOnGround());
    }
}

}  // namespace
