// The route file's lines: what each keyword reads and what it puts into the world.
#include <GLES/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "game/CSPObstacle.h"
#include "game/CSPRoute.h"
#include "game/CSPRunway.h"
#include "game/TSPOscillator.h"
#include "resources/FSKeywordReader.h"
#include "world/FSBillboardNode.h"
#include "world/FSCloudNode.h"
#include "world/FSClouds.h"
#include "world/FSDamageable.h"
#include "world/FSMeshedNode.h"
#include "world/FSRandom.h"
#include "world/FSScene.h"
#include "world/FSTerrainHolder.h"

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;
// The ground is probed from this height (16.16 km), above every terrain.
constexpr FSFixed kProbeHeight = 12 * kFixedOne;
// "air" gates swing with this period parameter; clouds drift (0).
constexpr float kAirSwing = 5.0f;
// Fog of a "myst" line without a known mode: linear from 8 to 30 km.
constexpr float kDefaultFogStart = 8.0f;
constexpr float kDefaultFogEnd = 30.0f;
// What a building and a tree can take (threshold, health, health, fatal value).
constexpr float kBuildingDamage[4] = {100.0f, 100000.0f, 100000.0f, 1000.0f};
constexpr float kTreeDamage[4] = {100.0f, 10000.0f, 10000.0f, 1000.0f};

int WrapCell(int number) {
    return ((number % kCellsPerSide) + kCellsPerSide) % kCellsPerSide;
}

// A number truncated toward zero, modulo 4 into 0..3; any size (a number beyond the int
// range as well), not-a-number and infinities give 0.
int TruncatedCellIndex(float number) {
    const float remainder = std::fmod(std::trunc(number), static_cast<float>(kCellsPerSide));
    return std::isfinite(remainder) ? WrapCell(static_cast<int>(remainder)) : 0;
}

// A cell from two numbers truncated toward zero (gates, buildings, clouds, runway).
FSCell TruncatedCell(FSWords& words) {
    const float column = words.NextFloat();
    const float row = words.NextFloat();
    return {TruncatedCellIndex(column), TruncatedCellIndex(row)};
}

// A sum of 16.16 values worked out wide and held in the 16.16 range (hostile files may
// give any size).
FSFixed Clamped(int64_t value) {
    return static_cast<FSFixed>(std::clamp<int64_t>(value, kFixedMin, kFixedMax));
}

FSFixed AddClamped(FSFixed a, FSFixed b) {
    return Clamped(static_cast<int64_t>(a) + b);
}

// |v| wide: the most negative value has a magnitude too.
int64_t Magnitude(FSFixed v) {
    return std::abs(static_cast<int64_t>(v));
}

// A cell from the integer parts of two 16.16 numbers, that is floored (start, trees).
FSCell FlooredCell(FSWords& words) {
    const int32_t column = words.NextFixed();
    const int32_t row = words.NextFixed();
    return {WrapCell(column >> 16), WrapCell(row >> 16)};
}

// Every length and position a file gives is held within this (16.16 km), far beyond any
// real route, so that the sums and negations of the world's arithmetic stay in range.
constexpr FSFixed kLargestValue = FixedFromInt(10000);

FSFixed Bounded(FSFixed value) {
    return std::clamp(value, -kLargestValue, kLargestValue);
}

FSFixed BoundedFixed(FSWords& words) {
    return Bounded(words.NextFixed());
}

// A number with the small-value rule, as 16.16.
FSFixed SmallRuleFixed(FSWords& words) {
    return Bounded(FloatToFixed(KeepAboveNearZero(words.NextFloat())));
}

FSFixedVector SmallRulePoint(FSWords& words) {
    const FSFixed x = SmallRuleFixed(words);
    const FSFixed y = SmallRuleFixed(words);
    return {x, y, SmallRuleFixed(words)};
}

void AttachDamage(MFSSceneNode& node, const float (&values)[4]) {
    node.SetSecondAttachment(std::make_unique<MFSDamageable>(values[0], values[1], values[2], values[3]));
}

