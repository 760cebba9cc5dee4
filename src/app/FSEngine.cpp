#include "app/FSEngine.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/FSApplicationContext.h"
#include "app/FSInput.h"
#include "flight/FSMoveableObject.h"
#include "hud/FSReadout.h"
#include "hud/FSTouchpad.h"
#include "platform/FSClock.h"
#include "platform/FSDisplay.h"
#include "platform/FSGLSurface.h"
#include "resources/FSArchive.h"
#include "resources/FSPixels.h"
#include "resources/FSTextureCache.h"
#include "world/FSBillboardNode.h"
#include "world/FSEmmiter.h"
#include "world/FSFrame.h"
#include "world/FSGridCollisionDetector.h"
#include "world/FSMeshedNode.h"
#include "world/FSParticlesSystem.h"
#include "world/FSPropellerL.h"
#include "world/FSScene.h"
#include "world/FSTerrainHolder.h"

namespace {

GLfixed ToFixed(float value) {
    return static_cast<GLfixed>(value * 65536.0f);
}

// Perspective projection with a vertical field of view in degrees.
void SetProjection(float fovDegrees, float aspect, float nearPlane, float farPlane) {
    const float top = nearPlane * std::tan(fovDegrees * 0.5f * 3.14159265f / 180.0f);
    const float right = top * aspect;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustumx(ToFixed(-right), ToFixed(right), ToFixed(-top), ToFixed(top), ToFixed(nearPlane),
               ToFixed(farPlane));
    glMatrixMode(GL_MODELVIEW);
}

}  // namespace

float ComputeTimeScale(bool active, float currentRate) {
    // The game is designed for 18 frames per second of game time.
    const float rate = active && currentRate > 0.0f ? currentRate : static_cast<float>(kPacedFramesPerSecond);
    return std::clamp(18.0f / rate, 0.25f, 4.0f);
}

std::unique_ptr<CFSEngine> CFSEngine::Create(CFSApplicationContext& context, MFSMenu* menu,
                                             std::string& error) {
    std::unique_ptr<CFSEngine> engine(new CFSEngine(context, menu));
    if (!engine->Initialise(error)) return nullptr;
    return engine;
}

CFSEngine::CFSEngine(CFSApplicationContext& context, MFSMenu* menu)
    : context_(context), display_(context.display), menu_(menu), surface_(std::make_unique<CFSGLSurface>()) {}

CFSEngine::~CFSEngine() {
    TearDownSurface();
}

bool CFSEngine::Initialise(std::string& error) {
    context_.texturesArchive = MakeDataPath("data\\textures.zip");
    context_.textureCache = std::make_unique<CFSTextureCache>(context_.texturesArchive);
    context_.textureCache->SetQuality(context_.video.texturesQuality);
    context_.meshLoader = std::make_unique<CFSMeshLoader>(MakeDataPath("data\\models.zip"));
    // The collision grid covers the local area of a world cell, as the scene's world box.
    ResetCollisions(FSBox::FromCorners({-FixedFromInt(30), 0, -FixedFromInt(30)},
                                       {FixedFromInt(30), FixedFromInt(90), FixedFromInt(30)}));
    // The fly-through effect starts outside every zone; its cloud picture is optional.
    context_.flyThrough.Init();
    context_.flyThrough.LoadCloudImage(context_.texturesArchive);
    meter_.Init(500);
    warmUp_ = 1000;
    // Without its fonts the game still runs; it only shows no text.
    gameFont_.LoadFont("game_font", 5, 1, 0);
    mainFont_.LoadFont("main", 5, 1, 0);
    context_.mainFont = &mainFont_;
    // The surface itself is made when the first flight is built; here we only make sure
    // one can be made, so a machine without GLES fails at start-up with a clear message
    // rather than at the first flight.
    if (!CFSGLSurface::Probe(error)) return false;
    SetState(Idle);
    return true;
}

