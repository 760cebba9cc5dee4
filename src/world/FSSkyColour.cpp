#include "world/FSSkyColour.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cmath>

#include "world/FSCamera.h"

namespace {

// (r, g, b) of the keys: morning, noon, evening, night.
const float kKeys[kDayKeys][3] = {
    {0.3059f, 0.4392f, 0.8078f},
    {0.6784f, 0.8235f, 1.0f},
    {0.098f, 0.2471f, 0.7843f},
    {0.0f, 0.0118f, 0.1412f},
};

// sin 80° and cos 80°: the sunlight's fixed zenith angle of 1.3962634 rad.
constexpr float kSinSunZenith = 0.98480775f;
constexpr float kCosSunZenith = 0.17364818f;

constexpr FSFixed kFixedPi = 205887;        // π in 16.16
constexpr FSFixed kWhiteningScale = 39321;  // 0.6 in 16.16

FSFixed Lerp(FSFixed from, FSFixed to, FSFixed f) {
    return from + FixedMul(to - from, f);
}

}  // namespace

FSFixedColour DayKeyColour(int key) {
    const float* k = kKeys[((key % kDayKeys) + kDayKeys) % kDayKeys];
    return {FloatToFixed(k[0]), FloatToFixed(k[1]), FloatToFixed(k[2])};
}

FSFixedColour DayCycleColour(float dayFraction) {
    if (!std::isfinite(dayFraction)) dayFraction = 0.0f;
    const float p = (dayFraction - std::floor(dayFraction)) * 4.0f;
    int k = static_cast<int>(p);
    if (k > 3) k = 3;  // a fraction a hair below 1.0 can round p up to 4.0
    if (k < 0) k = 0;
    float f = p - static_cast<float>(k);
    if (f < 0.0f) f = 0.0f;
    if (k == 0 || k == 2) f = std::min(1.5f * f, 1.0f);
    const FSFixed ff = FloatToFixed(f);
    const FSFixedColour from = DayKeyColour(k);
    const FSFixedColour to = DayKeyColour(k + 1);
    return {Lerp(from.r, to.r, ff), Lerp(from.g, to.g, ff), Lerp(from.b, to.b, ff)};
}

FSFixedVector SunLightDirection(float sunAzimuth) {
    const FSFixedVector s = {FloatToFixed(std::cos(sunAzimuth) * kSinSunZenith), FloatToFixed(kCosSunZenith),
                             FloatToFixed(std::sin(sunAzimuth) * kSinSunZenith)};
    return Normalise(s);
}

FSFixed SunWhitening(const FSFixedVector& sun, const FSQuaternion& cameraOrientation) {
    const FSFixedVector v = Normalise(ToFixed(cameraOrientation.Vector()));
    const FSFixed d = Dot(sun, v);
    return FixedMul(kWhiteningScale, kFixedOne - FixedDiv(d, kFixedPi));
}

FSFixedColour Whiten(const FSFixedColour& colour, FSFixed weight) {
    return {colour.r + FixedMul(kFixedOne - colour.r, weight),
            colour.g + FixedMul(kFixedOne - colour.g, weight),
            colour.b + FixedMul(kFixedOne - colour.b, weight)};
}

float CFSSkyColour::DayFraction(uint32_t now) const {
    if (!started_ || !(dayLength_ > 0.0f)) return 0.0f;
    const uint32_t elapsed = now - firstTick_;  // unsigned: survives the tick count wrapping
    return static_cast<float>(static_cast<double>(elapsed) / (static_cast<double>(dayLength_) * 1000.0));
}

FSFixedColour CFSSkyColour::UpdateClearColour(CFSCamera& camera, uint32_t now) {
    if (!started_) {
        firstTick_ = now;
        started_ = true;
    }
    const FSFixedVector sun = SunLightDirection(camera.Sky().SunAzimuth());
    camera.SetLightDirection(sun);
    const FSFixedColour colour =
        Whiten(DayCycleColour(DayFraction(now)), SunWhitening(sun, camera.GetOrientation()));
    glClearColorx(colour.r, colour.g, colour.b, kFixedOne);
    return colour;
}
