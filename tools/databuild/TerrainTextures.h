#pragma once
// The ground textures of the terrains, "terrain/<material>.png" (256 x 256, for the near
// distance band) and "terrain/<material>_far.png" (64 x 64, the same ground averaged and
// calmed, for the far band) in textures.zip. Each repeats seamlessly; one repeat covers
// 20 km of ground (the terrains repeat their textures 12 times across the 240 km world).
#include <string>
#include <vector>

#include "common/Canvas.h"

struct TerrainTexture {
    std::string member;  // "terrain/grass.png"
    Canvas picture;
};

// The materials that have textures: grass, fields, forest, rock, sand, snow, water.
const std::vector<std::string>& TerrainTextureMaterials();

// Every terrain texture, near and far, in a fixed order, and the detail texture
// (kTerrainDetailTexture, 256 x 256 grey): small facets and speckles of the ground a
// metre or two across, 0.5 on average, that the game modulates over the near ground
// kTerrainDetailRepeats times per grid square (FSTerrainStorage.h).
std::vector<TerrainTexture> MakeTerrainTextures();
