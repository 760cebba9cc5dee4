// CSPAircraft: what its load derives, flaps and brakes, its commands, the instructor's
// hold on the controls and its flying in the air (level flight, and near the ground the
// terrain-avoidance rule; its take-off assistant flies the game's aircraft in the golden
// flights), and the creation of the player's aircraft for a flight.
#include "GameAircraftTestSupport.h"
#include "flight/FSFlightCommands.h"
#include "game/MSPProperty.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"
#include "world/FSDamageable.h"

namespace game_test {
namespace {

constexpr float kDegrees = 0.017453292f;
constexpr float kGround = 0.15f;  // km, the flat terrain's height

TEST_F(GameAircraftTest, LoadMakesTheFlapsFromTheWingsAndMeasuresTheWheelBase) {
    GameAircraft a;
    ASSERT_EQ(a->SurfaceCount(), 11);
    const AircraftSurface& flap = a->Surface(CSPAircraft::kFlapSurface);
    // Between the wings, at their incidence, with the ailerons' 2 × 0.8 m², which the
    // wings (7 m² each as described) give up.
    EXPECT_EQ(flap.position, (a->Surface(kLeftWing).position + a->Surface(kRightWing).position) * 0.5f);
    EXPECT_NEAR(flap.incidence, -4.0f * kDegrees, 1e-6f);
    EXPECT_EQ(flap.dihedral, 0.0f);
    EXPECT_NEAR(flap.area, 1.6e-6f, 1e-12f);
    EXPECT_NEAR(a->Surface(kLeftWing).area + a->Surface(kRightWing).area, 12.4e-6f, 1e-12f);
    // Flaps up at the wings' incidence, down at 15 degrees.
    EXPECT_FLOAT_EQ(a->FlapAngle(), 4.0f * kDegrees);
    EXPECT_FLOAT_EQ(a->FlapMax(), 15.0f * kDegrees);
    // The nose plate stands 1.5 m ahead of the centre of gravity, which the trainer's file
    // puts 1 m behind its datum: the datum does not enter the steering lever.
    EXPECT_NEAR(a->WheelBase(), 0.0015f, 1e-7f);
    // Still trimmed for level flight, upright.
    EXPECT_GT(a->Airspeed(), 100.0f);
    EXPECT_NEAR(a.Top().y, 1.0f, 1e-4f);
    // A missing description leaves an aircraft without plates, mass or wheel base.
    a->LoadText(FSMemoryBlock());
    EXPECT_EQ(a->GetMass() + a->WheelBase() + a->Surface(CSPAircraft::kFlapSurface).area, 0.0f);
}

TEST_F(GameAircraftTest, FlapsTravelIn160SubStepsBetweenTheirEndsAndBrakesInFive) {
    // The trainer, and one whose wings are set steeper than full flap, so that the flaps'
    // retracted end lies above the extended one: they still stop at either end.
    std::string steep = kTrainer;
    for (const std::string wing : {"LeftWing 1.0 0 -2.8 -4", "RightWing 1.0 0 2.8 -4"})
        steep.replace(steep.find(wing), wing.size(), wing + "0");
    for (const std::string& text : {std::string(kTrainer), steep}) {
        GameAircraft a(text);
        EXPECT_TRUE(a->HandleCommand(kCommandFlapsToggle, 0));
        int steps = 1;
        for (; a->FlapAngle() != a->FlapMax() && steps < 1000; ++steps)
            a->SetFlaps(true);
        EXPECT_NEAR(steps, 160, 1);
        for (int i = 0; i < 50; ++i)
            a->SetFlaps(true);
        EXPECT_FLOAT_EQ(a->Surface(CSPAircraft::kFlapSurface).incidence, -15.0f * kDegrees);
        // The force model moves them a step per sub-step: 40 frames of 4 sub-steps back up.
        a->HandleCommand(kCommandFlapsToggle, 0);
        for (int frame = 0; frame < 39; ++frame)
            a->Integrate(kFrameStep);
        EXPECT_NE(a->FlapAngle(), a->FlapMin());
        for (int frame = 0; frame < 20; ++frame)
            a->Integrate(kFrameStep);
        EXPECT_FLOAT_EQ(a->Surface(CSPAircraft::kFlapSurface).incidence, -a->FlapMin());
        EXPECT_FALSE(a->IsFlaps());
    }
    // Held brakes rise by a fifth of full each command or sub-step; released they fall.
    GameAircraft a;
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(a->HandleCommand(kCommandBrakes, 0));
    EXPECT_FLOAT_EQ(a->BrakeLevel(), 7.2f);
    a->ComputeForces();
    a->ComputeForces();
    EXPECT_EQ(a->BrakeLevel(), CSPAircraft::kBrakeMax);
    EXPECT_TRUE(a->HandleCommand(kCommandBrakesReleased, 0));
    EXPECT_FLOAT_EQ(a->BrakeLevel(), 7.2f);
    EXPECT_FALSE(a->IsBrakes());
}

TEST_F(GameAircraftTest, TheInstructorUndoesThePlayersCommandsButNotTheBrakes) {
    GameAircraft a;
    a->SetRollControl(0.05f);
    a->SetAutopilot(true);
    EXPECT_TRUE(a->HandleCommand(kCommandInstructorToggle, 0));
    ASSERT_TRUE(a->IsInstructor());
    // Taking over: autopilot off, controls centred.
    EXPECT_FALSE(a->IsAutopilot());
    EXPECT_EQ(a->GetRollControl(), 0.0f);
    // An aileron command is carried out and at once undone; so are the autopilot and the
    // flaps. Other codes are not the aircraft's.
    EXPECT_TRUE(a->HandleCommand(kCommandAileronLeft, 0));
    EXPECT_EQ(a->Surface(kLeftAileron).incidence, 0.0f);
    a->ComputeForces();
    EXPECT_EQ(a->GetRollControl(), 0.0f);  // level: the instructor wants no aileron
    EXPECT_TRUE(a->HandleCommand(kCommandAutopilotToggle, 0));
    EXPECT_TRUE(a->HandleCommand(kCommandFlapsToggle, 0));
    EXPECT_FALSE(a->IsAutopilot() || a->IsFlaps());
    EXPECT_FALSE(a->HandleCommand(31, 0));  // "change view" is the controller's
    // Held brakes stay the player's.
    a->HandleCommand(kCommandBrakes, 0);
    EXPECT_TRUE(a->IsBrakes() && a->IsInstructor());
    // Leaving the instructor in the air hands over to the autopilot, but not on the ground.
    EXPECT_TRUE(a->HandleCommand(kCommandInstructorToggle, 0));
    EXPECT_FALSE(a->IsInstructor());
    EXPECT_TRUE(a->IsAutopilot());
    UseTerrain(FlatTerrainFile(kGround));
    GameAircraft parked(kTrainer, kGround + kClearance);
    ASSERT_TRUE(parked->GroundContact(true));
    parked->SetInstructor(true);
    parked->SetInstructor(false);
    EXPECT_FALSE(parked->IsAutopilot());
}

TEST_F(GameAircraftTest, TheInstructorFliesLevelAndNearTheGroundPullsUpAndAddsPower) {
    struct Case {
        float height;  // km above the ground
        bool terrain;
        float noseUp, roll;  // rad
        bool pulls;
    };
    // Below 0.6 km it pulls and adds power, the harder the lower; higher up, without a
    // terrain or with the nose already above a climb attitude it only flies level, and
    // levels a bank (right wing up).
    const Case cases[] = {{0.1f, true, 0.0f, 0.0f, true},
                          {0.3f, true, 0.0f, 0.0f, true},
                          {1.2f, true, 0.0f, -0.5f, false},
                          {0.1f, false, 0.0f, 0.0f, false},
                          {0.1f, true, 0.2f, 0.0f, false}};
    float climbs[2] = {0.0f, 0.0f};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.height << " " << c.terrain << " " << c.noseUp);
        ResetApplicationContext();
        if (c.terrain) UseTerrain(FlatTerrainFile(kGround));
        GameAircraft a(kTrainer, kGround + c.height);
        flight_test::Tilt(*a.node, c.noseUp, c.roll);
        const float trimmed = a->ThrottleFraction();
        a->HandleCommand(kCommandInstructorToggle, 0);
        a->ComputeForces();
        // The pull is on the elevator's plate at once.
        const float elevator = a->Surface(kElevator).incidence;
        EXPECT_EQ(elevator, a->GetPitchControl());
        if (c.pulls) {
            EXPECT_GT(elevator, 0.1f);
            EXPECT_GE(a->ThrottleFraction(), 1.0f - c.height / CSPAircraft::kSafeHeight - 1e-6f);
        } else {
            EXPECT_LE(elevator, 0.0f);
        }
        const float start = a.HeightAboveGround();
        for (int frame = 0; frame < 100; ++frame)  // 20 s
            ASSERT_TRUE(a.Fly()) << frame;
        EXPECT_FALSE(a->IsTakingOff());
        EXPECT_FALSE(a->IsStalling());
        float pitch = 0.0f, bank = 0.0f;
        a->Attitude(pitch, bank);
        EXPECT_NEAR(bank, 0.0f, 0.02f);
        const float climb = a.HeightAboveGround() - start;
        if (c.pulls) {
            climbs[&c - cases] = climb;
        } else if (c.noseUp == 0.0f) {
            EXPECT_NEAR(pitch, 0.0f, 0.02f);
            EXPECT_NEAR(climb, 0.0f, 0.02f);
            EXPECT_NEAR(a->ThrottleFraction(), trimmed, 0.03f);
        }
    }
    EXPECT_GT(climbs[1], 0.03f);
    EXPECT_GT(climbs[0], climbs[1]);
}

