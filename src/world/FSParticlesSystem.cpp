#include "world/FSParticlesSystem.h"

#include <GLES/gl.h>

#include <algorithm>

#include "resources/FSPng.h"
#include "resources/FSTextureCache.h"
#include "world/FSNodeDrawing.h"
#include "world/FSScene.h"

namespace {

// The four corners of a quad as a strip: (−r −u), (+r −u), (−r +u), (+r +u).
const GLshort kCornerCoords[] = {0, 0, 1, 0, 0, 1, 1, 1};
const GLubyte kStrip[] = {0, 1, 2, 3};
constexpr FSFixed kLargestGrowth = 4 * kFixedOne;

uint32_t TextureByName(CFSTextureCache* cache, const std::string& name) {
    const uint32_t texture = cache ? cache->GetTexture(name) : kNoTexture;
    return texture == kNoTexture ? 0 : texture;
}

}  // namespace

CFSParticlesSystem::CFSParticlesSystem() : MFSSceneNode(kNodeParticles) {
    SetVisible(true);
}

CFSParticlesSystem::~CFSParticlesSystem() = default;

std::unique_ptr<CFSParticlesSystem> CFSParticlesSystem::CreateParticlesSystem(
    CFSTextureCache* textures, const std::string& texture, int maxCount, std::unique_ptr<MFSEmmiter> emitter,
    uint32_t colour, FSFixed quadSize) {
    auto system = std::make_unique<CFSParticlesSystem>();
    system->texture_ = TextureByName(textures, texture);
    system->maxCount_ = std::max(maxCount, 0);
    system->emitter_ = std::move(emitter);
    system->colour_ = colour;
    system->quadSize_ = quadSize;
    system->particles_.reserve(static_cast<size_t>(system->maxCount_));
    return system;
}

void CFSParticlesSystem::AddAffector(std::unique_ptr<MFSAffector> affector) {
    if (affector) affectors_.push_back(std::move(affector));
}

void CFSParticlesSystem::SetOwner(MFSSceneNode* owner) {
    if (!owner) return;
    owner_ = owner;
    hadOwner_ = true;
    follow_ = true;
    SetCullingStandIn(owner);
}

void CFSParticlesSystem::OnOwnerRemoved(MFSSceneNode& owner) {
    if (&owner != owner_) return;
    if (follow_) {
        // The smoke lingers where the owner last was: the system stands there from now on,
        // so that it is culled by where its particles are, not by where it was made.
        SetCell(owner.GetCell());
        StorePosition(owner.GetPosition());
    }
    follow_ = false;
    if (owner.IsBeingDeleted()) owner_ = nullptr;
}

CFSParticlesSystem::Look CFSParticlesSystem::LookOf(FSFixed life, FSFixed initialLife) {
    // In 64 bits: the quotient saturates for an initial life of 0, and + 1 must not wrap.
    const int64_t f = static_cast<int64_t>(FixedDiv(life, initialLife)) + 1;
    Look look;
    look.scale = f <= kFixedOne / 4
                     ? kLargestGrowth
                     : std::min(FixedDiv(kFixedOne, static_cast<FSFixed>(std::min<int64_t>(f, kFixedMax))),
                                kLargestGrowth);
    // A lengthened life (random lifetime) may exceed the initial one: stay opaque then.
    look.alpha = static_cast<int>(std::clamp<int64_t>((f * 255) >> 16, 0, 255));
    return look;
}

