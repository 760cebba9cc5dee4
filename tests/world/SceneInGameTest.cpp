#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "game/CSPPlaceholderController.h"
#include "support/TestSupport.h"
#include "world/FSScene.h"
#include "world/WorldTestNodes.h"

using testing_support::HeadlessGame;
using world_test::F;
using world_test::TestNode;

namespace {

TEST(SceneInGame, TheShellMakesTheSceneAndTheEngineSetsItsCullingFrustum) {
    HeadlessGame game;
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
}

TEST(SceneInGame, FlightFramesUpdateAndDrawTheSceneUntilShutdownDeletesIt) {
    std::vector<std::string> log;
    HeadlessGame game;
    ASSERT_EQ(game.Start(), 0);
    CFSApplicationContext& context = game.shell->Context();
    game.controller->SetTerrain("");  // an empty world: only the nodes made here
    game.StartFlight();
    ASSERT_EQ(context.engine->State(), Flying);

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
}

}  // namespace
