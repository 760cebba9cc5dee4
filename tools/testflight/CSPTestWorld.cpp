#include "testflight/CSPTestWorld.h"

#include <GLES/gl.h>

#include <cmath>
#include <cstdlib>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "resources/FSArchive.h"
#include "world/FSBillboardNode.h"
#include "world/FSBoomEmmiter.h"
#include "world/FSCloudNode.h"
#include "world/FSClouds.h"
#include "world/FSDayTime.h"
#include "world/FSFadeOutAffector.h"
#include "world/FSFixed.h"
#include "world/FSFountainEmmiter.h"
#include "world/FSGravityAffector.h"
#include "world/FSMeshedNode.h"
#include "world/FSParticlesSystem.h"
#include "world/FSPropellerL.h"
#include "world/FSProperty.h"
#include "world/FSRandom.h"
#include "world/FSScene.h"
#include "world/FSSkyBox.h"
#include "world/FSTerrainHolder.h"
#include "world/FSThrustSource.h"

namespace {

constexpr float kPi = 3.14159265f;
FSFixed X(float value) {
    return FloatToFixed(value);
}

// Where each terrain has a level area for the airfield (cell and local centre, km).
struct Site {
    const char* terrain;
    FSCell cell;
    float x, z;
};
const Site kSites[] = {
    {"valley.ter", {1, 0}, -5.625f, -13.125f},
    {"coast.ter", {1, 1}, -1.875f, 7.5f},
    {"farmland.ter", {1, 1}, -9.375f, 7.5f},
};

// The stand-in aircraft's engine: runs at a steady part of its thrust, so the propeller
// shows a blurred disc.
class CSPStandInEngine : public MFSProperty, public MFSThrustSource {
public:
    float ThrustFraction() const override { return 0.7f; }
};

// The radius and height of the stand-in aircraft's circle over the field (km).
constexpr float kCircleRadius = 0.30f;
constexpr float kCircleHeight = 0.10f;
constexpr float kCircleSpeed = 0.5f;  // radians per second

}  // namespace

CSPTestWorld::CSPTestWorld() = default;
CSPTestWorld::~CSPTestWorld() = default;

bool CSPTestWorld::Build(const std::string& terrain, int dayTime) {
    CFSApplicationContext& context = *GetApplicationContext();
    CFSScene& scene = *context.sceneRoot;
    cell_ = kSites[0].cell;
    centreX_ = kSites[0].x;
    centreZ_ = kSites[0].z;
    for (const Site& site : kSites) {
        if (terrain == site.terrain) {
            cell_ = site.cell;
            centreX_ = site.x;
            centreZ_ = site.z;
        }
    }

    context.terrain = std::make_unique<CFSTerrainHolder>(context.textureCache.get());
    const bool loaded = context.terrain->model->Load(MakeDataPath("data\\terrains.zip"), terrain,
                                                     context.video.visibilityRange, true);
    if (!loaded) context.terrain.reset();

    // The sky of the time of day, and the sun where that sky box shows it, so the fog
    // and the horizon agree.
    dayTime_ = ChooseDayTime(dayTime, [] { return WorldRandom().Next(); });
    skyBox_ = std::make_unique<CFSSkyBox>();
    skyBox_->Load(SkyBoxFolder(dayTime_), context.textureCache.get());
    scene.hooks.drawBackground = [this](CFSScene& drawn) {
        if (skyBox_) skyBox_->Draw(drawn.Camera(), true);
    };
    const FSSunPosition sun = SunPosition(dayTime_);
    scene.Camera().Sky().SetSun(sun.zenith, sun.azimuth);
    const FSDayLight light = DayLight(dayTime_);
    light_[0] = X(light.red);
    light_[1] = X(light.green);
    light_[2] = X(light.blue);
    if (context.terrain) {
        for (int c = 0; c < 3; ++c)
            context.terrain->tint[c] = light_[c];
    }
    // Buildings and aircraft take the same light as the ground: the camera's sunlight.
    scene.Camera().SetDaylight({light_[0], light_[1], light_[2]});
    // Fog as a route without its own gives it: linear from 8 to 30 km.
    glFogx(GL_FOG_MODE, GL_LINEAR);
    glFogx(GL_FOG_START, X(8.0f));
    glFogx(GL_FOG_END, X(30.0f));

    // The airfield: a hangar and a tower along the level strip, houses and a barn nearby.
    AddBuilding("buildings/hangar.obj", 0.12f, -0.10f, 90.0f);
    AddBuilding("buildings/tower.obj", 0.12f, 0.10f, 90.0f);
    AddBuilding("buildings/house.obj", -0.35f, 0.40f, 20.0f);
    AddBuilding("buildings/house.obj", -0.25f, 0.52f, 200.0f);
    AddBuilding("buildings/barn.obj", 0.45f, 0.55f, 130.0f);
    AddTrees(50);
    AddSmoke(-0.35f, GroundHeight(centreX_ - 0.35f, centreZ_ + 0.40f) + 0.012f, 0.40f);

    // A cloud over the field and the cloud layer along the horizon.
    auto cloud =
        std::make_unique<CFSCloudNode>(X(2.0f), X(0.8f), context.textureCache.get(), "clouds/cloud.png");
    cloud->SetVisible(true);
    PlaceOnCell(*cloud, 0.8f, GroundHeight(centreX_, centreZ_) + 1.6f, -2.5f);
    scene.Add(std::move(cloud));
    scene.Add(std::make_unique<TFSClouds>(context.textureCache.get(), "clouds/layer.png"));

    // The stand-in aircraft: a red box the size of a light aircraft's fuselage, with its
    // engine and propeller.
    if (CFSEngine* engine = context.engine.get()) {
        aircraft_ = engine->CreateMeshedNode("cube.obj", "red.png");
        if (aircraft_) {
            aircraft_->Scale({X(0.0012f), X(0.0075f), X(0.0016f)});
            aircraft_->SetMoveableObject(std::make_unique<CSPStandInEngine>());
            aircraft_->SetCell(cell_);
            engine->CreatePropeller(aircraft_);
        }
    }
    flightAngle_ = 0.0f;
    burstTimer_ = 0.0f;
    Update(0.0f);
    return loaded;
}