void CFSParticlesSystem::Update(CFSScene& /*scene*/, const FSFrame& frame) {
    const int count = static_cast<int>(particles_.size());
    if (emitter_ && count < maxCount_) {
        const int wanted = maxCount_ - count;
        if (!hadOwner_) {
            if (!emitter_->Emit(particles_, wanted, GetPosition(), GetCell(), GetAxisY(), colour_, frame))
                Remove();
        } else if (owner_ && !owner_->IsRemoved() && follow_) {
            // Just behind the owner: half its length (plus a hair) back along its nose axis.
            const FSBox* model = owner_->GetModel();
            const FSFixed length = model && !model->IsEmpty() ? model->Extent().y : 0;
            const FSFixed back = (length + kTailMargin) / 2;
            const FSFixedVector at = owner_->GetPosition() - ::Scale(owner_->GetAxisY(), back);
            emitter_->Emit(particles_, wanted, at, owner_->GetCell(), owner_->GetAxisY(), colour_, frame);
            SetCell(owner_->GetCell());
        } else if (particles_.empty()) {
            Remove();
        }
    }

    // Ageing and moving are sized per designed frame: scaled by the part of one that this
    // update stands for.
    const FSFixed step = FrameStep(frame);
    for (const std::unique_ptr<MFSAffector>& affector : affectors_)
        affector->Apply(particles_, step);

    const FSFixed move = FixedMul(kStep, step);
    for (FSParticle& particle : particles_) {
        particle.position = particle.position + ::Scale(particle.velocity, move);
        particle.velocity = particle.velocity + ::Scale(particle.acceleration, move);
    }
}

void CFSParticlesSystem::Draw(CFSScene& scene) {
    drawn_ = 0;
    if (!IsVisible()) return;
    const CFSCamera& camera = scene.Camera();

    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnableClientState(GL_COLOR_ARRAY);
    glTexEnvx(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDepthMask(GL_FALSE);
    glBindTexture(GL_TEXTURE_2D, texture_);
    // Quads carry no normals: a normal array left on would be read from another node's
    // (possibly released) vertices.
    const bool normalArray = glIsEnabled(GL_NORMAL_ARRAY) == GL_TRUE;
    glDisableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_SHORT, 0, kCornerCoords);

    glPushMatrix();
    const FSFixedVector at = camera.RelativePosition(*this);
    if (hadOwner_) {
        TranslateRotateEuler({}, at, 0, 0, 0);
    } else {
        TranslateRotateQuaternion({}, at, GetOrientation());
    }
    // The camera's right and up directions are the first two rows of the view rotation.
    const FSFixedMatrix& view = camera.ViewMatrix();
    const FSFixedVector right =
        ::Scale(Normalise(FSFixedVector{view.At(0, 0), view.At(0, 1), view.At(0, 2)}), quadSize_);
    const FSFixedVector up =
        ::Scale(Normalise(FSFixedVector{view.At(1, 0), view.At(1, 1), view.At(1, 2)}), quadSize_);

    GLfixed corners[12];
    GLubyte colours[16];
    for (const FSParticle& particle : particles_) {
        const FSFixed initialLife = particle.emitter ? particle.emitter->InitialLife() : particle.life;
        const Look look = LookOf(particle.life, initialLife);
        // Relative to the system, across cells: a trail that crossed into the next cell
        // keeps its older particles where they were.
        const FSFixedVector centre =
            particle.cell == GetCell()
                ? particle.position - GetPosition()
                : WrappedDifference(particle.position, particle.cell, GetPosition(), GetCell());
        const FSFixedVector r = ::Scale(right, look.scale);
        const FSFixedVector u = ::Scale(up, look.scale);
        const FSFixedVector quad[4] = {centre - r - u, centre + r - u, centre - r + u, centre + r + u};
        for (int i = 0; i < 4; ++i) {
            corners[3 * i] = quad[i].x;
            corners[3 * i + 1] = quad[i].y;
            corners[3 * i + 2] = quad[i].z;
            colours[4 * i] = static_cast<GLubyte>(particle.colour & 0xFF);
            colours[4 * i + 1] = static_cast<GLubyte>((particle.colour >> 8) & 0xFF);
            colours[4 * i + 2] = static_cast<GLubyte>((particle.colour >> 16) & 0xFF);
            colours[4 * i + 3] = static_cast<GLubyte>(look.alpha);
        }
        glVertexPointer(3, GL_FIXED, 0, corners);
        glColorPointer(4, GL_UNSIGNED_BYTE, 0, colours);
        glDrawElements(GL_TRIANGLE_STRIP, 4, GL_UNSIGNED_BYTE, kStrip);
        ++drawn_;
    }
    glPopMatrix();

    glEnable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glDisableClientState(GL_COLOR_ARRAY);
    glTexEnvx(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    if (normalArray) glEnableClientState(GL_NORMAL_ARRAY);
}
