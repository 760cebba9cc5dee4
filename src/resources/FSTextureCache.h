#pragma once
// Texture objects of the 3-D world by member name of the textures archive: a name is
// decoded and uploaded on its first request, and every later request gets the same
// texture object. Needs a current GL context for every operation that loads or deletes.
#include <cstdint>
#include <string>
#include <vector>

#include "resources/FSPng.h"

// How a texture of the cache is filtered: as the cache's quality says; mipmapped at every
// quality (0 and 1 are taken as 2 and 3, which filter within a level as they do); or
// mipmapped and filtered within a level at every quality (3, or 4 when that is set).
enum class FSTextureFiltering { AsSet, Mipmapped, Smooth };

class CFSTextureCache {
public:
    // archivePath: the textures archive (the engine passes MakeDataPath("data\\textures.zip")).
    explicit CFSTextureCache(std::string archivePath);
    // Forgets the entries; texture objects belong to the GL context and are left to it.
    ~CFSTextureCache() = default;
    CFSTextureCache(const CFSTextureCache&) = delete;
    CFSTextureCache& operator=(const CFSTextureCache&) = delete;

    // The "textures_quality" new uploads are filtered with (FSPng.h); 0 until set.
    void SetQuality(int quality) { quality_ = quality; }

    // The texture of a member name (case-sensitive here, though the archive lookup is
    // not), loading it on the first request with the filtering asked for (the ground's
    // textures are mipmapped, so that their far patches fade instead of flickering); the
    // shading and texture environment stay those of the cache's quality. kNoTexture when
    // it cannot be loaded; a failure is not remembered, so a later request tries again.
    uint32_t GetTexture(const std::string& memberName,
                        FSTextureFiltering filtering = FSTextureFiltering::AsSet);
    // Deletes the texture object and forgets the name; an unknown name changes nothing.
    void RemoveTexture(const std::string& memberName);
    // The member name of a texture, or "" when no entry has it.
    std::string GetTextureName(uint32_t texture) const;
    // Decodes and uploads every entry again into its own texture name, with the cache's
    // quality (after a change of that setting or of the GL context). An entry
    // whose member can no longer be read keeps its texture name, reserved so that no
    // other texture is given it, and the others are reloaded all the same.
    void ReloadAll();
    // Forgets every entry without deleting texture objects.
    void Clear();

    size_t Count() const { return entries_.size(); }

private:
    struct Entry {
        uint32_t texture;
        std::string memberName;
        FSTextureFiltering filtering;
    };
    void Upload(uint32_t texture, const FSPngImage& image, FSTextureFiltering filtering) const;
    // Entries in ascending byte order of their member names.
    std::vector<Entry>::iterator FindPlace(const std::string& memberName);

    std::string archivePath_;
    std::vector<Entry> entries_;
    int quality_ = 0;
};
