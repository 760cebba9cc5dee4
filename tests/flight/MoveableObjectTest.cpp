#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "FlightTestSupport.h"
#include "flight/FSFragment.h"
#include "flight/FSMoveableObject.h"

using flight_test::BareNode;

namespace {

// A moveable object whose force and torque the test sets, counting its force computations
// and the sub-step each one saw.
class Probe : public MFSMoveableObject {
public:
    Probe(MFSSceneNode& node, const FSVector& velocity, float mass, const SineTable& sine, bool dividable)
        : MFSMoveableObject(node, velocity, mass, sine) {
        subStepping = dividable;
    }
    void ComputeForces() override {
        subSteps.push_back(subStep);
        force = appliedForce;
        torque = appliedTorque;
    }
    FSVector appliedForce;
    FSVector appliedTorque;
    std::vector<float> subSteps;
};

TEST(MoveableObject, DividesAStepIntoSubStepsOfAtLeastATwentiethOfASecond) {
    const FSSubSteps frame = MFSMoveableObject::SubStepsFor(0.2f, true);
    EXPECT_EQ(frame.count, 4);
    EXPECT_FLOAT_EQ(frame.length, 0.05f);
    const FSSubSteps fast = MFSMoveableObject::SubStepsFor(0.04f, true);
    EXPECT_EQ(fast.count, 1);
    EXPECT_FLOAT_EQ(fast.length, 0.04f);
    const FSSubSteps slow = MFSMoveableObject::SubStepsFor(0.8f, true);
    EXPECT_EQ(slow.count, 16);
    EXPECT_FLOAT_EQ(slow.length, 0.05f);
    // 0.15 s: three sub-steps; 0.099 s: one sub-step of 0.099 (lengths stay within 0.05..0.1).
    EXPECT_EQ(MFSMoveableObject::SubStepsFor(0.15f, true).count, 3);
    EXPECT_EQ(MFSMoveableObject::SubStepsFor(0.099f, true).count, 1);
    // Without dividing, one step of the whole length.
    const FSSubSteps whole = MFSMoveableObject::SubStepsFor(0.8f, false);
    EXPECT_EQ(whole.count, 1);
    EXPECT_FLOAT_EQ(whole.length, 0.8f);

    SineTable sine;
    BareNode node;
    Probe probe(node, FSVector(), 1.0f, sine, true);
    probe.Integrate(0.2f);
    EXPECT_EQ(probe.subSteps, (std::vector<float>{0.05f, 0.05f, 0.05f, 0.05f}));
    probe.subSteps.clear();
    probe.Integrate(0.8f);
    EXPECT_EQ(probe.subSteps.size(), 16u);
    // No step, a negative one or not-a-number: nothing happens.
    probe.subSteps.clear();
    probe.Integrate(0.0f);
    probe.Integrate(-0.2f);
    probe.Integrate(std::numeric_limits<float>::quiet_NaN());
    probe.Integrate(std::numeric_limits<float>::infinity());
    EXPECT_TRUE(probe.subSteps.empty());
}

TEST(MoveableObject, MovesWithTheNewVelocityAndOnlyAtTheEndOfTheStep) {
    SineTable sine;
    BareNode node;
    node.Place({FloatToFixed(1.0f), FloatToFixed(6.0f), 0});
    // 2 kg pushed along world x with 0.2 kN: 0.1 km/s² for 0.04 s (one sub-step).
    Probe probe(node, FSVector(0.05f, 0.0f, 0.0f), 2.0f, sine, true);
    probe.appliedForce = FSVector(0.2f, 0.0f, 0.0f);
    probe.Integrate(0.04f);
    EXPECT_FLOAT_EQ(probe.GetVelocity().x, 0.054f);
    // Semi-implicit: the position moved with the new velocity, in 16.16.
    const FSFixed expected =
        FloatToFixed(1.0f) + FixedMul(FloatToFixed(probe.GetVelocity().x), FloatToFixed(0.04f));
    EXPECT_EQ(node.GetPosition().x, expected);
    EXPECT_EQ(node.GetPreviousPosition().x, FloatToFixed(1.0f));

    // Within a step the node stays put until the last sub-step.
    std::vector<FSFixed> seen;
    struct Watcher : Probe {
        using Probe::Probe;
        std::vector<FSFixed>* seen = nullptr;
        void ComputeForces() override {
            seen->push_back(GetNode().GetPosition().x);
            Probe::ComputeForces();
        }
    };
    BareNode other;
    Watcher watcher(other, FSVector(0.1f, 0.0f, 0.0f), 1.0f, sine, true);
    watcher.seen = &seen;
    watcher.Integrate(0.2f);
    EXPECT_EQ(seen, (std::vector<FSFixed>{0, 0, 0, 0}));
    EXPECT_NEAR(FixedToFloat(other.GetPosition().x), 0.02f, 1e-4f);
}

TEST(MoveableObject, ZeroMassKeepsTheVelocityAndAnyZeroInertiaStopsAllRotation) {
    SineTable sine;
    BareNode node;
    Probe massless(node, FSVector(0.01f, 0.0f, 0.0f), 0.0f, sine, true);
    massless.appliedForce = FSVector(5.0f, 5.0f, 5.0f);
    massless.Integrate(0.2f);
    EXPECT_EQ(massless.GetVelocity(), FSVector(0.01f, 0.0f, 0.0f));

    for (int zeroAxis = -1; zeroAxis < 3; ++zeroAxis) {
        BareNode spun;
        Probe probe(spun, FSVector(), 1.0f, sine, true);
        FSVector inertia(2.0f, 2.0f, 2.0f);
        if (zeroAxis >= 0) inertia[zeroAxis] = 0.0f;
        probe.SetInertia(inertia);
        probe.appliedTorque = FSVector(1.0f, 0.0f, 0.0f);
        probe.Integrate(0.2f);
        if (zeroAxis < 0) {
            // 0.5 rad/s² about body x for 0.2 s.
            EXPECT_FLOAT_EQ(probe.GetAngularVelocity().x, 0.1f);
            EXPECT_NE(spun.GetOrientation(), FSQuaternion::Identity());
        } else {
            EXPECT_EQ(probe.GetAngularVelocity(), FSVector()) << zeroAxis;
            EXPECT_EQ(spun.GetOrientation(), FSQuaternion::Identity()) << zeroAxis;
        }
    }
    // An angular velocity given from outside (nose-wheel steering) still turns the node.
    BareNode steered;
    Probe wheel(steered, FSVector(), 1.0f, sine, true);
    wheel.SetAngularVelocity(FSVector(0.0f, 0.0f, 0.5f));
    wheel.Integrate(0.2f);
    EXPECT_NEAR(ToFloat(steered.GetAxisY()).x, -std::sin(0.1f), 1e-3f);
}

TEST(MoveableObject, TurnsInTheBodyFrameAndKeepsTheOrientationUnit) {
    SineTable sine;
    BareNode node;
    // Level toward world −z; a pitch rate about body x raises the nose.
    node.LookAlong(FSVector(0.0f, 0.0f, -1.0f), FSVector(0.0f, 1.0f, 0.0f));
    Probe probe(node, FSVector(), 1.0f, sine, true);
    probe.SetInertia(FSVector(1.0f, 1.0f, 1.0f));
    probe.SetAngularVelocity(FSVector(0.5f, 0.0f, 0.0f));
    const FSQuaternion before = node.GetOrientation();
    probe.Integrate(0.2f);
    EXPECT_EQ(node.GetPreviousOrientation(), before);
    const FSVector nose = ToFloat(node.GetAxisY());
    EXPECT_NEAR(nose.y, std::sin(0.1f), 1e-3f);
    EXPECT_NEAR(nose.z, -std::cos(0.1f), 1e-3f);
    // Thousands of turns leave a unit orientation.
    probe.SetAngularVelocity(FSVector(0.3f, 1.1f, -0.7f));
    for (int i = 0; i < 5000; ++i)
        probe.Integrate(0.2f);
    const FSQuaternion q = node.GetOrientation();
    EXPECT_NEAR(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z, 1.0f, 1e-5f);
}

TEST(MoveableObject, AForceModelThatBreaksDownStopsTheObjectInsteadOfSpreadingNaN) {
    SineTable sine;
    BareNode node;
    node.Place({FloatToFixed(2.0f), FloatToFixed(7.0f), FloatToFixed(-3.0f)});
    Probe probe(node, FSVector(0.1f, 0.0f, 0.0f), 1.0f, sine, true);
    probe.SetInertia(FSVector(2e-6f, 2e-6f, 2e-6f));
    probe.appliedForce = FSVector(std::numeric_limits<float>::infinity(), 0.0f, 0.0f);
    probe.appliedTorque = FSVector(3e38f, 0.0f, 0.0f);
    probe.Integrate(0.2f);
    EXPECT_EQ(probe.GetVelocity(), FSVector());
    EXPECT_EQ(probe.GetAngularVelocity(), FSVector());
    EXPECT_EQ(node.GetPosition().x, FloatToFixed(2.0f));
    EXPECT_EQ(node.GetOrientation(), FSQuaternion::Identity());
}

TEST(MoveableObject, StopHaltsMotionAndTurning) {
    SineTable sine;
    BareNode node;
    Probe probe(node, FSVector(0.1f, 0.2f, 0.3f), 1.0f, sine, true);
    probe.SetAngularVelocity(FSVector(1.0f, 1.0f, 1.0f));
    probe.Stop();
    EXPECT_EQ(probe.GetVelocity(), FSVector());
    EXPECT_EQ(probe.GetAngularVelocity(), FSVector());
}

TEST(MoveableObject, AFragmentFliesStraightOnItsVelocityInOneStep) {
    SineTable sine;
    BareNode node;
    node.Place({0, FloatToFixed(3.0f), 0});
    FSFragment fragment(node, FSVector(0.1f, -0.05f, 0.0f), 2.5f, sine);
    EXPECT_FALSE(fragment.IsSubStepping());
    EXPECT_EQ(fragment.GetMass(), 2.5f);
    for (int i = 0; i < 10; ++i)
        fragment.Integrate(0.2f);
    EXPECT_EQ(fragment.GetVelocity(), FSVector(0.1f, -0.05f, 0.0f));
    EXPECT_EQ(fragment.GetSubStep(), 0.2f);
    EXPECT_NEAR(FixedToFloat(node.GetPosition().x), 0.2f, 1e-3f);
    EXPECT_NEAR(FixedToFloat(node.GetPosition().y), 2.9f, 1e-3f);
    EXPECT_EQ(node.GetOrientation(), FSQuaternion::Identity());
}

TEST(MoveableObject, CollisionPushesBackAndBouncesOnTheHitAxes) {
    SineTable sine;
    const FSFixed one = kFixedOne;
    {
        // A wall hit across x: pushed back, x velocity and nose reversed.
        BareNode node;
        node.Place({one, one, one});
        node.LookAlong(FSVector(1.0f, 0.0f, 0.0f));
        FSFragment fragment(node, FSVector(0.05f, 0.0f, 0.01f), 1.0f, sine);
        fragment.OnCollision({100, 0, 0});
        EXPECT_EQ(node.GetPosition().x, one - 100);
        EXPECT_EQ(node.GetPreviousPosition().x, one);
        EXPECT_EQ(fragment.GetVelocity(), FSVector(-0.05f, 0.0f, 0.01f));
        EXPECT_NEAR(ToFloat(node.GetAxisY()).x, -1.0f, 1e-4f);
    }
    {
        // Hit from above (push-back y > 0): falls back, nose turned down.
        BareNode node;
        node.LookAlong(FSVector(0.0f, 0.6f, -0.8f));
        FSFragment fragment(node, FSVector(0.0f, 0.02f, -0.03f), 1.0f, sine);
        fragment.OnCollision({0, 50, 0});
        EXPECT_EQ(node.GetPosition().y, -50);
        EXPECT_EQ(fragment.GetVelocity(), FSVector(0.0f, -0.02f, -0.03f));
        EXPECT_NEAR(ToFloat(node.GetAxisY()).y, -0.6f, 1e-3f);
    }
    {
        // Landing on top (push-back y < 0): vertical motion stops and the nose levels.
        BareNode node;
        node.LookAlong(FSVector(0.0f, -0.6f, -0.8f), FSVector(0.0f, 1.0f, 0.0f));
        FSFragment fragment(node, FSVector(0.0f, -0.02f, -0.03f), 1.0f, sine);
        fragment.OnCollision({0, -50, 0});
        EXPECT_EQ(node.GetPosition().y, 50);
        EXPECT_EQ(fragment.GetVelocity(), FSVector(0.0f, 0.0f, -0.03f));
        const FSVector nose = ToFloat(node.GetAxisY());
        EXPECT_NEAR(nose.y, 0.0f, 1e-3f);
        EXPECT_NEAR(nose.z, -1.0f, 1e-3f);
    }
    {
        // Landing on top while pointing straight down: no level direction is left, so
        // the nose is turned along world x.
        BareNode node;
        node.LookAlong(FSVector(0.0f, -1.0f, 0.0f));
        FSFragment fragment(node, FSVector(0.0f, -0.02f, 0.0f), 1.0f, sine);
        fragment.OnCollision({0, -50, 0});
        EXPECT_NEAR(ToFloat(node.GetAxisY()).x, 1.0f, 1e-3f);
    }
}

}  // namespace
