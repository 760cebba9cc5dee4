#include "world/FSDamageable.h"

#include "world/FSSceneNode.h"

MFSDamageable::MFSDamageable(float threshold_, float maxHealth_, float health_, float fatalValue_)
    : threshold(threshold_), maxHealth(maxHealth_), health(health_), fatalValue(fatalValue_) {}

float MFSDamageable::Hit(float impact) {
    if (!(impact > threshold)) return 0.0f;
    health -= impact;
    return health <= 0.0f ? fatalValue : 0.0f;
}

MFSDamageable* DamageOf(const MFSSceneNode& node) {
    return dynamic_cast<MFSDamageable*>(node.GetSecondAttachment());
}
