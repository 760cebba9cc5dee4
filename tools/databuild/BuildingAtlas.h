#pragma once
// The buildings of models.zip and their texture atlases in textures.zip. Each building is a
// recipe: a model made with the mesh builder and a 256 x 256 atlas painted with the atlas
// painter, both laid out on the same named regions, so a face's texture coordinates always
// land on the picture painted for it.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/Canvas.h"
#include "databuild/MeshBuilder.h"

namespace buildings {

constexpr int kAtlasSize = 256;

// A rectangle of the atlas in texels, x from the left and y from the top of the picture.
struct Region {
    int x, y, w, h;
};

inline meshes::UvRect Uv(const Region& r) {
    return meshes::AtlasRegion(kAtlasSize, r.x, r.y, r.w, r.h);
}

// Paints an atlas, in texel units of the final picture (drawn at twice the size and
// filtered down for smooth slanted and round edges).
class AtlasPainter {
public:
    AtlasPainter();

    // Marks a region as used and fills it with a flat colour varied by a little noise
    // (amount: the largest brightness change, as a fraction).
    void Fill(const Region& region, Rgba colour, float amount = 0.04f, uint32_t seed = 1);
    void Rect(float x, float y, float w, float h, Rgba colour);
    void Polygon(const std::vector<Point2>& points, Rgba colour);
    void Circle(float cx, float cy, float radius, Rgba colour);
    // A band of the given width along a polyline (trim along roof edges, shadows under them).
    void Band(const std::vector<Point2>& line, float width, Rgba colour);
    // A vertical gradient over the rectangle from colour top to colour bottom, blended over.
    void Gradient(float x, float y, float w, float h, Rgba top, Rgba bottom);

    // Parallel lines across a region: every period texels a line of the given width
    // (vertical lines for boards and cladding, horizontal for courses and tiles).
    void Lines(const Region& region, bool vertical, float period, float width, Rgba colour);
    // Light shading baked into a wall: a darker band along its foot and a shadow under the
    // eaves, so walls read as walls even when the texture replaces the lighting.
    void WallShading(const Region& region, float eaveShadow = 4.0f, float footShadow = 5.0f);
    // A glazed window with a light frame, a sill, glazing bars and a sky reflection.
    void Window(float x, float y, float w, float h, Rgba frame = {246, 244, 236, 255}, int bars = 1);
    // A window with a round top (churches): the arch is a half circle on the width.
    void ArchedWindow(float x, float y, float w, float h, Rgba frame, Rgba glass);
    // A panelled door.
    void Door(float x, float y, float w, float h, Rgba colour);
    // Overlapping roof tiles: rows of height rowHeight, each row lighter at its lower edge.
    void Tiles(const Region& region, Rgba colour, float rowHeight, float tileWidth);

    // The finished atlas: filtered down, with every region's border texels carried a few
    // texels outwards so that filtering at a region's edge never picks up its neighbour.
    Canvas Finish() const;

private:
    Canvas canvas_;
    std::vector<Region> regions_;
};

struct BuildingRecipe {
    std::string name;         // member stem: "buildings/<name>.obj" and "buildings/<name>.png"
    std::string description;  // one line for the model's comment
    std::function<void(meshes::MeshBuilder&)> model;
    std::function<void(AtlasPainter&)> paint;
};

// The house, the apartment block and the barn with its silo.
std::vector<BuildingRecipe> DwellingRecipes();
// The hangar, the control tower, the church and the lighthouse.
std::vector<BuildingRecipe> LandmarkRecipes();

// The model's OBJ text and the atlas's PNG of a recipe.
std::string BuildingObj(const BuildingRecipe& recipe);
std::vector<uint8_t> BuildingAtlasPng(const BuildingRecipe& recipe);

}  // namespace buildings
