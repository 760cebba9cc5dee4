#include "databuild/PictureSketch.h"

#include <algorithm>
#include <cmath>
#include <utility>

Distance RoundedBox(float x0, float y0, float x1, float y1, float radius) {
    const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2, hw = (x1 - x0) / 2, hh = (y1 - y0) / 2;
    return [=](float x, float y) {
        const float qx = std::fabs(x - cx) - hw + radius, qy = std::fabs(y - cy) - hh + radius;
        const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return outside + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Distance Polygon(std::vector<Point2> corners) {
    // Turned to run clockwise on screen (y down), where the outward normal of an edge from a
    // to b is (b.y - a.y, a.x - b.x).
    float area = 0;
    for (size_t i = 0; i < corners.size(); ++i) {
        const Point2 a = corners[i], b = corners[(i + 1) % corners.size()];
        area += a.x * b.y - b.x * a.y;
    }
    if (area < 0) std::reverse(corners.begin(), corners.end());
    return [corners = std::move(corners)](float x, float y) {
        float inside = -1e9f, nearest = 1e9f;
        for (size_t i = 0; i < corners.size(); ++i) {
            const Point2 a = corners[i], b = corners[(i + 1) % corners.size()];
            const float dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
            inside = std::max(inside, ((x - a.x) * dy - (y - a.y) * dx) / length);
            const float t = std::clamp(((x - a.x) * dx + (y - a.y) * dy) / (length * length), 0.0f, 1.0f);
            nearest = std::min(nearest, std::hypot(x - a.x - t * dx, y - a.y - t * dy));
        }
        // Outside, the distance to the nearest edge, so that a rim rounds the corners.
        return inside <= 0 ? inside : nearest;
    };
}

void PictureSketch::Paint(const Distance& shape, float grow, Rgba colour) {
    Shade([&](float x, float y) { return shape(x, y) - grow; }, [colour](float, float) { return colour; });
}

void PictureSketch::Shade(const Distance& shape, const std::function<Rgba(float x, float y)>& colour) {
    for (int y = 0; y < canvas_.Height(); ++y) {
        for (int x = 0; x < canvas_.Width(); ++x) {
            const float fx = (x + 0.5f) / kScale, fy = (y + 0.5f) / kScale;
            if (shape(fx, fy) <= 0) canvas_.Blend(x, y, colour(fx, fy));
        }
    }
}
