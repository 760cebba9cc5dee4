#pragma once
// The world of the test flight, until routes exist: one of the game's terrains under the
// sky box of a time of day, with a small airfield on one of the terrain's level areas
// (hangar, tower, houses, a barn), trees, a cloud and a cloud layer, chimney smoke,
// bursts over the field and a stand-in aircraft circling with its propeller spinning.
// Everything is made through the game's own scene classes and lives in the application
// context's scene root and terrain slot.
#include <cstdint>
#include <memory>
#include <string>

#include "world/FSFixedVector.h"
#include "world/FSWorldPosition.h"

class CFSMeshedNode;
class CFSSkyBox;

class CSPTestWorld {
public:
    CSPTestWorld();
    ~CSPTestWorld();
    CSPTestWorld(const CSPTestWorld&) = delete;
    CSPTestWorld& operator=(const CSPTestWorld&) = delete;

    // Builds the world on terrain ("valley.ter", "coast.ter", "farmland.ter") at time of
    // day dayTime (1 morning ... 4 night; 0 random). False when the terrain cannot be
    // loaded (the rest is built all the same, on flat ground).
    bool Build(const std::string& terrain, int dayTime);
    // Takes everything out of the scene and the terrain slot (while GL is still current),
    // and the sky box out of the scene's background hook: call it before the world goes.
    void Release();

    // One frame of game time (seconds): the aircraft flies on, bursts come and go.
    void Update(float seconds);
    // Places the camera looking at the airfield from heading (degrees, 0 from the south),
    // pitch (degrees above the horizon) and distance (km).
    void PlaceOrbitCamera(float headingDegrees, float pitchDegrees, float distanceKm);

    // Ground height under a point of the airfield's cell (km above the terrain's zero).
    float GroundHeight(float x, float z) const;
    const FSCell& Cell() const { return cell_; }
    // The airfield's centre in its cell (km).
    float CentreX() const { return centreX_; }
    float CentreZ() const { return centreZ_; }
    int DayTime() const { return dayTime_; }
    CFSMeshedNode* Aircraft() const { return aircraft_; }

private:
    void AddBuilding(const char* model, float x, float z, float headingDegrees);
    void AddTrees(int count);
    void AddSmoke(float x, float y, float z);
    void AddBurst();
    void PlaceOnCell(class MFSSceneNode& node, float x, float y, float z);

    std::unique_ptr<CFSSkyBox> skyBox_;
    FSCell cell_;
    float centreX_ = 0.0f;  // the airfield's centre in its cell (km)
    float centreZ_ = 0.0f;
    int dayTime_ = 2;
    float flightAngle_ = 0.0f;  // the stand-in aircraft's place on its circle (radians)
    float burstTimer_ = 0.0f;   // seconds until the next burst
    CFSMeshedNode* aircraft_ = nullptr;
    int32_t light_[3] = {0x10000, 0x10000, 0x10000};  // 16.16 light of the time of day
};
