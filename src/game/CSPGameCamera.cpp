// Where the camera stands in each view: behind the aircraft with a lag that follows its
// accelerations (chase), in its seat (cockpit), circling the end of a finished flight, or
// high over the map.
#include <algorithm>
#include <cmath>

#include "app/FSApplicationContext.h"
#include "base/FSActions.h"
#include "game/CSPAircraft.h"
#include "game/CSPGameController.h"
#include "world/FSBox.h"
#include "world/FSFixed.h"
#include "world/FSScene.h"
#include "world/FSSineTable.h"
#include "world/FSTerrainHolder.h"

namespace {

constexpr float kDegree = 0.017453292f;
// The eye never goes lower than this above the ground (km): behind an aircraft rolling
// down a slope, or one that lies where it crashed, the eye rises instead.
constexpr float kCameraClearance = 0.002f;
// The circle of a finished flight's camera is at most this wide (km), so the end of the
// flight stays in view.
constexpr float kLargestFinishCircle = 0.4f;

FSFixed X(float value) {
    return FloatToFixed(value);
}

FSVector Axis(const FSFixedVector& v) {
    return ToFloat(v);
}

const CFSTerrainStorage* Ground() {
    const CFSTerrainHolder* holder = GetApplicationContext()->terrain.get();
    return holder && holder->IsLoaded() ? holder->model.get() : nullptr;
}

// Ground height (km, scene) under a point of a cell; 0 without a terrain.
float GroundHeightAt(const FSFixedVector& p, const FSCell& cell) {
    const CFSTerrainStorage* ground = Ground();
    if (!ground) return 0.0f;
    return FixedToFloat(p.y - ground->HeightAboveAt(p, cell));
}

}  // namespace

float SoftClamp(float x, float lo, float hi) {
    const float span = std::fabs(lo) + std::fabs(hi);
    const float h = span > 1e-6f ? span * 0.5f : 0.0f;
    const float s = x > 0.0f ? 1.0f - 0.2f / (10.0f * x + 0.2f) : 0.2f / (0.2f - 10.0f * x) - 1.0f;
    return lo + (s + 1.0f) * h;
}

FSQuaternion Slerp(const FSQuaternion& q1, const FSQuaternion& q2, float t, const SineTable& sine) {
    const float d = q1.w * q2.w + q1.x * q2.x + q1.y * q2.y + q1.z * q2.z;
    FSQuaternion from = q1;
    float w1 = 1.0f - t, w2 = t;
    if (d + 1.0f <= 1e-6f) {
        // Opposite orientations: go by way of one a quarter turn from the target.
        from = FSQuaternion{q2.z, -q2.y, q2.x, -q2.w};
        w1 = sine.Sin((1.0f - t) * 90.0f * kDegree);
        w2 = sine.Sin(t * 90.0f * kDegree);
    } else if (1.0f - d > 1e-6f) {
        const float theta = std::acos(std::clamp(d, -1.0f, 1.0f));
        const float sinTheta = sine.Sin(theta);
        if (sinTheta >= 1e-6f) {
            w1 = sine.Sin((1.0f - t) * theta) / sinTheta;
            w2 = sine.Sin(t * theta) / sinTheta;
        }
    }
    return Normalise(FSQuaternion{w1 * from.w + w2 * q2.w, w1 * from.x + w2 * q2.x, w1 * from.y + w2 * q2.y,
                                  w1 * from.z + w2 * q2.z});
}

void CSPGameController::LookFrom(const FSFixedVector& eye, const FSCell& cell, const FSFixedVector& target,
                                 const FSFixedVector& up) {
    CFSApplicationContext& context = Context();
    if (!context.sceneRoot) return;
    FSFixedVector raised = eye;
    FSFixedVector aim = target;
    if (const CFSTerrainStorage* ground = Ground()) {
        const FSFixed above = ground->HeightAboveAt(eye, cell);
        if (above < X(kCameraClearance)) {
            raised.y += X(kCameraClearance) - above;
            aim.y += X(kCameraClearance) - above;
        }
    }
    cameraEye_ = raised;
    cameraCell_ = cell;
    CFSCamera& camera = context.sceneRoot->Camera();
    camera.SetCell(cell);
    camera.LookAt(raised, aim, up, context.game.screenAlign);
    camera.SetOrientation(cameraOrientation_);
}

void CSPGameController::SetCameraTarget(MFSSceneNode* target, int mode) {
    cameraTarget_ = target;
    cameraMode_ = mode;
    if (!target || mode != 1) return;
    // The chase camera starts at once behind the aircraft, then slides out to its distance.
    const FSVector a = Axis(target->GetAxisY()), b = Axis(target->GetAxisZ());
    FSFixedVector eye = target->GetPosition() + ToFixed(a * chaseDistance_ + b * chaseHeight_);
    FSCell cell = target->GetCell();
    WrapIntoCell(eye, cell);
    followCounter_ = 0;
    cameraOrientation_ = target->GetOrientation();
    LookFrom(eye, cell, eye + ToFixed(a), ToFixed(b));
}

