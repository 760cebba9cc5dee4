#pragma once
// The engine's sky-colour object: the clear colour through the day and the direction of
// the sunlight. Every flight frame, before the colour buffer is cleared, UpdateClearColour
// moves the colour along the day cycle (four key colours, one per quarter of the day:
// morning blue, bright noon, deep evening blue, night), whitens it the more the camera
// turns toward the sun, hands it to glClearColorx and makes the sun's direction the
// camera's light direction. The day starts on the first call and lasts DayLength()
// seconds of real time.
#include <cstdint>

#include "world/FSFixed.h"
#include "world/FSFixedVector.h"
#include "world/FSVectorMath.h"

class CFSCamera;

// A colour of three 16.16 channels, 0..1.0.
struct FSFixedColour {
    FSFixed r = 0;
    FSFixed g = 0;
    FSFixed b = 0;
};

// The four key colours of the day cycle, in cycle order.
inline constexpr int kDayKeys = 4;
FSFixedColour DayKeyColour(int key);

// The day cycle's colour at a point of the day (only the fraction of dayFraction counts;
// 0 is the start of the day). Quarter k runs from key k to key k + 1 (key 3 back to key
// 0); in quarters 0 and 2 the next key is reached two thirds of the way through and held
// for the rest of the quarter, in quarters 1 and 3 the change is even. 16.16 arithmetic.
FSFixedColour DayCycleColour(float dayFraction);

// Toward the sun (16.16 unit vector, world axes) from the sky model's sun azimuth
// (radians, atan2(z, x) of the sun's direction): the sunlight always falls from 10° above
// the horizon (zenith angle 80°), so shapes keep their shading at every time of day.
// The azimuth is read as the sky model reads it, x = cos and z = sin: the light then comes
// from the bright side of the fog and from the sun painted into the sky boxes (which are
// painted from the same model). Read as (sin, −cos) it would fall a quarter turn away from
// both: at noon from the east while the sun stands in the south.
FSFixedVector SunLightDirection(float sunAzimuth);

// How much the clear colour whitens for a camera orientation: 0.6 × (1 − d / π), d = the
// sun direction · the unit vector part of the orientation quaternion (0 for the identity),
// 16.16.
FSFixed SunWhitening(const FSFixedVector& sun, const FSQuaternion& cameraOrientation);

// Each channel c becomes c + (1 − c) × weight.
FSFixedColour Whiten(const FSFixedColour& colour, FSFixed weight);

class CFSSkyColour {
public:
    // Ten minutes of real time per day: one whole cycle within the longest flight.
    static constexpr float kDefaultDayLength = 600.0f;

    // Seconds per day. A length of 0 or less (or NaN) holds the colour at the start of the
    // day rather than dividing by it.
    explicit CFSSkyColour(float dayLengthSeconds = kDefaultDayLength) : dayLength_(dayLengthSeconds) {}
    float DayLength() const { return dayLength_; }

    // One frame (now: milliseconds of the tick count; the first call starts the day):
    // colour of the day cycle, whitened toward the sun as the camera's orientation says,
    // set with glClearColorx (alpha 1.0); the camera's light direction becomes
    // SunLightDirection of its sky model's sun azimuth. Returns the colour set.
    FSFixedColour UpdateClearColour(CFSCamera& camera, uint32_t now);

    // The fraction of the day reached at now (0 before the first call).
    float DayFraction(uint32_t now) const;
    // Starts the day again on the next call.
    void Restart() { started_ = false; }

private:
    float dayLength_;
    uint32_t firstTick_ = 0;
    bool started_ = false;
};
