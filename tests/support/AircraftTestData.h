#pragma once
// Data the aircraft tests and benchmarks share, written here rather than taken from the
// game's files: a light trainer's description, text blocks as the archive reader makes
// them, and level or sloping terrains in the terrain chunk format.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/FSSettingsBlocks.h"
#include "resources/FSArchive.h"

namespace aircraft_test {

// What an aircraft's controls read: the factory settings (key gains 0.125, stylus gains
// 0.05) at time scale 1, for a test to change.
struct ControlSettings {
    FSGameBlock game = FactoryGameBlock();
    FSFrameValues frame;

    // Key gains of zero: the centring steps of released ailerons and rudder are then
    // nothing, and a control stays where a test sets it, as if held.
    void HoldControlsWhereSet() { game.keyPitchRate = game.keyRollRate = 0.0f; }
};

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
# A light trainer made for the tests.
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

// A terrain file of N × N vertices over the 240 km world, every vertex at the given
// height (km) with level faces, or sloping down toward +z by slope (height per km).
inline std::vector<uint8_t> FlatTerrainFile(float heightKm, int n = 4, float slope = 0.0f) {
    std::vector<uint8_t> bytes;
    const auto put = [&bytes](uint32_t value) {
        for (int k = 0; k < 4; ++k)
            bytes.push_back(static_cast<uint8_t>(value >> (8 * k)));
    };
    const auto fixed = [](double v) {
        return static_cast<uint32_t>(static_cast<int32_t>(std::lround(v * 65536.0)));
    };
    const double side = 240.0, spacing = side / n;
    // Chunk 2 of 4 bytes: n vertices a side; chunk 3: the side (16.16 km); chunk 0xA002:
    // the heights (16.16 km); chunk 0xA004: two face normals per cell (16.16).
    for (const uint32_t word :
         {2u, 4u, static_cast<uint32_t>(n), 3u, 4u, fixed(side), 0xA002u, static_cast<uint32_t>(n * n * 4)})
        put(word);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            put(fixed(heightKm - slope * spacing * j));
    put(0xA004);
    put(static_cast<uint32_t>(n * n * 24));
    const double length = std::sqrt(1.0 + static_cast<double>(slope) * slope);
    for (int k = 0; k < n * n * 2; ++k)
        for (const double component : {0.0, 1.0 / length, slope / length})
            put(fixed(component));
    return bytes;
}

}  // namespace aircraft_test
