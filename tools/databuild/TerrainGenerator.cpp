// terrains.zip: the terrain files the routes name on their "terrain" line.
#include <cstdio>

#include "databuild/ArchiveBuilder.h"
#include "databuild/DataGenerators.h"
#include "databuild/Landscape.h"

namespace {

// Two distance bands: the detailed near textures out to 16 km, the calm far ones from
// 10 km on, cross-fading between. The far band ends at 170 km, beyond any window the
// game draws (65 vertices of 1.875 km reach about 85 km across the diagonal) and below
// 181 km, whose square no longer fits 16.16.
const TerrainBand kBands[] = {{0.0, 16.0}, {10.0, 170.0}};

}  // namespace

std::vector<TerrainDesign> MakeTerrainDesigns() {
    std::vector<TerrainDesign> designs;
    designs.push_back(MakeValley());
    designs.push_back(MakeCoast());
    designs.push_back(MakeFarmland());
    return designs;
}

TerrainFile TerrainFileOf(const TerrainDesign& design) {
    TerrainFile file = design.land.ToFile();
    file.bands.assign(std::begin(kBands), std::end(kBands));
    for (size_t k = 0; k < design.layerNames.size(); ++k) {
        TerrainMaterial material;
        material.name = design.layerNames[k];
        material.identifier = static_cast<uint32_t>(k);
        material.textures = {"terrain/" + material.name + ".png", "terrain/" + material.name + "_far.png"};
        file.layers.push_back(material);
    }
    return file;
}

bool AddTerrains(ArchiveBuilder& archive, const DataSources&) {
    bool ok = true;
    for (const TerrainDesign& design : MakeTerrainDesigns()) {
        std::vector<uint8_t> bytes = EncodeTerrain(TerrainFileOf(design));
        if (bytes.empty()) {
            std::fprintf(stderr, "terrain %s could not be encoded\n", design.member.c_str());
            ok = false;
            continue;
        }
        ok = archive.Add(design.member, std::move(bytes)) && ok;
    }
    return ok;
}
