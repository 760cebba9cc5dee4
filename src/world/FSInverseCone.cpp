#include "world/FSInverseCone.h"

#include <GLES/gl.h>

#include <cstdlib>

#include "world/FSNodeDrawing.h"
#include "world/FSSavedGLState.h"
#include "world/FSScene.h"
#include "world/FSSineTable.h"

namespace {

constexpr FSFixed kBoxHalf = 256;
constexpr FSFixed kRadiusFactor = 26214;  // 0.4
constexpr FSFixed kLengthFactor = 39321;  // 0.6
constexpr float kRingStep = 1.0471976f;   // π / 3: six triangles round the fan
constexpr int kRingPoints = 7;            // the first point again closes the fan
constexpr int kFanPoints = kRingPoints + 1;

// A random value 0..32767 for a frame time. The flame must not disturb or depend on the
// process's own rand(), and the first value after seeding a linear congruential generator
// grows almost in step with the seed, which would stretch the flame slowly frame by frame
// instead of flickering it; the time's bits are mixed thoroughly first (the finaliser of
// MurmurHash3).
int FrameRandom(uint32_t seed) {
    seed ^= seed >> 16;
    seed *= 0x85EBCA6Bu;
    seed ^= seed >> 13;
    seed *= 0xC2B2AE35u;
    seed ^= seed >> 16;
    return static_cast<int>(seed & 0x7FFF);
}

// Tip: transparent orange; ring: the hot core, white-yellow and nearly opaque.
const GLfloat kTipColour[4] = {1.0f, 0.45f, 0.08f, 0.0f};
const GLfloat kRingColour[4] = {1.0f, 0.96f, 0.72f, 0.9f};

}  // namespace

TFSInverseCone::TFSInverseCone(MFSSceneNode* owner, const SineTable& sine)
    : MFSSceneNode(kNodePlain), owner_(owner), sine_(sine) {
    box_ = FSBox::FromCorners({-kBoxHalf, -kBoxHalf, -kBoxHalf}, {kBoxHalf, kBoxHalf, kBoxHalf});
    SetVisible(true);
    if (!owner_) return;
    owner_->AddDependent(this);
    if (const FSBox* model = owner_->GetModel(); model && !model->IsEmpty()) {
        const FSFixedVector extent = model->Extent();
        radius_ = FixedMul(kRadiusFactor, extent.z / 2);
        length_ = FixedMul(kLengthFactor, extent.y / 2);
        offset_ = std::abs(FixedMul(kLengthFactor, model->min.y));
    }
}

void TFSInverseCone::SetPlacement(FSFixed alongY, FSFixed alongZ, FSFixed side) {
    alongY_ = alongY;
    alongZ_ = alongZ;
    side_ = side;
}

void TFSInverseCone::Scale(const FSFixedVector&) {}

void TFSInverseCone::OnOwnerRemoved(MFSSceneNode& owner) {
    if (&owner != owner_) return;
    Remove();
    if (owner.IsBeingDeleted()) owner_ = nullptr;
}

void TFSInverseCone::Update(CFSScene&, const FSFrame& frame) {
    if (!owner_ || !IsVisible()) return;
    const FSFixedVector& y = owner_->GetAxisY();
    const FSFixedVector& z = owner_->GetAxisZ();
    const FSFixedVector position = owner_->GetPosition() + ::Scale(y, alongY_ - offset_) +
                                   ::Scale(z, alongZ_) + ::Scale(Cross(y, z), side_);
    SetCell(owner_->GetCell());
    Place(position);
    flicker_ = static_cast<FSFixed>(static_cast<int64_t>(length_) * FrameRandom(frame.time) / 32767);
}

void TFSInverseCone::Draw(CFSScene& scene) {
    if (!IsVisible() || !owner_) return;
    const FSFixedVector& y = owner_->GetAxisY();
    const FSFixedVector& z = owner_->GetAxisZ();
    const FSFixedVector side = Cross(y, z);

    GLfixed vertices[kFanPoints * 3];
    GLfloat colours[kFanPoints * 4];
    const FSFixedVector tip = ::Scale(y, -flicker_);
    vertices[0] = tip.x;
    vertices[1] = tip.y;
    vertices[2] = tip.z;
    for (int c = 0; c < 4; ++c)
        colours[c] = kTipColour[c];
    for (int i = 0; i < kRingPoints; ++i) {
        const float angle = kRingStep * static_cast<float>(i % 6);
        const FSFixed cosA = FloatToFixed(sine_.Cos(angle));
        const FSFixed sinA = FloatToFixed(sine_.Sin(angle));
        const FSFixedVector p = ::Scale(::Scale(z, cosA) + ::Scale(side, sinA), radius_);
        vertices[(i + 1) * 3] = p.x;
        vertices[(i + 1) * 3 + 1] = p.y;
        vertices[(i + 1) * 3 + 2] = p.z;
        for (int c = 0; c < 4; ++c)
            colours[(i + 1) * 4 + c] = kRingColour[c];
    }

    glPushMatrix();
    TranslateRotateEuler({}, scene.Camera().RelativePosition(*this), 0, 0, 0);
    {
        FSSavedGLState saved;
        FSSavedGLState::Set(GL_TEXTURE_2D, false);
        FSSavedGLState::Set(GL_LIGHTING, false);
        FSSavedGLState::Set(GL_BLEND, true);
        // Seen from any side: the chase view looks at it from behind, a fly-by from in front.
        FSSavedGLState::Set(GL_CULL_FACE, false);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glShadeModel(GL_SMOOTH);
        FSSavedGLState::SetClient(GL_VERTEX_ARRAY, true);
        FSSavedGLState::SetClient(GL_COLOR_ARRAY, true);
        FSSavedGLState::SetClient(GL_NORMAL_ARRAY, false);
        FSSavedGLState::SetClient(GL_TEXTURE_COORD_ARRAY, false);
        glVertexPointer(3, GL_FIXED, 0, vertices);
        glColorPointer(4, GL_FLOAT, 0, colours);
        glDrawArrays(GL_TRIANGLE_FAN, 0, kFanPoints);
    }
    glPopMatrix();
}
