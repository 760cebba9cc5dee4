#include "databuild/Noise.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;

int32_t Wrap(int64_t value, int period) {
    const int64_t r = value % period;
    return static_cast<int32_t>(r < 0 ? r + period : r);
}

// Quintic fade: zero first and second derivatives at the lattice points, so the sum of
// neighbouring cells has no creases.
double Fade(double t) {
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

double Gradient(int32_t x, int32_t y, uint32_t seed, double dx, double dy) {
    const double angle = HashUnit(x, y, seed) * kTwoPi;
    return std::cos(angle) * dx + std::sin(angle) * dy;
}

}  // namespace

uint32_t HashPoint(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B9u;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

double HashUnit(int32_t x, int32_t y, uint32_t seed) {
    return HashPoint(x, y, seed) / 4294967296.0;
}

double PeriodicNoise(double u, double v, int period, uint32_t seed) {
    const double x = u * period, y = v * period;
    const double fx = std::floor(x), fy = std::floor(y);
    const int64_t ix = static_cast<int64_t>(fx), iy = static_cast<int64_t>(fy);
    const double dx = x - fx, dy = y - fy;
    const int32_t x0 = Wrap(ix, period), x1 = Wrap(ix + 1, period);
    const int32_t y0 = Wrap(iy, period), y1 = Wrap(iy + 1, period);
    const double n00 = Gradient(x0, y0, seed, dx, dy);
    const double n10 = Gradient(x1, y0, seed, dx - 1.0, dy);
    const double n01 = Gradient(x0, y1, seed, dx, dy - 1.0);
    const double n11 = Gradient(x1, y1, seed, dx - 1.0, dy - 1.0);
    const double sx = Fade(dx), sy = Fade(dy);
    const double a = n00 + (n10 - n00) * sx;
    const double b = n01 + (n11 - n01) * sx;
    // Unit gradients give at most about 0.71 in magnitude; scale toward -1..1.
    return (a + (b - a) * sy) * 1.41;
}

double PeriodicFbm(double u, double v, int basePeriod, int octaves, uint32_t seed, double gain) {
    double sum = 0, amplitude = 1, total = 0;
    int period = basePeriod;
    for (int k = 0; k < octaves; ++k) {
        sum += amplitude * PeriodicNoise(u, v, period, seed + 1013u * static_cast<uint32_t>(k));
        total += amplitude;
        amplitude *= gain;
        period *= 2;
    }
    return total > 0 ? sum / total : 0.0;
}

double PeriodicRidged(double u, double v, int basePeriod, int octaves, uint32_t seed) {
    double sum = 0, amplitude = 1, total = 0, weight = 1;
    int period = basePeriod;
    for (int k = 0; k < octaves; ++k) {
        double ridge = 1.0 - std::fabs(PeriodicNoise(u, v, period, seed + 7919u * static_cast<uint32_t>(k)));
        ridge *= ridge;
        // Finer octaves count more on the crests than in the hollows, as erosion would have it.
        ridge *= weight;
        weight = std::clamp(ridge * 1.6, 0.0, 1.0);
        sum += ridge * amplitude;
        total += amplitude;
        amplitude *= 0.5;
        period *= 2;
    }
    return total > 0 ? sum / total : 0.0;
}

CellSample PeriodicCells(double u, double v, int period, uint32_t seed) {
    const double x = u * period, y = v * period;
    const int64_t cx = static_cast<int64_t>(std::floor(x)), cy = static_cast<int64_t>(std::floor(y));
    CellSample best{1e9, 1e9, 0, 0, 0};
    for (int oy = -2; oy <= 2; ++oy) {
        for (int ox = -2; ox <= 2; ++ox) {
            const int32_t wx = Wrap(cx + ox, period), wy = Wrap(cy + oy, period);
            // The feature point keeps away from the cell's rim so the cells stay even in size.
            const double px = static_cast<double>(cx + ox) + 0.15 + 0.7 * HashUnit(wx, wy, seed);
            const double py =
                static_cast<double>(cy + oy) + 0.15 + 0.7 * HashUnit(wx, wy, seed ^ 0x5bd1e995u);
            const double d = std::hypot(px - x, py - y);
            if (d < best.nearest) {
                best.second = best.nearest;
                best.nearest = d;
                best.id = HashPoint(wx, wy, seed + 17u);
                best.dx = x - px;
                best.dy = y - py;
            } else if (d < best.second) {
                best.second = d;
            }
        }
    }
    return best;
}

double WrappedDistance(double a, double b, double length) {
    double d = std::fmod(std::fabs(a - b), length);
    return std::min(d, length - d);
}

double SmoothStep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}
