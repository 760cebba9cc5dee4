#pragma once
// Shared pieces of the flight tests: a bare scene node to fly, description texts written
// here (never the game's own aircraft files), and aircraft loaded from them.
#include <cstring>
#include <memory>
#include <string>

#include "flight/FSAircraft.h"
#include "resources/FSArchive.h"
#include "support/AircraftTestData.h"
#include "world/FSFixed.h"
#include "world/FSSceneNode.h"
#include "world/FSSineTable.h"

namespace flight_test {

using aircraft_test::ControlSettings;
using aircraft_test::kTrainer;
using aircraft_test::TextBlock;

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

// An aircraft on its own node, loaded from a description text at an altitude (km), its
// controls reading settings.
struct LoadedAircraft {
    SineTable sine;
    ControlSettings settings;
    std::unique_ptr<BareNode> node = std::make_unique<BareNode>();
    std::unique_ptr<CFSAircraft> aircraft;

    LoadedAircraft(const std::string& description, float altitudeKm, const FSVector& velocity = FSVector()) {
        PlaceLevel(*node, altitudeKm);
        aircraft = std::make_unique<CFSAircraft>(*node, velocity, sine);
        aircraft->SetControlSettings(settings.game, settings.frame);
        aircraft->LoadDescription(TextBlock(description));
    }
    LoadedAircraft(const LoadedAircraft&) = delete;
    LoadedAircraft& operator=(const LoadedAircraft&) = delete;
    CFSAircraft& operator*() { return *aircraft; }
    CFSAircraft* operator->() { return aircraft.get(); }
};

// Altitude of a node, km (as the aircraft reads it).
inline float AltitudeOf(const MFSSceneNode& node) {
    return FixedToFloat(node.GetPosition().y) - kSceneHeightOfAltitudeZero;
}

}  // namespace flight_test
