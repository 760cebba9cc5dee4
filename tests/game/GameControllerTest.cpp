// The game controller's own rules: the chase camera's limiter and turn, the score's
// distance factor, the headless mode's key scripts and how flights end.
#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

#include "FSHeadlessRun.h"
#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSScoreTable.h"
#include "game/CSPGameController.h"
#include "game/CSPObstacle.h"
#include "game/CSPRoute.h"
#include "platform/FSDisplay.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"
#include "world/FSSineTable.h"

namespace {

TEST(GameCamera, SoftClampRisesSmoothlyThroughTheMiddleOfItsRange) {
    EXPECT_FLOAT_EQ(SoftClamp(0.0f, -2.0f, 2.0f), 0.0f);
    EXPECT_FLOAT_EQ(SoftClamp(0.0f, 1.0f, 3.0f), 3.0f);  // lo + the half sum of the magnitudes
    float last = -10.0f;
    for (float x = -5.0f; x <= 5.0f; x += 0.25f) {
        const float y = SoftClamp(x, -2.0f, 2.0f);
        EXPECT_GT(y, last) << x;
        EXPECT_GT(y, -2.0f) << x;
        EXPECT_LT(y, 2.0f) << x;
        last = y;
    }
    // A range of no width holds everything at its lower end.
    EXPECT_FLOAT_EQ(SoftClamp(3.0f, 0.0f, 0.0f), 0.0f);
}

TEST(GameCamera, SlerpRunsFromOneOrientationToTheOtherAndStaysUnit) {
    const SineTable sine;
    const FSQuaternion level = FSQuaternion::Identity();
    const FSQuaternion turned = FromAxisAngle(FSVector(0.0f, 1.0f, 0.0f), 1.2f);
    const FSQuaternion opposite{-1.0f, 0.0f, 0.0f, 0.0f};
    struct Case {
        FSQuaternion from, to;
        float t;
    };
    for (const Case& c : {Case{level, turned, 0.0f}, Case{level, turned, 1.0f}, Case{level, turned, 0.5f},
                          Case{level, opposite, 0.5f}, Case{turned, turned, 0.3f}}) {
        const FSQuaternion q = Slerp(c.from, c.to, c.t, sine);
        EXPECT_NEAR(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z, 1.0f, 1e-4f);
        if (c.t == 0.0f) {
            EXPECT_NEAR(q.y, c.from.y, 2e-3f);
        }
        if (c.t == 1.0f) {
            EXPECT_NEAR(q.y, c.to.y, 2e-3f);
        }
    }
    // Half way through a 1.2 rad turn is a 0.6 rad turn.
    const FSQuaternion half = Slerp(level, turned, 0.5f, sine);
    EXPECT_NEAR(2.0f * std::acos(half.w), 0.6f, 3e-3f);
}

TEST(GameScore, TheDistanceFactorHalvesAtFiveAndAHalfRouteLengthsAndEndsAtTen) {
    struct Case {
        float flown, factor;
    };
    for (const Case& c :
         {Case{5.0f, 1.0f}, Case{10.0f, 1.0f}, Case{55.0f, 0.5f}, Case{100.0f, 0.0f}, Case{250.0f, 0.0f}}) {
        EXPECT_NEAR(DistanceFactor(c.flown, 10.0f), c.factor, 1e-5f) << c.flown;
    }
}

TEST(HeadlessMode, KeyScriptsNameThePassTheKeyAndWhichWayItGoes) {
    std::vector<FSScriptedKey> keys;
    std::string error;
    ASSERT_TRUE(ReadKeyScript("# take-off\n10 button5 down\n12 action down # brakes off\n\n40 left up\n",
                              keys, error));
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].key, 197);
    EXPECT_EQ(keys[1].pass, 12);
    EXPECT_EQ(keys[2].key, 1);
    EXPECT_FALSE(keys[2].down);
    for (const char* bad : {"x left down\n", "3 sideways down\n", "3 left maybe\n", "3 left down now\n",
                            "-4 left down\n", "99999999999 left down\n"}) {
        std::vector<FSScriptedKey> none;
        EXPECT_FALSE(ReadKeyScript(bad, none, error)) << bad;
        EXPECT_NE(error.find("line 1"), std::string::npos);
    }
}

}  // namespace

