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
        // What it must look like: right-aligned rows 20 pixels apart, 5 pixels from the edge.
        const int top = alignment == 0 ? 30 : 5;
        std::vector<uint16_t> expected(240 * 320, 0);
        const FSClipRect whole{0, 0, w, h};
        DrawTextRaw(font, expected.data(), w, h, 0, kJustifyRight, {w - 5, top}, gold, "2:05", whole);
        DrawTextRaw(font, expected.data(), w, h, 0, kJustifyRight, {w - 5, top + 20}, gold, "1250", whole);
        DrawTextRaw(font, expected.data(), w, h, 0, kJustifyLeft, {w - 170, top}, gold, "TIME", whole);
        DrawTextRaw(font, expected.data(), w, h, 0, kJustifyLeft, {w - 170, top + 20}, gold, "SCORE", whole);

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

TEST(Readout, StatusColumnClockAndCompassStripNeverShareAPixel) {
    CFSFont game, main;
    ASSERT_TRUE(game.LoadFont("game_font", 5, 1, 0));
    ASSERT_TRUE(main.LoadFont("main", 5, 1, 0));
    // The longest status a flight shows and the widest time and score.
    const char* status =
        "[FLY]\n[AUTO]\n[FLAPS]\n[BRAKES]\n[INSTRUCTOR]\n[STALL]\nV:999km/h\nVert:-99m/s\nH:12.345km\n"
        "Thr:100%\nAlt:12.345km";
    for (int alignment : {0, 1, 2}) {
        const int w = alignment == 0 ? 240 : 320, h = alignment == 0 ? 320 : 240;
        std::vector<uint16_t> text(240 * 320, 0);
        DrawTextRaw(main, text.data(), w, h, 0, kJustifyLeft, {kStatusLeft, kStatusTop}, 0xFFFF, status,
                    {0, 0, w, h});
        std::vector<uint16_t> device(240 * 320, 0), clock(240 * 320, 0);
        DrawTimeAndScore(game, device.data(), alignment, 600, 99999, false);
        platform::DeviceToPicture(alignment, device.data(), clock.data());
        // The compass strip with its markers: the middle 150 pixels of the top 30 rows.
        const int compassLeft = w / 2 - 75;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const bool inStatus = text[y * w + x] != 0, inClock = clock[y * w + x] != 0;
                const bool inCompass = y < 30 && x >= compassLeft && x < compassLeft + 150;
                ASSERT_FALSE(inStatus && (inClock || inCompass)) << alignment << ": " << x << "," << y;
                ASSERT_FALSE(inClock && inCompass) << alignment << ": " << x << "," << y;
            }
        }
    }
}

}  // namespace
