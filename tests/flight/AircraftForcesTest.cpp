// The force model of CFSAircraft with its lift and drag curves and the air density it
// flies in, fuel, the read-outs and the initial trim.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "FlightTestSupport.h"
#include "flight/FSAircraftCurves.h"
#include "world/FSAtmosphere.h"

using flight_test::kG;
using flight_test::kTrainer;
using flight_test::LevelVelocity;
using flight_test::LoadedAircraft;

namespace {

float Degrees(float d) {
    return d * 0.017453292f;
}

TEST(AircraftCurves, LiftPeaksAtFifteenDegreesAndIsOddWhileDragIsEven) {
    struct Point {
        float degrees, lift, drag;
    };
    // Breakpoints and points between them (interpolated linearly); the drag includes the
    // 0.025 every plate has.
    for (const Point p :
         {Point{0.0f, 0.0f, 0.025f}, Point{5.0f, 0.4314f, 0.03545f}, Point{15.0f, 1.0314f, 0.0827f},
          Point{16.0f, 0.8058f, 0.16205f}, Point{17.0f, 0.5802f, 0.2414f}, Point{90.0f, 0.0744f, 1.8627f}}) {
        EXPECT_NEAR(LiftCoefficient(Degrees(p.degrees)), p.lift, 1e-5f) << p.degrees;
        EXPECT_NEAR(LiftCoefficient(Degrees(-p.degrees)), -p.lift, 1e-5f) << p.degrees;
        EXPECT_NEAR(DragCoefficient(Degrees(p.degrees)), p.drag, 1e-5f) << p.degrees;
        EXPECT_EQ(DragCoefficient(Degrees(-p.degrees)), DragCoefficient(Degrees(p.degrees))) << p.degrees;
    }
    // Lift keeps rising past the stall warning angle (10 degrees) up to 15 degrees.
    EXPECT_GT(LiftCoefficient(Degrees(12.0f)), LiftCoefficient(Degrees(10.0f)));
    EXPECT_GT(LiftCoefficient(Degrees(14.9f)), LiftCoefficient(Degrees(12.0f)));
}

TEST(AircraftCurves, FlowFromBehindAndAnglesOffTheTableGiveNoLiftAndBaseDrag) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const float angle : {3.14159265f, -3.14159265f, 4.0f, -7.0f, nan}) {
        EXPECT_EQ(LiftCoefficient(angle), 0.0f) << angle;
        EXPECT_EQ(DragCoefficient(angle), 0.025f) << angle;
    }
    // Just short of 180 degrees the table runs down to 0.
    EXPECT_NEAR(LiftCoefficient(Degrees(179.9f)), -0.8132f * 0.01f, 1e-3f);
}

TEST(AirDensity, FollowsTheStandardAtmosphereAndEndsAtFortyKilometres) {
    // The standard atmosphere's density (kg/m³) at some heights (m), within 1 %.
    struct Sample {
        float metres, density;
    };
    for (const Sample s : {Sample{0.0f, 1.2250f}, Sample{1000.0f, 1.1117f}, Sample{3000.0f, 0.9093f},
                           Sample{5000.0f, 0.7364f}, Sample{8000.0f, 0.5258f}, Sample{11000.0f, 0.3639f}})
        EXPECT_NEAR(AirDensity(s.metres), s.density, 0.01f * s.density) << s.metres;
    // Thinning all the way up, to nothing at 40 km; below 0 m as at sea level.
    for (float metres = 0.0f; metres < 40000.0f; metres += 500.0f)
        EXPECT_LT(AirDensity(metres + 500.0f), AirDensity(metres)) << metres;
    EXPECT_EQ(AirDensity(-5.0f), AirDensity(0.0f));
    EXPECT_EQ(AirDensity(40000.0f), 0.0f);
    EXPECT_EQ(AirDensity(45000.0f), 0.0f);
    // The model reads it by altitude in km, in kg/km³.
    EXPECT_NEAR(ModelAirDensity(3.0f), AirDensity(3000.0f) * 1e9f, 1e-5f * ModelAirDensity(3.0f));
    EXPECT_EQ(ModelAirDensity(45.0f), 0.0f);
}

