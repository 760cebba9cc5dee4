// A whole route flown as the player flies it: the program's headless mode with the
// scripted pilot on the keys, from the take-off through every gate of the first route to
// the finish. Its end is recorded: finish, time, score and where the aircraft ended. The
// score must be in the player's "scores.dat" and still there when the game starts again.
//
// To record anew after a deliberate change (of the route, the flight model or the pilot):
//   build/bin/aerovant-pilot --route 1 --aircraft 1
// and put the printed line into kGolden.
#include <gtest/gtest.h>

#include <string>

#include "FSHeadlessRun.h"
#include "app/FSApplicationContext.h"
#include "app/FSScoreTable.h"
#include "game/CSPRoute.h"
#include "pilot/ScriptedPilot.h"
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
