// The instructor of CSPAircraft flying: the take-off assistant from a standstill to the
// air, and the terrain-avoidance rule near the ground.
#include <cmath>

#include "GameAircraftTestSupport.h"
#include "flight/FSFlightCommands.h"

namespace game_test {
namespace {

constexpr float kGround = 0.15f;

// Takes off under the instructor from where the aircraft is parked; true when it got
// 30 m up within 100 s without ever failing a ground check. Along the way: the brakes are
// held exactly while the engine runs up below 0.7 of full throttle, the flaps are down
// for the roll.
void TakeOff(GameAircraft& a) {
    ASSERT_TRUE(a->GroundContact(true));
    ASSERT_TRUE(a->IsOnGround());
    ASSERT_TRUE(a->HandleCommand(kCommandInstructorToggle, 0));
    int frame = 0;
    bool released = false;
    for (; frame < 500 && a->IsOnGround(); ++frame) {
        ASSERT_TRUE(a.Frame()) << frame;
        if (!a->IsOnGround()) break;
        EXPECT_TRUE(a->IsTakingOff());
        if (a->ThrottleFraction() < 0.7f) {
            EXPECT_TRUE(a->IsBrakes()) << frame;
            EXPECT_GT(a->BrakeLevel(), 0.0f) << frame;
        } else {
            EXPECT_FALSE(a->IsBrakes()) << frame;
            released = released || a->BrakeLevel() == 0.0f;
        }
        if (frame > 60) {
            EXPECT_EQ(a->FlapAngle(), a->FlapMax());
        }
    }
    EXPECT_TRUE(released);
    EXPECT_FALSE(a->IsOnGround()) << "still rolling after " << frame << " frames";
    EXPECT_GE(a->LiftOffs(), 1);
    // The lift-off may touch down again a few times; then it climbs away.
    for (; frame < 500 && a.HeightAboveGround() < 0.03f; ++frame)
        ASSERT_TRUE(a.Frame()) << frame;
    EXPECT_GE(a.HeightAboveGround(), 0.03f);
    EXPECT_FALSE(a->IsStalling());
    EXPECT_TRUE(a->IsInstructor());
    EXPECT_FALSE(a->IsAutopilot());
}

TEST_F(GameAircraftTest, TakeOffAssistantRunsUpOnTheBrakesThenRollsAndLiftsOff) {
    UseTerrain(FlatTerrainFile(kGround));
    GameAircraft a(kTrainer, kGround + kClearance);
    TakeOff(a);
    // Flaps come up above 0.15 km and the assistant hands over above 0.2 km.
    int frame = 0;
    for (; frame < 1500 && a->IsTakingOff(); ++frame)
        ASSERT_TRUE(a.Frame());
    EXPECT_FALSE(a->IsTakingOff());
    EXPECT_GT(a.HeightAboveGround(), 0.2f);
    EXPECT_FALSE(a->IsFlaps());
    EXPECT_EQ(a->FlapAngle(), a->FlapMin());
}

TEST_F(GameAircraftTest, TakeOffAssistantTakesOffFromTheValleyField) {
    // The level area of "valley.ter" in cell (1, 0): centred at (−5.625, −13.125), 11.25 km
    // long along z at a height of 0.15 km. Start near its +z end, facing −z.
    if (!UseGameTerrain("valley.ter")) GTEST_SKIP() << "data/terrains.zip has no valley.ter";
    GameAircraft a(kTrainer, 1.0f, FSCell{1, 0}, -5.625f, -8.0f);
    const float ground = a.SceneHeight() - a.HeightAboveGround();
    ASSERT_NEAR(ground, kGround, 0.002f);
    a.node->Place({a.node->GetPosition().x, FloatToFixed(ground + kClearance), a.node->GetPosition().z});
    TakeOff(a);
    // Airborne still over the field.
    EXPECT_EQ(a.node->GetCell(), (FSCell{1, 0}));
    EXPECT_GT(FixedToFloat(a.node->GetPosition().z), -18.75f);
}

TEST_F(GameAircraftTest, NearTheGroundTheInstructorPullsUpAndAddsPower) {
    struct Case {
        float height;  // km above the ground
        bool terrain;
        float noseUp;  // rad
        bool pulls;
    };
    // Below 0.6 km it pulls and adds power, the harder the lower; higher up, without a
    // terrain or with the nose already above a climb attitude it only flies level.
    const Case cases[] = {{0.1f, true, 0.0f, true},
                          {0.3f, true, 0.0f, true},
                          {1.0f, true, 0.0f, false},
                          {0.1f, false, 0.0f, false},
                          {0.1f, true, 0.2f, false}};
    float climbs[2] = {0.0f, 0.0f};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.height << " " << c.terrain << " " << c.noseUp);
        ResetApplicationContext();
        if (c.terrain) UseTerrain(FlatTerrainFile(kGround));
        GameAircraft a(kTrainer, kGround + c.height);
        a.node->Rotate(FSVector(1.0f, 0.0f, 0.0f), c.noseUp);
        const float trimmed = a->ThrottleFraction();
        a->SetInstructor(true);
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
            ASSERT_TRUE(a.Frame()) << frame;
        EXPECT_FALSE(a->IsTakingOff());
        EXPECT_FALSE(a->IsStalling());
        const float climb = a.HeightAboveGround() - start;
        if (c.pulls) {
            climbs[&c - cases] = climb;
        } else if (c.noseUp == 0.0f) {
            EXPECT_NEAR(climb, 0.0f, 0.01f);
            EXPECT_NEAR(a->ThrottleFraction(), trimmed, 0.03f);
        }
    }
    EXPECT_GT(climbs[1], 0.03f);
    EXPECT_GT(climbs[0], climbs[1]);
}

TEST_F(GameAircraftTest, TheInstructorLevelsABankInTheAir) {
    UseTerrain(FlatTerrainFile(kGround));
    GameAircraft a(kTrainer, kGround + 1.2f);
    a.node->Rotate(FSVector(0.0f, 1.0f, 0.0f), -0.5f);  // right wing up
    a->HandleCommand(kCommandInstructorToggle, 0);
    for (int frame = 0; frame < 100; ++frame)  // 20 s
        ASSERT_TRUE(a.Frame());
    float pitch = 0.0f, bank = 0.0f;
    a->Attitude(pitch, bank);
    EXPECT_NEAR(bank, 0.0f, 0.02f);
    EXPECT_NEAR(pitch, 0.0f, 0.02f);
    EXPECT_NEAR(a.HeightAboveGround(), 1.2f, 0.02f);
}

}  // namespace
}  // namespace game_test
