#pragma once
// The aircraft of the test flight, until the real game controller exists: one of the five
// aircraft, built from its description file ("Model", "Distance", "Propeller" or "Jet"
// lines) on the test world's airfield, standing on the ground at the start of the strip,
// with a chase camera behind it. Commands reach the aircraft's command dispatch; ground
// contact runs every frame.
#include <cstdint>
#include <string>

#include "world/FSFixedVector.h"
#include "world/FSVectorMath.h"

class CSPAircraft;
class CSPTestWorld;
class CFSMeshedNode;

class CSPTestFlight {
public:
    // Builds aircraft aircraftIndex (0 Cessna 172R ... 4 Fokker) on the world's airfield.
    // False when the aircraft cannot be made (no scene, no model).
    bool Build(CSPTestWorld& world, int aircraftIndex);
    // One frame: ground contact; false once the aircraft has crashed. A crashed aircraft
    // is held where it hit, as it lay, engine at idle.
    bool Update();
    // The chase camera behind and above the aircraft, looking along its nose, its eye
    // never less than 2 m above the ground.
    void PlaceCamera() const;
    // Passes a flight command (actions 12-34) to the aircraft; true when it was used.
    bool Command(int action);

    // "V:182km/h", "H:340m" (the altitude above the sea), "T:75%", "[FLY]", "[DAMAGED]"
    // after a hard landing, and the aids that are on, a line each; "[CRASH]" once crashed.
    std::string StatusText() const;
    CSPAircraft* Aircraft() const { return aircraft_; }
    CFSMeshedNode* Node() const { return node_; }
    bool Crashed() const { return crashed_; }

private:
    CFSMeshedNode* node_ = nullptr;
    CSPAircraft* aircraft_ = nullptr;
    float chaseDistance_ = 0.012f;  // km behind the aircraft ("Distance", first value)
    float chaseHeight_ = 0.003f;    // km above it ("Distance", second value)
    bool crashed_ = false;
    FSFixedVector crashPosition_;  // where the aircraft hit and stays
    FSQuaternion crashOrientation_;
};
