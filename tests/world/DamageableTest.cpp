// The damage property: hits below the threshold are free, bigger ones wear the health
// down for good, and the hit that ends it returns the fatal value.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "WorldTestNodes.h"
#include "world/FSDamageable.h"

namespace {

TEST(Damageable, HitsAddUpUntilOneIsFatal) {
    MFSDamageable damage(4.0f, 10.0f, 10.0f, 1000.0f);
    EXPECT_EQ(damage.Hit(4.0f), 0.0f);  // up to the threshold: harmless
    EXPECT_EQ(damage.Hit(-50.0f), 0.0f);
    EXPECT_EQ(damage.health, 10.0f);
    EXPECT_EQ(damage.Hit(4.5f), 0.0f);
    EXPECT_EQ(damage.health, 5.5f);
    EXPECT_EQ(damage.Hit(5.0f), 0.0f);
    EXPECT_EQ(damage.health, 0.5f);
    EXPECT_FALSE(damage.IsDestroyed());
    EXPECT_EQ(damage.Hit(0.5f), 0.0f);  // below the threshold, even now
    EXPECT_EQ(damage.Hit(4.01f), 1000.0f);
    EXPECT_TRUE(damage.IsDestroyed());
    // Once destroyed, every hit above the threshold is fatal again.
    EXPECT_EQ(damage.Hit(5.0f), 1000.0f);
    EXPECT_EQ(damage.maxHealth, 10.0f);
}

TEST(Damageable, ANotANumberImpactChangesNothing) {
    MFSDamageable damage(4.0f, 10.0f, 10.0f, 1000.0f);
    EXPECT_EQ(damage.Hit(std::numeric_limits<float>::quiet_NaN()), 0.0f);
    EXPECT_EQ(damage.health, 10.0f);
    EXPECT_EQ(damage.Hit(std::numeric_limits<float>::infinity()), 1000.0f);
}

TEST(Damageable, IsTheNodesSecondAttachment) {
    world_test::TestNode node;
    EXPECT_EQ(DamageOf(node), nullptr);
    auto damage = std::make_unique<MFSDamageable>(100.0f, 100000.0f, 100000.0f, 1000.0f);
    MFSDamageable* attached = damage.get();
    node.SetSecondAttachment(std::move(damage));
    EXPECT_EQ(DamageOf(node), attached);
    EXPECT_EQ(attached->noShatter, 0);
    EXPECT_EQ(attached->smoking, 0);
}

}  // namespace
