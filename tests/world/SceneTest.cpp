#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/FSGLSurface.h"
#include "world/FSScene.h"
#include "world/WorldTestNodes.h"

using world_test::F;
using world_test::TestNode;

namespace {

class Tag : public MFSProperty {};

// Scene draws issue GL calls, so these tests run with a small real context.
class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(CFSGLSurface::Probe(why)) << why;
        ASSERT_TRUE(surface_.Create(64, 64));
        // Camera at (0, 1, 0) in cell (1, 1), looking along −z, with the game's culling frustum.
        scene.Camera().SetCell({1, 1});
        scene.Camera().LookAt({0, F(1), 0}, {0, F(1), F(-10)}, {0, kFixedOne, 0}, 0);
        scene.Camera().SetPerspectiveMatrix(60.0f, 0.75f, 0.001f, 40.0f);
    }

    TestNode* AddAt(const std::string& name, double x, double y, double z, FSCell cell = {1, 1}) {
        auto node = std::make_unique<TestNode>(name, &log);
        node->SetCell(cell);
        node->Place({F(x), F(y), F(z)});
        return scene.Add(std::move(node));
    }

    int Draw(bool culling = true, const MFSSceneNode* player = nullptr) {
        int32_t culled = -1;
        scene.Draw(culling, player, culled);
        return culled;
    }

    CFSGLSurface surface_;
    std::vector<std::string> log;  // before the scene: its nodes log their deletion
    CFSScene scene;
};

TEST_F(SceneTest, UpdateRunsTheHookThenTheTreesThenDeletesRemovedRoots) {
    TestNode* a = AddAt("a", 0, 0, -5);
    TestNode* b = AddAt("b", 0, 0, -6);
    TestNode* c = AddAt("c", 0, 0, -7);
    std::vector<MFSSceneNode*> forgotten;
    scene.hooks.beforeUpdate = [&](const FSFrame& frame) {
        log.push_back("hook " + std::to_string(frame.time));
    };
    scene.hooks.forgetNode = [&](MFSSceneNode& node) {
        EXPECT_TRUE(node.IsRemoved());  // still intact when the grid lets go of it
        forgotten.push_back(&node);
    };
    // a removes c before c's turn; b removes itself. Both go after the pass.
    a->onUpdate = [c](CFSScene&) { c->Remove(); };
    b->onUpdate = [b](CFSScene&) { b->Remove(); };
    scene.Update(FSFrame{1234});
    EXPECT_EQ(log, (std::vector<std::string>{"hook 1234", "update a", "update b", "delete b", "delete c"}));
    EXPECT_EQ(forgotten, (std::vector<MFSSceneNode*>{b, c}));
    ASSERT_EQ(scene.Nodes().size(), 1u);
    EXPECT_EQ(scene.Nodes()[0].get(), a);
    EXPECT_EQ(a->lastTime, 1234u);
}

TEST_F(SceneTest, DeletingARootAlsoDeletesTheDependentsItRemoves) {
    // The propeller stands before its aircraft in the list and removes itself only when
    // the aircraft is deleted, so only a fresh search after that deletion finds it.
    TestNode* propeller = AddAt("propeller", 0, 0, -5);
    TestNode* aircraft = AddAt("aircraft", 0, 0, -5);
    propeller->removeWhenOwnerDeleted = true;
    aircraft->AddDependent(propeller);
    aircraft->onUpdate = [aircraft](CFSScene&) { aircraft->Remove(); };
    scene.Update(FSFrame{});
    EXPECT_TRUE(scene.Nodes().empty());
    EXPECT_EQ(log, (std::vector<std::string>{"update propeller", "update aircraft", "delete aircraft",
                                             "delete propeller"}));
}

TEST_F(SceneTest, ReplaceNodeSwapsANodeInPlace) {
    EXPECT_EQ(scene.AddNode(nullptr), nullptr);
    TestNode* a = AddAt("a", 0, 0, -5);
    TestNode* b = AddAt("b", 0, 0, -5);
    std::unique_ptr<MFSSceneNode> swap = std::make_unique<TestNode>("new", &log);
    MFSSceneNode* fresh = swap.get();
    ASSERT_TRUE(scene.ReplaceNode(a, swap));
    EXPECT_EQ(swap.get(), a);  // handed back to the caller
    EXPECT_EQ(scene.Nodes()[0].get(), fresh);
    EXPECT_EQ(scene.Nodes()[1].get(), b);
    TestNode outside;
    EXPECT_FALSE(scene.ReplaceNode(&outside, swap));
    EXPECT_EQ(swap.get(), a);
}

