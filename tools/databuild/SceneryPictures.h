#pragma once
// The pictures of the world's scenery, drawn by the generators of textures.zip
// (SceneryGenerator.cpp adds them under their member names). Every size is a power of two.
#include <cstdint>
#include <vector>

#include "common/Canvas.h"

namespace scenery {

// "clouds/cloud.png", 256 x 256 RGBA: one fair-weather cumulus, white on top and light
// blue-grey underneath, with a flat base and soft transparent edges; clear for 26 texels
// along every border. A cloud node shows it less a random border of up to 13 texels, so
// the heap is never cut, and the middle is dense cloud throughout.
Canvas MakeCloud();

// "clouds/layer.png", 512 x 128 RGBA: the cloud layer's curtain. A band of heaped cloud
// along the horizon, densest in the middle rows and fading to clear at the top and the
// bottom rows; it tiles seamlessly left to right because the layer scrolls u. Row 0 (the
// top of the picture) is the top of the curtain (v = 1).
Canvas MakeCloudLayer();

// "clouds/zone.png", 256 x 512 8-bit grey: cloud density (0 clear, 255 dense) for the
// fly-through effect, which pans a 240 x 320 window over it; it tiles in both directions.
std::vector<uint8_t> MakeCloudZone(int& width, int& height);

// "trees/trees.png", 256 x 256 RGBA: sixteen trees in a 4 x 4 atlas of 64 x 64 cells.
// Variant k sits in column k div 4 (from the left) and row k mod 4 counted from the bottom
// of the picture (texture v grows upwards), standing centred on the cell's bottom edge.
Canvas MakeTreeAtlas();

// "runway.png", 128 x 1024 RGB: the whole runway once, across u (edge to edge) and along v
// (end A at the bottom of the picture, end B at the top).
Canvas MakeRunway();

}  // namespace scenery
