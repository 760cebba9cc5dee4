#include "world/FSSkyModel.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kPi = 3.14159265358979f;

// cos θ is kept above this near the horizon: F grows without bound as cos θ reaches 0
// from below, and the haze term is already gone at this value.
constexpr float kSmallestCosTheta = 0.01f;

// A cubic in the sun's zenith angle, coefficients of θs³, θs², θs, 1.
float Cubic(const float c[4], float t) {
    return ((c[0] * t + c[1]) * t + c[2]) * t + c[3];
}

}  // namespace

CFSSkyModel::CFSSkyModel(const SineTable* sine) : sine_(sine) {
    Recompute();
}

void CFSSkyModel::SetTurbidity(float turbidity) {
    if (turbidity == turbidity_) return;
    turbidity_ = turbidity;
    Recompute();
}

void CFSSkyModel::SetSun(float zenithRadians, float azimuthRadians) {
    if (zenithRadians == sunZenith_ && azimuthRadians == sunAzimuth_) return;
    sunZenith_ = zenithRadians;
    sunAzimuth_ = azimuthRadians;
    Recompute();
}

float CFSSkyModel::Sin(float radians) const {
    return sine_ ? sine_->Sin(radians) : std::sin(radians);
}

float CFSSkyModel::Cos(float radians) const {
    return sine_ ? sine_->Cos(radians) : std::cos(radians);
}

void CFSSkyModel::Recompute() {
    const float t = turbidity_;
    const float s = sunZenith_;

    // Zenith luminance (kcd/m²).
    const float chi = (4.0f / 9.0f - t / 120.0f) * (kPi - 2.0f * s);
    zenith_[2] = (4.0453f * t - 4.9710f) * std::tan(chi) - 0.2155f * t + 2.4192f;

    // Zenith chromaticities: T² · cubic + T · cubic + cubic in θs.
    static const float kX2[4] = {0.00166f, -0.00375f, 0.00209f, 0.0f};
    static const float kX1[4] = {-0.02903f, 0.06377f, -0.03202f, 0.00394f};
    static const float kX0[4] = {0.11693f, -0.21196f, 0.06052f, 0.25886f};
    static const float kY2[4] = {0.00275f, -0.00610f, 0.00317f, 0.0f};
    static const float kY1[4] = {-0.04214f, 0.08970f, -0.04153f, 0.00516f};
    static const float kY0[4] = {0.15346f, -0.26756f, 0.06670f, 0.26688f};
    zenith_[0] = t * t * Cubic(kX2, s) + t * Cubic(kX1, s) + Cubic(kX0, s);
    zenith_[1] = t * t * Cubic(kY2, s) + t * Cubic(kY1, s) + Cubic(kY0, s);

    // Perez coefficients, linear in T.
    perez_[0] = {-0.0193f * t - 0.2592f, -0.0665f * t + 0.0008f, -0.0004f * t + 0.2125f,
                 -0.0641f * t - 0.8989f, -0.0033f * t + 0.0452f};
    perez_[1] = {-0.0167f * t - 0.2608f, -0.0950f * t + 0.0092f, -0.0079f * t + 0.2102f,
                 -0.0441f * t - 1.6537f, -0.0109f * t + 0.0529f};
    perez_[2] = {0.1787f * t - 1.4630f, -0.3554f * t + 0.4275f, -0.0227f * t + 5.3251f, 0.1206f * t - 2.5771f,
                 -0.0670f * t + 0.3703f};
}

float CFSSkyModel::Distribution(const Perez& p, float cosTheta, float gamma, float cosGamma) const {
    const float c = std::max(cosTheta, kSmallestCosTheta);
    return (1.0f + p.a * std::exp(p.b / c)) *
           (1.0f + p.c * std::exp(p.d * gamma) + p.e * cosGamma * cosGamma);
}

FSSkyColour CFSSkyModel::SkyColour(float theta, float phi) const {
    theta = std::clamp(theta, 0.0f, kPi / 2.0f);
    const float cosTheta = Cos(theta);
    const float sinTheta = Sin(theta);
    const float cosSun = Cos(sunZenith_);
    const float sinSun = Sin(sunZenith_);

    // Angle between the view and the sun.
    const float cosGamma = sinSun * sinTheta * Cos(phi - sunAzimuth_) + cosSun * cosTheta;
    const float gamma = cosGamma > 1.0f ? 0.0f : cosGamma < -1.0f ? kPi : std::acos(cosGamma);
    const float cosGammaClamped = std::clamp(cosGamma, -1.0f, 1.0f);

    float value[3];
    for (int channel = 0; channel < 3; ++channel) {
        const Perez& p = perez_[channel];
        const float atZenith = Distribution(p, 1.0f, sunZenith_, cosSun);
        value[channel] = atZenith != 0.0f
                             ? zenith_[channel] * Distribution(p, cosTheta, gamma, cosGammaClamped) / atZenith
                             : 0.0f;
    }
    const float x = value[0];
    const float y = value[1];
    const float luminance = value[2] * (1.0f / 16.0f);
    if (!(y > 0.0f) || !(luminance > 0.0f)) return {};

    const float cx = x * luminance / y;
    const float cy = luminance;
    const float cz = (1.0f - x - y) * luminance / y;
    // CIE XYZ to linear sRGB (D65 white).
    float rgb[3] = {
        3.2404542f * cx - 1.5371385f * cy - 0.4985314f * cz,
        -0.9692660f * cx + 1.8760108f * cy + 0.0415560f * cz,
        0.0556434f * cx - 0.2040259f * cy + 1.0572252f * cz,
    };
    for (float& c : rgb) {
        c = c > 1e-6f ? std::min(std::pow(c, 1.0f / 2.5f), 1.0f) : 0.0f;
    }
    return {rgb[0], rgb[1], rgb[2]};
}
