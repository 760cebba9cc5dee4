// The five game aircraft, as the data build ships them in data/aircrafts.zip, flown by the
// game's flight model: a recorded minute on autopilot (any change of the force model or of
// an aircraft file shows as a changed end state), and the flying qualities the files must
// keep: a disturbed trimmed flight settles again, and every aircraft with an engine takes
// off from a standstill under the instructor (full throttle and flaps).
//
// To record the table anew after a deliberate change, run
//   AEROVANT_GOLDEN_PRINT=1 ./test_game --gtest_filter='GoldenFlight.*'
// from the bin folder and paste the printed rows into kGolden.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "GameAircraftTestSupport.h"
#include "flight/FSFlightCommands.h"
#include "world/FSSineTable.h"

namespace game_test {
namespace {

constexpr int kAircraftCount = 5;
constexpr const char* kNames[kAircraftCount] = {"C172R", "Su29", "L29", "L13", "Fokker"};
constexpr int kGlider = 3;  // index of the L-13, the one without an engine
// A fixed frame of 1/18 s (the game's nominal 18 frames per second, time scale 1).
constexpr float kGoldenFrame = 1.0f / 18.0f;
constexpr int kGoldenFrames = 60 * 18;
constexpr float kStartAltitude = 1.0f;  // km
constexpr float kCellSize = 60.0f;      // km
constexpr float kRadian = 0.017453292f;

// The end of the minute: altitude (m), airspeed (km/h), vertical speed (m/s), pitch and
// bank (degrees), distance flown over the ground (m).
struct EndState {
    float altitude, airspeed, verticalSpeed, pitch, bank, distance;
};

// Recorded with AEROVANT_GOLDEN_PRINT=1 (see the top of this file).
constexpr EndState kGolden[kAircraftCount] = {
    {994.720f, 102.012f, -0.0125490f, 1.52079f, 0.00000f, 1706.70f},    // C172R
    {977.310f, 164.002f, -0.0126058f, -0.928140f, 0.00000f, 2729.39f},  // Su29
    {994.064f, 195.359f, 0.0449674f, 0.431955f, 0.00000f, 3261.58f},    // L29
    {906.067f, 74.7557f, -1.52963f, -2.95650f, 0.00000f, 1254.33f},     // L13
    {995.087f, 99.4357f, -0.0123388f, -0.561874f, 0.00000f, 1662.78f},  // Fokker
};

// An aircraft of the game data on its own node (no terrain unless the test loads one),
// made as the game controller makes the player's aircraft.
struct DataAircraft {
    SineTable sine;
    std::unique_ptr<AircraftNode> node = std::make_unique<AircraftNode>();
    CSPAircraft* aircraft = nullptr;
    FSFixedVector start;
    aircraft_test::ControlSettings settings;

