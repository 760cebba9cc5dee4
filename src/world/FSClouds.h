#pragma once
// The cloud layer ("clouds" line of a route): a curtain of cloud 1.5a wide standing at
// distance a in front of the eye, from height c up to height b, kept in front of the
// camera every frame: the layer moves to the camera's position and cell (at height 0)
// and turns its z axis along the camera's horizontal viewing direction. As the view
// turns, the picture scrolls across the curtain (u = heading / π), and with a moveable
// object (the route's wind) the layer's movement along its z axis drifts it further.
// The picture tiles left to right; v runs from 0 at the curtain's bottom to 1 at its top.
// Whatever fog the flight has, the curtain is hazed by a fixed share, smaller as the sky
// darkens (FSClouds.cpp), and the fog is left as it was.
// Type 1: the collision pass never pairs it with anything.
#include <GLES/gl.h>

#include <string>

#include "world/FSTexturedNode.h"

class TFSClouds : public MFSTexturedNode {
public:
    // The defaults of a route line without numbers (16.16 km).
    static constexpr FSFixed kDefaultDistance = FixedFromInt(40);
    static constexpr FSFixed kDefaultTop = kSeaLevel + FixedFromInt(10);
    static constexpr FSFixed kDefaultBottom = kSeaLevel;

    // a: distance of the curtain from the eye, b: its top height, c: its bottom height
    // (16.16 km). The texture by member name through textures.
    TFSClouds(CFSTextureCache* textures, const std::string& textureName, FSFixed a = kDefaultDistance,
              FSFixed b = kDefaultTop, FSFixed c = kDefaultBottom);

    void SetPosition(const FSFixedVector& position) override { StorePosition(position); }
    // The curtain keeps its size.
    void Scale(const FSFixedVector& factors) override;
    // The curtain's box in body coordinates: wide enough that culling never drops a layer
    // that stands around the eye.
    const FSBox* GetModel() const override { return &box_; }
    void Update(CFSScene& scene, const FSFrame& frame) override;
    void Draw(CFSScene& scene) override;

    FSFixed Distance() const { return a_; }
    FSFixed Top() const { return b_; }
    FSFixed Bottom() const { return c_; }
    // The texture offset at the screen-left edge of the curtain (16.16; the right edge has
    // this + 1.0) and the wind's share of it.
    FSFixed ScrollOffset() const { return scroll_; }
    FSFixed Drift() const { return drift_; }
    // Vertex i (0..3): (−0.75a, c, a), (−0.75a, b, a), (0.75a, b, a), (0.75a, c, a).
    FSFixedVector Vertex(int i) const {
        return {vertices_[i * 3], vertices_[i * 3 + 1], vertices_[i * 3 + 2]};
    }

private:
    FSFixed a_;
    FSFixed b_;
    FSFixed c_;
    GLfixed vertices_[12] = {};
    GLfixed texCoords_[8] = {};
    FSBox box_;
    FSFixed scroll_ = 0;
    FSFixed drift_ = 0;
    float heading_ = 0.0f;  // radians, atan2(z, x) of the direction the curtain faces
    FSFixedVector placed_;  // where the last update put the layer, to measure the wind's push
    FSCell placedCell_;
    bool hasPlaced_ = false;
};
