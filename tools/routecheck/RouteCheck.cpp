// Reading route files for the checker: the same word lines, cells and wrapping as the
// game's route reader, kept as plain records instead of scene nodes.
#include "routecheck/RouteCheck.h"

#include <algorithm>
#include <cmath>

#include "resources/FSArchive.h"
#include "resources/FSKeywordReader.h"
#include "world/FSFixed.h"
#include "world/FSTerrainStorage.h"
#include "world/FSVectorMath.h"

namespace {

constexpr double kDegrees = 57.29577951308232;

double Km(FSFixed value) {
    return value / 65536.0;
}

// Cells of "start" lines: the 16.16 number's integer part, floored.
int FlooredCell(FSWords& words) {
    return WrapCellIndex(words.NextFixed() >> 16);
}
// A number of the line; one that is not finite (a word such as "nan" or "1e99") counts as
// broken and reads as 0, so no measure downstream is poisoned by it.
double Number(FSWords& words, RouteFile& route) {
    const double value = words.NextFloat();
    if (std::isfinite(value)) return value;
    ++route.brokenNumbers;
    return 0;
}

// Cells of every other line: the number truncated toward zero (kept in the int range).
int TruncatedCell(FSWords& words, RouteFile& route) {
    return WrapCellIndex(static_cast<int>(std::clamp(Number(words, route), -1e9, 1e9)));
}

// A local position wrapped into its cell as the game wraps it (one cell at most per axis).
RoutePlace PlaceOf(int column, int row, FSFixed x, FSFixed y, FSFixed z) {
    FSFixedVector local{x, y, z};
    FSCell cell{column, row};
    WrapIntoCell(local, cell);
    RoutePlace place;
    place.cell = cell;
    place.x = Km(local.x);
    place.y = Km(local.y);
    place.z = Km(local.z);
    return place;
}

void ReadThree(FSWords& words, RouteFile& route, double values[3]) {
    for (int k = 0; k < 3; ++k)
        values[k] = Number(words, route);
}

void ReadStart(FSWords& words, RouteFile& route) {
    RouteStart& start = route.start;
    const int column = FlooredCell(words);
    const int row = FlooredCell(words);
    const FSTextFixedPoint p = words.NextFixedPoint();
    start.present = true;
    start.place = PlaceOf(column, row, p.x, p.y, p.z);
    ReadThree(words, route, start.nose);
    ReadThree(words, route, start.up);
    start.fuel = Number(words, route);
    start.landing = words.Next() == "landing";
}

void ReadGate(FSWords& words, RouteFile& route) {
    route.gates.emplace_back();
    RouteGate& gate = route.gates.back();
    gate.texture = std::string(words.Next());
    const int column = TruncatedCell(words, route);
    const int row = TruncatedCell(words, route);
    const FSTextFixedPoint p = words.NextFixedPoint();
    gate.place = PlaceOf(column, row, p.x, p.y, p.z);
    ReadThree(words, route, gate.turns);
    ReadThree(words, route, gate.size);
    gate.points = words.NextInt();
    gate.mode = std::string(words.Next());
}

void ReadRunway(FSWords& words, RouteFile& route) {
    route.runways.emplace_back();
    RouteRunway& runway = route.runways.back();
    words.Next();  // texture
    const int column = TruncatedCell(words, route);
    const int row = TruncatedCell(words, route);
    runway.cell = FSCell{column, row};
    // The ends as the game keeps them, in 16.16.
    for (double* end : {runway.a, runway.b}) {
        const FSTextFixedPoint p = words.NextFixedPoint();
        end[0] = Km(p.x);
        end[1] = Km(p.y);
        end[2] = Km(p.z);
    }
    runway.width = Number(words, route);
}

// The text between the first double quote and the next one, or to the line's end (less the
// CR of a CR LF line) when there is no second quote.
std::string NameOf(std::string_view line) {
    const size_t open = line.find('"');
    const size_t close = line.find('"', open + 1);
    if (close != std::string_view::npos) return std::string(line.substr(open + 1, close - open - 1));
    std::string_view rest = line.substr(open + 1);
    if (!rest.empty() && rest.back() == '\r') rest.remove_suffix(1);
    return std::string(rest);
}

void ParseLine(std::string_view line, RouteFile& route, bool& named) {
    FSWords words(line);
    const std::string_view keyword = words.Next();
    switch (KindOfFirstWord(keyword)) {
        case FSWordLineKind::Comment:
            return;
        case FSWordLineKind::Description:
            if (!named && line.find('"') != std::string_view::npos) {
                route.name = NameOf(line);
                named = true;
            }
            return;
        case FSWordLineKind::Keyword:
            break;
    }
    const bool placedOnGround = keyword == "obstacle" || keyword == "building" || keyword == "building2" ||
                                keyword == "tree" || keyword == "tree2" || keyword == "runway";
    if (placedOnGround && route.terrain.empty()) route.groundBeforeTerrain = true;
    if (keyword == "wind" && (!route.gates.empty() || route.clouds > 0 || route.layers > 0))
        route.windAfterMovers = true;
    if (keyword == "terrain") {
        route.terrain = std::string(words.Next());
    } else if (keyword == "start") {
        ReadStart(words, route);
        // Only a landing start looks at the ground while the route is read.
        if (route.start.landing && route.terrain.empty()) route.groundBeforeTerrain = true;
    } else if (keyword == "obstacle") {
        ReadGate(words, route);
    } else if (keyword == "difficulty") {
        route.difficulty.clear();
        for (std::string_view word = words.Next(); !word.empty() && route.difficulty.size() < 5;
             word = words.Next())
            route.difficulty.push_back(ToFloat(word));
    } else if (keyword == "building" || keyword == "building2") {
        ++route.buildings;
    } else if (keyword == "tree" || keyword == "tree2") {
        ++route.trees;
    } else if (keyword == "cloud") {
        ++route.clouds;
    } else if (keyword == "clouds") {
        ++route.layers;
    } else if (keyword == "runway") {
        ReadRunway(words, route);
    } else if (keyword == "wind") {
        route.wind = true;
    } else if (keyword == "myst") {
        route.fog = true;
    } else if (keyword == "timed") {
        route.timed = true;
    }
}

}  // namespace

