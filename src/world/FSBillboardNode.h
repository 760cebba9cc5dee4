#pragma once
// A flat picture that always faces the camera: trees ("tree" lines of a route, through
// the engine's billboard factory). The picture is one cell of a 4 × 4 atlas (variant
// 0..15) or the whole texture (variant −1), standing on its bottom edge at the node's
// position: half-width w to either side and height h up.
//
// Two forms:
// - upright (trees): stands vertical and turns only about the vertical axis to face the
//   eye;
// - oriented: turned by the node's orientation and spanned by the camera's screen axes
//   (the first two rows of the view matrix), so it lies flat on the screen.
// Drawn blended (source alpha), unlit, without depth writes and with the texture
// modulating white, so the transparent parts of a tree leave what is behind it.
#include <GLES/gl.h>

#include <string>

#include "world/FSTexturedNode.h"

// The texture cell of an atlas variant (16.16): u0..u1 across, v0..v1 up.
struct FSAtlasCell {
    FSFixed u0 = 0;
    FSFixed v0 = 0;
    FSFixed u1 = kFixedOne;
    FSFixed v1 = kFixedOne;
};

// Variant k (0..15): u from (k div 4) / 4 to (k div 4 + 1) / 4, v from (k mod 4) / 4 to
// (k mod 4 + 1) / 4. −1, and any value outside 0..15, gives the whole texture.
FSAtlasCell AtlasCell(int variant);

class CFSBillboardNode : public MFSTexturedNode {
public:
    // height h and half-width w in 16.16 km; the texture by member name through textures.
    // Visible at construction.
    CFSBillboardNode(FSFixed height, FSFixed halfWidth, CFSTextureCache* textures,
                     const std::string& textureName, int variant, bool upright = true);

    void SetPosition(const FSFixedVector& position) override { StorePosition(position); }
    // h by the factors' y, w by their x (the box follows).
    void Scale(const FSFixedVector& factors) override;
    // The column the picture sweeps as it turns: (−w, 0, −w) to (w, h, w). Trees collide
    // with it and are culled by it.
    const FSBox* GetModel() const override { return &box_; }
    void Update(CFSScene& scene, const FSFrame& frame) override;
    void Draw(CFSScene& scene) override;

    FSFixed Height() const { return height_; }
    FSFixed HalfWidth() const { return halfWidth_; }
    bool IsUpright() const { return upright_ != 0; }
    // The four corners' texture coordinates in corner order (left and right foot, left
    // and right top as the eye sees them), u and v each.
    const GLfixed* TexCoords() const { return texCoords_; }

private:
    void UpdateBox();

    FSBox box_;
    GLfixed texCoords_[8] = {};
    uint8_t upright_;
    FSFixed height_;
    FSFixed halfWidth_;
};
