#pragma once
// Small HUD pictures drawn as shapes given by their signed distance, for the data build: a
// shape is painted on a canvas 4 times the picture's size wherever a sample lies inside it
// (or within a margin of it), and the canvas filtered down at the end for smooth edges.
// Coordinates are the final picture's pixels, (0, 0) its top-left corner.
#include <functional>
#include <vector>

#include "common/Canvas.h"

// Signed distance in final pixels from a point to a shape: negative inside.
using Distance = std::function<float(float x, float y)>;

// The rectangle x0..x1, y0..y1 with corners rounded to radius.
Distance RoundedBox(float x0, float y0, float x1, float y1, float radius);
// A convex polygon, its corners in order either way round.
Distance Polygon(std::vector<Point2> corners);

class PictureSketch {
public:
    static constexpr int kScale = 4;

    PictureSketch(int width, int height) : canvas_(width * kScale, height * kScale) {}

    // Blends colour over the samples within grow pixels of the shape.
    void Paint(const Distance& shape, float grow, Rgba colour);
    // Blends colour(x, y) over the samples inside the shape.
    void Shade(const Distance& shape, const std::function<Rgba(float x, float y)>& colour);
    // The picture at its final size.
    Canvas Finish() const { return canvas_.Downsample(kScale); }
    // The canvas at kScale times the picture's size, for text and anything else drawn on it
    // directly.
    Canvas& Draft() { return canvas_; }

private:
    Canvas canvas_;
};
