// Meshed nodes: made from the models archive, scaled in place, and drawn for real.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "resources/FSArchive.h"
#include "resources/FSMeshLoader.h"
#include "world/FSMeshedNode.h"
#include "world/PictureTestSupport.h"

using world_test::F;
using world_test::PictureTest;
using world_test::Rgb;

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
    EXPECT_TRUE(a->TriangleCount() == 12 && a->VertexCount() == 36 && a->Positions().size() == 108u &&
                a->TexCoords().size() == 72u && a->Indices().size() == 36u);
    EXPECT_EQ(*a->GetModel(), FSBox::FromCorners({-F(0.5), -F(0.5), -F(0.5)}, {F(0.5), F(0.5), F(0.5)}));
    EXPECT_FALSE(a->CheckHit(*b));
    const std::vector<FSFixed> positions = a->Positions(), normals = a->Normals();
    a->Scale({2 * kFixedOne, kFixedOne, kFixedOne});
    for (size_t i = 0; i < positions.size(); i += 3) {
        ASSERT_EQ(a->Positions()[i], 2 * positions[i]);
        ASSERT_EQ(a->Positions()[i + 1], positions[i + 1]);
    }
    EXPECT_EQ(a->Normals(), normals);
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
    // AllocateMesh makes zeroed arrays for the counts set.
    CFSMeshedNode allocated(16, 32, nullptr, "blue.png");
    allocated.SetPosition({F(1), F(2), F(3)});
    allocated.AllocateMesh();
    EXPECT_EQ(allocated.Positions(), std::vector<FSFixed>(48, 0));
    EXPECT_TRUE(allocated.TexCoords().size() == 32u && allocated.Indices().size() == 96u);
    EXPECT_TRUE(allocated.GetPosition().IsZero() && allocated.GetModel()->IsEmpty());
}

class MeshedNodeDrawTest : public PictureTest {
protected:
    CFSMeshedNode* AddCube(FSFixed size = kFixedOne) {
        std::unique_ptr<CFSMeshedNode> node = Cube(textures.get());
        node->Scale({size, size, size});
        return scene.Add(std::move(node));
    }
};

TEST_F(MeshedNodeDrawTest, ARedCubeShowsAtTheCentreAndItsHighlightAroundIt) {
    Look({0, 0, F(3)}, {0, 0, 0});
    CFSMeshedNode* cube = AddCube();
    EXPECT_NE(cube->GetTexture(), 0u);
    Render(0, 0, 0);
    EXPECT_TRUE(cube->WasDrawn());
    EXPECT_TRUE(IsRed(At(kWidth / 2, kHeight / 2)) && IsRed(At(kWidth / 2 + 30, kHeight / 2 - 30)));
    EXPECT_EQ(Pixel(5, 5), 0u);
    // About a unit wide at 2.5 units, with a 60° view over 320 rows: some 110 pixels.
    EXPECT_NEAR(CountInRow(kHeight / 2, IsRed), 110, 20);
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
    EXPECT_LE(CountInRow(kHeight / 2, IsWhite), 6);
    EXPECT_TRUE(IsRed(At(kWidth / 2, kHeight / 2)));
    int top = 0;  // the top side, some 138 pixels long
    for (int y = kHeight / 2 - 73; y <= kHeight / 2 - 65; ++y)
        top = std::max(top, CountInRow(y, IsWhite));
    EXPECT_NEAR(top, 138, 15);
    // Only the low byte counts, a removed node is not marked, and an invisible one not drawn.
    cube->SetHighlight(0x100);
    Render(0, 0, 0);
    EXPECT_EQ(Count(IsWhite), 0);
    cube->SetHighlight(1);
    cube->Remove();
    Render(0, 0, 0, cube);
    EXPECT_TRUE(cube->WasDrawn());
    EXPECT_EQ(Count(IsWhite), 0);
    cube->SetVisible(false);
    Render(0, 0, 0, cube);
    EXPECT_FALSE(cube->WasDrawn());
    EXPECT_EQ(Count(IsRed), 0);
}

TEST_F(MeshedNodeDrawTest, IsDrawnWithin16UnitsOfTheCameraOnEverySideAndNotBeyond) {
    CFSMeshedNode* cube = AddCube(4 * kFixedOne);
    // Along −x, +y and +z, 10 and 20 units away; then 11 units away across the world's seam.
    for (const FSFixedVector& d :
         {FSFixedVector{-kFixedOne, 0, 0}, FSFixedVector{0, kFixedOne, 0}, FSFixedVector{0, 0, kFixedOne}}) {
        for (int distance : {20, 10}) {
            cube->SetPosition(::Scale(d, F(distance)));
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

}  // namespace
