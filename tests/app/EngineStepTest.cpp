// The engine's movement step in a running (headless) flight: every moveable object of the
// scene takes one step per frame and is filed again in the collision grid where it ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "flight/FSFragment.h"
#include "flight/FlightTestSupport.h"
#include "support/HeadlessTestGame.h"
#include "world/FSGridCollisionDetector.h"
#include "world/FSScene.h"

using flight_test::BareNode;
using testing_support::HeadlessTestGame;

namespace {

TEST(EngineStep, MovesEveryMoveableObjectOncePerFrameAndRefilesItInTheGrid) {
    HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    game.StartFlight();
    game.Pass(2);
    CFSApplicationContext& context = game.shell->Context();
    ASSERT_EQ(context.engine->State(), Flying);
    auto* grid = dynamic_cast<CFSGridCollisionDetector*>(context.collisionDetector.get());
    ASSERT_NE(grid, nullptr);

    // A piece flying east high above the ground, about to cross from one grid square into
    // the next (squares are 1.875 km wide; x = 0 is a square edge).
    auto piece = std::make_unique<BareNode>();
    piece->Place({FloatToFixed(-0.002f), FloatToFixed(20.0f), FloatToFixed(0.5f)});
    piece->SavePosition();
    piece->SetMoveableObject(
        std::make_unique<FSFragment>(*piece, FSVector(0.1f, 0.0f, 0.0f), 1.0f, context.sineTable));
    MFSSceneNode* moving = context.sceneRoot->AddNode(std::move(piece));
    grid->Insert(moving);
    const int before = grid->SquareOf(moving->GetPosition());

    // A node without physics, placed without moving: its previous position is stale.
    auto post = std::make_unique<BareNode>();
    post->Place({FloatToFixed(3.0f), FloatToFixed(20.0f), FloatToFixed(3.0f)});
    MFSSceneNode* still = context.sceneRoot->AddNode(std::move(post));

    const float step = 0.05f * 4.0f * context.frame.timeScale;
    game.Pass(1);
    const FSFixed expected = FloatToFixed(-0.002f) + FixedMul(FloatToFixed(0.1f), FloatToFixed(step));
    EXPECT_EQ(moving->GetPosition().x, expected);
    EXPECT_EQ(moving->GetPreviousPosition().x, FloatToFixed(-0.002f));
    const int after = grid->SquareOf(moving->GetPosition());
    EXPECT_NE(after, before);
    EXPECT_EQ(grid->CountOf(moving), 1);
    const auto& square = grid->Square(after);
    EXPECT_NE(std::find(square.begin(), square.end(), moving), square.end());
    // Refreshed: before a frame's moves every node's previous place is its current one.
    EXPECT_EQ(still->GetPreviousPosition(), still->GetPosition());
    EXPECT_EQ(grid->CountOf(still), 0);  // only what was filed is filed again

    // With the move-objects flag clear nothing moves.
    context.moveObjects = 0;
    const FSFixedVector at = moving->GetPosition();
    game.Pass(1);
    EXPECT_EQ(moving->GetPosition(), at);
    context.moveObjects = 1;
}

}  // namespace
