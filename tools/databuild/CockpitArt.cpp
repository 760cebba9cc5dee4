#include "databuild/CockpitArt.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;
constexpr int S = CockpitArt::kScale;

// The supersample rows or columns [first, last) a span of screen pixels covers.
int First(float v) {
    return std::max(0, static_cast<int>(std::floor(v * S)));
}
int Last(float v, int limit) {
    return std::min(limit, static_cast<int>(std::ceil(v * S)));
}

// Degrees clockwise from twelve o'clock, 0 to 360.
float Bearing(float dx, float dy) {
    const float a = std::atan2(dx, -dy) * 180.0f / kPi;
    return a < 0 ? a + 360.0f : a;
}

// A small repeatable hash for grain.
float Hash(unsigned seed, int a, int b) {
    unsigned h =
        seed * 374761393u + static_cast<unsigned>(a) * 668265263u + static_cast<unsigned>(b) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

}  // namespace

Point2 Polar(float cx, float cy, float r, float degrees) {
    const float a = degrees * kPi / 180.0f;
    return {cx + r * std::sin(a), cy - r * std::cos(a)};
}

CockpitArt::CockpitArt(int width, int height, int panelTop, ArtRect horizon, int spareRows)
    : width_(width),
      height_(height),
      panelTop_(panelTop),
      spareRows_(spareRows),
      horizon_(horizon),
      canvas_(width * S, (height + spareRows) * S) {}

void CockpitArt::Rect(float x, float y, float w, float h, Rgba colour) {
    const int x0 = First(x), y0 = First(y);
    canvas_.FillRect(x0, y0, Last(x + w, canvas_.Width()) - x0, Last(y + h, canvas_.Height()) - y0, colour);
}

void CockpitArt::Polygon(const std::vector<Point2>& points, Rgba colour) {
    std::vector<Point2> big;
    big.reserve(points.size());
    for (const Point2& p : points)
        big.push_back({p.x * S, p.y * S});
    canvas_.FillPolygon(big, colour);
}

void CockpitArt::Disc(float cx, float cy, float radius, Rgba colour) {
    canvas_.FillCircle(cx * S, cy * S, radius * S, colour);
}

void CockpitArt::Ring(float cx, float cy, float inner, float outer, Rgba colour, float from, float to) {
    const bool whole = to - from >= 360.0f;
    for (int y = First(cy - outer); y < Last(cy + outer, canvas_.Height()); ++y) {
        for (int x = First(cx - outer); x < Last(cx + outer, canvas_.Width()); ++x) {
            const float dx = (x + 0.5f) / S - cx, dy = (y + 0.5f) / S - cy;
            const float d = std::hypot(dx, dy);
            if (d < inner || d > outer) continue;
            // The angle past from, 0 to 360.
            if (!whole && std::fmod(Bearing(dx, dy) - from + 720.0f, 360.0f) > to - from) continue;
            canvas_.Blend(x, y, colour);
        }
    }
}

void CockpitArt::ShadedDisc(float cx, float cy, float radius, Rgba light, Rgba dark) {
    for (int y = First(cy - radius); y < Last(cy + radius, canvas_.Height()); ++y) {
        for (int x = First(cx - radius); x < Last(cx + radius, canvas_.Width()); ++x) {
            const float dx = (x + 0.5f) / S - cx, dy = (y + 0.5f) / S - cy;
            if (dx * dx + dy * dy > radius * radius) continue;
            const float t = std::clamp(0.5f + (dy * 0.8f + dx * 0.3f) / (2 * radius), 0.0f, 1.0f);
            canvas_.Blend(x, y, Mix(light, dark, t));
        }
    }
}

void CockpitArt::Line(Point2 a, Point2 b, float width, Rgba colour) {
    const float dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
    if (length <= 0) return;
    const float nx = -dy / length * width / 2, ny = dx / length * width / 2;
    Polygon({{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}}, colour);
}

