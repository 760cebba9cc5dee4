#include "world/FSPropellerL.h"

#include <GLES/gl.h>

#include <cmath>
#include <cstdlib>

#include "world/FSNodeDrawing.h"
#include "world/FSRandom.h"
#include "world/FSSavedGLState.h"
#include "world/FSScene.h"
#include "world/FSSineTable.h"
#include "world/FSThrustSource.h"

namespace {

constexpr float kTwoPi = 6.2831853f;
constexpr float kPi = 3.1415927f;
// The disc's own box: ±256 / 65536 (about 4 m) on every axis.
constexpr FSFixed kBoxHalf = 256;

const GLubyte kBladePair[] = {0, 1, 2, 0, 3, 4};

}  // namespace

TFSPropellerL::TFSPropellerL(MFSSceneNode* owner, const SineTable& sine)
    : MFSSceneNode(kNodePlain),
      owner_(owner),
      box_(FSBox::FromCorners({-kBoxHalf, -kBoxHalf, -kBoxHalf}, {kBoxHalf, kBoxHalf, kBoxHalf})),
      sine_(sine) {
    phase_ = static_cast<float>(WorldRandom().Next()) / static_cast<float>(CFSRandom::kMax) * kTwoPi;
    if (phase_ < 1e-6f) phase_ = 0.0f;
    SetVisible(true);
    if (owner_) owner_->AddDependent(this);
    Adjust();
}

void TFSPropellerL::Adjust() {
    const FSBox* model = owner_ ? owner_->GetModel() : nullptr;
    if (!model || model->IsEmpty()) return;
    radius_ = model->Extent().z / 2;
    offsetY_ = std::abs(model->max.y);
    offsetZ_ = radius_ / 4;
    offsetSide_ = 0;
}

void TFSPropellerL::Adjust(float scale) {
    const FSBox* model = owner_ ? owner_->GetModel() : nullptr;
    if (!model || model->IsEmpty()) return;
    radius_ = FixedMul(model->Extent().z / 2, FloatToFixed(scale));
    offsetZ_ = -radius_;
    offsetY_ = 2 * std::abs(model->max.y);
}

void TFSPropellerL::SetOffsets(FSFixed alongNose, FSFixed alongUp, FSFixed sideways) {
    offsetY_ = alongNose;
    offsetZ_ = alongUp;
    offsetSide_ = sideways;
}

void TFSPropellerL::OnOwnerRemoved(MFSSceneNode& owner) {
    if (&owner != owner_) return;
    Remove();
    if (owner.IsBeingDeleted()) owner_ = nullptr;
}

void TFSPropellerL::Update(CFSScene& /*scene*/, const FSFrame& /*frame*/) {
    if (!owner_ || !IsVisible()) return;
    const FSFixedVector& nose = owner_->GetAxisY();
    const FSFixedVector& up = owner_->GetAxisZ();
    const FSFixedVector at = owner_->GetPosition() + ::Scale(nose, offsetY_) + ::Scale(up, offsetZ_) +
                             ::Scale(Cross(nose, up), offsetSide_);
    // The owner's cell first, so that a disc just past the cell edge wraps into the next one.
    SetCell(owner_->GetCell());
    Place(at);
}

float TFSPropellerL::ThrustFraction() const {
    const MFSThrustSource* source = owner_ ? owner_->GetMoveableAs<MFSThrustSource>() : nullptr;
    if (!source) return 0.0f;
    const float fraction = source->ThrustFraction();
    return fraction > 0.0f ? fraction : 0.0f;  // also turns NaN into idle
}

int TFSPropellerL::BladeCount(float thrustFraction) {
    if (!(thrustFraction > 0.0f)) return 0;
    if (thrustFraction >= 0.5f) return 16;
    int n = static_cast<int>(thrustFraction * 32.0f);
    if (n % 2 != 0) ++n;
    return n;
}

void TFSPropellerL::Draw(CFSScene& scene) {
    drawnPairs_ = 0;
    if (!owner_ || !IsVisible()) return;

    // The blades' colour and blending end with them: the next node finds the state this
    // one found.
    const FSSavedGLState saved;
    glPushMatrix();
    TranslateRotateEuler({}, scene.Camera().RelativePosition(*this), 0, 0, 0);
    FSSavedGLState::Set(GL_TEXTURE_2D, false);
    FSSavedGLState::Set(GL_LIGHTING, false);
    FSSavedGLState::Set(GL_CULL_FACE, false);
    FSSavedGLState::Set(GL_BLEND, true);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // The blades have positions only.
    FSSavedGLState::SetClient(GL_NORMAL_ARRAY, false);
    FSSavedGLState::SetClient(GL_TEXTURE_COORD_ARRAY, false);
    FSSavedGLState::SetClient(GL_COLOR_ARRAY, false);
    FSSavedGLState::SetClient(GL_VERTEX_ARRAY, true);

    // The disc stands across the nose: spanned by the up axis and the wing axis.
    const FSFixedVector& nose = owner_->GetAxisY();
    const FSFixedVector& up = owner_->GetAxisZ();
    const FSFixedVector f = ::Scale(up, radius_);
    const FSFixedVector s = ::Scale(Cross(nose, up), radius_);

    const float thrust = ThrustFraction();
    phase_ = std::fmod(phase_ + thrust * kTwoPi, kTwoPi);
    int n = BladeCount(thrust);
    float halfWidth = kPi / 8.0f;
    float step = 0.0f;
    if (n == 0) {
        // Engine idle: one pair of solid light-grey blades, in the light of the time of day
        // (they would glow in the dark otherwise).
        const FSFixed grey = FloatToFixed(0.9f);
        const FSFixedColour& daylight = scene.Camera().Daylight();
        glColor4x(FixedMul(grey, daylight.r), FixedMul(grey, daylight.g), FixedMul(grey, daylight.b),
                  kFixedOne);
        halfWidth = kPi / 16.0f;
        n = 2;
        step = kPi;
    } else {
        glColor4x(0, 0, 0, FloatToFixed(0.1f));
        step = kTwoPi / static_cast<float>(n);
    }

    GLfixed vertices[15] = {};
    for (int blade = 0; blade < n / 2; ++blade) {
        const float a = phase_;
        const FSFixed sinA = FloatToFixed(sine_.Sin(a));
        const FSFixed cosA = FloatToFixed(sine_.Cos(a));
        const FSFixed sinB = FloatToFixed(sine_.Sin(a + halfWidth));
        const FSFixed cosB = FloatToFixed(sine_.Cos(a + halfWidth));
        const FSFixedVector edgeA = ::Scale(f, sinA) + ::Scale(s, cosA);
        const FSFixedVector edgeB = ::Scale(f, sinB) + ::Scale(s, cosB);
        const FSFixedVector points[4] = {edgeA, edgeB, -edgeA, -edgeB};
        for (int i = 0; i < 4; ++i) {
            vertices[3 + 3 * i] = points[i].x;
            vertices[4 + 3 * i] = points[i].y;
            vertices[5 + 3 * i] = points[i].z;
        }
        glVertexPointer(3, GL_FIXED, 0, vertices);
        glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_BYTE, kBladePair);
        ++drawnPairs_;
        phase_ += step;
    }
    phase_ = std::fmod(phase_, kTwoPi);
    glPopMatrix();
}
