// The five game aircraft, as the data build ships them, flown by the game's flight model at
// the game's own frame step (DataAircraft.h). A recorded minute on autopilot (any change of
// the force model or of an aircraft file shows as a changed end state), and the flying
// qualities the files must keep: a disturbed trimmed flight settles again, and every
// aircraft with an engine takes off from a standstill under the instructor and climbs to
// where it hands over.
//
// To record the table anew after a deliberate change, run
//   AEROVANT_GOLDEN_PRINT=1 ./test_game --gtest_filter='GoldenFlight.*'
// from the bin folder and paste the printed rows into kGolden.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "DataAircraft.h"
#include "flight/FSFlightCommands.h"

namespace game_test {
namespace {

constexpr float kStartAltitude = 1.0f;  // km

// The end of the minute: altitude (m), airspeed (km/h), vertical speed (m/s), pitch and
// bank (degrees), distance flown over the ground (m).
using EndState = std::array<float, 6>;
constexpr const char* kEndNames[6] = {"altitude", "airspeed", "vertical speed", "pitch", "bank", "distance"};

// Recorded with AEROVANT_GOLDEN_PRINT=1 (see the top of this file).
constexpr EndState kGolden[kAircraftCount] = {
    {998.398f, 133.497f, 0.0134899f, 0.0676838f, 0.00000f, 2223.25f},   // C172R
    {997.650f, 170.715f, -0.00551371f, 0.519156f, 0.00000f, 2843.93f},  // Su29
    {1000.05f, 281.348f, -0.0485915f, 0.243005f, 0.00000f, 4692.08f},   // L29
    {906.021f, 76.6046f, -1.62851f, -3.37524f, 0.00000f, 1276.50f},     // L13
    {996.063f, 110.583f, -0.0392566f, -0.136508f, 0.00000f, 1842.62f},  // Fokker
};

// The end of the minute as the table records it.
EndState State(const DataAircraft& a) {
    return {a.Height() * 1000.0f, a.aircraft->Airspeed(), a.aircraft->VerticalSpeed(),
            a.Pitch() / kRadian,  a.Bank() / kRadian,     a.Distance()};
}

class GoldenFlight : public GameAircraftTest {};

TEST_F(GoldenFlight, EveryAircraftFliesItsMinuteOnAutopilotAsRecorded) {
    const bool print = std::getenv("AEROVANT_GOLDEN_PRINT") != nullptr;
    for (int index = 0; index < kAircraftCount; ++index) {
        SCOPED_TRACE(kAircraftNames[index]);
        DataAircraft a(index, kSceneHeightOfAltitudeZero + kStartAltitude);
        ASSERT_GT(a->GetMass(), 0.0f) << "data/aircrafts.zip has no Aircraft" << index + 1 << ".txt";
        ASSERT_GT(a->Airspeed(), 0.0f);  // the load's trimmed start
        a->SetAutopilot(true);
        float lowest = kStartAltitude, highest = kStartAltitude, widestBank = 0.0f;
        for (int frame = 0; frame < kFramesPerMinute; ++frame) {
            ASSERT_TRUE(a.Fly());
            lowest = std::min(lowest, a.Height());
            highest = std::max(highest, a.Height());
            widestBank = std::max(widestBank, std::fabs(State(a)[4]));
        }
        const EndState end = State(a);
        if (print)
            std::printf("    {%#.6gf, %#.6gf, %#.6gf, %#.6gf, %#.6gf, %#.6gf},  // %s\n", end[0], end[1],
                        end[2], end[3], end[4], end[5], kAircraftNames[index]);

        // The autopilot flies straight with the wings level; with an engine it holds the
        // height, the glider glides down steadily.
        EXPECT_LT(widestBank, 1.0f);
        EXPECT_GT(a->Airspeed(), 40.0f);
        EXPECT_TRUE(a->IsAutopilot());
        if (index != kGlider) {
            EXPECT_GT(lowest, kStartAltitude - 0.05f);
            EXPECT_LT(highest, kStartAltitude + 0.05f);
            EXPECT_NEAR(end[2], 0.0f, 1.0f);
        } else {
            EXPECT_LT(end[0], kStartAltitude * 1000.0f);
            EXPECT_GT(end[0], kStartAltitude * 1000.0f - 300.0f);
        }

        if (print) continue;  // recording: nothing to compare with yet
        // Within 0.1 % of each value, or an absolute floor for values near 0.
        const EndState floors = {0.5f, 0.1f, 0.05f, 0.05f, 0.05f, 1.0f};
        for (size_t i = 0; i < end.size(); ++i)
            EXPECT_NEAR(end[i], kGolden[index][i], std::max(std::fabs(kGolden[index][i]) * 0.001f, floors[i]))
                << kEndNames[i];
    }
}

TEST_F(GoldenFlight, EveryAircraftSettlesAfterAPitchDisturbance) {
    for (int index = 0; index < kAircraftCount; ++index) {
        SCOPED_TRACE(kAircraftNames[index]);
        DataAircraft a(index, kSceneHeightOfAltitudeZero + kStartAltitude);
        ASSERT_GT(a->GetMass(), 0.0f);
        // Hands off, the elevator centred; a gust pitches the nose up at 10 degrees a second.
        a->SetPitchControl(0.0f);
        const float speed = a->Airspeed();
        const float gust = 10.0f * kRadian;
        a->SetAngularVelocity(FSVector(gust, 0.0f, 0.0f));
        float lastRate = 0.0f, lowestSpeed = speed, highestSpeed = speed;
        for (int frame = 0; frame < kFramesPerMinute / 2; ++frame) {  // 30 s
            ASSERT_TRUE(a.Fly());
            lowestSpeed = std::min(lowestSpeed, a->Airspeed());
            highestSpeed = std::max(highestSpeed, a->Airspeed());
            if (frame >= kFramesPerMinute / 3)
                lastRate = std::max(lastRate, std::fabs(a->GetAngularVelocity().x));
        }
        // The quick pitching motion has died down to the slow exchange of speed and height
        // that goes on, and the speed never ran away or fell to a stall.
        EXPECT_LT(lastRate, 0.25f * gust);
        EXPECT_GT(lowestSpeed, 0.6f * speed);
        EXPECT_LT(highestSpeed, 1.4f * speed);
        const EndState end = State(a);
        EXPECT_LT(std::fabs(end[4]), 1.0f);
        EXPECT_LT(std::fabs(end[3]), 20.0f);
    }
}

TEST_F(GoldenFlight, EveryPoweredAircraftTakesOffWithTheInstructorAndIsHandedOver) {
    constexpr float kGround = 0.15f;
    UseTerrain(FlatTerrainFile(kGround));
    for (int index = 0; index < kAircraftCount; ++index) {
        if (index == kGlider) continue;
        SCOPED_TRACE(kAircraftNames[index]);
        DataAircraft a(index, kGround + kClearance);
        ASSERT_TRUE(a->GroundContact(true));
        ASSERT_TRUE(a->HandleCommand(kCommandInstructorToggle, 0));
        // On the ground the assistant runs the engine up on the brakes (held exactly while
        // the throttle is below 0.7 of full), flaps down, and rolls.
        bool released = false;
        int frame = 0;
        for (; frame < 2000 && a->IsOnGround(); ++frame) {  // up to 120 s
            ASSERT_TRUE(a.Fly()) << frame;
            if (!a->IsOnGround()) break;
            EXPECT_TRUE(a->IsTakingOff());
            EXPECT_EQ(a->IsBrakes(), a->ThrottleFraction() < 0.7f) << frame;
            released = released || a->BrakeLevel() == 0.0f;
            EXPECT_TRUE(frame < 200 || a->FlapAngle() == a->FlapMax()) << frame;
        }
        EXPECT_TRUE(released);
        EXPECT_FALSE(a->IsOnGround()) << "still rolling after " << frame << " frames";
        // It left from the field it started on and climbs away (the stall warning may sound
        // in a slow climb; the aircraft keeps flying); the flaps come up above 0.15 km and
        // the assistant hands over above 0.2 km.
        EXPECT_LT(a.Distance(), 5000.0f);
        for (; frame < 5000 && a->IsTakingOff(); ++frame)
            ASSERT_TRUE(a.Fly()) << frame;
        EXPECT_FALSE(a->IsTakingOff());
        EXPECT_GT(a.Height() - kGround + kSceneHeightOfAltitudeZero, 0.2f);
        EXPECT_FALSE(a->IsFlaps());
        EXPECT_TRUE(a->IsInstructor() && !a->IsAutopilot());
        EXPECT_GT(a->Airspeed(), 60.0f);
    }
}

}  // namespace
}  // namespace game_test