void CockpitArt::Stroke(const std::vector<Point2>& points, float width, Rgba colour) {
    // Each segment and joint drawn into a scratch coverage so overlaps do not darken.
    if (points.size() < 2) return;
    float minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
    for (const Point2& p : points) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    const float half = width / 2;
    for (int y = First(minY - half); y < Last(maxY + half, canvas_.Height()); ++y) {
        for (int x = First(minX - half); x < Last(maxX + half, canvas_.Width()); ++x) {
            const float px = (x + 0.5f) / S, py = (y + 0.5f) / S;
            bool inside = false;
            for (size_t i = 0; i + 1 < points.size() && !inside; ++i) {
                const Point2 a = points[i], b = points[i + 1];
                const float dx = b.x - a.x, dy = b.y - a.y, ll = dx * dx + dy * dy;
                const float t =
                    ll > 0 ? std::clamp(((px - a.x) * dx + (py - a.y) * dy) / ll, 0.0f, 1.0f) : 0.0f;
                inside = std::hypot(px - a.x - t * dx, py - a.y - t * dy) <= half;
            }
            if (inside) canvas_.Blend(x, y, colour);
        }
    }
}

void CockpitArt::Gradient(float x, float y, float w, float h, Rgba top, Rgba bottom) {
    for (int r = First(y); r < Last(y + h, canvas_.Height()); ++r) {
        const float t = std::clamp(((r + 0.5f) / S - y) / h, 0.0f, 1.0f);
        for (int c = First(x); c < Last(x + w, canvas_.Width()); ++c)
            canvas_.Blend(c, r, Mix(top, bottom, t));
    }
}

void CockpitArt::Grain(float x, float y, float w, float h, Rgba streak, unsigned seed, bool woven) {
    for (int r = First(y); r < Last(y + h, canvas_.Height()); ++r) {
        for (int c = First(x); c < Last(x + w, canvas_.Width()); ++c) {
            float amount;
            if (woven) {
                // Carbon twill: diagonal bands of 3-pixel tows, alternating direction.
                constexpr int kTow = 3 * S;
                const int u = c / kTow, v = r / kTow;
                const bool across = ((u + v) / 2) % 2 == 0;
                const float f = across ? ((c % kTow) + 0.5f) / kTow : ((r % kTow) + 0.5f) / kTow;
                amount = 0.7f * std::sin(f * kPi);
            } else {
                // Wood: long streaks whose strength wanders slowly along the row.
                const int band = r / 3;
                const float wave = std::sin((c * 0.004f + Hash(seed, band, 0) * 6.0f)) * 0.5f + 0.5f;
                amount = Hash(seed, band, 1) * 0.6f + wave * 0.4f;
                amount = amount * amount;
            }
            canvas_.Blend(c, r, streak, amount);
        }
    }
}

void CockpitArt::Punch(float cx, float cy, float radius) {
    for (int y = First(cy - radius); y < Last(cy + radius, canvas_.Height()); ++y) {
        for (int x = First(cx - radius); x < Last(cx + radius, canvas_.Width()); ++x) {
            const float dx = (x + 0.5f) / S - cx, dy = (y + 0.5f) / S - cy;
            if (dx * dx + dy * dy <= radius * radius) canvas_.At(x, y) = {0, 0, 0, 0};
        }
    }
}

void CockpitArt::Text(float x, float y, int pixels, const std::string& text, Rgba colour, bool bold,
                      bool centred) {
    labels_.push_back({x, y, pixels, text, colour, bold, centred});
}

Canvas CockpitArt::Finish(const std::string& regularFont, const std::string& boldFont) const {
    Canvas out = canvas_.Downsample(S);
    TextRenderer regular(regularFont), bold(boldFont);
    for (const Label& label : labels_) {
        TextRenderer& font = label.bold ? bold : regular;
        font.SetSize(label.pixels);
        const float left = label.centred ? label.x - font.Measure(label.text) / 2.0f : label.x;
        font.Draw(out, static_cast<int>(std::lround(left)), static_cast<int>(std::lround(label.y)),
                  label.text, label.colour);
    }
    return out;
}
