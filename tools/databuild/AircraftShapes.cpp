#include "databuild/AircraftShapes.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace aircraft {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kCreaseCosine = 0.5;  // normals are averaged across bends below 60 degrees

double Along(const Vec3& p, Axis axis) {
    return axis == Axis::X ? p.x : (axis == Axis::Y ? p.y : p.z);
}

double Fraction(double value, double from, double to) {
    if (std::fabs(to - from) < 1e-12) return 0.5;
    return std::clamp((value - from) / (to - from), 0.0, 1.0);
}

// A superellipse corner: exponent 1 is the ellipse, smaller values square it off.
double Shaped(double c, double exponent) {
    return (c < 0 ? -1.0 : 1.0) * std::pow(std::fabs(c), exponent);
}

using PositionKey = std::tuple<long long, long long, long long>;

PositionKey KeyOf(const Vec3& p) {
    return {std::llround(p.x * 1e5), std::llround(p.y * 1e5), std::llround(p.z * 1e5)};
}

// Sutherland-Hodgman clipping of a polygon to one side of an axis-aligned line.
std::vector<Point2> ClipSide(const std::vector<Point2>& in, bool alongX, float limit, bool keepBelow) {
    std::vector<Point2> out;
    auto inside = [&](const Point2& p) {
        const float c = alongX ? p.x : p.y;
        return keepBelow ? c <= limit : c >= limit;
    };
    for (size_t i = 0; i < in.size(); ++i) {
        const Point2& a = in[i];
        const Point2& b = in[(i + 1) % in.size()];
        const bool ia = inside(a), ib = inside(b);
        if (ia) out.push_back(a);
        if (ia != ib) {
            const float ca = alongX ? a.x : a.y, cb = alongX ? b.x : b.y;
            const float t = (limit - ca) / (cb - ca);
            out.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
        }
    }
    return out;
}

}  // namespace

void Skin::TexCoord(const Vec3& p, double& u, double& v) const {
    double a = Along(p, uAxis);
    if (mirrorU) a = std::fabs(a);
    const meshes::UvRect uv = buildings::Uv(region);
    u = uv.u0 + Fraction(a, u0, u1) * (uv.u1 - uv.u0);
    v = uv.v0 + Fraction(Along(p, vAxis), v0, v1) * (uv.v1 - uv.v0);
}

Point2 Skin::Texel(double along, double up) const {
    const double s = std::fabs(u1 - u0) < 1e-12 ? 0.5 : (along - u0) / (u1 - u0);
    const double t = std::fabs(v1 - v0) < 1e-12 ? 0.5 : (up - v0) / (v1 - v0);
    return {static_cast<float>(region.x + s * region.w), static_cast<float>(region.y + (1.0 - t) * region.h)};
}

Skin Solid(const buildings::Region& region) {
    Skin skin;
    skin.region = region;
    skin.u0 = skin.u1 = 0;
    skin.v0 = skin.v1 = 0;
    return skin;
}

// ---- ShapeBuilder

void ShapeBuilder::Triangle(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& inside,
                            const Skin& skin) {
    Vec3 n = meshes::Cross(b - a, c - a);
    const double length = std::sqrt(meshes::Dot(n, n));
    if (length < 1e-9) return;  // degenerate: nothing to see, nothing to close
    n = n * (1.0 / length);
    const Vec3 centre = (a + b + c) * (1.0 / 3.0);
    const bool flip = meshes::Dot(n, centre - inside) < 0;
    if (flip) n = n * -1.0;
    for (const Vec3* p : {&a, flip ? &c : &b, flip ? &b : &c}) {
        Corner corner{*p, n};
        skin.TexCoord(*p, corner.u, corner.v);
        corners_.push_back(corner);
    }
}

void ShapeBuilder::Face(std::vector<Vec3> corners, const Vec3& inside, const Skin& skin) {
    for (size_t i = 1; i + 1 < corners.size(); ++i)
        Triangle(corners[0], corners[i], corners[i + 1], inside, skin);
}

void ShapeBuilder::SmoothFrom(size_t firstCorner) {
    std::map<PositionKey, std::vector<Vec3>> facesAt;  // area-weighted face normals by corner
    std::vector<Vec3> faceNormal;
    for (size_t t = firstCorner; t + 2 < corners_.size(); t += 3) {
        const Vec3 weighted = meshes::Cross(corners_[t + 1].position - corners_[t].position,
                                            corners_[t + 2].position - corners_[t].position);
        faceNormal.push_back(corners_[t].normal);
        for (size_t k = 0; k < 3; ++k)
            facesAt[KeyOf(corners_[t + k].position)].push_back(weighted);
    }
    for (size_t t = firstCorner, f = 0; t + 2 < corners_.size(); t += 3, ++f) {
        for (size_t k = 0; k < 3; ++k) {
            Corner& corner = corners_[t + k];
            Vec3 sum;
            for (const Vec3& w : facesAt[KeyOf(corner.position)]) {
                if (meshes::Dot(meshes::Normalised(w), faceNormal[f]) > kCreaseCosine) sum = sum + w;
            }
            const Vec3 n = meshes::Normalised(sum);
            if (meshes::Dot(n, n) > 0.5) corner.normal = n;
        }
    }
}