void CFSEngine::AttachController() {
    controller_ = context_.gameController.get();
    if (controller_) controller_->Initialise(&handedWord_);
    SetState(Starting);
}

void CFSEngine::OnEnterState(int newState, int /*oldState*/) {
    if (newState != Idle) {
        warmUpBaseTick_ = platform::TickCount();
        context_.frame.timeScaleActive = 0;
        context_.frame.timeScale = ComputeTimeScale(false, 0.0f);
    }
    switch (newState) {
        case Menu:
            if (menu_) menu_->Enter();
            break;
        case Quit:
            if (menu_) menu_->Quit();
            if (controller_) controller_->LeaveGame();
            sounds_.StopAll();
            break;
        case Loading:
            if (controller_) controller_->EnterLoading();
            break;
        default:
            break;
    }
}

void CFSEngine::OnLeaveState(int oldState) {
    switch (oldState) {
        case Starting:
            // The culling frustum: 60° vertically, near 0.001, far 40.0. The landscape
            // alignments turn the picture, so their aspect is width / height of the
            // (portrait) render size; the portrait alignment uses height / width.
            if (context_.sceneRoot) {
                const float w = static_cast<float>(context_.video.renderWidth);
                const float h = static_cast<float>(context_.video.renderHeight);
                const float aspect = context_.game.screenAlign == 0 ? h / w : w / h;
                context_.sceneRoot->Camera().SetPerspectiveMatrix(60.0f, aspect, 0.001f, 40.0f);
            }
            break;
        case Flying:
            if (surface_) surface_->WaitGL();
            break;
        case Loading:
            if (controller_) controller_->LeaveLoading();
            break;
        default:
            break;
    }
}

bool CFSEngine::SetUpSurface() {
    const int w = context_.video.renderWidth;
    const int h = context_.video.renderHeight;
    if (w <= 0 || h <= 0 || w > MFSDisplay::kWidth || h > MFSDisplay::kHeight) return false;
    surfacePixels_.assign(static_cast<size_t>(w) * h, 0);
    dib_ = FSSurfaceImage{w, h, w * 4, 32, surfacePixels_.data()};
    renderBuffer_.assign(static_cast<size_t>(w) * h, 0);
    if (w != MFSDisplay::kWidth || h != MFSDisplay::kHeight) {
        screenBuffer_.assign(MFSDisplay::kPixels, 0);
        screenImage_ = screenBuffer_.data();
    } else {
        screenBuffer_.clear();
        screenImage_ = renderBuffer_.data();
    }
    cockpitTop_ = 0;
    cockpitBottom_ = h - 1;
    // The buffers stay even when GL fails, so later frames convert and present safely.
    if (!surface_->Create(w, h)) return false;
    // Texture names belong to the GL context; a new context needs its textures again
    // under the same names, which every node still holds.
    if (context_.textureCache) {
        context_.textureCache->SetQuality(context_.video.texturesQuality);
        context_.textureCache->ReloadAll();
    }
    return true;
}

void CFSEngine::TearDownSurface() {
    if (surface_) surface_->Destroy();
    surfacePixels_.clear();
    renderBuffer_.clear();
    screenBuffer_.clear();
    screenImage_ = nullptr;
    dib_ = FSSurfaceImage{};
}

bool CFSEngine::HasSurface() const {
    return surface_ && surface_->IsReady();
}

void CFSEngine::SetGLDefaults() {
    if (!HasSurface()) return;
    const int w = surface_->Width();
    const int h = surface_->Height();
    glViewport(0, 0, w, h);
    glScissor(0, 0, w, h);
    glEnable(GL_SCISSOR_TEST);
    SetProjection(60.0f, static_cast<float>(w) / static_cast<float>(h), 0.001f, 100.0f);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_TEXTURE_2D);
    const GLint filter = context_.video.texturesQuality != 0 ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glShadeModel(GL_SMOOTH);
    glTexEnvx(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_FOG);
}

void CFSEngine::SetCockpitWindow(int top, int bottom) {
    cockpitTop_ = top;
    cockpitBottom_ = bottom;
}

