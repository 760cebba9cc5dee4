#pragma once
// The route checker: reads the route files of routes.zip as the game reads their lines and
// measures each route against its terrain, so a route author sees whether the gates can
// be flown before anyone flies them. Positions are km in the cell's local frame, heights
// are scene heights (the sea at 5 km), angles are degrees, gate sizes metres as written.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "world/FSWorldPosition.h"

class CFSTerrainStorage;

// A point of a route line after the game's wrapping into its cell.
struct RoutePlace {
    FSCell cell;
    double x = 0, y = 0, z = 0;
};

struct RouteGate {
    std::string texture;
    RoutePlace place;
    double turns[3] = {0, 0, 0};  // a1 a2 a3, degrees
    double size[3] = {0, 0, 0};   // sx sy sz, metres
    int points = 0;
    std::string mode;  // "air", "ground" or ""
};

struct RouteRunway {
    FSCell cell;
    double a[3] = {0, 0, 0};
    double b[3] = {0, 0, 0};
    double width = 0;  // metres
};

struct RouteStart {
    bool present = false;
    RoutePlace place;
    double nose[3] = {0, 0, 0};
    double up[3] = {0, 0, 0};
    double fuel = 0;
    bool landing = false;
};

// What a route file holds, line by line as the game takes it.
struct RouteFile {
    std::string name;         // from the first "#" line with a double quote
    std::string description;  // every "#" line without its '#', each followed by "\n"
    std::string terrain;
    bool timed = false;  // a "timed" line: the flight fails 600 s after the first gate
    std::vector<double> difficulty;
    RouteStart start;
    std::vector<RouteGate> gates;
    std::vector<RouteRunway> runways;
    int buildings = 0, trees = 0, clouds = 0, layers = 0;
    bool wind = false, fog = false;
    int brokenNumbers = 0;  // numbers that were not finite, read as 0
    // Lines the game reads before what they need: ground placed before the terrain is
    // loaded, movers created before the wind they copy.
    bool groundBeforeTerrain = false, windAfterMovers = false;
};

RouteFile ParseRoute(std::string_view text);

// The ground's scene height (km) under a local point of a cell; points outside the cell are
// answered from the neighbouring cells, as the terrain wraps.
double GroundHeight(const CFSTerrainStorage& terrain, const FSCell& cell, double x, double z);

// The compass heading (0 north = −x, 90 east = −z) of a horizontal direction.
double CompassHeading(double dx, double dz);
// The unit directions through a gate's opening (its z axis) and along its side bars (its y
// axis, up for an upright frame) after its three turns, as the game turns a new frame
// (opening along +x, y up) by a1, a2 and a3.
void GateAxes(const double turns[3], double opening[3], double up[3]);

// One gate measured: the leg that leads to it (from the start for the first gate).
struct GateCheck {
    double ground = 0;          // ground height under the centre, scene km
    double above = 0;           // centre above that ground, m
    double distance = 0;        // horizontal length of the leg, km
    double heading = 0;         // compass heading of the leg
    double turn = 0;            // heading change from the leg before (0 for the first), degrees
    double climb = 0;           // climb (+) or descent (−) angle of the leg, degrees
    double clearance = 0;       // lowest height above ground along the leg, m
    double misalignment = 0;    // angle between the leg and the line through the opening
    double frameClearance = 0;  // lowest gap under the bottom bar across its width, m
};

struct RunwayCheck {
    double length = 0;        // m
    double endsApart = 0;     // ground height difference of its two ends, m
    double groundSpread = 0;  // highest minus lowest ground along it, m
    double fromLastGate = 0;  // km from the last gate to the nearer end
    double descent = 0;       // degrees down from the last gate to that end's ground
};

// Everything the checker found out about one route.
struct RouteCheck {
    std::string member;  // "Route3.txt"
    RouteFile route;
    bool terrainLoaded = false;
    double startAbove = 0;  // m above ground; below 1 km scene height the game grounds it
    std::vector<GateCheck> gates;
    std::vector<RunwayCheck> runways;
    std::vector<std::string> problems;
};

// Limits of a flyable route.
inline constexpr double kLowestGateAbove = 30.0;      // m, centre above the ground
inline constexpr double kShortestLeg = 1.0;           // km between gates
inline constexpr double kSharpestTurn = 75.0;         // degrees of heading change per gate
inline constexpr double kWidestMisalignment = 40.0;   // degrees between leg and opening
inline constexpr double kLowestLegClearance = 15.0;   // m above ground along a leg
inline constexpr double kLowestFrameClearance = 5.0;  // m under the bottom bar
inline constexpr double kRunwayEndsApart = 15.0;      // m
inline constexpr double kRunwayGroundSpread = 10.0;   // m
// The score table keeps a route's name in 32 bytes, the last one a terminator.
inline constexpr size_t kLongestName = 31;

// The terrains of one data folder, loaded on first use (null when one cannot be read).
class RouteTerrains {
public:
    explicit RouteTerrains(std::string dataFolder);
    ~RouteTerrains();
    const CFSTerrainStorage* Get(const std::string& member);

private:
    std::string archive_;
    std::map<std::string, std::unique_ptr<CFSTerrainStorage>> loaded_;
};

// The measures and problems of a route over its terrain (none loaded: only what needs no
// ground is checked, and that the terrain is missing is a problem).
RouteCheck CheckRoute(const std::string& member, const RouteFile& route, const CFSTerrainStorage* terrain);

// Every "Route<n>.txt" of the folder's routes.zip from 1 up to the first that is missing.
std::vector<RouteCheck> CheckRouteArchive(const std::string& dataFolder);

// Problems of the set as a whole: two routes of the same name would share one list of the
// score table, which files its routes by name.
std::vector<std::string> CheckRouteSet(const std::vector<RouteCheck>& checks);

// The report the tool prints for one route.
std::string FormatRouteCheck(const RouteCheck& check);
