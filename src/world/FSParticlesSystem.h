#pragma once
// Smoke, dust, sparks and explosions: a scene node that owns a pool of small camera-facing
// quads. Each update its emitter tops the pool up, its affectors (in the order appended)
// pull and age the particles, and every particle moves by 0.04 of its velocity. All of
// that is sized per designed frame (one at 18 frames a second) and scaled by the frame's
// time scale, so particles last and travel alike in flight time at any frame rate.
// Particles are drawn as textured quads that grow to four times their size and fade out
// as their life runs down.
//
// A system either stands on its own (a burst placed where something exploded) or follows
// an owner node (the smoke trail of a damaged aircraft): it then emits just behind the
// owner, along the owner's nose axis, and takes the owner's cell. Once the owner is
// removed the system emits no more: it stands where the owner last was, its smoke drifts
// on and fades, and it removes itself when its last particle is gone. It never starts
// emitting at its own position instead: a fountain or trail never reports an end, so the
// smoke would never stop. A free-standing system removes itself when its emitter reports
// the end (a spent burst).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/FSAffector.h"
#include "world/FSEmmiter.h"
#include "world/FSParticle.h"
#include "world/FSSceneNode.h"

class CFSTextureCache;

class CFSParticlesSystem : public MFSSceneNode {
public:
    // Type 2, visible, no emitter, no owner.
    CFSParticlesSystem();
    ~CFSParticlesSystem() override;

    // texture: member name in the textures archive ("particle.png"), through textures
    // (untextured without a cache); maxCount: the pool size; colour: packed bytes red
    // 0-7, green 8-15, blue 16-23 for every particle; quadSize: half the side of a new
    // particle's quad (16.16 km). No owner.
    static std::unique_ptr<CFSParticlesSystem> CreateParticlesSystem(CFSTextureCache* textures,
                                                                     const std::string& texture, int maxCount,
                                                                     std::unique_ptr<MFSEmmiter> emitter,
                                                                     uint32_t colour, FSFixed quadSize);

    void AddAffector(std::unique_ptr<MFSAffector> affector);
    // Emits at owner from now on (the follow flag is set); owner also stands in for the
    // system in the frustum test. Null changes nothing.
    void SetOwner(MFSSceneNode* owner);
    MFSSceneNode* GetOwner() const { return owner_; }
    bool IsFollowing() const { return follow_; }

    void SetPosition(const FSFixedVector& position) override { StorePosition(position); }
    void Scale(const FSFixedVector& /*factors*/) override {}
    // The owner is gone: stop following, stand where the owner last was (the culling then
    // finds the smoke where it is), and forget the owner when it is being deleted.
    void OnOwnerRemoved(MFSSceneNode& owner) override;
    void Update(CFSScene& scene, const FSFrame& frame) override;
    // Blended, depth writes off, lighting and culling off; afterwards lighting, culling and
    // depth writes on, blending and the colour array off, texture environment replace.
    void Draw(CFSScene& scene) override;

    std::vector<FSParticle>& Particles() { return particles_; }
    const std::vector<FSParticle>& Particles() const { return particles_; }
    uint32_t Texture() const { return texture_; }
    uint32_t Colour() const { return colour_; }
    // Quads drawn by the last Draw.
    int DrawnCount() const { return drawn_; }

    // How a particle looks at its age: f = life / initial life + 1/65536; the quad is
    // scaled by 1/f, at most 4.0 (16.16), and its alpha is f × 255, at most 255.
    struct Look {
        FSFixed scale;
        int alpha;
    };
    static Look LookOf(FSFixed life, FSFixed initialLife);

    // Each designed frame moves a particle by this part of its velocity (0.04).
    static constexpr FSFixed kStep = 2621;
    // Added to the owner's model length before halving it for the emission point behind it.
    static constexpr FSFixed kTailMargin = 655;

private:
    std::vector<std::unique_ptr<MFSAffector>> affectors_;
    std::unique_ptr<MFSEmmiter> emitter_;
    std::vector<FSParticle> particles_;
    int maxCount_ = 0;
    uint32_t texture_ = 0;
    uint32_t colour_ = 0;
    MFSSceneNode* owner_ = nullptr;  // not owned; null once it is deleted
    bool hadOwner_ = false;          // emits at an owner, never at its own position
    bool follow_ = false;
    FSFixed quadSize_ = 0;
    int drawn_ = 0;
};
