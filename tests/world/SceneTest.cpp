// Scene nodes (position, orientation, attachments, dependents, boxes) and the scene that
// updates, deletes, culls and draws them.
#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/FSGLSurface.h"
#include "world/FSDamageable.h"
#include "world/FSScene.h"
#include "world/WorldTestNodes.h"

using world_test::Box;
using world_test::Cube;
using world_test::F;
using world_test::TestNode;
using Log = std::vector<std::string>;

namespace {

// An attachment that counts its deletion in *deaths (when given).
class Marker : public MFSProperty, public MFSNodeController {
public:
    explicit Marker(int* deaths = nullptr) : deaths_(deaths) {}
    ~Marker() override {
        if (deaths_) ++*deaths_;
    }
    void OnNotify(MFSSceneNode&) override { ++notified; }
    int notified = 0;

private:
    int* deaths_;
};
class Tag : public MFSProperty {};

TEST(SceneNode, MoveKeepsThePreviousPositionWrapsIntoTheCellAndTurnsKeepTheAxesInStep) {
    TestNode node;
    EXPECT_EQ(node.GetTerrainTile(), (FSTile{-1, -1}));
    node.SetCell({3, 2});
    node.Place({F(10), F(1), F(-5)});
    node.Move({F(30.0), F(2), F(-5)});
    EXPECT_TRUE(node.GetCell() == (FSCell{0, 2}) && node.GetPosition().x == F(-30.0));
    EXPECT_TRUE(node.GetPreviousCell() == (FSCell{3, 2}) && node.GetPreviousPosition().x == F(10));
    node.Move({F(-30.0), 0, 0});  // exactly −30 stays in column 0
    node.Place({F(-31), 0, 0});   // wraps without touching the previous position
    EXPECT_TRUE(node.GetCell() == (FSCell{3, 2}) && node.GetPreviousCell() == (FSCell{0, 2}));
    node.SetPosition({F(45), 0, 0});  // neither wraps nor saves
    node.SavePosition();
    EXPECT_TRUE(node.GetCell() == (FSCell{3, 2}) && node.GetPreviousPosition().x == F(45));
    // A quarter turn about the body x axis: the nose (y) goes to world +z, up (z) to −y;
    // a second turn applies in the body frame: about the nose it leaves the nose alone.
    node.Rotate(FSVector(1, 0, 0), 3.14159265f / 2);
    EXPECT_NEAR(node.GetAxisZ().y, -kFixedOne, 2);
    node.Rotate(FSVector(0, 1, 0), 0.7f);
    EXPECT_NEAR(node.GetAxisY().z, kFixedOne, 4);
    node.LookAlong(FSVector(0, 0, -1), FSVector(0, 1, 0));
    EXPECT_TRUE(std::abs(node.GetAxisY().z + kFixedOne) <= 2 && std::abs(node.GetAxisZ().y - kFixedOne) <= 2);
    const FSQuaternion before = node.GetOrientation();
    node.SaveOrientation();
    node.SetOrientation(FSQuaternion::Identity());
    EXPECT_EQ(node.GetPreviousOrientation(), before);
    EXPECT_EQ(node.GetAxisY(), (FSFixedVector{0, kFixedOne, 0}));
}

TEST(SceneNode, OwnsItsAttachmentsAndChildrenAndDeletesThemAfterItself) {
    Log log;
    int deaths = 0;
    {
        TestNode node("parent", &log);
        node.SetMoveableObject(std::make_unique<Marker>(&deaths));
        node.SetSecondAttachment(std::make_unique<Marker>(&deaths));
        node.SetProperty(std::make_unique<Tag>());
        EXPECT_TRUE(node.GetMoveableAs<Marker>() && !node.GetMoveableAs<Tag>() && node.GetPropertyAs<Tag>());
        node.Notify();  // no controller: nothing
        auto controller = std::make_unique<Marker>(&deaths);
        Marker* notified = controller.get();
        node.SetController(std::move(controller));
        node.Notify();
        EXPECT_EQ(notified->notified, 1);
        node.SetMoveableObject(std::make_unique<Marker>(&deaths));  // replaces and deletes the old one
        EXPECT_EQ(deaths, 1);
        node.AddChild(std::make_unique<TestNode>("a", &log));
        node.AddChild(std::make_unique<TestNode>("b", &log));
        EXPECT_EQ(node.AddChild(nullptr), nullptr);
    }
    EXPECT_EQ(deaths, 4);
    // The test node logs in its own destructor, before the base deletes the children.
    EXPECT_EQ(log, (Log{"delete parent", "delete a", "delete b"}));
}

TEST(SceneNode, RemovalTellsDependentsNowAndAgainOnDeletionAndLinksDieWithEitherSide) {
    auto owner = std::make_unique<TestNode>("owner");
    TestNode propeller, probe;
    propeller.removeWithOwner = true;
    probe.removeWhenOwnerDeleted = true;
    owner->AddDependent(&propeller);
    owner->AddDependent(&propeller);  // once is enough
    owner->AddDependent(&probe);
    EXPECT_EQ(owner->Dependents().size(), 2u);
    owner->Remove();
    EXPECT_TRUE(owner->IsRemoved() && propeller.IsRemoved() && !probe.IsRemoved());
    EXPECT_EQ(propeller.ownerCalls, (std::vector<MFSSceneNode*>{owner.get()}));
    owner.reset();
    EXPECT_TRUE(propeller.ownerCalls.size() == 2u && probe.IsRemoved());
    // A dependent deleted before its owner is never called again; a node outliving its
    // culling stand-in forgets it at the stand-in's removal.
    TestNode second, follower;
    auto dependent = std::make_unique<TestNode>();
    second.AddDependent(dependent.get());
    dependent.reset();
    EXPECT_TRUE(second.Dependents().empty());
    follower.SetCullingStandIn(&second);
    second.Remove();
    EXPECT_TRUE(follower.GetCullingStandIn() == nullptr && follower.ownerCalls.size() == 1u);
}

TEST(SceneNode, BoxesFollowTheLastMoveAndIntersectWithinTheSmallMargin) {
    TestNode node, other;
    EXPECT_TRUE(node.GetSweptBox().IsEmpty() && node.IsInside(FSBox::Empty()));  // no model: always inside
    node.FitToSize({F(2), F(2), F(2)});                                          // and nothing to fit
    EXPECT_FALSE(node.scaled.has_value() || node.Intersects(other));
    node.model = Box(-1, -0.5, -2, 1, 0.5, 2);
    node.Place({F(5), F(1), 0});
    node.SavePosition();
    const FSBox first = Box(4, 0.5, -2, 6, 1.5, 2);
    EXPECT_EQ(node.GetWorldBox(), first);
    node.Move({F(8), F(1), 0});
    node.SetOrientation(FromAxisAngle(FSVector(0, 1, 0), 3.14159265f / 2));
    EXPECT_NEAR(node.GetWorldBox().max.z, F(1), 8);
    EXPECT_EQ(node.GetPreviousWorldBox(), first);
    EXPECT_EQ(node.GetSweptBox().min.x, F(4));
    EXPECT_NEAR(node.GetSweptBox().max.x, F(10), 8);
    node.Move({F(31), F(1), 0});  // across a cell border the previous box is not united
    EXPECT_EQ(node.GetSweptBox(), node.GetWorldBox());
    EXPECT_FALSE(node.IsInside(Box(-30, 0, -30, 30, 90, 30)));  // at −29, reaching past −30
    // Cubes of side 2: 0.0005 apart they meet (each grown by 66 / 65536), 0.003 apart
    // not, and one that passed through in its last move does.
    node.SetOrientation(FSQuaternion::Identity());
    node.model = other.model = Cube(1);
    node.Place({0, F(5), 0});
    node.SavePosition();
    for (const auto& [x, meet] : {std::pair{2.0005, true}, {2.003, false}}) {
        other.Place({F(x), F(5), 0});
        other.SavePosition();
        EXPECT_TRUE(node.Intersects(other) == meet && other.Intersects(node) == meet) << x;
    }
    other.Move({F(-2.003), F(5), 0});
    EXPECT_TRUE(node.Intersects(other) && !node.CheckHit(other));
    // FitToSize scales by size / extent; a flat axis keeps 1.0.
    node.model = Box(-1, 0, -0.5, 1, 0, 0.5);
    node.FitToSize({F(4), F(3), F(0.5)});
    EXPECT_EQ(*node.scaled, (FSFixedVector{F(2), kFixedOne, F(0.5)}));
}

// Hits up to the threshold are free, bigger ones wear the health down for good (10 − 4.5
// − 5 − 4.01 < 0), and once destroyed every hit above the threshold is fatal again.
TEST(Damageable, HitsAddUpUntilOneIsFatal) {
    MFSDamageable damage(4.0f, 10.0f, 10.0f, 1000.0f);
    for (const auto& [impact, result] : {std::pair{4.0f, 0.0f},
                                         {-50.0f, 0.0f},
                                         {NAN, 0.0f},
                                         {4.5f, 0.0f},
                                         {5.0f, 0.0f},
                                         {0.5f, 0.0f},
                                         {4.01f, 1000.0f},
                                         {5.0f, 1000.0f}})
        EXPECT_EQ(damage.Hit(impact), result) << impact;
    EXPECT_TRUE(damage.IsDestroyed());
    TestNode node;
    EXPECT_EQ(DamageOf(node), nullptr);
    node.SetSecondAttachment(std::make_unique<MFSDamageable>(100.0f, 1e5f, 1e5f, 1000.0f));
    EXPECT_EQ(DamageOf(node)->threshold, 100.0f);
}

// Scene draws issue GL calls, so these tests run with a small real context. The camera
// stands at (0, 1, 0) in cell (1, 1), looking along −z, with the game's culling frustum.
class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(CFSGLSurface::Probe(why)) << why;
        ASSERT_TRUE(surface_.Create(64, 64));
        scene.Camera().SetCell({1, 1});
        scene.Camera().LookAt({0, F(1), 0}, {0, F(1), F(-10)}, {0, kFixedOne, 0}, 0);
        scene.Camera().SetPerspectiveMatrix(60.0f, 0.75f, 0.001f, 40.0f);
    }
    TestNode* AddAt(const std::string& name, double x, double y, double z) {
        auto node = std::make_unique<TestNode>(name, &log);
        node->SetCell({1, 1});
        node->Place({F(x), F(y), F(z)});
        return scene.Add(std::move(node));
    }
    int Draw(bool culling = true, const MFSSceneNode* player = nullptr) {
        int32_t culled = -1;
        scene.Draw(culling, player, culled);
        return culled;
    }

    CFSGLSurface surface_;
    Log log;  // before the scene: its nodes log their deletion
    CFSScene scene;
};

