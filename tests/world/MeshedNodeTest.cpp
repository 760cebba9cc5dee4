// The nodes an aircraft is made of: meshed nodes (made from the models archive, scaled in
// place) and the propeller disc (where it stands on its owner, how many blades it shows,
// its end with the owner); both drawn for real.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

#include "resources/FSArchive.h"
#include "resources/FSMeshLoader.h"
#include "world/FSMeshedNode.h"
#include "world/FSPropellerL.h"
#include "world/FSSineTable.h"
#include "world/FSThrustSource.h"
#include "world/PictureTestSupport.h"

using world_test::F;
using world_test::PictureTest;
using world_test::Rgb;
using world_test::TestNode;

namespace {

CFSMeshLoader& Models() {
    static CFSMeshLoader loader(MakeDataPath("data\\models.zip"));
    return loader;
}

std::unique_ptr<CFSMeshedNode> Cube(CFSTextureCache* textures = nullptr) {
    return CFSMeshedNode::CreateMeshedNode(Models(), textures, "cube.obj", "red.png");
}

// The gate texture's face and its lighter rim.
bool IsRed(const Rgb& p) {
    return p.r > 150 && p.r > p.g + 60 && p.r > p.b + 60;
}
bool IsWhite(const Rgb& p) {
    return p.r > 220 && p.g > 220 && p.b > 220;
}

TEST(MeshedNode, IsMadeFromTheModelWithArraysOfItsOwnThatScaleComponentWise) {
    std::unique_ptr<CFSMeshedNode> a = Cube(), b = Cube();
    EXPECT_TRUE(a->TriangleCount() == 12 && *a->GetModel() == world_test::Cube(0.5));
    const std::vector<FSFixed> positions = a->Positions(), normals = a->Normals();
    a->Scale({2 * kFixedOne, kFixedOne, kFixedOne});
    for (size_t i = 0; i < positions.size(); i += 3) {
        ASSERT_EQ(a->Positions()[i], 2 * positions[i]);
        ASSERT_EQ(a->Positions()[i + 1], positions[i + 1]);
    }
    EXPECT_EQ(a->Normals(), normals);
    // A sloped face stretched along x leans toward y: its normal (1, 1, 0) / √2 turns to
    // (1, 2, 0) / √5, still of unit length.
    CFSMeshedNode slope(1, 0, nullptr, "");
    slope.AllocateMesh();  // zeroed arrays for one vertex and no triangle
    EXPECT_TRUE(slope.TexCoords() == std::vector<FSFixed>(2, 0) && slope.Indices().empty());
    slope.Normals() = {F(0.70710678), F(0.70710678), 0};
    slope.Scale({2 * kFixedOne, kFixedOne, kFixedOne});
    EXPECT_TRUE(std::abs(slope.Normals()[0] - F(0.4472136)) < 3 &&
                std::abs(slope.Normals()[1] - F(0.8944272)) < 3);
    EXPECT_EQ(*a->GetModel(), FSBox::FromCorners({-F(1), -F(0.5), -F(0.5)}, {F(1), F(0.5), F(0.5)}));
    EXPECT_EQ(b->GetModel()->max.x, F(0.5));  // b's copy is untouched
    a->FitToSize({F(0.5), F(3), F(1)});       // through Scale with size / extent
    EXPECT_EQ(a->GetModel()->Extent(), (FSFixedVector{F(0.5), F(3), F(1)}));
    // A model that cannot be read: the node exists and shows nothing; its empty box stays
    // empty when scaled instead of becoming a small real box.
    std::unique_ptr<CFSMeshedNode> missing =
        CFSMeshedNode::CreateMeshedNode(Models(), nullptr, "no such.obj", "");
    EXPECT_EQ(missing->TriangleCount(), 0);
    missing->Scale({2 * kFixedOne, 3 * kFixedOne, kFixedOne / 2});
    EXPECT_EQ(*missing->GetModel(), FSBox::Empty());
}

class MeshedNodeDrawTest : public PictureTest {
protected:
    // The sun behind the camera, which looks along −z: the faces it sees show their
    // colours in full.
    void SetUp() override {
        PictureTest::SetUp();
        scene.Camera().SetLightDirection({0, 0, kFixedOne});
    }
    CFSMeshedNode* AddCube(FSFixed size = kFixedOne) {
        std::unique_ptr<CFSMeshedNode> node = Cube(textures.get());
        node->Scale({size, size, size});
        return scene.Add(std::move(node));
    }
};

TEST_F(MeshedNodeDrawTest, ARedCubeShowsAtTheCentreLitByTheCameraLightWithItsHighlightAroundIt) {
    Look({0, 0, F(3)}, {0, 0, 0});
    CFSMeshedNode* cube = AddCube();
    EXPECT_NE(cube->GetTexture(), 0u);
    Render(0, 0, 0);
    const Rgb full = At(kWidth / 2, kHeight / 2);
    EXPECT_TRUE(cube->WasDrawn() && IsRed(At(kWidth / 2, kHeight / 2)) &&
                IsRed(At(kWidth / 2 + 30, kHeight / 2 - 30)) && Pixel(5, 5) == 0u);
    // About a unit wide at 2.5 units, with a 60° view over 320 rows: some 110 pixels.
    EXPECT_NEAR(Count(IsRed, kHeight / 2), 110, 20);
    EXPECT_EQ(Count(IsWhite), 0);
    // Highlighted: a square of half side 0.75 × the largest extent (1.0) at 3 units, about
    // 69 pixels out, drawn as two-pixel lines, not filled.
    cube->SetHighlight(1);
    Render(0, 0, 0);
    int left = -1, right = -1;
    for (int x = 0; x < kWidth; ++x) {
        if (!IsWhite(At(x, kHeight / 2))) continue;
        if (left < 0) left = x;
        right = x;
    }
    EXPECT_NEAR(left, kWidth / 2 - 69, 4);
    EXPECT_NEAR(right, kWidth / 2 + 69, 4);
    EXPECT_TRUE(Count(IsWhite, kHeight / 2) <= 6 && IsRed(At(kWidth / 2, kHeight / 2)));
    int top = 0;  // the top side, some 138 pixels long
    for (int y = kHeight / 2 - 73; y <= kHeight / 2 - 65; ++y)
        top = std::max(top, Count(IsWhite, y));
    EXPECT_NEAR(top, 138, 15);
    // A removed node is not marked, and an invisible one not drawn.
    cube->Remove();
    Render(0, 0, 0, cube);
    EXPECT_TRUE(cube->WasDrawn() && Count(IsWhite) == 0);
    cube->SetVisible(false);
    Render(0, 0, 0, cube);
    EXPECT_TRUE(!cube->WasDrawn() && Count(IsRed) == 0);
    // Lit by the camera's light whatever the state it finds (Render switches lighting off):
    // with the sun behind it, by the sky's share alone, in the colour of the daylight.
    cube->SetVisible(true);
    scene.Camera().SetLightDirection({0, 0, -kFixedOne});
    scene.Camera().SetDaylight({kFixedOne, kFixedOne / 2, kFixedOne / 2});
    Look({0, 0, F(3)}, {0, 0, 0});
    Render(0, 0, 0, cube);
    const float sky = FixedToFloat(CFSCamera::kSkyShare);
    EXPECT_NEAR(At(kWidth / 2, kHeight / 2).r, full.r * sky, 3);
    EXPECT_NEAR(At(kWidth / 2, kHeight / 2).g, full.g * sky / 2, 3);
}

TEST_F(MeshedNodeDrawTest, IsDrawnWithin16UnitsOfTheCameraOnEverySideAndNotBeyond) {
    CFSMeshedNode* cube = AddCube(4 * kFixedOne);
    // Along −x, +y and +z, 10 and 20 units away; then 11 units away across the world's seam.
    for (const FSFixedVector& d :
         {FSFixedVector{-kFixedOne, 0, 0}, FSFixedVector{0, kFixedOne, 0}, FSFixedVector{0, 0, kFixedOne}}) {
        for (int distance : {20, 10}) {
            cube->SetPosition(::Scale(d, F(distance)));
            scene.Camera().SetLightDirection(-d);
            scene.Camera().LookAt(
                {}, d, d.y != 0 ? FSFixedVector{0, 0, kFixedOne} : FSFixedVector{0, kFixedOne, 0}, 0);
            Render(0, 0, 0);
            EXPECT_EQ(cube->WasDrawn(), distance == 10)
                << d.x << " " << d.y << " " << d.z << " at " << distance;
            EXPECT_EQ(IsRed(At(kWidth / 2, kHeight / 2)), distance == 10) << d.x << " " << d.y << " " << d.z;
        }
    }
    Look({F(-29), 0, 0}, {F(-30), 0, 0}, {0, 0});
    cube->SetCell({3, 0});
    cube->SetPosition({F(20), 0, 0});
    Render(0, 0, 0);
    EXPECT_TRUE(cube->WasDrawn());
}

// The aircraft's physics as far as the propeller sees it.
class Engine : public MFSProperty, public MFSThrustSource {
public:
    float ThrustFraction() const override { return fraction; }
    float fraction = 0.0f;
};

// 10 m wide, 4 m high, 22 m long, the nose 12 m ahead.
std::unique_ptr<TestNode> Aircraft() {
    auto node = std::make_unique<TestNode>("aircraft");
    node->model = world_test::Box(-0.005, -0.01, -0.002, 0.005, 0.012, 0.002);
    return node;
}

TEST(Propeller, StandsAtTheNoseTipFollowsItsOwnerAndWrapsIntoTheNextCell) {
    SineTable sine;
    CFSScene scene;
    std::unique_ptr<TestNode> owner = Aircraft();
    TFSPropellerL propeller(owner.get(), sine);
    const FSFixed radius = F(0.002);  // half the owner's height
    EXPECT_EQ(propeller.Radius(), radius);
    owner->SetCell({1, 2});
    owner->Place({F(5), F(1), F(-3)});
    propeller.Update(scene, {});
    EXPECT_EQ(propeller.GetCell(), (FSCell{1, 2}));
    EXPECT_EQ(propeller.GetPosition(), (FSFixedVector{F(5), F(1) + F(0.012), F(-3) + radius / 4}));
    // Nose along +x, up along +y: the offsets turn with the owner; sideways is nose × up.
    owner->LookAlong(FSVector(1, 0, 0), FSVector(0, 1, 0));
    propeller.SetOffsets(F(0.5), F(0.25), F(0.125));
    propeller.Update(scene, {});
    for (const auto& [axis, at] : {std::pair{0, 5.5}, {1, 1.25}, {2, -2.875}})
        EXPECT_NEAR(propeller.GetPosition()[axis], F(at), 66) << axis;
    propeller.Adjust(2.0f);  // the off-nose placement
    EXPECT_TRUE(propeller.Radius() == 2 * radius && propeller.OffsetAlongUp() == -2 * radius);
    EXPECT_EQ(propeller.OffsetAlongNose(), 2 * F(0.012));
    // On the nose again, at the cell's edge: the disc wraps into the next cell, just ahead.
    propeller.Adjust();
    EXPECT_EQ(propeller.OffsetAlongUp(), radius / 4);
    owner->SetCell({3, 0});
    owner->Place({F(29.995), F(1), 0});
    propeller.Update(scene, {});
    EXPECT_EQ(propeller.GetCell(), (FSCell{0, 0}));
    EXPECT_NEAR(WrappedDifference(propeller.GetPosition(), {0, 0}, owner->GetPosition(), {3, 0}).x, F(0.012),
                66);
}

TEST(Propeller, BladeCountGrowsWithThrustUpToSixteenAtHalfThrust) {
    // An odd count is made even; below nothing, above half thrust sixteen.
    const std::pair<float, int> counts[] = {{0.0f, 0},   {0.03f, 0}, {0.03125f, 2}, {0.1f, 4},  {0.25f, 8},
                                            {0.49f, 16}, {0.5f, 16}, {1.0f, 16},    {-0.3f, 0}, {NAN, 0}};
    for (const auto& [thrust, blades] : counts)
        EXPECT_EQ(TFSPropellerL::BladeCount(thrust), blades) << thrust;
}

TEST(Propeller, IsRemovedWithItsOwnerAndForgetsAnOwnerThatIsDeleted) {
    SineTable sine;
    CFSScene scene;
    TestNode* owner = scene.Add(Aircraft());
    TFSPropellerL* propeller = scene.Add(std::make_unique<TFSPropellerL>(owner, sine));
    owner->Remove();
    EXPECT_TRUE(propeller->IsRemoved());
    scene.Update({});
    EXPECT_TRUE(scene.Nodes().empty());
    // Deleted without being removed first (a flight torn down): the disc lets go of it.
    std::unique_ptr<TestNode> lost = Aircraft();
    TFSPropellerL orphan(lost.get(), sine);
    lost.reset();
    EXPECT_TRUE(orphan.GetOwner() == nullptr && orphan.IsRemoved());
    orphan.Update(scene, {});
    orphan.Draw(scene);
    EXPECT_TRUE(orphan.DrawnPairs() == 0 && orphan.ThrustFraction() == 0.0f);
}

class PropellerDrawTest : public world_test::PictureTest {};

// The disc seen head-on: the aircraft's nose points at the camera 4 units away, the disc's
// radius is 1 unit; over a mid-grey background the idle blades are lighter, the running
// blur darker.
TEST_F(PropellerDrawTest, DrawsOneLightPairAtIdleAndMoreDarkPairsWithThrust) {
    SineTable sine;
    TestNode* owner = scene.Add(std::make_unique<TestNode>());
    owner->model = world_test::Cube(1);
    owner->LookAlong(FSVector(0, 0, 1), FSVector(0, 1, 0));
    auto physics = std::make_unique<Engine>();
    Engine* engine = physics.get();
    owner->SetMoveableObject(std::move(physics));
    TFSPropellerL* propeller = scene.Add(std::make_unique<TFSPropellerL>(owner, sine));
    Look({0, F(0.25), F(5)}, {0, F(0.25), 0});
    scene.Update({});
    const double disc = 3.14159265 * std::pow(kHeight / (2 * std::tan(3.14159265 / 6) * 4), 2);  // pixels
    auto lighter = [](const Rgb& p) { return p.r > 200 && p.g > 200 && p.b > 200; };
    auto darker = [](const Rgb& p) { return p.r > 100 && p.r < 122; };
    // Thrust, blade pairs drawn, and the parts of the disc lighter and darker: two wedges
    // of π/16 at idle, four of π/8, then sixteen: the whole disc.
    const std::tuple<float, int, double, double> frames[] = {
        {0.0f, 1, 1.0 / 16, 0}, {0.1f, 2, 0, 1.0 / 4}, {0.5f, 8, 0, 1.0}, {1.0f, 8, 0, 1.0}};
    for (const auto& [thrust, pairs, light, dark] : frames) {
        engine->fraction = thrust;
        Render(0.5f, 0.5f, 0.5f);
        EXPECT_EQ(propeller->DrawnPairs(), pairs) << thrust;
        EXPECT_NEAR(Count(lighter), light * disc, 0.15 * light * disc) << thrust;
        EXPECT_NEAR(Count(darker), dark * disc, 0.1 * dark * disc) << thrust;
    }
    owner->SetMoveableObject(nullptr);  // without the engine's physics the propeller idles
    Render(0.5f, 0.5f, 0.5f);
    EXPECT_EQ(propeller->DrawnPairs(), 1);
    propeller->SetVisible(false);
    Render(0.5f, 0.5f, 0.5f);
    EXPECT_EQ(propeller->DrawnPairs() + Count(lighter), 0);
}

}  // namespace
