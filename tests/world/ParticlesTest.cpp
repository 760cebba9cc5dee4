#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "world/FSBoomEmmiter.h"
#include "world/FSFadeOutAffector.h"
#include "world/FSFountainEmmiter.h"
#include "world/FSGravityAffector.h"
#include "world/FSInverseEmmiter.h"
#include "world/FSParticlesSystem.h"
#include "world/FSRandom.h"
#include "world/FSRandomLifetimeAffector.h"
#include "world/PartsTestSupport.h"
#include "world/WorldTestNodes.h"

using world_test::F;
using world_test::PictureTest;
using world_test::Rgb;
using world_test::TestNode;

namespace {

constexpr uint32_t kRed = 0x0000FF;  // red in the low byte

// A burst of particles textured through textures (untextured without a cache).
std::unique_ptr<CFSParticlesSystem> Burst(int count, double life,
                                          FSFixedVector velocity = {F(0.3), F(0.3), F(0.3)},
                                          FSFixedVector acceleration = {},
                                          CFSTextureCache* textures = nullptr) {
    return CFSParticlesSystem::CreateParticlesSystem(
        textures, "particle.png", count, std::make_unique<TFSBoomEmmiter>(F(life), velocity, acceleration),
        kRed, F(0.05));
}

TEST(RandomSource, RepeatsItsSequenceForASeedAndKeepsFactorsInHalfAUnit) {
    CFSRandom a(77), b(77);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(a.Next(), b.Next());
    CFSRandom random(5);
    FSFixed low = kFixedMax, high = kFixedMin;
    for (int i = 0; i < 200000; ++i) {
        const int value = random.Next();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, CFSRandom::kMax);
        const FSFixed factor = random.Factor();
        low = std::min(low, factor);
        high = std::max(high, factor);
    }
    EXPECT_GE(low, -kFixedHalf);
    EXPECT_LT(high, kFixedHalf);
    // The whole range is reached, not only a part of it.
    EXPECT_LT(low, -kFixedHalf + 100);
    EXPECT_GT(high, kFixedHalf - 100);
}

TEST(Emitters, FountainScattersAt80To120PercentOfTheBaseAndBurstFiresOnce) {
    WorldRandom().Seed(3);
    TFSFountainEmmiter fountain(F(30), {F(0.04), F(0.4), F(0.04)}, {0, F(0.01), 0}, F(0.8));
    std::vector<FSParticle> particles;
    EXPECT_TRUE(fountain.Emit(particles, 500, {F(1), F(2), F(3)}, {2, 3}, {0, kFixedOne, 0}, 0x222222, {}));
    ASSERT_EQ(particles.size(), 500u);
    double sumX = 0;
    for (const FSParticle& p : particles) {
        EXPECT_LE(std::abs(p.velocity.x), F(0.04 * 0.8 * 0.5) + 1);
        EXPECT_LE(std::abs(p.velocity.z), F(0.04 * 0.8 * 0.5) + 1);
        EXPECT_GE(p.velocity.y, F(0.4 * 0.6) - 2);
        EXPECT_LT(p.velocity.y, F(0.4 * 1.0));
        EXPECT_EQ(p.acceleration, (FSFixedVector{0, F(0.01), 0}));
        EXPECT_EQ(p.life, F(30));
        EXPECT_EQ(p.position, (FSFixedVector{F(1), F(2), F(3)}));
        EXPECT_EQ(p.cell, (FSCell{2, 3}));
        EXPECT_EQ(p.colour, 0x222222u);
        EXPECT_EQ(p.emitter, &fountain);
        sumX += p.velocity.x;
    }
    // Scattered both ways, not pushed to one side.
    EXPECT_LT(std::abs(sumX / 500.0), F(0.004));
    // A burst fires once, then only reports whether particles are left.
    TFSBoomEmmiter burst(F(4), {F(0.3), F(0.6), F(0.3)}, {F(0.1), F(0.1), F(0.1)});
    particles.clear();
    EXPECT_TRUE(burst.Emit(particles, 5, {}, {}, {}, 0xFFFFFF, {}));
    EXPECT_TRUE(burst.HasFired());
    ASSERT_EQ(particles.size(), 5u);
    for (const FSParticle& p : particles) {
        EXPECT_LE(std::abs(p.velocity.x), F(0.15));
        EXPECT_LE(std::abs(p.velocity.y), F(0.3));
    }
    EXPECT_TRUE(burst.Emit(particles, 5, {}, {}, {}, 0xFFFFFF, {}));
    EXPECT_EQ(particles.size(), 5u);
    particles.clear();
    EXPECT_FALSE(burst.Emit(particles, 5, {}, {}, {}, 0xFFFFFF, {}));
    EXPECT_TRUE(particles.empty());
}

