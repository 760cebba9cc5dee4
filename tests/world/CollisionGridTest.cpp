// The collision grid: where nodes are filed, which pairs and ground contacts a pass tests,
// and handlers that change the grid while it runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "world/FSGridCollisionDetector.h"
#include "world/WorldTestNodes.h"

using world_test::F;
using world_test::TestNode;

namespace {

class Mover : public MFSProperty {};

using Hit = std::pair<std::string, std::string>;
using Names = std::vector<std::string>;

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
        node->model = FSBox::FromCorners({-F(0.1), -F(0.1), -F(0.1)}, {F(0.1), F(0.1), F(0.1)});
        node->SetCell(cell);
        node->SetPosition({F(x), F(y), F(z)});
        node->SavePosition();
        if (moving) node->SetMoveableObject(std::make_unique<Mover>());
        nodes.push_back(std::move(node));
        grid.Insert(nodes.back().get());
        return nodes.back().get();
    }
    std::string Name(const MFSSceneNode& node) const { return static_cast<const TestNode&>(node).Name(); }

    CFSGridCollisionDetector grid{FSBox::FromCorners({-F(30), 0, -F(30)}, {F(30), F(90), F(30)})};
    std::vector<std::unique_ptr<TestNode>> nodes;
    std::vector<Hit> hits;
    Names grounded;
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
    EXPECT_EQ(grid.Square(31 * 32 + 16).size(), 2u);
    EXPECT_EQ(grid.CountOf(beyond), 0);
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
    EXPECT_EQ(hits, (std::vector<Hit>{pass[0], pass[1], pass[0], pass[1]}));
    EXPECT_EQ(grid.GetTestCount(), 3);
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
    EXPECT_EQ(hits, (std::vector<Hit>{{"gate", "aircraft"}}));
    EXPECT_EQ(grid.GetTestCount(), 1);
}

TEST_F(CollisionGridTest, GroundTestsGoToMovingNodesAtTwelveUnitsOrLower) {
    File("low", 1, 12.0, 1, true);
    File("high", 3, 12.5, 1, true);
    File("building", 5, 0.0, 1, false);
    File("skimming", 7, 0.05, 1, true);
    grid.Detect();
    EXPECT_EQ(grid.GetTestCount(), 0);  // no ground test: none made
    Names tested;
    grid.handlers.touchesGround = [&](MFSSceneNode& node) {
        tested.push_back(Name(node));
        return Name(node) == "skimming";
    };
    grid.Detect();
    EXPECT_EQ(tested, (Names{"low", "skimming"}));
    EXPECT_EQ(grounded, (Names{"skimming"}));
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
    EXPECT_EQ(grounded, (Names{"aircraft", "debris"}));
    // A removed node left in the grid is never tested again.
    hits.clear();
    grounded.clear();
    aircraft->Remove();
    grid.Detect();
    EXPECT_TRUE(hits.empty());
    EXPECT_EQ(grounded, (Names{"debris"}));
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
    EXPECT_EQ(grid.CountOf(aircraft), 0);
    EXPECT_EQ(grid.Square(grid.SquareOf({F(5), 0, F(5)})).size(), 1u);
    TestNode* twice = File("twice", 1, 1, 1, true);
    grid.Insert(twice);
    grid.Remove(twice);
    EXPECT_EQ(grid.CountOf(twice), 0);
    testing::internal::CaptureStderr();
    grid.Unused();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Error: Should not be called!"), std::string::npos);
}

}  // namespace
