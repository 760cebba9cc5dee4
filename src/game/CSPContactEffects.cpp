// CSPContactResponses: what destruction looks like. Bursts of particles, the four pieces of
// a shattered object, the smoke trail of a damaged one and the wreck of a crashed aircraft.
#include <memory>
#include <string>
#include <utility>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "flight/FSFragment.h"
#include "game/CSPContactResponses.h"
#include "resources/FSTextureCache.h"
#include "world/FSBoomEmmiter.h"
#include "world/FSCollisionDetector.h"
#include "world/FSDamageable.h"
#include "world/FSFadeOutAffector.h"
#include "world/FSFountainEmmiter.h"
#include "world/FSGravityAffector.h"
#include "world/FSInverseEmmiter.h"
#include "world/FSMeshedNode.h"
#include "world/FSParticlesSystem.h"
#include "world/FSRandom.h"
#include "world/FSRandomLifetimeAffector.h"

namespace {

constexpr char kParticleTexture[] = "particle.png";
constexpr char kBoxModel[] = "cube.obj";

// A burst of particles: the pool size, the colour word (red bits 0-7, green 8-15, blue
// 16-23), half the side of a particle's quad (16.16 km), the spread of the velocities and
// their change (16.16 km per 25 frames) and the particles' life (designed frames).
struct Burst {
    int count;
    uint32_t colour;
    FSFixed quadSize;
    FSFixed velocity;
    FSFixed acceleration;
    int life;
};

// A gate's puff of white.
constexpr Burst kPuff{5, 0xFFFFFF, 524, 19660, 6553, 4};
// An explosion: grey smoke and pale yellow sparks.
constexpr Burst kSmokeBurst{40, 0x7AAAAA, 5242, 39321, 58982, 45};
constexpr Burst kSparkBurst{15, 0x9FEFFF, 2949, 19660, 58982, 20};

// The smoke of a damaged object: dark grey, 0.1 km quads, 30 frames of life; a standing
// object's column rises at 0.4 and scatters sideways by 0.8 of 0.04.
constexpr int kSmokeCount = 40;
constexpr uint32_t kSmokeColour = 0x222222;
constexpr FSFixed kSmokeQuadSize = 6553;
constexpr int kSmokeLife = 30;
constexpr FSFixedVector kSmokeRise{2621, 26214, 2621};
constexpr FSFixed kSmokeSpread = 52428;

// A piece's share of the object's mass, and how fast the pieces fly apart: per km by
// which a piece is smaller than the object's half (km/s).
constexpr float kPieceMassShare = 0.25f;
constexpr float kPieceSpeed = 0.2f;
// A piece's damage threshold, and its mass when the object had none.
constexpr float kPieceThreshold = 4.0f;
constexpr float kPieceMass = 1.0f;

// rand()'s range onto [0, 1): 1 / 32767.5.
constexpr float kRandomScale = 3.0518044e-5f;

// A random fraction in [0, 1) as 16.16; the smallest ones count as 0.
FSFixed RandomFraction(CFSRandom& random) {
    const float fraction = static_cast<float>(random.Next()) * kRandomScale;
    return fraction > 1e-6f ? static_cast<FSFixed>(fraction * 65536.0f) : 0;
}

// The box model's extents, or (0, 0, 0) without a model.
FSFixedVector ExtentsOf(const MFSSceneNode& node) {
    const FSBox* box = node.GetModel();
    if (!box || box->IsEmpty()) return FSFixedVector{};
    return FSFixedVector{box->max.x - box->min.x, box->max.y - box->min.y, box->max.z - box->min.z};
}

// The member name of the texture the node draws with, so that a box made with it takes the
// cached texture; empty for a node drawn untextured.
std::string TextureNameOf(const MFSSceneNode& node) {
    const auto* textured = dynamic_cast<const MFSTexturedNode*>(&node);
    const CFSTextureCache* cache = GetApplicationContext()->textureCache.get();
    if (!textured || !cache || textured->GetTexture() == 0) return std::string();
    return cache->GetTextureName(textured->GetTexture());
}

}  // namespace

void CSPContactResponses::BlowUp(MFSSceneNode& node, bool quiet) {
    const MFSDamageable* damage = DamageOf(node);
    auto* meshed = dynamic_cast<CFSMeshedNode*>(&node);
    if (meshed && node.GetType() == kNodeMeshed && damage && !damage->noShatter) {
        Shatter(*meshed, quiet);
        return;
    }
    const auto burst = [this, &node](const Burst& b) {
        const FSFixedVector velocity{b.velocity, b.velocity, b.velocity};
        const FSFixedVector acceleration{b.acceleration, b.acceleration, b.acceleration};
        CFSParticlesSystem* system = engine_.CreateParticlesSystem(
            kParticleTexture, b.count,
            std::make_unique<TFSBoomEmmiter>(FixedFromInt(b.life), velocity, acceleration), b.colour,
            b.quadSize);
        if (!system) return;
        system->SetCell(node.GetCell());
        system->SetPosition(node.GetPosition());
        system->AddAffector(std::make_unique<TFSGravityAffector>());
        system->AddAffector(std::make_unique<TFSFadeOutAffector>());
    };
    if (quiet) {
        burst(kPuff);
    } else {
        burst(kSmokeBurst);
        burst(kSparkBurst);
    }
    node.Remove();
}