TEST(Emitters, TrailFillsTheWayFromTheLastParticleInTenEvenSteps) {
    TFSInverseEmmiter trail(F(30), {}, {});
    std::vector<FSParticle> particles;
    // The first emission has nothing to join up with.
    trail.Emit(particles, 40, {F(1), F(1), F(1)}, {1, 1}, {}, 0x222222, {});
    ASSERT_EQ(particles.size(), 1u);
    trail.Emit(particles, 39, {F(2), F(1), F(-1)}, {1, 1}, {}, 0x222222, {});
    ASSERT_EQ(particles.size(), 11u);
    EXPECT_EQ(particles[1].position, (FSFixedVector{F(2), F(1), F(-1)}));
    for (int k = 1; k < 10; ++k) {
        const FSParticle& p = particles[1 + k];
        EXPECT_NEAR(FixedToFloat(p.position.x), 2.0 - 0.1 * k, 1e-4) << k;
        EXPECT_EQ(p.position.y, F(1));
        EXPECT_NEAR(FixedToFloat(p.position.z), -1.0 + 0.2 * k, 1e-4) << k;
        EXPECT_TRUE(p.velocity.IsZero());
        EXPECT_TRUE(p.acceleration.IsZero());
    }
    // With only 4 wanted the 6 oldest go first, so the pool stays within its size.
    trail.Emit(particles, 4, {F(3), F(1), F(-1)}, {1, 1}, {}, 0x222222, {});
    ASSERT_EQ(particles.size(), 15u);
    EXPECT_NEAR(FixedToFloat(particles[0].position.x), 2.0 - 0.1 * 5, 1e-4);
    // Into the next cell: the step is measured across the border, not across the cell.
    std::vector<FSParticle> crossing;
    trail.Emit(crossing, 40, {F(29.9), 0, 0}, {1, 1}, {}, 0, {});
    trail.Emit(crossing, 39, {F(-29.9), 0, 0}, {2, 1}, {}, 0, {});
    ASSERT_EQ(crossing.size(), 11u);
    EXPECT_NEAR(FixedToFloat(crossing[2].position.x), -29.92, 1e-4);
    EXPECT_EQ(crossing[2].cell, (FSCell{2, 1}));
    EXPECT_NEAR(FixedToFloat(crossing[10].position.x), -30.08, 1e-3);
}

TEST(Affectors, GravityLowersTheUpwardSpeedBy26AndLivesAreMadeRagged) {
    CFSScene scene;
    auto system = Burst(3, 100.0, {F(0.3), F(0.6), F(0.3)});
    system->AddAffector(std::make_unique<TFSGravityAffector>());
    system->Update(scene, {});
    ASSERT_EQ(system->Particles().size(), 3u);
    std::vector<FSFixed> before;
    for (const FSParticle& p : system->Particles())
        before.push_back(p.velocity.y);
    for (int frame = 1; frame <= 5; ++frame) {
        system->Update(scene, {});
        for (size_t i = 0; i < before.size(); ++i)
            EXPECT_EQ(system->Particles()[i].velocity.y, before[i] - 26 * frame);
    }
    // The random lifetime stretches or shortens each life before ageing.
    WorldRandom().Seed(11);
    std::vector<FSParticle> particles(200);
    for (FSParticle& p : particles)
        p.life = F(20);
    particles[7].life = F(1.5);  // too short to survive any factor below 1.34
    TFSRandomLifetimeAffector ageing;
    ageing.Apply(particles);
    EXPECT_GE(particles.size(), 199u);
    FSFixed shortest = kFixedMax, longest = 0;
    for (const FSParticle& p : particles) {
        shortest = std::min(shortest, p.life);
        longest = std::max(longest, p.life);
        EXPECT_GE(p.life, F(20 * 0.5 - 1) - 1);
        EXPECT_LT(p.life, F(20 * 1.5 - 1));
    }
    // Ragged: the lives spread over most of the range.
    EXPECT_LT(shortest, F(12));
    EXPECT_GT(longest, F(26));
}

