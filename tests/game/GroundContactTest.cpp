// CSPAircraft on the ground: touch-downs judged by the damage property, upside-down
// landings, standing, rolling friction and brakes, and nose-wheel steering.
#include <cmath>
#include <memory>

#include "GameAircraftTestSupport.h"
#include "flight/FSFlightCommands.h"
#include "world/FSDamageable.h"
#include "world/FSTerrainStorage.h"

namespace game_test {
namespace {

constexpr float kG = 0.00980665f;
constexpr float kGround = 0.15f;  // km, the flat terrain's height

// The ground's scene height under the node.
float GroundUnder(const MFSSceneNode& node) {
    return FixedToFloat(node.GetPosition().y) -
           FixedToFloat(FlightTerrain()->HeightAboveAt(node.GetPosition(), node.GetCell()));
}

// Puts the node just low enough to touch the ground (a few centimetres into its clearance).
void Touch(MFSSceneNode& node) {
    FSFixedVector at = node.GetPosition();
    at.y = FloatToFixed(GroundUnder(node) + kClearance - 0.00005f);
    node.Place(at);
}

// Lifts the aircraft clear of the ground and lets it touch down sinking at sink km/s
// while moving along its nose (toward −z) at 40 m/s; the ground check's answer.
bool TouchDown(GameAircraft& a, float sink) {
    FSFixedVector at = a.node->GetPosition();
    at.y = FloatToFixed(GroundUnder(*a.node) + 0.05f);
    a.node->Place(at);
    EXPECT_TRUE(a->GroundContact(false));
    EXPECT_FALSE(a->IsOnGround());
    a.node->LookAlong(FSVector(0.0f, 0.0f, -1.0f), FSVector(0.0f, 1.0f, 0.0f));
    Touch(*a.node);
    a->SetVelocity(FSVector(0.0f, -sink, -0.04f));
    return a->GroundContact(false);
}

// Attaches the damage property the game gives the aircraft.
MFSDamageable& Damageable(GameAircraft& a) {
    const float impulse = a->GetMass() * 0.2f;
    a.node->SetSecondAttachment(std::make_unique<MFSDamageable>(
        impulse * 0.029419949f, impulse * 0.039226599f, impulse * 0.039226599f, impulse * 0.098066494f));
    return *DamageOf(*a.node);
}

TEST_F(GameAircraftTest, WithoutTerrainOrAboveTheGroundThereIsNoContact) {
    GameAircraft a(kTrainer, kGround + kClearance);
    EXPECT_TRUE(a->GroundContact(true));
    EXPECT_FALSE(a->IsOnGround());
    EXPECT_GT(a->Airspeed(), 100.0f);  // not parked
    UseTerrain(FlatTerrainFile(kGround));
    GameAircraft above(kTrainer, kGround + kClearance + 0.0001f);
    EXPECT_TRUE(above->GroundContact(false));
    EXPECT_FALSE(above->IsOnGround());
    // A node without a model touches with its origin.
    GameAircraft bare(kTrainer, kGround + 0.00001f);
    bare.node->hasModel = false;
    EXPECT_TRUE(bare->GroundContact(false));
    EXPECT_FALSE(bare->IsOnGround());
    bare.node->Place({0, FloatToFixed(kGround - 0.00001f), 0});
    EXPECT_TRUE(bare->GroundContact(false));
    EXPECT_TRUE(bare->IsOnGround());
    EXPECT_NEAR(bare.SceneHeight(), kGround, 2e-5f);
}

TEST_F(GameAircraftTest, StartingOnTheGroundParksTheAircraft) {
    UseTerrain(FlatTerrainFile(kGround));
    GameAircraft a(kTrainer, kGround + 0.001f);  // a metre into the ground
    a->SetAngularVelocity(FSVector(0.1f, 0.1f, 0.1f));
    EXPECT_TRUE(a->GroundContact(true));
    EXPECT_TRUE(a->IsOnGround());
    EXPECT_EQ(a->GetVelocity(), FSVector());
    EXPECT_EQ(a->GetAngularVelocity(), FSVector());
    EXPECT_EQ(a->GetThrottle(), a->ThrottleMin());
    EXPECT_TRUE(a->IsBrakes());
    EXPECT_FALSE(a->IsAutopilot());
    // Resting on its wheels: the model's bottom on the ground, nose where it was, level.
    EXPECT_NEAR(a.SceneHeight(), kGround + kClearance, 2e-5f);
    EXPECT_NEAR(a.Nose().z, -1.0f, 1e-4f);
    EXPECT_NEAR(a.Top().y, 1.0f, 1e-4f);
    EXPECT_EQ(a->GroundNormal(), FSVector(0.0f, 1.0f, 0.0f));
}

TEST_F(GameAircraftTest, StandingOnLevelGroundWithoutThrustItStaysPut) {
    UseTerrain(FlatTerrainFile(kGround));
    GameAircraft a(kTrainer, kGround + kClearance);
    ASSERT_TRUE(a->GroundContact(true));
    a->HandleCommand(kCommandBrakesReleased, 0);
    const FSFixedVector start = a.node->GetPosition();
    for (int frame = 0; frame < 150; ++frame)  // 30 s
        ASSERT_TRUE(a.Frame());
    EXPECT_EQ(a->BrakeLevel(), 0.0f);
    EXPECT_TRUE(a->IsOnGround());
    EXPECT_EQ(a->LiftOffs(), 0);
    EXPECT_EQ(a.node->GetPosition().x, start.x);
    EXPECT_EQ(a.node->GetPosition().z, start.z);
    EXPECT_NEAR(a.SceneHeight(), kGround + kClearance, 2e-5f);
    EXPECT_EQ(a->GetVelocity().x, 0.0f);
    EXPECT_EQ(a->GetVelocity().z, 0.0f);
    EXPECT_FALSE(a->IsStalling());
}

TEST_F(GameAircraftTest, OnASlopeTheBrakesHoldAndFrictionNeverPushesDownhill) {
    // The ground falls by 1 % toward +z; the aircraft faces uphill (−z).
    UseTerrain(FlatTerrainFile(kGround, 64, 0.01f));
    GameAircraft a(kTrainer, 1.0f);
    Touch(*a.node);
    ASSERT_TRUE(a->GroundContact(true));
    EXPECT_NEAR(a->GroundNormal().z, 0.01f, 1e-4f);
    const FSFixedVector parked = a.node->GetPosition();
    for (int frame = 0; frame < 50; ++frame)
        ASSERT_TRUE(a.Frame());
    EXPECT_EQ(a.node->GetPosition().z, parked.z);

    // Brakes off, standing: gravity's pull down the slope less the rolling friction.
    for (int i = 0; i < 5; ++i)
        a->SetBrakes(false);
    a->SetVelocity(FSVector());
    a->ComputeForces();
    const float weight = a->GetMass() * kG;
    const float sine = 0.01f / std::sqrt(1.0001f);
    const float uphill = Dot(a->GetForce(), a.Nose());
    EXPECT_NEAR(uphill, -weight * sine + 0.005f * weight * std::sqrt(1.0f - sine * sine), 2e-4f);
    // It rolls back down, tail first, and never uphill.
    float lastZ = FixedToFloat(a.node->GetPosition().z);
    for (int frame = 0; frame < 50; ++frame) {
        ASSERT_TRUE(a.Frame());
        const float z = FixedToFloat(a.node->GetPosition().z);
        EXPECT_GE(z, lastZ);
        lastZ = z;
    }
    // At (pull − friction) / mass, about 0.05 m/s², some metres in 10 s (less in 16.16
    // positions, which do not move at all below 0.3 m/s).
    EXPECT_GT(lastZ - FixedToFloat(parked.z), 0.0008f);
    EXPECT_NEAR(a.Nose().z, -1.0f, 1e-3f);
}

TEST_F(GameAircraftTest, BrakesStopARollingAircraftForGood) {
    UseTerrain(FlatTerrainFile(kGround));
    for (const bool braking : {true, false}) {
        GameAircraft a(kTrainer, 1.0f);
        Touch(*a.node);
        a->SetVelocity(FSVector(0.0f, 0.0f, -0.02f));  // 20 m/s along the nose
        ASSERT_TRUE(a->GroundContact(false));
        ASSERT_TRUE(a->IsOnGround());
        a->SetThrottle(0.0f);
        if (braking) a->HandleCommand(kCommandBrakes, 0);
        for (int frame = 0; frame < 75; ++frame)  // 15 s
            ASSERT_TRUE(a.Frame());
        if (!braking) {
            // Rolling friction alone hardly slows it.
            EXPECT_GT(Length(a->GetVelocity()), 0.015f);
            continue;
        }
        EXPECT_EQ(Length(a->GetVelocity()), 0.0f);
        // At rest it stays at rest: the brakes do not rock it back and forth.
        const FSFixedVector stopped = a.node->GetPosition();
        for (int frame = 0; frame < 50; ++frame)
            ASSERT_TRUE(a.Frame());
        EXPECT_EQ(a.node->GetPosition().x, stopped.x);
        EXPECT_EQ(a.node->GetPosition().z, stopped.z);
        // About 100 m of braking at about 2 m/s² from 20 m/s.
        EXPECT_NEAR(FixedToFloat(stopped.z), -0.1f, 0.03f);
    }
}

TEST_F(GameAircraftTest, TheNoseWheelTurnsWithTheRudderInProportionToSpeed) {
    UseTerrain(FlatTerrainFile(kGround));
    for (const int command : {kCommandRudderRight, kCommandRudderLeft}) {
        GameAircraft a(kTrainer, 1.0f);
        Touch(*a.node);
        a->SetVelocity(FSVector(0.0f, 0.0f, -0.01f));
        ASSERT_TRUE(a->GroundContact(false));
        a->HandleCommand(command, 0);
        for (int i = 0; i < 3; ++i)
            a->ComputeForces();
        ASSERT_EQ(std::fabs(a->GetYawControl()), a->YawMax());
        // Full rudder: 20 degrees of nose wheel, turning at speed × tan-free deflection /
        // wheel base (rad/s, body z: positive to the left).
        const float sign = command == kCommandRudderRight ? -1.0f : 1.0f;
        EXPECT_NEAR(a->GetAngularVelocity().z, sign * 0.34906584f / 0.0015f * 0.01f, 1e-3f);
        for (int frame = 0; frame < 3; ++frame)
            ASSERT_TRUE(a.Frame());
        // Facing −z, the right turn swings the nose toward +x.
        EXPECT_GT(sign * -a.Nose().x, 0.5f) << command;
        EXPECT_NEAR(a.Top().y, 1.0f, 1e-4f);
        EXPECT_GT(Length(a->GetVelocity()), 0.0f);
    }
    // Rolling backward the same rudder turns the other way.
    GameAircraft back(kTrainer, 1.0f);
    Touch(*back.node);
    back->SetVelocity(FSVector(0.0f, 0.0f, 0.005f));
    ASSERT_TRUE(back->GroundContact(false));
    back->HandleCommand(kCommandRudderRight, 0);
    back->ComputeForces();
    EXPECT_GT(back->GetAngularVelocity().z, 0.0f);
}

TEST_F(GameAircraftTest, WithoutAWheelBaseOrARudderRangeTheNoseWheelRollsStraight) {
    UseTerrain(FlatTerrainFile(kGround));
    std::string noseAtCentre = kTrainer;
    noseAtCentre.replace(noseAtCentre.find("FuselageNose 2.5"), 16, "FuselageNose 1.0");
    std::string fixedRudder = kTrainer;
    fixedRudder.replace(fixedRudder.find("Yaw -16 16 1"), 12, "Yaw 5 5 1");
    for (const std::string& text : {noseAtCentre, fixedRudder}) {
        GameAircraft a(text, 1.0f);
        Touch(*a.node);
        a->SetVelocity(FSVector(0.0f, 0.0f, -0.01f));
        ASSERT_TRUE(a->GroundContact(false));
        a->HandleCommand(kCommandRudderRight, 0);
        a->ComputeForces();
        EXPECT_EQ(a->GetAngularVelocity().z, 0.0f);
        // Only the rudder's own air force turns it, slowly.
        for (int frame = 0; frame < 10; ++frame) {
            ASSERT_TRUE(a.Frame());
            ASSERT_TRUE(std::isfinite(a->GetAngularVelocity().z));
        }
        EXPECT_NEAR(a.Nose().z, -1.0f, 0.01f);
    }
}

TEST_F(GameAircraftTest, HardLandingsWearTheAircraftDownUntilOneDestroysIt) {
    UseTerrain(FlatTerrainFile(kGround));
    GameAircraft a(kTrainer, 1.0f);
    MFSDamageable& damage = Damageable(*&a);
    const float full = damage.health;
    const float impactPerSink = a->GetMass() * 0.7f;  // per km/s of sink rate

    // 5 m/s: below the threshold.
    EXPECT_TRUE(TouchDown(a, 0.005f));
    EXPECT_TRUE(a->IsOnGround());
    EXPECT_EQ(damage.health, full);
    // Once rolling, the sink rate is gone and the aircraft rests on its wheels.
    EXPECT_EQ(a->GetVelocity().y, 0.0f);
    EXPECT_NEAR(a.SceneHeight(), kGround + kClearance, 2e-5f);
    EXPECT_NEAR(a->GetVelocity().z, -0.04f, 1e-6f);

    // 10 m/s: above the threshold, survived, health lower by the impact.
    ASSERT_GT(impactPerSink * 0.010f, damage.threshold);
    EXPECT_TRUE(TouchDown(a, 0.010f));
    EXPECT_NEAR(damage.health, full - impactPerSink * 0.010f, 1e-4f);
    EXPECT_TRUE(a->IsOnGround());
    // The same again is one too many.
    EXPECT_FALSE(TouchDown(a, 0.010f));
    EXPECT_FALSE(a->IsOnGround());
    EXPECT_LE(damage.health, 0.0f);
    EXPECT_TRUE(damage.IsDestroyed());
}

TEST_F(GameAircraftTest, LandingUpsideDownOrOnAWingTipDoesNotRoll) {
    UseTerrain(FlatTerrainFile(kGround));
    for (const FSVector up : {FSVector(0.0f, -1.0f, 0.0f), FSVector(1.0f, 0.0f, 0.0f)}) {
        GameAircraft a(kTrainer, 1.0f);
        MFSDamageable& damage = Damageable(a);
        const float full = damage.health;
        a.node->LookAlong(FSVector(0.0f, 0.0f, -1.0f), up);
        Touch(*a.node);
        a->SetVelocity(FSVector(0.0f, -0.001f, -0.04f));
        EXPECT_FALSE(a->GroundContact(false));
        EXPECT_FALSE(a->IsOnGround());
        EXPECT_EQ(damage.health, full);  // a gentle touch: no damage, still no rolling
        // Nothing presses it along the ground either.
        a->ComputeForces();
        EXPECT_FALSE(a->IsOnGround());
        EXPECT_EQ(a->LiftOffs(), 0);
    }
}

TEST_F(GameAircraftTest, LiftingOffCountsAndEndsTheRoll) {
    UseTerrain(FlatTerrainFile(kGround));
    GameAircraft a(kTrainer, 1.0f);
    Touch(*a.node);
    // Faster than it needs to fly: the wings take the weight off the wheels.
    a->SetVelocity(FSVector(0.0f, 0.0f, -0.08f));
    ASSERT_TRUE(a->GroundContact(false));
    ASSERT_TRUE(a->IsOnGround());
    a->ComputeForces();
    EXPECT_FALSE(a->IsOnGround());
    EXPECT_EQ(a->LiftOffs(), 1);
    a->SetLiftOffs(0);
    EXPECT_EQ(a->LiftOffs(), 0);
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
        a->Integrate(kFrameStep);
        ASSERT_TRUE(a->GroundContact(false)) << frame;
        if (!a->IsOnGround()) break;
        EXPECT_EQ(a->GetAngularVelocity().x, 0.0f) << frame;
        EXPECT_EQ(a->GetAngularVelocity().y, 0.0f) << frame;
        EXPECT_NEAR(a.Nose().y, 0.0f, 1e-3f) << frame;
    }
    EXPECT_GT(a->Airspeed(), 30.0f);
}

}  // namespace
}  // namespace game_test
