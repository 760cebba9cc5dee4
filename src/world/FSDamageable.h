#pragma once
// How much a scene object can take: a damage property attached to a node (its second
// attachment, MFSSceneNode::SetSecondAttachment). A hit is an impact measure (for the
// aircraft, mass × speed into the ground, kg·km/s); impacts up to the threshold do no
// harm, bigger ones wear the health down for good, and the hit that takes the health to
// 0 or below destroys the object. Buildings, trees, debris and the player's aircraft
// carry one.
#include <cstdint>

#include "world/FSProperty.h"

class MFSSceneNode;

class MFSDamageable : public MFSProperty {
public:
    // health starts at the given value (the game gives new objects maxHealth).
    MFSDamageable(float threshold, float maxHealth, float health, float fatalValue);

    // 0 when the object survives the impact; otherwise fatalValue (not 0). An impact that
    // is not above the threshold (or not a number) changes nothing.
    float Hit(float impact);
    bool IsDestroyed() const { return health <= 0.0f; }

    float threshold = 0.0f;
    float maxHealth = 0.0f;
    float health = 0.0f;
    float fatalValue = 0.0f;  // what a destroying hit returns; not 0
    // Set on the pieces of a shattered object so that they never shatter again.
    uint8_t noShatter = 0;
    // Set once the game has given the object its smoke trail (it has been hit).
    uint8_t smoking = 0;
};

// The node's damage property (its second attachment), or null.
MFSDamageable* DamageOf(const MFSSceneNode& node);