// Places a node at position in cell (wrapped into it) as its previous position too.
void PlaceStill(MFSSceneNode& node, const FSCell& cell, const FSFixedVector& position) {
    node.SetCell(cell);
    node.Place(position);
    node.SavePosition();
}

}  // namespace

void CSPRoute::ParseRouteLine(const std::string& line) {
    FSWords words(line);
    const std::string_view keyword = words.Next();
    switch (KindOfFirstWord(keyword)) {
        case FSWordLineKind::Comment:
            return;
        case FSWordLineKind::Description:
            descriptionLines_.push_back(line.substr(line.find('#') + 1));
            return;
        case FSWordLineKind::Keyword:
            break;
    }
    if (keyword == "terrain") return ReadTerrain(words);
    if (keyword == "start") return ReadStart(words);
    if (keyword == "obstacle") return ReadObstacle(words);
    if (keyword == "difficulty") return ReadDifficulty(words);
    if (keyword == "building") return ReadBuilding(words, false);
    if (keyword == "tree") return ReadTree(words, false);
    if (keyword == "building2") return ReadBuilding(words, true);
    if (keyword == "tree2") return ReadTree(words, true);
    if (keyword == "cloud") return ReadCloud(words);
    if (keyword == "clouds") return ReadClouds(words);
    if (keyword == "runway") return ReadRunway(words);
    if (keyword == "wind") return ReadWind(words);
    if (keyword == "myst") return ReadMyst(words);
    if (keyword == "timed") timed_ = true;
}

void CSPRoute::ReadTerrain(FSWords& words) {
    const std::string name(words.Next());
    context_.terrain = std::make_unique<CFSTerrainHolder>(context_.textureCache.get());
    ownsTerrain_ = true;
    // A terrain that cannot be read leaves the slot empty: the route is then flown over
    // no ground rather than over a holder that answers no height.
    if (!context_.terrain->model->Load(terrainArchive_, name, context_.video.visibilityRange, true))
        context_.terrain.reset();
}

void CSPRoute::ReadStart(FSWords& words) {
    SPRouteStart start;
    start.cell = FlooredCell(words);
    const FSFixed x = BoundedFixed(words);
    const FSFixed y = BoundedFixed(words);
    start.position = {x, y, BoundedFixed(words)};
    WrapIntoCell(start.position, start.cell);
    const FSTextPoint nose = words.NextPoint();
    start.nose = Normalise(FSVector::Raw(nose.x, nose.y, nose.z));
    const FSTextPoint up = words.NextPoint();
    start.up = FSVector::Raw(up.x, up.y, up.z);
    start.fuel = KeepAboveNearZero(words.NextFloat());
    if (words.Next() == "landing" && Terrain()) landing_ = true;
    if (onStart) onStart(start);
}

void CSPRoute::ReadObstacle(FSWords& words) {
    if (!context_.sceneRoot) return;
    auto made = std::make_unique<CSPObstacle>(context_.textureCache.get(), std::string(words.Next()));
    CSPObstacle& obstacle = *made;
    obstacle.SetCell(TruncatedCell(words));
    FSFixedVector position = SmallRulePoint(words);
    obstacle.SetPosition(position);
    obstacle.Move(position);
    // The three turns about axes copied before the first one.
    const FSVector y = ToFloat(obstacle.GetAxisY()), z = ToFloat(obstacle.GetAxisZ());
    const FSVector axes[3] = {Cross(z, y), z, y};
    for (const FSVector& axis : axes)
        obstacle.Rotate(axis, words.NextFloat() * kRadiansPerDegree);
    const FSTextPoint size = words.NextPoint();
    obstacle.FitToSize(ToFixed(FSVector(size.x, size.y, size.z) * 0.001f));
    const int points = words.NextInt();

    std::string_view placing = words.Next();
    const CFSTerrainStorage* terrain = Terrain();
    if (placing == "air") {
        // A gate "in the air" that stands in the ground is put on it instead.
        if (terrain && terrain->HeightAboveAt(obstacle.GetPosition(), obstacle.GetCell()) < kFixedOne)
            placing = "ground";
        else
            AddDrift(obstacle, kAirSwing);
    }
    if (placing == "ground" && terrain) {
        // The bottom of the frame's box stands on the ground.
        position = obstacle.GetPosition();
        const FSFixed above =
            terrain->HeightAboveAt({position.x, kProbeHeight, position.z}, obstacle.GetCell());
        position.y = Clamped(kProbeHeight + Magnitude(obstacle.GetModel()->min.y) - above);
        obstacle.SetPosition(position);
        obstacle.SavePosition();
    }

    context_.sceneRoot->Add(std::move(made));
    if (context_.collisionDetector) context_.collisionDetector->Insert(&obstacle);
    OfferObstacle(&obstacle, points);
}

