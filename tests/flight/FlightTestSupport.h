#pragma once
// Shared pieces of the flight tests: a bare scene node to fly, description texts written
// here (never the game's own aircraft files), and aircraft loaded from them.
#include <cstring>
#include <memory>
#include <string>

#include "app/FSApplicationContext.h"
#include "flight/FSAircraft.h"
#include "resources/FSArchive.h"
#include "world/FSFixed.h"
#include "world/FSSceneNode.h"
#include "world/FSSineTable.h"

namespace flight_test {

// A node with no model that draws nothing: all a moveable object needs.
class BareNode : public MFSSceneNode {
public:
    BareNode() : MFSSceneNode(kNodePlain) {}
    void SetPosition(const FSFixedVector& position) override { StorePosition(position); }
    void Scale(const FSFixedVector& /*factors*/) override {}
    void Update(CFSScene& /*scene*/, const FSFrame& /*frame*/) override {}
    void Draw(CFSScene& /*scene*/) override {}
};

// Scene height of altitude 0, km.
inline constexpr float kSceneHeightOfAltitudeZero = 5.0f;

// Puts the node at an altitude (km) flying level toward world −z (body x = world +x,
// body z = world up).
inline void PlaceLevel(MFSSceneNode& node, float altitudeKm) {
    node.Place({0, FloatToFixed(altitudeKm + kSceneHeightOfAltitudeZero), 0});
    node.SavePosition();
    node.LookAlong(FSVector(0.0f, 0.0f, -1.0f), FSVector(0.0f, 1.0f, 0.0f));
}

// A text block as ReadArchiveText makes it.
inline FSMemoryBlock TextBlock(const std::string& text) {
    FSMemoryBlock block;
    block.data = std::make_unique<uint8_t[]>(text.size() + 1);
    std::memcpy(block.data.get(), text.data(), text.size());
    block.data[text.size()] = 0;
    block.size = text.size();
    return block;
}

// A light high-wing trainer: 767 kg empty, 150 kg of fuel, 2 kN of thrust, plates laid out
// so that it flies level and steady once trimmed. Positions are metres, longitudinal,
// vertical, lateral, about a datum 1 m ahead of the centre of gravity.
inline const char* kTrainer = R"(// Test trainer
# A light trainer made for the flight tests.
#   Four seats, high wing.
FuselageNose 2.5 0 0 0 0 2.0
FuselageTail -1.5 0 0 0 0 2.0
LeftWing 1.0 0 -2.8 -4 1.5 7.0
RightWing 1.0 0 2.8 -4 -1.5 7.0
LeftAileron 0.7 0 -4.6 0 1.5 0.8
RightAileron 0.7 0 4.6 0 -1.5 0.8
HorizontalStabilizer -3.5 0 0 0 0 2.0
Elevator -3.9 0 0 0 0 1.4
VerticalStabilizer -3.6 0.5 0 0 90 1.0
Rudder -4.0 0.5 0 0 90 0.7
CG 1.0 0 0
Mass 767
Inertia 1825 1285 2667
Pitch -25 20 1
Roll -15 15 1
Yaw -16 16 1
Throttle 0 2000 0.1
Fuel 10 150 0.02
Propeller 2.6 0 0
)";

// An aircraft on its own node, loaded from a description text at an altitude (km).
struct LoadedAircraft {
    SineTable sine;
    std::unique_ptr<BareNode> node = std::make_unique<BareNode>();
    std::unique_ptr<CFSAircraft> aircraft;

    LoadedAircraft(const std::string& description, float altitudeKm, const FSVector& velocity = FSVector()) {
        // No key gains: the centring steps of released controls are then nothing, and the
        // controls stay exactly where a test sets them (the control tests set their own).
        CFSApplicationContext& context = *GetApplicationContext();
        context.game.keyPitchRate = context.game.keyRollRate = 0.0f;
        PlaceLevel(*node, altitudeKm);
        aircraft = std::make_unique<CFSAircraft>(*node, velocity, sine);
        aircraft->LoadDescription(TextBlock(description));
    }
    CFSAircraft& operator*() { return *aircraft; }
    CFSAircraft* operator->() { return aircraft.get(); }
};

// Altitude of a node, km (as the aircraft reads it).
inline float AltitudeOf(const MFSSceneNode& node) {
    return FixedToFloat(node.GetPosition().y) - kSceneHeightOfAltitudeZero;
}

}  // namespace flight_test
