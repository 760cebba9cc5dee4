#include "world/FSTexturedNode.h"

#include "resources/FSPng.h"
#include "resources/FSTextureCache.h"

void MFSTexturedNode::SetTextureByName(CFSTextureCache* cache, const std::string& memberName) {
    const uint32_t texture = cache ? cache->GetTexture(memberName) : kNoTexture;
    texture_ = texture == kNoTexture ? 0 : texture;
}
