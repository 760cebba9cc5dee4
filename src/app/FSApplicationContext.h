#pragma once
// The application context: the one record that ties the game together. It holds every
// setting (in the blocks the settings file fills), the player list, the score table, the
// stylus position, the time scale and the thread flags, and it owns the long-lived objects
// (engine, input, game controller, and the world's holders as they are added). Everything
// reaches it through GetApplicationContext().
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/FSFlightRecorder.h"
#include "app/FSScoreTable.h"
#include "base/FSSettingsBlocks.h"
#include "decoder/FSDecoderApi.h"
#include "resources/FSMeshLoader.h"
#include "world/FSCollisionDetector.h"
#include "world/FSFlyThroughEffect.h"
#include "world/FSSineTable.h"

class CFSEngine;
class CFSFont;
class CFSInput;
class CFSRunStats;
class CFSScene;
class CFSTerrainHolder;
class CFSTextureCache;
class CFSThread;
class CFSTouchpad;
class MFSDisplay;
class MFSGameController;
class MFSSceneNode;

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
    // The stylus pad of the running flight; null while "touchscreen_scheme" is 0
    // (PrepareTouchpad, FSTouchpadSetup.h).
    std::unique_ptr<CFSTouchpad> touchpad;

    CFSFlyThroughEffect flyThrough;  // whitens the picture inside cloud zones

    uint8_t moveObjects = 1;       // step the moveable objects each flight frame
    uint8_t detectCollisions = 1;  // run the collision pass each flight frame

    FSVideoBlock video;
    FSVideoBlock appliedVideo;  // taken after loading and on applying; tells what to rebuild
    FSGameBlock game;
    FSGameBlock appliedGame;
    FSRouteBlock route;
    uint8_t fullScreen = 0;  // the window fills the screen (kept in the settings)

    FSFrameValues frame;        // time scale and stylus point, read by the layers below
    uint32_t creationTick = 0;  // base of the scene's animation time
    // What the world's random generator (WorldRandom) is seeded with again after a drifting
    // object has taken its phase from it, so building a route leaves the sequence as set.
    uint32_t randomSeed = 1;

    MFSSceneNode* playerAircraft = nullptr;  // the aircraft node of the running flight, or null
    uint8_t culling = 1;                     // cull scene nodes outside the view (else draw every node)
    int32_t culledCount = 0;                 // nodes the last scene draw culled
    CFSRunStats* runStats = nullptr;         // the window benchmark's figures, or null

    MFSDisplay* display = nullptr;  // the screen (owned by the program's entry)

    uint8_t loadingThreadRunning = 0;
    CFSThread* loadingThread = nullptr;  // owned by the controller while a flight is built
    uint8_t videoThreadRunning = 0;
    CFSThread* videoThread = nullptr;  // owned by the menu
    int32_t menuOrientation = 2;       // screen orientation while the menu is shown

    // The clip decoder library's entry points (InitCodec, CloseCodec, DecodeFrame), looked up
    // at construction; clipDecoderReady is 0 when the library or an entry point is missing,
    // and the aircraft choice then shows still pictures.
    FSDecoderTable clipDecoder{};
    uint8_t clipDecoderReady = 0;

    const CFSFont* mainFont = nullptr;  // the engine's "main" font, for the menu and the cockpit

    FSScoreTable scores;  // every route's best flights, read at start-up ("scores.dat")
    std::string currentPlayer;
    std::vector<std::string> players;

    // The route and aircraft type the player chose in the menu; the loading screen hands
    // them to the controller when the flight starts.
    int32_t chosenRoute = 0;
    int32_t chosenAircraft = 0;

    // Records every flight and plays recordings back (FSFlightRecorder.h).
    CFSFlightRecorder recorder;
};

// Creates the context on first use and returns the same one afterwards.
CFSApplicationContext* GetApplicationContext();
// Destroys the context so the next GetApplicationContext() makes a fresh one (tests and
// tools that start the game several times in one process).
void ResetApplicationContext();
