// Gates, their movement and the runway: the frame, crossings and frame contact of movers
// with and without a box, the wind's swing and drift, the strip on the ground, and both drawn.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>
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

// A mover: a cube of half-size 0.5 km (or a point), axes as the world's.
class Mover : public flight_test::BareNode {
public:
    explicit Mover(bool hasBox) : hasBox_(hasBox) {}
    const FSBox* GetModel() const override { return hasBox_ ? &box_ : nullptr; }

private:
    bool hasBox_;
    FSBox box_ = FSBox::FromCorners(At(-0.5f, -0.5f, -0.5f), At(0.5f, 0.5f, 0.5f));
};

TEST(Obstacle, FrameIsSixteenCornersAroundTheOpeningWithNormalsAwayFromTheBars) {
    CSPObstacle gate(nullptr, "red.png");
    EXPECT_EQ(PropertyKindOf(gate), kPropertyObstacle);
    // The opening faces world x, 2 km square inside bars 0.1 km thick and deep.
    EXPECT_EQ(*gate.GetModel(), FSBox::FromCorners({-F(1.0f) - 6553, -F(1.0f) - 6553, -6553},
                                                   {F(1.0f) + 6553, F(1.0f) + 6553, 6553}));
    ASSERT_EQ(gate.Positions().size(), 48u);
    for (int i = 0; i < CSPObstacle::kVertices; ++i) {
        const FSFixed* p = &gate.Positions()[3 * i];
        const FSFixed* n = &gate.Normals()[3 * i];
        // Outer corners look out, inner corners into the opening.
        EXPECT_EQ(Dot(FSFixedVector{n[0], n[1], n[2]}, FSFixedVector{p[0], p[1], p[2]}) > 0, i < 8) << i;
    }
    for (const uint16_t index : gate.Indices())
        EXPECT_LT(index, 16);
    // Fitted to a size, the depth comes out exact and the bars grow with it: 2.2 asked
    // over the outer 2.2 makes 2.4.
    gate.FitToSize(At(2.2f, 2.2f, 0.4f));
    EXPECT_NEAR(gate.GetModel()->Extent().x, F(2.4f), 33);
    EXPECT_NEAR(gate.HalfThickness(), F(0.2f), 2);
}