TEST(AircraftForces, TrimmedSymmetricFlightBalancesAndOnlyTheAileronsRollIt) {
    LoadedAircraft trainer(kTrainer, 1.0f);
    trainer.settings.HoldControlsWhereSet();
    trainer->ComputeForces();
    // Lift and thrust cancel gravity and drag: almost no net force in level flight, and
    // no roll or yaw moment or side force (one wing's lift moment is about 4.5 kN × 2.8 m).
    const float weight = trainer->GetMass() * kG;
    EXPECT_NEAR(trainer->TotalLift(), weight, 0.01f * weight);
    EXPECT_NEAR(trainer->TotalDrag(), trainer->Thrust(), 0.01f * trainer->Thrust());
    EXPECT_LT(Length(trainer->GetForce()), 0.01f * weight);
    EXPECT_NEAR(trainer->GetTorque().y, 0.0f, 1e-6f);
    EXPECT_NEAR(trainer->GetTorque().z, 0.0f, 1e-6f);
    EXPECT_NEAR(trainer->GetForce().x, 0.0f, 1e-5f);
    // Each control turns the aircraft its own way: up elevator raises the nose (body x),
    // right aileron (left aileron down, right up) rolls to the right (body y), right
    // rudder swings the nose to the right (body z, negative).
    struct Control {
        void (CFSAircraft::*set)(float);
        int axis;
        float sign;
    };
    for (const Control c :
         {Control{&CFSAircraft::SetPitchControl, 0, 1.0f}, Control{&CFSAircraft::SetRollControl, 1, 1.0f},
          Control{&CFSAircraft::SetYawControl, 2, -1.0f}}) {
        LoadedAircraft turned(kTrainer, 1.0f);
        turned.settings.HoldControlsWhereSet();
        ((*turned).*c.set)(0.1f);
        turned->ComputeForces();
        FSVector torque = turned->GetTorque();
        EXPECT_GT(c.sign * torque[c.axis], 1e-4f) << c.axis;
        // Pitching neither rolls nor yaws.
        EXPECT_TRUE(c.axis != 0 || std::fabs(torque.y) + std::fabs(torque.z) < 1e-6f);
    }
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
    EXPECT_TRUE(flight_test::Near(brick->GetVelocity(), FSVector(0.0f, -kG, 0.0f)));
    EXPECT_NEAR(brick->VerticalSpeed(), -9.80665f, 1e-3f);
}

TEST(AircraftForces, FuelBurnsWithThrottleAndAtTheReserveTheEngineIdles) {
    // Full throttle: 0.02 kg/s for 0.2 s; the mass follows the fuel. The burn ends exactly
    // at the reserve.
    LoadedAircraft trainer(kTrainer, 1.0f);
    trainer->SetThrottle(trainer->ThrottleMax());
    trainer->Integrate(0.2f);
    EXPECT_NEAR(trainer->Fuel(), 150.0f - 0.004f, 1e-4f);
    EXPECT_EQ(trainer->GetMass(), 767.0f + trainer->Fuel());
    trainer->SetFuelFraction(10.001f / 150.0f);
    trainer->Integrate(0.2f);
    EXPECT_EQ(trainer->Fuel(), 10.0f);
    EXPECT_EQ(trainer->GetMass(), 767.0f + 10.0f);

    // At the reserve any throttle setting falls back to the minimum at the next step, and
    // the engine idles there, its thrust thinning with the air; nothing more burns.
    LoadedAircraft jet("Throttle 500 3000 0.1\nFuel 20 100 0.5\nMass 2000\n", 5.0f, LevelVelocity(0.1f));
    jet->SetFuelFraction(0.2f);
    jet->ThrottleUp();
    jet->ComputeForces();
    EXPECT_EQ(jet->GetThrottle(), 0.5f);
    EXPECT_FLOAT_EQ(jet->Thrust(), 0.5f * ModelAirDensity(5.0f) / ModelAirDensity(0.0f));
    EXPECT_EQ(jet->Fuel(), 20.0f);
    EXPECT_EQ(jet->GetMass(), 2020.0f);

    // Reverse thrust (a setting below 0) burns fuel too; it never fills the tank.
    LoadedAircraft reverse("Throttle -500 2000 0.1\nFuel 10 100 0.5\nMass 900\n", 1.0f, LevelVelocity(0.05f));
    reverse->SetThrottle(-0.5f);
    reverse->Integrate(0.2f);
    EXPECT_FLOAT_EQ(reverse->Fuel(), 100.0f - 0.25f * 0.5f * 0.2f);
    EXPECT_FLOAT_EQ(reverse->GetMass(), 900.0f + reverse->Fuel());
    // Without a throttle range the engine has no fraction to burn by.
    LoadedAircraft engineless("Mass 900\nFuel 10 100 0.05\n", 1.0f, LevelVelocity(0.05f));
    engineless->Integrate(0.2f);
    EXPECT_EQ(engineless->Fuel(), 100.0f);
    EXPECT_EQ(engineless->ThrustFraction(), 0.0f);
}

