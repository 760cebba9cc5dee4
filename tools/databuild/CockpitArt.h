#pragma once
// The picture of one cockpit layout as it is being painted: the whole upright screen at
// four times its size, transparent where the 3-D view shows through, with shapes given in
// screen pixels. Text is kept aside and drawn after the picture is shrunk, with FreeType's
// hinting at the final size, so small digits stay crisp. The finished picture's alpha is
// the layout's mask.
#include <string>
#include <vector>

#include "common/Canvas.h"

// A rectangle in screen pixels.
struct ArtRect {
    int x = 0, y = 0, w = 0, h = 0;
};

class CockpitArt {
public:
    static constexpr int kScale = 4;

    // A part of the picture the game draws in the temporary pass: the source rectangle
    // (in the spare rows below the screen) shown at the screen point (x, y).
    struct Overlay {
        int x, y;
        ArtRect source;
    };

    // width x height: the upright screen; panelTop: the first row of the instrument panel
    // (the 3-D view is above it); horizon: the artificial horizon's window; spareRows:
    // rows below the screen's picture for overlays.
    CockpitArt(int width, int height, int panelTop, ArtRect horizon, int spareRows = 0);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int PanelTop() const { return panelTop_; }
    const ArtRect& Horizon() const { return horizon_; }
    bool Landscape() const { return width_ > height_; }
    // The first of the spare rows (the screen's height) and their number.
    int SpareTop() const { return height_; }
    int SpareRows() const { return spareRows_; }
    // Shows source (painted in the spare rows) at (x, y) in the temporary pass.
    void AddOverlay(int x, int y, ArtRect source) { overlays_.push_back({x, y, source}); }
    const std::vector<Overlay>& Overlays() const { return overlays_; }

    // Shapes, blended over what is there.
    void Rect(float x, float y, float w, float h, Rgba colour);
    void Polygon(const std::vector<Point2>& points, Rgba colour);
    void Disc(float cx, float cy, float radius, Rgba colour);
    // The ring between two radii, or its part between two angles (degrees clockwise from
    // twelve o'clock, from < to).
    void Ring(float cx, float cy, float inner, float outer, Rgba colour, float from = 0, float to = 360);
    // A disc lit from the top left: light at the top, dark at the bottom.
    void ShadedDisc(float cx, float cy, float radius, Rgba light, Rgba dark);
    void Line(Point2 a, Point2 b, float width, Rgba colour);
    // A stroke along points (joined segments with round joints).
    void Stroke(const std::vector<Point2>& points, float width, Rgba colour);
    // Vertical gradient between two colours over the rectangle.
    void Gradient(float x, float y, float w, float h, Rgba top, Rgba bottom);
    // Fine streaks along the rows (grain; woven = carbon weave), seeded for repeatability.
    void Grain(float x, float y, float w, float h, Rgba streak, unsigned seed, bool woven);
    // Makes the disc fully transparent (the horizon dial, seen through the bezel mask).
    void Punch(float cx, float cy, float radius);

    // Text drawn after shrinking: centred on x when centred, else starting at x; y is the
    // baseline. pixels: the em size at the final scale.
    void Text(float x, float y, int pixels, const std::string& text, Rgba colour, bool bold = false,
              bool centred = true);

    // The finished picture at screen size (and its spare rows).
    Canvas Finish(const std::string& regularFont, const std::string& boldFont) const;

private:
    struct Label {
        float x, y;
        int pixels;
        std::string text;
        Rgba colour;
        bool bold, centred;
    };

    int width_, height_, panelTop_, spareRows_;
    ArtRect horizon_;
    std::vector<Overlay> overlays_;
    Canvas canvas_;
    std::vector<Label> labels_;
};

// The point at radius r and angle degrees clockwise from twelve o'clock round (cx, cy).
Point2 Polar(float cx, float cy, float r, float degrees);
