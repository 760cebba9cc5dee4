// The menu screens' backgrounds in menu.zip, 320 x 240 with 5-6-5 pixels, in the style of
// the title picture: a dusk sky over dark hills with the sun's glow low on the right, a dark
// title band across the top (its right end holds the screen's title buttons), the item
// labels in the light bold type with a dark halo, and plain dark panels wherever the screen
// draws white text of its own. Also the greyed "Resume" patch of the main menu and the
// controls screen's selection bar.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "common/Canvas.h"
#include "common/ImageFiles.h"
#include "databuild/ArchiveBuilder.h"
#include "databuild/DataGenerators.h"
#include "databuild/MenuArt.h"
#include "databuild/MenuScreenDesigns.h"

using namespace menu_art;
using namespace menu_screens;

namespace {

constexpr int kS = 4;  // drawn at 4x and filtered down
constexpr int kW = 320, kH = 240;
constexpr int kBand = 25;  // the title band's height
constexpr Rgba kHalo = {6, 10, 28, 255};
constexpr Rgba kGreyed = {120, 118, 150, 255};

Rgba WithAlpha(Rgba c, uint8_t a) {
    c.a = a;
    return c;
}

Point2 P(float x, float y) {
    return {x * kS, y * kS};
}

// Text with its baseline at (x, y) in screen pixels, optionally with a dark halo.
void Text(Canvas& canvas, TextRenderer& font, float size, float x, float y, const std::string& text,
          Rgba colour, bool halo) {
    font.SetSize(static_cast<int>(std::lround(size * kS)));
    const int px = static_cast<int>(std::lround(x * kS)), py = static_cast<int>(std::lround(y * kS));
    if (halo)
        for (int k = 0; k < 8; ++k) {
            const float a = k * 0.785398f;
            font.Draw(canvas, px + static_cast<int>(std::lround(std::cos(a) * kS)),
                      py + static_cast<int>(std::lround(std::sin(a) * kS)), text, WithAlpha(kHalo, 210));
        }
    font.Draw(canvas, px, py, text, colour);
}

float TextWidth(TextRenderer& font, float size, const std::string& text) {
    font.SetSize(static_cast<int>(std::lround(size * kS)));
    return static_cast<float>(font.Measure(text)) / kS;
}

// A few fixed stars in the upper sky, thinning towards the horizon.
void Stars(Canvas& canvas) {
    uint32_t seed = 0x2545F491u;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / 16777216.0f;
    };
    for (int k = 0; k < 70; ++k) {
        const float x = next() * kW, y = kBand + next() * next() * 130.0f, b = next();
        canvas.FillCircle(x * kS, y * kS, (0.35f + 0.35f * b) * kS,
                          WithAlpha(kInk, static_cast<uint8_t>(60 + 120 * b)));
    }
}

// A ridge of hills: its top follows a few summed waves about base.
void Hills(Canvas& canvas, float base, float height, float phase, Rgba colour) {
    std::vector<Point2> ridge = {P(kW, kH), P(0, kH)};
    for (int x = 0; x <= kW; x += 4) {
        const float t = x * 0.0196f + phase;
        ridge.push_back(
            P(static_cast<float>(x), base - height * (0.55f * std::sin(t) + 0.3f * std::sin(2.3f * t + 1.0f) +
                                                      0.15f * std::sin(5.1f * t))));
    }
    canvas.FillPolygon(ridge, colour);
}

void Sky(Canvas& canvas) {
    canvas.VerticalGradient(0, kH * kS,
                            {{0.0f, kNight},
                             {0.5f, kDusk},
                             {0.74f, Mix(kDusk, kEmber, 0.45f)},
                             {0.86f, kEmber},
                             {1.0f, Mix(kEmber, kGlow, 0.5f)}});
    Stars(canvas);
    canvas.Glow(150 * kS, 206 * kS, 100 * kS, WithAlpha(kGlow, 90));
    canvas.FillCircle(150 * kS, 204 * kS, 9 * kS, WithAlpha(Mix(kGlow, kInk, 0.5f), 235));
    Hills(canvas, 200, 14, 0.0f, kHills);
    Hills(canvas, 214, 10, 2.1f, Mix(kHills, kDeep, 0.55f));
    Hills(canvas, 228, 7, 4.0f, kDeep);
}

// The title picture's aircraft seen from above, nose along angle (radians, 0 = up),
// centred on (cx, cy) with span size, dark against the sky with a contrail behind it.
void Aircraft(Canvas& canvas, float cx, float cy, float size, float angle, float trail) {
    const float s = std::sin(angle), c = std::cos(angle);
    auto place = [&](std::initializer_list<std::pair<float, float>> points) {
        std::vector<Point2> out;
        for (auto [x, y] : points)
            out.push_back(P(cx + (x * c - y * s) * size / 2, cy + (x * s + y * c) * size / 2));
        return out;
    };
    for (int k = 0; k < 24; ++k) {  // the contrail fades away behind the tail
        const float d = size * 0.3f + k * trail / 24.0f;
        canvas.FillCircle((cx - s * d) * kS, (cy + c * d) * kS, (1.0f + k * 0.06f) * kS,
                          WithAlpha(kInk, static_cast<uint8_t>(90 - k * 3)));
    }
    const Rgba body = Mix(kDeep, kNight, 0.4f);
    canvas.FillPolygon(place({{0.0f, -0.95f},
                              {0.08f, -0.8f},
                              {0.09f, -0.2f},
                              {0.05f, 0.6f},
                              {-0.05f, 0.6f},
                              {-0.09f, -0.2f},
                              {-0.08f, -0.8f}}),
                       body);
    canvas.FillPolygon(place({{0.08f, -0.3f},
                              {1.0f, -0.12f},
                              {1.0f, 0.02f},
                              {-1.0f, 0.02f},
                              {-1.0f, -0.12f},
                              {-0.08f, -0.3f}}),
                       body);
    canvas.FillPolygon(
        place(
            {{0.04f, 0.4f}, {0.38f, 0.5f}, {0.38f, 0.58f}, {-0.38f, 0.58f}, {-0.38f, 0.5f}, {-0.04f, 0.4f}}),
        body);
}

