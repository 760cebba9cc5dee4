// The eight routes of routes.zip as the route checker measures them over their terrains,
// and the checker itself on routes made to break its limits.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "resources/FSArchive.h"
#include "resources/FSPng.h"
#include "routecheck/RouteCheck.h"
#include "routecheck/RoutePicture.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"
#include "tools/ArchiveTestSupport.h"

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

// A route text checked over the valley terrain of the built data.
RouteCheck CheckOverTheValley(const std::string& lines) {
    static RouteTerrains terrains(MakeDataPath("data"));
    const std::string text =
        "# \"Test\"\nterrain valley.ter 0\ndifficulty 1 1 1 1 1\n"
        "runway runway.png 1 0 -6 0 -18 -6 0 -16.8 30\n" +
        lines;
    const RouteFile route = ParseRoute(text);
    return CheckRoute("Test.txt", route, terrains.Get(route.terrain));
}

std::vector<std::string> ProblemsOf(const std::string& lines) {
    return CheckOverTheValley(lines).problems;
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
        EXPECT_GE(check.route.gates.size(), 5u);
        for (const RouteGate& gate : check.route.gates)
            EXPECT_EQ(gate.place.cell, check.route.gates.front().place.cell);
        EXPECT_TRUE(check.problems.empty());
        timed += check.route.timed;
        landing += check.route.start.landing;
        glider += SuitsTheGlider(check);
    }
    EXPECT_TRUE(CheckRouteSet(checks).empty()) << CheckRouteSet(checks).front();
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

