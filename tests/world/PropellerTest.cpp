#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <utility>

#include "world/FSPropellerL.h"
#include "world/FSSineTable.h"
#include "world/FSThrustSource.h"
#include "world/PartsTestSupport.h"
#include "world/WorldTestNodes.h"

using world_test::F;
using world_test::PictureTest;
using world_test::Rgb;
using world_test::TestNode;

namespace {

// The aircraft's physics as far as the propeller sees it.
class Engine : public MFSProperty, public MFSThrustSource {
public:
    float ThrustFraction() const override { return fraction; }
    float fraction = 0.0f;
};

std::unique_ptr<TestNode> Aircraft(const FSBox& model) {
    auto node = std::make_unique<TestNode>("aircraft");
    node->model = model;
    return node;
}

const FSBox kSmallAircraft =
    FSBox::FromCorners({-F(0.005), -F(0.01), -F(0.002)}, {F(0.005), F(0.012), F(0.002)});

TEST(Propeller, StandsAtTheNoseTipAndFollowsItsOwner) {
    SineTable sine;
    std::unique_ptr<TestNode> owner = Aircraft(kSmallAircraft);
    TFSPropellerL propeller(owner.get(), sine);
    EXPECT_EQ(*propeller.GetModel(), FSBox::FromCorners({-256, -256, -256}, {256, 256, 256}));
    const FSFixed radius = kSmallAircraft.Extent().z / 2;
    EXPECT_EQ(propeller.Radius(), radius);
    EXPECT_EQ(propeller.OffsetAlongNose(), F(0.012));
    EXPECT_EQ(propeller.OffsetAlongUp(), radius / 4);
    EXPECT_EQ(propeller.OffsetSideways(), 0);
    EXPECT_GE(propeller.Phase(), 0.0f);
    EXPECT_LT(propeller.Phase(), 6.2832f);

    CFSScene scene;
    owner->SetCell({1, 2});
    owner->Place({F(5), F(1), F(-3)});
    propeller.Update(scene, {});
    EXPECT_EQ(propeller.GetCell(), (FSCell{1, 2}));
    EXPECT_EQ(propeller.GetPosition(), (FSFixedVector{F(5), F(1) + F(0.012), F(-3) + radius / 4}));
    // SetPosition and Scale leave the disc alone.
    propeller.SetPosition({F(9), F(9), F(9)});
    propeller.Scale({F(2), F(2), F(2)});
    EXPECT_EQ(propeller.GetPosition().x, F(5));
    // Nose along +x, up along +y: the offsets turn with the owner; sideways is nose × up.
    owner->LookAlong(FSVector(1, 0, 0), FSVector(0, 1, 0));
    propeller.SetOffsets(F(0.5), F(0.25), F(0.125));
    propeller.Update(scene, {});
    const FSFixedVector placed{F(5.5), F(1.25), F(-3.0 + 0.125)};
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(propeller.GetPosition()[i], placed[i], 66) << i;
    // The off-nose placement.
    propeller.Adjust(2.0f);
    EXPECT_EQ(propeller.Radius(), 2 * radius);
    EXPECT_EQ(propeller.OffsetAlongUp(), -2 * radius);
    EXPECT_EQ(propeller.OffsetAlongNose(), 2 * F(0.012));
    propeller.Adjust();
    EXPECT_EQ(propeller.Radius(), radius);
    EXPECT_EQ(propeller.OffsetAlongUp(), radius / 4);
    // An invisible propeller stays where it was.
    propeller.SetVisible(false);
    owner->Place({F(7), F(1), F(-3)});
    propeller.Update(scene, {});
    EXPECT_NEAR(FixedToFloat(propeller.GetPosition().x), 5.5, 1e-3);
}

TEST(Propeller, WrapsIntoTheNextCellWhenItsOwnerStandsAtTheCellEdge) {
    SineTable sine;
    CFSScene scene;
    std::unique_ptr<TestNode> owner = Aircraft(kSmallAircraft);
    owner->SetCell({3, 0});
    owner->Place({F(29.995), F(1), 0});
    owner->LookAlong(FSVector(1, 0, 0), FSVector(0, 1, 0));
    TFSPropellerL propeller(owner.get(), sine);
    propeller.Update(scene, {});
    EXPECT_EQ(propeller.GetCell(), (FSCell{0, 0}));
    EXPECT_NEAR(FixedToFloat(propeller.GetPosition().x), 30.007 - 60.0, 1e-3);
    // Seen from the owner's cell it is just ahead of the nose, not a cell away.
    const FSFixedVector d = WrappedDifference(propeller.GetPosition(), propeller.GetCell(),
                                              owner->GetPosition(), owner->GetCell());
    EXPECT_NEAR(FixedToFloat(d.x), 0.012, 1e-3);
}

TEST(Propeller, BladeCountGrowsWithThrustUpToSixteenAtHalfThrust) {
    // An odd count is made even; below nothing, above half thrust sixteen.
    const std::pair<float, int> counts[] = {
        {0.0f, 0},   {0.03f, 0}, {0.03125f, 2}, {0.1f, 4},  {0.25f, 8},
        {0.49f, 16}, {0.5f, 16}, {1.0f, 16},    {-0.3f, 0}, {std::numeric_limits<float>::quiet_NaN(), 0}};
    for (const auto& [thrust, blades] : counts)
        EXPECT_EQ(TFSPropellerL::BladeCount(thrust), blades) << thrust;
}

TEST(Propeller, IsRemovedWithItsOwnerAndForgetsAnOwnerThatIsDeleted) {
    SineTable sine;
    CFSScene scene;
    TestNode* owner = scene.Add(Aircraft(kSmallAircraft));
    TFSPropellerL* propeller = scene.Add(std::make_unique<TFSPropellerL>(owner, sine));
    owner->Remove();
    EXPECT_TRUE(propeller->IsRemoved());
    scene.Update({});
    EXPECT_TRUE(scene.Nodes().empty());
    // Deleted without being removed first (a flight torn down): the disc lets go of it.
    std::unique_ptr<TestNode> lost = Aircraft(kSmallAircraft);
    TFSPropellerL orphan(lost.get(), sine);
    lost.reset();
    EXPECT_EQ(orphan.GetOwner(), nullptr);
    EXPECT_TRUE(orphan.IsRemoved());
    orphan.Update(scene, {});
    orphan.Draw(scene);
    EXPECT_EQ(orphan.DrawnPairs(), 0);
    EXPECT_EQ(orphan.ThrustFraction(), 0.0f);
}

// The disc seen head-on: the aircraft's nose points at the camera 4 units away, the disc's
// radius is 1 unit; over a mid-grey background the idle blades are lighter, the running
// blur darker.
class PropellerDrawTest : public PictureTest {
protected:
    void SetUp() override {
        PictureTest::SetUp();
        auto made = Aircraft(FSBox::FromCorners({-F(1), -F(1), -F(1)}, {F(1), F(1), F(1)}));
        made->LookAlong(FSVector(0, 0, 1), FSVector(0, 1, 0));
        auto physics = std::make_unique<Engine>();
        engine = physics.get();
        made->SetMoveableObject(std::move(physics));
        owner = scene.Add(std::move(made));
        propeller = scene.Add(std::make_unique<TFSPropellerL>(owner, sine));
        Look({0, F(0.25), F(5)}, {0, F(0.25), 0});
        scene.Update({});
    }