void TitleBand(Canvas& canvas, TextRenderer& bold, const char* title) {
    canvas.FillRect(0, 0, kW * kS, kBand * kS, WithAlpha(kDeep, 215));
    canvas.FillRect(0, kBand * kS, kW * kS, kS, WithAlpha(kGlow, 150));
    Text(canvas, bold, 15.0f, 9.0f, 18.0f, title, kGlow, false);
}

void DarkPanel(Canvas& canvas, const Rect& r) {
    const int x = r.left * kS, y = r.top * kS, w = (r.right - r.left + 1) * kS,
              h = (r.bottom - r.top + 1) * kS;
    canvas.FillRect(x - kS, y - kS, w + 2 * kS, h + 2 * kS, WithAlpha(Mix(kHills, kGlow, 0.25f), 200));
    canvas.FillRect(x, y, w, h, kDeep);
}

// The label's text fills its box's height (a capital about three quarters of the type
// size), shrinks to the box's width when it has to, and sits centred on the box's middle.
void LabelText(Canvas& canvas, TextRenderer& bold, const Label& label, Rgba colour) {
    Rect r = label.box;
    if (label.headingHeight > 0) r.bottom = r.top + label.headingHeight - 1;
    const float height = static_cast<float>(r.bottom - r.top + 1),
                width = static_cast<float>(r.right - r.left + 1);
    float size = std::min(12.0f, height * 1.1f);
    while (size > 7.0f && TextWidth(bold, size, label.text) > width)
        size -= 0.25f;
    const float cap = 0.73f * size;
    const float baseline =
        std::min(static_cast<float>(r.bottom + 1), (r.top + r.bottom + 1) / 2.0f + cap / 2.0f);
    const float x = label.align == Align::kLeft
                        ? static_cast<float>(r.left)
                        : static_cast<float>(r.right + 1) - TextWidth(bold, size, label.text);
    Text(canvas, bold, size, x, baseline, label.text, colour, true);
}

// The whole background; greyResume paints the main menu's "Resume" greyed out.
Canvas Background(const ScreenDesign& design, TextRenderer& bold, TextRenderer& regular, bool greyResume) {
    Canvas canvas(kW * kS, kH * kS);
    Sky(canvas);
    if (design.scenery == Scenery::kAircraft) Aircraft(canvas, 92, 122, 70, 0.55f, 95);
    if (design.scenery == Scenery::kAircraftRight) Aircraft(canvas, 250, 92, 56, 0.75f, 80);
    TitleBand(canvas, bold, design.title);
    for (const Panel& panel : design.panels)
        DarkPanel(canvas, panel.box);
    for (const Note& note : design.notes)
        Text(canvas, note.accent ? bold : regular, note.size, static_cast<float>(note.x),
             static_cast<float>(note.y), note.text, note.accent ? kGlow : kInk, true);
    for (size_t k = 0; k < design.labels.size(); ++k) {
        const bool grey = greyResume && k == static_cast<size_t>(kResumeLabel);
        LabelText(canvas, bold, design.labels[k], grey ? kGreyed : kInk);
    }
    return canvas.Downsample(kS);
}

std::vector<uint8_t> Bmp(const Canvas& picture) {
    return Encode565Bmp(Plain565(picture), picture.Width(), picture.Height(), false);
}

Canvas Crop(const Canvas& picture, const Rect& r) {
    Canvas out(r.right - r.left + 1, r.bottom - r.top + 1);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x)
            out.At(x, y) = picture.At(r.left + x, r.top + y);
    return out;
}

// Warm on the left where the row's action name starts, fading into the panel's dark blue,
// dark enough for the white text drawn on it.
Canvas SelectBar() {
    Canvas bar(kSelectBarWidth, kSelectBarHeight);
    const Rgba warm = Mix(kEmber, kDeep, 0.45f), cool = Mix(kDusk, kDeep, 0.45f);
    for (int y = 0; y < kSelectBarHeight; ++y)
        for (int x = 0; x < kSelectBarWidth; ++x) {
            Rgba c = Mix(warm, cool, static_cast<float>(x) / (kSelectBarWidth - 1));
            if (y == 0 || y == kSelectBarHeight - 1) c = Mix(c, kGlow, 0.35f);
            if (x < 2) c = kGlow;
            bar.At(x, y) = c;
        }
    return bar;
}

}  // namespace

bool AddMenuScreens(ArchiveBuilder& archive, const DataSources& sources) {
    TextRenderer bold(sources.boldFont), regular(sources.regularFont);
    if (!bold.Ok() || !regular.Ok()) return false;
    bool ok = true;
    for (const ScreenDesign& design : ScreenDesigns())
        ok = archive.Add(design.path, Bmp(Background(design, bold, regular, false))) && ok;
    const Canvas greyed = Background(ScreenDesigns().front(), bold, regular, true);
    ok = archive.Add("states/state_main/resume.bmp", Bmp(Crop(greyed, kResumePatch))) && ok;
    ok = archive.Add("states/state_controls/controls_select_bar.bmp", Bmp(SelectBar())) && ok;
    return ok;
}
