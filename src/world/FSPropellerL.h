#pragma once
// The propeller disc of an aircraft: a node that follows the aircraft's node, standing
// across its nose axis at the nose tip, and spins with the engine's thrust. At idle it
// shows one pair of opposite light-grey blades; running, faint dark wedge pairs whose
// number grows with thrust up to eight pairs at half thrust and above, a blurred disc.
//
// The propeller registers itself as a dependent of its owner and removes itself when the
// owner is removed (and forgets the owner when it is deleted).
#include <cstdint>

#include "world/FSSceneNode.h"

class SineTable;

class TFSPropellerL : public MFSSceneNode {
public:
    // Type 7, visible, a random starting phase; placed for the owner's model (Adjust()).
    // sine: the game's table, which outlives the propeller.
    TFSPropellerL(MFSSceneNode* owner, const SineTable& sine);

    // With the owner's model: radius = half its z extent (height), offset along the nose
    // axis = |max y| (the nose tip), along the up axis = radius / 4, sideways 0.
    void Adjust();
    // For a model whose propeller sits off the nose: radius = half the owner's z extent ×
    // scale, offset along the up axis = −radius, along the nose axis = 2 × |max y|.
    void Adjust(float scale);
    // Placement offsets (16.16 km) along the owner's nose axis, up axis and y × z.
    void SetOffsets(FSFixed alongNose, FSFixed alongUp, FSFixed sideways);

    void SetPosition(const FSFixedVector& /*position*/) override {}
    void Scale(const FSFixedVector& /*factors*/) override {}
    const FSBox* GetModel() const override { return &box_; }
    // The owner was removed: so is the propeller.
    void OnOwnerRemoved(MFSSceneNode& owner) override;
    // Follows the owner: owner position + nose axis × offset + up axis × offset +
    // (nose × up) × offset, in the owner's cell.
    void Update(CFSScene& scene, const FSFrame& frame) override;
    void Draw(CFSScene& scene) override;

    MFSSceneNode* GetOwner() const { return owner_; }
    FSFixed Radius() const { return radius_; }
    FSFixed OffsetAlongNose() const { return offsetY_; }
    FSFixed OffsetAlongUp() const { return offsetZ_; }
    FSFixed OffsetSideways() const { return offsetSide_; }
    float Phase() const { return phase_; }
    // The thrust fraction of the owner's moveable object; 0 without one.
    float ThrustFraction() const;
    // Blade pairs drawn by the last Draw (0 when it drew nothing).
    int DrawnPairs() const { return drawnPairs_; }

    // Blades for a thrust fraction: 16 from half thrust on, else (fraction × 32) truncated
    // and made even; 0 at idle (fraction below 1/32).
    static int BladeCount(float thrustFraction);

private:
    MFSSceneNode* owner_;  // not owned; null once it is deleted
    FSBox box_;
    FSFixed radius_ = 0;
    float phase_ = 0.0f;  // radians, kept in [0, 2π)
    FSFixed offsetY_ = 0;
    FSFixed offsetZ_ = 0;
    FSFixed offsetSide_ = 0;
    const SineTable& sine_;
    int drawnPairs_ = 0;
};