void CSPRoute::ReadDifficulty(FSWords& words) {
    for (float& factor : aircraftFactor_) {
        const std::string_view word = words.Next();
        if (word.empty()) break;
        factor = KeepAboveNearZero(ToFloat(word));
    }
}

void CSPRoute::ReadBuilding(FSWords& words, bool cullByTile) {
    const std::string model(words.Next());
    const std::string texture(words.Next());
    const float scale = KeepAboveNearZero(words.NextFloat());
    const FSCell cell = TruncatedCell(words);
    const FSFixed x = SmallRuleFixed(words);
    const FSFixed z = SmallRuleFixed(words);
    const float heading = KeepAboveNearZero(words.NextFloat());
    CFSMeshedNode* building = context_.engine ? context_.engine->CreateMeshedNode(model, texture) : nullptr;
    if (!building) return;
    AttachDamage(*building, kBuildingDamage);
    const FSFixed factor = Bounded(FloatToFixed(scale));
    building->Scale({factor, factor, factor});
    building->SetOrientation(FromAxisAngle(FSVector(0.0f, 1.0f, 0.0f), heading * kRadiansPerDegree));

    FSFixed y = 0;
    if (const CFSTerrainStorage* terrain = Terrain()) {
        // The bottom of the box on the ground under the centre, then lowered so that no
        // bottom corner (turned with the building, about its position) floats on a slope.
        const FSBox& box = *building->GetModel();
        FSFixed m = Clamped(terrain->HeightAboveAt({x, kProbeHeight, z}, cell) - Magnitude(box.min.y));
        for (const FSFixed cx : {box.min.x, box.max.x}) {
            for (const FSFixed cz : {box.min.z, box.max.z}) {
                const FSFixedVector corner =
                    ToFixed(Rotate(building->GetOrientation(), ToFloat({cx, 0, cz})));
                const FSFixedVector probe{AddClamped(x, corner.x), AddClamped(kProbeHeight, box.min.y),
                                          AddClamped(z, corner.z)};
                m = std::max(m, terrain->HeightAboveAt(probe, cell));
            }
        }
        y = Clamped(static_cast<int64_t>(kProbeHeight) - m);
    }
    PlaceStill(*building, cell, {x, y, z});
    if (cullByTile) {
        building->SetCullFlags(building->GetCullFlags() | kCullByTerrainTile);
        if (const CFSTerrainStorage* terrain = Terrain()) building->UpdateTerrainTile(*terrain);
    }
    if (context_.collisionDetector) context_.collisionDetector->Insert(building);
}

void CSPRoute::ReadTree(FSWords& words, bool cullByTile) {
    const std::string texture(words.Next());
    const FSFixed height = BoundedFixed(words);
    const FSFixed halfWidth = BoundedFixed(words);
    const FSCell cell = FlooredCell(words);
    const FSFixed x = BoundedFixed(words);
    const FSFixed z = BoundedFixed(words);
    const int variant = WorldRandom().Next() % 16;
    CFSBillboardNode* tree =
        context_.engine ? context_.engine->CreateBillboard(height, halfWidth, texture, variant) : nullptr;
    if (!tree) return;
    AttachDamage(*tree, kTreeDamage);
    const CFSTerrainStorage* terrain = Terrain();
    const FSFixed y = terrain ? -terrain->HeightAboveAt({x, 0, z}, cell) : 0;
    PlaceStill(*tree, cell, {x, y, z});
    if (cullByTile) {
        tree->SetCullFlags(tree->GetCullFlags() | kCullByTerrainTile);
        if (terrain) tree->UpdateTerrainTile(*terrain);
    }
    if (context_.collisionDetector) context_.collisionDetector->Insert(tree);
}

