// Draws the title picture shown while the game starts (a dawn sky over mountains, a
// runway and a climbing aircraft, with the game's name) and writes it as a C++ source
// file holding a 240 x 320 BMP with 5-6-5 pixels, turned for the landscape menu
// orientation, so the executable carries it.
//
// usage: aerovant-make-splash <output.cpp> <bold font file> [<preview.png>]
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "common/Canvas.h"
#include "common/ImageFiles.h"

namespace {

constexpr int kScale = 4;  // drawn at 4x and filtered down for smooth edges
constexpr int kW = 320, kH = 240;

Point2 P(float x, float y) {
    return {x * kScale, y * kScale};
}

std::vector<Point2> Polygon(std::initializer_list<std::pair<float, float>> points) {
    std::vector<Point2> out;
    for (auto [x, y] : points)
        out.push_back(P(x, y));
    return out;
}

// The aircraft seen from above, nose up, centred on (0, 0), span 2 units; turned by
// angle (radians) and placed at (cx, cy) with the given size in pixels.
void DrawAircraft(Canvas& canvas, float cx, float cy, float size, float angle, Rgba colour) {
    const std::vector<std::vector<std::pair<float, float>>> parts = {
        // fuselage
        {{0.00f, -0.95f},
         {0.07f, -0.80f},
         {0.08f, -0.20f},
         {0.05f, 0.55f},
         {0.0f, 0.62f},
         {-0.05f, 0.55f},
         {-0.08f, -0.20f},
         {-0.07f, -0.80f}},
        // wing with a little sweep
        {{0.08f, -0.30f},
         {1.00f, -0.12f},
         {1.00f, 0.02f},
         {0.08f, 0.02f},
         {-0.08f, 0.02f},
         {-1.00f, 0.02f},
         {-1.00f, -0.12f},
         {-0.08f, -0.30f}},
        // tail plane
        {{0.04f, 0.40f},
         {0.38f, 0.50f},
         {0.38f, 0.58f},
         {0.0f, 0.56f},
         {-0.38f, 0.58f},
         {-0.38f, 0.50f},
         {-0.04f, 0.40f}},
    };
    const float c = std::cos(angle), s = std::sin(angle);
    for (const auto& part : parts) {
        std::vector<Point2> points;
        for (auto [x, y] : part) {
            const float rx = x * c - y * s, ry = x * s + y * c;
            points.push_back(P(cx + rx * size, cy + ry * size));
        }
        canvas.FillPolygon(points, colour);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <output.cpp> <bold font file> [<preview.png>]\n", argv[0]);
        return 2;
    }
    const std::string output = argv[1];
    TextRenderer text(argv[2]);
    if (!text.Ok()) {
        std::fprintf(stderr, "aerovant-make-splash: cannot read font %s\n", argv[2]);
        return 1;
    }

    Canvas canvas(kW * kScale, kH * kScale, {0, 0, 0, 255});
    const float horizon = 150.0f;
    // Dawn sky: night blue above, warm near the horizon.
    canvas.VerticalGradient(0, static_cast<int>(horizon * kScale) + kScale,
                            {{0.0f, {18, 32, 74, 255}},
                             {0.45f, {58, 86, 150, 255}},
                             {0.80f, {214, 142, 112, 255}},
                             {1.0f, {250, 196, 120, 255}}});
    canvas.Glow(238 * kScale, (horizon - 8) * kScale, 70 * kScale, {255, 226, 160, 200});
    canvas.FillCircle(238 * kScale, (horizon - 6) * kScale, 9 * kScale, {255, 240, 200, 255});

    // Two ranges of low-poly mountains.
    canvas.FillPolygon(Polygon({{0, 150},
                                {0, 118},
                                {30, 104},
                                {58, 122},
                                {92, 96},
                                {128, 126},
                                {160, 112},
                                {196, 130},
                                {230, 108},
                                {268, 128},
                                {300, 110},
                                {320, 120},
                                {320, 150}}),
                       {84, 78, 126, 255});
    canvas.FillPolygon(Polygon({{0, 150},
                                {0, 134},
                                {40, 126},
                                {70, 138},
                                {110, 122},
                                {150, 140},
                                {188, 128},
                                {222, 142},
                                {262, 132},
                                {296, 144},
                                {320, 136},
                                {320, 150}}),
                       {52, 58, 98, 255});
    // Ground and the runway running towards the horizon.
    canvas.VerticalGradient(static_cast<int>(horizon * kScale), kH * kScale,
                            {{0.0f, {46, 74, 70, 255}}, {1.0f, {22, 44, 38, 255}}});
    canvas.FillPolygon(Polygon({{150, 150}, {170, 150}, {236, 240}, {84, 240}}), {70, 74, 82, 255});
    for (int i = 0; i < 6; ++i) {
        // Centre-line dashes, longer and wider as they come closer.
        const float t0 = std::pow(i / 6.0f, 1.6f), t1 = std::pow((i + 0.55f) / 6.0f, 1.6f);
        const float y0 = horizon + t0 * 90.0f, y1 = horizon + t1 * 90.0f;
        const float w0 = 0.6f + t0 * 3.0f, w1 = 0.6f + t1 * 3.0f;
        canvas.FillPolygon(Polygon({{160 - w0, y0}, {160 + w0, y0}, {160 + w1, y1}, {160 - w1, y1}}),
                           {236, 236, 220, 255});
    }

    // The aircraft climbing away over the runway, with its shadow on the ground.
    DrawAircraft(canvas, 96, 176, 22, 0.55f, {10, 24, 26, 100});
    DrawAircraft(canvas, 268, 34, 26, 0.55f, {250, 250, 246, 255});

    // The name, with a soft shadow.
    text.SetSize(46 * kScale);
    const std::string title = "AEROVANT";
    const int titleX = (kW * kScale - text.Measure(title)) / 2;
    const int titleY = 96 * kScale;
    text.Draw(canvas, titleX + 2 * kScale, titleY + 2 * kScale, title, {0, 0, 20, 120});
    text.Draw(canvas, titleX, titleY, title, {255, 250, 240, 255});
    text.SetSize(11 * kScale);
    const std::string subtitle = "FLY  THE  GATES";
    text.Draw(canvas, (kW * kScale - text.Measure(subtitle)) / 2, 116 * kScale, subtitle,
              {255, 214, 150, 255});

    const Canvas picture = canvas.Downsample(kScale);
    if (argc > 3) WriteFile(argv[3], EncodePng(picture, false));

    // Landscape picture (X, Y) sits at device column 239 - Y, row X.
    std::vector<uint16_t> device(static_cast<size_t>(kW) * kH);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x)
            device[static_cast<size_t>(x) * kH + (kH - 1 - y)] = To565(picture.At(x, y));
    }
    const std::vector<uint8_t> bmp = Encode565Bmp(device, kH, kW, true);

    const std::string source =
        "// Made by aerovant-make-splash; do not edit.\n"
        "#include \"app/FSSplash.h\"\n\n" +
        ByteArraySource("kSplashBitmap", bmp) +
        "const unsigned int kSplashBitmapSize = sizeof(kSplashBitmap);\n";
    std::vector<uint8_t> bytes(source.begin(), source.end());
    if (!WriteFile(output, bytes)) {
        std::fprintf(stderr, "aerovant-make-splash: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