TEST(AircraftForces, ReadOutsAndTheFuelFraction) {
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
    EXPECT_FLOAT_EQ(trainer->ThrustFraction(), 0.25f);
    EXPECT_NEAR(trainer->LookDirection().z, -1.0f, 1e-5f);  // the nose, not looking around

    // A fuel fraction outside 0 .. 1 (or not a number) is refused.
    for (const float fraction : {0.5f, -0.1f, 1.01f, std::numeric_limits<float>::quiet_NaN()})
        trainer->SetFuelFraction(fraction);
    EXPECT_EQ(trainer->Fuel(), 75.0f);
    EXPECT_EQ(trainer->GetMass(), 767.0f + 75.0f);
}

TEST(AircraftForces, TinyCrossFlowLeavesTheFuselagePlatesFlat) {
    // Body velocity (u.x, 0.05, −3): the fuselage plates turn by atan2(−u.x, 3), narrowed with
    // the near-zero rule.
    for (const float side : {2e-6f, 2e-5f}) {
        LoadedAircraft trainer(kTrainer, 0.0f, FSVector(-side, -3.0f, -0.05f));
        trainer->ComputeForces();
        const float dihedral = trainer->Surface(kFuselageNose).dihedral;
        EXPECT_NEAR(dihedral, side < 1e-5f ? 0.0f : side / 3.0f, 1e-7f);
        EXPECT_EQ(side < 1e-5f, dihedral == 0.0f);
        EXPECT_EQ(trainer->Surface(kFuselageTail).dihedral, dihedral);
    }
}

TEST(AircraftTrim, ActsOnlyFromAStandstillAwayFromAltitudeZeroWithinTheThrottleRange) {
    struct Case {
        std::string text;
        float altitude;
        FSVector velocity;
        bool trims, autopilot;
    };
    const std::string plates = "Mass 800\nLeftWing 0 0 -3 5 0 7\nRightWing 0 0 3 5 0 7\n";
    // On the ground, already moving, below altitude 0 (air as at sea level), without air,
    // without plates or with plates that only push down along the nose.
    for (const Case& c :
         {Case{kTrainer, 0.0f, FSVector(), false, false},
          Case{kTrainer, 1.0f, LevelVelocity(0.03f), false, false},
          Case{kTrainer, -0.1f, FSVector(), true, false}, Case{kTrainer, 45.0f, FSVector(), false, true},
          Case{"Mass 800\n", 1.0f, FSVector(), false, false}, Case{plates, 1.0f, FSVector(), false, false}}) {
        LoadedAircraft aircraft(c.text, c.altitude, c.velocity);
        // Trimmed, it flies along its nose (world −z for this node).
        EXPECT_EQ(aircraft->GetVelocity() != c.velocity, c.trims) << c.altitude;
        EXPECT_LT(std::fabs(aircraft->GetVelocity().x) + std::fabs(aircraft->GetVelocity().y), 1e-7f);
        EXPECT_EQ(aircraft->GetThrottle() != 0.0f, c.trims) << c.altitude;
        EXPECT_EQ(aircraft->IsAutopilot(), c.autopilot) << c.altitude;
        EXPECT_TRUE(std::isfinite(aircraft->Thrust()));
    }
    // A weak engine trims at full throttle, a strong one at its minimum.
    LoadedAircraft weak(std::string(kTrainer) + "Throttle 100 600 0.1\n", 1.0f);
    EXPECT_EQ(weak->GetThrottle(), 0.6f);
    EXPECT_GT(weak->Thrust(), 0.6f);  // what level flight would need
    LoadedAircraft strong(std::string(kTrainer) + "Throttle 1800 3000 0.1\n", 1.0f);
    EXPECT_EQ(strong->GetThrottle(), 1.8f);
}

}  // namespace
