#pragma once
// The parts the aircraft models are made of, in the aircraft's body axes: x towards the
// right wing, y forward (the nose), z up, in metres. Every part is a closed solid whose
// triangles wind counter-clockwise seen from outside, so the game can cull back faces.
//
// Texture coordinates come from skins: a skin projects a part onto two body axes and lays
// that rectangle of the model over a region of the aircraft's 256 x 256 atlas, and the
// painter uses the same skin to paint in model coordinates. A fuselage painted in its side
// view therefore shows its stripes and windows where they belong on both sides, and a wing
// painted in plan view shows its markings on both halves (the skin mirrors x).
#include <vector>

#include "databuild/BuildingAtlas.h"
#include "databuild/MeshBuilder.h"

namespace aircraft {

using meshes::Vec3;

enum class Axis { X, Y, Z };

struct Skin {
    buildings::Region region;  // texels of the atlas
    Axis uAxis = Axis::Y;      // body axis along the region's width
    Axis vAxis = Axis::Z;      // body axis up the region's height
    double u0 = 0, u1 = 1;     // model extent laid over the region's width (u0 at its left)
    double v0 = 0, v1 = 1;     // model extent laid over its height (v0 at its bottom)
    bool mirrorU = false;      // |coordinate| along u (both wings share one plan view)

    // Texture coordinates of a point (clamped to the region; a degenerate extent gives
    // the region's centre, for parts of one colour).
    void TexCoord(const Vec3& p, double& u, double& v) const;
    // The texel of the atlas (x from the left, y from the top) of a point given by its
    // coordinates along the skin's two axes, for painting.
    Point2 Texel(double along, double up) const;
};

// A skin of one colour: every corner samples the middle of the region.
Skin Solid(const buildings::Region& region);

// Collects the triangles of a model; each part added is closed and wound outwards.
class ShapeBuilder {
public:
    // A convex polygon in one plane, turned to face away from inside.
    void Face(std::vector<Vec3> corners, const Vec3& inside, const Skin& skin);

    // A cross-section of a loft: an ellipse (square 0) or a rounded box (square up to 1)
    // around (x, z) = (0, z) at station y. A section of zero size is a point.
    struct Section {
        double y, z, halfWidth, halfHeight, square = 0.0;
    };
    // A body along y through the sections (ordered from the nose backwards), each with
    // sides corners starting at the top; the ends are closed by a point or a flat cap
    // textured with capSkin. smooth averages the normals across the body's sides (not
    // across creases sharper than 60 degrees) so that it shades round.
    // x moves the whole body sideways (wheel fairings, intakes).
    void Loft(const std::vector<Section>& sections, int sides, const Skin& skin, const Skin& capSkin,
              bool smooth, double x = 0.0);

    // A lifting surface between a root and a tip section. Each section is given by its
    // leading-edge point, its chord (running back along -y) and its thickness; the
    // section is a flat diamond with its thickest point at 30 % of the chord. A
    // horizontal panel is thick along z (top skin for the upper side, bottom skin for the
    // lower); a vertical one (fin, rudder) is thick along x (pass its side skin as both).
    struct Chord {
        Vec3 leading;
        double chord, thickness;
    };
    void Panel(const Chord& root, const Chord& tip, bool vertical, const Skin& top, const Skin& bottom);

    // A prism from a to b with sides faces, elliptical with radii r1 and r2 (r1 along
    // the direction 'across', r2 along the third axis), closed at both ends. Wheels are
    // tubes along x, struts thin tubes between their two ends.
    void Tube(const Vec3& a, const Vec3& b, double r1, double r2, int sides, const Vec3& across,
              const Skin& skin, bool smooth = false);

    // An axis-aligned box.
    void Box(const Vec3& low, const Vec3& high, const Skin& skin);

    // Adds another builder's triangles mirrored to the other side of x = 0 (windings
    // reversed, so they still face outwards).
    void AddMirrored(const ShapeBuilder& other);
    void Add(const ShapeBuilder& other);

    size_t TriangleCount() const { return corners_.size() / 3; }
    // The triangles with their corners for the OBJ writer.
    meshes::MeshBuilder ToMesh() const;

private:
    struct Corner {
        Vec3 position, normal;
        double u = 0, v = 0;
    };
    void Triangle(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& inside, const Skin& skin);
    // Replaces the normals of the triangles from index first on by averages over the
    // faces that share a corner position and bend less than the crease angle.
    void SmoothFrom(size_t firstCorner);

    std::vector<Corner> corners_;
};

// Painting in model coordinates through a skin: rectangles, polygons and discs, clipped to
// the skin's region so nothing spills into a neighbouring part of the atlas.
class SkinPainter {
public:
    explicit SkinPainter(buildings::AtlasPainter& painter) : painter_(painter) {}

    // Marks the skin's region as used and fills it (light noise, amount as for Fill).
    void Fill(const Skin& skin, Rgba colour, float amount = 0.03f, uint32_t seed = 3);
    void Rect(const Skin& skin, double along0, double along1, double up0, double up1, Rgba colour);
    // A polygon of (along, up) points in model coordinates.
    void Polygon(const Skin& skin, const std::vector<Point2>& points, Rgba colour);
    void Disc(const Skin& skin, double along, double up, double radius, Rgba colour);
    // A band of the given width (model units) along a polyline.
    void Band(const Skin& skin, const std::vector<Point2>& line, double width, Rgba colour);

private:
    buildings::AtlasPainter& painter_;
};

}  // namespace aircraft
