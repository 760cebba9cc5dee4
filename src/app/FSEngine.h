#pragma once
// The frame cycle. The engine is a small state machine whose state tells the main loop
// what to do each pass (show the menu, build a flight, run it, stand paused). It owns
// the 3-D surface, converts every rendered frame to the 16-bit screen and presents it,
// measures the frame rate and derives the time scale by which the simulation steps.
// It reaches the game only through MFSGameController and the menu through MFSMenu.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/FSFiniteStateMachine.h"
#include "app/FSFrameRateMeter.h"
#include "app/FSGameController.h"
#include "app/FSMenu.h"
#include "hud/FSFont.h"
#include "media/FSSoundChannels.h"
#include "world/FSSkyColour.h"

class CFSApplicationContext;
struct FSBox;
class MFSCollisionDetector;
class CFSBillboardNode;
class CFSGLSurface;
class CFSMeshedNode;
class CFSParticlesSystem;
class MFSDisplay;
class MFSEmmiter;
class MFSSceneNode;
class TFSPropellerL;

enum EngineState : int {
    Idle = 0,
    Flying = 1,
    Paused = 2,
    Starting = 3,
    Menu = 4,
    Quit = 5,
    Loading = 6,
};

// 18 / frames per second, at least 0.25 and at most 4. Until active (the warm-up after a
// state change) or without a measured rate, that of the paced rate (18 / 60), so that a
// flight runs at its real speed from the first frame on.
float ComputeTimeScale(bool active, float currentRate);

class CFSEngine : public MFSFiniteStateMachine {
public:
    // Makes and initialises the engine for the context's display; null (with the reason
    // in error) when the 3-D display cannot be started on this machine.
    static std::unique_ptr<CFSEngine> Create(CFSApplicationContext& context, MFSMenu* menu,
                                             std::string& error);
    ~CFSEngine() override;

    // Takes the controller from the context, initialises it and enters state 3.
    void AttachController();

    // The 3-D surface of the context's render size; the controller calls these when a
    // flight is built and when the video settings change.
    bool SetUpSurface();
    void TearDownSurface();
    void SetGLDefaults();
    bool HasSurface() const;

    // One flight frame: move, collide, update, draw, convert, overlay, present, time scale.
    void RenderFrame();

    // Volumes 0-255 from the settings file; the controller applies them when attached and
    // the audio screen changes them.
    int32_t musicVolume = 255;
    int32_t soundVolume = 255;
    // The six sound channels; the controller decides what each plays.
    CFSSoundChannels& Sounds() { return sounds_; }

    // A new collision detector over the world box, its handlers wired to the controller and
    // the loaded terrain (at start-up, and whenever the scene is cleared).
    void ResetCollisions(const FSBox& worldBox);
    void InstallCollisionHandlers(MFSCollisionDetector& detector);

    // An action from the input: to the menu in state 4, to the controller otherwise.
    int DispatchAction(int action);

    // Menu pass-throughs for the controller and the loading thread.
    void SwitchScreen(int screen, int argument);
    void MenuUpdateAndDraw();
    void ClearCurrentScreen();

    // Rows of the cockpit's 3-D window, converted alone in the cockpit view at "resolution" 1.
    void SetCockpitWindow(int top, int bottom);

    // Scene node factories: each makes the node and adds it to the scene root, and returns
    // it (null without a scene root). A meshed node of a model ("cube.obj") with a texture
    // ("red.png") through the context's mesh loader and texture cache:
    CFSMeshedNode* CreateMeshedNode(const std::string& modelName, const std::string& textureName,
                                    int flag = 0);
    // A particle system (see CFSParticlesSystem::CreateParticlesSystem):
    CFSParticlesSystem* CreateParticlesSystem(const std::string& textureName, int maxCount,
                                              std::unique_ptr<MFSEmmiter> emitter, uint32_t colour,
                                              int32_t quadSize);
    // The propeller disc of an aircraft's node:
    TFSPropellerL* CreatePropeller(MFSSceneNode* owner);
    // A camera-facing picture (a tree) of height and half-width (16.16 km), atlas variant
    // 0-15 of a 4 x 4 texture or -1 for the whole picture:
    CFSBillboardNode* CreateBillboard(int32_t height, int32_t halfWidth, const std::string& textureName,
                                      int variant);

    // The day-cycle clear colour (its day length is the engine's to set).
    CFSSkyColour& SkyColour() { return skyColour_; }

    MFSMenu* GetMenu() const { return menu_; }
    MFSGameController* GetController() const { return controller_; }
    const FrameRateMeter& Meter() const { return meter_; }
    // The 32-bit image GL renders into.
    const FSSurfaceImage& SurfaceImage() const { return dib_; }
    const CFSFont& GameFont() const { return gameFont_; }

protected:
    void OnEnterState(int newState, int oldState) override;
    void OnLeaveState(int oldState) override;

private:
    CFSEngine(CFSApplicationContext& context, MFSMenu* menu);
    bool Initialise(std::string& error);

    // Step 2.1: every moveable object takes one step, refiled in the collision grid.
    void MoveObjects();
    // Steps 3-9: the scene's animation and the 3-D picture, read back from GL.
    void DrawWorld(bool terrainShown);
    // The 3-D image to 5-6-5; insideCloud lets the fly-through effect mix its clouds in.
    void ConvertImage(bool insideCloud);
    void ComposeScreen();
    void DrawFlightOverlay();
    void Present();
    void UpdateTimeScale(uint32_t now);

    CFSApplicationContext& context_;
    MFSDisplay* display_;
    MFSMenu* menu_;
    MFSGameController* controller_ = nullptr;
    int handedWord_ = 0;  // a word of ours the controller may keep
    uint32_t warmUpBaseTick_ = 0;
    uint32_t warmUp_ = 1000;  // ms; the time scale stays 1.0 for 1.4 x this after a state change
    FrameRateMeter meter_;

    std::unique_ptr<CFSGLSurface> surface_;
    std::vector<uint32_t> surfacePixels_;  // what GL drew, x8r8g8b8, top row first
    FSSurfaceImage dib_;
    std::vector<uint16_t> renderBuffer_;  // the 3-D image in 5-6-5, render size
    std::vector<uint16_t> screenBuffer_;  // 240 x 320 when the render size differs
    uint16_t* screenImage_ = nullptr;     // screenBuffer_ or an alias of renderBuffer_
    CFSSkyColour skyColour_;              // sets the clear colour and the light each flight frame
    CFSFont mainFont_;                    // "main": status line
    CFSFont gameFont_;                    // "game_font": TIME and SCORE
    int cockpitTop_ = 0;
    int cockpitBottom_ = 0;
    CFSSoundChannels sounds_;
};
