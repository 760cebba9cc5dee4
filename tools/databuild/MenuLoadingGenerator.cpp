// The loading screen's pictures in menu.zip ("states/state_loading/..."): the title
// "loading_title.bmp" (keyed on black), the altimeter's body "altimeter_body.bmp" with its
// mask, and the figure wheels "altimeter_figures.bmp" that roll in its counter window
// while the flight is built.
//
// The body is a round dial, 122 x 122: the game copies five wheel windows of 10 x 13 into
// it at columns 32, 43, 56, 69 and 80 of row 54, so the counter window runs across its
// middle. The figures are three wheels side by side, 11 pixels apart, each a column of the
// digits 0 to 9 and 0 again, one every 14.3 rows: the game shows the window starting at
// the integer part of value x 14.3, so a whole value shows one digit whole and anything
// between shows the two digits rolling past. The last two wheels turn fastest and are
// painted warm, like the odd figures of a tape counter.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/Canvas.h"
#include "common/ImageFiles.h"
#include "databuild/ArchiveBuilder.h"
#include "databuild/DataGenerators.h"
#include "databuild/MenuArt.h"
#include "databuild/PictureSketch.h"

using namespace menu_art;

namespace {

constexpr int kBody = 122;
constexpr float kCentre = kBody / 2.0f;
constexpr int kWindowRow = 54, kWheelWidth = 10, kWheelHeight = 13;
constexpr int kWheelColumns[] = {32, 43, 56, 69, 80};
constexpr float kFigureStep = 14.3f;
constexpr int kFigureColumns = 3, kFigurePitch = 11;
constexpr int kFiguresWidth = kFigurePitch * (kFigureColumns - 1) + kWheelWidth;
constexpr int kFiguresHeight = 143 + kWheelHeight;  // the window of value 10 (0 again) ends here
constexpr int kTitleWidth = 150, kTitleHeight = 30;

Distance Circle(float radius) {
    return [=](float x, float y) { return std::hypot(x - kCentre, y - kCentre) - radius; };
}

// Ticks round the dial: 50 small ones, every fifth long, with the figures 0 to 9.
void Dial(PictureSketch& sketch, TextRenderer& font) {
    for (int k = 0; k < 50; ++k) {
        const float a = k * 6.2831853f / 50, s = std::sin(a), c = -std::cos(a);
        const float outer = 54.0f, inner = k % 5 == 0 ? 47.0f : 51.0f, w = k % 5 == 0 ? 1.6f : 0.9f;
        const Point2 p = {kCentre + s * outer, kCentre + c * outer},
                     q = {kCentre + s * inner, kCentre + c * inner};
        sketch.Paint(Segment(p, q, w), 0.0f, kInk);
        if (k % 5 == 0)
            CentredText(sketch, font, 9.0f, kCentre + s * 39.5f, kCentre + c * 39.5f + 3.5f,
                        std::to_string(k / 5), kInk);
    }
}

PictureSketch AltimeterBody(TextRenderer& font) {
    PictureSketch sketch(kBody, kBody);
    sketch.Paint(Circle(60.5f), 0.0f, kDeep);
    sketch.Shade(Circle(59.0f), [](float, float y) { return Mix(kHills, kDeep, y / kBody); });
    sketch.Shade(Circle(56.5f), [](float, float y) { return Mix(kDusk, kNight, y / kBody); });
    Dial(sketch, font);
    // The counter window in a warm frame, the five wheels' places dark until they roll in.
    const float left = kWheelColumns[0] - 2.0f, right = kWheelColumns[4] + kWheelWidth + 2.0f;
    sketch.Paint(RoundedBox(left - 1, kWindowRow - 3, right + 1, kWindowRow + kWheelHeight + 3, 2.5f), 0.0f,
                 kGlow);
    sketch.Paint(RoundedBox(left, kWindowRow - 2, right, kWindowRow + kWheelHeight + 2, 1.5f), 0.0f, kDeep);
    CentredText(sketch, font, 7.0f, kCentre, kWindowRow - 8.0f, "ALT", kGlow);
    CentredText(sketch, font, 7.0f, kCentre, kWindowRow + kWheelHeight + 13.0f, "FEET", kGlow);
    return sketch;
}

// The digit d's window begins at the integer part of d x 14.3; each digit is centred in it.
PictureSketch Figures(TextRenderer& font) {
    PictureSketch sketch(kFiguresWidth, kFiguresHeight);
    for (int column = 0; column < kFigureColumns; ++column) {
        const bool warm = column == kFigureColumns - 1;
        const float x0 = static_cast<float>(column * kFigurePitch);
        sketch.Shade(RoundedBox(x0, 0, x0 + kWheelWidth, kFiguresHeight, 0),
                     [warm](float, float) { return warm ? kGlow : kDeep; });
        for (int d = 0; d <= 10; ++d) {
            const float top = std::floor(d * kFigureStep + 1e-3f);
            CentredText(sketch, font, 11.0f, x0 + kWheelWidth / 2.0f, top + 10.5f, std::to_string(d % 10),
                        warm ? kDeep : kInk);
        }
    }
    return sketch;
}

PictureSketch Title(TextRenderer& font) {
    PictureSketch sketch(kTitleWidth, kTitleHeight);
    HaloText(sketch, font, 19.0f, kTitleWidth / 2.0f, 22.0f, "LOADING", kGlow, {8, 8, 8, 255});
    return sketch;
}

}  // namespace

bool AddLoadingScreen(ArchiveBuilder& archive, const DataSources& sources) {
    TextRenderer font(sources.boldFont);
    if (!font.Ok()) return false;
    const std::string folder = "states/state_loading/";
    bool ok = AddKeyed(archive, folder + "loading_title.bmp", Title(font).Finish(), 0);
    ok = AddMasked(archive, folder + "altimeter_body.bmp", folder + "altimeter_body_mask.bmp",
                   AltimeterBody(font).Finish()) &&
         ok;
    const Canvas figures = Figures(font).Finish();
    ok = archive.Add(folder + "altimeter_figures.bmp",
                     Encode565Bmp(Plain565(figures), kFiguresWidth, kFiguresHeight, false)) &&
         ok;
    return ok;
}