TEST(RouteCheck, ReadsBrokenLinesWithoutFailingAndSaysWhichNumbersItCouldNotRead) {
    const struct {
        const char* text;
        size_t gates, runways;
        int broken;
        const char* name;
    } cases[] = {
        {"", 0, 0, 0, ""},
        {"obstacle\nrunway\nstart", 1, 1, 0, ""},
        {"\xEF\xBB\xBF# \"Marked\"\r\n", 0, 0, 0, "Marked"},
        {"# \"Open to the end\r\nobstacle red.png 1 0", 1, 0, 0, "Open to the end"},
        {"obstacle red.png 1e30 -1e30 0 5 0 nan 0 inf 100 60 8 10", 1, 0, 2, ""},
        {"runway runway.png 0 0 1e30 0 0 -1e30 0 0 1e300", 0, 1, 1, ""},
        {"start 0 0 0 0 0 nan 0 1 0 1 0 inf", 0, 0, 2, ""},
        {"\0obstacle", 0, 0, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const RouteFile route = ParseRoute(c.text);
        EXPECT_EQ(route.gates.size(), c.gates);
        EXPECT_EQ(route.runways.size(), c.runways);
        EXPECT_EQ(route.brokenNumbers, c.broken);
        EXPECT_EQ(route.name, c.name);
        // Measuring it over the ground finishes, whatever it holds.
        const RouteCheck check = CheckRoute("Broken.txt", route, nullptr);
        EXPECT_EQ(Mentions(check.problems, "not finite"), c.broken > 0);
        EXPECT_TRUE(Mentions(check.problems, "cannot be read"));
    }
    // Runway ends a world apart are measured in bounded time.
    const RouteCheck far = CheckOverTheValley("runway runway.png 1 0 -30000 0 0 30000 0 0 30\n");
    EXPECT_TRUE(Mentions(far.problems, "runway"));
}

TEST(RouteCheck, MeasuresLegsAcrossCellEdgesAndTheWorldSeamTheShortWay) {
    // From the last kilometres of column 3 across the world's seam into column 0 (south,
    // +x), then across the edge between rows 0 and 1 (west, +z), 4 km above the sea.
    const RouteCheck check = CheckOverTheValley(
        "start 3 0 29 9 29.5 1 0 0 0 1 0 1\n"
        "obstacle red.png 0 0 -29 9 29.5 0 0 0 100 60 8 10\n"
        "obstacle red.png 0 1 -27 9 -29.5 0 0 -26.565 100 60 8 10\n");
    ASSERT_EQ(check.gates.size(), 2u);
    EXPECT_NEAR(check.gates[0].distance, 2.0, 1e-3);
    EXPECT_NEAR(check.gates[0].heading, 180.0, 1e-3);
    EXPECT_NEAR(check.gates[1].distance, std::sqrt(5.0), 1e-3);
    EXPECT_NEAR(check.gates[1].heading, 206.565, 1e-2);
    EXPECT_NEAR(check.gates[1].turn, 26.565, 1e-2);
    EXPECT_NEAR(check.gates[1].misalignment, 0.0, 0.05);
    ASSERT_EQ(check.problems.size(), 1u);
    EXPECT_EQ(check.problems[0], "gate 2: in another cell than the first gate (not scored)");
}

TEST(RouteCheck, ReadsEveryRouteOfAnArchiveZippedByInfoZipUpToTheFirstGap) {
    archive_test::TemporaryFolder folder(testing_support::MakeTempFolder("routecheck"));
    const std::string crlf =
        "# \"Harbour Hop\"\r\n# Around the harbour.\r\nterrain valley.ter 0\r\n"
        "start 1 0 -6 0 -17.96 0 0 1 0 1 0 0.5\r\n"
        "runway runway.png 1 0 -6 0 -18 -6 0 -16.8 30\r\n"
        "obstacle red.png 1 0 -6 5.24 -14 0 0 -90 100 60 8 10\r\n"
        "difficulty 1 1 1 1 1\r\n";
    ASSERT_TRUE(image_test_files::WriteText(folder.path + "Route1.txt", crlf));
    ASSERT_TRUE(image_test_files::WriteText(folder.path + "Route2.txt", "# \"Lost\nterrain gone.ter 0\n"));
    ASSERT_TRUE(image_test_files::WriteText(folder.path + "Route4.txt", "# \"Unreachable\"\n"));
    ASSERT_TRUE(
        image_test_files::ZipWithPassword(folder.path, "routes.zip", "Route1.txt Route2.txt Route4.txt"));
    std::filesystem::create_symlink(MakeDataPath("data/terrains.zip"), folder.path + "terrains.zip");

    const std::vector<RouteCheck> checks = CheckRouteArchive(folder.path);
    ASSERT_EQ(checks.size(), 2u);
    EXPECT_EQ(checks[0].route.name, "Harbour Hop");
    EXPECT_EQ(checks[0].route.description, " \"Harbour Hop\"\r\n Around the harbour.\r\n");
    EXPECT_TRUE(checks[0].problems.empty()) << checks[0].problems.front();
    EXPECT_EQ(checks[1].route.name, "Lost");
    EXPECT_TRUE(Mentions(checks[1].problems, "\"gone.ter\" cannot be read"));
    EXPECT_TRUE(CheckRouteArchive(folder.path + "nowhere").empty());
}

TEST(RouteCheck, FlagsNamesTheScoreTableCannotKeepApart) {
    const RouteCheck longest =
        CheckRoute("A.txt", ParseRoute("# \"" + std::string(31, 'n') + "\"\n"), nullptr);
    const RouteCheck tooLong =
        CheckRoute("B.txt", ParseRoute("# \"" + std::string(32, 'n') + "\"\n"), nullptr);
    EXPECT_FALSE(Mentions(longest.problems, "longer than the scores keep"));
    EXPECT_TRUE(Mentions(tooLong.problems, "longer than the scores keep"));
    EXPECT_TRUE(CheckRouteSet({longest, tooLong}).empty());
    const std::vector<std::string> shared = CheckRouteSet({longest, tooLong, longest});
    ASSERT_EQ(shared.size(), 1u);
    EXPECT_NE(shared[0].find("A.txt and A.txt share the name"), std::string::npos);
}

TEST(RouteCheck, FlagsLinesReadBeforeWhatTheyNeed) {
    const struct {
        const char* text;
        bool groundEarly, windLate;
    } cases[] = {
        {"terrain valley.ter 0\nwind 1 0 0\nobstacle red.png\ncloud clouds/cloud.png\n", false, false},
        {"tree trees/trees.png 0.01 0.005 0 0 0 0\nterrain valley.ter 0\n", true, false},
        {"start 0 0 0 0 0 1 0 0 0 1 0 1 landing\nterrain valley.ter 0\n", true, false},
        {"start 0 0 0 0 0 1 0 0 0 1 0 1\nterrain valley.ter 0\n", false, false},
        {"terrain valley.ter 0\nclouds clouds/layer.png\nwind 1 0 0\n", false, true},
        {"terrain valley.ter 0\nobstacle red.png\nwind 1 0 0\n", false, true},
    };
    for (const auto& c : cases) {
        const RouteCheck check = CheckRoute("Order.txt", ParseRoute(c.text), nullptr);
        EXPECT_EQ(Mentions(check.problems, "before the terrain line"), c.groundEarly) << c.text;
        EXPECT_EQ(Mentions(check.problems, "the wind line comes after"), c.windLate) << c.text;
    }
}

TEST(RoutePicture, DrawsEveryBuiltRouteAsAMapAndAProfileAndRefusesWhatItCannotDraw) {
    archive_test::TemporaryFolder folder(testing_support::MakeTempFolder("routepicture"));
    RouteTerrains terrains(MakeDataPath("data"));
    for (const RouteCheck& check : BuiltRoutes()) {
        SCOPED_TRACE(check.member);
        const std::string path = folder.path + "route.png";
        ASSERT_TRUE(WriteRoutePicture(check, *terrains.Get(check.route.terrain), path));
        const std::vector<uint8_t> bytes = image_test_files::ReadBytes(path);
        FSPngImage image;
        ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), image));
        ASSERT_EQ(image.width, 640);
        ASSERT_EQ(image.height, 880);
        // The gates in red on the map (the picture's top 640 rows) and in the profile under it;
        // the decoded rows run bottom to top.
        int mapRed = 0, profileRed = 0;
        for (int row = 0; row < image.height; ++row) {
            for (int column = 0; column < image.width; ++column) {
                const uint8_t* p =
                    &image.pixels[(static_cast<size_t>(row) * image.width + column) * image.channels];
                if (p[0] == 220 && p[1] == 30 && p[2] == 30) (row < 240 ? profileRed : mapRed) += 1;
            }
        }
        EXPECT_GT(mapRed, 0);
        EXPECT_GT(profileRed, 0);
    }
    const RouteCheck& first = BuiltRoutes().front();
    const CFSTerrainStorage& terrain = *terrains.Get(first.route.terrain);
    EXPECT_FALSE(WriteRoutePicture(first, terrain, folder.path + "missing/route.png"));
    RouteCheck empty = first;
    empty.route.gates.clear();
    EXPECT_FALSE(WriteRoutePicture(empty, terrain, folder.path + "empty.png"));
}
