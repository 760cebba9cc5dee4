// The flight recording's file: what is written reads back the same and small, the folder
// keeps the newest twenty, and damaged or hostile files are refused with a reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/FSApplicationContext.h"
#include "app/FSFlightRecorder.h"
#include "app/FSFlightRecording.h"
#include "platform/FSClock.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

// A small recording with every kind of pass in it: steady runs, uneven steps, time scale
// and stylus changes, a stick, actions.
FSFlightRecording SampleRecording(int passes = 300) {
    FSFlightRecording r;
    r.route = 1;
    r.aircraft = 3;
    r.seed = 0x12345678u;
    r.startTick = 51000;
    r.creationTick = 50000;
    r.routeBlock.dayTime = 0;
    r.routeBlock.cloudiness = 40;
    r.result = {3, 61, 120, 1, 2, -65536, 340000, 7};
    uint32_t tick = r.startTick;
    for (int i = 0; i < passes; ++i) {
        FSReplayPass pass;
        // Steady 17 ms for a while, then the uneven steps of a window.
        tick += i < 100 ? 17u : 12u + static_cast<uint32_t>(i * 7 % 14);
        pass.tick = tick;
        pass.timeScale = i < 84 ? 0.3f : 18.0f / (55.0f + static_cast<float>(i / 30));
        pass.timeScaleActive = i >= 84 ? 1 : 0;
        pass.stylusX = i > 200 ? 120 - i / 10 : 0;
        pass.stylusY = i > 200 ? 80 : 0;
        pass.analogActive = i > 250 ? 1 : 0;
        pass.analogRoll = i > 250 ? -0.25f : 0.0f;
        pass.analogThrottle = i > 260 ? 0.75f : -1.0f;
        if (i % 45 == 44) pass.actions = {34, 28};
        if (i == 150) pass.actions = {14, 19, 12, 21};
        r.passes.push_back(pass);
    }
    return r;
}

void ExpectSame(const FSFlightRecording& a, const FSFlightRecording& b) {
    EXPECT_EQ(a.route, b.route);
    EXPECT_EQ(a.aircraft, b.aircraft);
    EXPECT_EQ(a.seed, b.seed);
    EXPECT_EQ(a.startTick, b.startTick);
    EXPECT_EQ(a.creationTick, b.creationTick);
    EXPECT_EQ(a.video, b.video);
    EXPECT_EQ(a.game.xySensitivity, b.game.xySensitivity);
    EXPECT_EQ(a.game.keyRollRate, b.game.keyRollRate);
    EXPECT_EQ(a.routeBlock.cloudiness, b.routeBlock.cloudiness);
    EXPECT_TRUE(a.result == b.result);
    ASSERT_EQ(a.passes.size(), b.passes.size());
    for (size_t i = 0; i < a.passes.size(); ++i) {
        EXPECT_EQ(a.passes[i].tick, b.passes[i].tick) << i;
        EXPECT_TRUE(a.passes[i].SameInputs(b.passes[i])) << i;
        EXPECT_EQ(a.passes[i].actions, b.passes[i].actions) << i;
    }
}

// The payload's size and checksum made right again after a deliberate change.
std::vector<uint8_t> Reseal(std::vector<uint8_t> file) {
    const uint32_t size = static_cast<uint32_t>(file.size() - 16);
    const uint32_t crc = ReplayCrc32(file.data() + 16, size);
    for (int i = 0; i < 4; ++i) {
        file[8 + i] = static_cast<uint8_t>(size >> (8 * i));
        file[12 + i] = static_cast<uint8_t>(crc >> (8 * i));
    }
    return file;
}

TEST(FlightRecording, WhatIsWrittenReadsBackTheSameAndSteadyPassesCostNearlyNothing) {
    const FSFlightRecording sample = SampleRecording();
    const std::vector<uint8_t> bytes = EncodeRecording(sample);
    FSFlightRecording read;
    std::string error;
    ASSERT_TRUE(DecodeRecording(bytes.data(), bytes.size(), read, error)) << error;
    ExpectSame(sample, read);
    // Ten minutes of a steady flight without a key pressed: a few bytes.
    FSFlightRecording steady = SampleRecording(0);
    for (uint32_t i = 1; i <= 36000; ++i) {
        FSReplayPass pass;
        pass.tick = steady.startTick + 17 * i;
        steady.passes.push_back(pass);
    }
    const std::vector<uint8_t> small = EncodeRecording(steady);
    EXPECT_LT(small.size(), 200u);
    ASSERT_TRUE(DecodeRecording(small.data(), small.size(), read, error)) << error;
    ExpectSame(steady, read);
}

TEST(FlightRecording, TheFolderKeepsTheNewestTwentyAndLeavesOtherFilesAlone) {
    const std::string base = testing_support::MakeTempFolder("replays");
    const std::string folder = base + "replays/";
    fs::create_directories(folder);
    image_test_files::WriteText(folder + "notes.txt", "mine");
    std::string last;
    for (int i = 0; i < 25; ++i)
        last = SaveRecordingInFolder(SampleRecording(10 + i), folder);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), 21u);
    EXPECT_EQ(names.front().substr(0, 14), "flight-000006-");
    EXPECT_EQ(names[19].substr(0, 14), "flight-000025-");
    EXPECT_EQ(names.back(), "notes.txt");
    FSFlightRecording read;
    std::string error;
    ASSERT_TRUE(LoadRecordingFile(last, read, error)) << error;
    EXPECT_EQ(read.passes.size(), 34u);
    image_test_files::RemoveTempFolder(base);
}

