// The force model, fuel, the read-outs and the initial trim of CFSAircraft.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "FlightTestSupport.h"
#include "flight/FSAircraftCurves.h"

using flight_test::BareNode;
using flight_test::kTrainer;
using flight_test::LoadedAircraft;
using flight_test::PlaceLevel;
using flight_test::TextBlock;

namespace {

constexpr float kG = 0.00980665f;

// World velocity of flight along the nose of a node placed by PlaceLevel (toward −z),
// meeting the air at angle (rad) from below.
FSVector LevelVelocity(float speed, float angle = 0.0f) {
    return FSVector(0.0f, -speed * std::sin(angle), -speed * std::cos(angle));
}

TEST(AircraftForces, SymmetricLevelFlightHasNoRollOrYawMomentAndNoSideForce) {
    LoadedAircraft trainer(kTrainer, 1.0f);
    trainer.settings.HoldControlsWhereSet();
    trainer->ComputeForces();
    const FSVector torque = trainer->GetTorque();
    // One wing's lift moment is about 4.5 kN × 0.0028 km.
    EXPECT_NEAR(torque.y, 0.0f, 1e-6f);
    EXPECT_NEAR(torque.z, 0.0f, 1e-6f);
    EXPECT_NEAR(trainer->GetForce().x, 0.0f, 1e-5f);
    // Right aileron down on the left, up on the right: a roll to the right.
    trainer->SetRollControl(0.1f);
    EXPECT_EQ(trainer->Surface(kLeftAileron).incidence, -0.1f);
    EXPECT_EQ(trainer->Surface(kRightAileron).incidence, 0.1f);
    trainer->ComputeForces();
    EXPECT_GT(trainer->GetTorque().y, 1e-4f);
}

TEST(AircraftForces, TrimmedFlightBalancesWeightAndDrag) {
    LoadedAircraft trainer(kTrainer, 1.0f);
    trainer->ComputeForces();
    const float weight = trainer->GetMass() * kG;
    EXPECT_NEAR(trainer->TotalLift(), weight, 0.01f * weight);
    EXPECT_NEAR(trainer->TotalDrag(), trainer->Thrust(), 0.01f * trainer->Thrust());
    // Lift and thrust cancel gravity and drag: almost no net force in level flight.
    EXPECT_LT(Length(trainer->GetForce()), 0.01f * weight);
}

TEST(AircraftForces, TheRightWingDecidesTheStallWarningAtTenDegrees) {
    struct Case {
        float left, right;
        bool stalling;
    };
    // Incidences in degrees; flying along the nose each wing meets the air at −incidence.
    for (const Case c : {Case{-5.0f, -10.5f, true}, Case{-12.0f, -9.5f, false}, Case{-2.0f, 10.5f, true},
                         Case{-9.9f, -9.9f, false}}) {
        const std::string text = "LeftWing 0 0 -3 " + std::to_string(c.left) + " 0 7\nRightWing 0 0 3 " +
                                 std::to_string(c.right) + " 0 7\nMass 800\n";
        LoadedAircraft aircraft(text, 0.0f, LevelVelocity(0.05f));
        aircraft->ComputeForces();
        EXPECT_EQ(aircraft->IsStalling(), c.stalling) << c.left << " " << c.right;
    }
    // The flow decides, not the incidence alone: a level wing met from 11 degrees below.
    LoadedAircraft climbing("LeftWing 0 0 -3 0 0 7\nRightWing 0 0 3 0 0 7\nMass 800\n", 0.0f,
                            LevelVelocity(0.05f, 11.0f * 0.017453292f));
    climbing->ComputeForces();
    EXPECT_TRUE(climbing->IsStalling());
    // With no air flowing over the wings the warning stays as it was.
    climbing->SetVelocity(FSVector());
    climbing->ComputeForces();
    EXPECT_TRUE(climbing->IsStalling());
}

TEST(AircraftForces, StandingStillWithoutThrustOnlyGravityActs) {
    // At altitude 0 no trim runs: the aircraft stands still, engine off.
    LoadedAircraft trainer(kTrainer, 0.0f);
    ASSERT_EQ(trainer->GetVelocity(), FSVector());
    ASSERT_EQ(trainer->GetThrottle(), 0.0f);
    const float mass = trainer->GetMass();
    trainer->ComputeForces();
    EXPECT_EQ(trainer->GetForce(), FSVector(0.0f, -mass * kG, 0.0f));
    EXPECT_EQ(trainer->GetTorque(), FSVector());
    // One sub-step: it falls at g, neither sliding nor turning.
    trainer->Integrate(0.04f);
    EXPECT_EQ(trainer->GetVelocity(), FSVector(0.0f, -kG * 0.04f, 0.0f));
    EXPECT_EQ(trainer->GetAngularVelocity(), FSVector());
    EXPECT_LT(trainer.node->GetPosition().y, trainer.node->GetPreviousPosition().y);

    // Without plates it keeps falling at g.
    LoadedAircraft brick("Mass 1000\nInertia 1000 1000 1000\n", 0.0f);
    for (int i = 0; i < 5; ++i)
        brick->Integrate(0.2f);
    EXPECT_NEAR(brick->GetVelocity().y, -kG * 1.0f, 1e-6f);
    EXPECT_EQ(brick->GetVelocity().x, 0.0f);
    EXPECT_EQ(brick->GetVelocity().z, 0.0f);
    EXPECT_NEAR(brick->VerticalSpeed(), -9.80665f, 1e-3f);
}

TEST(AircraftForces, ThrustThinsWithTheAir) {
    for (const float altitude : {0.0f, 5.0f}) {
        LoadedAircraft trainer(kTrainer, altitude, LevelVelocity(0.05f));
        trainer->SetThrottle(1.5f);
        trainer->ComputeForces();
        EXPECT_FLOAT_EQ(trainer->Thrust(), 1.5f * ModelAirDensity(altitude) / ModelAirDensity(0.0f))
            << altitude;
    }
}

TEST(AircraftForces, FuelBurnsWithThrottleAndStopsAtTheReserve) {
    LoadedAircraft trainer(kTrainer, 1.0f);
    trainer->SetThrottle(trainer->ThrottleMax());
    const float mass = trainer->GetMass();
    trainer->Integrate(0.2f);
    // Full throttle: 0.02 kg/s for 0.2 s; the mass follows the fuel.
    EXPECT_NEAR(trainer->Fuel(), 150.0f - 0.004f, 1e-4f);
    EXPECT_NEAR(trainer->GetMass(), mass - 0.004f, 1e-4f);

    // The burn ends exactly at the reserve.
    trainer->SetFuelFraction(10.001f / 150.0f);
    trainer->Integrate(0.2f);
    EXPECT_EQ(trainer->Fuel(), 10.0f);
    EXPECT_EQ(trainer->GetMass(), 767.0f + 10.0f);

    // At the reserve any throttle command is overridden at the next step and the engine
    // gives no thrust; nothing more burns.
    trainer->ThrottleUp();
    EXPECT_GT(trainer->GetThrottle(), 0.0f);
    trainer->ComputeForces();
    EXPECT_EQ(trainer->GetThrottle(), trainer->ThrottleMin());
    EXPECT_EQ(trainer->Thrust(), 0.0f);
    EXPECT_EQ(trainer->Fuel(), 10.0f);
    EXPECT_EQ(trainer->GetMass(), 777.0f);

    // At the reserve the engine idles: its minimum setting, thinning with the air.
    LoadedAircraft jet("Throttle 500 3000 0.1\nFuel 20 100 0.5\nMass 2000\n", 1.0f, LevelVelocity(0.1f));
    jet->SetFuelFraction(0.2f);
    jet->SetThrottle(3.0f);
    jet->ComputeForces();
    EXPECT_EQ(jet->GetThrottle(), 0.5f);
    EXPECT_FLOAT_EQ(jet->Thrust(), 0.5f * ModelAirDensity(1.0f) / ModelAirDensity(0.0f));
    // Reverse thrust (a setting below 0) burns fuel too; it never fills the tank.
    LoadedAircraft reverse("Throttle -500 2000 0.1\nFuel 10 100 0.5\nMass 900\n", 1.0f, LevelVelocity(0.05f));
    reverse->SetThrottle(-0.5f);
    reverse->Integrate(0.2f);
    EXPECT_FLOAT_EQ(reverse->Fuel(), 100.0f - 0.25f * 0.5f * 0.2f);
    EXPECT_FLOAT_EQ(reverse->GetMass(), 900.0f + reverse->Fuel());
}

TEST(AircraftForces, FuelWithoutAThrottleRangeBurnsNothingAndStaysANumber) {
    LoadedAircraft aircraft("Mass 900\nFuel 10 100 0.05\n", 1.0f, LevelVelocity(0.05f));
    aircraft->Integrate(0.2f);
    EXPECT_EQ(aircraft->Fuel(), 100.0f);
    EXPECT_EQ(aircraft->GetMass(), 1000.0f);
    EXPECT_EQ(aircraft->ThrottleFraction(), 0.0f);
    EXPECT_EQ(aircraft->ThrustFraction(), 0.0f);
}

TEST(AircraftForces, ReadOuts) {
    LoadedAircraft trainer(kTrainer, 0.0f, LevelVelocity(0.05f));
    // Along the nose axis the node keeps in 16.16.
    EXPECT_NEAR(trainer->Airspeed(), 180.0f, 0.01f);
    EXPECT_EQ(trainer->Altitude(), 0.0f);
    trainer->SetVelocity(FSVector(0.0f, 0.002f, 0.05f));  // flying backwards, climbing
    EXPECT_EQ(trainer->Airspeed(), 0.0f);
    EXPECT_FLOAT_EQ(trainer->VerticalSpeed(), 2.0f);
    trainer.node->Place({0, FloatToFixed(6.25f), 0});
    EXPECT_FLOAT_EQ(trainer->Altitude(), 1.25f);
    trainer->SetThrottle(0.5f);
    EXPECT_FLOAT_EQ(trainer->ThrottleFraction(), 0.25f);
    EXPECT_FLOAT_EQ(trainer->ThrustFraction(), 0.25f);
    // The look direction is the nose until the controls turn the look vector.
    EXPECT_NEAR(trainer->LookDirection().z, -1.0f, 1e-5f);
    trainer->SetLookAround(1);
    EXPECT_EQ(trainer->GetLookAround(), 1);
    trainer->SetLookAround(0);
    EXPECT_EQ(trainer->GetLookVector(), FSVector(0.0f, 1.0f, 0.0f));
}

TEST(AircraftForces, FuelFractionOutsideZeroToOneIsRefused) {
    LoadedAircraft trainer(kTrainer, 0.0f);
    trainer->SetFuelFraction(0.5f);
    EXPECT_EQ(trainer->Fuel(), 75.0f);
    EXPECT_EQ(trainer->GetMass(), 767.0f + 75.0f);
    for (const float bad : {-0.1f, 1.01f, std::numeric_limits<float>::quiet_NaN()}) {
        trainer->SetFuelFraction(bad);
        EXPECT_EQ(trainer->Fuel(), 75.0f) << bad;
        EXPECT_EQ(trainer->GetMass(), 842.0f) << bad;
    }
    trainer->SetFuelFraction(0.0f);
    EXPECT_EQ(trainer->GetMass(), 767.0f);
}

TEST(AircraftForces, TinyCrossFlowLeavesTheFuselagePlatesFlat) {
    // Body velocity (u.x, 0.05, −3): the fuselage plates turn by atan2(−u.x, 3), narrowed with
    // the near-zero rule.
    for (const float side : {2e-6f, 2e-5f}) {
        LoadedAircraft trainer(kTrainer, 0.0f, FSVector(-side, -3.0f, -0.05f));
        trainer->ComputeForces();
        const float dihedral = trainer->Surface(kFuselageNose).dihedral;
        if (side < 1e-5f) {
            EXPECT_EQ(dihedral, 0.0f);
        } else {
            EXPECT_NEAR(dihedral, side / 3.0f, 1e-7f);
        }
        EXPECT_EQ(trainer->Surface(kFuselageTail).dihedral, dihedral);
    }
}

TEST(AircraftTrim, StartsInLevelFlightWhereLiftCarriesTheWeight) {
    LoadedAircraft trainer(kTrainer, 1.0f);
    float area = 0.0f, lift = 0.0f, drag = 0.0f;
    for (int i = 0; i < kBaseSurfaceCount; ++i) {
        const AircraftSurface& s = trainer->Surface(i);
        area += s.area;
        lift += s.area * LiftCoefficient(-s.incidence);
        drag += s.area * DragCoefficient(-s.incidence);
    }
    const float weight = trainer->GetMass() * kG;
    const float density = ModelAirDensity(1.0f);
    const FSVector v = trainer->GetVelocity();
    const float speed = Length(v);
    // W = ½ρV²S·cl and thrust = drag at that speed.
    EXPECT_NEAR(0.5f * density * speed * speed * lift, weight, 1e-4f * weight);
    EXPECT_NEAR(trainer->Thrust(), drag / lift * weight, 1e-6f);
    EXPECT_NEAR(trainer->GetThrottle(), trainer->Thrust() * ModelAirDensity(0.0f) / density, 1e-6f);
    // Along the nose (world −z for this node).
    EXPECT_EQ(v.x, 0.0f);
    EXPECT_NEAR(v.y, 0.0f, 1e-7f);
    EXPECT_NEAR(v.z, -speed, 1e-7f);
    EXPECT_FALSE(trainer->IsAutopilot());
}

TEST(AircraftTrim, ActsOnlyFromAStandstillAwayFromAltitudeZero) {
    LoadedAircraft ground(kTrainer, 0.0f);
    EXPECT_EQ(ground->GetVelocity(), FSVector());
    EXPECT_EQ(ground->GetThrottle(), 0.0f);
    LoadedAircraft moving(kTrainer, 1.0f, LevelVelocity(0.03f));
    EXPECT_EQ(moving->GetVelocity(), LevelVelocity(0.03f));
    EXPECT_EQ(moving->GetThrottle(), 0.0f);
    // Below altitude 0 the air is as at sea level; the trim acts there too.
    LoadedAircraft low(kTrainer, -0.1f);
    EXPECT_GT(low->Airspeed(), 0.0f);
}

TEST(AircraftTrim, WithoutAirTheAutopilotTakesOver) {
    LoadedAircraft high(kTrainer, 45.0f);
    EXPECT_TRUE(high->IsAutopilot());
    EXPECT_EQ(high->GetVelocity(), FSVector());
}

TEST(AircraftTrim, TheThrottleStaysInItsRange) {
    const std::string weak = std::string(kTrainer) + "Throttle 100 600 0.1\n";
    LoadedAircraft aircraft(weak, 1.0f);
    EXPECT_EQ(aircraft->GetThrottle(), 0.6f);
    EXPECT_GT(aircraft->Thrust(), 0.6f);  // what level flight would need
    const std::string strong = std::string(kTrainer) + "Throttle 1800 3000 0.1\n";
    LoadedAircraft idle(strong, 1.0f);
    EXPECT_EQ(idle->GetThrottle(), 1.8f);
}

TEST(AircraftTrim, NoLevelFlightWithoutLiftingPlates) {
    // No plates at all, or plates that only push down when flown along the nose.
    for (const char* text : {"Mass 800\n", "Mass 800\nLeftWing 0 0 -3 5 0 7\nRightWing 0 0 3 5 0 7\n"}) {
        LoadedAircraft aircraft(text, 1.0f);
        EXPECT_EQ(aircraft->GetVelocity(), FSVector()) << text;
        EXPECT_EQ(aircraft->GetThrottle(), 0.0f) << text;
        EXPECT_TRUE(std::isfinite(aircraft->Thrust())) << text;
    }
}

// Records the pilot aids and control operations that the force model runs.
class ControlLog : public CFSAircraft {
public:
    using CFSAircraft::CFSAircraft;
    void Set(bool autopilotOn, bool levellerOn, std::vector<bool> flags) {
        autopilot = autopilotOn;
        leveller = levellerOn;
        bool* fields[] = {&aileronLeft,      &aileronRight, &aileronCentring, &elevatorUp,    &elevatorDown,
                          &elevatorCentring, &rudderLeft,   &rudderRight,     &rudderCentring};
        for (size_t i = 0; i < flags.size(); ++i)
            *fields[i] = flags[i];
    }
    void AutopilotStep() override { log.push_back("autopilot"); }
    void LevellerStep() override { log.push_back("leveller"); }
    void AileronLeft() override { log.push_back("aileron left"); }
    void AileronRight() override { log.push_back("aileron right"); }
    void CentreAileron() override {
        log.push_back("centre aileron");
        aileronLeft = true;  // a flag changed by one step is seen by the next test
    }
    void ElevatorUp() override {
        log.push_back("elevator up");
        elevatorCentring = false;
    }
    void ElevatorDown() override { log.push_back("elevator down"); }
    void CentreElevator() override { log.push_back("centre elevator"); }
    void RudderLeft() override { log.push_back("rudder left"); }
    void RudderRight() override { log.push_back("rudder right"); }
    void CentreRudder() override { log.push_back("centre rudder"); }
    std::vector<std::string> log;
};

TEST(AircraftForces, RunsThePilotAidsAndTheHeldControlsFirstInTheirOrder) {
    SineTable sine;
    BareNode node;
    ControlLog aircraft(node, FSVector(), sine);
    // A new aircraft centres the ailerons and the rudder; the elevator's centring flag
    // only ends, without a move.
    aircraft.ComputeForces();
    EXPECT_EQ(aircraft.log, (std::vector<std::string>{"centre aileron", "aileron left", "centre rudder"}));
    // The elevator's held flags are not read.
    aircraft.log.clear();
    aircraft.Set(true, true, {false, true, false, true, true, false, true, true, false});
    aircraft.ComputeForces();
    EXPECT_EQ(aircraft.log, (std::vector<std::string>{"autopilot", "leveller", "aileron right", "rudder left",
                                                      "rudder right"}));
}

}  // namespace
