// aerovant-route-check <data folder> [route file...]: measures every route of routes.zip
// (or the route files given, before they go into the archive) against its terrain and
// prints what a route author needs to know; exits 1 when any route has a problem (a gate
// too low, in the wrong cell, too close, too sharp a turn, a sloping runway, ...).
// aerovant-route-check <data folder> --ground <terrain> <column> <row>
// prints the ground heights (m above the sea) of a cell on a 0.5 km grid, rows along z,
// for placing gates. With --pictures, a map and a height profile of every route checked
// (RoutePicture.h) go into that folder as <route>.png.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "resources/FSArchive.h"
#include "resources/FSKeywordReader.h"
#include "routecheck/RouteCheck.h"
#include "routecheck/RoutePicture.h"
#include "world/FSTerrainStorage.h"

namespace {

int PrintGround(const std::string& data, const std::string& member, int column, int row) {
    RouteTerrains terrains(data);
    const CFSTerrainStorage* terrain = terrains.Get(member);
    if (!terrain) {
        std::fprintf(stderr, "aerovant-route-check: cannot read %s from %s/terrains.zip\n", member.c_str(),
                     data.c_str());
        return 2;
    }
    for (int j = 0; j <= 120; ++j) {
        const double z = -30.0 + j * 0.5;
        std::printf("z %6.1f:", z);
        for (int i = 0; i <= 120; ++i) {
            const double ground = GroundHeight(*terrain, {column, row}, -30.0 + i * 0.5, z);
            std::printf(" %4.0f", (ground - kSeaLevelKm) * 1000.0);
        }
        std::printf("\n");
    }
    return 0;
}

// The picture's file name: the route file's name without folder and extension, ".png".
std::string PictureName(const std::string& member) {
    std::string name = member.substr(member.find_last_of('/') + 1);
    return name.substr(0, name.find_last_of('.')) + ".png";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::string(argv[2]) == "--ground")
        return PrintGround(argv[1], argv[3], std::atoi(argv[4]), std::atoi(argv[5]));
    if (argc < 2 || (argc >= 3 && std::string(argv[2]) == "--pictures" && argc < 4)) {
        std::fprintf(stderr,
                     "usage: aerovant-route-check <data folder> [--pictures <folder>] [route file...]\n"
                     "       aerovant-route-check <data folder> --ground <terrain> <column> <row>\n");
        return 2;
    }
    const std::string data = argv[1];
    int first = 2;
    std::string pictures;
    if (argc >= 4 && std::string(argv[2]) == "--pictures") {
        pictures = argv[3];
        first = 4;
    }
    RouteTerrains terrains(data);
    std::vector<RouteCheck> checks;
    if (first == argc) {
        checks = CheckRouteArchive(data);
    } else {
        for (int k = first; k < argc; ++k) {
            const FSMemoryBlock text = ReadFileToBuffer(argv[k]);
            if (!text) {
                std::fprintf(stderr, "aerovant-route-check: cannot read %s\n", argv[k]);
                return 2;
            }
            const RouteFile route = ParseRoute(TextOf(text));
            checks.push_back(CheckRoute(argv[k], route, terrains.Get(route.terrain)));
        }
    }
    size_t problems = 0;
    for (const RouteCheck& check : checks) {
        std::printf("%s\n", FormatRouteCheck(check).c_str());
        problems += check.problems.size();
        const CFSTerrainStorage* terrain = terrains.Get(check.route.terrain);
        if (pictures.empty() || !terrain) continue;
        const std::string path = pictures + "/" + PictureName(check.member);
        if (!WriteRoutePicture(check, *terrain, path))
            std::fprintf(stderr, "aerovant-route-check: cannot write %s\n", path.c_str());
    }
    for (const std::string& problem : CheckRouteSet(checks)) {
        std::printf("PROBLEM: %s\n", problem.c_str());
        ++problems;
    }
    std::printf("%zu routes checked, %zu problems\n", checks.size(), problems);
    return checks.empty() || problems > 0 ? 1 : 0;
}