TEST(FlightRecording, DamagedAndHostileFilesAreRefusedWithAReason) {
    const std::vector<uint8_t> good = EncodeRecording(SampleRecording());
    // The last pass of a recording with a key pressed at its end: [flags][1][action].
    FSFlightRecording keyed = SampleRecording(3);
    keyed.passes.back().actions = {37};
    const std::vector<uint8_t> withKey = EncodeRecording(keyed);
    // No passes: the payload ends with their count.
    const std::vector<uint8_t> empty = EncodeRecording(SampleRecording(0));
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* reason;
    };
    std::vector<Case> cases = {
        {"empty", {}, "too short"},
        {"header only", std::vector<uint8_t>(good.begin(), good.begin() + 16), "truncated"},
        {"cut in half", std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2), "truncated"},
        {"not ours", std::vector<uint8_t>(good.size(), 'x'), "not a flight recording"},
    };
    std::vector<uint8_t> flipped = good;
    flipped[good.size() / 2] ^= 0x10;
    cases.push_back({"a flipped byte", flipped, "checksum"});
    std::vector<uint8_t> version = good;
    version[4] = 9;
    cases.push_back({"a later version", version, "version 9"});
    std::vector<uint8_t> huge = empty;
    huge.back() = 0xFF;
    for (uint8_t b : {0xFF, 0xFF, 0x7F})
        huge.push_back(b);
    cases.push_back({"a huge pass count", Reseal(huge), "too many passes"});
    std::vector<uint8_t> overlong = empty;
    overlong.back() = 0xFF;
    for (uint8_t b : {0xFF, 0xFF, 0xFF, 0xFF, 0x01})
        overlong.push_back(b);
    cases.push_back({"an endless number", Reseal(overlong), "too long"});
    std::vector<uint8_t> run = empty;
    run.back() = 2;  // two passes: one, then a run of a million more
    for (uint8_t b : {0x00, 0x80, 0xC0, 0x84, 0x3D})
        run.push_back(b);
    cases.push_back({"a run past the count", Reseal(run), "too long"});
    std::vector<uint8_t> action = withKey;
    action.back() = 200;
    cases.push_back({"an unknown action", Reseal(action), "action"});
    std::vector<uint8_t> actions = withKey;
    actions[actions.size() - 2] = 100;
    cases.push_back({"a hundred actions", Reseal(actions), "too many actions"});
    std::vector<uint8_t> extra = good;
    extra.push_back(0);
    cases.push_back({"bytes after the passes", Reseal(extra), "after its passes"});
    std::vector<uint8_t> route = empty;
    route[16] = 0xE7;  // route 999 + 1
    route.insert(route.begin() + 17, 0x07);
    cases.push_back({"a route out of range", Reseal(route), "route"});
    for (const Case& c : cases) {
        FSFlightRecording read = SampleRecording(5);
        std::string error;
        EXPECT_FALSE(DecodeRecording(c.bytes.data(), c.bytes.size(), read, error)) << c.what;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
        EXPECT_TRUE(read.passes.empty()) << c.what;
    }
    FSFlightRecording read;
    std::string error;
    EXPECT_FALSE(LoadRecordingFile("/nonexistent/flight.replay", read, error));
    EXPECT_NE(error.find("cannot read /nonexistent/flight.replay"), std::string::npos) << error;
}

TEST(FlightRecorder, APlayedPassReadsItsRecordedTimeAndTheWindowKeepsTheRecordedPace) {
    platform::UseVirtualClock(1000);
    CFSApplicationContext& context = *GetApplicationContext();
    auto recording = std::make_shared<FSFlightRecording>(SampleRecording(0));
    for (uint32_t tick : {51025u, 51050u, 51075u, 56075u, 56100u}) {
        FSReplayPass pass;
        pass.tick = tick;
        pass.timeScale = 0.5f;
        recording->passes.push_back(pass);
    }
    CFSFlightRecorder recorder;
    recorder.StartPlayback(recording, context);
    EXPECT_EQ(context.route.cloudiness, 40) << "the recorded settings";
    EXPECT_EQ(recorder.BeginFlight(context, 0, 0), recording->seed);
    EXPECT_EQ(platform::TickCount(), recording->startTick);
    // Each pass: what it reads, then when the next is due on the running clock (from 1000).
    struct Step {
        uint32_t now;
        uint32_t due;
    };
    const Step steps[] = {
        {1010, 1025},  // on time: 25 ms after the first pass began
        {1400, 1400},  // far behind: not hurried, the pace starts again
        {1410, 1660},  // the five-second gap passes in a quarter second
        {1665, 1685},  // and 25 ms after it, the next
    };
    uint32_t due = 0;
    for (size_t i = 0; i < 4; ++i) {
        recorder.BeginPass(context);
        EXPECT_EQ(platform::TickCount(), recording->passes[i].tick) << i;
        EXPECT_EQ(context.frame.timeScale, 0.5f);
        recorder.EndPass();
        platform::AdvanceVirtualClock(steps[i].now - platform::TickCount());
        ASSERT_TRUE(recorder.NextPassDue(steps[i].now, due)) << i;
        EXPECT_EQ(due, steps[i].due) << i;
    }
    recorder.BeginPass(context);
    recorder.EndPass();
    EXPECT_FALSE(recorder.NextPassDue(2000, due)) << "no pass is left";
    EXPECT_TRUE(recorder.PlaybackRanOut());
    recorder.StopPlayback(context);
    EXPECT_EQ(context.route.cloudiness, 0) << "the player's own settings again";
    ResetApplicationContext();
    platform::UseRealClock();
}

}  // namespace