TEST_F(GameAircraftTest, CreationForAFlightLoadsTheTypeAndAttachesDamageAndKind) {
    // An aircraft archive made with Info-ZIP's zip, holding the trainer as "Aircraft3.txt"
    // with its touch-down limits, and as "Aircraft2.txt" with a damaged line of them.
    const std::string folder = testing_support::MakeTempFolder("aircraft-archive");
    using namespace image_test_files;
    ASSERT_TRUE(WriteText(folder + "/Aircraft3.txt", std::string(kTrainer) + "Damage 3 6 20 100\n") &&
                WriteText(folder + "/Aircraft2.txt", std::string(kTrainer) + "Damage nan -6 20\n") &&
                Zip(folder, "-X", folder + "/aircrafts.zip", "Aircraft*.txt"));
    SineTable sine;
    for (const int index : {2, 1, 0}) {  // the trainer twice; a type not in the archive
        AircraftNode node;
        node.Place({0, FloatToFixed(6.0f), 0});
        CSPAircraft& aircraft =
            CreateFlightAircraft(node, FSVector(), index, sine, folder + "/aircrafts.zip");
        EXPECT_EQ(node.GetMoveableAs<CSPAircraft>(), &aircraft);
        EXPECT_EQ(PropertyKindOf(node), kPropertyPlayerAircraft);
        // Harmless up to the line's 3 m/s of sink, wrecked by 6 m/s; without sound figures
        // in proportion to the mass: harmless up to 3 g over a frame's 0.2 s, health for 4 g.
        // Destroyed returning 10 g. The missing type neither flies nor breaks.
        const float mass = index > 0 ? 917.0f : 0.0f, g = mass * 0.2f * 0.00980665f;
        EXPECT_FLOAT_EQ(aircraft.GetMass(), mass);
        const MFSDamageable* damage = DamageOf(node);
        ASSERT_NE(damage, nullptr);
        EXPECT_FLOAT_EQ(damage->threshold, index == 2 ? mass * 0.7f * 0.003f : 3.0f * g);
        EXPECT_FLOAT_EQ(damage->health, index == 2 ? mass * 0.7f * 0.006f : 4.0f * g);
        EXPECT_EQ(damage->maxHealth, damage->health);
        EXPECT_FLOAT_EQ(damage->fatalValue, 10.0f * g);
        EXPECT_EQ(damage->noShatter + damage->smoking, 0);
        // Twice the landing speed of 100 km/h doubles a sink; a wing tip meets the ground
        // at 20 degrees of bank (the damaged line's tip bank stands, its speed is missing).
        EXPECT_FLOAT_EQ(aircraft.TouchdownSink(0.001f, 200.0f / 3600.0f, 0.0f), index == 2 ? 0.002f : 0.001f);
        EXPECT_FLOAT_EQ(aircraft.TouchdownSink(0.001f, 0.01f, 0.35f), index > 0 ? 0.01f : 0.001f);
        aircraft.Integrate(kFrameStep);
        EXPECT_TRUE(std::isfinite(aircraft.GetVelocity().y));
        EXPECT_EQ(aircraft.Airspeed() > 100.0f, index > 0);
    }
}

}  // namespace
}  // namespace game_test
