#pragma once
// Shared pieces of the flight tests: a bare scene node to fly, aircraft loaded from the
// descriptions of tests/support (never the game's own aircraft files), and a few helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "flight/FSAircraft.h"
#include "support/AircraftTestData.h"
#include "world/FSFixed.h"
#include "world/FSSceneNode.h"
#include "world/FSSineTable.h"

namespace flight_test {

using aircraft_test::kTrainer;
using aircraft_test::TextBlock;

inline constexpr float kFrameStep = 0.2f;  // the engine's step at 18 frames a second, s
inline constexpr float kG = 0.00980665f;   // km/s²
inline constexpr float kSceneHeightOfAltitudeZero = 5.0f;

// a and b equal within tolerance on every axis.
inline testing::AssertionResult Near(const FSVector& a, const FSVector& b, float tolerance = 1e-6f) {
    if (std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance &&
        std::fabs(a.z - b.z) <= tolerance)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") is not (" << b.x
                                       << ", " << b.y << ", " << b.z << ")";
}

// A node with no model that draws nothing: all a moveable object needs.
class BareNode : public MFSSceneNode {
public:
    explicit BareNode(int32_t type = kNodePlain) : MFSSceneNode(type) {}
    void SetPosition(const FSFixedVector& position) override { StorePosition(position); }
    void Scale(const FSFixedVector& /*factors*/) override {}
    void Update(CFSScene& /*scene*/, const FSFrame& /*frame*/) override {}
    void Draw(CFSScene& /*scene*/) override {}
};

// Turns the node about its own axes: pitch about the right wing (nose up positive), then
// roll about the nose (positive lowers the right wing: a bank to the right).
inline void Tilt(MFSSceneNode& node, float pitch, float roll) {
    node.Rotate(FSVector(1.0f, 0.0f, 0.0f), pitch);
    node.Rotate(FSVector(0.0f, 1.0f, 0.0f), roll);
}

// World velocity (km/s) along the nose of a node flying toward world −z, meeting the air
// at angle (rad) from below.
inline FSVector LevelVelocity(float speed, float angle = 0.0f) {
    return FSVector(0.0f, -speed * std::sin(angle), -speed * std::cos(angle));
}

// An aircraft on its own node at an altitude (km) flying level toward world −z (body x =
// world +x, body z = world up), loaded from a description text, its controls reading
// settings (the factory gains at time scale 1 until a test changes them).
struct LoadedAircraft {
    SineTable sine;
    aircraft_test::ControlSettings settings;
    std::unique_ptr<BareNode> node = std::make_unique<BareNode>();
    std::unique_ptr<CFSAircraft> aircraft;

    LoadedAircraft(const std::string& description, float altitudeKm, const FSVector& velocity = FSVector()) {
        node->Place({0, FloatToFixed(altitudeKm + kSceneHeightOfAltitudeZero), 0});
        node->SavePosition();
        node->LookAlong(FSVector(0.0f, 0.0f, -1.0f), FSVector(0.0f, 1.0f, 0.0f));
        aircraft = std::make_unique<CFSAircraft>(*node, velocity, sine);
        aircraft->SetControlSettings(settings.game, settings.frame);
        aircraft->LoadDescription(TextBlock(description));
    }
    CFSAircraft& operator*() { return *aircraft; }
    CFSAircraft* operator->() { return aircraft.get(); }
    float Altitude() const { return FixedToFloat(node->GetPosition().y) - kSceneHeightOfAltitudeZero; }
    FSVector Nose() const { return ToFloat(node->GetAxisY()); }
    FSVector Top() const { return ToFloat(node->GetAxisZ()); }
};

}  // namespace flight_test
