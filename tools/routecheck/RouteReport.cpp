// The checker's printed report: one block per route, problems last.
#include <cstdarg>
#include <cstdio>

#include "routecheck/RouteCheck.h"

namespace {

void Append(std::string& out, const char* format, ...) {
    char line[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    out += line;
}

const char* Kind(const RouteFile& route) {
    if (route.timed && route.start.landing) return "timed, landing";
    if (route.timed) return "timed";
    if (route.start.landing) return "landing";
    return "gates only";
}

}  // namespace

std::string FormatRouteCheck(const RouteCheck& check) {
    const RouteFile& route = check.route;
    std::string out;
    Append(out, "%s \"%s\" on %s (%s)\n", check.member.c_str(), route.name.c_str(), route.terrain.c_str(),
           Kind(route));
    const RoutePlace& s = route.start.place;
    Append(out, "  start    cell (%d,%d) x %7.3f z %7.3f, %4.0f m above ground, heading %3.0f, fuel %.2f\n",
           s.cell.column, s.cell.row, s.x, s.z, check.startAbove,
           CompassHeading(route.start.nose[0], route.start.nose[2]), route.start.fuel);
    out +=
        "  gate cell     x       z     above  size (m)    leg km  heading  turn  climb  low leg  bar gap  "
        "off\n";
    for (size_t k = 0; k < check.gates.size(); ++k) {
        const RouteGate& gate = route.gates[k];
        const GateCheck& g = check.gates[k];
        Append(out,
               "  %4zu (%d,%d) %7.3f %7.3f %5.0f m  %3.0fx%-3.0fx%-3.0f %7.2f %7.0f %6.0f %6.1f %6.0f m "
               "%6.0f m %4.0f\n",
               k + 1, gate.place.cell.column, gate.place.cell.row, gate.place.x, gate.place.z, g.above,
               gate.size[0], gate.size[1], gate.size[2], g.distance, g.heading, g.turn, g.climb, g.clearance,
               g.frameClearance, g.misalignment);
    }
    for (size_t k = 0; k < check.runways.size(); ++k) {
        const RouteRunway& runway = route.runways[k];
        const RunwayCheck& r = check.runways[k];
        Append(out,
               "  runway   cell (%d,%d) %.0f x %.0f m, ends %.1f m apart in height, ground varies %.1f m;\n"
               "           %.2f km from the last gate, %.1f degrees down\n",
               runway.cell.column, runway.cell.row, r.length, runway.width, r.endsApart, r.groundSpread,
               r.fromLastGate, r.descent);
    }
    Append(out, "  scenery  %d buildings, %d trees, %d clouds, %d layers%s%s\n", route.buildings, route.trees,
           route.clouds, route.layers, route.wind ? ", wind" : "", route.fog ? ", fog" : "");
    if (check.problems.empty()) out += "  no problems\n";
    for (const std::string& problem : check.problems)
        out += "  PROBLEM: " + problem + "\n";
    return out;
}
