#include <gtest/gtest.h>

#include <vector>

#include "hud/FSFont.h"
#include "hud/FSReadout.h"
#include "platform/FSDisplay.h"
#include "resources/FSPixels.h"

namespace {

TEST(Readout, ShowsTimeAndScoreRightAlignedInTheCornerOfTheFlightOrientation) {
    CFSFont font;
    ASSERT_TRUE(font.LoadFont("game_font", 5, 1, 0));
    const uint16_t gold = Pack565(0xFFCC00);
    for (int alignment : {0, 1, 2}) {
        const int w = alignment == 0 ? 240 : 320;
        const int h = alignment == 0 ? 320 : 240;
        // What it must look like: right-aligned rows at 5 and 25, 5 pixels from the edge.
        std::vector<uint16_t> expected(240 * 320, 0);
        const FSClipRect whole{0, 0, w, h};
        DrawTextRaw(font, expected.data(), w, h, 0, kJustifyRight, {w - 5, 5}, gold, "2:05", whole);
        DrawTextRaw(font, expected.data(), w, h, 0, kJustifyRight, {w - 5, 25}, gold, "1250", whole);
        DrawTextRaw(font, expected.data(), w, h, 0, kJustifyLeft, {w - 170, 5}, gold, "TIME", whole);
        DrawTextRaw(font, expected.data(), w, h, 0, kJustifyLeft, {w - 170, 25}, gold, "SCORE", whole);

        std::vector<uint16_t> device(240 * 320, 0);
        DrawTimeAndScore(font, device.data(), alignment, 125, 1250, true);
        std::vector<uint16_t> seen(240 * 320, 0);
        platform::DeviceToPicture(alignment, device.data(), seen.data());
        EXPECT_EQ(seen, expected) << "alignment " << alignment;
    }
    // Without labels only the figures are drawn.
    std::vector<uint16_t> device(240 * 320, 0);
    DrawTimeAndScore(font, device.data(), 2, 0, 0, false);
    std::vector<uint16_t> seen(240 * 320, 0);
    platform::DeviceToPicture(2, device.data(), seen.data());
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 240; ++x)
            ASSERT_EQ(seen[y * 320 + x], 0) << x << "," << y;
    }
}

}  // namespace
