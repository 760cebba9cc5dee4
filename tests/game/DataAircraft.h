#pragma once
// The five game aircraft of data/aircrafts.zip, each on its own node, flown at the game's
// frame step: 60 passes a second, time scale 18 / 60, 0.05 × 4 × 0.3 = 0.06 s (one
// sub-step), the controls reading that time scale.
#include <cmath>
#include <utility>

#include "GameAircraftTestSupport.h"

namespace game_test {

inline constexpr int kAircraftCount = 5;
inline constexpr const char* kAircraftNames[kAircraftCount] = {"C172R", "Su29", "L29", "L13", "Fokker"};
inline constexpr int kGlider = 3;  // index of the L-13, the one without an engine
// The engine's step of one frame at 60 frames a second, formed as the engine forms it.
inline constexpr float kGameTimeScale = 18.0f / 60.0f;
inline constexpr float kGameFrame = 0.05f * 4.0f * kGameTimeScale;
inline constexpr int kFramesPerMinute = 1000;  // 60 s of flight
inline constexpr float kRadian = 0.017453292f;

// Aircraft index of the game data at the game's frame step and time scale, at a scene height
// (km), nose toward world −z (no terrain unless the test loads one).
struct DataAircraft : GameAircraft {
    DataAircraft(int index, float sceneHeight) : GameAircraft(index, sceneHeight) {
        frameStep = kGameFrame;
        settings.frame.timeScale = kGameTimeScale;
    }
    // Altitude, km.
    float Height() const { return SceneHeight() - kSceneHeightOfAltitudeZero; }
    // Distance over the ground from the start at (0, 0) of cell (0, 0), m.
    float Distance() const {
        constexpr float kCellSize = 60.0f;  // km
        const FSCell& cell = node->GetCell();
        return std::hypot(FixedToFloat(node->GetPosition().x) + cell.column * kCellSize,
                          FixedToFloat(node->GetPosition().z) + cell.row * kCellSize) *
               1000.0f;
    }
    // The nose's turn from the start's heading (world −z), rad, positive to the right.
    float Heading() const { return std::atan2(Nose().x, -Nose().z); }
    // Pitch (positive nose up) and bank (negative to the right), rad.
    float Pitch() const { return Attitude().first; }
    float Bank() const { return Attitude().second; }
    std::pair<float, float> Attitude() const {
        std::pair<float, float> attitude;
        aircraft->Attitude(attitude.first, attitude.second);
        return attitude;
    }
};

}  // namespace game_test
