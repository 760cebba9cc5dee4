// The stylus pad of huds.zip: the picture "touchpad/touchpad.bmp" (16-bit 5-6-5) and its
// mask "touchpad/touchpad_mask.bmp" (8-bit coverage).
//
// The game copies the picture unturned onto the device screen, so one 120 x 160 picture
// serves the portrait pad (120 x 160) and both landscape pads (160 x 120, seen turned a
// quarter either way). Everything on it therefore reads the same after a half turn: a
// dark see-through panel in a rounded frame, a cross-hair, the dead zone (30 x 40 device
// pixels, the pads' quarter) marked at the centre, and an arrow at the middle of each edge.
// Light lines carry a faint dark rim so they hold over bright ground and dark alike.
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "common/Canvas.h"
#include "common/ImageFiles.h"
#include "databuild/ArchiveBuilder.h"
#include "databuild/DataGenerators.h"

namespace {

constexpr int kWidth = 120;  // device pixels
constexpr int kHeight = 160;
constexpr int kScale = 4;  // drawn at 4x and filtered down for smooth edges
constexpr float kCentreX = kWidth / 2.0f;
constexpr float kCentreY = kHeight / 2.0f;
constexpr float kDeadHalfWidth = 15.0f;  // the 30 x 40 dead zone
constexpr float kDeadHalfHeight = 20.0f;
constexpr float kFrameInset = 3.5f;  // centre line of the frame from the picture's edge
constexpr float kFrameRadius = 14.0f;
constexpr float kDeadRadius = 5.0f;
// Arrows: tip from the picture's edge, depth from tip to base, half the base.
constexpr float kArrowTipInset = 8.0f;
constexpr float kArrowDepth = 6.5f;
constexpr float kArrowHalfBase = 6.0f;
// The cross-hair stops this far short of an arrow's base.
constexpr float kArrowGap = 2.5f;

constexpr Rgba kInk = {226, 236, 240, 255};
constexpr Rgba kRim = {8, 12, 16, 255};
constexpr Rgba kPanel = {16, 24, 32, 255};

// Signed distance in final pixels from a point to a shape: negative inside.
using Distance = std::function<float(float x, float y)>;

float RoundedBox(float x, float y, float halfWidth, float halfHeight, float radius) {
    const float qx = std::fabs(x - kCentreX) - halfWidth + radius;
    const float qy = std::fabs(y - kCentreY) - halfHeight + radius;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

// A line of the given width along the outline of a centred rounded box.
Distance Outline(float halfWidth, float halfHeight, float radius, float lineWidth) {
    return [=](float x, float y) {
        return std::fabs(RoundedBox(x, y, halfWidth, halfHeight, radius)) - lineWidth / 2;
    };
}

Distance Segment(Point2 a, Point2 b, float lineWidth) {
    return [=](float x, float y) {
        const float dx = b.x - a.x, dy = b.y - a.y;
        const float t = std::clamp(((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
        return std::hypot(x - a.x - t * dx, y - a.y - t * dy) - lineWidth / 2;
    };
}

// A triangle pointing from the picture's centre through the middle of an edge: tip at
// tip, base depth pixels further in, halfBase to each side. Mitred half-planes, which is
// plenty for a one-pixel rim.
Distance Arrow(Point2 tip, Point2 inward, float depth, float halfBase) {
    const Point2 side = {-inward.y, inward.x};
    const Point2 left = {tip.x + inward.x * depth + side.x * halfBase,
                         tip.y + inward.y * depth + side.y * halfBase};
    const Point2 right = {tip.x + inward.x * depth - side.x * halfBase,
                          tip.y + inward.y * depth - side.y * halfBase};
    const Point2 corners[3] = {tip, right, left};
    return [=](float x, float y) {
        float d = -1e9f;
        for (int i = 0; i < 3; ++i) {
            const Point2 a = corners[i], b = corners[(i + 1) % 3];
            // The corners run clockwise on screen, so the outward normal is (dy, -dx).
            const float nx = b.y - a.y, ny = a.x - b.x, length = std::hypot(nx, ny);
            d = std::max(d, ((x - a.x) * nx + (y - a.y) * ny) / length);
        }
        return d;
    };
}

struct Mark {
    Distance distance;
    uint8_t alpha;  // of the ink
};

// Blends colour over every supersample whose centre lies within grow pixels of the shape.
void Paint(Canvas& canvas, const Distance& distance, float grow, Rgba colour) {
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            if (distance((x + 0.5f) / kScale, (y + 0.5f) / kScale) <= grow) canvas.Blend(x, y, colour);
        }
    }
}

std::vector<Mark> PadMarks() {
    std::vector<Mark> marks;
    const float frameHalfWidth = kCentreX - kFrameInset, frameHalfHeight = kCentreY - kFrameInset;
    marks.push_back({Outline(frameHalfWidth, frameHalfHeight, kFrameRadius, 2.0f), 170});
    // The dead zone: a rounded box exactly its size.
    marks.push_back({Outline(kDeadHalfWidth - 0.75f, kDeadHalfHeight - 0.75f, kDeadRadius, 1.5f), 150});
    marks.push_back({[](float x, float y) { return std::hypot(x - kCentreX, y - kCentreY) - 1.6f; }, 200});
    // The cross-hair from the dead zone to the arrows, with a tick half-way along the travel.
    const float armX = kCentreX - (kArrowTipInset + kArrowDepth + kArrowGap);
    const float armY = kCentreY - (kArrowTipInset + kArrowDepth + kArrowGap);
    for (const float s : {-1.0f, 1.0f}) {
        marks.push_back(
            {Segment({kCentreX + s * kDeadHalfWidth, kCentreY}, {kCentreX + s * armX, kCentreY}, 1.2f), 105});
        marks.push_back(
            {Segment({kCentreX, kCentreY + s * kDeadHalfHeight}, {kCentreX, kCentreY + s * armY}, 1.2f),
             105});
        const float tickX = kCentreX + s * (kDeadHalfWidth + kCentreX) / 2;
        const float tickY = kCentreY + s * (kDeadHalfHeight + kCentreY) / 2;
        marks.push_back({Segment({tickX, kCentreY - 3.5f}, {tickX, kCentreY + 3.5f}, 1.2f), 120});
        marks.push_back({Segment({kCentreX - 3.5f, tickY}, {kCentreX + 3.5f, tickY}, 1.2f), 120});
    }
    // Arrows just inside the frame.
    const struct {
        Point2 tip, inward;
    } arrows[] = {{{kCentreX, kArrowTipInset}, {0, 1}},
                  {{kCentreX, kHeight - kArrowTipInset}, {0, -1}},
                  {{kArrowTipInset, kCentreY}, {1, 0}},
                  {{kWidth - kArrowTipInset, kCentreY}, {-1, 0}}};
    for (const auto& a : arrows)
        marks.push_back({Arrow(a.tip, a.inward, kArrowDepth, kArrowHalfBase), 190});
    return marks;
}

Canvas DrawPad() {
    Canvas canvas(kWidth * kScale, kHeight * kScale);
    // The panel: faint at the centre, a little denser towards the frame, so the pad reads
    // as a shape without hiding the ground under it.
    const float frameHalfWidth = kCentreX - kFrameInset, frameHalfHeight = kCentreY - kFrameInset;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const float fx = (x + 0.5f) / kScale, fy = (y + 0.5f) / kScale;
            if (RoundedBox(fx, fy, frameHalfWidth, frameHalfHeight, kFrameRadius) > 0) continue;
            const float u = (fx - kCentreX) / frameHalfWidth, v = (fy - kCentreY) / frameHalfHeight;
            // 0 at the centre, 1 at the frame's corners (u and v both 1).
            const float edge = std::min(std::hypot(u, v) / std::sqrt(2.0f), 1.0f);
            Rgba panel = kPanel;
            panel.a = static_cast<uint8_t>(std::lround(50.0f + 45.0f * edge * edge));
            canvas.Blend(x, y, panel);
        }
    }
    // The dead zone a shade lighter than the panel.
    Paint(canvas,
          [](float x, float y) { return RoundedBox(x, y, kDeadHalfWidth, kDeadHalfHeight, kDeadRadius); },
          0.0f, {kInk.r, kInk.g, kInk.b, 28});
    const std::vector<Mark> marks = PadMarks();
    Rgba rim = kRim;
    rim.a = 70;
    for (const Mark& mark : marks)
        Paint(canvas, mark.distance, 1.0f, rim);
    for (const Mark& mark : marks) {
        Rgba ink = kInk;
        ink.a = mark.alpha;
        Paint(canvas, mark.distance, 0.0f, ink);
    }
    return canvas.Downsample(kScale);
}

}  // namespace

bool AddTouchpad(ArchiveBuilder& archive, const DataSources&) {
    const Canvas pad = DrawPad();
    std::vector<uint16_t> colour(static_cast<size_t>(kWidth) * kHeight);
    std::vector<uint8_t> alpha(colour.size());
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const Rgba p = pad.At(x, y);
            colour[static_cast<size_t>(y) * kWidth + x] = To565(p);
            alpha[static_cast<size_t>(y) * kWidth + x] = p.a;
        }
    }
    bool ok = archive.Add("touchpad/touchpad.bmp", Encode565Bmp(colour, kWidth, kHeight, false));
    ok = archive.Add("touchpad/touchpad_mask.bmp", EncodeMaskBmp(alpha, kWidth, kHeight)) && ok;
    return ok;
}
