#pragma once
// The application context: the one record that ties the game together. It holds every
// setting (in the blocks the settings file fills), the player list, the stylus position,
// the time scale and the thread flags, and it owns the long-lived objects (engine, input,
// game controller, and the world's holders as they are added). Everything reaches it
// through GetApplicationContext().
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/FSFlyThroughEffect.h"

#include "resources/FSMeshLoader.h"
#include "world/FSCollisionDetector.h"
#include "world/FSSineTable.h"

class CFSEngine;
class CFSFont;
class CFSInput;
class CFSScene;
class CFSTerrainHolder;
class CFSTextureCache;
class CFSThread;
class MFSDisplay;
class MFSGameController;
class MFSSceneNode;

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
    float keyPitchRate = 0.0f;             // derived control gains
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

class CFSApplicationContext {
public:
    CFSApplicationContext();
    ~CFSApplicationContext();
    CFSApplicationContext(const CFSApplicationContext&) = delete;
    CFSApplicationContext& operator=(const CFSApplicationContext&) = delete;

    // Fast sine and cosine for the whole game, built at construction. Declared before the
    // owned objects so that it outlives every one of them.
    SineTable sineTable;

    // Owned long-lived objects (released by the shell in its fixed order).
    std::unique_ptr<CFSEngine> engine;
    std::unique_ptr<CFSInput> input;                // 38 actions
    std::unique_ptr<CFSTextureCache> textureCache;  // made by the engine
    std::string texturesArchive;                    // path of "data\textures.zip"
    std::unique_ptr<CFSScene> sceneRoot;            // the 3-D world, made by the shell at start-up
    std::unique_ptr<CFSTerrainHolder> terrain;      // the route's terrain, or null (FSTerrainHolder.h)
    std::unique_ptr<CFSMeshLoader> meshLoader;      // "data\models.zip", made by the engine
    std::unique_ptr<MFSCollisionDetector> collisionDetector;  // over the world box, made by the engine
    std::unique_ptr<MFSGameController> gameController;

    CFSFlyThroughEffect flyThrough;  // whitens the picture inside cloud zones

    uint8_t moveObjects = 1;       // step the moveable objects each flight frame
    uint8_t detectCollisions = 1;  // run the collision pass each flight frame

    FSVideoBlock video;
    FSVideoBlock appliedVideo;  // taken after loading and on applying; tells what to rebuild
    FSGameBlock game;
    FSGameBlock appliedGame;
    FSRouteBlock route;

    int32_t stylusX = 0;  // last stylus point in screen coordinates
    int32_t stylusY = 0;
    uint32_t creationTick = 0;  // base of the scene's animation time

    MFSSceneNode* playerAircraft = nullptr;  // the aircraft node of the running flight, or null
    uint8_t culling = 1;                     // cull scene nodes outside the view (else draw every node)
    int32_t culledCount = 0;                 // nodes the last scene draw culled

    MFSDisplay* display = nullptr;  // the screen (owned by the program's entry)

    uint8_t loadingThreadRunning = 0;
    CFSThread* loadingThread = nullptr;  // owned by the controller while a flight is built
    uint8_t videoThreadRunning = 0;
    CFSThread* videoThread = nullptr;  // owned by the menu
    int32_t menuOrientation = 2;       // screen orientation while the menu is shown

    const CFSFont* mainFont = nullptr;  // the engine's "main" font, for the menu and the cockpit

    std::string currentPlayer;
    std::vector<std::string> players;

    float timeScale = 1.0f;       // simulation time factor, 0.25-4
    uint8_t timeScaleActive = 0;  // 0 until the first 1.4 s of a state have passed
};

// Creates the context on first use and returns the same one afterwards.
CFSApplicationContext* GetApplicationContext();
// Destroys the context so the next GetApplicationContext() makes a fresh one (tests and
// tools that start the game several times in one process).
void ResetApplicationContext();
