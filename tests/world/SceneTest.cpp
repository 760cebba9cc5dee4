// Scene nodes (position, orientation, attachments, dependents, boxes), the scene that
// updates, deletes, culls and draws them, and the collision grid: where nodes are filed,
// which pairs and ground contacts a pass tests, and handlers that change it while it runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "world/FSDamageable.h"
#include "world/FSGridCollisionDetector.h"
#include "world/PictureTestSupport.h"

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
    // A quarter turn about the body x axis: the nose (y) goes to world +z, up (z) to −y;
    // a second turn applies in the body frame: about the nose it leaves the nose alone.
    node.Rotate(FSVector(1, 0, 0), 3.14159265f / 2);
    EXPECT_NEAR(node.GetAxisZ().y, -kFixedOne, 2);
    node.Rotate(FSVector(0, 1, 0), 0.7f);
    EXPECT_NEAR(node.GetAxisY().z, kFixedOne, 4);
    const FSQuaternion before = node.GetOrientation();
    node.SaveOrientation();
    node.SetOrientation(FSQuaternion::Identity());
    EXPECT_TRUE(node.GetPreviousOrientation() == before &&
                node.GetAxisY() == (FSFixedVector{0, kFixedOne, 0}));
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
    // The swept box unites the box before the last move (at x 5, unturned) with the box
    // after it (at x 8, turned a quarter about y), unless the move crossed a cell border.
    node.model = Box(-1, -0.5, -2, 1, 0.5, 2);
    node.Place({F(5), F(1), 0});
    node.SavePosition();
    node.Move({F(8), F(1), 0});
    node.SetOrientation(FromAxisAngle(FSVector(0, 1, 0), 3.14159265f / 2));
    const FSBox swept = node.GetSweptBox();
    EXPECT_TRUE(swept.min.x == F(4) && std::abs(swept.max.x - F(10)) <= 8 &&
                std::abs(swept.max.z - F(2)) <= 8);
    node.Move({F(31), F(1), 0});
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
    const std::pair<float, float> hits[] = {{4.0f, 0.0f}, {-50.0f, 0.0f}, {NAN, 0.0f},      {4.5f, 0.0f},
                                            {5.0f, 0.0f}, {0.5f, 0.0f},   {4.01f, 1000.0f}, {5.0f, 1000.0f}};
    for (const auto& [impact, result] : hits)
        EXPECT_EQ(damage.Hit(impact), result) << impact;
    EXPECT_TRUE(damage.IsDestroyed());
    TestNode node;
    EXPECT_EQ(DamageOf(node), nullptr);
    node.SetSecondAttachment(std::make_unique<MFSDamageable>(100.0f, 1e5f, 1e5f, 1000.0f));
    EXPECT_EQ(DamageOf(node)->threshold, 100.0f);
}

// The camera stands at (0, 1, 0) in cell (1, 1), looking along −z, with the game's culling
// frustum; scene draws issue GL calls, so a real context is current.
class SceneTest : public world_test::PictureTest {
protected:
    void SetUp() override {
        PictureTest::SetUp();
        Look({0, F(1), 0}, {0, F(1), F(-10)}, {1, 1});
        scene.Camera().SetPerspectiveMatrix(60.0f, 0.75f, 0.001f, 40.0f);
    }
    void TearDown() override {  // while log lives: the nodes log their deletion
        scene.hooks = {};
        scene.Clear();
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

    Log log;
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
    EXPECT_TRUE(forgotten == (std::vector<MFSSceneNode*>{b, c}) && scene.Nodes().size() == 2u);
    // Clear deletes every node and renews the collision detector over the world box.
    FSBox renewedOver;
    scene.hooks.resetCollisions = [&](const FSBox& box) { renewedOver = box; };
    scene.Clear();
    EXPECT_TRUE(scene.Nodes().empty() && renewedOver == Box(-30, 0, -30, 30, 90, 30));
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
    EXPECT_TRUE(scene.Nodes().empty() &&
                log == (Log{"update propeller", "delete aircraft", "delete propeller"}) &&
                scene.AddNode(nullptr) == nullptr);
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
    EXPECT_TRUE(Draw() == 1 && hidden->draws == 1 && asked == (std::vector<FSTile>{{4, 9}, {5, 5}}));
}

using Hit = std::pair<std::string, std::string>;

class CollisionGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.handlers.collision = [this](MFSSceneNode& a, MFSSceneNode& moving) {
            hits.emplace_back(Name(a), Name(moving));
            if (onHit) onHit(a, moving);
        };
        grid.handlers.groundContact = [this](MFSSceneNode& node) { grounded.push_back(Name(node)); };
    }
    // A 0.2 km cube at a local position (unwrapped: the grid must cope with any value),
    // filed in the grid; moving nodes carry a moveable object.
    TestNode* File(const std::string& name, double x, double y, double z, bool moving, FSCell cell = {1, 1}) {
        auto node = std::make_unique<TestNode>(name);
        node->model = Cube(0.1);
        node->SetCell(cell);
        node->SetPosition({F(x), F(y), F(z)});
        node->SavePosition();
        if (moving) node->SetMoveableObject(std::make_unique<Tag>());
        nodes.push_back(std::move(node));
        grid.Insert(nodes.back().get());
        return nodes.back().get();
    }
    std::string Name(const MFSSceneNode& node) const { return static_cast<const TestNode&>(node).Name(); }

    CFSGridCollisionDetector grid{FSBox::FromCorners({-F(30), 0, -F(30)}, {F(30), F(90), F(30)})};
    std::vector<std::unique_ptr<TestNode>> nodes;
    std::vector<Hit> hits;
    Log grounded;
    std::function<void(MFSSceneNode&, MFSSceneNode&)> onHit;
};

