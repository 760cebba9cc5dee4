#include "databuild/MeshBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace meshes {

namespace {

constexpr double kPi = 3.14159265358979323846;

Vec3 Centroid(const std::vector<Vec3>& points) {
    Vec3 sum;
    for (const Vec3& p : points)
        sum = sum + p;
    return sum * (1.0 / static_cast<double>(points.size()));
}

// The polygon's normal by Newell's method (any winding, robust for near-degenerate corners).
Vec3 PolygonNormal(const std::vector<Vec3>& points) {
    Vec3 n;
    for (size_t i = 0; i < points.size(); ++i) {
        const Vec3& a = points[i];
        const Vec3& b = points[(i + 1) % points.size()];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return Normalised(n);
}

// Texture coordinate in [0, 1] (the loader turns negative values into 0; rounding must not
// push a corner just outside).
double Clamp01(double t) {
    return std::clamp(t, 0.0, 1.0);
}

}  // namespace

Vec3 Normalised(Vec3 v) {
    const double length = std::sqrt(Dot(v, v));
    return length > 0 ? v * (1.0 / length) : Vec3{};
}

UvRect AtlasRegion(int size, int x, int y, int w, int h) {
    const double s = size;
    return {(x + 0.5) / s, 1.0 - (y + h - 0.5) / s, (x + w - 0.5) / s, 1.0 - (y + 0.5) / s};
}

void MeshBuilder::Triangle(const Corner& a, const Corner& b, const Corner& c) {
    corners_.push_back(a);
    corners_.push_back(b);
    corners_.push_back(c);
}

void MeshBuilder::Face(std::vector<Vec3> corners, Vec3 inside, const UvRect& region) {
    if (corners.size() < 3) return;
    Vec3 n = PolygonNormal(corners);
    if (Dot(n, Centroid(corners) - inside) < 0) {
        std::reverse(corners.begin(), corners.end());
        n = n * -1.0;
    }
    // The face's own axes: v up the face, u to the right seen from outside; horizontal
    // faces take -z as their "up".
    const Vec3 up = {0, 1, 0};
    Vec3 vAxis = std::fabs(n.y) > 0.999 ? Vec3{0, 0, -1} : Normalised(up - n * Dot(up, n));
    const Vec3 uAxis = Cross(vAxis, n);
    double u0 = 1e30, u1 = -1e30, v0 = 1e30, v1 = -1e30;
    for (const Vec3& p : corners) {
        u0 = std::min(u0, Dot(p, uAxis));
        u1 = std::max(u1, Dot(p, uAxis));
        v0 = std::min(v0, Dot(p, vAxis));
        v1 = std::max(v1, Dot(p, vAxis));
    }
    auto corner = [&](const Vec3& p) {
        const double s = u1 > u0 ? (Dot(p, uAxis) - u0) / (u1 - u0) : 0.0;
        const double t = v1 > v0 ? (Dot(p, vAxis) - v0) / (v1 - v0) : 0.0;
        return Corner{p, Clamp01(region.u0 + s * (region.u1 - region.u0)),
                      Clamp01(region.v0 + t * (region.v1 - region.v0)), n};
    };
    for (size_t i = 1; i + 1 < corners.size(); ++i)
        Triangle(corner(corners[0]), corner(corners[i]), corner(corners[i + 1]));
}

void MeshBuilder::Quad(Vec3 p0, Vec3 p1, Vec3 p2, Vec3 p3, Vec3 inside, const UvRect& region) {
    Corner c[4] = {{p0, region.u0, region.v0, {}},
                   {p1, region.u1, region.v0, {}},
                   {p2, region.u1, region.v1, {}},
                   {p3, region.u0, region.v1, {}}};
    Vec3 n = PolygonNormal({p0, p1, p2, p3});
    const bool flip = Dot(n, Centroid({p0, p1, p2, p3}) - inside) < 0;
    if (flip) n = n * -1.0;
    for (Corner& corner : c)
        corner.normal = n;
    if (flip) {
        Triangle(c[0], c[2], c[1]);
        Triangle(c[0], c[3], c[2]);
    } else {
        Triangle(c[0], c[1], c[2]);
        Triangle(c[0], c[2], c[3]);
    }
}

void MeshBuilder::Box(Vec3 low, Vec3 high, const UvRect& sides, const UvRect& top, bool bottom) {
    const UvRect each[4] = {sides, sides, sides, sides};
    Box(low, high, each, top, bottom);
}

void MeshBuilder::Box(Vec3 low, Vec3 high, const UvRect side[4], const UvRect& top, bool bottom) {
    const Vec3 c = (low + high) * 0.5;
    const double x0 = low.x, y0 = low.y, z0 = low.z, x1 = high.x, y1 = high.y, z1 = high.z;
    // Each side's bottom edge from left to right as seen from outside.
    Quad({x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}, c, side[0]);  // +z
    Quad({x1, y0, z0}, {x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}, c, side[1]);  // -z
    Quad({x1, y0, z1}, {x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, c, side[2]);  // +x
    Quad({x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, {x0, y1, z0}, c, side[3]);  // -x
    Face({{x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1}}, c, top);
    if (bottom) Face({{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}}, c, top);
}

void MeshBuilder::GableRoof(double x0, double z0, double x1, double z1, double eave, double ridge,
                            bool alongX, double overhang, double thickness, const UvRect& slope,
                            const UvRect& edge) {
    // Worked out for a ridge along x (a = x, b = z), then mapped to the world.
    const double a0 = alongX ? x0 : z0, a1 = alongX ? x1 : z1;
    const double b0 = alongX ? z0 : x0, b1 = alongX ? z1 : x1;
    const double bc = (b0 + b1) / 2, half = (b1 - b0) / 2;
    const double rise = ridge - eave;
    auto world = [alongX](double a, double y, double b) { return alongX ? Vec3{a, y, b} : Vec3{b, y, a}; };
    for (int side : {-1, 1}) {
        const double bEave = bc + side * (half + overhang);
        const double yEave = eave - overhang * rise / half;  // the slope carried on past the wall
        const double aLow = a0 - overhang, aHigh = a1 + overhang;
        // The slab's underside (resting on the wall tops) and its top, thickness higher.
        const Vec3 r0 = world(aLow, ridge, bc), r1 = world(aHigh, ridge, bc);
        const Vec3 e0 = world(aLow, yEave, bEave), e1 = world(aHigh, yEave, bEave);
        const Vec3 lift = {0, thickness, 0};
        const Vec3 inside = (r0 + r1 + e0 + e1) * 0.25 + lift * 0.5;
        Face({r0 + lift, r1 + lift, e1 + lift, e0 + lift}, inside, slope);  // top
        // The underside only where it overhangs the walls: over the building it is the
        // attic's ceiling, which nobody sees.
        if (overhang > 0) {
            const double bWall = bc + side * half;
            const Vec3 w0 = world(aLow, eave, bWall), w1 = world(aHigh, eave, bWall);
            Face({w0, w1, e1, e0}, inside, edge);                                        // along the eave
            Face({r0, world(a0, ridge, bc), world(a0, eave, bWall), w0}, inside, edge);  // past the end walls
            Face({world(a1, ridge, bc), r1, w1, world(a1, eave, bWall)}, inside, edge);
        }
        Face({e0, e1, e1 + lift, e0 + lift}, inside, edge);  // fascia along the eave
        Face({r0, e0, e0 + lift, r0 + lift}, inside, edge);  // the two gable edges
        Face({r1, e1, e1 + lift, r1 + lift}, inside, edge);
    }
}

void MeshBuilder::Frustum(double cx, double cz, double y0, double r0, double y1, double r1, int sides,
                          bool smooth, const UvRect& side, const UvRect* capRegion, bool bottom,
                          double phase) {
    const double height = y1 - y0;
    auto ring = [&](int i, double y, double r) {
        const double a = phase + 2.0 * kPi * i / sides;
        return Vec3{cx + r * std::cos(a), y, cz + r * std::sin(a)};
    };
    // The outward normal of the surface at angle a: radial, tilted up as the side narrows.
    auto normalAt = [&](double a) {
        return Normalised({std::cos(a) * height, r0 - r1, std::sin(a) * height});
    };
    for (int i = 0; i < sides; ++i) {
        const double a0 = phase + 2.0 * kPi * i / sides, a1 = phase + 2.0 * kPi * (i + 1) / sides;
        const double uA = side.u0 + (side.u1 - side.u0) * i / sides;
        const double uB = side.u0 + (side.u1 - side.u0) * (i + 1) / sides;
        const Vec3 n0 = smooth ? normalAt(a0) : normalAt((a0 + a1) / 2);
        const Vec3 n1 = smooth ? normalAt(a1) : n0;
        // Seen from outside, angles increasing from +x towards +z run right to left.
        const Corner b0{ring(i, y0, r0), uB, side.v0, n0}, b1{ring(i + 1, y0, r0), uA, side.v0, n1};
        const Corner t0{ring(i, y1, r1), uB, side.v1, n0}, t1{ring(i + 1, y1, r1), uA, side.v1, n1};
        Triangle(b1, b0, t0);
        Triangle(b1, t0, t1);
    }
    if (!capRegion) return;
    const Vec3 centre = {cx, (y0 + y1) / 2, cz};
    std::vector<Vec3> top, base;
    for (int i = 0; i < sides; ++i) {
        top.push_back(ring(i, y1, r1));
        base.push_back(ring(i, y0, r0));
    }
    if (r1 > 0) Face(top, centre, *capRegion);
    if (bottom && r0 > 0) Face(base, centre, *capRegion);
}

void MeshBuilder::Cone(double cx, double cz, double y0, double r, double y1, int sides, bool smooth,
                       const UvRect& side, double phase) {
    const double height = y1 - y0;
    auto ring = [&](double a) { return Vec3{cx + r * std::cos(a), y0, cz + r * std::sin(a)}; };
    auto normalAt = [&](double a) { return Normalised({std::cos(a) * height, r, std::sin(a) * height}); };
    const Vec3 apex = {cx, y1, cz};
    for (int i = 0; i < sides; ++i) {
        const double a0 = phase + 2.0 * kPi * i / sides, a1 = phase + 2.0 * kPi * (i + 1) / sides;
        const double am = (a0 + a1) / 2;
        const double uA = side.u0 + (side.u1 - side.u0) * i / sides;
        const double uB = side.u0 + (side.u1 - side.u0) * (i + 1) / sides;
        const Vec3 nm = normalAt(am);
        const Corner b0{ring(a0), uB, side.v0, smooth ? normalAt(a0) : nm};
        const Corner b1{ring(a1), uA, side.v0, smooth ? normalAt(a1) : nm};
        const Corner top{apex, (uA + uB) / 2, side.v1, nm};
        Triangle(b1, b0, top);
    }
}

void MeshBuilder::Bounds(Vec3& low, Vec3& high) const {
    low = {1e30, 1e30, 1e30};
    high = {-1e30, -1e30, -1e30};
    for (const Corner& c : corners_) {
        low = {std::min(low.x, c.position.x), std::min(low.y, c.position.y), std::min(low.z, c.position.z)};
        high = {std::max(high.x, c.position.x), std::max(high.y, c.position.y),
                std::max(high.z, c.position.z)};
    }
}

void MeshBuilder::StandCentred() {
    if (corners_.empty()) return;
    Vec3 low, high;
    Bounds(low, high);
    const Vec3 shift = {-(low.x + high.x) / 2, -low.y, -(low.z + high.z) / 2};
    for (Corner& c : corners_)
        c.position = c.position + shift;
}

namespace {

// A number as short as it can be written at the precision the loader keeps (16.16 fixed
// point resolves 1/65536; five decimals are finer than that for metres and for texture
// coordinates alike).
std::string Number(double value) {
    if (std::fabs(value) < 5e-6) value = 0.0;  // no "-0"
    char text[32];
    std::snprintf(text, sizeof text, "%.5f", value);
    std::string s = text;
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

// The 1-based index of a line in a list of unique lines, adding it when new.
int IndexOf(const std::string& line, std::map<std::string, int>& index, std::string& out) {
    auto found = index.find(line);
    if (found != index.end()) return found->second;
    const int next = static_cast<int>(index.size()) + 1;
    index.emplace(line, next);
    out += line;
    out += '\n';
    return next;
}

}  // namespace

std::string MeshBuilder::ToObj(const std::vector<std::string>& comment) const {
    std::string text;
    for (const std::string& line : comment)
        text += "# " + line + "\n";
    std::string positions, uvs, normals, faces;
    std::map<std::string, int> positionIndex, uvIndex, normalIndex;
    for (size_t t = 0; t + 2 < corners_.size(); t += 3) {
        faces += "f";
        for (size_t k = 0; k < 3; ++k) {
            const Corner& c = corners_[t + k];
            const int p =
                IndexOf("v " + Number(c.position.x) + " " + Number(c.position.y) + " " + Number(c.position.z),
                        positionIndex, positions);
            const int u = IndexOf("vt " + Number(c.u) + " " + Number(c.v), uvIndex, uvs);
            const int n =
                IndexOf("vn " + Number(c.normal.x) + " " + Number(c.normal.y) + " " + Number(c.normal.z),
                        normalIndex, normals);
            faces += " " + std::to_string(p) + "/" + std::to_string(u) + "/" + std::to_string(n);
        }
        faces += "\n";
    }
    return text + positions + uvs + normals + faces;
}

}  // namespace meshes