namespace {

// The first route flown by a script of key presses through the headless mode.
FSHeadlessResult FlyScript(const std::string& script, int frames,
                           const std::function<void(CFSHeadlessRun&)>& check = {}) {
    const std::string folder = testing_support::MakeTempFolder("controller");
    const std::string path = folder + "/keys.txt";
    std::FILE* file = std::fopen(path.c_str(), "w");
    std::fputs(script.c_str(), file);
    std::fclose(file);
    FSHeadlessOptions options;
    options.pilot = FSHeadlessPilot::Script;
    options.script = path;
    options.frames = frames;
    options.resolution = 0;
    options.playerFolder = folder;
    CFSHeadlessRun run(options);
    EXPECT_EQ(run.Start(), 0);
    return run.Fly(check);
}

TEST(GameViews, TheMapTwiceReturnsToTheViewShownBefore) {
    // Button 2 changes the view, button 4 is the map; a button message is a press or a release.
    struct Case {
        const char* script;
        int before;
    };
    for (const Case& c : {Case{"", kViewChase}, Case{"150 button2 down\n152 button2 up\n", kViewCockpit}}) {
        const std::string script =
            std::string(c.script) + "200 button4 down\n202 button4 up\n300 button4 down\n302 button4 up\n";
        std::vector<int> views;
        FlyScript(script, 320, [&](CFSHeadlessRun& run) {
            if (run.Passes() == 199 || run.Passes() == 250 || run.Passes() == 310)
                views.push_back(run.Controller().View());
        });
        EXPECT_EQ(views, (std::vector<int>{c.before, kViewMap, c.before}));
    }
}

TEST(GameFinish, ADiveIntoTheGroundWrecksTheAircraftAndFailsTheFlightWithoutAScore) {
    // The instructor takes off; switched off again, the nose is pushed down and held there.
    const FSHeadlessResult result =
        FlyScript("110 button3 down\n112 button3 up\n800 button3 down\n802 button3 up\n810 up down\n", 2500);
    EXPECT_EQ(result.finish, SPFinish::Failure);
    EXPECT_EQ(result.score, 0);
    EXPECT_LT(result.frames, 2500) << "the menu comes back after the finish";
}

TEST(GameFinish, AScoreThatCannotBeSavedIsSaidAtTheFinishAndTheGameGoesOn) {
    FSHeadlessOptions options;
    options.resolution = 0;
    options.playerFolder = testing_support::MakeTempFolder("unsaved-score");
    // The temporary file's name is taken by a folder: the save fails, the old file stays.
    const std::string old = "AIRWAY: " + std::string(32, '\0') + "\r\n";
    image_test_files::WriteText(options.playerFolder + "scores.dat", old);
    ASSERT_TRUE(std::filesystem::create_directory(options.playerFolder + "scores.dat.tmp"));
    CFSHeadlessRun run(options);
    ASSERT_EQ(run.Start(), 0);
    CSPGameController& game = run.Controller();
    for (int pass = 0; pass < 100; ++pass)
        ASSERT_TRUE(run.Pass());
    // Every gate taken at once, as their contacts would take them in a flight.
    while (CSPObstacle* gate = game.Route()->CurrentTarget())
        game.Contact(gate);
    testing::internal::CaptureStderr();
    for (int pass = 0; pass < 10 && game.Finish() == SPFinish::None; ++pass)
        ASSERT_TRUE(run.Pass());
    run.Pass();
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_EQ(game.Finish(), SPFinish::Success);
    ASSERT_NE(game.Score(), 0);
    EXPECT_NE(said.find("could not save the scores to " + options.playerFolder + "scores.dat"), said.npos)
        << said;
    // The player reads it in amber over the finish, and the score stays for this session.
    EXPECT_EQ(game.StatusText(), "The score could not\nbe saved.\nEnter: replay");
    // The status line's corner, left of TIME and SCORE, turned upright as the player sees it.
    const std::vector<uint16_t> frame = run.Display().LastFrame();
    std::vector<uint16_t> picture(frame.size());
    platform::DeviceToPicture(run.Display().Orientation(), frame.data(), picture.data());
    const int width = run.Display().Orientation() == 0 ? MFSDisplay::kWidth : MFSDisplay::kHeight;
    int amber = 0;
    for (int y = 28; y < 60; ++y)
        amber +=
            static_cast<int>(std::count(&picture[y * width], &picture[y * width + 140], uint16_t{0xFE60}));
    EXPECT_GT(amber, 40);
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

TEST(GameFlight, ARouteWithoutFogOfItsOwnFliesInTheSameHazeOnEveryFlight) {
    // Route 2 has no fog line; before, its first flight got the library's dense default
    // fog and the next none at all, once the route before had switched fog off.
    FSHeadlessOptions options;
    options.route = 1;
    options.resolution = 0;
    options.playerFolder = testing_support::MakeTempFolder("haze");
    CFSHeadlessRun run(options);
    ASSERT_EQ(run.Start(), 0);
    for (int flight = 0; flight < 2; ++flight) {
        if (flight > 0) run.Controller().RunFlightStart();
        GLint mode = 0;
        GLfixed end = 0;
        glGetIntegerv(GL_FOG_MODE, &mode);
        glGetFixedv(GL_FOG_END, &end);
        EXPECT_TRUE(glIsEnabled(GL_FOG)) << flight;
        EXPECT_EQ(mode, GL_LINEAR) << flight;
        EXPECT_EQ(end, 30 << 16) << flight;
    }
}

}  // namespace
