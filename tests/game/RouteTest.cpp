// Route files as the game reads them from a zip made by Info-ZIP: the start and every
// placed object wrapped into its cell, factors, wind and fog, gates put on the ground or
// swinging in the air, the route's name, and the gate list's score and target.
#include <GLES/gl.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "RouteTestWorld.h"
#include "game/CSPObstacle.h"
#include "game/CSPRunway.h"
#include "game/TSPOscillator.h"
#include "world/FSBillboardNode.h"
#include "world/FSCloudNode.h"
#include "world/FSClouds.h"
#include "world/FSDamageable.h"
#include "world/FSRandom.h"

namespace route_test {
namespace {

FSFixed F(float value) {
    return FloatToFixed(value);
}

TEST_F(RouteTestWorld, StartWrapsItsPositionIntoTheCellAtMostOnce) {
    struct Case {
        const char* line;
        FSCell cell;
        float x, z;
    };
    const Case cases[] = {
        {"start 1 0 10 6 29.5 0 0 1 0 1 0 0.5", {1, 0}, 10.0f, 29.5f},
        {"start 0 0 31 6 0 0 0 1 0 1 0 0.5", {1, 0}, -29.0f, 0.0f},
        {"start 0 0 -30 6 0 0 0 1 0 1 0 0.5", {0, 0}, -30.0f, 0.0f},
        {"start 0 0 -31 6 0 0 0 1 0 1 0 0.5", {3, 0}, 29.0f, 0.0f},
        {"start -1 5 0 6 -30.5 0 0 1 0 1 0 0.5", {3, 0}, 0.0f, 29.5f},
        {"start 2 3 89 6 -89 0 0 1 0 1 0 0.5", {3, 2}, 29.0f, -29.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        starts.clear();
        Load(c.line);
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_EQ(starts[0].cell, c.cell);
        EXPECT_EQ(starts[0].position.x, F(c.x));
        EXPECT_EQ(starts[0].position.y, F(6.0f));
        EXPECT_EQ(starts[0].position.z, F(c.z));
    }
}

TEST_F(RouteTestWorld, StartHandsAUnitNoseTheUpAsReadAndTheFuelFraction) {
    Load("start 0 0 0 6 0 3 0 4 0 2 0 0.75 landing\n");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_NEAR(starts[0].nose.x, 0.6f, 1e-6f);
    EXPECT_NEAR(starts[0].nose.z, 0.8f, 1e-6f);
    EXPECT_EQ(starts[0].up, FSVector(0.0f, 2.0f, 0.0f));
    EXPECT_EQ(starts[0].fuel, 0.75f);
    // Without a terrain there is nowhere to land.
    EXPECT_FALSE(route->Landing());
    Load("start 0 0 0 6 0 0 0 0 0 1 0 0.0000005\n");
    EXPECT_EQ(starts.back().nose, FSVector());
    EXPECT_EQ(starts.back().fuel, 0.0f);
    Load("terrain flat.ter 0\nstart 0 0 0 6 0 0 0 1 0 1 0 1 landing\n");
    EXPECT_TRUE(route->Landing());
    EXPECT_TRUE(route->IsInsideGateBox());
}

TEST_F(RouteTestWorld, EveryPlacedObjectTakesItsCellModuloFour) {
    struct Case {
        const char* line;
        FSCell cell;
    };
    const Case cases[] = {
        {"obstacle red.png -1 2 0 6 0 0 0 0 2000 2000 200 10", {3, 2}},
        {"tree trees/trees.png 0.01 0.004 -1 -1 0 0", {3, 3}},
        {"cloud clouds/cloud.png 2 1 -1 5 0 7 0", {3, 1}},
        {"building cube.obj red.png 0.01 -1 -2 0 0 0", {3, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        context->sceneRoot->Clear();
        Load(c.line);
        ASSERT_EQ(context->sceneRoot->Nodes().size(), 1u);
        EXPECT_EQ(context->sceneRoot->Nodes()[0]->GetCell(), c.cell);
    }
}

TEST_F(RouteTestWorld, DifficultySetsTheFactorsGivenAndEveryOtherIsOne) {
    Load("difficulty 2 1.5\n");
    const float expected[] = {2.0f, 1.5f, 1.0f, 1.0f, 1.0f};
    for (int aircraft = 0; aircraft < 5; ++aircraft)
        EXPECT_EQ(route->GetAircraftFactor(aircraft), expected[aircraft]) << aircraft;
    EXPECT_EQ(route->GetAircraftFactor(7), 1.0f);
    EXPECT_EQ(route->GetAircraftFactor(-1), 1.0f);
    Load("difficulty 1 2 3 4 5 6\n");
    EXPECT_EQ(route->GetAircraftFactor(4), 5.0f);
    EXPECT_EQ(route->GetAircraftFactor(5), 1.0f);
}

TEST_F(RouteTestWorld, WindIsTheFileVectorInThousandthsWithDustDropped) {
    EXPECT_EQ(Load("wind 500 0 0\n").Wind(), FSVector(0.5f, 0.0f, 0.0f));
    EXPECT_EQ(Load("wind 0.0005 -20 0\n").Wind(), FSVector(0.0f, -20.0f * 0.001f, 0.0f));
    EXPECT_EQ(Load("// no wind\n").Wind(), FSVector());
}

TEST_F(RouteTestWorld, MystSwitchesTheFogOnByItsModeAndTheRouteSwitchesItOff) {
    struct Case {
        const char* line;
        GLint mode;
        float start, end, density;
    };
    const Case cases[] = {
        {"myst lin 2 20", GL_LINEAR, 2.0f, 20.0f, -1.0f},
        {"myst exp 0.25", GL_EXP, -1.0f, -1.0f, 0.25f},
        {"myst thick 2 20", GL_LINEAR, 8.0f, 30.0f, -1.0f},
        {"myst", GL_LINEAR, 8.0f, 30.0f, -1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        glDisable(GL_FOG);
        Load(c.line);
        EXPECT_TRUE(glIsEnabled(GL_FOG));
        GLint mode = 0;
        glGetIntegerv(GL_FOG_MODE, &mode);
        EXPECT_EQ(mode, c.mode);
        GLfloat value = 0.0f;
        if (c.start >= 0.0f) {
            glGetFloatv(GL_FOG_START, &value);
            EXPECT_NEAR(value, c.start, 1e-4f);
            glGetFloatv(GL_FOG_END, &value);
            EXPECT_NEAR(value, c.end, 1e-4f);
        } else {
            glGetFloatv(GL_FOG_DENSITY, &value);
            EXPECT_NEAR(value, c.density, 1e-4f);
        }
        route.reset();
        EXPECT_FALSE(glIsEnabled(GL_FOG));
    }
}

TEST_F(RouteTestWorld, AirGateStandingInTheGroundIsPutOnItLikeAGroundGate) {
    // The file height is the ground's: "air" means "ground" there.
    const std::string ground = std::to_string(kFlatGround);
    const std::vector<std::string> gates = {
        "obstacle red.png 0 0 1 " + ground + " 2 0 0 0 2000 2000 200 10 air",
        "obstacle red.png 0 0 1 " + ground + " 2 0 0 0 2000 2000 200 10 ground",
        "obstacle red.png 0 0 1 " + std::to_string(kFlatGround + 0.5f) + " 2 0 0 0 2000 2000 200 10 ground",
    };
    for (const std::string& gate : gates) {
        SCOPED_TRACE(gate);
        context->sceneRoot->Clear();
        Load("terrain flat.ter 1\n" + gate + "\n");
        const std::vector<CSPObstacle*> made = NodesOf<CSPObstacle>();
        ASSERT_EQ(made.size(), 1u);
        // The bottom of the frame's box on the ground.
        EXPECT_NEAR(made[0]->GetPosition().y + made[0]->GetModel()->min.y, F(kFlatGround), 2);
        EXPECT_NEAR(made[0]->GetModel()->min.y, -F(1.0f), F(0.01f));
        EXPECT_EQ(made[0]->GetPreviousPosition(), made[0]->GetPosition());
        EXPECT_EQ(made[0]->GetMoveableObject(), nullptr);
    }
    // Well above the ground it swings with the wind, where the file put it.
    context->sceneRoot->Clear();
    Load("terrain flat.ter 1\nwind 20 0 0\nobstacle red.png 0 0 1 9 2 0 0 0 2000 2000 200 10 air\n");
    const CSPObstacle& swinging = *NodesOf<CSPObstacle>().at(0);
    EXPECT_EQ(swinging.GetPosition().y, F(9.0f));
    const auto* movement = swinging.GetMoveableAs<TSPOscillator>();
    ASSERT_NE(movement, nullptr);
    EXPECT_EQ(movement->Direction(), FSVector(20.0f * 0.001f, 0.0f, 0.0f));
    EXPECT_NEAR(movement->Period(), 10.0f * 3.14159265f, 1e-4f);
}

TEST_F(RouteTestWorld, GatesInAnotherCellThanTheFirstAreMadeButNotListed) {
    Load(
        "obstacle red.png 0 0 0 6 0 0 0 0 2000 2000 200 10\n"
        "obstacle blue.png 1 0 0 6 0 0 0 0 2000 2000 200 20\n"
        "obstacle red.png 0 0 0 6 5 0 0 0 2000 2000 200 30\n");
    EXPECT_EQ(NodesOf<CSPObstacle>().size(), 3u);
    EXPECT_EQ(route->ObstacleCount(), 2);
    EXPECT_EQ(route->TotalPoints(), 40);
    const auto positions = route->ObstaclePositions();
    ASSERT_EQ(positions.size(), 2u);
    EXPECT_EQ(positions[1].second.z, F(5.0f));
    // The gate box holds both listed gates with a margin widened once per gate.
    EXPECT_EQ(route->GateBoxMin().z, -2 * CSPRoute::kGateMargin);
    EXPECT_EQ(route->GateBoxMax().z, F(5.0f) + CSPRoute::kGateMargin);
    EXPECT_EQ(route->GateBoxMax().x, 2 * CSPRoute::kGateMargin);
    EXPECT_EQ(route->CurrentTarget(), NodesOf<CSPObstacle>()[0]);
}

TEST_F(RouteTestWorld, GateBoxHoldsTheAircraftOnlyStrictlyInside) {
    Load(
        "obstacle red.png 0 0 0 6 0 0 0 0 2000 2000 200 10\n"
        "obstacle red.png 0 0 0 6 5 0 0 0 2000 2000 200 10\n");
    CSPObstacle aircraft(nullptr, "red.png");
    EXPECT_FALSE(route->IsInsideGateBox());  // no aircraft
    context->playerAircraft = &aircraft;
    // Each gate widens the box once more: twice on x and y, once beyond the last gate on z.
    const FSFixed margin = 2 * CSPRoute::kGateMargin;
    const FSFixed end = F(5.0f) + CSPRoute::kGateMargin;
    const struct {
        FSFixedVector at;
        bool inside;
    } cases[] = {
        {{0, F(6.0f), F(2.0f)}, true}, {{0, F(6.0f), end - 1}, true},
        {{0, F(6.0f), end}, false},    {{margin - 1, F(6.0f) + margin - 1, -margin + 1}, true},
        {{margin, F(6.0f), 0}, false}, {{0, F(6.0f) - margin, 0}, false},
    };
    for (const auto& c : cases) {
        aircraft.Place(c.at);
        EXPECT_EQ(route->IsInsideGateBox(), c.inside) << c.at.x << " " << c.at.y << " " << c.at.z;
    }
    context->playerAircraft = nullptr;
}

TEST_F(RouteTestWorld, RouteNameIsTheTextOfTheFirstQuotedDescriptionLine) {
    const std::string archive = WriteRoutes({
        "// \"not a description\"\n# A route without a name\n# Name: \"Over the Pass\" (easy)\n# \"Later\"\n",
        "# Open \"Valley run\r\n# \"Second\"\r\n",
        "# nothing quoted\nstart 0 0 0 6 0 0 0 1 0 1 0 1\n",
        "",
    });
    EXPECT_EQ(CSPRoute::GetRouteName(0, archive), "Over the Pass");
    EXPECT_EQ(CSPRoute::GetRouteName(1, archive), "Valley run");
    EXPECT_EQ(CSPRoute::GetRouteName(2, archive), "");
    EXPECT_EQ(CSPRoute::GetRouteName(3, archive), "");
    EXPECT_EQ(CSPRoute::GetRouteDescription(0, archive),
              " A route without a name\n Name: \"Over the Pass\" (easy)\n \"Later\"\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(CSPRoute::GetRouteName(9, archive), "");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("buffer is NULL! (File not found)"),
              std::string::npos);
    // A route without a file reads as empty and builds nothing.
    CSPRoute missing(*context, 9, archive);
    EXPECT_FALSE(missing.HasText());
    missing.LoadRoute();
    EXPECT_TRUE(context->sceneRoot->Nodes().empty());
}

TEST_F(RouteTestWorld, UnknownLinesCommentsAndMissingWordsChangeNothingOrReadAsZero) {
    Load(
        "sun 1 2 3\n//\n// obstacle red.png 0 0 0 6 0 0 0 0 2000 2000 200 10\nstart\nrunway asphalt.png 0 0 "
        "0 0 0 0 0 "
        "1 30\n");
    EXPECT_TRUE(context->sceneRoot->Nodes().empty());
    EXPECT_EQ(route->Runway(), nullptr);  // no terrain
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].cell, FSCell());
    EXPECT_EQ(starts[0].position, FSFixedVector());
    EXPECT_FALSE(route->Timed());
    EXPECT_TRUE(Load("timed\n").Timed());
}

TEST_F(RouteTestWorld, AWholeRouteBuildsItsWorldInTheContext) {
    Load(
        "# \"Test loop\"\r\n"
        "terrain flat.ter 1\r\n"
        "wind 10 0 0\r\n"
        "start 0 0 0 6.2 -10 0 0 1 0 1 0 0.8\r\n"
        "tree trees/trees.png 0.012 0.005 0 0 1 1\r\n"
        "building2 cube.obj red.png 0.01 0 0 -1 1 30\r\n"
        "cloud clouds/cloud.png 2 1 0 0 3 7 3\r\n"
        "runway asphalt.png 0 0 0 0 -2 0 0 2 40\r\n"
        "clouds clouds/layer.png 35\r\n"
        "obstacle red.png 0 0 0 6 0 0 0 0 2000 2000 200 10 ground\r\n");
    ASSERT_NE(context->terrain, nullptr);
    EXPECT_TRUE(route->OwnsTerrain());
    ASSERT_EQ(starts.size(), 1u);
    const auto& nodes = context->sceneRoot->Nodes();
    ASSERT_EQ(nodes.size(), 6u);
    // Put first in turn: the cloud, then the runway, then the layer.
    auto* layer = dynamic_cast<TFSClouds*>(nodes[0].get());
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->Distance(), F(35.0f));
    EXPECT_EQ(layer->Top(), TFSClouds::kDefaultTop);
    EXPECT_EQ(nodes[1].get(), route->Runway());
    EXPECT_EQ(nodes[1]->GetType(), kNodeRunway);
    auto* cloud = dynamic_cast<CFSCloudNode*>(nodes[2].get());
    ASSERT_NE(cloud, nullptr);
    EXPECT_TRUE(cloud->IsVisible());
    for (MFSSceneNode* drifting : {static_cast<MFSSceneNode*>(layer), static_cast<MFSSceneNode*>(cloud)}) {
        const auto* movement = drifting->GetMoveableAs<TSPOscillator>();
        ASSERT_NE(movement, nullptr);
        EXPECT_EQ(movement->Period(), 0.0f);
    }
    // The tree stands on the ground and can be hit.
    auto* tree = dynamic_cast<CFSBillboardNode*>(nodes[3].get());
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->GetPosition().y, GroundAt(F(1.0f), F(1.0f), {0, 0}));
    ASSERT_NE(DamageOf(*tree), nullptr);
    EXPECT_EQ(DamageOf(*tree)->maxHealth, 10000.0f);
    // The building is culled with the terrain square under it.
    MFSSceneNode& building = *nodes[4];
    EXPECT_EQ(building.GetCullFlags() & kCullByTerrainTile, kCullByTerrainTile);
    EXPECT_EQ(building.GetTerrainTile(), context->terrain->model->TileOf(building.GetPosition(), {0, 0}));
    EXPECT_EQ(DamageOf(building)->maxHealth, 100000.0f);
    EXPECT_EQ(route->ObstacleCount(), 1);
    // The route takes its terrain with it.
    route.reset();
    EXPECT_EQ(context->terrain, nullptr);
}

TEST_F(RouteTestWorld, BuildingOnASlopeSinksUntilNoBottomCornerFloats) {
    Load("terrain slope.ter 1\nbuilding cube.obj red.png 0.2 0 0 3 4 0\n");
    ASSERT_EQ(context->sceneRoot->Nodes().size(), 1u);
    const MFSSceneNode& building = *context->sceneRoot->Nodes()[0];
    const FSBox box = building.GetWorldBox();
    ASSERT_FALSE(box.IsEmpty());
    // Every corner of the box's bottom at or below the ground, the lowest-standing one on it.
    FSFixed deepest = kFixedMax, shallowest = kFixedMin;
    for (const FSFixed x : {box.min.x, box.max.x}) {
        for (const FSFixed z : {box.min.z, box.max.z}) {
            const FSFixed above = box.min.y - GroundAt(x, z, {0, 0});
            deepest = std::min(deepest, above);
            shallowest = std::max(shallowest, above);
        }
    }
    EXPECT_NEAR(shallowest, 0, F(0.0002f));
    EXPECT_LT(deepest, -F(0.0005f));  // the slope shows
}

TEST_F(RouteTestWorld, HostileNumbersAndBytesBuildOnlyWellFormedObjects) {
    Load(
        "terrain flat.ter 1\n"
        "start 1e30 -1e30 1e30 1e30 -1e30 nan nan nan inf 0 0 1e30 landing\n"
        "obstacle red.png 1e30 -1e30 1e30 1e30 -1e30 1e30 1e30 1e30 1e30 1e30 1e30 99999999999 air\n"
        "obstacle red.png nan inf -inf nan 0 0 0 0 -5 0 0 99999999999 ground\n"
        "obstacle blue.png 0 0 0 0 0 0 0 0 0 0 0 5 ground\n"
        "runway runway.png 0 0 1e30 0 -1e30 -1e30 0 1e30 1e30\n"
        "building cube.obj red.png 1e30 0 0 1e30 1e30 1e30\n"
        "tree trees/trees.png 1e30 -1e30 1e30 1e30 -1e30 1e30\n"
        "cloud clouds/cloud.png 1e30 1e30 1e30 1e30 1e30 1e30 1e30\n"
        "clouds clouds/layer.png 1e30 -1e30 1e30\n"
        "difficulty nan inf -1e30\n"
        "myst exp 1e30\n" +
        image_test_files::RandomBytes(4000, 11));
    EXPECT_GE(context->sceneRoot->Nodes().size(), 8u);
    // Positions more than a cell outside are moved by one cell only, as every position is;
    // cells are always 0..3 and a gate's frame stays within what 16.16 sums can hold.
    for (const auto& node : context->sceneRoot->Nodes()) {
        const FSCell& cell = node->GetCell();
        EXPECT_TRUE(cell.column >= 0 && cell.column < 4 && cell.row >= 0 && cell.row < 4);
    }
    for (const CSPObstacle* gate : NodesOf<CSPObstacle>())
        EXPECT_LE(gate->GetModel()->LargestExtent(), FixedFromInt(4000));
    ASSERT_FALSE(starts.empty());
    // The saturated points add up without overflowing.
    EXPECT_EQ(route->TotalPoints(), INT32_MAX);
}

TEST_F(RouteTestWorld, ArchiveThatIsNoZipGivesNoTextAndNoName) {
    const std::string archive = folder + "broken.zip";
    ASSERT_TRUE(image_test_files::WriteText(archive, "PK\x03\x04" + image_test_files::RandomBytes(300, 5)));
    CSPRoute broken(*context, 0, archive);
    EXPECT_FALSE(broken.HasText());
    broken.LoadRoute();
    EXPECT_TRUE(context->sceneRoot->Nodes().empty());
    testing::internal::CaptureStderr();
    EXPECT_EQ(CSPRoute::GetRouteName(0, archive), "");
    testing::internal::GetCapturedStderr();
}

// ---- The gate list ----

class GateListTest : public RouteTestWorld {
protected:
    // Three gates of 10 points in one cell, listed in order.
    void MakeGates(int count = 3) {
        route = std::make_unique<CSPRoute>(*context, 99, folder + "none.zip");
        for (int i = 0; i < count; ++i) {
            gates.push_back(std::make_unique<CSPObstacle>(context->textureCache.get(), "red.png"));
            gates.back()->Place({0, F(6.0f), F(static_cast<float>(i))});
            route->OfferObstacle(gates.back().get(), 10);
        }
    }
    // A clean pass (through) or a frame hit (the gate blown up) of gate i, as the game
    // reports it; returns whether it was clean.
    bool Take(int i, bool through = true) {
        if (!through) gates[i]->Remove();
        const bool clean = route->UpdateObstacleScore(gates[i].get());
        route->AdvanceTarget(gates[i].get());
        return clean;
    }
    std::vector<std::unique_ptr<CSPObstacle>> gates;
};

TEST_F(GateListTest, EachGateScoresItsPointsOverOnePlusTheGatesMissedBeforeIt) {
    MakeGates();
    EXPECT_EQ(route->TotalPoints(), 30);
    const struct {
        int gate;
        bool through;
        int score;
    } sequences[][3] = {
        {{2, true, 3}, {0, true, 15}, {1, true, 30}},
        {{0, false, 0}, {1, true, 5}, {2, true, 10}},
        {{1, true, 5}, {1, false, 0}, {0, true, 10}},
    };
    for (const auto& sequence : sequences) {
        gates.clear();
        MakeGates();
        for (const auto& step : sequence) {
            SCOPED_TRACE(step.gate);
            EXPECT_EQ(Take(step.gate, step.through), step.through);
            EXPECT_EQ(route->Score(), step.score);
        }
    }
    EXPECT_TRUE(route->Started());
}

TEST_F(GateListTest, TakingAGateSwapsItsColourOnceAndCountsItDealtWith) {
    MakeGates();
    gates[1]->SetTextureName("green.png");
    Take(0);
    Take(1);
    EXPECT_EQ(gates[0]->TextureName(), "blue.png");
    EXPECT_EQ(gates[1]->TextureName(), "green.png");
    Take(0);  // again: no longer pending, keeps its colour
    EXPECT_EQ(gates[0]->TextureName(), "blue.png");
    EXPECT_EQ(route->DealtWith(), 2);
}

TEST_F(GateListTest, TargetMovesOnlyWhenTheCurrentTargetIsTakenAndSkipsTakenGates) {
    MakeGates(4);
    EXPECT_EQ(route->CurrentTarget(), gates[0].get());
    Take(2);  // not the target
    EXPECT_EQ(route->CurrentTarget(), gates[0].get());
    Take(0);  // the target: on to the next waiting gate
    EXPECT_EQ(route->CurrentTarget(), gates[1].get());
    Take(1);  // the third is taken already
    EXPECT_EQ(route->CurrentTarget(), gates[3].get());
    Take(3, false);
    EXPECT_EQ(route->CurrentTarget(), nullptr);
    EXPECT_EQ(route->TargetIndex(), 4);
    route->AdvanceTarget(gates[3].get());  // nothing left: stays
    EXPECT_EQ(route->TargetIndex(), 4);
}

TEST_F(GateListTest, ADeletedGateIsDroppedFromTheListAndCountsAsMissed) {
    MakeGates();
    gates[0].reset();
    EXPECT_EQ(route->CurrentTarget(), nullptr);
    Take(1);
    EXPECT_EQ(route->Score(), 5);
    EXPECT_EQ(route->CurrentTarget(), gates[2].get());
    EXPECT_EQ(route->ObstaclePositions().size(), 3u);
    // The route may also go first: the gates then forget it.
    route.reset();
    gates.clear();
}

TEST_F(GateListTest, UnknownOrMissingNodeScoresNothingAndIsNotClean) {
    MakeGates();
    CSPObstacle stranger(nullptr, "red.png");
    EXPECT_TRUE(route->UpdateObstacleScore(&stranger));
    EXPECT_FALSE(route->UpdateObstacleScore(nullptr));
    EXPECT_EQ(route->Score(), 0);
    EXPECT_EQ(route->DealtWith(), 0);
}

}  // namespace
}  // namespace route_test
