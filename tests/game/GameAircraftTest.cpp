// CSPAircraft: what its load derives, flaps and brakes, its commands, the instructor's
// hold on the controls, and the creation of the player's aircraft for a flight.
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "GameAircraftTestSupport.h"
#include "flight/FSFlightCommands.h"
#include "game/MSPProperty.h"
#include "support/TestSupport.h"
#include "world/FSDamageable.h"

namespace game_test {
namespace {

constexpr float kDegrees = 0.017453292f;

TEST_F(GameAircraftTest, LoadMakesTheFlapsFromTheWingsAndMeasuresTheWheelBase) {
    GameAircraft a;
    ASSERT_EQ(a->SurfaceCount(), 11);
    const AircraftSurface& flap = a->Surface(CSPAircraft::kFlapSurface);
    const AircraftSurface& left = a->Surface(kLeftWing);
    const AircraftSurface& right = a->Surface(kRightWing);
    // Between the wings, at their incidence, with the ailerons' 2 × 0.8 m², which the
    // wings (7 m² each as described) give up.
    EXPECT_EQ(flap.position, (left.position + right.position) * 0.5f);
    EXPECT_NEAR(flap.incidence, -4.0f * kDegrees, 1e-6f);
    EXPECT_EQ(flap.dihedral, 0.0f);
    EXPECT_NEAR(flap.area, 1.6e-6f, 1e-12f);
    EXPECT_NEAR(left.area, 6.2e-6f, 1e-12f);
    EXPECT_NEAR(right.area, 6.2e-6f, 1e-12f);
    // Flaps up at the wings' incidence, down at 15 degrees.
    EXPECT_FLOAT_EQ(a->FlapMin(), 4.0f * kDegrees);
    EXPECT_FLOAT_EQ(a->FlapMax(), 15.0f * kDegrees);
    EXPECT_FLOAT_EQ(a->FlapAngle(), a->FlapMin());
    // The nose plate stands 1.5 m ahead of the centre of gravity, whatever the datum.
    EXPECT_NEAR(a->WheelBase(), 0.0015f, 1e-7f);
    // Still trimmed for level flight, upright.
    EXPECT_GT(a->Airspeed(), 100.0f);
    EXPECT_NEAR(a.Top().y, 1.0f, 1e-4f);

    // A missing description leaves an aircraft without plates, mass or wheel base.
    GameAircraft missing("", 6.0f);
    missing->LoadText(FSMemoryBlock());
    EXPECT_EQ(missing->GetMass(), 0.0f);
    EXPECT_EQ(missing->WheelBase(), 0.0f);
    EXPECT_EQ(missing->Surface(CSPAircraft::kFlapSurface).area, 0.0f);
}

TEST_F(GameAircraftTest, FlapsTravelIn160SubStepsAndBrakesInFive) {
    GameAircraft a;
    const float up = -a->FlapMin();
    int steps = 0;
    a->SetFlaps(true);
    for (steps = 1; a->FlapAngle() < a->FlapMax() && steps < 1000; ++steps)
        a->SetFlaps(true);
    EXPECT_NEAR(steps, 160, 1);
    EXPECT_TRUE(a->IsFlaps());
    EXPECT_FLOAT_EQ(a->Surface(CSPAircraft::kFlapSurface).incidence, -15.0f * kDegrees);
    // The force model moves them a step per sub-step: 40 frames of 4 sub-steps back up.
    a->SetFlaps(false);
    for (int frame = 0; frame < 39; ++frame)
        a->Integrate(kFrameStep);
    EXPECT_GT(a->FlapAngle(), a->FlapMin());
    a->Integrate(kFrameStep);
    EXPECT_FLOAT_EQ(a->FlapAngle(), a->FlapMin());
    EXPECT_FLOAT_EQ(a->Surface(CSPAircraft::kFlapSurface).incidence, up);

    a->SetBrakes(true);
    for (int i = 0; i < 3; ++i)
        a->SetBrakes(true);
    EXPECT_FLOAT_EQ(a->BrakeLevel(), 7.2f);
    a->SetBrakes(true);
    a->SetBrakes(true);
    EXPECT_EQ(a->BrakeLevel(), CSPAircraft::kBrakeMax);
    a->SetBrakes(false);
    EXPECT_FLOAT_EQ(a->BrakeLevel(), 7.2f);
    EXPECT_FALSE(a->IsBrakes());
}

TEST_F(GameAircraftTest, FlapsOfWingsSetSteeperThanFullFlapStayBetweenTheirEnds) {
    std::string steep = kTrainer;
    steep.replace(steep.find("LeftWing 1.0 0 -2.8 -4"), 22, "LeftWing 1.0 0 -2.8 -20");
    steep.replace(steep.find("RightWing 1.0 0 2.8 -4"), 22, "RightWing 1.0 0 2.8 -20");
    GameAircraft a(steep);
    ASSERT_GT(a->FlapMin(), a->FlapMax());
    for (int i = 0; i < 400; ++i)
        a->SetFlaps(false);
    EXPECT_FLOAT_EQ(a->FlapAngle(), a->FlapMin());
    for (int i = 0; i < 400; ++i)
        a->SetFlaps(true);
    EXPECT_FLOAT_EQ(a->FlapAngle(), a->FlapMax());
    EXPECT_FLOAT_EQ(a->Surface(CSPAircraft::kFlapSurface).incidence, -a->FlapMax());
}

TEST_F(GameAircraftTest, CommandsForBrakesFlapsAndInstructorAndTheRestAsTheEngineAircraft) {
    GameAircraft a;
    EXPECT_TRUE(a->HandleCommand(kCommandBrakes, 0));
    EXPECT_TRUE(a->IsBrakes());
    EXPECT_TRUE(a->HandleCommand(kCommandBrakesReleased, 0));
    EXPECT_FALSE(a->IsBrakes());
    EXPECT_TRUE(a->HandleCommand(kCommandFlapsToggle, 0));
    EXPECT_TRUE(a->IsFlaps());
    EXPECT_GT(a->FlapAngle(), a->FlapMin());
    EXPECT_TRUE(a->HandleCommand(kCommandFlapsToggle, 0));
    EXPECT_FALSE(a->IsFlaps());
    EXPECT_TRUE(a->HandleCommand(kCommandAileronRight, 0));
    EXPECT_GT(a->GetRollControl(), 0.0f);
    EXPECT_FALSE(a->HandleCommand(31, 0));  // "change view" is the controller's
    EXPECT_FALSE(a->HandleCommand(-1, 0));
    EXPECT_TRUE(a->HandleCommand(kCommandInstructorToggle, 0));
    EXPECT_TRUE(a->IsInstructor());
    EXPECT_TRUE(a->HandleCommand(kCommandInstructorToggle, 0));
    EXPECT_FALSE(a->IsInstructor());
}

TEST_F(GameAircraftTest, TheInstructorUndoesThePlayersCommandsButNotTheBrakes) {
    GameAircraft a;
    a->SetRollControl(0.05f);
    a->SetAutopilot(true);
    a->HandleCommand(kCommandInstructorToggle, 0);
    ASSERT_TRUE(a->IsInstructor());
    // Taking over: autopilot off, controls centred.
    EXPECT_FALSE(a->IsAutopilot());
    EXPECT_EQ(a->GetRollControl(), 0.0f);

    // An aileron command is carried out and at once undone.
    EXPECT_TRUE(a->HandleCommand(kCommandAileronLeft, 0));
    EXPECT_EQ(a->GetRollControl(), 0.0f);
    EXPECT_EQ(a->Surface(kLeftAileron).incidence, 0.0f);
    a->ComputeForces();
    EXPECT_EQ(a->GetRollControl(), 0.0f);  // level: the instructor wants no aileron
    // So are the autopilot and the flaps.
    a->HandleCommand(kCommandAutopilotToggle, 0);
    EXPECT_FALSE(a->IsAutopilot());
    a->HandleCommand(kCommandFlapsToggle, 0);
    EXPECT_FALSE(a->IsFlaps());
    // Held brakes stay the player's.
    a->HandleCommand(kCommandBrakes, 0);
    EXPECT_TRUE(a->IsBrakes());
    EXPECT_TRUE(a->IsInstructor());

    // Leaving the instructor in the air hands over to the autopilot ...
    a->HandleCommand(kCommandInstructorToggle, 0);
    EXPECT_FALSE(a->IsInstructor());
    EXPECT_TRUE(a->IsAutopilot());

    // ... but not on the ground.
    UseTerrain(FlatTerrainFile(0.15f));
    GameAircraft parked(kTrainer, 0.15f + kClearance);
    ASSERT_TRUE(parked->GroundContact(true));
    parked->SetInstructor(true);
    parked->SetInstructor(false);
    EXPECT_FALSE(parked->IsAutopilot());
}

// An aircraft archive made with Info-ZIP's zip, holding the trainer as "Aircraft3.txt".
std::string TrainerArchive() {
    const std::string folder = testing_support::MakeTempFolder("aircraft-archive");
    {
        std::ofstream out(folder + "/Aircraft3.txt", std::ios::binary);
        out << kTrainer;
    }
    const std::string command = "cd '" + folder + "' && zip -q -X aircrafts.zip Aircraft3.txt";
    if (std::system(command.c_str()) != 0) return std::string();
    return folder + "/aircrafts.zip";
}

TEST_F(GameAircraftTest, CreationForAFlightLoadsTheTypeAndAttachesDamageAndKind) {
    const std::string archive = TrainerArchive();
    ASSERT_FALSE(archive.empty());
    SineTable sine;
    AircraftNode node;
    node.Place({0, FloatToFixed(6.0f), 0});
    CSPAircraft& aircraft = CreateFlightAircraft(node, FSVector(), 2, sine, archive);
    EXPECT_EQ(node.GetMoveableAs<CSPAircraft>(), &aircraft);
    const float mass = 917.0f;
    EXPECT_FLOAT_EQ(aircraft.GetMass(), mass);
    EXPECT_EQ(aircraft.SurfaceCount(), 11);
    EXPECT_GT(aircraft.Airspeed(), 100.0f);
    const MFSDamageable* damage = DamageOf(node);
    ASSERT_NE(damage, nullptr);
    EXPECT_FLOAT_EQ(damage->threshold, mass * 0.2f * 0.029419949f);
    EXPECT_FLOAT_EQ(damage->maxHealth, mass * 0.2f * 0.039226599f);
    EXPECT_FLOAT_EQ(damage->health, damage->maxHealth);
    EXPECT_FLOAT_EQ(damage->fatalValue, mass * 0.2f * 0.098066494f);
    EXPECT_EQ(damage->noShatter, 0);
    EXPECT_EQ(damage->smoking, 0);
    EXPECT_EQ(PropertyKindOf(node), kPropertyPlayerAircraft);
    ASSERT_NE(node.GetPropertyAs<MSPProperty>(), nullptr);
    node.GetPropertyAs<MSPProperty>()->Value() = kPropertyObstacle;
    EXPECT_EQ(PropertyKindOf(node), kPropertyObstacle);

    // Another type is not in the archive: an aircraft that neither flies nor breaks.
    AircraftNode other;
    other.Place({0, FloatToFixed(6.0f), 0});
    CSPAircraft& missing = CreateFlightAircraft(other, FSVector(), 0, sine, archive);
    EXPECT_EQ(missing.GetMass(), 0.0f);
    ASSERT_NE(DamageOf(other), nullptr);
    EXPECT_EQ(DamageOf(other)->health, 0.0f);
    missing.Integrate(kFrameStep);
    EXPECT_TRUE(std::isfinite(missing.GetVelocity().y));
}

}  // namespace
}  // namespace game_test
