#pragma once
// One aerodynamic plate of an aircraft, and the fixed set of plates every aircraft has.
//
// Units and frames: the model works in kilometres, seconds, kilograms and kilonewtons;
// angles are radians. Positions are in the body frame: x toward the right wing, y forward
// (the thrust axis, the nose), z up. The description file writes a position as
// (longitudinal, vertical, lateral) in metres; the reader reorders it (FSAircraft.h).
#include "world/FSVectorMath.h"

struct AircraftSurface {
    // Point where the plate's force acts, km, body frame; relative to the centre of
    // gravity once the aircraft is loaded.
    FSVector position;
    // Turn of the plate about the lateral axis, rad; positive tilts the normal toward +y
    // (leading edge down), so in flight along the nose the plate meets the air at an angle
    // of attack of −incidence. Control surfaces get their control's deflection here.
    float incidence = 0.0f;
    // Turn of the normal about the longitudinal axis, rad: 0 for a horizontal plate, π/2
    // for a vertical one (normal toward +x). The two fuselage plates recompute it every
    // force computation so that they face the cross-flow.
    float dihedral = 0.0f;
    // Plate area, km² (1 m² = 1e-6 km²). A zero area gives no force.
    float area = 0.0f;
};

// Index of each plate in the aircraft's surface array; the keyword of the description
// file in the same order is kSurfaceKeywords. The game aircraft appends an 11th plate, the
// flaps, which has no keyword.
enum FSSurfaceIndex : int {
    kFuselageNose = 0,
    kFuselageTail = 1,
    kLeftWing = 2,
    kRightWing = 3,
    kLeftAileron = 4,
    kRightAileron = 5,
    kHorizontalStabilizer = 6,
    kElevator = 7,
    kVerticalStabilizer = 8,
    kRudder = 9,
};

// The plates every aircraft has and the description file names.
inline constexpr int kBaseSurfaceCount = 10;

inline constexpr const char* kSurfaceKeywords[kBaseSurfaceCount] = {
    "FuselageNose", "FuselageTail",         "LeftWing", "RightWing",          "LeftAileron",
    "RightAileron", "HorizontalStabilizer", "Elevator", "VerticalStabilizer", "Rudder",
};