// A burst of one particle with a life of 10 under the fade-out alone: drawn at the lives
// 9 down to 2, erased in the ninth update, and the system gone in the tenth.
class ParticleSystemDrawTest : public PictureTest {};

TEST_F(ParticleSystemDrawTest, ALifeOfTenIsDrawnInEightFramesAsAGrowingFacingQuad) {
    Look({0, 0, F(2)}, {0, 0, 0});
    CFSParticlesSystem* system = scene.Add(Burst(1, 10.0, {}, {}, textures.get()));
    system->AddAffector(std::make_unique<TFSFadeOutAffector>());
    int drawnFrames = 0;
    for (int update = 1; update <= 8; ++update) {
        scene.Update({});
        ASSERT_EQ(system->Particles().size(), 1u) << update;
        EXPECT_EQ(system->Particles()[0].life, F(10 - update));
        Render(0, 0, 0);
        drawnFrames += system->DrawnCount();
    }
    EXPECT_EQ(drawnFrames, 8);
    scene.Update({});  // ninth: the particle is erased
    EXPECT_TRUE(system->Particles().empty());
    EXPECT_FALSE(system->IsRemoved());
    ASSERT_EQ(scene.Nodes().size(), 1u);
    scene.Update({});  // tenth: the burst is over
    EXPECT_TRUE(scene.Nodes().empty());

    // Quads are semi-transparent, face the camera and grow with age.
    CFSParticlesSystem* burst = scene.Add(Burst(1, 10.0, {}, {}, textures.get()));
    scene.Update({});
    ASSERT_EQ(burst->Particles().size(), 1u);
    // At half its life: twice the size, alpha 127 over the blue background.
    burst->Particles()[0].life = F(5);
    Render(0, 0, 1);
    EXPECT_EQ(burst->DrawnCount(), 1);
    const Rgb centre = At(kWidth / 2, kHeight / 2);
    EXPECT_GT(centre.r, 90);
    EXPECT_LT(centre.r, 160);
    EXPECT_GT(centre.b, 90);
    EXPECT_LT(centre.b, 160);
    EXPECT_LT(centre.g, 10);
    auto tinted = [](const Rgb& p) { return p.r > 20; };
    const int halfLifeWidth = CountInRow(kHeight / 2, tinted);
    const int halfLifeHeight = [&] {
        int n = 0;
        for (int y = 0; y < kHeight; ++y)
            if (tinted(At(kWidth / 2, y))) ++n;
        return n;
    }();
    EXPECT_NEAR(halfLifeWidth, halfLifeHeight, 3);  // square on screen: it faces the camera

    burst->Particles()[0].life = F(10);
    Render(0, 0, 1);
    const int freshWidth = CountInRow(kHeight / 2, tinted);
    ASSERT_GT(freshWidth, 4);
    EXPECT_NEAR(static_cast<double>(halfLifeWidth) / freshWidth, 2.0, 0.35);
    // Seen from the side the quad still faces the camera.
    Look({F(2), 0, 0}, {0, 0, 0});
    burst->Particles()[0].life = F(5);
    Render(0, 0, 1);
    EXPECT_NEAR(CountInRow(kHeight / 2, tinted), halfLifeWidth, 3);
}

