#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "world/FSDamageable.h"
#include "world/FSScene.h"
#include "world/WorldTestNodes.h"

using world_test::F;
using world_test::TestNode;

namespace {

class Marker : public MFSProperty {
public:
    explicit Marker(int* deaths) : deaths_(deaths) {}
    ~Marker() override { ++*deaths_; }

private:
    int* deaths_;
};
class OtherMarker : public MFSProperty {};

class CountingController : public MFSNodeController {
public:
    explicit CountingController(int* calls, int* deaths) : calls_(calls), deaths_(deaths) {}
    ~CountingController() override { ++*deaths_; }
    void OnNotify(MFSSceneNode&) override { ++*calls_; }

private:
    int* calls_;
    int* deaths_;
};

FSBox Cube(double half) {
    return FSBox::FromCorners({F(-half), F(-half), F(-half)}, {F(half), F(half), F(half)});
}

TEST(SceneNode, StartsUnturnedAndMoveKeepsThePreviousPositionAndWrapsIntoTheCell) {
    TestNode node;
    EXPECT_EQ(node.GetAxisY(), (FSFixedVector{0, kFixedOne, 0}));
    EXPECT_EQ(node.GetAxisZ(), (FSFixedVector{0, 0, kFixedOne}));
    EXPECT_EQ(node.GetTerrainTile(), (FSTile{-1, -1}));
    node.SetCell({3, 2});
    node.Place({F(10), F(1), F(-5)});
    node.Move({F(30.0), F(2), F(-5)});
    EXPECT_EQ(node.GetCell(), (FSCell{0, 2}));
    EXPECT_EQ(node.GetPosition().x, F(-30.0));
    EXPECT_EQ(node.GetPreviousPosition(), (FSFixedVector{F(10), F(1), F(-5)}));
    EXPECT_EQ(node.GetPreviousCell(), (FSCell{3, 2}));

    node.Move({F(-30.0), 0, 0});  // exactly −30 stays in column 0
    EXPECT_EQ(node.GetCell(), (FSCell{0, 2}));
    EXPECT_EQ(node.GetPosition().x, F(-30.0));
    // Place wraps without touching the previous position; SetPosition does neither.
    node.Place({F(-31), 0, 0});
    EXPECT_EQ(node.GetCell(), (FSCell{3, 2}));
    EXPECT_EQ(node.GetPreviousCell(), (FSCell{0, 2}));
    node.SetPosition({F(45), 0, 0});
    EXPECT_EQ(node.GetPosition().x, F(45));
    EXPECT_EQ(node.GetCell(), (FSCell{3, 2}));
    node.SavePosition();
    EXPECT_EQ(node.GetPreviousPosition().x, F(45));
}

TEST(SceneNode, OrientationKeepsTheTwoAxesInStep) {
    TestNode node;
    // A quarter turn about the body x axis: the nose (y) goes to world +z, up (z) to −y.
    node.Rotate(FSVector(1, 0, 0), 3.14159265f / 2);
    EXPECT_NEAR(node.GetAxisY().z, kFixedOne, 2);
    EXPECT_NEAR(node.GetAxisY().y, 0, 2);
    EXPECT_NEAR(node.GetAxisZ().y, -kFixedOne, 2);
    // A second rotation applies in the body frame (first the rotation, then the old
    // orientation): turning about body y (the nose) now leaves the nose where it is.
    node.Rotate(FSVector(0, 1, 0), 0.7f);
    EXPECT_NEAR(node.GetAxisY().z, kFixedOne, 4);

    node.LookAlong(FSVector(1, 0, 0));
    EXPECT_NEAR(node.GetAxisY().x, kFixedOne, 2);
    node.LookAlong(FSVector(0, 0, -1), FSVector(0, 1, 0));
    EXPECT_NEAR(node.GetAxisY().z, -kFixedOne, 2);
    EXPECT_NEAR(node.GetAxisZ().y, kFixedOne, 2);

    const FSQuaternion before = node.GetOrientation();
    node.SaveOrientation();
    node.SetOrientation(FSQuaternion::Identity());
    EXPECT_EQ(node.GetPreviousOrientation(), before);
    EXPECT_EQ(node.GetAxisY(), (FSFixedVector{0, kFixedOne, 0}));
}

TEST(SceneNode, OwnsItsAttachmentsAndChildrenAndDeletesThemAfterItself) {
    std::vector<std::string> log;
    int deaths = 0, calls = 0, controllerDeaths = 0;
    {
        TestNode node("parent", &log);
        node.SetMoveableObject(std::make_unique<Marker>(&deaths));
        node.SetSecondAttachment(std::make_unique<Marker>(&deaths));
        node.SetProperty(std::make_unique<OtherMarker>());
        EXPECT_NE(node.GetMoveableAs<Marker>(), nullptr);
        EXPECT_EQ(node.GetMoveableAs<OtherMarker>(), nullptr);
        EXPECT_NE(node.GetPropertyAs<OtherMarker>(), nullptr);
        node.Notify();  // no controller: nothing
        node.SetController(std::make_unique<CountingController>(&calls, &controllerDeaths));
        node.Notify();
        node.Notify();
        EXPECT_EQ(calls, 2);
        node.SetMoveableObject(std::make_unique<Marker>(&deaths));  // replaces and deletes the old one
        EXPECT_EQ(deaths, 1);
        node.AddChild(std::make_unique<TestNode>("a", &log));
        node.AddChild(std::make_unique<TestNode>("b", &log));
        EXPECT_EQ(node.Children().size(), 2u);
        EXPECT_EQ(node.AddChild(nullptr), nullptr);
    }
    EXPECT_EQ(deaths, 3);
    EXPECT_EQ(controllerDeaths, 1);
    // The test node logs in its own destructor, which runs before the base deletes the
    // children, first to last.
    EXPECT_EQ(log, (std::vector<std::string>{"delete parent", "delete a", "delete b"}));
}

TEST(SceneNode, RemovalTellsDependentsNowAndAgainOnDeletion) {
    auto owner = std::make_unique<TestNode>("owner");
    TestNode propeller("propeller");
    propeller.removeWithOwner = true;
    owner->AddDependent(&propeller);
    owner->AddDependent(&propeller);  // once is enough
    EXPECT_EQ(owner->Dependents().size(), 1u);

    owner->Remove();
    EXPECT_TRUE(owner->IsRemoved());
    ASSERT_EQ(propeller.ownerCalls.size(), 1u);
    EXPECT_EQ(propeller.ownerCalls[0], owner.get());
    EXPECT_TRUE(propeller.IsRemoved());

    bool sawDeletion = false;
    struct Probe : TestNode {
        bool* saw;
        explicit Probe(bool* s) : saw(s) {}
        void OnOwnerRemoved(MFSSceneNode& o) override { *saw = o.IsBeingDeleted(); }
    } probe(&sawDeletion);
    owner->AddDependent(&probe);
    owner.reset();
    EXPECT_EQ(propeller.ownerCalls.size(), 2u);
    EXPECT_TRUE(sawDeletion);
    // A dependent deleted before its owner is never called again.
    TestNode second("second");
    auto dependent = std::make_unique<TestNode>("dependent");
    second.AddDependent(dependent.get());
    dependent.reset();
    EXPECT_TRUE(second.Dependents().empty());
    second.Remove();  // would touch freed memory if the link were kept
    // The other way round: a dependent outliving its owner forgets it.
    auto first = std::make_unique<TestNode>("first");
    TestNode follower("follower");
    first->AddDependent(&follower);
    follower.SetCullingStandIn(first.get());
    first->Remove();
    EXPECT_EQ(follower.GetCullingStandIn(), nullptr);
    first.reset();
    EXPECT_EQ(follower.ownerCalls.size(), 2u);
}

TEST(SceneNode, AChildRemovedInItsOwnUpdateGoesAtOnceAndTheNextStillUpdates) {
    std::vector<std::string> log;
    CFSScene scene;
    TestNode parent("parent", &log);
    parent.AddChild(std::make_unique<TestNode>("a", &log));
    auto* b = static_cast<TestNode*>(parent.AddChild(std::make_unique<TestNode>("b", &log)));
    parent.AddChild(std::make_unique<TestNode>("c", &log));
    b->onUpdate = [b](CFSScene&) { b->Remove(); };
    parent.UpdateTree(scene, FSFrame{42});
    EXPECT_EQ(log,
              (std::vector<std::string>{"update parent", "update a", "update b", "delete b", "update c"}));
    EXPECT_EQ(parent.Children().size(), 2u);
}

TEST(SceneNode, BoxesFollowOrientationPositionAndTheLastMove) {
    TestNode node;
    EXPECT_TRUE(node.GetWorldBox().IsEmpty());
    EXPECT_TRUE(node.GetSweptBox().IsEmpty());
    EXPECT_TRUE(node.IsInside(FSBox::Empty()));  // without a model always inside

    node.model = FSBox::FromCorners({F(-1), F(-0.5), F(-2)}, {F(1), F(0.5), F(2)});
    node.Place({F(5), F(1), 0});
    node.SavePosition();
    const FSBox first = FSBox::FromCorners({F(4), F(0.5), F(-2)}, {F(6), F(1.5), F(2)});
    EXPECT_EQ(node.GetWorldBox(), first);
    node.Move({F(8), F(1), 0});
    node.SetOrientation(FromAxisAngle(FSVector(0, 1, 0), 3.14159265f / 2));
    const FSBox world = node.GetWorldBox();
    EXPECT_NEAR(world.min.x, F(6), 8);
    EXPECT_NEAR(world.max.x, F(10), 8);
    EXPECT_NEAR(world.max.z, F(1), 8);
    EXPECT_EQ(node.GetPreviousWorldBox(), first);
    const FSBox swept = node.GetSweptBox();
    EXPECT_EQ(swept.min.x, F(4));
    EXPECT_NEAR(swept.max.x, F(10), 8);
    EXPECT_EQ(swept.max.z, F(2));
    // Across a cell border the previous box is not united (other coordinates).
    node.Move({F(31), F(1), 0});
    EXPECT_EQ(node.GetSweptBox(), node.GetWorldBox());

    const FSBox cell = FSBox::FromCorners({F(-30), 0, F(-30)}, {F(30), F(90), F(30)});
    node.Place({0, F(1), 0});
    EXPECT_TRUE(node.IsInside(cell));
    node.Place({F(29.5), F(1), 0});
    EXPECT_FALSE(node.IsInside(cell));
}

TEST(SceneNode, IntersectionAllowsTheSmallMarginAndNeedsBothModels) {
    TestNode a, b;
    EXPECT_FALSE(a.Intersects(b));
    a.model = Cube(1);
    EXPECT_FALSE(a.Intersects(b));
    b.model = a.model;
    a.Place({0, F(5), 0});
    a.SavePosition();
    // 0.0005 units between the faces: within the 2 × 66/65536 margin.
    b.Place({F(2.0005), F(5), 0});
    b.SavePosition();
    EXPECT_TRUE(a.Intersects(b));
    EXPECT_TRUE(b.Intersects(a));
    // 0.003 apart: no contact.
    b.Place({F(2.003), F(5), 0});
    b.SavePosition();
    EXPECT_FALSE(a.Intersects(b));
    // The swept box catches a node that passed through during its last move.
    b.Move({F(-2.003), F(5), 0});
    EXPECT_TRUE(a.Intersects(b));
    EXPECT_FALSE(a.CheckHit(b));
}

TEST(SceneNode, FitToSizeScalesTheModelAndIgnoresNodesWithoutOne) {
    TestNode bare;
    bare.FitToSize({F(2), F(2), F(2)});
    EXPECT_FALSE(bare.scaled.has_value());

    TestNode node;
    node.model = FSBox::FromCorners({F(-1), 0, F(-0.5)}, {F(1), 0, F(0.5)});  // flat in y
    node.FitToSize({F(4), F(3), F(0.5)});
    ASSERT_TRUE(node.scaled.has_value());
    EXPECT_EQ(*node.scaled, (FSFixedVector{F(2), kFixedOne, F(0.5)}));
    EXPECT_EQ(node.GetModel()->Extent(), (FSFixedVector{F(4), 0, F(0.5)}));
}

// Hits below the threshold are free, bigger ones wear the health down for good, and the
// hit that ends it returns the fatal value.
TEST(Damageable, HitsAddUpUntilOneIsFatal) {
    MFSDamageable damage(4.0f, 10.0f, 10.0f, 1000.0f);
    EXPECT_EQ(damage.Hit(4.0f), 0.0f);  // up to the threshold: harmless
    EXPECT_EQ(damage.Hit(-50.0f), 0.0f);
    EXPECT_EQ(damage.Hit(std::numeric_limits<float>::quiet_NaN()), 0.0f);
    EXPECT_EQ(damage.health, 10.0f);
    EXPECT_EQ(damage.Hit(4.5f), 0.0f);
    EXPECT_EQ(damage.health, 5.5f);
    EXPECT_EQ(damage.Hit(5.0f), 0.0f);
    EXPECT_EQ(damage.health, 0.5f);
    EXPECT_FALSE(damage.IsDestroyed());
    EXPECT_EQ(damage.Hit(0.5f), 0.0f);  // below the threshold, even now
    EXPECT_EQ(damage.Hit(4.01f), 1000.0f);
    EXPECT_TRUE(damage.IsDestroyed());
    // Once destroyed, every hit above the threshold is fatal again.
    EXPECT_EQ(damage.Hit(5.0f), 1000.0f);
    EXPECT_EQ(damage.maxHealth, 10.0f);
    EXPECT_EQ(MFSDamageable(4.0f, 10.0f, 10.0f, 1000.0f).Hit(std::numeric_limits<float>::infinity()),
              1000.0f);
    // It is the node's second attachment.
    TestNode node;
    EXPECT_EQ(DamageOf(node), nullptr);
    auto owned = std::make_unique<MFSDamageable>(100.0f, 100000.0f, 100000.0f, 1000.0f);
    MFSDamageable* attached = owned.get();
    node.SetSecondAttachment(std::move(owned));
    EXPECT_EQ(DamageOf(node), attached);
}

}  // namespace
