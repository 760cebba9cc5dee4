#pragma once
// A recorded flight: what it takes to fly it again exactly (route, aircraft, the settings
// that shape the flight, the random seed, and each main-loop pass's time, time scale,
// actions, stylus point and stick), and how it ended.
//
// The file: "AVRP", a 16-bit version, 16 reserved bits, the payload's size and its CRC-32,
// then the payload. The passes are coded against the one before: a flag byte names what
// changed, and a run of unchanged passes without actions costs two or three bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/FSSettingsBlocks.h"

// One main-loop pass as the flight saw it.
struct FSReplayPass {
    uint32_t tick = 0;  // the clock the whole pass read
    float timeScale = 1.0f;
    uint8_t timeScaleActive = 0;
    int32_t stylusX = 0;
    int32_t stylusY = 0;
    uint8_t analogActive = 0;
    float analogRoll = 0.0f;
    float analogPitch = 0.0f;
    float analogRudder = 0.0f;
    float analogThrottle = -1.0f;
    std::vector<uint8_t> actions;  // in the order they were dispatched

    bool SameInputs(const FSReplayPass& o) const;
};

// How the flight ended: finish 0 none (left or quit), 1 success, 2 landing, 3 failure.
struct FSReplayResult {
    int32_t finish = 0;
    int32_t seconds = 0;
    int32_t score = 0;
    int32_t column = 0;
    int32_t row = 0;
    int32_t x = 0;  // 16.16 km within the cell
    int32_t y = 0;
    int32_t z = 0;

    bool operator==(const FSReplayResult& o) const;
};

struct FSFlightRecording {
    int32_t route = 0;     // 0 = "Route1.txt"
    int32_t aircraft = 0;  // 0 Cessna 172R ... 4 Fokker Dr.I
    uint32_t seed = 1;     // of std::rand and the world's generator
    uint32_t startTick = 0;
    uint32_t creationTick = 0;  // the base of the scene's animation time
    FSVideoBlock video;
    FSGameBlock game;
    FSRouteBlock routeBlock;
    FSReplayResult result;
    std::vector<FSReplayPass> passes;
};

inline constexpr uint16_t kReplayVersion = 1;
// An hour at the paced 60 passes a second; a longer flight is recorded up to here.
inline constexpr uint32_t kMaxReplayPasses = 60u * 3600u;
inline constexpr uint32_t kMaxReplayActionsPerPass = 64;
// Larger files are refused unread.
inline constexpr size_t kMaxReplayFileBytes = 64u * 1024u * 1024u;

std::vector<uint8_t> EncodeRecording(const FSFlightRecording& recording);
// False, with why in error, for anything but a whole, intact file of this version whose
// every value lies in its range; recording is then left empty.
bool DecodeRecording(const uint8_t* data, size_t size, FSFlightRecording& recording, std::string& error);
// The file at path; false with why ("cannot read …", or the decoder's reason).
bool LoadRecordingFile(const std::string& path, FSFlightRecording& recording, std::string& error);

// CRC-32 (the zip polynomial) of size bytes.
uint32_t ReplayCrc32(const uint8_t* data, size_t size);
