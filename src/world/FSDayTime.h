#pragma once
// The time of day of a flight. The "day_time" setting picks it (0 = one of the four at
// random); it chooses the sky box folder and the sun's place in the daylight sky model.
// The data build paints the sky boxes from these same sun positions, so the fog colour,
// which the camera takes from the model, meets the painted horizon.
//
// Compass directions in world axes (the compass heading is atan2(z, x) + π): north is −x,
// east −z, south +x, west +z. The sky model's azimuth is atan2(z, x) of a direction, so
// east is −π/2, south 0 and west +π/2. A sky box face looks along: "front" east (−z),
// "back" west (+z), "left" north (−x), "right" south (+x), "top" up.
#include <cstdint>

enum FSDayTime : int32_t {
    kDayTimeRandom = 0,
    kDayTimeMorning = 1,
    kDayTimeNoon = 2,
    kDayTimeEvening = 3,
    kDayTimeNight = 4,
};

// Radians: zenith angle (0 straight up, π/2 on the horizon) and azimuth as above.
struct FSSunPosition {
    float zenith = 0.0f;
    float azimuth = 0.0f;
};

// The sky box folder of a time of day 1..4, e.g. "skyboxes/skybox1/morning"; null for
// any other value.
inline const char* SkyBoxFolder(int dayTime) {
    switch (dayTime) {
        case kDayTimeMorning:
            return "skyboxes/skybox1/morning";
        case kDayTimeNoon:
            return "skyboxes/skybox1/noon";
        case kDayTimeEvening:
            return "skyboxes/skybox1/evening";
        case kDayTimeNight:
            return "skyboxes/skybox1/night";
        default:
            return nullptr;
    }
}

// The time of day of one flight: the setting itself when it is 1..4; for 0 (or any value
// outside 1..4) one of the four, random() % 4 + 1, each with equal chance. random is any
// callable giving non-negative ints (std::rand, a seeded generator in the tests).
template <class Random>
int ChooseDayTime(int setting, Random&& random) {
    if (setting >= kDayTimeMorning && setting <= kDayTimeNight) return setting;
    return static_cast<int>(static_cast<unsigned>(random()) % 4u) + 1;
}

// Where the sun stands at each time of day (set with CFSSkyModel::SetSun):
// - morning: 16° above the horizon in the east, turned a little toward the south;
// - noon: 36° up in the south;
// - evening: 15° up in the west, a little toward the south;
// - night: far below the horizon (zenith angle 2.5 rad), where the daylight model gives a
//   black sky: distant ground fades to black under the painted night sky's faint horizon
//   glow. The azimuth is the moon's, which the night sky box shows and the light comes
//   from.
// Anything else gives the noon sun.
inline FSSunPosition SunPosition(int dayTime) {
    switch (dayTime) {
        case kDayTimeMorning:
            return {1.29f, -1.25f};
        case kDayTimeEvening:
            return {1.31f, 1.30f};
        case kDayTimeNight:
            return {2.5f, 0.55f};
        default:
            return {0.95f, 0.0f};
    }
}

// The night sky's moon (radians, as the sun above): 35° up in the south-west-by-south.
inline constexpr FSSunPosition kNightMoon = {0.96f, 0.55f};

// The light of a time of day on the ground and the things on it (red, green, blue
// factors): full daylight at noon, warmer and lower in the morning and evening, a dim
// blue at night, so the ground does not glow under a starry sky.
struct FSDayLight {
    float red = 1.0f, green = 1.0f, blue = 1.0f;
};
inline FSDayLight DayLight(int dayTime) {
    switch (dayTime) {
        case kDayTimeMorning:
            return {0.95f, 0.90f, 0.84f};
        case kDayTimeEvening:
            return {0.95f, 0.80f, 0.66f};
        case kDayTimeNight:
            return {0.30f, 0.34f, 0.50f};
        default:
            return {};
    }
}
