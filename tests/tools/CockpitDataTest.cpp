// The five aircraft's cockpits in huds.zip, as the game's cockpit reader loads and draws
// them in portrait and in landscape.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hud/FSCockpit.h"
#include "hud/FSHudBlit.h"
#include "resources/FSArchive.h"
#include "resources/FSBitmap.h"
#include "resources/FSKeywordReader.h"

namespace {

const std::string kHuds = MakeDataPath("data/huds.zip");
constexpr int kFrameWidth = 240, kFrameHeight = 320;

struct CockpitCase {
    const char* name;
    int alignment;  // 0 portrait, 1 landscape
};

std::string PrintCase(const ::testing::TestParamInfo<CockpitCase>& info) {
    return std::string(info.param.name) + (info.param.alignment == 0 ? "Portrait" : "Landscape");
}

// The files named by the layout's image lines, in order.
std::vector<std::string> ImageFiles(const CockpitCase& c) {
    const std::string folder = std::string("cocpits/") + c.name + "/";
    const FSMemoryBlock text = ReadArchiveText(
        kHuds, folder + (c.alignment == 0 ? CFSCockpit::kPortraitLayout : CFSCockpit::kLandscapeLayout));
    std::vector<std::string> files;
    if (!text) return files;
    ForEachTokenLine(TextOf(text), [&](const std::vector<std::string>& tokens) {
        if (IsKeywordLine(tokens, "image", 2)) files.push_back(folder + tokens[1]);
    });
    return files;
}

// A rectangle of the frame buffer.
struct Area {
    int32_t x, y, w, h;
    bool Holds(int32_t px, int32_t py) const { return px >= x && py >= y && px < x + w && py < y + h; }
};

// The upright rectangle turned into the frame buffer for the alignment.
Area Turned(const FSCockpitRect& r, int alignment) {
    Area a{r.x, r.y, r.w, r.h};
    TurnToFrameBuffer(alignment, a.x, a.y, a.w, a.h);
    if (alignment != 0) std::swap(a.w, a.h);
    return a;
}

// The frame after the cockpit is drawn over a frame buffer filled with background and a
// horizon painted in one colour.
std::vector<uint16_t> Drawn(CFSCockpit& cockpit, uint16_t background,
                            const CFSCockpit::HorizonPainter& horizon) {
    std::vector<uint16_t> frame(kFrameWidth * kFrameHeight, background);
    cockpit.DrawCockpit(frame.data(), 0, true, horizon);
    return frame;
}

CFSCockpit::HorizonPainter Plain(uint16_t colour) {
    return [colour](FSBitmap& block) { std::fill(block.storage.begin(), block.storage.end(), colour); };
}

class CockpitData : public ::testing::TestWithParam<CockpitCase> {};

TEST_P(CockpitData, TheLayoutLoadsWithItsPicturesAPanelBelowTheViewAndASquareHorizon) {
    const CockpitCase c = GetParam();
    CFSCockpit cockpit;
    ASSERT_TRUE(cockpit.LoadCockpit(c.name, kHuds, c.alignment));
    const std::vector<std::string> files = ImageFiles(c);
    ASSERT_FALSE(files.empty());
    EXPECT_EQ(cockpit.ImageCount(), files.size());
    for (const std::string& file : files)
        EXPECT_TRUE(LoadBitmap(kHuds, file)) << file;

    // The 3-D view: the full width over a panel of the bottom rows.
    const FSSize upright = UprightScreen(c.alignment);
    const FSCockpitRect& screen = cockpit.ScreenRect();
    EXPECT_EQ(screen.x, 0);
    EXPECT_EQ(screen.y, 0);
    EXPECT_EQ(screen.w, upright.w);
    const int panelRows = upright.h - screen.h;
    EXPECT_GE(panelRows, c.alignment == 0 ? 90 : 60);
    EXPECT_LE(panelRows, c.alignment == 0 ? 110 : 75);

    // The horizon: square, on the panel, its bezel's records the window's size and place.
    const FSCockpitRect& window = cockpit.HorizonWindow();
    EXPECT_GT(window.w, 0);
    EXPECT_EQ(window.w, window.h);
    const Area view = Turned(screen, c.alignment);
    for (const auto& [x, y] :
         {std::pair{window.x, window.y}, {window.x + window.w - 1, window.y + window.h - 1}}) {
        EXPECT_TRUE(Area({0, 0, kFrameWidth, kFrameHeight}).Holds(x, y)) << x << "," << y;
        EXPECT_FALSE(view.Holds(x, y)) << x << "," << y;
    }
    for (const FSCockpitMask* mask : {&cockpit.HighQualityHorizonMask(), &cockpit.LowQualityHorizonMask()}) {
        EXPECT_EQ(mask->x, window.x);
        EXPECT_EQ(mask->y, window.y);
        EXPECT_EQ(mask->w, window.w);
        EXPECT_EQ(mask->h, window.h);
    }
    EXPECT_FALSE(cockpit.PropellerVisible());
}

TEST_P(CockpitData, ThePanelIsOpaqueTheViewMostlyClearAndTheHorizonShowsInItsDial) {
    const CockpitCase c = GetParam();
    CFSCockpit cockpit;
    ASSERT_TRUE(cockpit.LoadCockpit(c.name, kHuds, c.alignment));
    const std::vector<uint16_t> black = Drawn(cockpit, 0x0000, nullptr);
    const std::vector<uint16_t> white = Drawn(cockpit, 0xFFFF, nullptr);
    const Area view = Turned(cockpit.ScreenRect(), c.alignment);
    int inside = 0, clear = 0;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            const size_t i = static_cast<size_t>(y) * kFrameWidth + x;
            if (view.Holds(x, y)) {
                ++inside;
                clear += black[i] != white[i];
            } else {
                ASSERT_EQ(black[i], white[i]) << x << "," << y;
            }
        }
    }
    EXPECT_GE(clear, inside * 6 / 10) << clear << " of " << inside;

    // The game's horizon shows inside the dial on its diagonals, clear of the aircraft
    // symbol and the bank marks; the bezel's corners stay the panel's.
    const FSCockpitRect& w = cockpit.HorizonWindow();
    const std::vector<uint16_t> sky = Drawn(cockpit, 0, Plain(0x1234));
    const std::vector<uint16_t> ground = Drawn(cockpit, 0, Plain(0x4321));
    const auto at = [](int32_t x, int32_t y) { return static_cast<size_t>(y) * kFrameWidth + x; };
    for (const auto& [dx, dy] : {std::pair{1, 1}, {1, -1}, {-1, 1}, {-1, -1}}) {
        const int32_t x = w.x + w.w / 2 + dx * w.w / 5, y = w.y + w.h / 2 + dy * w.h / 5;
        EXPECT_EQ(sky[at(x, y)], 0x1234) << x << "," << y;
        EXPECT_EQ(ground[at(x, y)], 0x4321) << x << "," << y;
    }
    EXPECT_EQ(sky[at(w.x, w.y)], ground[at(w.x, w.y)]);
    EXPECT_EQ(sky[at(w.x + w.w - 1, w.y + w.h - 1)], ground[at(w.x + w.w - 1, w.y + w.h - 1)]);
}