TEST(ParticleSystem, QuadsGrowFourfoldAndFadeAsTheyAgeAndMoveAFiftiethOfTheVelocity) {
    const CFSParticlesSystem::Look fresh = CFSParticlesSystem::LookOf(F(10), F(10));
    EXPECT_NEAR(FixedToFloat(fresh.scale), 1.0, 1e-3);
    EXPECT_EQ(fresh.alpha, 255);
    const CFSParticlesSystem::Look half = CFSParticlesSystem::LookOf(F(5), F(10));
    EXPECT_NEAR(FixedToFloat(half.scale), 2.0, 1e-3);
    EXPECT_EQ(half.alpha, 127);
    const CFSParticlesSystem::Look tenth = CFSParticlesSystem::LookOf(F(1), F(10));
    EXPECT_EQ(tenth.scale, 4 * kFixedOne);
    EXPECT_NEAR(tenth.alpha, 25, 1);
    // A life stretched beyond the initial one stays opaque instead of wrapping round.
    EXPECT_EQ(CFSParticlesSystem::LookOf(F(14), F(10)).alpha, 255);
    // An emitter with no life at all gives the smallest, opaque quad rather than nonsense.
    EXPECT_EQ(CFSParticlesSystem::LookOf(F(5), 0).alpha, 255);
    EXPECT_LE(CFSParticlesSystem::LookOf(F(5), 0).scale, 2);
    // Particles move by a fiftieth of their velocity per update.
    CFSScene scene;
    auto system = Burst(1, 100.0, {F(1), F(1), F(1)}, {F(0.5), 0, 0});
    system->SetPosition({F(3), F(4), F(5)});
    system->Update(scene, {});
    ASSERT_EQ(system->Particles().size(), 1u);
    const FSParticle first = system->Particles()[0];
    system->Update(scene, {});
    const FSParticle& p = system->Particles()[0];
    EXPECT_EQ(p.position.x, first.position.x + FixedMul(first.velocity.x, CFSParticlesSystem::kStep));
    EXPECT_EQ(p.velocity.x, first.velocity.x + FixedMul(F(0.5), CFSParticlesSystem::kStep));
    EXPECT_EQ(p.velocity.y, first.velocity.y);
}

TEST(ParticleSystem, FollowsItsOwnerUntilTheOwnerIsGoneThenEndsWithItsLastParticle) {
    CFSScene scene;
    auto owner = std::make_unique<TestNode>("aircraft");
    owner->model = FSBox::FromCorners({-F(0.01), -F(0.02), -F(0.01)}, {F(0.01), F(0.02), F(0.01)});
    owner->SetCell({2, 3});
    owner->Place({F(5), F(1), F(-4)});
    TestNode* aircraft = scene.Add(std::move(owner));

    auto made = CFSParticlesSystem::CreateParticlesSystem(
        nullptr, "particle.png", 40,
        std::make_unique<TFSFountainEmmiter>(F(3), FSFixedVector{0, F(0.4), 0}, FSFixedVector{}, F(0.8)),
        0x222222, F(0.1));
    made->SetOwner(aircraft);
    made->AddAffector(std::make_unique<TFSFadeOutAffector>());
    CFSParticlesSystem* smoke = scene.Add(std::move(made));
    EXPECT_EQ(smoke->GetCullingStandIn(), aircraft);

    scene.Update({});
    ASSERT_EQ(smoke->Particles().size(), 40u);
    EXPECT_EQ(smoke->GetCell(), (FSCell{2, 3}));
    // Born half the owner's length (plus 655 / 65536) behind it along its nose axis,
    // then moved by one step.
    const FSParticle& p = smoke->Particles()[0];
    const FSFixed behind = F(1) - (aircraft->model->Extent().y + CFSParticlesSystem::kTailMargin) / 2;
    EXPECT_EQ(p.position.y, behind + FixedMul(p.velocity.y, CFSParticlesSystem::kStep));
    EXPECT_EQ(p.position.x, F(5) + FixedMul(p.velocity.x, CFSParticlesSystem::kStep));

    aircraft->Remove();
    EXPECT_FALSE(smoke->IsFollowing());
    scene.Update({});  // the aircraft is deleted; the smoke lingers
    ASSERT_EQ(scene.Nodes().size(), 1u);
    EXPECT_EQ(smoke->GetOwner(), nullptr);
    EXPECT_TRUE(smoke->Particles().empty());  // a life of 3 lasts one update
    scene.Update({});
    EXPECT_TRUE(scene.Nodes().empty());
}

}  // namespace