int CFSEngine::DispatchAction(int action) {
    if (State() == Menu) return menu_ ? menu_->DispatchAction(action) : 0;
    context_.recorder.NoteAction(action);
    return controller_ ? controller_->HandleAction(action) : 0;
}

void CFSEngine::SwitchScreen(int screen, int argument) {
    if (menu_) menu_->SwitchScreen(screen, argument);
}

void CFSEngine::MenuUpdateAndDraw() {
    if (menu_) menu_->UpdateAndDraw(0);
}

void CFSEngine::ClearCurrentScreen() {
    if (menu_) menu_->ClearCurrentScreen();
}

void CFSEngine::RenderFrame() {
    // 1. Only the flight states draw.
    const int state = State();
    if (state != Flying && state != Paused) return;

    // 2. A running flight moves first, so this frame draws where things are now; the
    // contacts at the new positions reach the controller before its frame update.
    if (state == Flying) {
        if (context_.moveObjects) MoveObjects();
        if (context_.detectCollisions && context_.collisionDetector) context_.collisionDetector->Detect();
        if (controller_) controller_->Update();
    }

    // 3-9. The 3-D picture.
    const CFSTerrainHolder* holder = context_.terrain.get();
    const bool terrainShown = holder && holder->IsLoaded() && !holder->paused;
    DrawWorld(terrainShown);
    if (renderBuffer_.empty()) return;  // no surface was ever set up

    // 10. 2-D work on the finished 3-D image.
    if (controller_) controller_->AfterRender(dib_);

    // 11-12. To 5-6-5 (whitened inside a cloud zone), then to the 240 x 320 screen image.
    ConvertImage(terrainShown && context_.flyThrough.State() != 0);
    ComposeScreen();

    // 13-14. Instruments, status text and the TIME / SCORE read-out over the picture.
    DrawFlightOverlay();

    // 15. Show it.
    Present();

    // 16-18. Timing: the next frame's time scale comes from this frame's rate.
    const uint32_t now = platform::TickCount();
    UpdateTimeScale(now);
    meter_.Count(now);
}

void CFSEngine::MoveObjects() {
    if (!context_.sceneRoot) return;
    // The moveable objects' base step, 0.05 s, four times over: 0.2 s of flight per frame
    // at the nominal 18 frames per second.
    const float step = 0.05f * 4.0f * context_.frame.timeScale;
    MFSCollisionDetector* detector = context_.collisionDetector.get();
    const auto& nodes = context_.sceneRoot->Nodes();
    // The grid files a node by its position, so a node leaves the grid before it moves
    // and is filed again where it ends up (unless the step removed it).
    for (size_t i = 0; i < nodes.size(); ++i) {
        MFSSceneNode* node = nodes[i].get();
        if (!node || node->IsRemoved()) continue;
        // Refresh: the previous position and orientation become the current ones, so the
        // swept box the collision pass tests covers this frame's move only (a node placed
        // without moving would otherwise sweep from where it was).
        node->SavePosition();
        node->SaveOrientation();
        MFSMoveableObject* object = node->GetMoveableAs<MFSMoveableObject>();
        if (!object) continue;
        if (detector) detector->Remove(node);
        object->Integrate(step);
        if (detector && !node->IsRemoved()) detector->Insert(node);
    }
}