void CSPGameController::CameraStep() {
    if (view_ == kViewOrbit) {
        ++orbitAngle_;
        const float angle = static_cast<float>(orbitAngle_ % 360) * kDegree;
        const SineTable& sine = Context().sineTable;
        LookFrom({X(50.0f * sine.Sin(angle)), X(10.0f), X(50.0f * sine.Cos(angle))}, cameraCell_,
                 {0, X(7.0f), 0}, {0, kFixedOne, 0});
        return;
    }
    if (view_ == kViewFinished) {
        // Round the place where the flight ended, at its height above the ground.
        const float angle = static_cast<float>(countdown_ % 360) * kDegree;
        const float r = std::min(resultDistance_, kLargestFinishCircle);
        const SineTable& sine = Context().sineTable;
        FSFixedVector eye = lastPosition_ + FSFixedVector{X(r * sine.Sin(angle)), 0, X(r * sine.Cos(angle))};
        FSCell cell = lastCell_;
        WrapIntoCell(eye, cell);
        const float above = FixedToFloat(lastPosition_.y) - GroundHeightAt(lastPosition_, lastCell_);
        eye.y = X(GroundHeightAt(eye, cell) + std::max(above, 0.0f) + 0.4f * r);
        // The target is the end position seen from the eye's cell.
        const FSFixedVector target = eye + WrappedDifference(lastPosition_, lastCell_, eye, cell);
        LookFrom(eye, cell, target, {0, kFixedOne, 0});
        return;
    }
    if (view_ == kViewFixed || view_ == kViewMap) return;
    CameraFollow();
}

void CSPGameController::CameraFollow() {
    MFSSceneNode* target = cameraTarget_;
    if (!target) return;
    const FSVector a = Axis(target->GetAxisY()), b = Axis(target->GetAxisZ());
    const FSVector c = Cross(a, b);
    const FSFixedVector& p = target->GetPosition();
    CSPAircraft* aircraft = target == aircraft_ ? Aircraft() : nullptr;

    if (aircraft && aircraft->GetLookAround()) {
        // Looking around from the seat: from the top of the model along the look direction.
        cameraOrientation_ = target->GetOrientation();
        FSVector lift{0.0f, 0.0f, 0.0f};
        const FSBox* box = target->GetModel();
        if (target->IsVisible() && box && !box->IsEmpty())
            lift = b * (1.12f * std::fabs(FixedToFloat(box->max.z)));
        const FSFixedVector eye = p + ToFixed(lift);
        LookFrom(eye, target->GetCell(), eye + ToFixed(aircraft->LookDirection()), ToFixed(b));
        return;
    }

    FSVector e{0.0f, chaseHeight_, chaseDistance_};
    if (cameraMode_ == 3) {
        // The pilot's eye: at the top of the cabin, clear of what stays of the model.
        const FSBox* box = target->GetModel();
        const float top = box && !box->IsEmpty() ? std::fabs(FixedToFloat(box->max.z)) : 0.0f;
        e = FSVector{0.0f, 0.9f * top, 0.0f};
    }
    if (cameraMode_ == 1 && aircraft && aircraft->GetMass() > 0.0f) {
        // The camera lags behind the aircraft's accelerations, within the "Displace" limits.
        const FSVector acc = aircraft->GetForce() / aircraft->GetMass();
        const float s1 = SoftClamp(-Dot(acc, a), -displace_[2], displace_[2]);
        const float g = chaseDistance_ != 0.0f ? s1 / chaseDistance_ + 1.0f : 1.0f;
        const float s2 = SoftClamp(Dot(acc, c), -displace_[0] * g, displace_[0] * g);
        const float s3 = SoftClamp(Dot(acc, b), -displace_[1] * g, displace_[1] * g);
        e.x += s2;
        e.y += s3;
        ++followCounter_;
        const float ramp = SoftClamp(static_cast<float>(followCounter_) * 0.005f, -1.0f, 1.0f);
        e.z = (e.z + s1) * ramp;
        FSFixedVector eye = p + ToFixed(a * e.z + b * e.y + c * e.x);
        FSCell cell = target->GetCell();
        WrapIntoCell(eye, cell);
        cameraOrientation_ =
            Slerp(cameraOrientation_, target->GetOrientation(), rigidity_, Context().sineTable);
        const FSVector up = Rotate(cameraOrientation_, FSVector(0.0f, 0.0f, 1.0f));
        LookFrom(eye, cell, eye + ToFixed(a), ToFixed(up));
        return;
    }
    FSFixedVector eye = p + ToFixed(a * e.z + b * e.y + c * e.x);
    FSCell cell = target->GetCell();
    WrapIntoCell(eye, cell);
    cameraOrientation_ = target->GetOrientation();
    LookFrom(eye, cell, eye + ToFixed(a), ToFixed(b));
}

void CSPGameController::PlaceFixedCamera() {
    // The camera stays where the last view left it.
    CFSApplicationContext& context = Context();
    if (context.sceneRoot) cameraCell_ = context.sceneRoot->Camera().GetCell();
}

void CSPGameController::PlaceMapCamera() {
    if (!aircraft_ || !Ground()) return;
    // High above the aircraft, looking down on it, north at the top.
    const FSFixedVector centre = aircraft_->GetPosition() + mapOffset_;
    FSFixedVector eye = centre;
    eye.y = X(GroundHeightAt(centre, aircraft_->GetCell()) + mapDistance_);
    LookFrom(eye, aircraft_->GetCell(), centre, {0, 0, -kFixedOne});
}

void CSPGameController::MoveMapCamera(int action) {
    const FSFixed step = X(0.05f * mapDistance_);
    switch (action) {
        case kActionMapCameraNearer:
            mapDistance_ = std::max(mapDistance_ / 1.1f, 0.3f);
            break;
        case kActionMapCameraFarther:
            mapDistance_ = std::min(mapDistance_ * 1.1f, 48.0f);
            break;
        case kActionElevatorsUp:
            mapOffset_.z -= step;
            break;
        case kActionElevatorsDown:
            mapOffset_.z += step;
            break;
        case kActionAileronsLeft:
            mapOffset_.x -= step;
            break;
        case kActionAileronsRight:
            mapOffset_.x += step;
            break;
        default:
            return;
    }
    PlaceMapCamera();
}