void CSPContactResponses::Shatter(CFSMeshedNode& node, bool quiet) {
    if (quiet) {
        node.Remove();
        return;
    }
    CFSRandom& random = WorldRandom();
    random.Seed(ticks_());
    const FSFixedVector extents = ExtentsOf(node);
    const FSFixedVector half{extents.x / 2, extents.y / 2, extents.z / 2};
    const float halfX = FixedToFloat(half.x), halfZ = FixedToFloat(half.z);
    const auto* body = node.GetMoveableAs<MFSMoveableObject>();
    MFSCollisionDetector* detector = detector_ ? detector_() : nullptr;
    const SineTable& sine = GetApplicationContext()->sineTable;
    const FSFixedVector centre = node.GetPosition();
    const std::string texture = TextureNameOf(node);
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            const FSFixed r1 = RandomFraction(random), r2 = RandomFraction(random),
                          r3 = RandomFraction(random);
            const FSFixedVector size{FixedMul(r1, half.x), FixedMul(r2, half.y), FixedMul(r3, half.z)};
            // Into the object's four quarters: minus for index 0, plus for index 1.
            const FSFixed d = size.x / 2;
            const int sx = i == 0 ? -1 : 1, sz = j == 0 ? -1 : 1;
            CFSMeshedNode* piece = engine_.CreateMeshedNode(kBoxModel, texture);
            if (!piece) continue;
            piece->FitToSize(size);
            piece->SetCell(node.GetCell());
            piece->Place({centre.x + sx * d, centre.y, centre.z + sz * d});
            piece->SavePosition();

            // The smaller the piece, the faster it flies off; a moving object's pieces go
            // on with its motion and share its mass.
            FSVector velocity(sx * (halfX - FixedToFloat(size.x)) * kPieceSpeed, 0.0f,
                              sz * (halfZ - FixedToFloat(size.z)) * kPieceSpeed);
            float mass = kPieceMass;
            if (body) {
                mass = body->GetMass() * kPieceMassShare;
                velocity += body->GetVelocity();
            }
            piece->SetMoveableObject(std::make_unique<FSFragment>(*piece, velocity, mass, sine));
            auto damage = std::make_unique<MFSDamageable>(kPieceThreshold, kPieceHealth, kPieceHealth,
                                                          kPieceFatalValue);
            damage->noShatter = 1;
            piece->SetSecondAttachment(std::move(damage));
            if (detector) detector->Insert(piece);
        }
    }
    node.Remove();
}

void CSPContactResponses::AttachSmokeTrail(MFSSceneNode& node) {
    std::unique_ptr<MFSEmmiter> emitter;
    if (node.GetMoveableObject()) {
        emitter =
            std::make_unique<TFSInverseEmmiter>(FixedFromInt(kSmokeLife), FSFixedVector{}, FSFixedVector{});
    } else {
        emitter = std::make_unique<TFSFountainEmmiter>(FixedFromInt(kSmokeLife), kSmokeRise, FSFixedVector{},
                                                       kSmokeSpread);
    }
    // The system stays in the scene root rather than among the node's children: when the
    // node is destroyed its smoke hangs on where it was and fades out.
    CFSParticlesSystem* system = engine_.CreateParticlesSystem(
        kParticleTexture, kSmokeCount, std::move(emitter), kSmokeColour, kSmokeQuadSize);
    if (!system) return;
    system->SetCell(node.GetCell());
    system->SetPosition(node.GetPosition());
    system->SetOwner(&node);
    system->AddAffector(std::make_unique<TFSGravityAffector>());
    system->AddAffector(std::make_unique<TFSRandomLifetimeAffector>());
}

void CSPContactResponses::MakeWreck(MFSSceneNode& aircraftNode) {
    CFSMeshedNode* wreck = engine_.CreateMeshedNode(kBoxModel, TextureNameOf(aircraftNode));
    if (!wreck) return;
    wreck->FitToSize(ExtentsOf(aircraftNode));
    wreck->SetCell(aircraftNode.GetCell());
    wreck->Place(aircraftNode.GetPosition());
    wreck->SavePosition();
    wreck->SetOrientation(aircraftNode.GetOrientation());
    wreck->SaveOrientation();
    AttachSmokeTrail(*wreck);
}
