// CSPAircraft on the ground: standing, rolling friction and brakes, nose-wheel steering,
// and each aircraft's touch-downs judged by its limits; in the whole game, a wreck that
// stays on top of the ground with the camera above it.
#include <cmath>
#include <memory>
#include <tuple>

#include "GameAircraftTestSupport.h"
#include "app/FSEngine.h"
#include "app/FSShell.h"
#include "flight/FSFlightCommands.h"
#include "support/HeadlessTestGame.h"
#include "testflight/CSPPlaceholderController.h"
#include "testflight/CSPTestFlight.h"
#include "world/FSCamera.h"
#include "world/FSDamageable.h"
#include "world/FSMeshedNode.h"
#include "world/FSScene.h"

namespace game_test {
namespace {

constexpr float kGround = 0.15f;  // km, the flat terrain's height
constexpr float kDegree = 0.017453292f;

// Puts the node just low enough to touch the ground (a few centimetres into its clearance).
void Touch(GameAircraft& a) {
    FSFixedVector at = a.node->GetPosition();
    at.y = FloatToFixed(a.SceneHeight() - a.HeightAboveGround() + kClearance - 0.00005f);
    a.node->Place(at);
}

// The aircraft touching the ground, nose toward −z, up axis up, moving at velocity (world
// km/s); the ground check's answer.
bool TouchDown(GameAircraft& a, const FSVector& velocity, const FSVector& up = FSVector(0.0f, 1.0f, 0.0f)) {
    a.node->LookAlong(FSVector(0.0f, 0.0f, -1.0f), up);
    Touch(a);
    a->SetVelocity(velocity);
    return a->GroundContact(false);
}

TEST_F(GameAircraftTest, ContactOnlyWithATerrainAndBelowTheModelsLowestPoint) {
    GameAircraft a(kTrainer, kGround + kClearance);
    EXPECT_TRUE(a->GroundContact(true));
    EXPECT_FALSE(a->IsOnGround());
    EXPECT_GT(a->Airspeed(), 100.0f);  // not parked
    UseTerrain(FlatTerrainFile(kGround));
    a.node->Place({0, FloatToFixed(kGround + kClearance + 0.0001f), 0});
    EXPECT_TRUE(a->GroundContact(false));
    EXPECT_FALSE(a->IsOnGround());
    // A node without a model touches with its origin.
    a.node->hasModel = false;
    a.node->Place({0, FloatToFixed(kGround + 0.00001f), 0});
    EXPECT_TRUE(a->GroundContact(false));
    EXPECT_FALSE(a->IsOnGround());
    a.node->Place({0, FloatToFixed(kGround - 0.00001f), 0});
    EXPECT_TRUE(a->GroundContact(false));
    EXPECT_TRUE(a->IsOnGround());
    EXPECT_NEAR(a.SceneHeight(), kGround, 2e-5f);
}

TEST_F(GameAircraftTest, StartingOnTheGroundParksTheAircraftAndWithoutThrustItStaysPut) {
    UseTerrain(FlatTerrainFile(kGround));
    GameAircraft a(kTrainer, kGround + 0.001f);  // a metre into the ground
    a->SetAngularVelocity(FSVector(0.1f, 0.1f, 0.1f));
    EXPECT_TRUE(a->GroundContact(true));
    EXPECT_TRUE(a->IsOnGround() && a->IsBrakes() && !a->IsAutopilot());
    EXPECT_EQ(a->GetVelocity() + a->GetAngularVelocity(), FSVector());
    EXPECT_EQ(a->GetThrottle(), a->ThrottleMin());
    // Resting on its wheels: the model's bottom on the ground, nose where it was, level.
    EXPECT_NEAR(a.SceneHeight(), kGround + kClearance, 2e-5f);
    EXPECT_TRUE(Near(a.Nose(), FSVector(0.0f, 0.0f, -1.0f), 1e-4f));
    EXPECT_EQ(a->GroundNormal(), FSVector(0.0f, 1.0f, 0.0f));
    // Brakes off: the wheels hold against what little pushes along the ground.
    a->HandleCommand(kCommandBrakesReleased, 0);
    const FSFixedVector start = a.node->GetPosition();
    ASSERT_TRUE(a.Fly(150));  // 30 s
    EXPECT_EQ(a->BrakeLevel(), 0.0f);
    EXPECT_TRUE(a->IsOnGround());
    EXPECT_EQ(a->LiftOffs(), 0);
    EXPECT_EQ(a.node->GetPosition(), start);
    EXPECT_EQ(a->GetVelocity(), FSVector());
    EXPECT_FALSE(a->IsStalling());
}

TEST_F(GameAircraftTest, OnASlopeTheBrakesHoldAndFrictionNeverPushesDownhill) {
    // The ground falls by 1 % toward +z; the aircraft faces uphill (−z).
    UseTerrain(FlatTerrainFile(kGround, 64, 0.01f));
    GameAircraft a(kTrainer, 1.0f);
    Touch(a);
    ASSERT_TRUE(a->GroundContact(true));
    EXPECT_NEAR(a->GroundNormal().z, 0.01f, 1e-4f);
    const FSFixedVector parked = a.node->GetPosition();
    ASSERT_TRUE(a.Fly(50));
    EXPECT_EQ(a.node->GetPosition().z, parked.z);
    // Brakes off, standing: the pull down the slope less the rolling friction, which opposes
    // the pull and does not add to it; the ground bears the rest of the weight.
    for (int i = 0; i < 5; ++i)
        a->SetBrakes(false);
    a->SetVelocity(FSVector());
    a->ComputeForces();
    const float pull = a->GetMass() * flight_test::kG * 0.01f;
    EXPECT_LT(Dot(a->GetForce(), a.Nose()), -0.4f * pull);
    EXPECT_GT(Dot(a->GetForce(), a.Nose()), -0.6f * pull);
    EXPECT_NEAR(Dot(a->GetForce(), a->GroundNormal()), 0.0f, 1e-5f);
    // It rolls back down, tail first, and never uphill: some metres in 10 s (less in 16.16
    // positions, which do not move at all below 0.3 m/s).
    float lastZ = FixedToFloat(a.node->GetPosition().z);
    for (int frame = 0; frame < 50; ++frame) {
        ASSERT_TRUE(a.Fly());
        EXPECT_GE(FixedToFloat(a.node->GetPosition().z), lastZ);
        lastZ = FixedToFloat(a.node->GetPosition().z);
    }
    EXPECT_GT(lastZ - FixedToFloat(parked.z), 0.0008f);
    EXPECT_NEAR(a.Nose().z, -1.0f, 1e-3f);
}

TEST_F(GameAircraftTest, RollingOnBrakesItStopsForGoodOnFrictionAloneItRollsOnFastItLiftsOff) {
    UseTerrain(FlatTerrainFile(kGround));
    for (const float speed : {0.02f, -0.02f, 0.08f}) {  // km/s along the nose; negative braking
        GameAircraft a(kTrainer, 1.0f);
        ASSERT_TRUE(TouchDown(a, FSVector(0.0f, 0.0f, -std::fabs(speed))));
        a->SetThrottle(0.0f);
        if (speed > 0.05f) {
            // Faster than it needs to fly: the wings take the weight off the wheels.
            a->ComputeForces();
            EXPECT_FALSE(a->IsOnGround());
            EXPECT_EQ(a->LiftOffs(), 1);
            continue;
        }
        if (speed < 0.0f) a->HandleCommand(kCommandBrakes, 0);
        ASSERT_TRUE(a.Fly(75));  // 15 s
        if (speed > 0.0f) {
            EXPECT_GT(Length(a->GetVelocity()), 0.015f);  // rolling friction hardly slows it
            continue;
        }
        // About 100 m of braking at about 2 m/s² from 20 m/s; at rest it stays at rest: the
        // brakes stop the wheels but never roll them back.
        EXPECT_EQ(Length(a->GetVelocity()), 0.0f);
        const FSFixedVector stopped = a.node->GetPosition();
        EXPECT_NEAR(FixedToFloat(stopped.z), -0.1f, 0.03f);
        ASSERT_TRUE(a.Fly(50));
        EXPECT_EQ(a.node->GetPosition(), stopped);
    }
}

TEST_F(GameAircraftTest, TheNoseWheelTurnsWithTheRudderInProportionToSpeed) {
    UseTerrain(FlatTerrainFile(kGround));
    // Full rudder turns the nose wheel 20 degrees: the aircraft turns at speed × deflection
    // / wheel base (rad/s, body z: positive to the left), the other way rolling backward.
    const float rate = 0.34906584f / 0.0015f;
    struct Case {
        int command;
        float speed, turn;
    };
    for (const Case c :
         {Case{kCommandRudderRight, 0.01f, -rate * 0.01f}, Case{kCommandRudderLeft, 0.01f, rate * 0.01f},
          Case{kCommandRudderRight, -0.005f, rate * 0.005f}}) {
        GameAircraft a(kTrainer, 1.0f);
        ASSERT_TRUE(TouchDown(a, FSVector(0.0f, 0.0f, -c.speed)));
        a->HandleCommand(c.command, 0);
        for (int i = 0; i < 3; ++i)
            a->ComputeForces();
        ASSERT_EQ(std::fabs(a->GetYawControl()), a->YawMax());
        EXPECT_NEAR(a->GetAngularVelocity().z, c.turn, 1e-3f) << c.command << " " << c.speed;
        if (c.speed < 0.0f) continue;
        // Facing −z, the right turn swings the nose toward +x; the wheels stay down.
        ASSERT_TRUE(a.Fly(3));
        EXPECT_GT((c.turn < 0.0f ? 1.0f : -1.0f) * a.Nose().x, 0.5f) << c.command;
        EXPECT_NEAR(a.Top().y, 1.0f, 1e-4f);
    }
    // Without a wheel base or a rudder range the nose wheel rolls straight: only the
    // rudder's own air force turns it, slowly.
    std::string noseAtCentre = kTrainer, fixedRudder = kTrainer;
    noseAtCentre.replace(noseAtCentre.find("FuselageNose 2.5"), 16, "FuselageNose 1.0");
    fixedRudder.replace(fixedRudder.find("Yaw -16 16 1"), 12, "Yaw 5 5 1");
    for (const std::string& text : {noseAtCentre, fixedRudder}) {
        GameAircraft a(text, 1.0f);
        ASSERT_TRUE(TouchDown(a, FSVector(0.0f, 0.0f, -0.01f)));
        a->HandleCommand(kCommandRudderRight, 0);
        a->ComputeForces();
        EXPECT_EQ(a->GetAngularVelocity().z, 0.0f);
        ASSERT_TRUE(a.Fly(10));
        EXPECT_NEAR(a.Nose().z, -1.0f, 0.01f);
    }
}

TEST_F(GameAircraftTest, EachAircraftLandsGentlyIsHurtByAHardOrHotTouchDownAndWreckedByAWingTip) {
    UseTerrain(FlatTerrainFile(kGround));
    // The powered aircraft, their landing speeds (km/h) and a hard landing's sink (m/s):
    // past their landing gears' limits (Cessna 2.6, Su-29 2.7, L-29 4, Fokker 2.1 m/s) and
    // short of wrecking them (twice that).
    const std::tuple<int, float, float> fleet[] = {
        {0, 100.0f, 3.5f}, {1, 125.0f, 3.5f}, {2, 170.0f, 5.0f}, {4, 80.0f, 3.5f}};
    enum Outcome { kUnhurt, kHurt, kWrecked };
    // A new aircraft or the last one again; sink (times the hard one), speed (times the
    // landing speed), bank (degrees). Gentle: a quarter of the hard sink (about 1 m/s) at
    // the landing speed. Hard, and the same again is one too many. Hot: half the hard sink
    // at twice the landing speed. Banked 30 degrees a wing tip meets the ground (at 21-27),
    // and upside down the fin.
    struct Landing {
        bool fresh;
        float sink, speed, bank;
        Outcome outcome;
    };
    const Landing landings[] = {{true, 0.25f, 1.0f, 0.0f, kUnhurt},   {false, 1.0f, 1.0f, 0.0f, kHurt},
                                {false, 1.0f, 1.0f, 0.0f, kWrecked},  {true, 0.5f, 2.0f, 0.0f, kHurt},
                                {true, 0.25f, 1.0f, 30.0f, kWrecked}, {true, 0.25f, 1.0f, 180.0f, kWrecked}};
    for (const auto& [index, landingSpeed, hardSink] : fleet) {
        std::unique_ptr<GameAircraft> a;
        for (const Landing& l : landings) {
            SCOPED_TRACE(testing::Message()
                         << index << ": " << l.sink * hardSink << " m/s, " << l.bank << " degrees");
            if (l.fresh) a = std::make_unique<GameAircraft>(index, kGround + 0.05f);
            const FSVector up(std::sin(l.bank * kDegree), std::cos(l.bank * kDegree), 0.0f);
            const FSVector velocity(0.0f, -l.sink * hardSink * 0.001f, -l.speed * landingSpeed / 3600.0f);
            ASSERT_TRUE((*a)->GroundContact(false));  // in the air again
            const bool rolls = TouchDown(*a, velocity, up);
            EXPECT_EQ(rolls, l.outcome != kWrecked);
            const MFSDamageable& damage = *DamageOf(*a->node);
            EXPECT_EQ(damage.health < damage.maxHealth, l.outcome != kUnhurt);
            EXPECT_EQ(damage.IsDestroyed(), l.outcome == kWrecked);
            // Out of the ground. Rolling on, the sink is gone; wrecked, it stops as it hit,
            // not turned onto its wheels.
            EXPECT_NEAR(a->SceneHeight(), kGround + kClearance, 2e-5f);
            EXPECT_TRUE(rolls ? Near((*a)->GetVelocity(), FSVector(0.0f, 0.0f, velocity.z), 1e-6f)
                              : Near((*a)->GetVelocity() + (*a)->GetAngularVelocity(), FSVector()) &&
                                    Near(a->Top(), up, 1e-3f));
            a->node->Place({0, FloatToFixed(kGround + 0.05f), 0});
        }
    }
}

TEST_F(GameAircraftTest, OnItsWheelsTheAircraftKeepsNoPitchRateWhateverTheElevator) {
    UseTerrain(FlatTerrainFile(kGround));
    GameAircraft a(kTrainer, kGround + kClearance);
    ASSERT_TRUE(a->GroundContact(true));
    ASSERT_TRUE(a->HandleCommand(kCommandBrakesReleased, 0));
    for (int step = 0; step < 10; ++step)
        ASSERT_TRUE(a->HandleCommand(kCommandThrottleMore, 0));
    // Full up elevator through a slow roll, then full down: each frame ends with the
    // aircraft on its wheels, level with the ground and not turning about its wings.
    for (int frame = 0; frame < 60; ++frame) {
        a->HandleCommand(frame < 30 ? kCommandElevatorUp : kCommandElevatorDown, 0);
        ASSERT_TRUE(a.Fly()) << frame;
        if (!a->IsOnGround()) break;
        EXPECT_EQ(a->GetAngularVelocity().x + a->GetAngularVelocity().y, 0.0f) << frame;
        EXPECT_NEAR(a.Nose().y, 0.0f, 1e-3f) << frame;
    }
    EXPECT_GT(a->Airspeed(), 30.0f);
}

// ---- In the game ----

TEST(GroundContactInTheGame, AWreckStaysWhereItHitUnderACameraAboveTheGroundAndTheMenuComesBack) {
    // Aircraft, terrain, cell, local x and z, height above the ground (km), velocity (km/s)
    // and whether it is wrecked: the Su-29 at 164 km/h sinking 3 m/s onto the valley's
    // 10-degree hillside east of the airfield; the L-29 diving steeply at 1000 km/h into the
    // mountains at the world's corner, where four cells meet; the Cessna touching down at
    // 100 km/h sinking 1 m/s on the farmland and rolling on across that corner.
    struct Arrival {
        int aircraft;
        const char* terrain;
        FSCell cell;
        float x, z, height;
        FSVector velocity;
        bool wrecked;
    };
    for (const Arrival& arrival :
         {Arrival{1, "valley.ter", {1, 0}, -0.13f, -13.1f, 0.01f, {0.0456f, -0.003f, 0.0f}, true},
          Arrival{2, "valley.ter", {3, 3}, 29.99f, 29.99f, 0.02f, {0.1f, -0.24f, 0.1f}, true},
          Arrival{0, "farmland.ter", {3, 3}, 29.97f, 29.97f, 0.002f, {0.0196f, -0.001f, 0.0196f}, false}}) {
        SCOPED_TRACE(arrival.aircraft);
        testing_support::HeadlessTestGame game;
        ASSERT_EQ(game.Start(), 0);
        game.controller->SetTerrain(arrival.terrain);
        game.controller->SetAircraft(arrival.aircraft);
        game.StartFlight();
        CSPTestFlight& flight = *game.controller->Flight();
        MFSSceneNode& node = *flight.Node();
        const auto above = [](const FSFixedVector& at, const FSCell& cell) {
            return FixedToFloat(FlightTerrain()->HeightAboveAt(at, cell));
        };
        const float clearance = -FixedToFloat(node.GetModel()->min.z);
        FSFixedVector at{FloatToFixed(arrival.x), 0, FloatToFixed(arrival.z)};
        at.y = FloatToFixed(arrival.height + clearance - above(at, arrival.cell));
        node.SetCell(arrival.cell);
        node.Place(at);
        node.LookAlong(Normalise(arrival.velocity), FSVector(0.0f, 1.0f, 0.0f));
        flight.Aircraft()->SetVelocity(arrival.velocity);
        flight.Aircraft()->SetBrakes(false);
        const CFSEngine& engine = *game.shell->Context().engine;
        const CFSCamera& camera = game.shell->Context().sceneRoot->Camera();
        int pass = 0, crashedAt = -1;
        FSFixedVector wreck;
        // On top of the ground, and the eye 2 m above it; a wreck does not move.
        for (; game.Pass() && engine.State() == Flying && pass < 200; ++pass) {
            ASSERT_GT(above(node.GetPosition(), node.GetCell()), clearance - 2e-5f) << pass;
            ASSERT_GT(above(camera.Eye(), camera.GetCell()), 0.002f - 2e-5f) << pass;
            if (crashedAt < 0 && flight.Crashed()) {
                crashedAt = pass;
                wreck = node.GetPosition();
            }
            EXPECT_TRUE(crashedAt < 0 || node.GetPosition() == wreck) << pass;
        }
        EXPECT_EQ(crashedAt >= 0, arrival.wrecked);
        // A wreck gives the menu back after 90 frames; the Cessna rolls in cell (0, 0).
        EXPECT_EQ(engine.State(), arrival.wrecked ? Menu : Flying);
        EXPECT_TRUE(arrival.wrecked ? std::abs(pass - crashedAt - 90) <= 2
                                    : flight.Aircraft()->IsOnGround() && node.GetCell() == FSCell({0, 0}));
    }
}

}  // namespace
}  // namespace game_test
