// The runway texture. The runway node maps it once over the whole strip: u across from the
// left edge (0) to the right edge (1), v along from end A (0) to end B (1). A typical strip
// of 40 m by 1600 m is forty times longer than wide while the picture is eight times, so
// along the strip every texel covers five times more ground than across: the markings are
// drawn five times shorter than their shape on the ground.
#include <cmath>
#include <functional>

#include "databuild/SceneryPaint.h"
#include "databuild/SceneryPictures.h"

namespace scenery {

namespace {

constexpr int kWidth = 128, kLength = 1024;
constexpr int kSupersample = 2;

const Rgba kPaint = {244, 244, 240, 255};

// Where a marking goes: across in [0, 128) from the left edge as seen by a pilot landing
// over this end, along in texels from this end towards the other one.
using EndPlace = std::function<Point2(float across, float along)>;

void Rect(Canvas& canvas, const EndPlace& place, float across, float along, float width, float length,
          Rgba colour) {
    canvas.FillPolygon({place(across, along), place(across + width, along),
                        place(across + width, along + length), place(across, along + length)},
                       colour);
}

// Block digits on a 3 x 5 grid, as painted on runways; each string is a row from the top,
// '#' painted. "Top" is the far side from the pilot, so rows run from the far end.
const char* const kDigits[10][5] = {
    {"###", "#.#", "#.#", "#.#", "###"}, {".#.", "##.", ".#.", ".#.", "###"},
    {"###", "..#", "###", "#..", "###"}, {"###", "..#", ".##", "..#", "###"},
    {"#.#", "#.#", "###", "..#", "..#"}, {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"}, {"###", "..#", ".#.", ".#.", ".#."},
    {"###", "#.#", "###", "#.#", "###"}, {"###", "#.#", "###", "..#", "###"},
};

void Digit(Canvas& canvas, const EndPlace& place, int digit, float across, float along, float width,
           float length) {
    const float cw = width / 3.0f, ch = length / 5.0f;
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 3; ++col) {
            if (kDigits[digit][row][col] != '#') continue;
            // Row 0 is the top of the digit: the farthest from the pilot.
            Rect(canvas, place, across + col * cw, along + (4 - row) * ch, cw, ch, kPaint);
        }
    }
}

// Threshold stripes, the designator, touchdown and aiming-point bars at one end (texels of
// the final picture; the canvas is kSupersample times larger, which place accounts for).
void EndMarkings(Canvas& canvas, const EndPlace& place, int designator) {
    Rect(canvas, place, 8, 3, 112, 2.5f, kPaint);  // the threshold bar across the strip
    for (int i = 0; i < 4; ++i) {
        const float offset = 13.0f + i * 12.0f;
        Rect(canvas, place, offset, 10, 7, 34, kPaint);            // left of the centre line
        Rect(canvas, place, 128 - offset - 7, 10, 7, 34, kPaint);  // and right of it
    }
    Digit(canvas, place, designator / 10, 40, 54, 20, 30);
    Digit(canvas, place, designator % 10, 68, 54, 20, 30);
    for (float along : {118.0f, 150.0f}) {  // touchdown zone bars
        for (float across : {22.0f, 30.0f, 92.0f, 100.0f})
            Rect(canvas, place, across, along, 5, 14, kPaint);
    }
    Rect(canvas, place, 26, 182, 14, 26, kPaint);  // aiming point
    Rect(canvas, place, 88, 182, 14, 26, kPaint);
}

}  // namespace

Canvas MakeRunway() {
    const float s = kSupersample;
    Canvas canvas(kWidth * kSupersample, kLength * kSupersample);
    // Tarmac: dark grey with large soft patches, fine grain and darker tyre marks where
    // wheels touch down, a little past each threshold along the middle.
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const float fx = x / s, fy = y / s;
            const float patches = FractalNoise(fx / 24.0f, fy / 96.0f, 3, 41) - 0.5f;
            const float grain = ValueNoise(fx * 0.9f, fy * 0.45f, 43) - 0.5f;
            const float fromEnd = std::min(fy, kLength - fy);
            const float across = std::fabs(fx - kWidth / 2.0f) / (kWidth / 2.0f);
            const float tyres = Smoothstep(100.0f, 140.0f, fromEnd) *
                                (1.0f - Smoothstep(260.0f, 380.0f, fromEnd)) *
                                (1.0f - Smoothstep(0.15f, 0.45f, across)) *
                                Smoothstep(0.35f, 0.7f, ValueNoise(fx / 5.0f, fy / 40.0f, 47));
            const float level = 92.0f + 14.0f * patches + 8.0f * grain - 26.0f * tyres;
            const auto v = static_cast<uint8_t>(std::lround(std::fmin(255.0f, std::fmax(0.0f, level))));
            canvas.At(x, y) = {v, v, static_cast<uint8_t>(std::min(255, v + 4)), 255};
        }
    }
    // Lighter shoulders outside the edge lines.
    const Rgba shoulder = {128, 126, 118, 255};
    canvas.FillRect(0, 0, static_cast<int>(4 * s), canvas.Height(), shoulder);
    canvas.FillRect(static_cast<int>((kWidth - 4) * s), 0, static_cast<int>(4 * s), canvas.Height(),
                    shoulder);
    // Edge lines along both sides and centre-line dashes between the two markings.
    canvas.FillRect(static_cast<int>(5 * s), 0, static_cast<int>(3 * s), canvas.Height(), kPaint);
    canvas.FillRect(static_cast<int>((kWidth - 8) * s), 0, static_cast<int>(3 * s), canvas.Height(), kPaint);
    for (float y = 226; y + 24 <= kLength - 226; y += 40) {
        canvas.FillPolygon(
            {{62.5f * s, y * s}, {65.5f * s, y * s}, {65.5f * s, (y + 24) * s}, {62.5f * s, (y + 24) * s}},
            kPaint);
    }
    // End A is the bottom of the picture, seen from beyond it: across runs left to right.
    const EndPlace endA = [s](float across, float along) {
        return Point2{across * s, (kLength - along) * s};
    };
    // End B is the top, seen the other way round: the picture turned by a half turn.
    const EndPlace endB = [s](float across, float along) { return Point2{(kWidth - across) * s, along * s}; };
    EndMarkings(canvas, endA, 9);
    EndMarkings(canvas, endB, 27);
    return canvas.Downsample(kSupersample);
}

}  // namespace scenery