TEST(Obstacle, CrossingFindsContactAndTheBarsOnlyWhereTheMoverReaches) {
    const struct {
        const char* what;
        bool hasBox;
        FSFixedVector before, after;
        bool contact, hit;
    } cases[] = {
        {"through the centre", true, At(-1, 0, 0), At(1, 0, 0), true, false},
        {"0.6 above the centre", true, At(-1, 0.6f, 0), At(1, 0.6f, 0), true, true},
        {"1.5 beside", true, At(-1, 0, 1.5f), At(1, 0, 1.5f), true, true},
        {"1.7 beside, outside the frame", true, At(-1, 0, 1.7f), At(1, 0, 1.7f), false, false},
        {"short of the plane, reaching it", true, At(-0.3f, 0, 0), At(-0.2f, 0, 0), true, false},
        {"short of the plane as a point", false, At(-0.3f, 0, 0), At(-0.2f, 0, 0), false, false},
        {"moving away beyond its reach", true, At(3, 0, 0), At(4, 0, 0), false, false},
        {"a point through the centre", false, At(1, 0, 0), At(-1, 0, 0), true, false},
        {"a point through the top bar", false, At(-1, 0.95f, 0), At(1, 0.95f, 0), true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CSPObstacle gate(nullptr, "red.png");
        Mover mover(c.hasBox);
        EXPECT_FALSE(gate.CheckHit(mover));  // no crossing tested yet
        mover.Place(c.before);
        mover.Move(c.after);
        EXPECT_EQ(gate.Intersects(mover), c.contact);
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
    mover.Place(At(4, 3.25f, -6.5f));
    mover.Move(At(6, 3.25f, -6.5f));
    ASSERT_TRUE(gate.Intersects(mover));
    EXPECT_NEAR(gate.VerticalOffset(), F(0.25f), 8);
    EXPECT_NEAR(gate.HorizontalOffset(), F(0.5f), 8);
    EXPECT_NEAR(gate.VerticalReach(), F(0.5f) + CSPObstacle::kReachMargin, 8);
    EXPECT_NEAR(gate.HorizontalReach(), F(0.5f) + CSPObstacle::kReachMargin, 8);
    // A gate at the cell's edge, crossed by a step that carries the mover into the next cell.
    gate.Place(At(29.5f, 3, -7));
    mover.Place(At(29, 3, -7));
    mover.Move(At(30.2f, 3, -7));
    ASSERT_EQ(mover.GetCell(), FSCell({3, 1}));
    EXPECT_TRUE(gate.Intersects(mover));
    EXPECT_NEAR(gate.HorizontalOffset(), 0, 8);
}

TEST(Oscillator, DriftsAtOneVelocityWithoutAPeriodAndSwingsWithOne) {
    SineTable sine;
    flight_test::BareNode node;
    // A period of 0 or dust drifts at one velocity; the random sequence goes on reseeded.
    for (const float period : {0.0f, 0.0000005f}) {
        CFSRandom random(7);
        node.Place({});
        TSPOscillator drift(node, FSVector(0.02f, 0.0f, -0.01f), period, sine, random, 42);
        EXPECT_EQ(random.Next(), CFSRandom(42).Next());
        for (int step = 0; step < 10; ++step)
            drift.Integrate(1.0f);
        EXPECT_EQ(drift.Period() + drift.Time(), 0.0f);
        EXPECT_NEAR(FixedToFloat(node.GetPosition().x), 0.2f * std::cos(drift.Phase()), 1e-4f);
    }
    // A swing's velocity follows the cosine of time over the period; its clock wraps.
    CFSRandom random(3);
    TSPOscillator swing(node, FSVector(0.0f, 0.05f, 0.0f), 5.0f, sine, random, 1);
    const double period = 5.0 * 6.2831853;
    for (int step = 0; step < 80; ++step) {
        const double phase = std::fmod(step * 0.5, period) / period * 6.2831853 + swing.Phase();
        swing.Integrate(0.5f);
        ASSERT_NEAR(swing.GetVelocity().y, 0.05 * std::cos(phase), 1e-5) << step;
    }
    EXPECT_NEAR(swing.Time(), std::fmod(40.0, period), 1e-4);
}

TEST_F(RouteTestWorld, RunwayHasOneRowPerGridStepLaidOnTheGround) {
    const std::tuple<const char*, FSFixedVector, FSFixedVector, int> cases[] = {
        // the ends a and b
        {"flat.ter", At(1, 0, -1), At(1, 0, 1), 4},  // 2 km: 4.27 grid steps
        {"flat.ter", At(0, 3, 0), At(0, 3, 0), 2},
        {"slope.ter", At(-3, 0, -5), At(3, 0, 5), 24},
    };
    for (const auto& [terrain, a, b, rows] : cases) {
        SCOPED_TRACE(rows);
        Load(std::string("terrain ") + terrain + " 1\n");
        CSPRunway runway(context->textureCache.get(), "runway.png", a, b, F(0.04f), {1, 2},
                         *context->terrain->model);
        EXPECT_EQ(runway.Rows(), rows);
        const FSFixed groundA = GroundAt(a.x, a.z, {1, 2});
        EXPECT_EQ(runway.GetPosition(), FSFixedVector({a.x, groundA, a.z}));
        // Every vertex on the ground under it, across the strip's width.
        for (int v = 0; v < 2 * rows; ++v) {
            const FSFixed* p = &runway.Positions()[3 * v];
            EXPECT_NEAR(p[1], GroundAt(a.x + p[0], a.z + p[2], {1, 2}) - groundA, 8) << v;
        }
        const FSFixed* p = runway.Positions().data();
        EXPECT_NEAR(Length(FSFixedVector{p[3] - p[0], 0, p[5] - p[2]}), F(0.04f), 8);
        runway.SetPosition(At(9, 9, 9));  // the strip stays where it was laid
        EXPECT_EQ(runway.GetPosition().x, a.x);
    }
}

TEST_F(RouteTestWorld, RunwayAndGateFrameDrawAndTheMarkerOnlyWhenAsked) {
    Load("terrain flat.ter 1\n");
    CSPRunway runway(context->textureCache.get(), "runway.png", At(0, 0, -1), At(0, 0, 1), F(0.4f), {0, 0},
                     *context->terrain->model);
    const auto lit = [](const std::vector<uint32_t>& pixels) {
        return pixels.size() - std::count(pixels.begin(), pixels.end(), 0u);
    };
    // Drawn within 16 km of the strip's start at z = -1, not beyond.
    for (const float distance : {1.5f, 14.5f, 15.5f}) {
        const size_t drawn = lit(Render(runway, At(0, kFlatGround + 3, distance), At(0, kFlatGround, 0)));
        EXPECT_EQ(runway.WasDrawnLast(), distance < 15.0f) << distance;
        EXPECT_EQ(drawn > 0, distance < 15.0f) << distance;
    }
    EXPECT_GT(lit(Render(runway, At(0, kFlatGround + 1, 1.5f), At(0, kFlatGround, 0))), 2000u);

    CSPObstacle gate(context->textureCache.get(), "red.png");
    gate.Place(At(0, 6, 0));
    const std::vector<uint32_t> plain = Render(gate, At(-5, 6, 0), At(0, 6, 0));
    EXPECT_EQ(plain[plain.size() / 2 + context->video.renderWidth / 2], 0u);  // the opening
    EXPECT_GT(lit(plain), 1000u);                                             // the bars
    gate.SetHighlight(0x101);
    const std::vector<uint32_t> marked = Render(gate, At(-5, 6, 0), At(0, 6, 0));
    EXPECT_EQ(gate.GetHighlight(), 0x100u);
    int marker = 0, orange = 0;
    for (size_t i = 0; i < marked.size(); ++i) {
        if (marked[i] == plain[i]) continue;
        const int r = marked[i] >> 16, g = (marked[i] >> 8) & 0xFF, b = marked[i] & 0xFF;
        ++marker;
        orange += std::abs(r - 204) <= 3 && std::abs(g - 102) <= 3 && b <= 3;
    }
    EXPECT_GT(marker, 100);
    EXPECT_EQ(orange, marker);
    // The byte was cleared: the next frame is the plain one again.
    EXPECT_EQ(Render(gate, At(-5, 6, 0), At(0, 6, 0)), plain);
}

}  // namespace
}  // namespace route_test
