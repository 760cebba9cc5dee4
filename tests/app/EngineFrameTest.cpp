#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "platform/FSPaths.h"
#include "support/HeadlessTestGame.h"
#include "testflight/CSPPlaceholderController.h"
#include "world/FSTerrainHolder.h"

using testing_support::Blue5;
using testing_support::Green6;
using testing_support::HeadlessTestGame;
using testing_support::Red5;

namespace {

// The test flight over the valley at a time of day, seen level from 1.4 km: the upright
// landscape picture after a few frames.
std::vector<uint16_t> TestFlightPicture(HeadlessTestGame& game, int dayTime) {
    game.shell->Context().route.dayTime = dayTime;
    game.controller->SetCameraPlacement(200.0f, 8.0f, 1.4f);
    game.StartFlight();
    game.Pass(6);
    return game.Picture();
}

int Brightness(uint16_t p) {
    return Red5(p) + Green6(p) / 2 + Blue5(p);
}  // 0..93

TEST(EngineFrame, RendersTheTestFlightUprightWithSkyAboveAndGroundBelow) {
    HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    const std::vector<uint16_t> picture = TestFlightPicture(game, 2);
    CFSEngine& engine = *game.shell->Context().engine;
    ASSERT_EQ(engine.State(), Flying);
    ASSERT_TRUE(engine.HasSurface());
    EXPECT_EQ(engine.SurfaceImage().width, 240);
    EXPECT_EQ(engine.SurfaceImage().height, 320);
    ASSERT_NE(game.shell->Context().terrain, nullptr);

    // The flight is shown landscape ("screengame_align" 2): 320 x 240 upright.
    ASSERT_EQ(game.display.Orientation(), 2);
    const int w = game.PictureWidth();
    auto at = [&](int x, int y) { return picture[static_cast<size_t>(y) * w + x]; };
    // A bright noon sky across the top, not green.
    for (int x : {5, 160, 315}) {
        const uint16_t sky = at(x, 4);
        EXPECT_GT(Brightness(sky), 55) << x;
        EXPECT_LE(Green6(sky) / 2, Blue5(sky) + 2) << x;
    }
    // Grass along the bottom.
    for (int x : {5, 160, 315}) {
        const uint16_t ground = at(x, 236);
        EXPECT_GT(Green6(ground) / 2, Red5(ground)) << x;
        EXPECT_GT(Green6(ground) / 2, Blue5(ground)) << x;
    }
    // Upright: the horizon (the first grass row from the top) is level across the picture.
    auto horizon = [&](int x) {
        for (int y = 0; y < 240; ++y) {
            const uint16_t p = at(x, y);
            if (Green6(p) / 2 > Red5(p) + 3 && Green6(p) / 2 > Blue5(p) + 3) return y;
        }
        return 240;
    };
    EXPECT_LT(horizon(100), 160);
    EXPECT_NEAR(horizon(100), horizon(220), 25);
}

TEST(EngineFrame, TheSkyFollowsTheTimeOfDay) {
    // One game at a time: the application context is the process's one.
    auto pictureAt = [](int dayTime) {
        HeadlessTestGame game;
        EXPECT_EQ(game.Start(), 0);
        return TestFlightPicture(game, dayTime);
    };
    const std::vector<uint16_t> noon = pictureAt(2);
    const std::vector<uint16_t> night = pictureAt(4);
    int noonSky = 0, nightSky = 0;
    for (int x = 0; x < 320; x += 8) {
        noonSky += Brightness(noon[2 * 320 + x]);
        nightSky += Brightness(night[2 * 320 + x]);
    }
    EXPECT_GT(noonSky, 3 * nightSky);
}

TEST(EngineFrame, MapActionFreezesTheFlightAndBackReturnsToTheMenu) {
    HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    game.StartFlight();
    CFSEngine& engine = *game.shell->Context().engine;
    game.Pass(3);
    game.PressButton(196);  // state 5 in the landscape flight: "map on/off"
    ASSERT_EQ(engine.State(), Paused);
    const int frames = game.controller->Frames();
    const uint64_t shown = game.display.FrameCount();
    game.Pass(10);
    EXPECT_EQ(game.controller->Frames(), frames);      // frozen ...
    EXPECT_GE(game.display.FrameCount(), shown + 10);  // ... but still drawn
    game.PressButton(196);  // within the map action's 500 ms repeat interval: ignored
    EXPECT_EQ(engine.State(), Paused);
    game.Pass(30);
    game.PressButton(196);
    EXPECT_EQ(engine.State(), Flying);

    game.PressButton(193);  // "back to menu" fires on release
    EXPECT_EQ(engine.State(), Menu);
    EXPECT_EQ(engine.PreviousState(), Idle);
    EXPECT_EQ(game.controller->IsResumable(), 1);
    game.Pass(2);
    EXPECT_EQ(game.display.Orientation(), 2);
}

TEST(EngineFrame, ResolutionZeroShowsEveryPixelAsATwoByTwoBlock) {
    HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    CFSApplicationContext& context = game.shell->Context();
    context.video.resolution = 0;
    DeriveRenderSize(context.video);
    game.StartFlight();
    game.Pass(3);
    ASSERT_EQ(context.engine->SurfaceImage().width, 120);
    const std::vector<uint16_t> frame = game.display.LastFrame();
    int mismatches = 0;
    // The overlay stays out of the checked block: the compass and the TIME / SCORE read-out
    // over the top of the landscape picture (device columns 180 and beyond), the status
    // column at its left (device rows below 100) and the altimeter at its right (rows 250
    // and beyond).
    for (int y = 100; y < 240; y += 2) {
        for (int x = 0; x < 180; x += 2) {
            const uint16_t p = frame[y * 240 + x];
            mismatches += frame[y * 240 + x + 1] != p || frame[(y + 1) * 240 + x] != p ||
                          frame[(y + 1) * 240 + x + 1] != p;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(EngineFrame, ResolutionTwoCentresTheSmallerImageOnBlack) {
    HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    CFSApplicationContext& context = game.shell->Context();
    context.video.resolution = 2;
    context.video.screenAspect = 0.5f;
    DeriveRenderSize(context.video);
    // The orbiting camera sees only sky and lit ground, never a black pixel (an aircraft's
    // tyres may be black).
    game.controller->SetAircraft(-1);
    game.StartFlight();
    game.Pass(3);
    ASSERT_EQ(context.engine->SurfaceImage().width, 120);
    ASSERT_EQ(context.engine->SurfaceImage().height, 160);
    const std::vector<uint16_t> frame = game.display.LastFrame();
    int blackOutside = 0, outside = 0, litInside = 0;
    // Away from the read-out (device columns 180 and beyond, the landscape picture's top).
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 180; ++x) {
            const bool inside = x >= 60 && x < 180 && y >= 80 && y < 240;
            const uint16_t p = frame[y * 240 + x];
            if (inside) {
                litInside += p != 0;
            } else {
                ++outside;
                blackOutside += p == 0;
            }
        }
    }
    EXPECT_EQ(blackOutside, outside);
    EXPECT_EQ(litInside, 120 * 160);  // columns 60-179 of rows 80-239
}

// A test flight seen from the cockpit: only the cockpit window's rows are converted.
class CockpitController : public CSPPlaceholderController {
public:
    int CockpitViewFlag() override { return 1; }
};

TEST(EngineFrame, CockpitViewConvertsOnlyTheCockpitWindowRows) {
    HeadlessTestGame game;
    game.shell = std::make_unique<CFSShell>(
        game.display, FSShellParts{nullptr, [] { return std::make_unique<CockpitController>(); }});
    ASSERT_EQ(game.Start(), 0);
    CFSApplicationContext& context = game.shell->Context();
    context.game.screenAlign = 0;  // portrait, so device rows are picture rows
    context.gameController->RunFlightStart();
    context.engine->SetCockpitWindow(100, 199);
    game.Pass(2);
    const std::vector<uint16_t> frame = game.display.LastFrame();
    for (int y : {0, 99, 200, 319})
        EXPECT_EQ(frame[y * 240 + 120], 0) << y;
    for (int y : {100, 150, 199})
        EXPECT_NE(frame[y * 240 + 120], 0) << y;
}

TEST(EngineFrame, AMachineWithoutA3DDisplayStopsWithAMessage) {
    // Run the snapshot tool with no EGL vendor at all: it must say why and fail, not run
    // on without an engine.
    const std::string folder = testing_support::MakeTempFolder("noegl");
    const std::string command = "__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent.json " +
                                platform::ExecutableFolder() + "aerovant-snapshot --out " + folder +
                                " --frames 1 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    const int status = pclose(pipe);
    EXPECT_NE(status, 0);
    EXPECT_NE(output.find("Unable to start the 3-D display"), std::string::npos) << output;
}

}  // namespace
