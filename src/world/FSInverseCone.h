#pragma once
// The exhaust flame of a jet: a cone behind the owner (the aircraft's node) whose base
// ring sits at the nozzle, across the owner's nose axis, and whose tip points backwards
// along it, flickering in length every frame. Drawn as a fan of six triangles from the
// tip, unlit and blended with a colour per vertex: a hot white-yellow core at the nozzle
// that fades to transparent orange at the tip. The game controller makes it for aircraft
// with an exhaust ("Jet" line) as a child of the aircraft node; it removes itself when
// its owner is removed.
#include <cstdint>

#include "world/FSSceneNode.h"

class SineTable;

class TFSInverseCone : public MFSSceneNode {
public:
    // Registers itself as a dependent of owner. From the owner's model box (none: all 0):
    // radius = 0.4 × half its z extent, length = 0.6 × half its y extent, and the nozzle
    // |0.6 × its min y| behind the owner's position along its nose axis. sine: the
    // application context's table (fast sine and cosine of the ring).
    TFSInverseCone(MFSSceneNode* owner, const SineTable& sine);

    // Moves the nozzle from its default place: alongY more along the owner's nose axis
    // (y), alongZ along its up axis (z), side along y × z (16.16 km, body axes of the
    // owner; the three numbers of the "Jet" line).
    void SetPlacement(FSFixed alongY, FSFixed alongZ, FSFixed side);

    // The flame keeps the size it took from the owner.
    void SetPosition(const FSFixedVector& position) override { StorePosition(position); }
    void Scale(const FSFixedVector& factors) override;
    // The owner was removed: so is the flame. A deleted owner is also forgotten.
    void OnOwnerRemoved(MFSSceneNode& owner) override;
    // A tiny box (±256 in 16.16), so the flame never collides with anything that matters.
    const FSBox* GetModel() const override { return &box_; }
    // Follows the owner (position and cell) and draws a new flicker length from the frame
    // time: length × (0..32767) / 32767, the same for the same time and unrelated between
    // neighbouring frames.
    void Update(CFSScene& scene, const FSFrame& frame) override;
    void Draw(CFSScene& scene) override;

    MFSSceneNode* Owner() const { return owner_; }
    FSFixed Radius() const { return radius_; }
    FSFixed Length() const { return length_; }
    FSFixed NozzleOffset() const { return offset_; }
    FSFixed FlickerLength() const { return flicker_; }

private:
    MFSSceneNode* owner_;
    FSBox box_;
    FSFixed radius_ = 0;
    FSFixed length_ = 0;
    FSFixed offset_ = 0;
    FSFixed alongY_ = 0;
    FSFixed alongZ_ = 0;
    FSFixed side_ = 0;
    FSFixed flicker_ = 0;
    const SineTable& sine_;
};
