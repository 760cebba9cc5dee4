// The instructor of CSPAircraft in the air: level flight by the autopilot, and near the
// ground the terrain-avoidance rule. (Its take-off assistant flies the game's aircraft in
// the golden flights.)
#include <cmath>

#include "GameAircraftTestSupport.h"
#include "flight/FSFlightCommands.h"

namespace game_test {
namespace {

constexpr float kGround = 0.15f;

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

}  // namespace
}  // namespace game_test
