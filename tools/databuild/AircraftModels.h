#pragma once
// The five flyable aircraft as models for models.zip ("aircraft/<name>.obj") and texture
// atlases for textures.zip ("aircraft/<name>.png"), named by the "Model" lines of the
// aircraft files. Each recipe builds its model from the parts of AircraftShapes.h and
// paints its 256 x 256 atlas through the same skins, so the markings land where the
// model's texture coordinates look.
//
// Models are in the aircraft's body axes and in metres at their real size: x towards the
// right wing, y forward, z up; the origin is the centre of gravity (near the wing's
// quarter chord), the nose tip (propeller hub or nose cone) is the model's largest y and
// the wheels' bottom its smallest z, which is where the game lets the aircraft stand.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "databuild/AircraftShapes.h"

namespace aircraft {

struct AircraftRecipe {
    std::string name;         // member stem: "aircraft/<name>.obj" and "aircraft/<name>.png"
    std::string description;  // one line for the model's comment
    std::function<void(ShapeBuilder&)> model;
    std::function<void(SkinPainter&)> paint;
};

// The regions of every aircraft atlas (texels of 256 x 256): the fuselage in side view,
// the wings in plan view from above and below, the horizontal tail likewise, the fin in
// side view, the canopy in side view, a front view (cowling and intake faces) and small
// tiles of one colour each.
namespace atlas {
inline constexpr buildings::Region kSide{0, 0, 256, 88};
inline constexpr buildings::Region kWingTop{0, 88, 128, 64};
inline constexpr buildings::Region kWingBottom{128, 88, 128, 64};
inline constexpr buildings::Region kTailTop{0, 152, 80, 48};
inline constexpr buildings::Region kTailBottom{80, 152, 80, 48};
inline constexpr buildings::Region kFin{160, 152, 96, 56};
inline constexpr buildings::Region kCanopy{0, 200, 96, 40};
inline constexpr buildings::Region kFront{96, 200, 48, 48};
// One-colour tile number i (0..26).
buildings::Region Tile(int i);
}  // namespace atlas

// Colours shared by the aircraft.
namespace colours {
inline constexpr Rgba kWhite{246, 246, 242, 255};
inline constexpr Rgba kTyre{38, 38, 40, 255};
inline constexpr Rgba kGlass{46, 72, 112, 255};
inline constexpr Rgba kFrame{70, 74, 80, 255};
inline constexpr Rgba kAluminium{196, 200, 206, 255};
inline constexpr Rgba kDark{52, 54, 58, 255};
}  // namespace colours

// Skins over the common regions for a model's extents: the side view over y (nose to
// tail) and z, the plan views over |x| (0 to the half span) and y.
Skin SideSkin(const buildings::Region& region, double yTail, double yNose, double zLow, double zHigh);
Skin PlanSkin(const buildings::Region& region, double halfSpan, double yBack, double yFront);
// A front view over x and z (cowling faces, intakes).
Skin FrontSkin(const buildings::Region& region, double halfWidth, double zLow, double zHigh);

// Glazing painted into a side view: a glass polygon with a sky sheen and a frame.
void PaintGlass(SkinPainter& painter, const Skin& skin, const std::vector<Point2>& outline);

// Cessna 172R, Sukhoi Su-29 and Fokker Dr.I (AircraftPistonModels.cpp).
AircraftRecipe CessnaRecipe();
AircraftRecipe SukhoiRecipe();
AircraftRecipe FokkerRecipe();
// L-29 Delfin and L-13 Blanik (AircraftCzechModels.cpp).
AircraftRecipe DelfinRecipe();
AircraftRecipe BlanikRecipe();

// The five in the order of their aircraft files (Aircraft1.txt to Aircraft5.txt).
std::vector<AircraftRecipe> AircraftRecipes();

// The model's OBJ text and the atlas's PNG of a recipe.
std::string AircraftObj(const AircraftRecipe& recipe);
std::vector<uint8_t> AircraftAtlasPng(const AircraftRecipe& recipe);

}  // namespace aircraft