void CFSEngine::DrawWorld(bool terrainShown) {
    // 3. Inside a cloud zone the picture whitens: find out where the aircraft is.
    if (context_.playerAircraft && terrainShown) context_.flyThrough.Update(*context_.playerAircraft);

    // 4. The scene's animation, timed from the context's creation and stepped by the time scale.
    CFSScene* scene = context_.sceneRoot.get();
    if (scene)
        scene->Update(FSFrame{platform::TickCount() - context_.creationTick, context_.frame.timeScale});

    // 5. Clear to the colour of the time of day (which also turns the sunlight).
    const bool gl = HasSurface();
    if (gl) {
        if (scene) skyColour_.UpdateClearColour(scene->Camera(), platform::TickCount());
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    // 6. Sky box, then the camera: the scene is drawn from where the camera now stands.
    if (controller_) controller_->CameraStep();

    // 7. The scene (terrain first, then the nodes); the propeller joins here, drawn last.
    if (gl && scene) scene->Draw(context_.culling != 0, context_.playerAircraft, context_.culledCount);

    // 8. The zone clouds, drawn with the view rotation the scene left loaded.
    if (gl && scene && terrainShown) context_.flyThrough.Draw(scene->Camera());

    // 9. The 3-D image must be complete before anything reads it.
    if (gl) {
        surface_->WaitGL();
        surface_->ReadPixels(surfacePixels_.data());
    }
}

void CFSEngine::ResetCollisions(const FSBox& worldBox) {
    context_.collisionDetector = std::make_unique<CFSGridCollisionDetector>(worldBox);
    InstallCollisionHandlers(*context_.collisionDetector);
}

void CFSEngine::InstallCollisionHandlers(MFSCollisionDetector& detector) {
    // What a contact means is the controller's to say; low moving nodes are tested
    // against the ground of whichever terrain is loaded at the time.
    FSCollisionHandlers& handlers = detector.handlers;
    const auto loadedTerrain = [this]() -> CFSTerrainModel* {
        CFSTerrainHolder* holder = context_.terrain.get();
        return holder && holder->IsLoaded() ? holder->model.get() : nullptr;
    };
    handlers.mayCollide = [this](MFSSceneNode& a, MFSSceneNode& b) {
        return !controller_ || controller_->MayCollide(&a, &b);
    };
    handlers.collision = [this](MFSSceneNode& a, MFSSceneNode& moving) {
        if (controller_) controller_->Collision(&a, &moving);
    };
    handlers.touchesGround = [loadedTerrain](MFSSceneNode& node) {
        const CFSTerrainModel* terrain = loadedTerrain();
        return terrain && terrain->TouchesGround(node);
    };
    handlers.groundContact = [this, loadedTerrain](MFSSceneNode& node) {
        if (controller_) controller_->GroundContact(&node, loadedTerrain());
    };
}

void CFSEngine::ConvertImage(bool insideCloud) {
    const int w = dib_.width;
    const int h = dib_.height;
    int top = 0;
    int rows = h;
    if (controller_ && controller_->CockpitViewFlag() == 1 && context_.video.resolution == 1) {
        // In the cockpit view only the rows of the cockpit's 3-D window show through.
        top = std::clamp(cockpitTop_, 0, h - 1);
        rows = std::clamp(cockpitBottom_, top, h - 1) - top + 1;
    }
    if (insideCloud) {
        const float seconds = static_cast<float>(platform::TickCount() - context_.creationTick) / 1000.0f;
        context_.flyThrough.Convert(renderBuffer_.data(), surfacePixels_.data(), w, h, seconds, top, rows);
        return;
    }
    ConvertTo565(renderBuffer_.data() + top * w, surfacePixels_.data() + top * w, rows * w);
}

void CFSEngine::ComposeScreen() {
    const int w = dib_.width;
    const int h = dib_.height;
    const bool fullSize = w == MFSDisplay::kWidth && h == MFSDisplay::kHeight;
    if (fullSize) {
        screenImage_ = renderBuffer_.data();
        return;
    }
    screenImage_ = screenBuffer_.data();
    if (context_.video.resolution == 0 && 2 * w <= MFSDisplay::kWidth && 2 * h <= MFSDisplay::kHeight) {
        DoublePixels(screenBuffer_.data(), renderBuffer_.data(), w, h);
        return;
    }
    // "resolution" 2 (and any size that does not fill the screen): centred on black.
    std::fill(screenBuffer_.begin(), screenBuffer_.end(), 0);
    uint16_t* out = screenBuffer_.data() + ((MFSDisplay::kHeight - h) / 2) * MFSDisplay::kWidth +
                    (MFSDisplay::kWidth - w) / 2;
    for (int r = 0; r < h; ++r) {
        std::memcpy(out + r * MFSDisplay::kWidth, renderBuffer_.data() + r * w, sizeof(uint16_t) * w);
    }
}

void CFSEngine::DrawFlightOverlay() {
    const CFSTerrainHolder* holder = context_.terrain.get();
    if (!screenImage_ || !holder || !holder->IsLoaded() || holder->paused) return;
    const int align = context_.game.screenAlign;
    const uint16_t amber = Pack565(0xFFCC00);
    if (context_.playerAircraft) {
        // 13. The cockpit and instruments, the stylus pad over them when the touch-screen
        // scheme steers with it, then the status line on top.
        if (controller_) controller_->DrawInstruments(screenImage_);
        if (context_.game.touchscreenScheme != 0 && context_.touchpad)
            context_.touchpad->Draw(screenImage_, align);
    }
    // The status line outlives the aircraft: after the finish it carries what the player
    // must know (a score that could not be saved).
    if (controller_) {
        const std::string status = controller_->StatusText();
        if (!status.empty())
            DrawText(mainFont_, screenImage_, align, 0, kJustifyLeft, {kStatusLeft, kStatusTop}, amber,
                     status);
    }
    // 14. TIME and SCORE, with their labels when there is no aircraft (after a crash).
    if (controller_) {
        DrawTimeAndScore(gameFont_, screenImage_, align, controller_->FlightSeconds(), controller_->Score(),
                         context_.playerAircraft == nullptr);
    }
}

void CFSEngine::Present() {
    if (!display_ || !screenImage_) return;
    uint16_t* frame = display_->BeginDraw();
    std::memcpy(frame, screenImage_, sizeof(uint16_t) * MFSDisplay::kPixels);
    display_->EndDraw();
}

void CFSEngine::UpdateTimeScale(uint32_t now) {
    if (!context_.frame.timeScaleActive && now - warmUpBaseTick_ > warmUp_ * 14 / 10)
        context_.frame.timeScaleActive = 1;
    context_.frame.timeScale = ComputeTimeScale(context_.frame.timeScaleActive != 0, meter_.CurrentRate());
}

CFSMeshedNode* CFSEngine::CreateMeshedNode(const std::string& modelName, const std::string& textureName,
                                           int flag) {
    if (!context_.sceneRoot) return nullptr;
    CFSTextureCache* textures = context_.textureCache.get();
    if (!context_.meshLoader)
        return context_.sceneRoot->Add(std::make_unique<CFSMeshedNode>(textures, textureName));
    return context_.sceneRoot->Add(
        CFSMeshedNode::CreateMeshedNode(*context_.meshLoader, textures, modelName, textureName, flag));
}

CFSParticlesSystem* CFSEngine::CreateParticlesSystem(const std::string& textureName, int maxCount,
                                                     std::unique_ptr<MFSEmmiter> emitter, uint32_t colour,
                                                     int32_t quadSize) {
    if (!context_.sceneRoot) return nullptr;
    return context_.sceneRoot->Add(CFSParticlesSystem::CreateParticlesSystem(
        context_.textureCache.get(), textureName, maxCount, std::move(emitter), colour, quadSize));
}

TFSPropellerL* CFSEngine::CreatePropeller(MFSSceneNode* owner) {
    if (!context_.sceneRoot) return nullptr;
    return context_.sceneRoot->Add(std::make_unique<TFSPropellerL>(owner, context_.sineTable));
}

CFSBillboardNode* CFSEngine::CreateBillboard(int32_t height, int32_t halfWidth,
                                             const std::string& textureName, int variant) {
    if (!context_.sceneRoot) return nullptr;
    return context_.sceneRoot->Add(std::make_unique<CFSBillboardNode>(
        height, halfWidth, context_.textureCache.get(), textureName, variant));
}