TEST_F(SceneTest, NodesAddedDuringTheUpdateRunInTheSamePassAndClearDeletesEveryNode) {
    TestNode* spawner = AddAt("spawner", 0, 0, -5);
    spawner->onUpdate = [this](CFSScene& s) {
        if (s.Nodes().size() == 1) s.Add(std::make_unique<TestNode>("child", &log));
    };
    scene.Update(FSFrame{});
    ASSERT_EQ(scene.Nodes().size(), 2u);
    FSBox renewedOver;
    scene.hooks.resetCollisions = [&](const FSBox& box) { renewedOver = box; };
    scene.Clear();
    EXPECT_TRUE(scene.Nodes().empty());
    EXPECT_EQ(log,
              (std::vector<std::string>{"update spawner", "update child", "delete spawner", "delete child"}));
    // The collision detector is renewed over the standard world box.
    EXPECT_EQ(renewedOver, FSBox::FromCorners({F(-30), 0, F(-30)}, {F(30), F(90), F(30)}));
}

TEST_F(SceneTest, CullsByDistanceAndFrustumButNeverThePlayer) {
    TestNode* ahead = AddAt("ahead", 0, 1, -5);
    TestNode* far = AddAt("far", 0, 1, -30.5);    // inside the frustum, beyond 30
    TestNode* behind = AddAt("behind", 0, 1, 3);  // no model: behind the near plane
    TestNode* big = AddAt("big", 0, 1, 3);        // a model big enough to reach the view
    big->model = FSBox::FromCorners({F(-4), F(-4), F(-4)}, {F(4), F(4), F(4)});
    TestNode* left = AddAt("left", -20, 1, -5);  // far outside the left plane
    EXPECT_EQ(Draw(), 3);
    EXPECT_EQ(ahead->draws, 1);
    EXPECT_EQ(big->draws, 1);
    EXPECT_EQ(far->draws + behind->draws + left->draws, 0);
    // The player's node is drawn wherever it is.
    EXPECT_EQ(Draw(true, far), 2);
    EXPECT_EQ(far->draws, 1);
    // So is a node that carries both a moveable object and a property.
    behind->SetMoveableObject(std::make_unique<Tag>());
    EXPECT_EQ(Draw(), 3);
    EXPECT_EQ(behind->draws, 0);
    behind->SetProperty(std::make_unique<Tag>());
    EXPECT_EQ(Draw(), 2);
    EXPECT_EQ(behind->draws, 1);
    // Culling off: everything that is not removed.
    left->Remove();
    EXPECT_EQ(Draw(false), 0);
    EXPECT_EQ(far->draws, 2);
    EXPECT_EQ(left->draws, 0);
}

TEST_F(SceneTest, NodesCulledByTerrainTileAskTheTerrain) {
    TestNode* building = AddAt("building", 0, 1, -5);
    building->SetCullFlags(kCullByTerrainTile);
    building->SetTerrainTile({4, 9});
    TestNode* hidden = AddAt("hidden", 0, 1, 20);  // behind the camera but on a visible tile
    hidden->SetCullFlags(kCullByTerrainTile);
    hidden->SetTerrainTile({5, 5});
    // Without a terrain the frustum decides.
    EXPECT_EQ(Draw(), 1);
    EXPECT_EQ(building->draws, 1);

    std::vector<FSTile> asked;
    scene.hooks.isTileVisible = [&](const FSTile& tile) {
        asked.push_back(tile);
        return tile == FSTile{5, 5};
    };
    EXPECT_EQ(Draw(), 1);
    EXPECT_EQ(building->draws, 1);
    EXPECT_EQ(hidden->draws, 1);
    EXPECT_EQ(asked, (std::vector<FSTile>{{4, 9}, {5, 5}}));
}

TEST_F(SceneTest, CullingSeesAcrossTheWorldSeam) {
    // Camera at x = −29 in column 0 looking along −x; the node lies 6 km ahead in column 3.
    scene.Camera().SetCell({0, 1});
    scene.Camera().LookAt({F(-29), F(1), 0}, {F(-39), F(1), 0}, {0, kFixedOne, 0}, 0);
    TestNode* node = AddAt("across", 25, 1, 0, {3, 1});
    TestNode* wrongWay = AddAt("wrong way", -23, 1, 0, {0, 1});
    EXPECT_EQ(Draw(), 1);
    EXPECT_EQ(node->draws, 1);
    EXPECT_EQ(wrongWay->draws, 0);
}

TEST_F(SceneTest, AStandInTakesTheFrustumTestForItsNode) {
    TestNode* owner = AddAt("owner", 0, 1, -5);
    TestNode* smoke = AddAt("smoke", 0, 1, 25);  // its own position is behind the camera
    smoke->SetCullingStandIn(owner);
    EXPECT_EQ(Draw(), 0);
    EXPECT_EQ(smoke->draws, 1);
    owner->Remove();  // the stand-in is dropped with its removal
    EXPECT_EQ(Draw(), 1);
    EXPECT_EQ(smoke->draws, 1);
}

TEST_F(SceneTest, DrawTreeDrawsChildrenInsideTheParentsMatrix) {
    TestNode* parent = AddAt("parent", 0, 1, -5);
    parent->AddChild(std::make_unique<TestNode>("child", &log));
    GLint depthBefore = 0, depthDuring = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    log.clear();
    Draw();
    EXPECT_EQ(log, (std::vector<std::string>{"draw parent", "draw child"}));
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthDuring);
    EXPECT_EQ(depthDuring, depthBefore);  // every push popped
}

}  // namespace
