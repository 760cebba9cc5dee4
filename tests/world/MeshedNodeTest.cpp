#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "resources/FSArchive.h"
#include "resources/FSMeshLoader.h"
#include "world/FSMeshedNode.h"
#include "world/PartsTestSupport.h"

using world_test::F;
using world_test::PictureTest;
using world_test::Rgb;

namespace {

CFSMeshLoader& Models() {
    static CFSMeshLoader loader(MakeDataPath("data\\models.zip"));
    return loader;
}

// The gate texture's face and its lighter rim.
bool IsRed(const Rgb& p) {
    return p.r > 150 && p.r > p.g + 60 && p.r > p.b + 60;
}
bool IsWhite(const Rgb& p) {
    return p.r > 220 && p.g > 220 && p.b > 220;
}

TEST(MeshedNode, IsMadeFromTheModelWithArraysOfItsOwn) {
    std::unique_ptr<CFSMeshedNode> a =
        CFSMeshedNode::CreateMeshedNode(Models(), nullptr, "cube.obj", "red.png");
    std::unique_ptr<CFSMeshedNode> b =
        CFSMeshedNode::CreateMeshedNode(Models(), nullptr, "cube.obj", "red.png");
    EXPECT_EQ(a->TriangleCount(), 12);
    EXPECT_EQ(a->VertexCount(), 36);
    EXPECT_EQ(a->Positions().size(), 108u);
    EXPECT_EQ(a->TexCoords().size(), 72u);
    EXPECT_EQ(a->Normals().size(), 108u);
    EXPECT_EQ(a->Indices().size(), 36u);
    ASSERT_NE(a->GetModel(), nullptr);
    EXPECT_EQ(*a->GetModel(), FSBox::FromCorners({-F(0.5), -F(0.5), -F(0.5)}, {F(0.5), F(0.5), F(0.5)}));
    EXPECT_TRUE(a->GetPosition().IsZero());
    EXPECT_FALSE(a->CheckHit(*b));

    a->Scale({2 * kFixedOne, kFixedOne, kFixedOne});
    EXPECT_EQ(b->GetModel()->max.x, F(0.5));  // b's copy is untouched
    // A model that cannot be read: the node exists and shows nothing.
    std::unique_ptr<CFSMeshedNode> missing =
        CFSMeshedNode::CreateMeshedNode(Models(), nullptr, "no such.obj", "red.png");
    EXPECT_EQ(missing->TriangleCount(), 0);
    EXPECT_TRUE(missing->GetModel()->IsEmpty());
}

TEST(MeshedNode, ScaleStretchesVerticesAndBoxComponentWiseAndAllocateMeshZeroes) {
    std::unique_ptr<CFSMeshedNode> node =
        CFSMeshedNode::CreateMeshedNode(Models(), nullptr, "cube.obj", "red.png");
    const std::vector<FSFixed> positions = node->Positions();
    const std::vector<FSFixed> normals = node->Normals();
    node->Scale({2 * kFixedOne, kFixedOne, kFixedOne});
    for (size_t i = 0; i < positions.size(); i += 3) {
        EXPECT_EQ(node->Positions()[i], 2 * positions[i]);
        EXPECT_EQ(node->Positions()[i + 1], positions[i + 1]);
        EXPECT_EQ(node->Positions()[i + 2], positions[i + 2]);
    }
    EXPECT_EQ(node->Normals(), normals);
    EXPECT_EQ(*node->GetModel(), FSBox::FromCorners({-F(1), -F(0.5), -F(0.5)}, {F(1), F(0.5), F(0.5)}));
    // FitToSize goes through Scale with size / extent.
    node->FitToSize({F(0.5), F(3), F(1)});
    EXPECT_EQ(node->GetModel()->Extent(), (FSFixedVector{F(0.5), F(3), F(1)}));
    // The empty box of a model-less node stays empty instead of becoming a small real box.
    CFSMeshedNode empty(nullptr, "red.png");
    empty.Scale({2 * kFixedOne, 3 * kFixedOne, kFixedOne / 2});
    EXPECT_TRUE(empty.GetModel()->IsEmpty());
    EXPECT_EQ(*empty.GetModel(), FSBox::Empty());
    // AllocateMesh makes zeroed arrays for the counts set.
    CFSMeshedNode allocated(16, 32, nullptr, "blue.png");
    allocated.SetPosition({F(1), F(2), F(3)});
    allocated.AllocateMesh();
    EXPECT_EQ(allocated.Positions().size(), 48u);
    EXPECT_EQ(allocated.TexCoords().size(), 32u);
    EXPECT_EQ(allocated.Normals().size(), 48u);
    EXPECT_EQ(allocated.Indices().size(), 96u);
    EXPECT_TRUE(allocated.GetPosition().IsZero());
    EXPECT_TRUE(allocated.GetModel()->IsEmpty());
}

class MeshedNodeDrawTest : public PictureTest {
protected:
    CFSMeshedNode* AddCube(const FSFixedVector& at, FSFixed size = kFixedOne) {
        std::unique_ptr<CFSMeshedNode> node =
            CFSMeshedNode::CreateMeshedNode(Models(), textures.get(), "cube.obj", "red.png");
        node->Scale({size, size, size});
        node->SetPosition(at);
        return scene.Add(std::move(node));
    }
};

TEST_F(MeshedNodeDrawTest, RedCubeShowsAtTheCentreOfThePicture) {
    Look({0, 0, F(3)}, {0, 0, 0});
    CFSMeshedNode* cube = AddCube({});
    EXPECT_NE(cube->GetTexture(), 0u);
    Render(0, 0, 0);
    EXPECT_TRUE(cube->WasDrawn());
    EXPECT_TRUE(IsRed(At(kWidth / 2, kHeight / 2)));
    EXPECT_TRUE(IsRed(At(kWidth / 2 + 30, kHeight / 2 - 30)));
    const Rgb corner = At(5, 5);
    EXPECT_EQ(corner.r + corner.g + corner.b, 0);
    // About a unit wide at 2.5 units, with a 60° view over 320 rows: some 110 pixels.
    const int width = CountInRow(kHeight / 2, IsRed);
    EXPECT_GT(width, 90);
    EXPECT_LT(width, 130);

    cube->SetVisible(false);
    Render(0, 0, 0);
    EXPECT_FALSE(cube->WasDrawn());
    EXPECT_EQ(Count(IsRed), 0);
}

TEST_F(MeshedNodeDrawTest, IsDrawnWithin16UnitsOfTheCameraOnEverySideAndNotBeyond) {
    CFSMeshedNode* cube = AddCube({}, 4 * kFixedOne);
    const FSFixedVector directions[] = {{kFixedOne, 0, 0},  {-kFixedOne, 0, 0}, {0, kFixedOne, 0},
                                        {0, -kFixedOne, 0}, {0, 0, kFixedOne},  {0, 0, -kFixedOne}};
    for (const FSFixedVector& d : directions) {
        const bool vertical = d.y != 0;
        for (int distance : {20, 10}) {
            cube->SetPosition(::Scale(d, F(distance)));
            Look({0, 0, 0}, d, {0, 0});
            if (vertical) scene.Camera().LookAt({0, 0, 0}, d, {0, 0, kFixedOne}, 0);
            Render(0, 0, 0);
            const bool near = distance == 10;
            EXPECT_EQ(cube->WasDrawn(), near) << d.x << " " << d.y << " " << d.z << " at " << distance;
            EXPECT_EQ(IsRed(At(kWidth / 2, kHeight / 2)), near) << d.x << " " << d.y << " " << d.z;
        }
    }
    // The limit runs across the seam of the world like every distance.
    Look({F(-29), 0, 0}, {F(-30), 0, 0}, {0, 0});
    cube->SetCell({3, 0});
    cube->SetPosition({F(20), 0, 0});  // 11 units away, across the seam
    Render(0, 0, 0);
    EXPECT_TRUE(cube->WasDrawn());
}

TEST_F(MeshedNodeDrawTest, HighlightDrawsAWhiteSquareAroundTheNode) {
    Look({0, 0, F(3)}, {0, 0, 0});
    CFSMeshedNode* cube = AddCube({});
    Render(0, 0, 0);
    EXPECT_EQ(Count(IsWhite), 0);

    cube->SetHighlight(1);
    Render(0, 0, 0);
    // Half a side of 0.75 × the largest extent (1.0) at 3 units: about 69 pixels out.
    int left = -1, right = -1;
    for (int x = 0; x < kWidth; ++x) {
        if (!IsWhite(At(x, kHeight / 2))) continue;
        if (left < 0) left = x;
        right = x;
    }
    ASSERT_GE(left, 0);
    EXPECT_NEAR(left, kWidth / 2 - 69, 4);
    EXPECT_NEAR(right, kWidth / 2 + 69, 4);
    EXPECT_LE(CountInRow(kHeight / 2, IsWhite), 6);  // two lines of width 2, not a filled square
    EXPECT_TRUE(IsRed(At(kWidth / 2, kHeight / 2)));
    int top = 0;  // the top side, some 138 pixels long
    for (int y = kHeight / 2 - 73; y <= kHeight / 2 - 65; ++y)
        top = std::max(top, CountInRow(y, IsWhite));
    EXPECT_GT(top, 120);
    EXPECT_LT(top, 150);
    // Only the low byte counts, and a removed node is not marked.
    cube->SetHighlight(0x100);
    Render(0, 0, 0);
    EXPECT_EQ(Count(IsWhite), 0);
    cube->SetHighlight(1);
    cube->Remove();
    Render(0, 0, 0, cube);
    EXPECT_TRUE(cube->WasDrawn());
    EXPECT_EQ(Count(IsWhite), 0);
}

}  // namespace
