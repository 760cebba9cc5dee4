// Particle systems: the emitters and affectors, the system's update and drawing, its
// owner, and how long particles last at any frame rate.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <tuple>
#include <vector>

#include "world/FSBoomEmmiter.h"
#include "world/FSFadeOutAffector.h"
#include "world/FSFountainEmmiter.h"
#include "world/FSGravityAffector.h"
#include "world/FSInverseEmmiter.h"
#include "world/FSParticlesSystem.h"
#include "world/FSRandom.h"
#include "world/FSRandomLifetimeAffector.h"
#include "world/PictureTestSupport.h"

using world_test::F;
using world_test::PictureTest;
using world_test::Rgb;
using world_test::TestNode;

namespace {

constexpr uint32_t kRed = 0x0000FF;  // red in the low byte

// A burst of count particles of a life (designed frames).
std::unique_ptr<CFSParticlesSystem> Burst(int count, double life, CFSTextureCache* textures = nullptr) {
    return CFSParticlesSystem::CreateParticlesSystem(
        textures, "particle.png", count,
        std::make_unique<TFSBoomEmmiter>(F(life), FSFixedVector{}, FSFixedVector{}), kRed, F(0.05));
}

// An update at a frame rate: the time scale is 18 / rate.
FSFrame AtRate(int rate) {
    FSFrame frame;
    frame.timeScale = 18.0f / static_cast<float>(rate);
    return frame;
}

TEST(Emitters, FountainRisesAt60To100PercentOfTheBaseScatteredAndBurstFiresOnce) {
    WorldRandom().Seed(3);
    TFSFountainEmmiter fountain(F(30), {F(0.04), F(0.4), F(0.04)}, {0, F(0.01), 0}, F(0.8));
    std::vector<FSParticle> particles;
    EXPECT_TRUE(fountain.Emit(particles, 500, {F(1), F(2), F(3)}, {2, 3}, {0, kFixedOne, 0}, 0x222222, {}));
    ASSERT_EQ(particles.size(), 500u);
    FSFixed lowest = kFixedMax, highest = kFixedMin, left = 0, right = 0;
    for (const FSParticle& p : particles) {
        ASSERT_TRUE(std::abs(p.velocity.x) <= F(0.04 * 0.8 * 0.5) + 1 && p.position.y == F(2) &&
                    p.cell.row == 3 && p.life == F(30) && p.acceleration.y == F(0.01) &&
                    p.colour == 0x222222u && p.emitter == &fountain);
        lowest = std::min(lowest, p.velocity.y);
        highest = std::max(highest, p.velocity.y);
        left = std::min(left, p.velocity.z);
        right = std::max(right, p.velocity.z);
    }
    EXPECT_NEAR(lowest, F(0.4 * 0.6), F(0.01));  // 0.8 + 0.4 × [−0.5, 0.5) of the base
    EXPECT_TRUE(highest < F(0.4) && highest > F(0.39));
    EXPECT_TRUE(left < -F(0.01) && right > F(0.01));  // scattered both ways
    // A burst fires once, within ± half its velocity, then only reports whether particles
    // are left.
    TFSBoomEmmiter burst(F(4), {F(0.3), F(0.6), F(0.3)}, {});
    particles.clear();
    EXPECT_TRUE(burst.Emit(particles, 5, {}, {}, {}, 0xFFFFFF, {}) &&
                burst.Emit(particles, 5, {}, {}, {}, 0, {}));
    ASSERT_EQ(particles.size(), 5u);
    EXPECT_LE(std::abs(particles[3].velocity.y), F(0.3));
    particles.clear();
    EXPECT_FALSE(burst.Emit(particles, 5, {}, {}, {}, 0xFFFFFF, {}));
}

TEST(Emitters, ATrailJoinsTheLastParticleInTenEvenStepsWithinItsPoolAndAcrossCells) {
    TFSInverseEmmiter trail(F(30), {}, {});
    std::vector<FSParticle> particles;
    trail.Emit(particles, 40, {F(1), F(1), F(1)}, {1, 1}, {}, 0, {});  // nothing to join up with
    trail.Emit(particles, 39, {F(2), F(1), F(-1)}, {1, 1}, {}, 0, {});
    ASSERT_EQ(particles.size(), 11u);
    for (int k = 0; k < 10; ++k) {
        const FSParticle& p = particles[1 + k];
        EXPECT_TRUE(std::fabs(FixedToFloat(p.position.x) - (2.0 - 0.1 * k)) < 1e-4 &&
                    std::fabs(FixedToFloat(p.position.z) - (-1.0 + 0.2 * k)) < 1e-4 && p.velocity.IsZero() &&
                    p.acceleration.IsZero())
            << k;
    }
    // With only 4 wanted the 6 oldest go first, so the pool stays within its size.
    trail.Emit(particles, 4, {F(3), F(1), F(-1)}, {1, 1}, {}, 0, {});
    ASSERT_EQ(particles.size(), 15u);
    EXPECT_NEAR(FixedToFloat(particles[0].position.x), 1.5, 1e-4);
    // Into the next cell: the step is measured across the border, not across the cell.
    std::vector<FSParticle> crossing;
    trail.Emit(crossing, 40, {F(29.9), 0, 0}, {1, 1}, {}, 0, {});
    trail.Emit(crossing, 39, {F(-29.9), 0, 0}, {2, 1}, {}, 0, {});
    EXPECT_TRUE(crossing[2].cell == (FSCell{2, 1}) &&
                std::fabs(FixedToFloat(crossing[2].position.x) + 29.92) < 1e-4);
    EXPECT_NEAR(FixedToFloat(crossing[10].position.x), -30.08, 1e-3);
}

// A trail behind an owner moving 0.05 km per designed frame, laid for 1 s of flight.
TEST(Emitters, ATrailIsLaidAsDenseAndUnbrokenAtAnyFrameRate) {
    constexpr double kStep = 0.05;
    for (int rate : {18, 60, 25}) {
        TFSInverseEmmiter trail(F(30), {}, {});
        std::vector<FSParticle> particles;
        double at = 0;
        for (int update = 0; update <= rate; ++update) {
            at = kStep * 18.0 * update / rate;
            trail.Emit(particles, 400, {F(at), 0, 0}, {}, {}, 0, AtRate(rate));
        }
        // Ten particles per designed frame, whatever the number of updates.
        EXPECT_NEAR(static_cast<double>(particles.size()), 1 + 18 * 10, 20) << rate;
        std::vector<double> xs;
        for (const FSParticle& p : particles)
            xs.push_back(FixedToFloat(p.position.x));
        std::sort(xs.begin(), xs.end());
        EXPECT_NEAR(xs.front(), 0.0, 1e-3) << rate;
        EXPECT_GT(xs.back(), at - 1.1 * kStep) << rate;  // the head lags less than a frame's way
        for (size_t i = 1; i < xs.size(); ++i)
            ASSERT_LT(xs[i] - xs[i - 1], 1.3 * kStep) << rate << " at " << xs[i];
    }
}

TEST(ParticleSystem, QuadsGrowFourfoldAndFadeAsTheyAge) {
    // Life, initial life, scale and alpha; stretched beyond its initial life a quad stays
    // opaque, and without an initial life it is the smallest opaque quad.
    const std::tuple<double, double, double, int> looks[] = {
        {10, 10, 1.0, 255}, {5, 10, 2.0, 127}, {1, 10, 4.0, 25}, {14, 10, 10.0 / 14, 255}, {5, 0, 0.0, 255}};
    for (const auto& [life, initial, scale, alpha] : looks) {
        const CFSParticlesSystem::Look look = CFSParticlesSystem::LookOf(F(life), F(initial));
        EXPECT_NEAR(FixedToFloat(look.scale), scale, 1e-3) << life << " of " << initial;
        EXPECT_NEAR(look.alpha, alpha, 1) << life << " of " << initial;
    }
}

// The same flight time flown at 18 frames a second, the rate the particles were made for,
// and at 60, the engine's paced rate: a life of 10 burns out in the ninth designed frame
// and its burst ends, a particle moves by 0.04 of its velocity and gravity takes 26 per
// designed frame, and random lifetimes (a factor in [0.5, 1.5) a frame) are as long.
TEST(ParticleSystem, LastsMovesAndSagsAlikeInFlightTimeAtAnyFrameRate) {
    struct Flight {
        double burnOut = 0, x = 0, meanLife = 0;             // s, km after 1 s, s
        FSFixed sag = 0, shortest = kFixedMax, longest = 0;  // upward speed lost in 1 s; lives after a frame
        bool ended = false;
    };
    auto fly = [](int rate) {
        Flight flight;
        CFSScene scene;
        WorldRandom().Seed(5);
        auto shortLived = Burst(1, 10.0);
        shortLived->AddAffector(std::make_unique<TFSFadeOutAffector>());
        auto mover = Burst(0, 0.0);
        FSParticle particle;
        particle.velocity = {F(2), F(1), 0};
        particle.acceleration = {F(1), 0, 0};
        particle.life = F(1000);
        mover->Particles().push_back(particle);
        mover->AddAffector(std::make_unique<TFSGravityAffector>());
        auto ragged = Burst(300, 30.0);
        ragged->AddAffector(std::make_unique<TFSRandomLifetimeAffector>());
        for (int update = 1; update <= 5 * rate; ++update) {
            const size_t alive = ragged->Particles().size();
            for (CFSParticlesSystem* system : {shortLived.get(), mover.get(), ragged.get()})
                system->Update(scene, AtRate(rate));
            for (size_t k = 0; update == 1 && k < ragged->Particles().size(); ++k) {
                flight.shortest = std::min(ragged->Particles()[k].life, flight.shortest);
                flight.longest = std::max(ragged->Particles()[k].life, flight.longest);
            }
            if (update == rate) {
                flight.x = FixedToFloat(mover->Particles()[0].position.x);
                flight.sag = F(1) - mover->Particles()[0].velocity.y;
            }
            if (shortLived->Particles().empty() && flight.burnOut == 0) flight.burnOut = 1.0 * update / rate;
            if (ragged->Particles().size() < alive)  // deaths, at their flight time
                flight.meanLife +=
                    static_cast<double>(alive - ragged->Particles().size()) * update / rate / 300;
        }
        flight.ended = shortLived->IsRemoved();
        return flight;
    };
    const Flight designed = fly(18), paced = fly(60);
    EXPECT_TRUE(designed.burnOut == 0.5 && paced.burnOut == 0.5 && designed.ended && paced.ended);
    // 30 × [0.5, 1.5) − 1, spread over most of it.
    EXPECT_TRUE(designed.shortest >= F(14) - 16 && designed.shortest < F(16)) << designed.shortest;
    EXPECT_TRUE(designed.longest > F(42) && designed.longest < F(44)) << designed.longest;
    EXPECT_NEAR(designed.x, 0.04 * (18 * 2 + 0.04 * 153), 1e-3);  // Σ 0.04 × (2 + 0.04 k), k < 18
    EXPECT_NEAR(paced.x, designed.x, 0.01 * designed.x);
    EXPECT_EQ(designed.sag, 26 * 18);
    EXPECT_NEAR(paced.sag, 26 * 18, 1);
    EXPECT_GT(designed.meanLife, 0.2);
    EXPECT_NEAR(paced.meanLife, designed.meanLife, 0.1 * designed.meanLife);
}

class ParticleSystemDrawTest : public PictureTest {};

// A particle's quad is semi-transparent, faces the camera and grows with age.
TEST_F(ParticleSystemDrawTest, AParticleIsDrawnAsAGrowingFacingQuad) {
    Look({0, 0, F(2)}, {0, 0, 0});
    CFSParticlesSystem* burst = scene.Add(Burst(1, 10.0, textures.get()));
    scene.Update({});
    auto width = [&](double life) {
        burst->Particles()[0].life = F(life);
        Render(0, 0, 1);
        return Count([](const Rgb& p) { return p.r > 20; }, kHeight / 2);
    };
    const int fresh = width(10), half = width(5);
    const Rgb centre = At(kWidth / 2, kHeight / 2);  // alpha 127 over the blue background
    EXPECT_TRUE(std::abs(centre.r - 127) < 35 && std::abs(centre.b - 127) < 35 && centre.g < 10);
    ASSERT_GT(fresh, 4);
    EXPECT_NEAR(static_cast<double>(half) / fresh, 2.0, 0.35);
    Look({F(2), 0, 0}, {0, 0, 0});  // seen from the side it still faces the camera
    EXPECT_NEAR(width(5), half, 3);
}

// Smoke hanging on an aircraft: born just behind it, in its cell; when the aircraft goes,
// the smoke stays where it was, is still seen there, and ends with its last particle.
TEST_F(ParticleSystemDrawTest, SmokeFollowsItsOwnerAndOutlivesItWhereItWas) {
    scene.Camera().SetPerspectiveMatrix(60.0f, 0.75f, 0.01f, 40.0f);
    Look({F(5), F(1), F(-3)}, {F(5), F(1), F(-4)}, {2, 3});
    auto owner = std::make_unique<TestNode>("aircraft");
    owner->model = world_test::Box(-0.01, -0.02, -0.01, 0.01, 0.02, 0.01);
    owner->SetCell({2, 3});
    owner->Place({F(5), F(1), F(-4)});
    TestNode* aircraft = scene.Add(std::move(owner));
    auto made = CFSParticlesSystem::CreateParticlesSystem(
        textures.get(), "particle.png", 40,
        std::make_unique<TFSFountainEmmiter>(F(30), FSFixedVector{0, F(0.1), 0}, FSFixedVector{}, F(0.8)),
        kRed, F(0.1));
    made->SetOwner(aircraft);
    made->AddAffector(std::make_unique<TFSFadeOutAffector>());
    CFSParticlesSystem* smoke = scene.Add(std::move(made));
    EXPECT_EQ(smoke->GetCullingStandIn(), aircraft);
    scene.Update({});
    ASSERT_EQ(smoke->Particles().size(), 40u);
    EXPECT_EQ(smoke->GetCell(), (FSCell{2, 3}));
    // Born half the owner's length (plus 655 / 65536) behind it along its nose axis (+y
    // here), then moved by one step.
    const FSParticle& p = smoke->Particles()[0];
    const FSFixed behind = F(1) - (aircraft->model->Extent().y + CFSParticlesSystem::kTailMargin) / 2;
    EXPECT_EQ(p.position,
              (FSFixedVector{F(5), behind + FixedMul(p.velocity.y, CFSParticlesSystem::kStep), F(-4)}));

    aircraft->Remove();
    EXPECT_FALSE(smoke->IsFollowing());
    scene.Update({});  // the aircraft is deleted; the smoke lingers, emitting no more
    ASSERT_EQ(scene.Nodes().size(), 1u);
    EXPECT_TRUE(smoke->GetOwner() == nullptr && smoke->Particles().size() == 40u);
    Clear(0x000000);  // culled by where the smoke is, not where the system was made
    int32_t culled = -1;
    scene.Draw(true, nullptr, culled);
    Read();
    EXPECT_TRUE(culled == 0 && smoke->DrawnCount() == 40);
    EXPECT_GT(Count([](const Rgb& c) { return c.r > 20; }), 500);
    for (int update = 0; update < 29 && !scene.Nodes().empty(); ++update)
        scene.Update({});
    EXPECT_TRUE(scene.Nodes().empty());
}

}  // namespace
