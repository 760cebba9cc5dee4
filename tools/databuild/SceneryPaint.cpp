#include "databuild/SceneryPaint.h"

#include <algorithm>
#include <cmath>

namespace scenery {

uint64_t Random::Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

namespace {

// A hash of a lattice point, in [0, 1].
float Lattice(int x, int y, uint32_t seed) {
    uint32_t h =
        static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return static_cast<float>(h & 0xFFFFFF) / 16777215.0f;
}

int Wrap(int value, int period) {
    if (period <= 0) return value;
    const int m = value % period;
    return m < 0 ? m + period : m;
}

}  // namespace

float ValueNoise(float x, float y, uint32_t seed, int periodX, int periodY) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    const float tx = x - fx, ty = y - fy;
    const float sx = tx * tx * (3.0f - 2.0f * tx), sy = ty * ty * (3.0f - 2.0f * ty);
    const int xa = Wrap(x0, periodX), xb = Wrap(x0 + 1, periodX);
    const int ya = Wrap(y0, periodY), yb = Wrap(y0 + 1, periodY);
    const float top = Lattice(xa, ya, seed) + (Lattice(xb, ya, seed) - Lattice(xa, ya, seed)) * sx;
    const float bottom = Lattice(xa, yb, seed) + (Lattice(xb, yb, seed) - Lattice(xa, yb, seed)) * sx;
    return top + (bottom - top) * sy;
}

float FractalNoise(float x, float y, int octaves, uint32_t seed, int periodX, int periodY) {
    float sum = 0.0f, weight = 1.0f, total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * ValueNoise(x, y, seed + static_cast<uint32_t>(i) * 101u, periodX, periodY);
        total += weight;
        weight *= 0.5f;
        x *= 2.0f;
        y *= 2.0f;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / total;
}

Rgba Shade(Rgba colour, float factor) {
    auto channel = [factor](uint8_t c) {
        return static_cast<uint8_t>(std::clamp(std::lround(c * factor), 0L, 255L));
    };
    return {channel(colour.r), channel(colour.g), channel(colour.b), colour.a};
}

void BleedColour(Canvas& canvas, int passes) {
    const int w = canvas.Width(), h = canvas.Height();
    // known: the texel's colour is meaningful (it has coverage or was filled by a pass).
    std::vector<uint8_t> known(static_cast<size_t>(w) * h);
    double sum[3] = {0, 0, 0};
    double weight = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Rgba& p = canvas.At(x, y);
            known[static_cast<size_t>(y) * w + x] = p.a > 0;
            sum[0] += p.r * p.a;
            sum[1] += p.g * p.a;
            sum[2] += p.b * p.a;
            weight += p.a;
        }
    }
    std::vector<uint8_t> next = known;
    for (int pass = 0; pass < passes; ++pass) {
        bool grew = false;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (known[static_cast<size_t>(y) * w + x]) continue;
                int r = 0, g = 0, b = 0, n = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                        if (!known[static_cast<size_t>(ny) * w + nx]) continue;
                        const Rgba& q = canvas.At(nx, ny);
                        r += q.r;
                        g += q.g;
                        b += q.b;
                        ++n;
                    }
                }
                if (n == 0) continue;
                Rgba& p = canvas.At(x, y);
                p.r = static_cast<uint8_t>(r / n);
                p.g = static_cast<uint8_t>(g / n);
                p.b = static_cast<uint8_t>(b / n);
                next[static_cast<size_t>(y) * w + x] = 1;
                grew = true;
            }
        }
        known = next;
        if (!grew) break;
    }
    if (weight <= 0) return;
    const Rgba average = {static_cast<uint8_t>(sum[0] / weight), static_cast<uint8_t>(sum[1] / weight),
                          static_cast<uint8_t>(sum[2] / weight), 0};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!known[static_cast<size_t>(y) * w + x]) canvas.At(x, y) = average;
        }
    }
}

void ExtendBorder(Canvas& canvas, int x, int y, int w, int h, int margin) {
    const int x0 = std::max(0, x - margin), x1 = std::min(canvas.Width(), x + w + margin);
    const int y0 = std::max(0, y - margin), y1 = std::min(canvas.Height(), y + h + margin);
    for (int row = y0; row < y1; ++row) {
        for (int col = x0; col < x1; ++col) {
            if (col >= x && col < x + w && row >= y && row < y + h) continue;
            canvas.At(col, row) = canvas.At(std::clamp(col, x, x + w - 1), std::clamp(row, y, y + h - 1));
        }
    }
}

}  // namespace scenery
