#pragma once
// The colour of the clear sky in any direction, by the analytic daylight model of
// Preetham, Shirley and Smits (1999): the Perez distribution of luminance Y and of the
// chromaticities x and y, scaled by their zenith values, which follow from the turbidity
// (haze: 2 clear, 6 hazy) and the sun's zenith angle. The camera sets the turbidity from
// the air density at the eye and uses the colour in the viewing direction for the fog and
// the clear colour, so the horizon fades into the sky.
//
// Angles are radians. Zenith angle θ: 0 straight up, π/2 at the horizon. Azimuth φ: the
// angle of the horizontal direction from the world x axis toward the z axis
// (atan2(z, x)).
#include "world/FSSineTable.h"

struct FSSkyColour {
    float r = 0.0f;  // 0..1, gamma-encoded (power 1/2.5)
    float g = 0.0f;
    float b = 0.0f;
};

class CFSSkyModel {
public:
    // sine: the fast sine and cosine used for the angle to the sun; null uses the library
    // functions. The model starts with turbidity 1.0 and the sun at the zenith.
    explicit CFSSkyModel(const SineTable* sine = nullptr);

    // Both recompute the zenith values and the distribution coefficients when they change.
    void SetTurbidity(float turbidity);
    void SetSun(float zenithRadians, float azimuthRadians);

    float Turbidity() const { return turbidity_; }
    float SunZenith() const { return sunZenith_; }
    float SunAzimuth() const { return sunAzimuth_; }

    // The colour of the sky in the direction (θ, φ). θ beyond the horizon is taken at the
    // horizon. Each channel (x, y, Y) = zenith value × F(θ, γ) / F(0, θs), γ the angle to
    // the sun; Y is scaled by 1/16, (x, y, Y) goes to XYZ and on to linear sRGB, and each
    // component is raised to the power 1/2.5 (1e-6 or less gives 0) and limited to 1.
    FSSkyColour SkyColour(float theta, float phi) const;

    // The zenith values: chromaticity x and y, luminance Y (kcd/m², before the 1/16).
    float ZenithX() const { return zenith_[0]; }
    float ZenithY() const { return zenith_[1]; }
    float ZenithLuminance() const { return zenith_[2]; }

private:
    struct Perez {
        float a, b, c, d, e;
    };

    void Recompute();
    float Sin(float radians) const;
    float Cos(float radians) const;
    // F(θ, γ) = (1 + A·e^(B / cos θ)) · (1 + C·e^(D·γ) + E·cos²γ).
    float Distribution(const Perez& p, float cosTheta, float gamma, float cosGamma) const;

    const SineTable* sine_;
    float turbidity_ = 1.0f;
    float sunZenith_ = 0.0f;
    float sunAzimuth_ = 0.0f;
    float zenith_[3] = {};  // x, y, Y
    Perez perez_[3] = {};   // x, y, Y
};
