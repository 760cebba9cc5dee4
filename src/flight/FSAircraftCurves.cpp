#include "flight/FSAircraftCurves.h"

#include <cmath>

#include "world/FSAtmosphere.h"

namespace {

constexpr int kBreakpoints = 20;
constexpr float kDegreesToRadians = 0.017453292f;

// Breakpoints in degrees; the lookup compares in radians, converted once.
constexpr float kAngleDegrees[kBreakpoints] = {0,  10,  15,  17,  23,  33,  45,  55,  70,  80,
                                               90, 100, 110, 120, 130, 140, 150, 160, 170, 180};
constexpr float kLift[kBreakpoints] = {0.0f,     0.8628f,  1.0314f,  0.5802f,  0.5752f,  0.8826f,  0.962f,
                                       0.8579f,  0.5603f,  0.3273f,  0.0744f,  -0.1835f, -0.4265f, -0.6298f,
                                       -0.8132f, -0.8975f, -0.7041f, -0.5802f, -0.8132f, 0.0f};
constexpr float kDrag[kBreakpoints] = {0.0f,    0.0209f, 0.0577f, 0.2164f, 0.3378f, 0.6971f, 1.0828f,
                                       1.421f,  1.6585f, 1.801f,  1.8377f, 1.7581f, 1.6362f, 1.5037f,
                                       1.2601f, 0.9425f, 0.6038f, 0.3126f, 0.1325f, 0.0f};

// Every plate has this much drag on top of the table, even edge-on.
constexpr float kBaseDrag = 0.025f;

struct Radians {
    float value[kBreakpoints];
    Radians() {
        for (int i = 0; i < kBreakpoints; ++i)
            value[i] = kAngleDegrees[i] * kDegreesToRadians;
    }
};

const Radians& Angles() {
    static const Radians angles;
    return angles;
}

// Interpolates table at |angle|; found is false when |angle| lies outside [0, π).
float Interpolate(const float* table, float angle, bool& found) {
    const float a = std::fabs(angle);
    const float* at = Angles().value;
    for (int i = 0; i + 1 < kBreakpoints; ++i) {
        if (at[i] <= a && a < at[i + 1]) {
            found = true;
            return table[i] + (a - at[i]) * (table[i + 1] - table[i]) / (at[i + 1] - at[i]);
        }
    }
    found = false;
    return 0.0f;
}

}  // namespace

float LiftCoefficient(float angleOfAttack) {
    bool found = false;
    const float cl = Interpolate(kLift, angleOfAttack, found);
    if (!found) return 0.0f;
    return angleOfAttack < 0.0f ? -cl : cl;
}

float DragCoefficient(float angleOfAttack) {
    bool found = false;
    const float cd = Interpolate(kDrag, angleOfAttack, found);
    return found ? cd + kBaseDrag : kBaseDrag;
}

float ModelAirDensity(float altitudeKm) {
    // The factors are the game's own km↔m conversions (each a hair off 1000 and 1e9).
    return AirDensity(altitudeKm * 999.99994f) * 999999808.0f;
}
