// Route files as the game reads them from a zip made by Info-ZIP: the start and every
// placed object wrapped into its cell, factors, wind and fog, gates put on the ground or
// swinging in the air, the route's name, and the gate list's score and target.
#include <GLES/gl.h>

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

namespace route_test {
namespace {

TEST_F(RouteTestWorld, StartWrapsItsPositionIntoTheCellAtMostOnce) {
    const struct {
        const char* line;
        FSCell cell;
        float x, z;
    } cases[] = {
        {"start 1 0 10 6 29.5 0 0 1 0 1 0 0.5", {1, 0}, 10.0f, 29.5f},
        {"start 0 0 31 6 0 0 0 1 0 1 0 0.5", {1, 0}, -29.0f, 0.0f},
        {"start 0 0 -30 6 0 0 0 1 0 1 0 0.5", {0, 0}, -30.0f, 0.0f},
        {"start 0 0 -31 6 0 0 0 1 0 1 0 0.5", {3, 0}, 29.0f, 0.0f},
        {"start -1 5 0 6 -30.5 0 0 1 0 1 0 0.5", {3, 0}, 0.0f, 29.5f},
        {"start 2 3 89 6 -89 0 0 1 0 1 0 0.5", {3, 2}, 29.0f, -29.0f},
    };
    for (const auto& c : cases) {
        starts.clear();
        Load(c.line);
        ASSERT_EQ(starts.size(), 1u) << c.line;
        EXPECT_EQ(starts[0].cell, c.cell) << c.line;
        EXPECT_EQ(starts[0].position, At(c.x, 6.0f, c.z)) << c.line;
    }
}

TEST_F(RouteTestWorld, StartHandsAUnitNoseTheUpAsReadAndTheFuelFraction) {
    Load("start 0 0 0 6 0 3 0 4 0 2 0 0.75 landing\n");
    EXPECT_NEAR(starts.at(0).nose.x, 0.6f, 1e-6f);
    EXPECT_NEAR(starts[0].nose.z, 0.8f, 1e-6f);
    EXPECT_EQ(starts[0].up, FSVector(0.0f, 2.0f, 0.0f));
    EXPECT_EQ(starts[0].fuel, 0.75f);
    EXPECT_FALSE(route->Landing());  // without a terrain there is nowhere to land
    Load("start 0 0 0 6 0 0 0 0 0 1 0 0.0000005\n");
    EXPECT_EQ(starts.back().nose, FSVector());
    EXPECT_EQ(starts.back().fuel, 0.0f);
    EXPECT_TRUE(Load("terrain flat.ter 0\nstart 0 0 0 6 0 0 0 1 0 1 0 1 landing\n").Landing());
    EXPECT_TRUE(route->IsInsideGateBox());
}

TEST_F(RouteTestWorld, EveryPlacedObjectTakesItsCellModuloFour) {
    const std::pair<const char*, FSCell> cases[] = {
        {"obstacle red.png -1 2 0 6 0 0 0 0 2000 2000 200 10", {3, 2}},
        {"tree trees/trees.png 0.01 0.004 -1 -1 0 0", {3, 3}},
        {"cloud clouds/cloud.png 2 1 -1 5 0 7 0", {3, 1}},
        {"building cube.obj red.png 0.01 -1 -2 0 0 0", {3, 2}},
    };
    for (const auto& [line, cell] : cases) {
        Load(line);
        ASSERT_EQ(context->sceneRoot->Nodes().size(), 1u) << line;
        EXPECT_EQ(context->sceneRoot->Nodes()[0]->GetCell(), cell) << line;
    }
}

TEST_F(RouteTestWorld, DifficultyWindAndTimedAreReadAsGiven) {
    Load("difficulty 2 1.5\n");
    const float expected[] = {2.0f, 1.5f, 1.0f, 1.0f, 1.0f};
    for (int aircraft = 0; aircraft < 5; ++aircraft)
        EXPECT_EQ(route->GetAircraftFactor(aircraft), expected[aircraft]) << aircraft;
    EXPECT_EQ(route->GetAircraftFactor(7), 1.0f);
    EXPECT_EQ(route->GetAircraftFactor(-1), 1.0f);
    EXPECT_EQ(Load("difficulty 1 2 3 4 5 6\n").GetAircraftFactor(5), 1.0f);  // no sixth aircraft
    // Wind is the file vector in thousandths, with dust dropped.
    EXPECT_EQ(Load("wind 500 0 0\n").Wind(), FSVector(0.5f, 0.0f, 0.0f));
    EXPECT_EQ(Load("wind 0.0005 -20 0\n").Wind(), FSVector(0.0f, -20.0f * 0.001f, 0.0f));
    EXPECT_FALSE(Load("// no wind\n").Timed());
    EXPECT_EQ(route->Wind(), FSVector());
    EXPECT_TRUE(Load("timed\n").Timed());
}

TEST_F(RouteTestWorld, MystSwitchesTheFogOnByItsModeAndTheRouteSwitchesItOff) {
    const struct {
        const char* line;
        GLint mode;
        GLenum parameter;  // start for linear fog, else density
        float value;
    } cases[] = {
        {"myst lin 2 20", GL_LINEAR, GL_FOG_START, 2.0f},
        {"myst exp 0.25", GL_EXP, GL_FOG_DENSITY, 0.25f},
        {"myst thick 2 20", GL_LINEAR, GL_FOG_START, 8.0f},  // unknown mode: the default fog
        {"myst", GL_LINEAR, GL_FOG_END, 30.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        glDisable(GL_FOG);
        Load(c.line);
        EXPECT_TRUE(glIsEnabled(GL_FOG));
        GLint mode = 0;
        GLfloat value = 0.0f;
        glGetIntegerv(GL_FOG_MODE, &mode);
        glGetFloatv(c.parameter, &value);
        EXPECT_EQ(mode, c.mode);
        EXPECT_NEAR(value, c.value, 1e-4f);
        route.reset();
        EXPECT_FALSE(glIsEnabled(GL_FOG));
    }
}

TEST_F(RouteTestWorld, AirGateStandingInTheGroundIsPutOnItLikeAGroundGate) {
    // At the ground's height "air" means "ground"; above it a ground gate still sits down.
    const std::string frame = " 2 0 0 0 2000 2000 200 10 ";
    const std::string ground = std::to_string(kFlatGround), above = std::to_string(kFlatGround + 0.5f);
    for (const std::string& gate :
         {ground + frame + "air", ground + frame + "ground", above + frame + "ground"}) {
        Load("terrain flat.ter 1\nobstacle red.png 0 0 1 " + gate + "\n");
        const CSPObstacle& made = *NodesOf<CSPObstacle>().at(0);
        // The bottom of the frame's box on the ground.
        EXPECT_NEAR(made.GetPosition().y + made.GetModel()->min.y, F(kFlatGround), 2) << gate;
        EXPECT_EQ(made.GetPreviousPosition(), made.GetPosition()) << gate;
        EXPECT_EQ(made.GetMoveableObject(), nullptr) << gate;
    }
    // Well above the ground it swings with the wind, where the file put it.
    Load("terrain flat.ter 1\nwind 20 0 0\nobstacle red.png 0 0 1 9" + frame + "air\n");
    const CSPObstacle& swinging = *NodesOf<CSPObstacle>().at(0);
    EXPECT_EQ(swinging.GetPosition().y, F(9.0f));
    const auto* movement = swinging.GetMoveableAs<TSPOscillator>();
    ASSERT_NE(movement, nullptr);
    EXPECT_EQ(movement->Direction(), FSVector(20.0f * 0.001f, 0.0f, 0.0f));
    EXPECT_NEAR(movement->Period(), 10.0f * 3.14159265f, 1e-4f);
}

TEST_F(RouteTestWorld, GatesInAnotherCellAreNotListedAndTheBoxHoldsOnlyStrictlyInside) {
    Load(
        "obstacle red.png 0 0 0 6 0 0 0 0 2000 2000 200 10\n"
        "obstacle blue.png 1 0 0 6 0 0 0 0 2000 2000 200 20\n"
        "obstacle red.png 0 0 0 6 5 0 0 0 2000 2000 200 30\n");
    EXPECT_EQ(NodesOf<CSPObstacle>().size(), 3u);
    EXPECT_EQ(route->ObstacleCount(), 2);
    EXPECT_EQ(route->TotalPoints(), 40);
    EXPECT_EQ(route->ObstaclePositions().at(1).second.z, F(5.0f));
    EXPECT_EQ(route->CurrentTarget(), NodesOf<CSPObstacle>()[0]);
    CSPObstacle aircraft(nullptr, "red.png");
    EXPECT_FALSE(route->IsInsideGateBox());  // no aircraft
    context->playerAircraft = &aircraft;
    // Each gate widens the box once more: twice on x and y, once beyond the last gate on z.
    const FSFixed margin = 2 * CSPRoute::kGateMargin, end = F(5.0f) + CSPRoute::kGateMargin;
    const std::pair<FSFixedVector, bool> cases[] = {
        {{0, F(6.0f), F(2.0f)}, true}, {{0, F(6.0f), end - 1}, true},
        {{0, F(6.0f), end}, false},    {{margin - 1, F(6.0f) + margin - 1, -margin + 1}, true},
        {{margin, F(6.0f), 0}, false}, {{0, F(6.0f) - margin, 0}, false},
    };
    for (const auto& [at, inside] : cases) {
        aircraft.Place(at);
        EXPECT_EQ(route->IsInsideGateBox(), inside) << at.x << " " << at.y << " " << at.z;
    }
    context->playerAircraft = nullptr;
}

TEST_F(RouteTestWorld, RouteNameIsTheTextOfTheFirstQuotedDescriptionLine) {
    const std::string archive = WriteRoutes({
        "// \"not a description\"\n# A route without a name\n# Name: \"Over the Pass\" (easy)\n# \"Later\"\n",
        "# Open \"Valley run\r\n# \"Second\"\r\n",
        "# nothing quoted\nstart 0 0 0 6 0 0 0 1 0 1 0 1\n",
    });
    EXPECT_EQ(CSPRoute::GetRouteName(0, archive), "Over the Pass");
    EXPECT_EQ(CSPRoute::GetRouteName(1, archive), "Valley run");
    EXPECT_EQ(CSPRoute::GetRouteName(2, archive), "");
    EXPECT_EQ(CSPRoute::GetRouteDescription(0, archive),
              " A route without a name\n Name: \"Over the Pass\" (easy)\n \"Later\"\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(CSPRoute::GetRouteName(9, archive), "");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("buffer is NULL! (File not found)"),
              std::string::npos);
}

TEST_F(RouteTestWorld, MissingRouteOrArchiveThatIsNoZipGivesNoTextAndBuildsNothing) {
    const std::string broken = folder + "broken.zip";
    ASSERT_TRUE(image_test_files::WriteText(broken, "PK\x03\x04" + image_test_files::RandomBytes(300, 5)));
    for (const std::string& archive : {WriteRoutes({""}), broken}) {
        CSPRoute missing(*context, 9, archive);
        EXPECT_FALSE(missing.HasText());
        missing.LoadRoute();
        EXPECT_TRUE(context->sceneRoot->Nodes().empty());
        testing::internal::CaptureStderr();
        EXPECT_EQ(CSPRoute::GetRouteName(0, archive), "");
        testing::internal::GetCapturedStderr();
    }
    // Unknown lines, comments and missing words change nothing or read as zero.
    Load("sun 1 2 3\n//\n// obstacle red.png 0 0 0 6 0 0 0 0 2000 2000 200 10\nstart\nrunway asphalt.png\n");
    EXPECT_TRUE(context->sceneRoot->Nodes().empty());
    EXPECT_EQ(route->Runway(), nullptr);  // no terrain
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].cell, FSCell());
    EXPECT_EQ(starts[0].position, FSFixedVector());
}

TEST_F(RouteTestWorld, AWholeRouteBuildsItsWorldInTheContext) {
    Load(
        "# \"Test loop\"\r\nterrain flat.ter 1\r\nwind 10 0 0\r\nstart 0 0 0 6.2 -10 0 0 1 0 1 0 0.8\r\n"
        "tree trees/trees.png 0.012 0.005 0 0 1 1\r\nbuilding2 cube.obj red.png 0.01 0 0 -1 1 30\r\n"
        "cloud clouds/cloud.png 2 1 0 0 3 7 3\r\nrunway asphalt.png 0 0 0 0 -2 0 0 2 40\r\n"
        "clouds clouds/layer.png 35\r\nobstacle red.png 0 0 0 6 0 0 0 0 2000 2000 200 10 ground\r\n");
    ASSERT_NE(context->terrain, nullptr);
    EXPECT_TRUE(route->OwnsTerrain());
    EXPECT_EQ(starts.size(), 1u);
    EXPECT_EQ(route->ObstacleCount(), 1);
    const auto& nodes = context->sceneRoot->Nodes();
    ASSERT_EQ(nodes.size(), 6u);
    // Put first in turn: the cloud, then the runway, then the layer; both clouds drift.
    auto* layer = dynamic_cast<TFSClouds*>(nodes[0].get());
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->Distance(), F(35.0f));
    EXPECT_EQ(nodes[1].get(), route->Runway());
    ASSERT_NE(dynamic_cast<CFSCloudNode*>(nodes[2].get()), nullptr);
    for (const int drifting : {0, 2}) {
        const auto* movement = nodes[drifting]->GetMoveableAs<TSPOscillator>();
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
    // The route takes its terrain with it.
    route.reset();
    EXPECT_EQ(context->terrain, nullptr);
}

TEST_F(RouteTestWorld, BuildingOnASlopeSinksUntilNoBottomCornerFloats) {
    Load("terrain slope.ter 1\nbuilding cube.obj red.png 0.2 0 0 3 4 0\n");
    ASSERT_EQ(context->sceneRoot->Nodes().size(), 1u);
    const FSBox box = context->sceneRoot->Nodes()[0]->GetWorldBox();
    ASSERT_FALSE(box.IsEmpty());
    // Every corner of the box's bottom at or below the ground, the lowest-standing one on it.
    FSFixed deepest = kFixedMax, shallowest = kFixedMin;
    for (const FSFixed x : {box.min.x, box.max.x}) {
        for (const FSFixed z : {box.min.z, box.max.z}) {
            deepest = std::min(deepest, box.min.y - GroundAt(x, z, {0, 0}));
            shallowest = std::max(shallowest, box.min.y - GroundAt(x, z, {0, 0}));
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
    EXPECT_EQ(route->TotalPoints(), INT32_MAX);  // the saturated points add up without overflowing
}

// ---- The gate list ----

class GateListTest : public RouteTestWorld {
protected:
    // count gates of 10 points in one cell, listed in order.
    void MakeGates(int count = 3) {
        gates.clear();
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
        MakeGates();
        EXPECT_EQ(route->TotalPoints(), 30);
        for (const auto& step : sequence) {
            EXPECT_EQ(Take(step.gate, step.through), step.through) << step.gate;
            EXPECT_EQ(route->Score(), step.score) << step.gate;
        }
        EXPECT_TRUE(route->Started());
    }
    // Unknown or missing nodes score nothing; only the missing one is not clean.
    CSPObstacle stranger(nullptr, "red.png");
    MakeGates();
    EXPECT_TRUE(route->UpdateObstacleScore(&stranger));
    EXPECT_FALSE(route->UpdateObstacleScore(nullptr));
    EXPECT_EQ(route->Score(), 0);
    EXPECT_EQ(route->DealtWith(), 0);
}

TEST_F(GateListTest, TargetMovesOnlyWhenTheCurrentTargetIsTakenAndSkipsTakenGates) {
    MakeGates(4);
    gates[1]->SetTextureName("green.png");
    EXPECT_EQ(route->CurrentTarget(), gates[0].get());
    Take(2);  // not the target
    EXPECT_EQ(route->CurrentTarget(), gates[0].get());
    Take(0);  // the target: on to the next waiting gate
    EXPECT_EQ(route->CurrentTarget(), gates[1].get());
    Take(1);  // the third is taken already
    EXPECT_EQ(route->CurrentTarget(), gates[3].get());
    // A taken gate swaps its colour once (unless it wore another) and counts as dealt with.
    Take(0);
    EXPECT_EQ(gates[0]->TextureName(), "blue.png");
    EXPECT_EQ(gates[1]->TextureName(), "green.png");
    EXPECT_EQ(route->DealtWith(), 3);
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

}  // namespace
}  // namespace route_test
