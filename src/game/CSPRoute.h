#pragma once
// A route: one flyable course read from "Route<n>.txt" in the routes archive. Loading it
// builds the world of the flight: the terrain (in the context's slot), the start of the
// aircraft (handed to the game through onStart), the gates to fly through in order, the
// scenery (buildings, trees, clouds, the cloud layer), an optional runway, wind and fog.
//
// The route file is read in word style, a line at a time; the first word says what the
// line makes, the words after it are its arguments (missing ones read as 0). Lines that
// use the ground height must come after "terrain", and lines whose movement uses the
// wind after "wind".
//
// The gates that count are those in the cell of the first one, in file order. Taking one
// scores its points divided by one plus the number of earlier gates that were missed,
// destroyed or are still waiting; the current target moves on to the next waiting gate.
//
// The scene nodes the route makes belong to the context's scene root and are filed with
// its collision detector; the route keeps references to its gates only, and owns its
// text, its lists and the terrain it loaded.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "resources/FSArchive.h"
#include "world/FSFixedVector.h"
#include "world/FSVectorMath.h"
#include "world/FSWorldPosition.h"

class CFSApplicationContext;
class CFSTerrainStorage;
class CSPObstacle;
class CSPRunway;
class MFSSceneNode;
struct FSWords;

// What the "start" line hands to the game: where and how the aircraft starts.
struct SPRouteStart {
    FSCell cell;
    FSFixedVector position;  // local, wrapped into cell (16.16 km)
    FSVector nose;           // unit length (unchanged when zero)
    FSVector up;             // as read
    float fuel = 0.0f;       // initial fuel fraction (0 after the small-value rule)
};

class CSPRoute {
public:
    // The number of aircraft with a score factor of their own.
    static constexpr int kFactorCount = 5;
    // The gate box grows by this much on every side with each listed gate (16.16, 0.2).
    static constexpr FSFixed kGateMargin = 13107;

    // Reads "Route%d.txt" (index + 1) from archivePath (default MakeDataPath("data\\routes.zip")).
    CSPRoute(CFSApplicationContext& context, int index, const std::string& archivePath = {});
    ~CSPRoute();  // destroys the context's terrain when the route loaded it; GL_FOG off
    CSPRoute(const CSPRoute&) = delete;
    CSPRoute& operator=(const CSPRoute&) = delete;

    bool HasText() const;
    // Called on the "start" line (the controller creates the player's aircraft there).
    std::function<void(const SPRouteStart&)> onStart;
    // Every line through ParseRouteLine, 1 ms sleep after each line.
    void LoadRoute();
    void ParseRouteLine(const std::string& line);
    float GetAircraftFactor(int aircraft) const;  // 1.0 for 5 and above, and for unset ones
    bool IsInsideGateBox() const;                 // reads context.playerAircraft's position
    static std::string GetRouteName(int index, const std::string& archivePath = {});
    static std::string GetRouteDescription(int index, const std::string& archivePath = {});
    // obstacle list
    void OfferObstacle(CSPObstacle* node, int points);
    bool UpdateObstacleScore(MFSSceneNode* node);
    void AdvanceTarget(MFSSceneNode* node);
    int ObstacleCount() const;
    int DealtWith() const;               // entries no longer pending
    CSPObstacle* CurrentTarget() const;  // null when none is left
    int Score() const;
    int TotalPoints() const;
    bool Landing() const;
    bool Timed() const;  // a line "timed" in the file (our own keyword; routes without it are untimed)
    const FSVector& Wind() const;
    CSPRunway* Runway() const;
    // Positions (cell + local) of the listed obstacles in list order, for the route length.
    std::vector<std::pair<FSCell, FSFixedVector>> ObstaclePositions() const;

    // Where "terrain" lines find their terrain (default MakeDataPath("data\\terrains.zip")).
    void SetTerrainArchive(const std::string& path) { terrainArchive_ = path; }
    // Whether any gate has been passed or hit yet.
    bool Started() const { return started_; }
    int TargetIndex() const { return targetIndex_; }
    // The text of every "#" line after its '#', in file order.
    const std::vector<std::string>& DescriptionLines() const { return descriptionLines_; }
    // The box around the listed gates (16.16, local to GateCell), its centre and cell.
    const FSFixedVector& GateBoxMin() const { return gateBoxMin_; }
    const FSFixedVector& GateBoxMax() const { return gateBoxMax_; }
    const FSFixedVector& GateCentre() const { return gateCentre_; }
    const FSCell& GateCell() const { return gateCell_; }
    // Whether the route put a terrain into the context's slot (and so takes it out again).
    bool OwnsTerrain() const { return ownsTerrain_; }

private:
    // Hears of the listed gates' deletion, so the list never holds a deleted gate.
    class GateWatcher;

    struct ObstacleEntry {
        CSPObstacle* node = nullptr;  // null once the gate has been destroyed
        int points = 0;
        bool pending = true;  // not taken yet
        FSCell cell;          // where it was listed, kept for the route's length
        FSFixedVector position;
    };

    // One handler per keyword (CSPRouteLines.cpp), each reading its arguments from words.
    void ReadTerrain(FSWords& words);
    void ReadStart(FSWords& words);
    void ReadObstacle(FSWords& words);
    void ReadDifficulty(FSWords& words);
    void ReadBuilding(FSWords& words, bool cullByTile);
    void ReadTree(FSWords& words, bool cullByTile);
    void ReadCloud(FSWords& words);
    void ReadClouds(FSWords& words);
    void ReadRunway(FSWords& words);
    void ReadWind(FSWords& words);
    void ReadMyst(FSWords& words);
    // The loaded terrain's model, or null when none is loaded.
    const CFSTerrainStorage* Terrain() const;
    // Attaches a drifting movement with the route's wind to node.
    void AddDrift(MFSSceneNode& node, float period);
    // A listed gate is being deleted: its entries let go of it.
    void ForgetObstacle(const MFSSceneNode* node);

    CFSApplicationContext& context_;
    bool ownsTerrain_ = false;
    std::vector<std::string> descriptionLines_;
    std::vector<ObstacleEntry> obstacles_;
    int targetIndex_ = 0;
    bool started_ = false;
    int score_ = 0;
    int totalPoints_ = 0;
    FSVector wind_;  // km/s, the file's values × 0.001
    bool landing_ = false;
    bool timed_ = false;
    FSFixedVector gateBoxMin_;
    FSFixedVector gateBoxMax_;
    FSFixedVector gateCentre_;
    FSCell gateCell_;
    float aircraftFactor_[kFactorCount] = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    CSPRunway* runway_ = nullptr;  // owned by the scene root
    FSMemoryBlock text_;
    std::string terrainArchive_;
    std::unique_ptr<GateWatcher> watcher_;
};
