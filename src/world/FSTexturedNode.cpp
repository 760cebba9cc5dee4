#include "world/FSTexturedNode.h"

#include "app/FSApplicationContext.h"
#include "resources/FSPng.h"
#include "resources/FSTextureCache.h"

void MFSTexturedNode::SetTextureByName(const std::string& memberName) {
    CFSTextureCache* cache = GetApplicationContext()->textureCache.get();
    const uint32_t texture = cache ? cache->GetTexture(memberName) : kNoTexture;
    texture_ = texture == kNoTexture ? 0 : texture;
}
