// Route files read from a zip made by Info-ZIP: the start and every object wrapped into its
// cell, factors, wind, fog, gates on the ground or in the air, names, score and target.
#include <GLES/gl.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "RouteTestWorld.h"
#include "game/CSPObstacle.h"
#include "game/CSPRunway.h"
#include "game/TSPOscillator.h"
#include "world/FSBillboardNode.h"
#include "world/FSClouds.h"
#include "world/FSDamageable.h"

namespace route_test {
namespace {

GLfloat Fog(GLenum parameter) {
    GLfloat value = 0.0f;
    glGetFloatv(parameter, &value);
    return value;
}

TEST_F(RouteTestWorld, StartAndEveryPlacedObjectWrapIntoTheirCellAtMostOnceAndTheStartGoesOut) {
    const std::tuple<const char*, FSCell, float, float> starts_[] = {
        // line, cell, x, z
        {"start 0 0 31 6 0 0 0 1 0 1 0 0.5", {1, 0}, -29.0f, 0.0f},
        {"start 0 0 -30 6 0 0 0 1 0 1 0 0.5", {0, 0}, -30.0f, 0.0f},
        {"start 0 0 -31 6 0 0 0 1 0 1 0 0.5", {3, 0}, 29.0f, 0.0f},
        {"start -1 5 0 6 -30.5 0 0 1 0 1 0 0.5", {3, 0}, 0.0f, 29.5f},
        {"start 2 3 89 6 -89 0 0 1 0 1 0 0.5", {3, 2}, 29.0f, -29.0f},
    };
    for (const auto& [line, cell, x, z] : starts_) {
        starts.clear();
        Load(line);
        EXPECT_EQ(starts.at(0).cell, cell) << line;
        EXPECT_EQ(starts.at(0).position, At(x, 6.0f, z)) << line;
    }
    const std::pair<const char*, FSCell> objects[] = {
        {"obstacle red.png -1 2 0 6 0 0 0 0 2000 2000 200 10", {3, 2}},
        {"tree trees/trees.png 0.01 0.004 -1 -1 0 0", {3, 3}},
        {"cloud clouds/cloud.png 2 1 -1 5 0 7 0", {3, 1}},
        {"building cube.obj red.png 0.01 -1 -2 0 0 0", {3, 2}},
    };
    for (const auto& [line, cell] : objects) {
        Load(line);
        ASSERT_EQ(context->sceneRoot->Nodes().size(), 1u) << line;
        EXPECT_EQ(context->sceneRoot->Nodes()[0]->GetCell(), cell) << line;
    }
    // The start hands on a unit nose and the fuel fraction.
    Load("start 0 0 0 6 0 3 0 4 0 2 0 0.75 landing\n");
    EXPECT_NEAR(starts.back().nose.x, 0.6f, 1e-6f);
    EXPECT_NEAR(starts.back().nose.z, 0.8f, 1e-6f);
    EXPECT_EQ(starts.back().fuel, 0.75f);
    EXPECT_FALSE(route->Landing());  // without a terrain there is nowhere to land
    Load("start 0 0 0 6 0 0 0 0 0 1 0 0.0000005\n");
    EXPECT_EQ(starts.back().nose, FSVector());
    EXPECT_EQ(starts.back().fuel, 0.0f);
    EXPECT_TRUE(Load("terrain flat.ter 0\nstart 0 0 0 6 0 0 0 1 0 1 0 1 landing\n").Landing());
    EXPECT_TRUE(route->IsInsideGateBox());
}

TEST_F(RouteTestWorld, FactorsWindAndTimedAreReadAsGivenAndUnknownLinesChangeNothing) {
    Load("difficulty 2 1.5\n");
    for (const int aircraft : {0, 1, 2, 4, 7, -1})
        EXPECT_EQ(route->GetAircraftFactor(aircraft), aircraft == 0 ? 2.0f : aircraft == 1 ? 1.5f : 1.0f);
    EXPECT_EQ(Load("difficulty 1 2 3 4 5 6\n").GetAircraftFactor(5), 1.0f);  // no sixth aircraft
    // Wind is the file vector in thousandths, with dust dropped.
    EXPECT_EQ(Load("wind 500 0 0\n").Wind(), FSVector(0.5f, 0.0f, 0.0f));
    EXPECT_EQ(Load("wind 0.0005 -20 0\n").Wind(), FSVector(0.0f, -20.0f * 0.001f, 0.0f));
    EXPECT_FALSE(Load("// no wind\n").Timed());
    EXPECT_EQ(route->Wind(), FSVector());
    EXPECT_TRUE(Load("timed\n").Timed());
    // Unknown lines, comments and missing words change nothing or read as zero.
    Load("sun 1 2 3\n//\n// obstacle red.png 0 0 0 6 0 0 0 0 2000 2000 200 10\nstart\nrunway asphalt.png\n");
    EXPECT_TRUE(context->sceneRoot->Nodes().empty());
    EXPECT_EQ(route->Runway(), nullptr);  // no terrain
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].cell, FSCell());
    EXPECT_EQ(starts[0].position, FSFixedVector());
}

