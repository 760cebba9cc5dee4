#pragma once
// What a contact does. The collision pass only finds contacts; the game controller hands
// them on to this object, which damages, smokes, explodes or shatters what was hit and then
// reports the node to the controller's contact operation (which scores gates and ends the
// flight once the player's aircraft is destroyed).
//
// Nodes it reads:
// - the game property (MSPProperty): kind 1 the player's aircraft (its moveable object a
//   CSPAircraft), kind 2 a gate;
// - the damage property (MFSDamageable): a hit above its threshold wears it down; its
//   smoking flag keeps an object to one smoke trail, its no-shatter flag keeps the pieces
//   of a shattered object from shattering again.
//
// Nothing is deleted here: a destroyed node is only marked removed and the scene deletes it
// in its next update; bursts and smoke are particle systems in the scene root that end by
// themselves. Pieces of a shattered object are filed in the collision detector so that
// they can hit the ground and other objects.
#include <cstdint>
#include <functional>

class CFSEngine;
class CFSMeshedNode;
class CFSTerrainModel;
class CSPAircraft;
class MFSCollisionDetector;
class MFSSceneNode;

class CSPContactResponses {
public:
    // A piece of debris: what it takes before a hit destroys it, and what a destroying hit
    // returns.
    static constexpr float kPieceHealth = 4.0f;
    static constexpr float kPieceFatalValue = 10000.0f;
    // The impulse of a contact with the ground, a runway or another object; a contact
    // with the player's aircraft hits both sides with the aircraft's.
    static constexpr float kContactImpulse = 5.0f;
    static constexpr float kAircraftImpulse = 100000.0f;
    // The aircraft has bounced off the ground this many times and is stuck in it: it is
    // lifted out by its own height instead.
    static constexpr int kStuckLiftOffs = 27;

    // engine: the node factories (the new nodes go into its scene root); detector: where
    // the pieces of a shattered object are filed (null: nowhere); report: the controller's
    // contact operation, called with every node a contact was about. ticks: the seed of
    // the random sizes of the pieces (the platform's tick count when empty).
    CSPContactResponses(CFSEngine& engine, std::function<MFSCollisionDetector*()> detector,
                        std::function<void(MFSSceneNode*)> report, std::function<uint32_t()> ticks = {});

    // The player's aircraft node (null between flights) and whether it has a jet (a jet
    // engine or its flame): a crashed aircraft without one blows up quietly.
    void SetPlayer(MFSSceneNode* aircraftNode, bool hasJet);
    MFSSceneNode* Player() const { return player_; }

    // Whether the collision pass should test the pair at all: never a cloud, never two
    // gates.
    static bool MayCollide(const MFSSceneNode& a, const MFSSceneNode& b);
    // Two nodes intersect; moving is the one with a moveable object. Removed nodes, or
    // null, are left alone.
    void Collision(MFSSceneNode* a, MFSSceneNode* moving);
    // A low moving node touches the ground of terrain (null: no terrain, nothing done). A
    // node other than the aircraft is put onto the ground and takes the ground's impulse;
    // the aircraft is handed to its own ground check.
    void GroundContact(MFSSceneNode* node, CFSTerrainModel* terrain);

    // Destroys the node: a meshed object that may still shatter shatters; anything else
    // bursts (quiet: a small white puff; otherwise a grey cloud with yellow sparks) and is
    // marked removed.
    void BlowUp(MFSSceneNode& node, bool quiet);
    // Breaks the node into four box-shaped pieces of random size thrown outward from its
    // centre (quiet: it only vanishes), and marks it removed.
    void Shatter(CFSMeshedNode& node, bool quiet);
    // Hangs a dark smoke emitter on the node: a trail behind a moving node, a rising column
    // over a standing one. The smoke stays behind and fades once the node is gone.
    void AttachSmokeTrail(MFSSceneNode& node);
    // Leaves a smoking box the size of the aircraft where it lies, as it lies.
    void MakeWreck(MFSSceneNode& aircraftNode);

private:
    // The crash check of the aircraft on the ground: a wreck and its destruction when its
    // ground check says it crashed.
    void AircraftGroundContact(MFSSceneNode& aircraftNode);
    // Hits the node's damage property with impulse: a destroying hit blows it up and
    // reports it (true); a hit it survives starts its smoke trail, once. Without a damage
    // property: nothing, false.
    bool Damage(MFSSceneNode& node, float impulse);
    // The gate step: node (a gate) touched by other on its frame bursts; either way it is
    // reported.
    void GateContact(MFSSceneNode& gate, MFSSceneNode& other);
    void Report(MFSSceneNode& node);

    CFSEngine& engine_;
    std::function<MFSCollisionDetector*()> detector_;
    std::function<void(MFSSceneNode*)> report_;
    std::function<uint32_t()> ticks_;
    MFSSceneNode* player_ = nullptr;  // not owned
    bool hasJet_ = false;
};

// Whether the node is the player's aircraft (game property kind 1).
bool IsPlayerAircraft(const MFSSceneNode& node);