    DataAircraft(int index, float sceneHeight) {
        node->Place({0, FloatToFixed(sceneHeight), 0});
        node->SavePosition();
        node->LookAlong(FSVector(0.0f, 0.0f, -1.0f), FSVector(0.0f, 1.0f, 0.0f));
        aircraft = &CreateFlightAircraft(*node, FSVector(), index, sine, MakeDataPath("data\\aircrafts.zip"));
        aircraft->SetControlSettings(settings.game, settings.frame);
        start = node->GetPosition();
    }
    CSPAircraft* operator->() { return aircraft; }
    float Altitude() const { return FixedToFloat(node->GetPosition().y) - kSceneHeightOfAltitudeZero; }
    // Distance over the ground from the start, m (the start lies in cell 0, 0).
    float Distance() const {
        const FSCell& cell = node->GetCell();
        const float dx = FixedToFloat(node->GetPosition().x - start.x) + cell.column * kCellSize;
        const float dz = FixedToFloat(node->GetPosition().z - start.z) + cell.row * kCellSize;
        return std::sqrt(dx * dx + dz * dz) * 1000.0f;
    }
    EndState State() const {
        float pitch = 0.0f, bank = 0.0f;
        aircraft->Attitude(pitch, bank);
        return {Altitude() * 1000.0f, aircraft->Airspeed(), aircraft->VerticalSpeed(),
                pitch / kRadian,      bank / kRadian,       Distance()};
    }
};

// The game aircraft tests' context (known control gains, time scale 1, a terrain on
// request).
class GoldenFlight : public GameAircraftTest {};

void ExpectClose(float actual, float golden, float absolute, const char* what) {
    // 0.5 % of the value, and an absolute floor for values near 0.
    EXPECT_NEAR(actual, golden, std::max(std::fabs(golden) * 0.005f, absolute)) << what;
}

TEST_F(GoldenFlight, EveryAircraftFliesItsMinuteOnAutopilotAsRecorded) {
    const bool print = std::getenv("AEROVANT_GOLDEN_PRINT") != nullptr;
    for (int index = 0; index < kAircraftCount; ++index) {
        SCOPED_TRACE(kNames[index]);
        DataAircraft a(index, kSceneHeightOfAltitudeZero + kStartAltitude);
        ASSERT_GT(a->GetMass(), 0.0f) << "data/aircrafts.zip has no Aircraft" << index + 1 << ".txt";
        ASSERT_GT(a->Airspeed(), 0.0f);  // the load's trimmed start
        a->SetAutopilot(true);
        float lowest = kStartAltitude, highest = kStartAltitude, widestBank = 0.0f;
        for (int frame = 0; frame < kGoldenFrames; ++frame) {
            a->Integrate(kGoldenFrame);
            lowest = std::min(lowest, a.Altitude());
            highest = std::max(highest, a.Altitude());
            float pitch = 0.0f, bank = 0.0f;
            a->Attitude(pitch, bank);
            widestBank = std::max(widestBank, std::fabs(bank));
        }
        const EndState end = a.State();
        if (print)
            std::printf("    {%#.6gf, %#.6gf, %#.6gf, %#.6gf, %#.6gf, %#.6gf},  // %s\n", end.altitude,
                        end.airspeed, end.verticalSpeed, end.pitch, end.bank, end.distance, kNames[index]);

        // The autopilot flies straight with the wings level; with an engine it holds the
        // height, the glider glides down steadily.
        EXPECT_LT(widestBank, 1.0f * kRadian);
        EXPECT_GT(a->Airspeed(), 40.0f);
        if (index != kGlider) {
            EXPECT_GT(lowest, kStartAltitude - 0.05f);
            EXPECT_LT(highest, kStartAltitude + 0.05f);
            EXPECT_NEAR(end.verticalSpeed, 0.0f, 1.0f);
        } else {
            EXPECT_LT(end.altitude, kStartAltitude * 1000.0f);
            EXPECT_GT(end.altitude, kStartAltitude * 1000.0f - 300.0f);
        }

        if (print) continue;  // recording: nothing to compare with yet
        const EndState& golden = kGolden[index];
        ExpectClose(end.altitude, golden.altitude, 0.5f, "altitude");
        ExpectClose(end.airspeed, golden.airspeed, 0.1f, "airspeed");
        ExpectClose(end.verticalSpeed, golden.verticalSpeed, 0.05f, "vertical speed");
        ExpectClose(end.pitch, golden.pitch, 0.05f, "pitch");
        ExpectClose(end.bank, golden.bank, 0.05f, "bank");
        ExpectClose(end.distance, golden.distance, 1.0f, "distance");
    }
}

TEST_F(GoldenFlight, EveryAircraftSettlesAfterAPitchDisturbance) {
    for (int index = 0; index < kAircraftCount; ++index) {
        SCOPED_TRACE(kNames[index]);
        DataAircraft a(index, kSceneHeightOfAltitudeZero + kStartAltitude);
        ASSERT_GT(a->GetMass(), 0.0f);
        // Hands off, the elevator centred.
        a->SetPitchControl(0.0f);
        const float speed = a->Airspeed();
        // A gust pitches the nose up at 10 degrees per second.
        a->SetAngularVelocity(FSVector(10.0f * kRadian, 0.0f, 0.0f));
        float lastRate = 0.0f, lowestSpeed = speed, highestSpeed = speed;
        for (int frame = 0; frame < 150; ++frame) {  // 30 s
            a->Integrate(kFrameStep);
            lowestSpeed = std::min(lowestSpeed, a->Airspeed());
            highestSpeed = std::max(highestSpeed, a->Airspeed());
            if (frame >= 100) lastRate = std::max(lastRate, std::fabs(a->GetAngularVelocity().x));
        }
        // The pitching motion has died down (a slow exchange of speed and height may go
        // on), and the speed never ran away or fell to a stall.
        EXPECT_LT(lastRate, 2.0f * kRadian);
        EXPECT_GT(lowestSpeed, 0.6f * speed);
        EXPECT_LT(highestSpeed, 1.4f * speed);
        float pitch = 0.0f, bank = 0.0f;
        a->Attitude(pitch, bank);
        EXPECT_LT(std::fabs(bank), 1.0f * kRadian);
        EXPECT_LT(std::fabs(pitch), 20.0f * kRadian);
    }
}

TEST_F(GoldenFlight, EveryPoweredAircraftTakesOffWithTheInstructor) {
    constexpr float kGround = 0.15f;
    UseTerrain(FlatTerrainFile(kGround));
    for (int index = 0; index < kAircraftCount; ++index) {
        if (index == kGlider) continue;
        SCOPED_TRACE(kNames[index]);
        DataAircraft a(index, kGround + kClearance);
        ASSERT_GT(a->GetMass(), 0.0f);
        ASSERT_TRUE(a->GroundContact(true));
        ASSERT_TRUE(a->IsOnGround());
        ASSERT_TRUE(a->HandleCommand(kCommandInstructorToggle, 0));
        int frame = 0;
        float climbed = 0.0f;
        for (; frame < 600 && climbed < 0.05f; ++frame) {  // up to 120 s
            a->Integrate(kFrameStep);
            ASSERT_TRUE(a->GroundContact(false)) << frame;
            climbed = FixedToFloat(a.node->GetPosition().y) - kGround - kClearance;
        }
        EXPECT_GE(climbed, 0.05f) << "still below 50 m after " << frame << " frames";
        EXPECT_FALSE(a->IsOnGround());
        // It left from the field it started on.
        EXPECT_LT(a.Distance(), 5000.0f);
        // And it climbs on (the stall warning may sound in a slow climb; the aircraft
        // keeps flying): 20 s later it is higher still and has not sunk back.
        const float atFifty = climbed;
        for (int more = 0; more < 100; ++more, ++frame) {
            a->Integrate(kFrameStep);
            ASSERT_TRUE(a->GroundContact(false)) << frame;
        }
        EXPECT_GT(FixedToFloat(a.node->GetPosition().y) - kGround - kClearance, atFifty);
        EXPECT_GT(a->Airspeed(), 60.0f);
    }
}

// At the window's 60 frames a second a frame is one sub-step, and the ground lays the
// aircraft flat after every one, so it cannot rotate before it leaves the ground: each
// aircraft must lift off at its ground attitude, hands off, with flaps and full throttle,
// at a sensible speed and within an airfield's length.
TEST_F(GoldenFlight, EveryPoweredAircraftLiftsOffAtItsGroundAttitudeAtTheWindowsFrameStep) {
    constexpr float kGround = 0.15f;
    constexpr float kWindowFrame = 0.2f * 18.0f / 60.0f;  // time scale 18 / 60
    constexpr float kLiftOffAtMost[kAircraftCount] = {135.0f, 180.0f, 240.0f, 0.0f, 120.0f};  // km/h
    UseTerrain(FlatTerrainFile(kGround));
    for (int index = 0; index < kAircraftCount; ++index) {
        if (index == kGlider) continue;
        SCOPED_TRACE(kNames[index]);
        DataAircraft a(index, kGround + kClearance);
        ASSERT_TRUE(a->GroundContact(true));
        ASSERT_TRUE(a->HandleCommand(kCommandBrakesReleased, 0));
        ASSERT_TRUE(a->HandleCommand(kCommandFlapsToggle, 0));
        for (int step = 0; step < 12; ++step)
            ASSERT_TRUE(a->HandleCommand(kCommandThrottleMore, 0));
        int frame = 0;
        for (; frame < 1500 && a->IsOnGround(); ++frame) {  // up to 90 s
            a->Integrate(kWindowFrame);
            ASSERT_TRUE(a->GroundContact(false)) << frame;
        }
        EXPECT_FALSE(a->IsOnGround());
        const float liftOffSpeed = a->Airspeed();
        EXPECT_LT(liftOffSpeed, kLiftOffAtMost[index]);
        EXPECT_LT(a.Distance(), 600.0f);
        // The climb-out as a player flies it, a key step at a time: the nose held between
        // 5 and 12 degrees up for 30 s. The aircraft answers and climbs away.
        a.settings.frame.timeScale = 18.0f / 60.0f;
        float slowest = liftOffSpeed;
        for (int step = 0; step < 500; ++step) {
            float pitch = 0.0f, bank = 0.0f;
            a->Attitude(pitch, bank);
            if (pitch > 12.0f * kRadian)
                a->HandleCommand(kCommandElevatorDown, 0);
            else if (pitch < 5.0f * kRadian)
                a->HandleCommand(kCommandElevatorUp, 0);
            a->Integrate(kWindowFrame);
            ASSERT_TRUE(a->GroundContact(false)) << step;
            slowest = std::min(slowest, a->Airspeed());
        }
        EXPECT_FALSE(a->IsOnGround());
        EXPECT_GT(FixedToFloat(a.node->GetPosition().y) - kGround, 0.08f);
        EXPECT_GT(slowest, 0.75f * liftOffSpeed);
    }
}

}  // namespace
}  // namespace game_test
