// Each of the five aircraft as the game builds and draws it (model, livery and scale from
// its description file, the test world around it, the chase camera behind it) at noon,
// turned to eight headings and three banks: lit at every pose, never a black silhouette
// nor washed out, and the same from one frame to the next.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/FSApplicationContext.h"
#include "support/HeadlessTestGame.h"
#include "testflight/CSPPlaceholderController.h"
#include "testflight/CSPTestFlight.h"
#include "world/FSMeshedNode.h"

namespace {

TEST(AircraftLight, EveryAircraftIsLitAtEveryHeadingAndBankAndSteadyFromFrameToFrame) {
    for (int index = 0; index < 5; ++index) {
        testing_support::HeadlessTestGame game;
        ASSERT_EQ(game.Start(), 0);
        CFSApplicationContext& context = game.shell->Context();
        context.route.dayTime = 2;  // noon
        game.controller->SetTerrain("valley.ter");
        game.controller->SetAircraft(index);
        game.StartFlight();
        game.Pass(2);
        ASSERT_NE(game.controller->Flight(), nullptr);
        CFSMeshedNode& node = *game.controller->Flight()->Node();
        // Held still above the approach, the world (buildings, the circling stand-in with
        // its propeller, smoke) drawn before and after it, no burst's spark across it.
        context.moveObjects = context.detectCollisions = 0;
        const FSFixedVector start = node.GetPosition();
        node.Move({start.x, start.y + FloatToFixed(0.4f), start.z - FloatToFixed(3.0f)});
        for (int pose = 0; pose < 24; ++pose) {
            const float heading = pose / 3 * 0.785398f, bank = (pose % 3 - 1) * 0.872665f;  // 45°, 50°
            SCOPED_TRACE(testing::Message() << "aircraft " << index + 1 << ", pose " << pose);
            const FSVector right(std::cos(heading), 0.0f, -std::sin(heading));
            node.LookAlong(FSVector(std::sin(heading), 0.0f, std::cos(heading)),
                           FSVector(0.0f, std::cos(bank), 0.0f) + right * std::sin(bank));
            game.Pass(2);                     // the chase camera settles behind the new pose
            std::vector<uint16_t> frames[3];  // two frames, then one without the aircraft
            for (int frame = 0; frame < 3; ++frame) {
                node.SetVisible(frame < 2);
                game.Pass();
                frames[frame] = game.Picture();
            }
            node.SetVisible(true);
            // Its pixels (where the picture differs without it): their mean brightest
            // channel (a red livery in full light is as bright as a white one), and how
            // many are the same in the next frame (the L-29's flame flickers by design).
            int pixels = 0, steady = 0;
            double brightness = 0.0;
            for (size_t i = 0; i < frames[0].size(); ++i) {
                const uint16_t p = frames[0][i];
                if (p == frames[2][i]) continue;
                ++pixels;
                steady += p == frames[1][i];
                brightness +=
                    std::max({((p >> 11) & 31) * 255 / 31, ((p >> 5) & 63) * 255 / 63, (p & 31) * 255 / 31});
            }
            ASSERT_GT(pixels, 300);
            brightness /= pixels;
            EXPECT_TRUE(brightness > 80.0 && brightness < 235.0) << brightness;
            EXPECT_GT(steady, pixels * 3 / 4);
        }
    }
}

}  // namespace
