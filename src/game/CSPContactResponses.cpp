// CSPContactResponses: the two contact handlers, which decide what a contact does. The
// effects they use (bursts, pieces, smoke, wreck) are in CSPContactEffects.cpp.
#include "game/CSPContactResponses.h"

#include <utility>

#include "game/CSPAircraft.h"
#include "game/MSPProperty.h"
#include "platform/FSClock.h"
#include "world/FSBox.h"
#include "world/FSDamageable.h"
#include "world/FSSceneNode.h"
#include "world/FSTerrainModel.h"

bool IsPlayerAircraft(const MFSSceneNode& node) {
    return PropertyKindOf(node) == kPropertyPlayerAircraft;
}

namespace {

bool IsGate(const MFSSceneNode& node) {
    return PropertyKindOf(node) == kPropertyObstacle;
}

}  // namespace

CSPContactResponses::CSPContactResponses(CFSEngine& engine, std::function<MFSCollisionDetector*()> detector,
                                         std::function<void(MFSSceneNode*)> report,
                                         std::function<uint32_t()> ticks)
    : engine_(engine), detector_(std::move(detector)), report_(std::move(report)), ticks_(std::move(ticks)) {
    if (!ticks_) ticks_ = [] { return platform::TickCount(); };
}

void CSPContactResponses::SetPlayer(MFSSceneNode* aircraftNode, bool hasJet) {
    player_ = aircraftNode;
    hasJet_ = hasJet;
}

bool CSPContactResponses::MayCollide(const MFSSceneNode& a, const MFSSceneNode& b) {
    if (a.GetType() == kNodeCloud || b.GetType() == kNodeCloud) return false;
    return !(IsGate(a) && IsGate(b));
}

void CSPContactResponses::Report(MFSSceneNode& node) {
    if (report_) report_(&node);
}

bool CSPContactResponses::Damage(MFSSceneNode& node, float impulse) {
    MFSDamageable* damage = DamageOf(node);
    if (!damage) return false;
    if (damage->Hit(impulse) != 0.0f) {
        BlowUp(node, false);
        Report(node);
        return true;
    }
    if (!damage->smoking) {
        AttachSmokeTrail(node);
        damage->smoking = 1;
    }
    return false;
}

void CSPContactResponses::GateContact(MFSSceneNode& gate, MFSSceneNode& other) {
    // Only a touch of the frame's bars destroys the gate; flying through is a clean pass.
    if (gate.CheckHit(other)) BlowUp(gate, true);
    Report(gate);
}

void CSPContactResponses::Collision(MFSSceneNode* a, MFSSceneNode* moving) {
    if (!a || !moving || a->IsRemoved() || moving->IsRemoved()) return;
    MFSSceneNode& b = *moving;
    if (b.GetType() == kNodeRunway) {
        if (!IsPlayerAircraft(*a)) {
            MFSDamageable* damage = DamageOf(*a);
            if (damage && damage->Hit(kContactImpulse) != 0.0f) BlowUp(*a, false);
        } else {
            AircraftGroundContact(*a);
        }
        Report(*a);
        return;
    }
    if (IsGate(*a)) {
        GateContact(*a, b);
        return;
    }
    if (IsGate(b)) {
        GateContact(b, *a);
        return;
    }
    // Objects of the game (the aircraft, the gates) do not hurt one another; anything
    // else hurts both sides, the aircraft with all its weight.
    if (a->GetProperty() && b.GetProperty()) return;
    if (!DamageOf(*a)) return;
    const float impulse = IsPlayerAircraft(*a) || IsPlayerAircraft(b) ? kAircraftImpulse : kContactImpulse;
    Damage(*a, impulse);
    Damage(b, impulse);
}

void CSPContactResponses::GroundContact(MFSSceneNode* node, CFSTerrainModel* terrain) {
    if (!node || !terrain || node->IsRemoved()) return;
    const FSFixed above = terrain->HeightAboveAt(node->GetPosition(), node->GetCell());
    const bool aircraft = IsPlayerAircraft(*node);
    CSPAircraft* flight = aircraft ? node->GetMoveableAs<CSPAircraft>() : nullptr;
    if (flight && flight->LiftOffs() >= kStuckLiftOffs) {
        // Bouncing on the ground frame after frame: out of it by the model's height.
        flight->SetLiftOffs(0);
        const FSBox* box = node->GetModel();
        FSFixedVector position = node->GetPosition();
        if (box && !box->IsEmpty()) position.y += box->max.y - box->min.y;
        node->Place(position);
        return;
    }
    // Onto the ground: the height above it taken off the node's height. The aircraft's
    // ground check then rests it on its wheels.
    FSFixedVector position = node->GetPosition();
    position.y -= above;
    node->Move(position);
    if (!aircraft) {
        if (Damage(*node, kContactImpulse)) return;
    } else {
        AircraftGroundContact(*node);
    }
    Report(*node);
}

void CSPContactResponses::AircraftGroundContact(MFSSceneNode& aircraftNode) {
    CSPAircraft* aircraft = aircraftNode.GetMoveableAs<CSPAircraft>();
    if (!aircraft || aircraft->GroundContact(false)) return;
    MakeWreck(aircraftNode);
    BlowUp(aircraftNode, !hasJet_);
}