RouteFile ParseRoute(std::string_view text) {
    RouteFile route;
    route.description = DescriptionOf(text);
    bool named = false;
    ForEachWordLine(text, [&](std::string_view line) { ParseLine(line, route, named); });
    return route;
}

double CompassHeading(double dx, double dz) {
    double heading = (std::atan2(dz, dx) * kDegrees) + 180.0;
    if (heading >= 360.0) heading -= 360.0;
    return heading;
}

void GateAxes(const double turns[3], double opening[3], double up[3]) {
    // A new frame looks along +x with its y axis up; each turn is about a copy of the world
    // axes taken before the first one, applied in the frame's own axes as the node turns.
    FSQuaternion q = LookAlongQuaternion(FSVector(0, 1, 0), FSVector(1, 0, 0));
    const FSVector axes[3] = {FSVector(0, 0, 1), FSVector(1, 0, 0), FSVector(0, 1, 0)};
    for (int k = 0; k < 3; ++k)
        q = q * FromAxisAngle(axes[k], static_cast<float>(turns[k] / kDegrees));
    const FSVector z = Rotate(q, FSVector(0, 0, 1));
    const FSVector y = Rotate(q, FSVector(0, 1, 0));
    for (int k = 0; k < 3; ++k) {
        opening[k] = z[k];
        up[k] = y[k];
    }
}

RouteTerrains::RouteTerrains(std::string dataFolder) : archive_(std::move(dataFolder) + "/terrains.zip") {}
RouteTerrains::~RouteTerrains() = default;

const CFSTerrainStorage* RouteTerrains::Get(const std::string& member) {
    auto found = loaded_.find(member);
    if (found == loaded_.end()) {
        auto terrain = std::make_unique<CFSTerrainStorage>();
        // Heights only: no bands, materials or window are needed for the queries.
        if (!terrain->Load(archive_, member, 2, false)) terrain.reset();
        found = loaded_.emplace(member, std::move(terrain)).first;
    }
    return found->second.get();
}

std::vector<RouteCheck> CheckRouteArchive(const std::string& dataFolder) {
    std::vector<RouteCheck> checks;
    RouteTerrains terrains(dataFolder);
    const std::string archive = dataFolder + "/routes.zip";
    for (int n = 1;; ++n) {
        const std::string member = "Route" + std::to_string(n) + ".txt";
        const FSMemoryBlock text = ReadArchiveText(archive, member);
        if (!text) break;
        const RouteFile route = ParseRoute(TextOf(text));
        checks.push_back(CheckRoute(member, route, terrains.Get(route.terrain)));
    }
    return checks;
}
