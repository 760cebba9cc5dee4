#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "support/HeadlessTestGame.h"
#include "testflight/CSPPlaceholderController.h"
#include "world/FSBoomEmmiter.h"
#include "world/FSFadeOutAffector.h"
#include "world/FSGridCollisionDetector.h"
#include "world/FSMeshedNode.h"
#include "world/FSParticlesSystem.h"
#include "world/FSPropellerL.h"
#include "world/FSScene.h"
#include "world/WorldTestNodes.h"

using testing_support::HeadlessTestGame;
using world_test::F;
using world_test::TestNode;

namespace {

// Stands in for the grid to see what the engine's frame hands the collision pass.
class SpyDetector : public MFSCollisionDetector {
public:
    void Insert(MFSSceneNode*) override {}
    void Unused() override {}
    void Detect() override {
        ++passes;
        TestNode a, b;
        filterAnswer = handlers.mayCollide && handlers.mayCollide(a, b);
        filterSet = static_cast<bool>(handlers.mayCollide);
        contactHandlersSet = handlers.collision && handlers.groundContact;
        // Hand the controller a contact: the placeholder takes it without complaint.
        if (handlers.collision) handlers.collision(a, b);
        if (handlers.groundContact) handlers.groundContact(a);
    }
    void Remove(MFSSceneNode*) override {}
    int32_t GetTestCount() const override { return 0; }

    int passes = 0;
    bool filterSet = false;
    bool filterAnswer = true;
    bool contactHandlersSet = false;
};

// The game's own scene and collision grid: made by the shell and the engine, run by the
// flight frames, and gone at shutdown.
TEST(SceneInGame, TheShellMakesTheSceneAndGridThatFlightFramesRunUntilShutdown) {
    std::vector<std::string> log;
    HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    CFSApplicationContext& context = game.shell->Context();
    ASSERT_NE(context.sceneRoot, nullptr);
    EXPECT_EQ(context.culling, 1);
    EXPECT_EQ(context.playerAircraft, nullptr);
    EXPECT_NEAR(context.sineTable.Sin(3.14159265f / 2), 1.0f, 1e-5f);
    // Leaving the starting state set the projection: 60°, far 40, aspect 240 / 320 for the
    // default landscape alignment.
    const FSFixedMatrix& p = context.sceneRoot->Camera().ProjectionMatrix();
    EXPECT_NEAR(FixedToFloat(p.At(1, 1)), 1.0f / std::tan(3.14159265f / 6), 1e-3f);
    EXPECT_NEAR(FixedToFloat(p.At(0, 0)), FixedToFloat(p.At(1, 1)) / 0.75f, 1e-3f);
    EXPECT_NEAR(FixedToFloat(p.At(2, 2)), -40.001f / 39.999f, 1e-3f);
    ASSERT_NE(context.meshLoader, nullptr);
    auto* grid = dynamic_cast<CFSGridCollisionDetector*>(context.collisionDetector.get());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->Area(), context.sceneRoot->WorldBox());