TEST_P(CockpitData, TheViewsMasksCoverEachPaintedPixelOnceAndLeaveTheGamesPlacesClear) {
    const CockpitCase c = GetParam();
    CFSCockpit cockpit;
    ASSERT_TRUE(cockpit.LoadCockpit(c.name, kHuds, c.alignment));
    const std::vector<std::string> files = ImageFiles(c);
    ASSERT_EQ(files.size(), 2u);  // the picture and its mask
    const FSBitmapHandle mask = LoadBitmap(kHuds, files[1]);
    ASSERT_TRUE(mask);
    ASSERT_EQ(mask->bitsPerPixel, 8);
    const FSCockpitRect& screen = cockpit.ScreenRect();
    const auto alpha = [&](int x, int y) { return mask->Bytes()[y * mask->rowBytes + x]; };

    // A pixel blended twice would show darker; one left out would not show at all.
    std::vector<Area> records;
    for (const FSCockpitMask& m : cockpit.Permanent().masks)
        records.push_back({m.x, m.y, c.alignment == 0 ? m.w : m.h, c.alignment == 0 ? m.h : m.w});
    for (int y = screen.y; y < screen.y + screen.h; ++y) {
        for (int x = screen.x; x < screen.x + screen.w; ++x) {
            int32_t fx = x, fy = y;
            TurnToFrameBuffer(c.alignment, fx, fy, 1, 1);
            int covering = 0;
            for (const Area& r : records)
                covering += r.Holds(fx, fy);
            ASSERT_LE(covering, 1) << x << "," << y;
            if (alpha(x, y) != 0) {
                ASSERT_EQ(covering, 1) << x << "," << y;
            }
        }
    }

    // The strip compass and the status text lie over the view: nothing solid under them,
    // and the rows round the 3-D horizon stay open.
    const FSSize upright = UprightScreen(c.alignment);
    const int compassLeft = c.alignment == 0 ? 45 : 85;
    int solid = 0, middle = 0, open = 0;
    for (int y = 2; y < 45; ++y) {
        for (int x = 5; x < compassLeft + 150; ++x)
            solid += (y < 26 || x < 65) && alpha(x, y) >= 128;
    }
    for (int y = upright.h / 2 - 10; y < upright.h / 2 + 10; ++y) {
        for (int x = 0; x < upright.w; ++x, ++middle)
            open += alpha(x, y) < 128;
    }
    EXPECT_EQ(solid, 0);
    EXPECT_GE(open, middle * 9 / 10);
}

INSTANTIATE_TEST_SUITE_P(EveryAircraftBothWays, CockpitData,
                         ::testing::ValuesIn(std::vector<CockpitCase>{{"C172R", 0},
                                                                      {"C172R", 1},
                                                                      {"Su29", 0},
                                                                      {"Su29", 1},
                                                                      {"L29", 0},
                                                                      {"L29", 1},
                                                                      {"L13", 0},
                                                                      {"L13", 1},
                                                                      {"Fokker", 0},
                                                                      {"Fokker", 1}}),
                         PrintCase);

}  // namespace
