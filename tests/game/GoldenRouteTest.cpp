// A whole route flown as the player flies it: the program's headless mode with the
// scripted pilot on the keys, from the take-off through every gate of the first route to
// the finish. Its end is recorded: finish, time, score and where the aircraft ended. The
// score must be in the player's "scores.dat" and still there when the game starts again.
//
// To record anew after a deliberate change (of the route, the flight model or the pilot):
//   build/bin/aerovant-pilot --route 1 --aircraft 1
// and put the printed line into kGolden.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "FSHeadlessRun.h"
#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSScoreTable.h"
#include "game/CSPRoute.h"
#include "pilot/ScriptedPilot.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

namespace {

constexpr const char* kGolden =
    "finish=success time=204 score=100 distance=36.648 end=1,0,-20.788,5.196,11.402";

TEST(GoldenRoute, TheScriptedPilotFliesTheRiverRunAndItsScoreOutlivesTheGame) {
    FSHeadlessOptions options;
    options.route = 0;
    options.aircraft = 0;
    options.resolution = 0;
    options.playerFolder = testing_support::MakeTempFolder("golden-route");
    std::string name;
    {
        CFSHeadlessRun run(options);
        ASSERT_EQ(run.Start(), 0);
        CSPScriptedPilot pilot;
        const FSHeadlessResult result = run.Fly([&pilot](CFSHeadlessRun& r) { pilot.Step(r); });
        const std::string line = result.Line();
        EXPECT_EQ(line.substr(0, line.find(" frames=")), kGolden);
        name = CSPRoute::GetRouteName(0);
    }
    // A new start of the game reads the score back.
    CFSHeadlessRun again(options);
    ASSERT_EQ(again.Start(), 0);
    const FSScoreTable& scores = GetApplicationContext()->scores;
    size_t index = 0;
    ASSERT_EQ(FindRoute(scores, name, &index), FSFindRoute::Found) << name;
    ASSERT_FALSE(scores.routes[index].records.empty());
    EXPECT_EQ(scores.routes[index].records[0].score, 100);
}

TEST(GoldenRoute, AScoreThatCannotBeSavedIsSaidAtTheFinishAndTheGameGoesOn) {
    FSHeadlessOptions options;
    options.resolution = 0;
    options.playerFolder = testing_support::MakeTempFolder("unsaved-score");
    // The temporary file's name is taken by a folder: the save fails, the old file stays.
    const std::string old = "AIRWAY: " + std::string(32, '\0') + "\r\n";
    image_test_files::WriteText(options.playerFolder + "scores.dat", old);
    ASSERT_TRUE(std::filesystem::create_directory(options.playerFolder + "scores.dat.tmp"));
    CFSHeadlessRun run(options);
    ASSERT_EQ(run.Start(), 0);
    CSPScriptedPilot pilot;
    testing::internal::CaptureStderr();
    for (int pass = 0; pass < 40000 && run.Controller().Finish() == SPFinish::None; ++pass) {
        pilot.Step(run);
        ASSERT_TRUE(run.Pass());
    }
    run.Pass();
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_EQ(run.Controller().Finish(), SPFinish::Success);
    EXPECT_NE(said.find("could not save the scores to " + options.playerFolder + "scores.dat"), said.npos)
        << said;
    // The player reads it in amber over the finish, and the score stays for this session.
    EXPECT_EQ(run.Controller().StatusText(), "The score could not\nbe saved.");
    const std::vector<uint16_t> frame = run.Display().LastFrame();
    EXPECT_GT(std::count(frame.begin(), frame.end(), uint16_t{0xFE60}), 100);
    EXPECT_EQ(image_test_files::ReadText(options.playerFolder + "scores.dat"), old);
    size_t index = 0;
    const FSScoreTable& scores = GetApplicationContext()->scores;
    ASSERT_EQ(FindRoute(scores, CSPRoute::GetRouteName(0), &index), FSFindRoute::Found);
    EXPECT_EQ(scores.routes[index].records.size(), 1u);
    // The countdown runs out and the menu returns.
    for (int pass = 0; pass < 600 && GetApplicationContext()->engine->State() != Menu; ++pass)
        ASSERT_TRUE(run.Pass());
    EXPECT_EQ(GetApplicationContext()->engine->State(), Menu);
    image_test_files::RemoveTempFolder(options.playerFolder);
}

// Every other route with the aircraft it is meant for (0-based numbers), how it must end
// and the least score the pilot reaches on it today.
struct RouteFlight {
    int route;
    int aircraft;
    SPFinish finish;
    int score;
};

class EveryRoute : public ::testing::TestWithParam<RouteFlight> {};

TEST_P(EveryRoute, TheScriptedPilotCompletesItWithItsAircraft) {
    const RouteFlight& flight = GetParam();
    FSHeadlessOptions options;
    options.route = flight.route;
    options.aircraft = flight.aircraft;
    options.resolution = 0;
    options.frames = 40000;
    options.playerFolder = testing_support::MakeTempFolder("every-route");
    CFSHeadlessRun run(options);
    ASSERT_EQ(run.Start(), 0);
    CSPScriptedPilot pilot;
    const FSHeadlessResult result = run.Fly([&pilot](CFSHeadlessRun& r) { pilot.Step(r); });
    EXPECT_TRUE(result.finish == flight.finish && result.score >= flight.score) << result.Line();
}

INSTANTIATE_TEST_SUITE_P(
    Routes, EveryRoute,
    ::testing::Values(RouteFlight{1, 0, SPFinish::Landing, 90}, RouteFlight{2, 0, SPFinish::Landing, 160},
                      RouteFlight{3, 4, SPFinish::Success, 140}, RouteFlight{4, 3, SPFinish::Landing, 50},
                      RouteFlight{5, 1, SPFinish::Success, 100}, RouteFlight{6, 1, SPFinish::Success, 110},
                      RouteFlight{7, 2, SPFinish::Success, 110}),
    [](const ::testing::TestParamInfo<RouteFlight>& info) {
        return "Route" + std::to_string(info.param.route + 1);
    });

}  // namespace