void ShapeBuilder::Loft(const std::vector<Section>& sections, int sides, const Skin& skin,
                        const Skin& capSkin, bool smooth, double x) {
    if (sections.size() < 2 || sides < 3) return;
    std::vector<std::vector<Vec3>> rings;
    for (const Section& s : sections) {
        const double exponent = 1.0 - 0.7 * std::clamp(s.square, 0.0, 1.0);
        std::vector<Vec3> ring;
        for (int k = 0; k < sides; ++k) {
            const double a = 2.0 * kPi * k / sides;
            ring.push_back({x + s.halfWidth * Shaped(std::sin(a), exponent), s.y,
                            s.z + s.halfHeight * Shaped(std::cos(a), exponent)});
        }
        rings.push_back(ring);
    }
    auto isPoint = [](const Section& s) { return s.halfWidth < 1e-9 && s.halfHeight < 1e-9; };
    const size_t first = corners_.size();
    for (size_t i = 0; i + 1 < sections.size(); ++i) {
        const Vec3 inside = {x, (sections[i].y + sections[i + 1].y) / 2,
                             (sections[i].z + sections[i + 1].z) / 2};
        for (int k = 0; k < sides; ++k) {
            const int next = (k + 1) % sides;
            const Vec3 &a0 = rings[i][k], &a1 = rings[i][next], &b0 = rings[i + 1][k],
                       &b1 = rings[i + 1][next];
            if (!isPoint(sections[i])) Triangle(a0, a1, b1, inside, skin);
            if (!isPoint(sections[i + 1])) Triangle(a0, b1, b0, inside, skin);
        }
    }
    if (smooth) SmoothFrom(first);
    if (!isPoint(sections.front())) {
        const Section& s = sections[1];
        Face(rings.front(), {x, s.y, s.z}, capSkin);
    }
    if (!isPoint(sections.back())) {
        const Section& s = sections[sections.size() - 2];
        Face(rings.back(), {x, s.y, s.z}, capSkin);
    }
}

void ShapeBuilder::Panel(const Chord& root, const Chord& tip, bool vertical, const Skin& top,
                         const Skin& bottom) {
    auto section = [vertical](const Chord& c) {
        const Vec3 thick = vertical ? Vec3{c.thickness / 2, 0, 0} : Vec3{0, 0, c.thickness / 2};
        const Vec3 crest = c.leading + Vec3{0, -0.3 * c.chord, 0};
        return std::vector<Vec3>{c.leading, crest + thick, c.leading + Vec3{0, -c.chord, 0}, crest - thick};
    };
    const std::vector<Vec3> r = section(root), t = section(tip);
    const Vec3 middle = (r[0] + r[2] + t[0] + t[2]) * 0.25;
    for (int k = 0; k < 4; ++k) {
        const int next = (k + 1) % 4;
        // The upper side is corners 0-1-2, the lower side 2-3-0.
        const Skin& skin = k < 2 ? top : bottom;
        Triangle(r[k], r[next], t[next], middle, skin);
        Triangle(r[k], t[next], t[k], middle, skin);
    }
    Face(r, middle, bottom);
    Face(t, middle, bottom);
}

void ShapeBuilder::Tube(const Vec3& a, const Vec3& b, double r1, double r2, int sides, const Vec3& across,
                        const Skin& skin, bool smooth) {
    const Vec3 d = meshes::Normalised(b - a);
    const Vec3 e1 = meshes::Normalised(across - d * meshes::Dot(d, across));
    const Vec3 e2 = meshes::Cross(d, e1);
    std::vector<Vec3> ringA, ringB;
    for (int k = 0; k < sides; ++k) {
        const double angle = 2.0 * kPi * (k + 0.5) / sides;
        const Vec3 offset = e1 * (r1 * std::cos(angle)) + e2 * (r2 * std::sin(angle));
        ringA.push_back(a + offset);
        ringB.push_back(b + offset);
    }
    const Vec3 middle = (a + b) * 0.5;
    const size_t first = corners_.size();
    for (int k = 0; k < sides; ++k) {
        const int next = (k + 1) % sides;
        Triangle(ringA[k], ringA[next], ringB[next], middle, skin);
        Triangle(ringA[k], ringB[next], ringB[k], middle, skin);
    }
    if (smooth) SmoothFrom(first);
    Face(ringA, middle, skin);
    Face(ringB, middle, skin);
}

