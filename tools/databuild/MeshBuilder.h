#pragma once
// A small builder of low-poly models for the data build: convex faces, boxes, gable roofs,
// prisms and cylinders, written out as the OBJ subset the game's mesh loader reads (every
// face a triangle, every corner with its position, texture coordinate and normal).
// Coordinates are metres with y up; faces wind counter-clockwise seen from outside.
#include <string>
#include <vector>

namespace meshes {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, double k) {
    return {a.x * k, a.y * k, a.z * k};
}
inline double Dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 Cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec3 Normalised(Vec3 v);

// A region of the model's texture atlas in texture coordinates (v = 0 at the bottom of
// the picture, as the game's textures are uploaded).
struct UvRect {
    double u0 = 0, v0 = 0, u1 = 1, v1 = 1;
};

// A region given in texels of a square atlas of side size, x from the left and y from the
// top of the picture (as it is painted), inset by half a texel so that filtering stays
// inside the region.
UvRect AtlasRegion(int size, int x, int y, int w, int h);

class MeshBuilder {
public:
    // A flat convex polygon. The corners may come in either order: the face is turned to
    // look away from inside (a point within the solid it bounds). Its atlas region is laid
    // over the face's extent, u along the face's horizontal (or along x for horizontal
    // faces), v up the face (or along -z for horizontal faces).
    void Face(std::vector<Vec3> corners, Vec3 inside, const UvRect& region);
    // A quad with its texture coordinates given per corner: p0-p1 is the bottom edge of
    // the region (u0..u1 at v0), p3-p2 the top edge (at v1). Turned like Face.
    void Quad(Vec3 p0, Vec3 p1, Vec3 p2, Vec3 p3, Vec3 inside, const UvRect& region);

    // An axis-aligned box from low to high; regions for its sides and its top (the bottom,
    // which stands on the ground, is left out unless bottom is set).
    void Box(Vec3 low, Vec3 high, const UvRect& sides, const UvRect& top, bool bottom = false);
    // The same with a region of its own for each side: +z, -z, +x, -x.
    void Box(Vec3 low, Vec3 high, const UvRect side[4], const UvRect& top, bool bottom = false);

    // A gable roof as two sloping slabs of the given thickness over a rectangle from
    // (x0, z0) to (x1, z1) whose eaves are at height eave and whose ridge, at height ridge,
    // runs along x (alongX) or along z. overhang extends it beyond the rectangle on all
    // sides. The gable triangles under the slabs are not made (the end walls carry them),
    // nor the slabs' undersides over the walls (never seen from outside).
    void GableRoof(double x0, double z0, double x1, double z1, double eave, double ridge, bool alongX,
                   double overhang, double thickness, const UvRect& slope, const UvRect& edge);

    // A vertical prism or frustum of sides faces around the y axis through (cx, cz), from
    // y0 (radius r0) to y1 (radius r1). smooth gives it one normal per column (round
    // shading) instead of flat facets. The side region wraps once around it; caps (top,
    // and bottom when bottom is set) take capRegion as a disc mapped into its square.
    void Frustum(double cx, double cz, double y0, double r0, double y1, double r1, int sides, bool smooth,
                 const UvRect& side, const UvRect* capRegion, bool bottom = false, double phase = 0.0);
    // A cone or pyramid from a ring at y0 of radius r up to an apex at y1. phase turns the
    // ring (radians; the first corner is at angle phase from +x towards +z).
    void Cone(double cx, double cz, double y0, double r, double y1, int sides, bool smooth,
              const UvRect& side, double phase = 0.0);

    // Moves the whole model so that it stands on y = 0 with its box centred on x and z.
    void StandCentred();

    // One triangle with a normal and texture coordinates per corner, wound as given.
    struct Corner {
        Vec3 position;
        double u = 0, v = 0;
        Vec3 normal;
    };
    void Triangle(const Corner& a, const Corner& b, const Corner& c);

    size_t TriangleCount() const { return corners_.size() / 3; }
    // The lowest and highest corner of the model's box.
    void Bounds(Vec3& low, Vec3& high) const;

    // OBJ text: the comment lines (each prefixed with "# "), then v, vt, vn and f lines.
    std::string ToObj(const std::vector<std::string>& comment) const;

private:
    std::vector<Corner> corners_;  // three per triangle
};

}  // namespace meshes
