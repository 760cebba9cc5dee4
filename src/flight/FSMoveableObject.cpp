#include "flight/FSMoveableObject.h"

#include <cmath>
#include <limits>

#include "world/FSFixed.h"
#include "world/FSSceneNode.h"
#include "world/FSSineTable.h"

namespace {

// 16.16 units in a kilometre.
constexpr double kUnitsPerKm = 65536.0;

// a + b, saturated to the 16.16 range rather than wrapping.
FSFixed AddSaturated(FSFixed a, FSFixed b) {
    const int64_t sum = static_cast<int64_t>(a) + static_cast<int64_t>(b);
    if (sum > kFixedMax) return kFixedMax;
    if (sum < -static_cast<int64_t>(kFixedMax)) return -kFixedMax;
    return static_cast<FSFixed>(sum);
}

// value rounded down and held to the 16.16 range.
FSFixed WholeUnits(double value) {
    const double whole = std::floor(value);
    if (whole > static_cast<double>(kFixedMax)) return kFixedMax;
    if (whole < -static_cast<double>(kFixedMax)) return -kFixedMax;
    return static_cast<FSFixed>(whole);
}

bool IsFinite(const FSVector& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

}  // namespace

MFSMoveableObject::MFSMoveableObject(MFSSceneNode& node, const FSVector& velocity_, float mass_,
                                     const SineTable& sine)
    : velocity(velocity_), mass(mass_), node_(&node), sine_(&sine) {}

MFSMoveableObject::~MFSMoveableObject() = default;

void MFSMoveableObject::ComputeForces() {}

void MFSMoveableObject::Stop() {
    velocity = FSVector();
    angularVelocity = FSVector();
}

FSSubSteps MFSMoveableObject::SubStepsFor(float seconds, bool dividable) {
    FSSubSteps steps;
    const float wanted = seconds * kSubStepsPerSecond;
    int count = 0;
    if (wanted >= static_cast<float>(kMaxSubSteps)) {
        count = kMaxSubSteps;
    } else if (wanted > 0.0f) {
        count = static_cast<int>(wanted);
    }
    if (!dividable || count == 0) {
        steps.count = 1;
        steps.length = seconds;
    } else {
        steps.count = count;
        steps.length = seconds / static_cast<float>(count);
    }
    return steps;
}

void MFSMoveableObject::Integrate(float seconds) {
    if (!(seconds > 0.0f) || !std::isfinite(seconds)) return;
    const FSSubSteps steps = SubStepsFor(seconds, subStepping);
    subStep = steps.length;
    const bool rotates = inertia.x != 0.0f && inertia.y != 0.0f && inertia.z != 0.0f;

    MFSSceneNode& node = *node_;
    FSFixedVector position = node.GetPosition();
    node.SaveOrientation();
    if (position != leftAt_ || node.GetCell() != leftIn_) {
        for (double& units : carried_)
            units = 0.0;
    }

    for (int i = 0; i < steps.count; ++i) {
        ComputeForces();
        if (mass != 0.0f) velocity += (force / mass) * subStep;
        // A force model that broke down (absurd values in a description overflow to
        // infinity and then to not-a-number) stops the object rather than carrying
        // not-a-number or a jump to infinity into the node.
        if (!IsFinite(velocity)) Stop();

        const float along[3] = {velocity.x, velocity.y, velocity.z};
        for (int axis = 0; axis < 3; ++axis) {
            const double units = carried_[axis] + static_cast<double>(along[axis]) * subStep * kUnitsPerKm;
            const FSFixed whole = WholeUnits(units);
            position[axis] = AddSaturated(position[axis], whole);
            // A step beyond the 16.16 range carries nothing on.
            const double rest = units - whole;
            carried_[axis] = rest >= 0.0 && rest < 1.0 ? rest : 0.0;
        }

        if (rotates) {
            const FSVector angularAcceleration(torque.x / inertia.x, torque.y / inertia.y,
                                               torque.z / inertia.z);
            angularVelocity += angularAcceleration * subStep;
        }
        if (!IsFinite(angularVelocity)) Stop();
        const float theta = Length(angularVelocity) * subStep;
        if (theta != 0.0f) {
            const FSQuaternion turn = FromAxisAngle(angularVelocity, theta, *sine_);
            // The table's sine and cosine are not exactly on the unit circle; renormalising
            // keeps thousands of small turns from slowly scaling the orientation.
            node.SetOrientation(Normalise(node.GetOrientation() * turn));
        }
    }
    node.Move(position);
    leftAt_ = node.GetPosition();
    leftIn_ = node.GetCell();
}

void MFSMoveableObject::OnCollision(const FSFixedVector& pushBack) {
    MFSSceneNode& node = *node_;
    const FSFixedVector& at = node.GetPosition();
    node.Move(
        {AddSaturated(at.x, -pushBack.x), AddSaturated(at.y, -pushBack.y), AddSaturated(at.z, -pushBack.z)});

    FSVector nose = ToFloat(node.GetAxisY());
    if (pushBack.x != 0) {
        velocity.x = -velocity.x;
        nose.x = -nose.x;
    }
    if (pushBack.z != 0) {
        velocity.z = -velocity.z;
        nose.z = -nose.z;
    }
    if (pushBack.y > 0) {
        velocity.y = -velocity.y;
        nose.y = -nose.y;
        node.LookAlong(nose);
        return;
    }
    if (pushBack.y < 0) {
        // Landed on top of something: no more vertical motion, the nose levelled.
        velocity.y = 0.0f;
        nose.y = 0.0f;
        if (static_cast<double>(Length(nose)) < 0.0001) {
            nose = FSVector(1.0f, 0.0f, 0.0f);
        } else {
            nose = Normalise(nose);
        }
        const FSVector upAxis = ToFloat(node.GetAxisZ());
        if (static_cast<double>(Length(Cross(nose, upAxis))) < 0.0001) {
            node.LookAlong(FSVector(0.0f, 1.0f, 0.0f));
            return;
        }
    }
    node.LookAlong(nose);
}