void ShapeBuilder::Box(const Vec3& low, const Vec3& high, const Skin& skin) {
    const Vec3 centre = (low + high) * 0.5;
    const double xs[2] = {low.x, high.x}, ys[2] = {low.y, high.y}, zs[2] = {low.z, high.z};
    for (int axis = 0; axis < 3; ++axis) {
        for (int side = 0; side < 2; ++side) {
            std::vector<Vec3> face;
            for (int i = 0; i < 4; ++i) {
                const int p = i == 1 || i == 2, q = i >= 2;
                if (axis == 0) face.push_back({xs[side], ys[p], zs[q]});
                if (axis == 1) face.push_back({xs[p], ys[side], zs[q]});
                if (axis == 2) face.push_back({xs[p], ys[q], zs[side]});
            }
            Face(face, centre, skin);
        }
    }
}

void ShapeBuilder::Add(const ShapeBuilder& other) {
    corners_.insert(corners_.end(), other.corners_.begin(), other.corners_.end());
}

void ShapeBuilder::AddMirrored(const ShapeBuilder& other) {
    for (size_t t = 0; t + 2 < other.corners_.size(); t += 3) {
        for (size_t k : {size_t{0}, size_t{2}, size_t{1}}) {
            Corner c = other.corners_[t + k];
            c.position.x = -c.position.x;
            c.normal.x = -c.normal.x;
            corners_.push_back(c);
        }
    }
}

meshes::MeshBuilder ShapeBuilder::ToMesh() const {
    meshes::MeshBuilder mesh;
    for (size_t t = 0; t + 2 < corners_.size(); t += 3) {
        auto corner = [&](size_t i) {
            const Corner& c = corners_[t + i];
            return meshes::MeshBuilder::Corner{c.position, c.u, c.v, c.normal};
        };
        mesh.Triangle(corner(0), corner(1), corner(2));
    }
    return mesh;
}

// ---- SkinPainter

void SkinPainter::Fill(const Skin& skin, Rgba colour, float amount, uint32_t seed) {
    painter_.Fill(skin.region, colour, amount, seed);
}

void SkinPainter::Rect(const Skin& skin, double along0, double along1, double up0, double up1, Rgba colour) {
    Polygon(skin,
            {{static_cast<float>(along0), static_cast<float>(up0)},
             {static_cast<float>(along1), static_cast<float>(up0)},
             {static_cast<float>(along1), static_cast<float>(up1)},
             {static_cast<float>(along0), static_cast<float>(up1)}},
            colour);
}

void SkinPainter::Polygon(const Skin& skin, const std::vector<Point2>& points, Rgba colour) {
    std::vector<Point2> texels;
    for (const Point2& p : points)
        texels.push_back(skin.Texel(p.x, p.y));
    const buildings::Region& r = skin.region;
    texels = ClipSide(texels, true, static_cast<float>(r.x), false);
    texels = ClipSide(texels, true, static_cast<float>(r.x + r.w), true);
    texels = ClipSide(texels, false, static_cast<float>(r.y), false);
    texels = ClipSide(texels, false, static_cast<float>(r.y + r.h), true);
    if (texels.size() >= 3) painter_.Polygon(texels, colour);
}

void SkinPainter::Disc(const Skin& skin, double along, double up, double radius, Rgba colour) {
    std::vector<Point2> points;
    for (int i = 0; i < 32; ++i) {
        const double a = 2.0 * kPi * i / 32;
        points.push_back({static_cast<float>(along + radius * std::cos(a)),
                          static_cast<float>(up + radius * std::sin(a))});
    }
    Polygon(skin, points, colour);
}

void SkinPainter::Band(const Skin& skin, const std::vector<Point2>& line, double width, Rgba colour) {
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        const Point2 a = line[i], b = line[i + 1];
        const double dx = b.x - a.x, dy = b.y - a.y, length = std::sqrt(dx * dx + dy * dy);
        if (length <= 0) continue;
        const float nx = static_cast<float>(-dy / length * width / 2);
        const float ny = static_cast<float>(dx / length * width / 2);
        Polygon(skin,
                {{a.x - nx, a.y - ny}, {b.x - nx, b.y - ny}, {b.x + nx, b.y + ny}, {a.x + nx, a.y + ny}},
                colour);
    }
}

}  // namespace aircraft
