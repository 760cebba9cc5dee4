#include "world/FSAtmosphere.h"

namespace {

constexpr int kEntries = 21;
constexpr float kStepMetres = 2000.0f;
constexpr float kDensity[kEntries] = {1.224999f, 1.00649f,  0.819129f, 0.659697f, 0.525167f, 0.412706f,
                                      0.319669f, 0.243598f, 0.182219f, 0.133438f, 0.095339f, 0.06618f,
                                      0.044392f, 0.02857f,  0.017473f, 0.010021f, 0.005285f, 0.002489f,
                                      0.000996f, 0.00031f,  0.000062f};

}  // namespace

float AirDensity(float altitudeMetres) {
    if (altitudeMetres < 0.0f) return kDensity[0];
    for (int i = 0; i + 1 < kEntries; ++i) {
        const float low = static_cast<float>(i) * kStepMetres;
        const float high = static_cast<float>(i + 1) * kStepMetres;
        if (low <= altitudeMetres && altitudeMetres < high) {
            return kDensity[i] + (kDensity[i + 1] - kDensity[i]) * (altitudeMetres - low) / kStepMetres;
        }
    }
    return 0.0f;
}
