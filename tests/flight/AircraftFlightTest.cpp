// Whole flights at a fixed step: the trainer trimmed in level flight, and its answers to
// the controls.
#include <gtest/gtest.h>

#include <cmath>

#include "FlightTestSupport.h"

using flight_test::AltitudeOf;
using flight_test::kTrainer;
using flight_test::LoadedAircraft;

namespace {

// The engine's step at the nominal frame rate: 0.05 × 4.0.
constexpr float kFrameStep = 0.2f;

FSVector Nose(const MFSSceneNode& node) {
    return ToFloat(node.GetAxisY());
}

TEST(TrainerFlight, TrimmedLevelFlightKeepsItsHeightAndHeading) {
    LoadedAircraft trainer(kTrainer, 1.0f);
    const FSVector start = trainer->GetVelocity();
    ASSERT_GT(trainer->Airspeed(), 150.0f);
    ASSERT_LT(trainer->Airspeed(), 260.0f);
    float lowest = 1.0f, highest = 1.0f;
    for (int frame = 0; frame < 50; ++frame) {  // 10 s
        trainer->Integrate(kFrameStep);
        lowest = std::min(lowest, AltitudeOf(*trainer.node));
        highest = std::max(highest, AltitudeOf(*trainer.node));
    }
    EXPECT_GT(lowest, 1.0f - 0.005f);
    EXPECT_LT(highest, 1.0f + 0.005f);
    // Still flying the way it started, wings level, at about its speed.
    const FSVector nose = Nose(*trainer.node);
    EXPECT_NEAR(nose.z, -1.0f, 0.01f);
    EXPECT_NEAR(ToFloat(trainer.node->GetAxisZ()).y, 1.0f, 0.01f);
    EXPECT_NEAR(Length(trainer->GetVelocity()), Length(start), 0.05f * Length(start));
    // About 2 km flown toward −z.
    EXPECT_NEAR(FixedToFloat(trainer.node->GetPosition().z), -Length(start) * 10.0f, 0.1f);
    EXPECT_NEAR(FixedToFloat(trainer.node->GetPosition().x), 0.0f, 0.01f);
    EXPECT_FALSE(trainer->IsStalling());
}

TEST(TrainerFlight, PitchesUpWithUpElevatorAndDownWithDownElevator) {
    for (const float elevator : {0.1f, -0.1f}) {
        LoadedAircraft trainer(kTrainer, 1.0f);
        trainer->SetPitchControl(elevator);
        for (int frame = 0; frame < 5; ++frame)  // 1 s
            trainer->Integrate(kFrameStep);
        const FSVector nose = Nose(*trainer.node);
        if (elevator > 0.0f) {
            EXPECT_GT(nose.y, 0.05f);
            EXPECT_GT(trainer->GetAngularVelocity().x, 0.0f);
        } else {
            EXPECT_LT(nose.y, -0.05f);
            EXPECT_LT(trainer->GetAngularVelocity().x, 0.0f);
        }
        // Pitching turns neither the wings nor the heading.
        EXPECT_NEAR(nose.x, 0.0f, 1e-3f);
        EXPECT_NEAR(ToFloat(trainer.node->GetAxisZ()).x, 0.0f, 1e-3f);
    }
}

TEST(TrainerFlight, RollsRightWithRightAileronAndYawsRightWithRightRudder) {
    {
        LoadedAircraft trainer(kTrainer, 1.0f);
        trainer.settings.HoldControlsWhereSet();
        trainer->SetRollControl(0.1f);
        for (int frame = 0; frame < 3; ++frame)
            trainer->Integrate(kFrameStep);
        // The right wing goes down: the up axis leans to the right (world +x).
        EXPECT_GT(ToFloat(trainer.node->GetAxisZ()).x, 0.05f);
        EXPECT_GT(trainer->GetAngularVelocity().y, 0.0f);
    }
    {
        LoadedAircraft trainer(kTrainer, 1.0f);
        trainer.settings.HoldControlsWhereSet();
        trainer->SetYawControl(0.1f);
        for (int frame = 0; frame < 3; ++frame)
            trainer->Integrate(kFrameStep);
        // The nose swings to the right (world +x).
        EXPECT_GT(Nose(*trainer.node).x, 0.01f);
    }
}

TEST(TrainerFlight, FullThrottleClimbsAndIdleDescends) {
    for (const bool full : {true, false}) {
        LoadedAircraft trainer(kTrainer, 1.0f);
        trainer->SetThrottle(full ? trainer->ThrottleMax() : 0.0f);
        for (int frame = 0; frame < 100; ++frame)  // 20 s
            trainer->Integrate(kFrameStep);
        if (full) {
            EXPECT_GT(AltitudeOf(*trainer.node), 1.02f);
        } else {
            EXPECT_LT(AltitudeOf(*trainer.node), 0.98f);
        }
    }
}

}  // namespace
