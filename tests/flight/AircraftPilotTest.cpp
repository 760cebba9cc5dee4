// The attitude and the pilot aids of CFSAircraft: the autopilot and the wing leveller,
// alone and flying the trainer.
#include <gtest/gtest.h>

#include <cmath>

#include "FlightTestSupport.h"
#include "flight/FSFlightCommands.h"

using flight_test::AltitudeOf;
using flight_test::kTrainer;
using flight_test::LoadedAircraft;

namespace {

constexpr float kFrameStep = 0.2f;
constexpr float kG = 0.00980665f;

class PilotAids : public ::testing::Test {};

// Turns the node about its own axes: pitch about the right wing (nose up positive), then
// roll about the nose (positive lowers the right wing: a bank to the right).
void Tilt(MFSSceneNode& node, float pitch, float roll) {
    node.Rotate(FSVector(1.0f, 0.0f, 0.0f), pitch);
    node.Rotate(FSVector(0.0f, 1.0f, 0.0f), roll);
}

TEST_F(PilotAids, AttitudeIsPitchUpPositiveAndBankRightNegative) {
    LoadedAircraft trainer(kTrainer, 1.0f);
    float pitch = 1.0f, bank = 1.0f;
    trainer->Attitude(pitch, bank);
    EXPECT_EQ(pitch, 0.0f);
    EXPECT_EQ(bank, 0.0f);
    Tilt(*trainer.node, 0.2f, 0.4f);  // nose up, right wing down
    trainer->Attitude(pitch, bank);
    EXPECT_NEAR(pitch, 0.2f, 1e-5f);
    EXPECT_NEAR(bank, -0.4f, 1e-5f);
    // Upside down: a bank of a half turn; straight up: no bank to measure.
    LoadedAircraft inverted(kTrainer, 1.0f);
    Tilt(*inverted.node, 0.0f, -3.0f);
    inverted->Attitude(pitch, bank);
    EXPECT_NEAR(bank, 3.0f, 1e-5f);
    LoadedAircraft vertical(kTrainer, 1.0f);
    Tilt(*vertical.node, 1.5707964f, 0.0f);
    vertical->Attitude(pitch, bank);
    EXPECT_NEAR(pitch, 1.5707964f, 1e-3f);
    EXPECT_TRUE(std::isfinite(bank));
}

TEST_F(PilotAids, AutopilotCommandsInProportionToTheAttitude) {
    LoadedAircraft trainer(kTrainer, 1.0f);
    // Level with wings level: no aileron, no rudder, no elevator.
    trainer->SetRollControl(0.1f);
    trainer->SetYawControl(0.1f);
    trainer->AutopilotStep();
    EXPECT_EQ(trainer->GetRollControl(), 0.0f);
    EXPECT_EQ(trainer->GetYawControl(), 0.0f);
    EXPECT_EQ(trainer->GetPitchControl(), 0.0f);

    // Nose up, banked right: down elevator, left aileron, and the nose's correction shared
    // with the rudder by the bank.
    Tilt(*trainer.node, 0.2f, 0.4f);
    trainer->AutopilotStep();
    const float pitchDown = -0.2f * trainer->PitchMin() * -0.63661975f;
    EXPECT_NEAR(trainer->GetPitchControl(), pitchDown * std::cos(0.4f), 1e-4f);
    EXPECT_NEAR(trainer->GetRollControl(), -0.4f * trainer->RollMin() * -0.31830987f, 1e-5f);
    EXPECT_LT(trainer->GetRollControl(), 0.0f);
    EXPECT_NEAR(trainer->GetYawControl(), -0.2f * trainer->YawMin() * -0.63661975f * -std::sin(0.4f), 1e-4f);
    EXPECT_EQ(trainer->Surface(kElevator).incidence, trainer->GetPitchControl());
    EXPECT_EQ(trainer->Surface(kRightAileron).incidence, trainer->GetRollControl());
    EXPECT_EQ(trainer->Surface(kRudder).incidence, trainer->GetYawControl());

    // Throttle: full power without speed; otherwise within the engine's range.
    trainer->SetVelocity(FSVector());
    trainer->AutopilotStep();
    EXPECT_EQ(trainer->GetThrottle(), trainer->ThrottleMax());
    LoadedAircraft still(kTrainer, 0.0f);  // at altitude 0: never trimmed, no lift yet
    still->SetVelocity(FSVector(0.0f, 0.0f, -0.05f));
    still->AutopilotStep();
    EXPECT_EQ(still->GetThrottle(), still->ThrottleMax());
}

TEST_F(PilotAids, AutopilotThrottleMatchesTheDragInLevelFlight) {
    LoadedAircraft trainer(kTrainer, 1.0f);
    const float trimmed = trainer->GetThrottle();
    trainer->HandleCommand(kCommandAutopilotToggle, 0);
    trainer->ComputeForces();
    const float drag = trainer->TotalDrag();
    const float lift = trainer->TotalLift();
    const float thrust = trainer->Thrust();
    const float throttle = trainer->GetThrottle();
    trainer->AutopilotStep();
    EXPECT_NEAR(trainer->GetThrottle(), drag / lift * trainer->GetMass() * kG * (throttle / thrust), 1e-4f);
    EXPECT_NEAR(trainer->GetThrottle(), trimmed, 0.02f * trimmed);
}

TEST_F(PilotAids, AutopilotHoldsLevelFlightForAMinute) {
    for (const bool disturbed : {false, true}) {
        LoadedAircraft trainer(kTrainer, 1.0f);
        if (disturbed) Tilt(*trainer.node, 0.08f, 0.5f);
        EXPECT_TRUE(trainer->HandleCommand(kCommandAutopilotToggle, 0));
        ASSERT_TRUE(trainer->IsAutopilot());
        float lowest = 1.0f, highest = 1.0f;
        for (int frame = 0; frame < 300; ++frame) {  // 60 s
            trainer->Integrate(kFrameStep);
            lowest = std::min(lowest, AltitudeOf(*trainer.node));
            highest = std::max(highest, AltitudeOf(*trainer.node));
        }
        float pitch = 0.0f, bank = 0.0f;
        trainer->Attitude(pitch, bank);
        EXPECT_NEAR(pitch, 0.0f, 0.01f) << disturbed;
        EXPECT_NEAR(bank, 0.0f, 0.01f) << disturbed;
        EXPECT_GT(lowest, disturbed ? 0.97f : 0.995f) << disturbed;
        EXPECT_LT(highest, disturbed ? 1.03f : 1.005f) << disturbed;
        EXPECT_NEAR(trainer->VerticalSpeed(), 0.0f, 0.5f) << disturbed;
        EXPECT_GT(trainer->Airspeed(), 150.0f) << disturbed;
        EXPECT_FALSE(trainer->IsStalling()) << disturbed;
        // It kept flying; a player's control command would have ended it.
        EXPECT_TRUE(trainer->IsAutopilot());
    }
}

TEST_F(PilotAids, WingLevellerLevelsABankWithTheAileronsAlone) {
    // Fine key steps, so that the elevator's first step (a released elevator ends a step
    // above 0) does not pitch the trainer about.
    LoadedAircraft trainer(kTrainer, 1.0f);
    trainer.settings.game.keyPitchRate = 0.005f;
    Tilt(*trainer.node, 0.0f, 0.5f);
    trainer->SetPitchControl(0.01f);
    trainer->SetLeveller(true);
    float pitch = 0.0f, bank = 0.0f;
    trainer->LevellerStep();
    // Banked right: left aileron; the elevator and its control are left alone.
    EXPECT_NEAR(trainer->GetRollControl(), -0.5f * trainer->RollMin() * -0.31830987f, 1e-5f);
    EXPECT_EQ(trainer->GetPitchControl(), 0.01f);
    EXPECT_EQ(trainer->Surface(kElevator).incidence, 0.01f);

    trainer->SetPitchControl(0.0f);
    for (int frame = 0; frame < 100; ++frame)  // 20 s
        trainer->Integrate(kFrameStep);
    trainer->Attitude(pitch, bank);
    EXPECT_NEAR(bank, 0.0f, 0.03f);
    EXPECT_TRUE(trainer->IsLeveller());
    EXPECT_GT(AltitudeOf(*trainer.node), 0.8f);
}

TEST_F(PilotAids, AileronsCentreOnceAPilotAidLetsGo) {
    // The commands that switch the aids off without moving the ailerons, and a stylus press
    // in the touch-pad's dead zone.
    for (const bool autopilot : {false, true}) {
        for (const int code :
             {kCommandElevatorDown, kCommandElevatorUp, kCommandRudderLeft, kCommandRudderRight,
              kCommandThrottleLess, kCommandThrottleMore, kCommandStylusPressed}) {
            SCOPED_TRACE(testing::Message() << code << (autopilot ? " autopilot" : " leveller"));
            LoadedAircraft trainer(kTrainer, 1.0f);
            trainer->SetTouchpadLookup([](int, FSTouchpadRect& pad) {
                pad = FSTouchpadRect{0, 0, 100, 100, 20, 20};
                return true;
            });
            trainer.settings.game.touchscreenScheme = 1;
            trainer.settings.frame.stylusX = trainer.settings.frame.stylusY = 50;
            Tilt(*trainer.node, 0.1f, 0.5f);
            if (autopilot) {
                trainer->HandleCommand(kCommandAutopilotToggle, 0);
            } else {
                trainer->SetLeveller(true);
            }
            trainer->ComputeForces();
            trainer->ComputeForces();
            ASSERT_LT(trainer->GetRollControl(), 0.0f);
            EXPECT_TRUE(trainer->HandleCommand(code, 0));
            ASSERT_FALSE(trainer->IsLeveller() || trainer->IsAutopilot());
            for (int i = 0; i < 4; ++i)
                trainer->ComputeForces();
            EXPECT_EQ(trainer->GetRollControl(), 0.0f);
            EXPECT_EQ(trainer->Surface(kLeftAileron).incidence, 0.0f);
            if (code != kCommandRudderLeft && code != kCommandRudderRight) {
                EXPECT_EQ(trainer->GetYawControl(), 0.0f);
            }
        }
    }
}

}  // namespace