TEST_F(SceneTest, UpdateRunsTheHookThenTheTreesThenDeletesRemovedNodes) {
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
    // a removes c before c's turn and adds a node, which runs in the same pass; b removes
    // itself. A child removed in its own update goes at once, and the next one still runs.
    a->onUpdate = [&, c](CFSScene& s) {
        c->Remove();
        if (s.Nodes().size() == 3) s.Add(std::make_unique<TestNode>("new", &log));
    };
    b->onUpdate = [b](CFSScene&) { b->Remove(); };
    auto* doomed = static_cast<TestNode*>(a->AddChild(std::make_unique<TestNode>("a1", &log)));
    a->AddChild(std::make_unique<TestNode>("a2", &log));
    doomed->onUpdate = [doomed](CFSScene&) { doomed->Remove(); };
    scene.Update(FSFrame{1234});
    EXPECT_EQ(log, (Log{"hook 1234", "update a", "update a1", "delete a1", "update a2", "update b",
                        "update new", "delete b", "delete c"}));
    EXPECT_EQ(forgotten, (std::vector<MFSSceneNode*>{b, c}));
    EXPECT_EQ(scene.Nodes().size(), 2u);
    // Clear deletes every node and renews the collision detector over the world box.
    FSBox renewedOver;
    scene.hooks.resetCollisions = [&](const FSBox& box) { renewedOver = box; };
    scene.Clear();
    EXPECT_TRUE(scene.Nodes().empty());
    EXPECT_EQ(renewedOver, Box(-30, 0, -30, 30, 90, 30));
}