    game.controller->SetTerrain("");  // an empty world: only the nodes made here
    game.StartFlight();
    ASSERT_EQ(context.engine->State(), Flying);
    TestNode* debris = context.sceneRoot->Add(std::make_unique<TestNode>("debris"));
    debris->Place({F(1), F(1), F(1)});
    grid->Insert(debris);
    ASSERT_EQ(grid->CountOf(debris), 1);
    debris->Remove();
    game.Pass();
    // The scene deleted the node and the grid forgot it: no dangling entry is left.
    EXPECT_TRUE(context.sceneRoot->Nodes().empty());
    EXPECT_EQ(grid->Square(grid->SquareOf({F(1), F(1), F(1)})).size(), 0u);
    context.sceneRoot->Clear();
    grid = dynamic_cast<CFSGridCollisionDetector*>(context.collisionDetector.get());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->Area(), context.sceneRoot->WorldBox());
    // The default camera stands 51 km from the origin: only the player's node is drawn.
    TestNode* player = context.sceneRoot->Add(std::make_unique<TestNode>("player", &log));
    TestNode* scenery = context.sceneRoot->Add(std::make_unique<TestNode>("scenery", &log));
    context.playerAircraft = player;
    game.Pass(3);
    EXPECT_EQ(player->updates, 3);
    EXPECT_EQ(player->draws, 3);
    EXPECT_EQ(scenery->updates, 3);
    EXPECT_EQ(scenery->draws, 0);
    EXPECT_EQ(context.culledCount, 1);
    const uint32_t before = player->lastTime;
    game.Pass();
    EXPECT_GT(player->lastTime, before);  // milliseconds since the context was made
    scenery->Remove();
    game.Pass();
    EXPECT_NE(std::find(log.begin(), log.end(), "delete scenery"), log.end());
    EXPECT_EQ(context.sceneRoot->Nodes().size(), 1u);

    game.shell->Shutdown();
    EXPECT_EQ(log.back(), "delete player");
    EXPECT_EQ(context.sceneRoot, nullptr);
    EXPECT_EQ(context.playerAircraft, nullptr);
    EXPECT_EQ(context.collisionDetector, nullptr);
    EXPECT_EQ(context.meshLoader, nullptr);
}

TEST(CollisionInGame, EveryFlightFrameRunsThePassWithTheControllersHandlers) {
    HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    CFSApplicationContext& context = game.shell->Context();
    auto spy = std::make_unique<SpyDetector>();
    SpyDetector* detector = spy.get();
    context.engine->InstallCollisionHandlers(*spy);
    context.collisionDetector = std::move(spy);

    game.Pass(2);  // the menu: no flight, no pass
    EXPECT_EQ(detector->passes, 0);
    game.StartFlight();
    ASSERT_EQ(context.engine->State(), Flying);
    const int before = detector->passes;
    game.Pass(3);
    EXPECT_EQ(detector->passes, before + 3);
    EXPECT_TRUE(detector->filterSet);
    EXPECT_FALSE(detector->filterAnswer);  // the placeholder lets no pair through
    EXPECT_TRUE(detector->contactHandlersSet);

    context.detectCollisions = 0;
    game.Pass(2);
    EXPECT_EQ(detector->passes, before + 3);
}

TEST(CollisionInGame, TheEngineFactoriesAddTheirNodesToTheSceneRoot) {
    HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    game.controller->SetTerrain("");  // an empty world: only the nodes made here
    game.StartFlight();
    CFSApplicationContext& context = game.shell->Context();
    CFSEngine& engine = *context.engine;
    CFSScene& scene = *context.sceneRoot;

    CFSMeshedNode* cube = engine.CreateMeshedNode("cube.obj", "red.png");
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(cube->TriangleCount(), 12);
    CFSParticlesSystem* burst = engine.CreateParticlesSystem(
        "particle.png", 5,
        std::make_unique<TFSBoomEmmiter>(F(4), FSFixedVector{F(0.3), F(0.3), F(0.3)}, FSFixedVector{}),
        0xFFFFFF, 524);
    ASSERT_NE(burst, nullptr);
    burst->AddAffector(std::make_unique<TFSFadeOutAffector>());
    TFSPropellerL* propeller = engine.CreatePropeller(cube);
    ASSERT_NE(propeller, nullptr);
    EXPECT_EQ(propeller->GetOwner(), cube);
    EXPECT_EQ(scene.Nodes().size(), 3u);
    // The camera looks at them, so the frames draw all three.
    context.culling = 0;
    game.Pass(2);
    EXPECT_EQ(burst->Particles().size(), 5u);
    // A life of 4 designed frames (18 a second) lasts some 14 passes at 60 a second.
    game.Pass(4);
    EXPECT_EQ(scene.Nodes().size(), 3u);
    game.Pass(8);
    EXPECT_EQ(scene.Nodes().size(), 2u);
    // At the cube's "nose" (its top, +y) and a quarter of its half height along +z.
    EXPECT_EQ(propeller->GetPosition(), (FSFixedVector{0, F(0.5), F(0.125)}));

    cube->Remove();
    game.Pass();
    EXPECT_TRUE(scene.Nodes().empty());
}

}  // namespace