void CSPTestWorld::Release() {
    CFSApplicationContext& context = *GetApplicationContext();
    if (skyBox_) skyBox_->Unload(context.textureCache.get());
    skyBox_.reset();
    if (context.sceneRoot) {
        context.sceneRoot->hooks.drawBackground = nullptr;
        context.sceneRoot->Clear();
    }
    context.terrain.reset();
    aircraft_ = nullptr;
}

float CSPTestWorld::GroundHeight(float x, float z) const {
    const CFSTerrainHolder* holder = GetApplicationContext()->terrain.get();
    if (!holder || !holder->IsLoaded()) return 0.0f;
    // HeightAboveAt of a point at height 0 is minus the ground's height there.
    return -FixedToFloat(holder->model->HeightAboveAt({X(x), 0, X(z)}, cell_));
}

void CSPTestWorld::PlaceOnCell(MFSSceneNode& node, float x, float y, float z) {
    node.SetCell(cell_);
    const FSFixedVector position{X(centreX_ + x), X(y), X(centreZ_ + z)};
    node.SetPosition(position);
    node.Move(position);  // wraps into the cell; also the previous position
}

void CSPTestWorld::AddBuilding(const char* model, float x, float z, float headingDegrees) {
    CFSEngine* engine = GetApplicationContext()->engine.get();
    if (!engine) return;
    const std::string texture = std::string(model).replace(std::string(model).size() - 4, 4, ".png");
    CFSMeshedNode* building = engine->CreateMeshedNode(model, texture);
    if (!building) return;
    building->Scale({X(0.001f), X(0.001f), X(0.001f)});  // the models are in metres
    PlaceOnCell(*building, x, GroundHeight(centreX_ + x, centreZ_ + z), z);
    building->Rotate(FSVector(0.0f, 1.0f, 0.0f), headingDegrees * kPi / 180.0f);
}

void CSPTestWorld::AddTrees(int count) {
    CFSEngine* engine = GetApplicationContext()->engine.get();
    if (!engine) return;
    CFSRandom random(dayTime_ * 7919u + 17u);
    for (int i = 0; i < count; ++i) {
        // A ring of woods around the field, clear of the strip.
        const float angle = (static_cast<unsigned>(random.Next()) % 3600u) / 3600.0f * 2.0f * kPi;
        const float radius = 0.22f + (static_cast<unsigned>(random.Next()) % 1000u) / 1000.0f * 0.6f;
        const float x = std::cos(angle) * radius, z = std::sin(angle) * radius;
        const float height = 0.009f + (static_cast<unsigned>(random.Next()) % 100u) / 100.0f * 0.008f;
        CFSBillboardNode* tree =
            engine->CreateBillboard(X(height), X(height * 0.4f), "trees/trees.png", random.Next() % 16);
        if (tree) PlaceOnCell(*tree, x, GroundHeight(centreX_ + x, centreZ_ + z), z);
    }
}