TEST_F(SceneTest, DeletingARootAlsoDeletesTheDependentsItRemovesAndReplaceSwapsInPlace) {
    // The propeller stands before its aircraft and removes itself only when the aircraft
    // is deleted, so only a fresh search after that deletion finds it.
    TestNode* propeller = AddAt("propeller", 0, 0, -5);
    TestNode* aircraft = AddAt("aircraft", 0, 0, -5);
    propeller->removeWhenOwnerDeleted = true;
    aircraft->AddDependent(propeller);
    aircraft->Remove();
    scene.Update(FSFrame{});
    EXPECT_TRUE(scene.Nodes().empty());
    EXPECT_EQ(log, (Log{"update propeller", "delete aircraft", "delete propeller"}));
    EXPECT_EQ(scene.AddNode(nullptr), nullptr);
    TestNode* a = AddAt("a", 0, 0, -5);
    std::unique_ptr<MFSSceneNode> swap = std::make_unique<TestNode>("new", &log);
    MFSSceneNode* fresh = swap.get();
    ASSERT_TRUE(scene.ReplaceNode(a, swap));
    EXPECT_TRUE(swap.get() == a && scene.Nodes()[0].get() == fresh);  // the old one handed back
    TestNode outside;
    EXPECT_FALSE(scene.ReplaceNode(&outside, swap));
}