TEST_F(CollisionGridTest, FilesANodeInTheSquareOfItsLocalPositionOnly) {
    // Squares are 1.875 km wide, x picks the column; the far edges and beyond lie outside.
    const std::tuple<double, double, int> squares[] = {
        {-30, -30, 0},      {29.99, -30, 31 * 32}, {-30, 29.99, 31}, {0.1, -0.1, 16 * 32 + 15},
        {-28.125, -30, 32}, {30, 0, -1},           {-30.01, 0, -1},  {0, 30, -1},
        {0, -30.01, -1}};
    for (const auto& [x, z, square] : squares)
        EXPECT_EQ(grid.SquareOf({F(x), F(80), F(z)}), square) << x << " " << z;
    EXPECT_EQ(grid.SquareOf({F(-28.125) - 1, 0, -F(30)}), 0);
    EXPECT_EQ(grid.SquareOf({kFixedMax, 0, kFixedMin}), -1);
    // Height and cell play no part; a node outside is not filed, and removing it (or
    // nothing) changes nothing.
    File("edge", 29.99, 1, 0, true);
    File("high", 29.99, 89, 0, true, {3, 3});
    TestNode* beyond = File("beyond", 30.0, 1, 0, true);
    grid.Remove(beyond);
    grid.Insert(nullptr);
    grid.Remove(nullptr);
    EXPECT_TRUE(grid.Square(31 * 32 + 16).size() == 2u && grid.CountOf(beyond) == 0);
}

TEST_F(CollisionGridTest, TestsAndCountsPairsOfASquareInTheSameCellWithAMovingNode) {
    File("building", 5.0, 0.1, 5.0, false);
    File("aircraft", 5.05, 0.1, 5.0, true);
    File("elsewhere", 5.05, 0.1, 5.0, true, {2, 1});  // same local place, another cell
    File("house", 5.1, 0.1, 5.05, false);             // two buildings never meet
    File("far", 12.0, 0.1, 5.0, true);                // another square
    File("still", 12.5, 0.1, 5.0, false);             // 0.5 from "far": tested, no contact
    // The moving node always comes second, whichever was filed first; pairs without a
    // moving node and across cells are no tests; only the last pass counts.
    grid.Detect();
    grid.Detect();
    const std::vector<Hit> pass = {{"building", "aircraft"}, {"house", "aircraft"}};
    EXPECT_TRUE(hits == (std::vector<Hit>{pass[0], pass[1], pass[0], pass[1]}) && grid.GetTestCount() == 3);
}

TEST_F(CollisionGridTest, AMoverMeetsStillNodesJustOverItsSquaresEdge) {
    // 18.75 km is a column's edge: the gate is filed on one side, the aircraft crossing it
    // on the other, and a diagonal neighbour counts too; two movers in neighbouring
    // squares, or a still node two squares off, are no test.
    File("gate", 18.75, 1, 3.9, false);
    File("aircraft", 18.7, 1, 3.8, true);
    File("corner", 18.8, 1, 3.65, false);  // z 3.75 is a row's edge: the diagonal square
    File("drone", 18.8, 1, 3.95, true);
    File("far", 21.6, 1, 3.8, false);
    grid.Detect();
    EXPECT_TRUE(hits == (std::vector<Hit>{{"corner", "aircraft"}, {"gate", "aircraft"}, {"gate", "drone"}}));
}

