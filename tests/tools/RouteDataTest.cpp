// The eight routes of routes.zip as the route checker measures them over their terrains,
// and the checker itself on routes made to break its limits.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "resources/FSArchive.h"
#include "routecheck/RouteCheck.h"

namespace {

const std::vector<RouteCheck>& BuiltRoutes() {
    static const std::vector<RouteCheck> checks = CheckRouteArchive(MakeDataPath("data"));
    return checks;
}

// A glider route: released high, no fuel, every gate lower than the one before, a landing.
bool SuitsTheGlider(const RouteCheck& check) {
    if (!check.route.start.landing || check.route.start.fuel != 0.0) return false;
    if (check.startAbove < 800.0 || check.startAbove > 1200.0) return false;
    for (const GateCheck& gate : check.gates) {
        if (gate.climb >= 0.0) return false;
    }
    return true;
}

// The problems of a route text over the valley terrain of the built data.
std::vector<std::string> ProblemsOf(const std::string& lines) {
    static RouteTerrains terrains(MakeDataPath("data"));
    const std::string text =
        "# \"Test\"\nterrain valley.ter 0\ndifficulty 1 1 1 1 1\n"
        "runway runway.png 1 0 -6 0 -18 -6 0 -16.8 30\n" +
        lines;
    const RouteFile route = ParseRoute(text);
    return CheckRoute("Test.txt", route, terrains.Get(route.terrain)).problems;
}

bool Mentions(const std::vector<std::string>& problems, const std::string& words) {
    for (const std::string& problem : problems) {
        if (problem.find(words) != std::string::npos) return true;
    }
    return false;
}

}  // namespace

TEST(RouteData, EveryRouteIsNamedHasARunwayAndItsGatesFlyWithoutProblems) {
    const std::vector<RouteCheck>& checks = BuiltRoutes();
    ASSERT_EQ(checks.size(), 8u);
    int timed = 0, landing = 0, glider = 0;
    for (const RouteCheck& check : checks) {
        SCOPED_TRACE(FormatRouteCheck(check));
        EXPECT_FALSE(check.route.name.empty());
        EXPECT_TRUE(check.terrainLoaded);
        EXPECT_FALSE(check.route.runways.empty());
        EXPECT_GE(check.route.gates.size(), 6u);
        for (const RouteGate& gate : check.route.gates)
            EXPECT_EQ(gate.place.cell, check.route.gates.front().place.cell);
        EXPECT_TRUE(check.problems.empty());
        timed += check.route.timed;
        landing += check.route.start.landing;
        glider += SuitsTheGlider(check);
    }
    EXPECT_GE(timed, 2);
    EXPECT_GE(landing, 2);
    EXPECT_GE(glider, 1);
}

TEST(RouteCheck, ReadsCellsAndPlacesAsTheGameWrapsThem) {
    const RouteFile route = ParseRoute(
        "// comment\n# no name here\n# \"Twin \"Peaks\"\n# \"second\"\nsun 1 2\ntimed\n"
        "start 0 0 31 0.5 -31 1 0 0 0 1 0 0.5 landing\n"
        "obstacle red.png -1 5 1 5.2 2 0 0 90 100 60 8 10\n"
        "difficulty 1 0.8\n");
    EXPECT_EQ(route.name, "Twin ");
    EXPECT_TRUE(route.timed);
    EXPECT_TRUE(route.start.landing);
    EXPECT_EQ(route.start.place.cell, (FSCell{1, 3}));
    EXPECT_NEAR(route.start.place.x, -29.0, 1e-4);
    EXPECT_NEAR(route.start.place.z, 29.0, 1e-4);
    ASSERT_EQ(route.gates.size(), 1u);
    EXPECT_EQ(route.gates[0].place.cell, (FSCell{3, 1}));
    EXPECT_EQ(route.difficulty.size(), 2u);
}

TEST(RouteCheck, TurnsTheOpeningAsTheFrameIsTurned) {
    // A new frame looks along +x. Each turn is about the frame's own axes: a1 rolls it about
    // its opening, a2 tilts the opening, a3 turns it about the vertical.
    const struct {
        double turns[3];
        double opening[3];
    } cases[] = {
        {{0, 0, 0}, {1, 0, 0}},    {{0, 0, 90}, {0, 0, -1}}, {{0, 0, -90}, {0, 0, 1}},
        {{0, 0, 180}, {-1, 0, 0}}, {{90, 0, 0}, {1, 0, 0}},  {{0, 45, 0}, {0.7071068, -0.7071068, 0}},
        {{0, 45, 90}, {0, 0, -1}},
    };
    for (const auto& c : cases) {
        double opening[3], up[3];
        GateAxes(c.turns, opening, up);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(opening[k], c.opening[k], 1e-5)
                << c.turns[0] << " " << c.turns[1] << " " << c.turns[2];
    }
    EXPECT_NEAR(CompassHeading(-1, 0), 0.0, 1e-9);
    EXPECT_NEAR(CompassHeading(0, -1), 90.0, 1e-9);
    EXPECT_NEAR(CompassHeading(1, 0), 180.0, 1e-9);
}

TEST(RouteCheck, FlagsEveryGateAndRunwayThatCannotBeFlown) {
    // The valley airfield is level at 0.15 km; the river valley west of it is open.
    const std::string start = "start 1 0 -6 0 -17.96 0 0 1 0 1 0 0.5\n";
    const std::string fine = start +
                             "obstacle red.png 1 0 -6 5.24 -14 0 0 -90 100 60 8 10\n"
                             "obstacle red.png 1 0 -6 5.24 -11 0 0 -90 100 60 8 10\n";
    EXPECT_TRUE(ProblemsOf(fine).empty()) << ProblemsOf(fine).front();

    const struct {
        std::string lines;
        std::string problem;
    } cases[] = {
        {fine + "obstacle red.png 2 0 -6 5.24 -8 0 0 -90 100 60 8 10\n", "another cell"},
        {fine + "obstacle red.png 1 0 -6 5.17 -8 0 0 -90 100 60 8 10\n", "above the ground"},
        {fine + "obstacle red.png 1 0 -6 5.24 -10.5 0 0 -90 100 60 8 10\n", "after the last"},
        {fine + "obstacle red.png 1 0 -9 5.24 -11.5 0 0 180 100 60 8 10\n", "a turn of"},
        {fine + "obstacle red.png 1 0 -6 5.24 -8 0 0 0 100 60 8 10\n", "off the leg"},
        {fine + "obstacle red.png 1 0 -6 5.183 -8 0 0 -90 100 60 8 10\n", "bottom bar"},
        {fine + "runway runway.png 1 0 -6 0 -8 -6 0 -3 30\n", "runway"},
        {"start 1 0 -12 0 -17.96 0 0 1 0 1 0 0.5\nobstacle red.png 1 0 -12 5.24 -14 0 0 -90 100 60 8 10\n",
         "not on a runway"},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(Mentions(ProblemsOf(c.lines), c.problem)) << c.lines;
    EXPECT_TRUE(Mentions(ProblemsOf(start), "no gates"));
}