    int DrawAt(float thrust) {
        engine->fraction = thrust;
        Render(0.5f, 0.5f, 0.5f);
        return propeller->DrawnPairs();
    }

    static bool Lighter(const Rgb& p) { return p.r > 200 && p.g > 200 && p.b > 200; }
    static bool Darker(const Rgb& p) { return p.r > 100 && p.r < 122; }

    SineTable sine;
    Engine* engine = nullptr;
    TestNode* owner = nullptr;
    TFSPropellerL* propeller = nullptr;
};

TEST_F(PropellerDrawTest, DrawsOneLightPairAtIdleAndMoreDarkPairsWithThrust) {
    const double pixelsPerUnit = kHeight / (2 * std::tan(3.14159265 / 6) * 4);
    const double unit2 = pixelsPerUnit * pixelsPerUnit;

    EXPECT_EQ(DrawAt(0.0f), 1);
    // Two wedges of π/16 radians each.
    EXPECT_NEAR(Count(Lighter), 3.14159265 / 16 * unit2, 0.15 * 3.14159265 / 16 * unit2);
    EXPECT_EQ(Count(Darker), 0);

    EXPECT_EQ(DrawAt(0.1f), 2);
    // Four wedges of π/8.
    EXPECT_NEAR(Count(Darker), 3.14159265 / 4 * unit2, 0.1 * 3.14159265 / 4 * unit2);
    EXPECT_EQ(Count(Lighter), 0);

    EXPECT_EQ(DrawAt(0.5f), 8);
    // Sixteen wedges of π/8: the whole disc.
    EXPECT_NEAR(Count(Darker), 3.14159265 * unit2, 0.05 * 3.14159265 * unit2);

    EXPECT_EQ(DrawAt(1.0f), 8);
    // Without the engine's physics the propeller idles.
    owner->SetMoveableObject(nullptr);
    engine = nullptr;
    Render(0.5f, 0.5f, 0.5f);
    EXPECT_EQ(propeller->DrawnPairs(), 1);

    propeller->SetVisible(false);
    Render(0.5f, 0.5f, 0.5f);
    EXPECT_EQ(propeller->DrawnPairs(), 0);
    EXPECT_EQ(Count(Lighter), 0);
}

}  // namespace