TEST_F(CollisionGridTest, TheFilterSkipsPairsBeforeAnythingIsTested) {
    File("cloud", 5.0, 1, 5.0, false);
    File("aircraft", 5.0, 1, 5.0, true);
    File("gate", 5.0, 1, 5.0, false);
    std::vector<Hit> asked;
    grid.handlers.mayCollide = [&](MFSSceneNode& a, MFSSceneNode& b) {
        asked.emplace_back(Name(a), Name(b));
        return Name(a) != "cloud" && Name(b) != "cloud";
    };
    grid.Detect();
    EXPECT_EQ(asked, (std::vector<Hit>{{"cloud", "aircraft"}, {"cloud", "gate"}, {"aircraft", "gate"}}));
    EXPECT_TRUE(hits == (std::vector<Hit>{{"gate", "aircraft"}}) && grid.GetTestCount() == 1);
}

TEST_F(CollisionGridTest, GroundTestsGoToMovingNodesAtTwelveUnitsOrLower) {
    File("low", 1, 12.0, 1, true);
    File("high", 3, 12.5, 1, true);
    File("building", 15, 0.0, 1, false);
    File("skimming", 7, 0.05, 1, true);
    grid.Detect();
    EXPECT_EQ(grid.GetTestCount(), 0);  // no ground test: none made
    Log tested;
    grid.handlers.touchesGround = [&](MFSSceneNode& node) {
        tested.push_back(Name(node));
        return Name(node) == "skimming";
    };
    grid.Detect();
    EXPECT_TRUE(tested == (Log{"low", "skimming"}) && grounded == (Log{"skimming"}));
    EXPECT_EQ(grid.GetTestCount(), 2);
}

TEST_F(CollisionGridTest, NodesRemovedByAHandlerAreSkippedForTheRestOfThePass) {
    TestNode* building = File("building", 5.0, 1, 5.0, false);
    TestNode* aircraft = File("aircraft", 5.0, 1, 5.0, true);
    File("debris", 5.0, 1, 5.0, true);
    // The first contact destroys the building: it meets nothing else and is not grounded.
    onHit = [&](MFSSceneNode& a, MFSSceneNode&) {
        if (&a == building) building->Remove();
    };
    grid.handlers.touchesGround = [](MFSSceneNode&) { return true; };
    grid.Detect();
    EXPECT_EQ(hits, (std::vector<Hit>{{"building", "aircraft"}, {"aircraft", "debris"}}));
    EXPECT_EQ(grounded, (Log{"aircraft", "debris"}));
    // A removed node left in the grid is never tested again.
    hits.clear();
    grounded.clear();
    aircraft->Remove();
    grid.Detect();
    EXPECT_TRUE(hits.empty() && grounded == (Log{"debris"}));
}

TEST_F(CollisionGridTest, HandlersMayFileAndTakeOutNodesWhileThePassRuns) {
    TestNode* building = File("building", 5.0, 1, 5.0, false);
    TestNode* aircraft = File("aircraft", 5.0, 1, 5.0, true);
    File("tree", 5.0, 1, 5.0, false);
    // Shattering the building: it goes, four pieces come into its square.
    onHit = [&](MFSSceneNode& a, MFSSceneNode&) {
        if (&a != building) return;
        grid.Remove(building);
        for (int i = 0; i < 4; ++i)
            File("piece", 5.0, 1, 5.0, true);
    };
    grid.Detect();
    EXPECT_EQ(grid.CountOf(building), 0);
    EXPECT_EQ(grid.Square(grid.SquareOf(aircraft->GetPosition())).size(), 6u);
    // The building met nothing after it went; the aircraft met the tree and the pieces.
    ASSERT_GE(hits.size(), 2u);
    EXPECT_EQ(hits[1], (Hit{"tree", "aircraft"}));
    EXPECT_EQ(std::count(hits.begin(), hits.end(), Hit{"aircraft", "piece"}), 4);
    EXPECT_EQ(std::count_if(hits.begin(), hits.end(), [](const Hit& h) { return h.first == "building"; }), 1);
}

TEST_F(CollisionGridTest, RemoveFindsANodeThatMovedOrWasFiledTwiceAndTheUnusedSlotComplains) {
    TestNode* aircraft = File("aircraft", 5.0, 1, 5.0, true);
    File("other", 5.0, 1, 5.0, true);
    aircraft->Move({F(-20), F(1), F(20)});  // moved without being taken out first
    grid.Remove(aircraft);
    EXPECT_TRUE(grid.CountOf(aircraft) == 0 && (grid.Square(grid.SquareOf({F(5), 0, F(5)})).size()) == 1u);
    TestNode* twice = File("twice", 1, 1, 1, true);
    grid.Insert(twice);
    grid.Remove(twice);
    EXPECT_EQ(grid.CountOf(twice), 0);
    testing::internal::CaptureStderr();
    grid.Unused();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Error: Should not be called!"), std::string::npos);
}

}  // namespace
