// Gates, their movement and the runway: the frame's shape and size, the crossing and
// frame-contact tests against movers with and without a box, the swing and the drift of
// the wind, the strip laid on the ground, and both drawn for real on a GLES surface.
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "RouteTestWorld.h"
#include "flight/FlightTestSupport.h"
#include "game/CSPObstacle.h"
#include "game/CSPRunway.h"
#include "game/MSPProperty.h"
#include "game/TSPOscillator.h"
#include "world/FSRandom.h"

namespace route_test {
namespace {

FSFixed F(float value) {
    return FloatToFixed(value);
}

FSFixedVector At(float x, float y, float z) {
    return {F(x), F(y), F(z)};
}

// A mover: a cube of half-size 0.5 km (or a point), axes as the world's.
class Mover : public flight_test::BareNode {
public:
    explicit Mover(bool hasBox) : hasBox_(hasBox) {}
    const FSBox* GetModel() const override { return hasBox_ ? &box_ : nullptr; }
    // One step from before to after.
    void Step(const FSFixedVector& before, const FSFixedVector& after) {
        Place(before);
        Move(after);
    }

private:
    bool hasBox_;
    FSBox box_ = FSBox::FromCorners(At(-0.5f, -0.5f, -0.5f), At(0.5f, 0.5f, 0.5f));
};

TEST(Obstacle, FrameIsSixteenCornersAroundTheOpeningWithNormalsAwayFromTheBars) {
    CSPObstacle gate(nullptr, "red.png");
    EXPECT_EQ(gate.GetType(), kNodeMeshed);
    EXPECT_EQ(PropertyKindOf(gate), kPropertyObstacle);
    EXPECT_EQ(*gate.GetModel(), FSBox::FromCorners({-F(1.0f) - 6553, -F(1.0f) - 6553, -6553},
                                                   {F(1.0f) + 6553, F(1.0f) + 6553, 6553}));
    // The opening faces world x; its y axis is up.
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_NEAR(gate.GetAxisY()[axis], axis == 1 ? kFixedOne : 0, 2);
        EXPECT_NEAR(gate.GetAxisZ()[axis], axis == 0 ? kFixedOne : 0, 2);
    }
    ASSERT_EQ(gate.Positions().size(), 48u);
    const auto vertex = [&gate](int i) {
        return FSFixedVector{gate.Positions()[3 * i], gate.Positions()[3 * i + 1],
                             gate.Positions()[3 * i + 2]};
    };
    const auto normal = [&gate](int i) {
        return FSFixedVector{gate.Normals()[3 * i], gate.Normals()[3 * i + 1], gate.Normals()[3 * i + 2]};
    };
    EXPECT_EQ(vertex(8), FSFixedVector({-F(1.0f) + 6553, -F(1.0f) + 6553, -6553}));
    EXPECT_EQ(vertex(14), FSFixedVector({F(1.0f) - 6553, F(1.0f) - 6553, 6553}));
    for (int i = 0; i < CSPObstacle::kVertices; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(Length(normal(i)), kFixedOne, 4);
        // Outer corners look out, inner corners into the opening.
        EXPECT_EQ(Dot(normal(i), vertex(i)) > 0, i < 8);
    }
    for (const uint16_t index : gate.Indices())
        EXPECT_LT(index, 16);
}

TEST(Obstacle, FitToSizeMakesTheDepthExactAndScalesTheOpeningByTheOuterExtent) {
    // The factor of each axis is the asked size over the outer extent; w and h take the
    // factors of x and y, t (half a bar and half the depth) the factor of z. So the bars
    // grow with the depth, and the outer size comes out exact only where the bars' share
    // of it does not change.
    const struct {
        FSFixedVector size;
        float width, height;  // outer extents that result
    } cases[] = {
        {At(2.0f, 2.0f, 0.2f), 2.01818f, 2.01818f},
        {At(4.0f, 1.0f, 0.2f), 3.83636f, 1.10909f},
        {At(2.2f, 2.2f, 0.4f), 2.4f, 2.4f},
        {At(1.1f, 2.2f, 0.1f), 1.1f, 2.1f},
    };
    for (const auto& c : cases) {
        CSPObstacle gate(nullptr, "red.png");
        gate.FitToSize(c.size);
        const FSFixedVector extent = gate.GetModel()->Extent();
        EXPECT_NEAR(extent.x, F(c.width), 33);
        EXPECT_NEAR(extent.y, F(c.height), 33);
        EXPECT_NEAR(extent.z, c.size.z, 4);
        EXPECT_NEAR(gate.HalfThickness(), c.size.z / 2, 2);
    }
}

TEST(Obstacle, CrossingFindsContactAndTheBarsOnlyWhereTheMoverReaches) {
    struct Case {
        const char* what;
        bool hasBox;
        FSFixedVector before, after;
        bool contact, hit;
    };
    const Case cases[] = {
        {"through the centre", true, At(-1, 0, 0), At(1, 0, 0), true, false},
        {"0.6 above the centre", true, At(-1, 0.6f, 0), At(1, 0.6f, 0), true, true},
        {"1.5 beside", true, At(-1, 0, 1.5f), At(1, 0, 1.5f), true, true},
        {"1.7 beside, outside the frame", true, At(-1, 0, 1.7f), At(1, 0, 1.7f), false, false},
        {"short of the plane, reaching it with half its size", true, At(-0.3f, 0, 0), At(-0.2f, 0, 0), true,
         false},
        {"short of the plane as a point", false, At(-0.3f, 0, 0), At(-0.2f, 0, 0), false, false},
        {"standing in the plane", true, At(0.2f, 0, 0), At(0.2f, 0, 0), true, false},
        {"moving away beyond its reach", true, At(3, 0, 0), At(4, 0, 0), false, false},
        {"a point through the centre", false, At(1, 0, 0), At(-1, 0, 0), true, false},
        {"a point through the top bar", false, At(-1, 0.95f, 0), At(1, 0.95f, 0), true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CSPObstacle gate(nullptr, "red.png");
        Mover mover(c.hasBox);
        EXPECT_FALSE(gate.CheckHit(mover));  // no crossing tested yet
        mover.Step(c.before, c.after);
        EXPECT_EQ(gate.Intersects(mover), c.contact);
        EXPECT_EQ(gate.Contact(), c.contact);
        EXPECT_EQ(gate.CheckHit(mover), c.hit);
    }
}

TEST(Obstacle, ReachIsTheMoversLargestProjectionOnEachGateAxis) {
    CSPObstacle gate(nullptr, "red.png");
    gate.FitToSize(At(4.0f, 4.0f, 0.2f));
    gate.SetCell({2, 1});
    gate.Place(At(5, 3, -7));
    Mover mover(true);
    mover.SetCell({2, 1});
    // Turned a quarter about the vertical: a cube still reaches 0.5 on both gate axes.
    mover.Rotate(FSVector(0.0f, 1.0f, 0.0f), 1.5707963f);
    mover.Step(At(4, 3.25f, -6.5f), At(6, 3.25f, -6.5f));
    ASSERT_TRUE(gate.Intersects(mover));
    EXPECT_NEAR(gate.VerticalOffset(), F(0.25f), 8);
    EXPECT_NEAR(gate.HorizontalOffset(), F(0.5f), 8);
    EXPECT_NEAR(gate.VerticalReach(), F(0.5f) + CSPObstacle::kReachMargin, 8);
    EXPECT_NEAR(gate.HorizontalReach(), F(0.5f) + CSPObstacle::kReachMargin, 8);
    // A gate at the cell's edge, crossed by a step that carries the mover into the next cell.
    gate.Place(At(29.5f, 3, -7));
    mover.Step(At(29, 3, -7), At(30.2f, 3, -7));
    ASSERT_EQ(mover.GetCell(), FSCell({3, 1}));
    EXPECT_TRUE(gate.Intersects(mover));
    EXPECT_NEAR(gate.HorizontalOffset(), 0, 8);
}

TEST(Oscillator, PeriodZeroDriftsAtOneVelocityAndLeavesTheRandomSequenceReseeded) {
    SineTable sine;
    flight_test::BareNode node;
    for (const float period : {0.0f, 0.0000005f}) {
        CFSRandom random(7);
        const int first = CFSRandom(7).Next();
        node.Place({});
        TSPOscillator drift(node, FSVector(0.02f, 0.0f, -0.01f), period, sine, random, 42);
        EXPECT_EQ(random.Next(), CFSRandom(42).Next());
        const float phase = first / 32767.0f * 6.2831853f;
        EXPECT_NEAR(drift.Phase(), phase, 1e-5f);
        EXPECT_EQ(drift.Period(), 0.0f);
        const float c = std::cos(phase);
        EXPECT_NEAR(drift.GetVelocity().x, 0.02f * c, 1e-6f);
        for (int step = 0; step < 10; ++step)
            drift.Integrate(1.0f);
        EXPECT_NEAR(drift.GetVelocity().z, -0.01f * c, 1e-6f);
        EXPECT_NEAR(FixedToFloat(node.GetPosition().x), 0.2f * c, 1e-4f);
        EXPECT_EQ(drift.Time(), 0.0f);
    }
}

TEST(Oscillator, SwingFollowsTheCosineOfTimeOverThePeriodAndWraps) {
    SineTable sine;
    flight_test::BareNode node;
    CFSRandom random(3);
    TSPOscillator swing(node, FSVector(0.0f, 0.05f, 0.0f), 5.0f, sine, random, 1);
    const double period = 5.0 * 6.2831853;
    EXPECT_NEAR(swing.Period(), period, 1e-4);
    double time = 0.0;
    for (int step = 0; step < 80; ++step) {
        swing.Integrate(0.5f);
        const double expected = 0.05 * std::cos(time / period * 6.2831853 + swing.Phase());
        ASSERT_NEAR(swing.GetVelocity().y, expected, 1e-5) << step;
        time += 0.5;
        if (time >= period) time -= period;
    }
    EXPECT_NEAR(swing.Time(), time, 1e-4);
    EXPECT_LT(swing.Time(), swing.Period());
}

TEST_F(RouteTestWorld, RunwayHasOneRowPerGridStepLaidOnTheGround) {
    struct Case {
        const char* terrain;
        FSFixedVector a, b;
        int rows;
    };
    const Case cases[] = {
        {"flat.ter", At(1, 0, -1), At(1, 0, 1), 4},  // 2 km: 4.27 grid steps
        {"flat.ter", At(0, 0, 0), At(0.5f, 0, 0), 2},
        {"flat.ter", At(0, 3, 0), At(0, 3, 0), 2},
        {"slope.ter", At(-3, 0, -5), At(3, 0, 5), 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        Load(std::string("terrain ") + c.terrain + " 1\n");
        CSPRunway runway(context->textureCache.get(), "runway.png", c.a, c.b, F(0.04f), {1, 2},
                         *context->terrain->model);
        EXPECT_EQ(runway.GetType(), kNodeRunway);
        EXPECT_EQ(runway.Rows(), c.rows);
        EXPECT_EQ(runway.TriangleCount(), 2 * c.rows - 2);
        const FSFixed groundA = GroundAt(c.a.x, c.a.z, {1, 2});
        EXPECT_EQ(runway.GetPosition(), FSFixedVector({c.a.x, groundA, c.a.z}));
        EXPECT_EQ(runway.GetCell(), FSCell({1, 2}));
        // Every vertex on the ground under it, across the strip's width.
        for (int v = 0; v < 2 * c.rows; ++v) {
            const FSFixed* p = &runway.Positions()[3 * v];
            EXPECT_NEAR(p[1], GroundAt(c.a.x + p[0], c.a.z + p[2], {1, 2}) - groundA, 8) << v;
        }
        const FSFixed* first = &runway.Positions()[0];
        const FSFixed* second = &runway.Positions()[3];
        EXPECT_NEAR(Length(FSFixedVector{second[0] - first[0], 0, second[2] - first[2]}), F(0.04f), 8);
        runway.SetPosition(At(9, 9, 9));  // the strip stays where it was laid
        EXPECT_EQ(runway.GetPosition().x, c.a.x);
    }
}

TEST_F(RouteTestWorld, RunwayAndGateFrameDrawAndTheMarkerOnlyWhenAsked) {
    Load("terrain flat.ter 1\n");
    const float ground = kFlatGround;
    CSPRunway runway(context->textureCache.get(), "runway.png", At(0, 0, -1), At(0, 0, 1), F(0.4f), {0, 0},
                     *context->terrain->model);
    const auto lit = [](uint32_t p) { return p != 0; };
    const auto count = [&](const std::vector<uint32_t>& pixels, auto match) {
        int n = 0;
        for (const uint32_t p : pixels)
            n += match(p) ? 1 : 0;
        return n;
    };
    const struct {
        float distance;
        bool drawn;
    } views[] = {{1.5f, true}, {14.5f, true}, {15.5f, false}};  // 16 km from the strip's start at z = -1
    for (const auto& view : views) {
        SCOPED_TRACE(view.distance);
        Look(At(0, ground + 3.0f, view.distance), At(0, ground, 0));
        const std::vector<uint32_t> pixels = Render(runway);
        EXPECT_EQ(runway.WasDrawnLast(), view.drawn);
        EXPECT_EQ(count(pixels, lit) > 0, view.drawn);
    }
    Look(At(0, ground + 1.0f, 1.5f), At(0, ground, 0));
    EXPECT_GT(count(Render(runway), lit), 2000);

    CSPObstacle gate(context->textureCache.get(), "red.png");
    gate.Place(At(0, 6, 0));
    Look(At(-5, 6, 0), At(0, 6, 0));
    const std::vector<uint32_t> plain = Render(gate);
    const int width = context->video.renderWidth, height = context->video.renderHeight;
    EXPECT_EQ(PixelAt(plain, width / 2, height / 2), 0u);  // the opening
    EXPECT_GT(count(plain, lit), 1000);                    // the bars
    gate.SetHighlight(0x101);
    const std::vector<uint32_t> marked = Render(gate);
    EXPECT_EQ(gate.GetHighlight(), 0x100u);
    int marker = 0, orange = 0;
    for (size_t i = 0; i < marked.size(); ++i) {
        if (marked[i] == plain[i]) continue;
        ++marker;
        const int r = marked[i] >> 16, g = (marked[i] >> 8) & 0xFF, b = marked[i] & 0xFF;
        orange += std::abs(r - 204) <= 3 && std::abs(g - 102) <= 3 && b <= 3;
    }
    EXPECT_GT(marker, 100);
    EXPECT_EQ(orange, marker);
    // The byte was cleared: the next frame is the plain one again.
    EXPECT_EQ(Render(gate), plain);
}

}  // namespace
}  // namespace route_test
