#pragma once
// A scene node drawn with one texture: the graphics library's texture name, obtained by
// member name from a texture cache ("red.png", "trees.png").
// Meshed nodes, billboards and clouds derive from it.
#include <cstdint>
#include <string>

#include "world/FSSceneNode.h"

class CFSTextureCache;

class MFSTexturedNode : public MFSSceneNode {
public:
    explicit MFSTexturedNode(int32_t type = kNodePlain) : MFSSceneNode(type) {}

    // The texture of a member of the textures archive, loaded on first use by the cache
    // (needs a current GL context). Without a cache, or when the member cannot be loaded,
    // the node draws untextured (texture 0).
    void SetTextureByName(CFSTextureCache* cache, const std::string& memberName);
    void SetTexture(uint32_t texture) { texture_ = texture; }
    uint32_t GetTexture() const { return texture_; }

private:
    uint32_t texture_ = 0;
};
