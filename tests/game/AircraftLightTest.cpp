// Each of the five aircraft as the game builds and draws it (its model, livery and scale
// from its description file, the test world around it, the chase camera behind it) at
// noon, turned to eight headings and three banks: it is lit by the sun at every pose,
// never a black silhouette and never washed out, and the same pose looks the same from one
// frame to the next.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/FSApplicationContext.h"
#include "game/CSPPlaceholderController.h"
#include "game/CSPTestFlight.h"
#include "support/HeadlessTestGame.h"
#include "world/FSMeshedNode.h"

using testing_support::HeadlessTestGame;

namespace {

// The brightest of a 5-6-5 pixel's channels, 0..255: a red livery in full light is as
// bright as a white one.
int Brightness(uint16_t p) {
    return std::max({((p >> 11) & 31) * 255 / 31, ((p >> 5) & 63) * 255 / 63, (p & 31) * 255 / 31});
}

// The aircraft's pixels: those where picture differs from the one drawn without it.
struct Seen {
    int pixels = 0;
    double brightness = 0.0;  // their mean
    int steady = 0;           // of them, those that are the same in the next frame
};

Seen Look(const std::vector<uint16_t>& picture, const std::vector<uint16_t>& next,
          const std::vector<uint16_t>& without) {
    Seen seen;
    for (size_t i = 0; i < picture.size(); ++i) {
        if (picture[i] == without[i]) continue;
        ++seen.pixels;
        seen.brightness += Brightness(picture[i]);
        seen.steady += picture[i] == next[i];
    }
    if (seen.pixels > 0) seen.brightness /= seen.pixels;
    return seen;
}

TEST(AircraftLight, EveryAircraftIsLitAtEveryHeadingAndBankAndSteadyFromFrameToFrame) {
    constexpr float kDegree = 0.017453292f;
    for (int index = 0; index < 5; ++index) {
        HeadlessTestGame game;
        ASSERT_EQ(game.Start(), 0);
        CFSApplicationContext& context = game.shell->Context();
        context.route.dayTime = 2;  // noon
        game.controller->SetTerrain("valley.ter");
        game.controller->SetAircraft(index);
        game.StartFlight();
        game.Pass(2);
        ASSERT_NE(game.controller->Flight(), nullptr);
        CFSMeshedNode& node = *game.controller->Flight()->Node();
        // Held still 50 m over the start of the strip, where the world (the field, its
        // buildings, the circling stand-in with its propeller, smoke and bursts) is drawn
        // before and after it.
        context.moveObjects = 0;
        context.detectCollisions = 0;
        const FSFixedVector start = node.GetPosition();
        node.Move({start.x, start.y + FloatToFixed(0.4f), start.z - FloatToFixed(3.0f)});
        for (int heading = 0; heading < 360; heading += 45) {
            for (float bank : {-50.0f, 0.0f, 50.0f}) {
                SCOPED_TRACE(testing::Message()
                             << "aircraft " << index + 1 << ", heading " << heading << ", bank " << bank);
                const float h = heading * kDegree, b = bank * kDegree;
                const FSVector nose(std::sin(h), 0.0f, std::cos(h)), right(std::cos(h), 0.0f, -std::sin(h));
                node.LookAlong(nose, FSVector(0.0f, std::cos(b), 0.0f) + right * std::sin(b));
                game.Pass();  // the camera settles behind the new pose
                game.Pass();
                const std::vector<uint16_t> first = game.Picture();
                game.Pass();
                const std::vector<uint16_t> second = game.Picture();
                node.SetVisible(false);
                game.Pass();
                const std::vector<uint16_t> hidden = game.Picture();
                node.SetVisible(true);
                const Seen seen = Look(first, second, hidden);
                ASSERT_GT(seen.pixels, 300);
                EXPECT_GT(seen.brightness, 80.0);
                EXPECT_LT(seen.brightness, 235.0);
                // The aircraft stays as it was; only the L-29's flame, which flickers by
                // design, and the bursts' sparks change over it.
                EXPECT_GT(seen.steady, seen.pixels * 3 / 4);
            }
        }
    }
}

}  // namespace
