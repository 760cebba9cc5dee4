// The cockpit painter's canvas: arcs by angle, the horizon's punched dial and the spare
// rows for overlays.
#include <gtest/gtest.h>

#include "databuild/CockpitArt.h"

namespace {

// Alpha of the finished picture at a screen pixel.
int AlphaAt(const Canvas& picture, float x, float y) {
    return picture.At(static_cast<int>(x), static_cast<int>(y)).a;
}

TEST(CockpitArt, ArcsRunClockwiseFromTheirStartEvenBeforeTwelveOClock) {
    // From nine o'clock over the top to a little past three, as a variometer's climb arc.
    CockpitArt art(60, 60, 60, {0, 0, 0, 0});
    art.Ring(30, 30, 18, 22, {255, 255, 255, 255}, -90, 100);
    const Canvas picture = art.Finish("", "");
    const struct {
        float degrees;
        bool painted;
    } probes[] = {{-80, true}, {-45, true}, {0, true}, {90, true}, {135, false}, {180, false}, {225, false}};
    for (const auto& p : probes) {
        const Point2 at = Polar(30, 30, 20, p.degrees);
        EXPECT_EQ(AlphaAt(picture, at.x, at.y) == 255, p.painted) << p.degrees;
    }
}

TEST(CockpitArt, ThePunchedDialIsClearAndOverlaysLiveBelowTheScreen) {
    CockpitArt art(40, 30, 10, {10, 10, 20, 20}, 6);
    art.Rect(0, 0, 40, 36, {90, 90, 90, 255});
    art.Punch(20, 20, 7);
    art.AddOverlay(3, 4, {0, art.SpareTop(), 8, 6});
    const Canvas picture = art.Finish("", "");
    EXPECT_EQ(picture.Width(), 40);
    EXPECT_EQ(picture.Height(), 36);
    EXPECT_EQ(art.SpareTop(), 30);
    EXPECT_EQ(AlphaAt(picture, 20, 20), 0);
    EXPECT_EQ(AlphaAt(picture, 20, 14), 0);
    EXPECT_EQ(AlphaAt(picture, 20, 11), 255);
    EXPECT_EQ(AlphaAt(picture, 5, 33), 255);
    ASSERT_EQ(art.Overlays().size(), 1u);
    EXPECT_EQ(art.Overlays()[0].source.y, 30);
}

}  // namespace