void CSPTestWorld::AddSmoke(float x, float y, float z) {
    CFSEngine* engine = GetApplicationContext()->engine.get();
    if (!engine) return;
    // Grey puffs rising slowly and fading over 50 frames.
    auto emitter = std::make_unique<TFSFountainEmmiter>(X(50.0f), FSFixedVector{X(0.05f), X(0.12f), X(0.05f)},
                                                        FSFixedVector{X(0.02f), X(0.01f), 0}, X(1.0f));
    CFSParticlesSystem* smoke =
        engine->CreateParticlesSystem("particle.png", 24, std::move(emitter), 0x9A9A9A, X(0.004f));
    if (!smoke) return;
    smoke->AddAffector(std::make_unique<TFSFadeOutAffector>());
    PlaceOnCell(*smoke, x, y, z);
}

void CSPTestWorld::AddBurst() {
    CFSEngine* engine = GetApplicationContext()->engine.get();
    if (!engine) return;
    // Sparks thrown out in every direction, falling back as they fade.
    auto emitter = std::make_unique<TFSBoomEmmiter>(X(30.0f), FSFixedVector{X(1.6f), X(1.6f), X(1.6f)},
                                                    FSFixedVector{0, X(-0.3f), 0});
    CFSParticlesSystem* burst =
        engine->CreateParticlesSystem("particle.png", 60, std::move(emitter), 0x40C8FF, X(0.006f));
    if (!burst) return;
    burst->AddAffector(std::make_unique<TFSGravityAffector>());
    burst->AddAffector(std::make_unique<TFSFadeOutAffector>());
    PlaceOnCell(*burst, 0.3f, GroundHeight(centreX_, centreZ_) + 0.25f, -0.2f);
}

void CSPTestWorld::Update(float seconds) {
    burstTimer_ -= seconds;
    if (burstTimer_ <= 0.0f) {
        AddBurst();
        burstTimer_ = 4.0f;
    }
    if (!aircraft_) return;
    flightAngle_ = std::fmod(flightAngle_ + kCircleSpeed * seconds, 2.0f * kPi);
    const float c = std::cos(flightAngle_), s = std::sin(flightAngle_);
    const float x = centreX_ + kCircleRadius * c, z = centreZ_ + kCircleRadius * s;
    const FSFixedVector position{X(x), X(GroundHeight(centreX_, centreZ_) + kCircleHeight), X(z)};
    aircraft_->SetCell(cell_);
    aircraft_->Move(position);
    // Nose along the circle (anticlockwise seen from above), banked into the turn.
    aircraft_->LookAlong(FSVector(-s, 0.0f, c), FSVector(-0.35f * c, 1.0f, -0.35f * s));
}

void CSPTestWorld::PlaceOrbitCamera(float headingDegrees, float pitchDegrees, float distanceKm) {
    CFSApplicationContext& context = *GetApplicationContext();
    CFSCamera& camera = context.sceneRoot->Camera();
    const float heading = headingDegrees * kPi / 180.0f, pitch = pitchDegrees * kPi / 180.0f;
    const float ground = GroundHeight(centreX_, centreZ_);
    const FSFixedVector target{X(centreX_), X(ground + 0.05f), X(centreZ_)};
    float eyeX = centreX_ + distanceKm * std::cos(pitch) * std::sin(heading);
    float eyeZ = centreZ_ + distanceKm * std::cos(pitch) * std::cos(heading);
    // Never below the ground under the eye.
    const float eyeY =
        std::fmax(ground + 0.05f + distanceKm * std::sin(pitch), GroundHeight(eyeX, eyeZ) + 0.03f);
    camera.SetCell(cell_);
    camera.LookAt({X(eyeX), X(eyeY), X(eyeZ)}, target, {0, kFixedOne, 0}, context.game.screenAlign);
}
