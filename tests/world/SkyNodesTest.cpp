// Billboards, the cloud layer, single clouds and the jet flame as scene nodes.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <set>
#include <vector>

#include "world/FSBillboardNode.h"
#include "world/FSCloudNode.h"
#include "world/FSClouds.h"
#include "world/FSInverseCone.h"
#include "world/FSScene.h"
#include "world/FSSineTable.h"
#include "world/WorldTestNodes.h"

using world_test::F;
using world_test::TestNode;

namespace {

// Stands in for the route's wind oscillator: the layer only asks whether it has one.
class Wind : public MFSProperty {};

TEST(Billboard, VariantsPickTheirCellOfTheFourByFourAtlas) {
    const FSFixed q = kFixedOne / 4;
    struct Case {
        int variant;
        FSAtlasCell cell;
    } cases[] = {
        {0, {0, 0, q, q}},
        {5, {q, q, 2 * q, 2 * q}},
        {15, {3 * q, 3 * q, kFixedOne, kFixedOne}},
        {2, {0, 2 * q, q, 3 * q}},       // column 0, row 2
        {12, {3 * q, 0, kFixedOne, q}},  // column 3, row 0
        {-1, {0, 0, kFixedOne, kFixedOne}},
        {16, {0, 0, kFixedOne, kFixedOne}},  // out of range: the whole picture
    };
    for (const Case& c : cases) {
        const FSAtlasCell cell = AtlasCell(c.variant);
        EXPECT_EQ((std::array{cell.u0, cell.v0, cell.u1, cell.v1}),
                  (std::array{c.cell.u0, c.cell.v0, c.cell.u1, c.cell.v1}))
            << c.variant;
    }
    // The node's corners: left foot, right foot, left top, right top.
    CFSBillboardNode tree(F(0.02), F(0.005), nullptr, "trees/trees.png", 5);
    EXPECT_EQ((std::vector<GLfixed>(tree.TexCoords(), tree.TexCoords() + 8)),
              (std::vector<GLfixed>{q, q, 2 * q, q, q, 2 * q, 2 * q, 2 * q}));
    EXPECT_TRUE(tree.IsUpright());
    // Scale: height by y, half-width by x; the box follows.
    tree.Scale({F(2), F(3), F(5)});
    EXPECT_NEAR(tree.Height(), F(0.06), 2);
    EXPECT_NEAR(tree.HalfWidth(), F(0.01), 2);
    ASSERT_NE(tree.GetModel(), nullptr);
    EXPECT_EQ(tree.GetModel()->max, (FSFixedVector{tree.HalfWidth(), tree.Height(), tree.HalfWidth()}));
    EXPECT_EQ(tree.GetModel()->min, (FSFixedVector{-tree.HalfWidth(), 0, -tree.HalfWidth()}));
}

TEST(CloudLayer, FollowsTheCameraAndFacesAlongTheView) {
    SineTable sine;
    CFSScene scene(&sine);
    CFSCamera& camera = scene.Camera();
    camera.SetCell({2, 1});
    camera.SetView({F(12), F(3), F(-7)}, {F(20), F(3), F(-7)}, {0, kFixedOne, 0}, 0);  // along +x

    auto* layer = scene.Add(std::make_unique<TFSClouds>(nullptr, "clouds/layer.png"));
    EXPECT_EQ(layer->Distance(), F(40));
    EXPECT_EQ(layer->Top(), F(10));
    EXPECT_EQ(layer->Bottom(), 0);
    EXPECT_EQ(layer->Vertex(0), (FSFixedVector{F(-30), 0, F(40)}));
    EXPECT_EQ(layer->Vertex(2), (FSFixedVector{F(30), F(10), F(40)}));

    scene.Update({100});
    EXPECT_EQ(layer->GetCell(), (FSCell{2, 1}));
    EXPECT_EQ(layer->GetPosition(), (FSFixedVector{F(12), 0, F(-7)}));
    // Its z axis (where the curtain stands) points along the view.
    EXPECT_NEAR(layer->GetAxisZ().x, kFixedOne, 16);
    EXPECT_NEAR(layer->GetAxisZ().z, 0, 16);
    EXPECT_NEAR(layer->GetAxisY().y, kFixedOne, 16);
    EXPECT_EQ(layer->ScrollOffset(), 0);  // heading 0, no wind
    // The camera moves on into the next cell and turns right (toward +z): the layer
    // follows, and the picture scrolls on by half a repeat.
    camera.SetCell({3, 1});
    camera.SetView({F(-25), F(4), F(2)}, {F(-25), F(4), F(9)}, {0, kFixedOne, 0}, 0);
    scene.Update({200});
    EXPECT_EQ(layer->GetCell(), (FSCell{3, 1}));
    EXPECT_EQ(layer->GetPosition(), (FSFixedVector{F(-25), 0, F(2)}));
    EXPECT_NEAR(layer->GetAxisZ().z, kFixedOne, 16);
    EXPECT_NEAR(layer->ScrollOffset(), kFixedOne / 2, 4);
    // Looking straight down keeps the last facing.
    camera.SetView({F(-25), F(4), F(2)}, {F(-25), F(-1), F(2)}, {0, 0, -kFixedOne}, 0);
    scene.Update({300});
    EXPECT_NEAR(layer->GetAxisZ().z, kFixedOne, 16);
    // Whatever the view, culling never drops the layer.
    camera.SetPerspectiveMatrix(60.0f, 0.75f, 0.001f, 40.0f);
    camera.ExtractPlanes();
    EXPECT_FALSE(camera.IsCulled(*layer));
    // With the wind (a moveable object) the layer's push along its facing drifts it.
    layer->SetMoveableObject(std::make_unique<Wind>());
    camera.SetView({F(-25), F(4), F(2)}, {F(-25), F(4), F(9)}, {0, kFixedOne, 0}, 0);
    scene.Update({400});
    const FSFixed before = layer->ScrollOffset();
    layer->Move(layer->GetPosition() + FSFixedVector{0, 0, F(0.25)});  // the oscillator's step
    scene.Update({500});
    EXPECT_NEAR(layer->Drift(), F(0.25), 16);
    EXPECT_NEAR(layer->ScrollOffset() - before, F(0.25), 16);
    EXPECT_EQ(layer->GetPosition(), (FSFixedVector{F(-25), 0, F(2)}));  // and is re-centred
}

TEST(CloudNode, ShowsRandomWindowsAroundThePictureCentre) {
    std::srand(77);
    CFSCloudNode cloud(F(4), F(1.5), nullptr, "clouds/cloud.png");
    EXPECT_FALSE(cloud.IsVisible());  // the route loader shows it once placed
    std::set<FSFixed> lefts;
    for (int q = 0; q < FSCloudShape::kQuads; ++q) {
        const FSTextureWindow& w = cloud.Window(q);
        const FSFixed left = std::min(w.u0, w.u1), right = std::max(w.u0, w.u1);
        EXPECT_GE(left, 0);
        EXPECT_LE(left, 3276);
        EXPECT_GE(right, kFixedOne - 3276);
        EXPECT_LE(right, kFixedOne);
        EXPECT_GE(w.v0, 0);
        EXPECT_LE(w.v0, 2316);
        EXPECT_GE(w.v1, kFixedOne - 2316);
        lefts.insert(left);
    }
    EXPECT_GT(lefts.size(), 1u);
    // The box holds the crossed quads: 2 wide, 1.5 high, centred.
    ASSERT_NE(cloud.GetModel(), nullptr);
    EXPECT_EQ(cloud.GetModel()->min, (FSFixedVector{F(-2), F(-0.75), F(-2)}));
    EXPECT_EQ(cloud.GetModel()->max, (FSFixedVector{F(2), F(0.75), F(2)}));
    cloud.Scale({F(0.5), F(2), F(1)});
    EXPECT_EQ(cloud.Width(), F(2));
    EXPECT_EQ(cloud.Height(), F(3));
    EXPECT_EQ(cloud.GetModel()->max, (FSFixedVector{F(1), F(1.5), F(1)}));
}

// An aircraft-sized owner: 2 km wide, 5 long (−2 .. 3 along its nose), 1 high.
std::unique_ptr<TestNode> Owner() {
    auto owner = std::make_unique<TestNode>("owner");
    owner->model = FSBox::FromCorners({F(-1), F(-2), F(-0.5)}, {F(1), F(3), F(0.5)});
    return owner;
}

TEST(InverseCone, TakesItsSizeFromTheOwnerAndFollowsItsTail) {
    SineTable sine;
    CFSScene scene(&sine);
    TestNode* owner = scene.Add(Owner());
    // Nose along +x, up along +y.
    owner->LookAlong(FSVector(1, 0, 0), FSVector(0, 1, 0));
    owner->SetCell({1, 2});
    owner->Place({F(5), F(2), F(-3)});
    auto* cone = static_cast<TFSInverseCone*>(owner->AddChild(std::make_unique<TFSInverseCone>(owner, sine)));
    EXPECT_NEAR(cone->Radius(), F(0.2), 4);        // 0.4 × half of 1
    EXPECT_NEAR(cone->Length(), F(1.5), 4);        // 0.6 × half of 5
    EXPECT_NEAR(cone->NozzleOffset(), F(1.2), 4);  // |0.6 × −2|
    ASSERT_NE(cone->GetModel(), nullptr);
    EXPECT_EQ(cone->GetModel()->max.x, 256);

    scene.Update({1000});
    EXPECT_EQ(cone->GetCell(), (FSCell{1, 2}));
    EXPECT_NEAR(cone->GetPosition().x, F(5 - 1.2), 8);  // behind the owner along its nose
    EXPECT_NEAR(cone->GetPosition().y, F(2), 8);
    const FSFixed first = cone->FlickerLength();
    EXPECT_GE(first, 0);
    EXPECT_LE(first, cone->Length());
    // The same frame time gives the same flicker; others differ.
    scene.Update({1000});
    EXPECT_EQ(cone->FlickerLength(), first);
    // Frame by frame (16 ms apart) the length jumps about over its whole range.
    std::set<FSFixed> lengths;
    double change = 0;
    FSFixed previous = first;
    constexpr int kFrames = 200;
    for (int frame = 1; frame <= kFrames; ++frame) {
        scene.Update({1000u + 16u * frame});
        ASSERT_LE(cone->FlickerLength(), cone->Length());
        lengths.insert(cone->FlickerLength());
        change += std::abs(cone->FlickerLength() - previous);
        previous = cone->FlickerLength();
    }
    EXPECT_GT(lengths.size(), kFrames * 9 / 10u);
    EXPECT_GT(change / kFrames, 0.25 * cone->Length());  // uniform: a third on average
    EXPECT_LT(*lengths.begin(), cone->Length() / 10);
    EXPECT_GT(*lengths.rbegin(), cone->Length() * 9 / 10);
    // The "Jet" line's placement moves the nozzle along the owner's axes.
    cone->SetPlacement(F(0.5), F(0.25), F(-0.125));
    scene.Update({2000});
    EXPECT_NEAR(cone->GetPosition().x, F(5 - 1.2 + 0.5), 8);
    EXPECT_NEAR(cone->GetPosition().y, F(2.25), 8);
    EXPECT_NEAR(cone->GetPosition().z, F(-3 - 0.125), 8);  // y × z of the owner is world +z here
}

TEST(InverseCone, GoesWithItsOwner) {
    SineTable sine;
    {
        // A flame kept as a root node: removing the owner removes it, and the scene
        // deletes both in the next update.
        CFSScene scene(&sine);
        TestNode* owner = scene.Add(Owner());
        TFSInverseCone* cone = scene.Add(std::make_unique<TFSInverseCone>(owner, sine));
        scene.Update({10});
        EXPECT_FALSE(cone->IsRemoved());
        owner->Remove();
        EXPECT_TRUE(cone->IsRemoved());
        scene.Update({20});
        EXPECT_TRUE(scene.Nodes().empty());
    }
    {
        // The owner deleted first (while the flame still lives): the flame forgets it.
        CFSScene scene(&sine);
        auto owner = Owner();
        TFSInverseCone* cone = scene.Add(std::make_unique<TFSInverseCone>(owner.get(), sine));
        owner.reset();
        EXPECT_TRUE(cone->IsRemoved());
        EXPECT_EQ(cone->Owner(), nullptr);
        cone->Update(scene, {30});  // nothing to follow, and no harm done
        scene.Update({40});
        EXPECT_TRUE(scene.Nodes().empty());
    }
    {
        // As a child of its owner it goes with the owner's deletion.
        CFSScene scene(&sine);
        TestNode* owner = scene.Add(Owner());
        owner->AddChild(std::make_unique<TFSInverseCone>(owner, sine));
        owner->Remove();
        scene.Update({50});
        EXPECT_TRUE(scene.Nodes().empty());
    }
    // An owner without a model gives a flame of no size.
    TestNode bare;
    TFSInverseCone none(&bare, sine);
    EXPECT_EQ(none.Radius(), 0);
    EXPECT_EQ(none.Length(), 0);
}

}  // namespace