void CSPRoute::ReadCloud(FSWords& words) {
    if (!context_.sceneRoot) return;
    const std::string texture(words.Next());
    const FSFixed width = SmallRuleFixed(words);
    const FSFixed height = SmallRuleFixed(words);
    const FSCell cell = TruncatedCell(words);
    const FSFixedVector position = SmallRulePoint(words);
    auto made = std::make_unique<CFSCloudNode>(width, height, context_.textureCache.get(), texture);
    CFSCloudNode* cloud = context_.sceneRoot->Add(std::move(made));
    cloud->SetVisible(true);
    context_.sceneRoot->MoveToFront(cloud);
    AddDrift(*cloud, 0.0f);
    PlaceStill(*cloud, cell, position);
}

void CSPRoute::ReadClouds(FSWords& words) {
    if (!context_.sceneRoot) return;
    const std::string texture(words.Next());
    // a: distance; b and c: top and bottom as heights above the sea, whose scene height
    // the layer's own defaults already include. Reading stops at the first missing word.
    FSFixed values[3] = {TFSClouds::kDefaultDistance, TFSClouds::kDefaultTop, TFSClouds::kDefaultBottom};
    const FSFixed offsets[3] = {0, kSeaLevel, kSeaLevel};
    for (int i = 0; i < 3; ++i) {
        const std::string_view word = words.Next();
        if (word.empty()) break;
        values[i] = Bounded(ToFixed(word)) + offsets[i];
    }
    auto made =
        std::make_unique<TFSClouds>(context_.textureCache.get(), texture, values[0], values[1], values[2]);
    TFSClouds* layer = context_.sceneRoot->Add(std::move(made));
    context_.sceneRoot->MoveToFront(layer);
    AddDrift(*layer, 0.0f);
}

void CSPRoute::ReadRunway(FSWords& words) {
    const std::string texture(words.Next());
    const FSCell cell = TruncatedCell(words);
    const FSFixedVector a = SmallRulePoint(words);
    const FSFixedVector b = SmallRulePoint(words);
    const FSFixed width = FloatToFixed(words.NextFloat() * 0.001f);
    const CFSTerrainStorage* terrain = Terrain();
    if (!terrain || !context_.sceneRoot) return;
    runway_ = context_.sceneRoot->Add(
        std::make_unique<CSPRunway>(context_.textureCache.get(), texture, a, b, width, cell, *terrain));
    context_.sceneRoot->MoveToFront(runway_);
}

void CSPRoute::ReadWind(FSWords& words) {
    const FSTextPoint w = words.NextPoint();
    wind_ = FSVector(w.x * 0.001f, w.y * 0.001f, w.z * 0.001f);
}

void CSPRoute::ReadMyst(FSWords& words) {
    glEnable(GL_FOG);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    const std::string_view mode = words.Next();
    if (mode == "exp") {
        glFogx(GL_FOG_MODE, GL_EXP);
        glFogx(GL_FOG_DENSITY, words.NextFixed());
        return;
    }
    float start = kDefaultFogStart, end = kDefaultFogEnd;
    if (mode == "lin") {
        start = words.NextFloat();
        end = words.NextFloat();
    }
    glFogx(GL_FOG_MODE, GL_LINEAR);
    glFogx(GL_FOG_START, FloatToFixed(start));
    glFogx(GL_FOG_END, FloatToFixed(end));
}

void CSPRoute::AddDrift(MFSSceneNode& node, float period) {
    node.SetMoveableObject(std::make_unique<TSPOscillator>(node, wind_, period, context_.sineTable,
                                                           WorldRandom(), context_.randomSeed));
}
