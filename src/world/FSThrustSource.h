#pragma once
// What the propeller disc needs from the physics of the aircraft it is mounted on: how
// hard the engine pulls. The aircraft's moveable object implements it; the propeller
// finds it on its owner with GetMoveableAs<MFSThrustSource>().
class MFSThrustSource {
public:
    // Current thrust / maximum thrust, 0 when the maximum is 0.
    virtual float ThrustFraction() const = 0;
    virtual ~MFSThrustSource() = default;
};
