#pragma once
// The five aircraft's cockpits as pictures: one painter per aircraft, for the portrait
// (240 x 320) and the landscape (320 x 240) screen. The panel fills the bottom rows and
// is opaque; above it, over the 3-D view, only thin frames, the glare shield's edge and
// sights are painted, partly see-through.
#include <vector>

#include "databuild/CockpitArt.h"

struct CockpitDesign {
    const char* name;  // the aircraft's short name, the folder under "cocpits/"
    CockpitArt (*paint)(bool landscape);
};

// In the game's aircraft order.
const std::vector<CockpitDesign>& CockpitDesigns();

// Shared by the painters (CockpitPanels.cpp).
namespace cockpit_panels {

// A blank picture of the orientation, its panel below the view and its horizon window
// (48 x 48 portrait, 40 x 40 landscape) centred on horizonCentre, with spareRows for
// overlays.
CockpitArt NewArt(bool landscape, Point2 horizonCentre, int spareRows = 0);
// The rows of the panel's gauges: two in portrait, one (row1) in landscape.
float Row1(bool landscape);
float Row2(bool landscape);
// The panel face from the panel's top row down, a gradient between two colours.
void PanelFace(CockpitArt& art, Rgba top, Rgba bottom);
// The glare shield over the panel's top: its upper edge rises `rise` pixels into the view
// at the middle, its lower edge lies `depth` pixels below the panel's top.
void GlareShield(CockpitArt& art, Rgba colour, float rise, float depth);
// A windscreen pillar or frame: a dark stroke with a lighter edge.
void Frame(CockpitArt& art, const std::vector<Point2>& points, float width, Rgba colour);
// The points of an elliptic arch round (cx, cy) with half-axes (ax, ay), from one angle to
// another (degrees clockwise from twelve o'clock).
std::vector<Point2> Arch(float cx, float cy, float ax, float ay, float from, float to);

}  // namespace cockpit_panels

CockpitArt PaintC172(bool landscape);
CockpitArt PaintSu29(bool landscape);
CockpitArt PaintL29(bool landscape);
CockpitArt PaintL13(bool landscape);
CockpitArt PaintFokker(bool landscape);