TEST_F(SceneTest, CullsByDistanceFrustumTileAndStandInButNeverThePlayerAndDrawsChildrenInside) {
    TestNode* ahead = AddAt("ahead", 0, 1, -5);
    TestNode* far = AddAt("far", 0, 1, -30.5);    // inside the frustum, beyond 30
    TestNode* behind = AddAt("behind", 0, 1, 3);  // no model: behind the near plane
    TestNode* big = AddAt("big", 0, 1, 3);        // a model big enough to reach the view
    big->model = Cube(4);
    TestNode* left = AddAt("left", -20, 1, -5);
    ahead->AddChild(std::make_unique<TestNode>("child", &log));
    GLint depthBefore = 0, depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    EXPECT_EQ(Draw(), 3);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);  // every push popped
    EXPECT_EQ(log, (Log{"draw ahead", "draw child", "draw big"}));
    EXPECT_EQ(Draw(true, far), 2);  // the player's node is drawn wherever it is
    behind->SetMoveableObject(std::make_unique<Tag>());
    EXPECT_EQ(Draw(), 3);  // a moveable object alone is not enough
    behind->SetProperty(std::make_unique<Tag>());
    EXPECT_EQ(Draw(), 2);  // with a property too it is always drawn
    left->Remove();
    EXPECT_EQ(Draw(false), 0);  // culling off: everything not removed
    EXPECT_TRUE(far->draws == 2 && behind->draws == 2 && left->draws == 0);
    scene.Clear();
    // A stand-in takes the frustum test until it is removed; nodes culled by terrain tile
    // ask the terrain, and without one the frustum decides.
    TestNode* owner = AddAt("owner", 0, 1, -5);
    AddAt("smoke", 0, 1, 25)->SetCullingStandIn(owner);
    EXPECT_EQ(Draw(), 0);
    owner->Remove();
    EXPECT_EQ(Draw(), 1);
    scene.Clear();
    TestNode* building = AddAt("building", 0, 1, -5);
    TestNode* hidden = AddAt("hidden", 0, 1, 20);
    for (auto [node, tile] : {std::pair{building, FSTile{4, 9}}, {hidden, FSTile{5, 5}}}) {
        node->SetCullFlags(kCullByTerrainTile);
        node->SetTerrainTile(tile);
    }
    EXPECT_EQ(Draw(), 1);
    std::vector<FSTile> asked;
    scene.hooks.isTileVisible = [&](const FSTile& tile) {
        asked.push_back(tile);
        return tile == FSTile{5, 5};
    };
    EXPECT_EQ(Draw(), 1);
    EXPECT_EQ(hidden->draws, 1);
    EXPECT_EQ(asked, (std::vector<FSTile>{{4, 9}, {5, 5}}));
}

}  // namespace
