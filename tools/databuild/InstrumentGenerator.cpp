// The moving instruments' pictures of huds.zip: the strip compass and the strip altimeter,
// each a body, the marks the game lays over it and its markers (16-bit 5-6-5 pictures with
// 8-bit coverage masks).
//
// The game prints black letters and ticks onto both bodies, so each is a light ivory card
// in a thin dark frame, shaded a little towards its ends like a drum turning away. The
// pointers share the touch pad's colours: the player's marks orange, the targets' green,
// both with a dark rim so they hold over bright sky and the card alike. The altimeter's
// read-out tag is the pad's dark panel with its light rim, for the game's white figures.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/Canvas.h"
#include "common/ImageFiles.h"
#include "databuild/ArchiveBuilder.h"
#include "databuild/DataGenerators.h"
#include "databuild/PictureSketch.h"

namespace {

// Compass body: the game draws the letters (8 rows of capitals) centred on it, major ticks
// on rows 6 to 13 and minor ones on rows 9 and 10, so at 22 rows the letters and the major
// ticks share rows 6 to 13 and the minor ticks sit on their middle. Ends rounded no more
// than those rows allow, since the game cuts its marks to the body's rectangle only.
constexpr int kCompassWidth = 150, kCompassHeight = 22;
constexpr float kCompassRadius = 6.0f;
// The player's marker is placed 2 rows above the body's middle (row 9), its centre on the
// heading; the letters end on row 13, so its triangle starts below that.
constexpr int kLubberWidth = 10, kLubberHeight = 14;
// The target marker's top is 2 rows above the body; it points down at the tick rows.
constexpr int kGateMarkWidth = 10, kGateMarkHeight = 8;

// Altimeter body: ticks at columns 3 to 12, the marker rail from column 14 (the marker is
// placed at column 13, its point on the card's edge).
constexpr int kAltimeterWidth = 20, kAltimeterHeight = 150;
constexpr float kScaleRight = 14.0f;
constexpr int kHeightMarkSize = 7;
// The read-out tag: wide enough for "12.345" (40 pixels of the main font) between a rim
// and margin of 6 on the left and the 8 pixels the game keeps clear on the right, which
// hold the point. 15 rows put the font's capitals (rows 1 to 8 of its 12-row line, the line
// centred on the tag) at rows 3 to 10, on the tag's middle.
constexpr int kTagWidth = 54, kTagHeight = 15;
constexpr float kTagPoint = 7.0f;

constexpr Rgba kCard = {240, 234, 214, 255};
constexpr Rgba kCardShade = {186, 176, 150, 255};  // the card at the very ends of the drum
constexpr Rgba kFrame = {16, 24, 32, 255};         // the touch pad's panel
constexpr Rgba kRail = {52, 66, 82, 255};
constexpr Rgba kLight = {226, 236, 240, 255};  // the touch pad's ink
constexpr Rgba kPlayer = {255, 128, 24, 255};
constexpr Rgba kTarget = {64, 210, 92, 255};
constexpr Rgba kTagTop = {36, 50, 66, 255};
constexpr Rgba kTagFoot = {12, 18, 26, 255};

// A light card that darkens smoothly over the last eighth of its length at either end:
// t runs 0 to 1 along the card.
Rgba DrumCard(float t) {
    const float end = std::clamp((std::fabs(2.0f * t - 1.0f) - 0.75f) / 0.25f, 0.0f, 1.0f);
    return Mix(kCard, kCardShade, end * end);
}

// A marker: the shape in fill with a rim of kFrame about it.
void PaintMarker(PictureSketch& sketch, const Distance& shape, Rgba fill) {
    sketch.Paint(shape, 0.8f, kFrame);
    sketch.Paint(shape, 0.0f, fill);
}

PictureSketch CompassBody() {
    PictureSketch sketch(kCompassWidth, kCompassHeight);
    const float w = kCompassWidth, h = kCompassHeight;
    sketch.Paint(RoundedBox(0, 0, w, h, kCompassRadius), 0.0f, kFrame);
    sketch.Shade(RoundedBox(1, 1, w - 1, h - 1, kCompassRadius - 1),
                 [&](float x, float) { return DrumCard(x / w); });
    // A bevel: the card's top row catches the light, its bottom row is in shadow.
    sketch.Paint(RoundedBox(1, 1, w - 1, 2, 0.5f), 0.0f, {255, 255, 255, 110});
    sketch.Paint(RoundedBox(1, h - 2, w - 1, h - 1, 0.5f), 0.0f, {90, 70, 40, 70});
    return sketch;
}

PictureSketch CompassLubber() {
    PictureSketch sketch(kLubberWidth, kLubberHeight);
    const float c = kLubberWidth / 2.0f;
    PaintMarker(sketch, Polygon({{c, 6.0f}, {c + 4.2f, 13.2f}, {c - 4.2f, 13.2f}}), kPlayer);
    return sketch;
}

PictureSketch CompassGateMark() {
    PictureSketch sketch(kGateMarkWidth, kGateMarkHeight);
    const float c = kGateMarkWidth / 2.0f;
    PaintMarker(sketch, Polygon({{c - 4.0f, 0.9f}, {c + 4.0f, 0.9f}, {c, 7.2f}}), kTarget);
    return sketch;
}

PictureSketch AltimeterBody() {
    PictureSketch sketch(kAltimeterWidth, kAltimeterHeight);
    const float w = kAltimeterWidth, h = kAltimeterHeight;
    sketch.Paint(RoundedBox(0, 0, w, h, 3.0f), 0.0f, kFrame);
    sketch.Shade(RoundedBox(1, 1, kScaleRight, h - 1, 2.0f), [&](float, float y) { return DrumCard(y / h); });
    // The rail: a groove, darker along its left wall.
    sketch.Paint(RoundedBox(kScaleRight, 1, w - 1, h - 1, 2.0f), 0.0f, kRail);
    sketch.Paint(RoundedBox(kScaleRight, 1, kScaleRight + 1, h - 1, 0.0f), 0.0f, {8, 12, 16, 150});
    // The card's left edge catches the light.
    sketch.Paint(RoundedBox(1, 2, 2, h - 2, 0.0f), 0.0f, {255, 255, 255, 90});
    return sketch;
}

PictureSketch AltimeterHeightMark() {
    PictureSketch sketch(kHeightMarkSize, kHeightMarkSize);
    const float s = kHeightMarkSize, m = s / 2.0f;
    // Its base lies along the picture's right edge, on the body's frame, so only the point
    // and the slopes need the rim.
    PaintMarker(sketch, Polygon({{0.8f, m}, {s, m - 3.2f}, {s, m + 3.2f}}), kTarget);
    return sketch;
}

PictureSketch AltimeterTag() {
    PictureSketch sketch(kTagWidth, kTagHeight);
    const float w = kTagWidth, h = kTagHeight, shoulder = w - kTagPoint;
    const Distance tag = Polygon({{0, 0}, {shoulder, 0}, {w, h / 2}, {shoulder, h}, {0, h}});
    sketch.Paint(tag, 0.0f, kLight);
    sketch.Shade([tag](float x, float y) { return tag(x, y) + 1.0f; },
                 [&](float, float y) { return Mix(kTagTop, kTagFoot, y / h); });
    return sketch;
}

bool AddPicture(ArchiveBuilder& archive, const std::string& stem, const PictureSketch& sketch) {
    const Canvas picture = sketch.Finish();
    const int w = picture.Width(), h = picture.Height();
    std::vector<uint16_t> colour(static_cast<size_t>(w) * h);
    std::vector<uint8_t> alpha(colour.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Rgba p = picture.At(x, y);
            colour[static_cast<size_t>(y) * w + x] = p.a ? To565(p) : 0;
            alpha[static_cast<size_t>(y) * w + x] = p.a;
        }
    }
    bool ok = archive.Add(stem + ".bmp", Encode565Bmp(colour, w, h, false));
    ok = archive.Add(stem + "_mask.bmp", EncodeMaskBmp(alpha, w, h)) && ok;
    return ok;
}

}  // namespace

bool AddInstruments(ArchiveBuilder& archive, const DataSources&) {
    bool ok = AddPicture(archive, "compass/compass_body", CompassBody());
    ok = AddPicture(archive, "compass/compass_player_marker", CompassLubber()) && ok;
    ok = AddPicture(archive, "compass/compass_marker", CompassGateMark()) && ok;
    ok = AddPicture(archive, "altimeter/altimeter_body", AltimeterBody()) && ok;
    ok = AddPicture(archive, "altimeter/marker", AltimeterHeightMark()) && ok;
    ok = AddPicture(archive, "altimeter/altimeter_arrow", AltimeterTag()) && ok;
    return ok;
}
