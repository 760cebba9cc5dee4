#pragma once
// The settings blocks that the settings file fills ("// VIDEO", "// GAME", "// ROUTE") and
// the values derived from them. They sit below the world and the flight model, which take
// them as arguments; the application context owns the live copies.
#include <cstdint>

// The "// VIDEO" settings.
struct FSVideoBlock {
    int32_t renderWidth = 240;  // size of the 3-D image in pixels, derived (see DeriveRenderSize)
    int32_t renderHeight = 320;
    int32_t resolution = 1;        // "resolution": 0 half size doubled, 1 full, 2 scaled by the aspect
    float screenAspect = 1.0f;     // "screen_aspect": scale of the 3-D image for resolution 2
    int32_t visibilityRange = 33;  // "visibility_range": terrain window side
    int32_t terrainQuality = 0;    // "terrein_quality"
    int32_t texturesQuality = 0;   // "textures_quality": 0 nearest, else linear filtering
    int32_t lightingQuality = 0;   // "lighting_quality"
    int32_t shadowsQuality = 0;    // "shadows_quality"
    int32_t effectsQuality = 0;    // "effects_quality"
    int32_t objectsQuality = 1;    // "objects_quality"
    uint8_t sky = 0;               // "sky": draw the sky box

    bool operator==(const FSVideoBlock& o) const;
    bool operator!=(const FSVideoBlock& o) const { return !(*this == o); }
};

// The "// GAME" settings and the control gains derived from them.
struct FSGameBlock {
    float joystickSensitivity = 0.125f;    // "joystick_sensetivity", 0.05-0.15
    float xySensitivity = 0.0f;            // "xy_sensetivity", -3..3: balance between the axes
    int32_t touchscreenScheme = 0;         // "touchscreen_scheme": 0 no touch zones
    float touchscreenSensitivity = 0.05f;  // "touchscreen_sensitivity", 0-0.1
    int32_t screenAlign = 2;               // "screengame_align": flight orientation 0, 1 or 2
    float keyPitchRate = 0.0f;             // derived control gains (DeriveControlGains)
    float keyRollRate = 0.0f;
    float stylusPitchRate = 0.0f;
    float stylusRollRate = 0.0f;
    float joystickCentre = 0.1f;  // sensitivity centres, replaced per aircraft
    float xyCentre = 0.0f;
    float touchscreenCentre = 0.05f;
};

// The "// ROUTE" settings: weather and time of day of the next flight.
struct FSRouteBlock {
    int32_t dayTime = 2;  // "day_time": 0 random, 1 morning, 2 noon, 3 evening, 4 night
    int32_t cloudiness = 0;
    int32_t windStrength = 1;
    int32_t windDirection = 0;
    int32_t weatherType = 1;
    int32_t precipitations = 0;
};

// What the running game shares with the layers below it each frame: the simulation's
// time factor (written by the engine) and the last stylus point (written by the shell).
struct FSFrameValues {
    float timeScale = 1.0f;       // simulation time factor, 0.25-4
    uint8_t timeScaleActive = 0;  // 0 until the warm-up after a state change has passed
    int32_t stylusX = 0;          // last stylus point in screen coordinates
    int32_t stylusY = 0;
    // An analog stick this pass (game controller or flight stick), after its dead zone,
    // copied in by the shell before the pass's actions are dispatched (a replay writes its
    // recorded values here instead). Roll and pitch steer through the same path as the
    // stylus on the touch pad; rudder turns the rudder; throttle sets the throttle.
    uint8_t analogActive = 0;      // 1 while a stick is connected and in use
    float analogRoll = 0.0f;       // -1 full left .. 1 full right
    float analogPitch = 0.0f;      // -1 nose down (stick pushed) .. 1 nose up (stick pulled)
    float analogRudder = 0.0f;     // -1 left .. 1 right
    float analogThrottle = -1.0f;  // 0 idle .. 1 full; below 0 while no throttle axis has moved
};

// Render size from "resolution" and "screen_aspect": 0 gives 120 x 160, 1 gives 240 x 320,
// 2 scales 240 x 320 by the aspect (an odd height loses a line, the width follows at 3:4);
// any other value keeps the size.
void DeriveRenderSize(FSVideoBlock& video);

// The four control gains (keyPitchRate, keyRollRate, stylusPitchRate, stylusRollRate) from
// the three sensitivities and their centres. Each sensitivity maps linearly so that the
// bottom of its range stays the bottom, the middle becomes the centre and the top stays the
// top; "xy_sensetivity" then shifts gain from the roll axis to the pitch axis (above 0) or
// back (below 0).
void DeriveControlGains(FSGameBlock& game);

// The factory game block with its gains derived: what the controls use until the game
// hands them its own.
const FSGameBlock& FactoryGameBlock();
