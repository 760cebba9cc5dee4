#include "resources/FSTextureCache.h"

#include <GLES/gl.h>

#include <algorithm>

CFSTextureCache::CFSTextureCache(std::string archivePath) : archivePath_(std::move(archivePath)) {}

std::vector<CFSTextureCache::Entry>::iterator CFSTextureCache::FindPlace(const std::string& memberName) {
    return std::lower_bound(
        entries_.begin(), entries_.end(), memberName,
        [](const Entry& entry, const std::string& name) { return entry.memberName < name; });
}

void CFSTextureCache::Upload(uint32_t texture, const FSPngImage& image, FSTextureFiltering filtering) const {
    const int set = quality_ >= 1 && quality_ <= 4 ? quality_ : 0;  // others filter as 0
    int quality = quality_;
    if (filtering == FSTextureFiltering::Mipmapped && set < 2) quality = set + 2;
    if (filtering == FSTextureFiltering::Smooth) quality = set == 4 ? 4 : 3;
    if (quality == quality_) {
        UploadTexture(texture, image, quality_);
        return;
    }
    GLint shading = GL_SMOOTH, environment = GL_MODULATE;
    glGetIntegerv(GL_SHADE_MODEL, &shading);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &environment);
    UploadTexture(texture, image, quality);
    glShadeModel(static_cast<GLenum>(shading));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, environment);
}

uint32_t CFSTextureCache::GetTexture(const std::string& memberName, FSTextureFiltering filtering) {
    auto place = FindPlace(memberName);
    if (place != entries_.end() && place->memberName == memberName) return place->texture;
    FSPngImage image;
    if (!ReadPng(archivePath_, memberName, image)) return kNoTexture;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    if (texture == 0) return kNoTexture;
    Upload(texture, image, filtering);
    entries_.insert(place, Entry{texture, memberName, filtering});
    return texture;
}

void CFSTextureCache::RemoveTexture(const std::string& memberName) {
    auto place = FindPlace(memberName);
    if (place == entries_.end() || place->memberName != memberName) return;
    const GLuint texture = place->texture;
    glDeleteTextures(1, &texture);
    entries_.erase(place);
}

std::string CFSTextureCache::GetTextureName(uint32_t texture) const {
    for (const Entry& entry : entries_) {
        if (entry.texture == texture) return entry.memberName;
    }
    return std::string();
}

void CFSTextureCache::ReloadAll() {
    for (const Entry& entry : entries_) {
        const GLuint texture = entry.texture;
        FSPngImage image;
        if (ReadPng(archivePath_, entry.memberName, image)) {
            glDeleteTextures(1, &texture);
            Upload(texture, image, entry.filtering);
        } else {
            // Binding keeps the name in use in this context (an object that still exists
            // keeps its old picture); deleting it would let glGenTextures hand it out again.
            glBindTexture(GL_TEXTURE_2D, texture);
        }
    }
}

void CFSTextureCache::Clear() {
    entries_.clear();
}
