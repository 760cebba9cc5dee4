// The five game aircraft, as the data build ships them, flown by the game's flight model at
// the game's own frame step (DataAircraft.h). A recorded minute on autopilot (any change of
// the force model or of an aircraft file shows as a changed end state). How they fly hands
// off and take off is HandlingTest.cpp's.
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

}  // namespace
}  // namespace game_test