TEST_F(RouteTestWorld, MystSwitchesTheFogOnByItsModeAndTheRouteSwitchesItOff) {
    // The line, its fog mode and one of the fog's parameters with its value.
    const std::tuple<const char*, GLint, GLenum, float> cases[] = {
        {"myst lin 2 20", GL_LINEAR, GL_FOG_START, 2.0f},
        {"myst exp 0.25", GL_EXP, GL_FOG_DENSITY, 0.25f},
        {"myst thick 2 20", GL_LINEAR, GL_FOG_START, 8.0f},  // unknown mode: the default fog
        {"myst", GL_LINEAR, GL_FOG_END, 30.0f},
    };
    for (const auto& [line, mode, parameter, value] : cases) {
        glDisable(GL_FOG);
        Load(line);
        EXPECT_TRUE(glIsEnabled(GL_FOG)) << line;
        EXPECT_EQ(static_cast<GLint>(Fog(GL_FOG_MODE)), mode) << line;
        EXPECT_NEAR(Fog(parameter), value, 1e-4f) << line;
        route.reset();
        EXPECT_FALSE(glIsEnabled(GL_FOG)) << line;
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
    EXPECT_GT(movement->Period(), 0.0f);
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
    // A missing route and an archive that is no zip give no text, no name and build nothing.
    const std::string broken = folder + "broken.zip";
    ASSERT_TRUE(image_test_files::WriteText(broken, "PK\x03\x04" + image_test_files::RandomBytes(300, 5)));
    for (const auto& [index, from] : {std::make_pair(9, archive), std::make_pair(0, broken)}) {
        CSPRoute missing(*context, index, from);
        EXPECT_FALSE(missing.HasText());
        missing.LoadRoute();
        EXPECT_TRUE(context->sceneRoot->Nodes().empty());
        testing::internal::CaptureStderr();
        EXPECT_EQ(CSPRoute::GetRouteName(index, from), "");
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(index != 9 || said.find("buffer is NULL! (File not found)") != std::string::npos);
    }
}

TEST_F(RouteTestWorld, AWholeRouteBuildsItsWorldInTheContext) {
    Load(
        "# \"Test loop\"\r\nterrain flat.ter 1\r\nwind 10 0 0\r\nstart 0 0 0 6.2 -10 0 0 1 0 1 0 0.8\r\n"
        "tree trees/trees.png 0.012 0.005 0 0 1 1\r\nbuilding2 cube.obj red.png 0.01 0 0 -1 1 30\r\n"
        "cloud clouds/cloud.png 2 1 0 0 3 7 3\r\nrunway asphalt.png 0 0 0 0 -2 0 0 2 40\r\n"
        "clouds clouds/layer.png 35\r\nobstacle red.png 0 0 0 6 0 0 0 0 2000 2000 200 10 ground\r\n");
    ASSERT_TRUE(context->terrain && route->OwnsTerrain());
    EXPECT_EQ(route->ObstacleCount(), 1);
    const auto& nodes = context->sceneRoot->Nodes();
    ASSERT_EQ(nodes.size(), 6u);
    // Put first in turn: the cloud, then the runway, then the layer; both clouds drift.
    EXPECT_EQ(NodesOf<TFSClouds>().at(0)->Distance(), F(35.0f));
    EXPECT_EQ(nodes[1].get(), route->Runway());
    for (const int drifting : {0, 2}) {
        const auto* movement = nodes[drifting]->GetMoveableAs<TSPOscillator>();
        EXPECT_TRUE(movement && movement->Period() == 0.0f) << drifting;
    }
    // The tree stands on the ground and can be hit; the building is culled with the
    // terrain square under it.
    const CFSBillboardNode& tree = *NodesOf<CFSBillboardNode>().at(0);
    EXPECT_EQ(tree.GetPosition().y, GroundAt(F(1.0f), F(1.0f), {0, 0}));
    EXPECT_NE(DamageOf(tree), nullptr);
    const MFSSceneNode& building = *nodes[4];
    EXPECT_EQ(building.GetCullFlags() & kCullByTerrainTile, kCullByTerrainTile);
    EXPECT_EQ(building.GetTerrainTile(), context->terrain->model->TileOf(building.GetPosition(), {0, 0}));
    route.reset();  // the route takes its terrain with it
    EXPECT_EQ(context->terrain, nullptr);
}

TEST_F(RouteTestWorld, BuildingOnASlopeSinksUntilNoBottomCornerFloats) {
    Load("terrain slope.ter 1\nbuilding cube.obj red.png 0.2 0 0 3 4 0\n");
    ASSERT_EQ(context->sceneRoot->Nodes().size(), 1u);
    const FSBox box = context->sceneRoot->Nodes()[0]->GetWorldBox();
    ASSERT_FALSE(box.IsEmpty());
    // Every corner of the box's bottom at or below the ground, the lowest-standing one on it.
    std::vector<FSFixed> above;
    for (const FSFixed x : {box.min.x, box.max.x})
        for (const FSFixed z : {box.min.z, box.max.z})
            above.push_back(box.min.y - GroundAt(x, z, {0, 0}));
    const FSFixed deepest = *std::min_element(above.begin(), above.end());
    const FSFixed shallowest = *std::max_element(above.begin(), above.end());
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
    for (const auto& node : context->sceneRoot->Nodes())
        EXPECT_TRUE(node->GetCell().column >= 0 && node->GetCell().column < 4 && node->GetCell().row >= 0 &&
                    node->GetCell().row < 4);
    for (const CSPObstacle* gate : NodesOf<CSPObstacle>())
        EXPECT_LE(gate->GetModel()->LargestExtent(), FixedFromInt(4000));
    ASSERT_FALSE(starts.empty());
    EXPECT_EQ(route->TotalPoints(), INT32_MAX);  // the saturated points add up without overflowing
}

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
    // Gate i passed clean (through) or hit and blown up, as the game reports it; whether clean.
    bool Take(int i, bool through = true) {
        if (!through) gates[i]->Remove();
        const bool clean = route->UpdateObstacleScore(gates[i].get());
        route->AdvanceTarget(gates[i].get());
        return clean;
    }
    std::vector<std::unique_ptr<CSPObstacle>> gates;
};

TEST_F(GateListTest, EachGateScoresItsPointsOverOnePlusTheGatesMissedBeforeIt) {
    const std::tuple<int, bool, int> sequences[][3] = {
        // gate, passed through, score
        {{2, true, 3}, {0, true, 15}, {1, true, 30}},
        {{0, false, 0}, {1, true, 5}, {2, true, 10}},
        {{1, true, 5}, {1, false, 0}, {0, true, 10}},
    };
    for (const auto& sequence : sequences) {
        MakeGates();
        for (const auto& [gate, through, score] : sequence) {
            EXPECT_EQ(Take(gate, through), through) << gate;
            EXPECT_EQ(route->Score(), score) << gate;
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

TEST_F(GateListTest, TargetMovesOnlyWhenTheCurrentTargetIsTakenAndSkipsTakenOrDeletedGates) {
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
    // A deleted gate is dropped from the list and counts as missed.
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
