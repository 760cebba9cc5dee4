// The scenery members of textures.zip: clouds, the tree atlas and the runway.
#include "common/ImageFiles.h"
#include "databuild/ArchiveBuilder.h"
#include "databuild/DataGenerators.h"
#include "databuild/SceneryPaint.h"
#include "databuild/SceneryPictures.h"

bool AddSceneryTextures(ArchiveBuilder& archive, const DataSources&) {
    bool ok = archive.Add("clouds/cloud.png", EncodePng(scenery::MakeCloud(), true));
    ok = archive.Add("clouds/layer.png", EncodePng(scenery::MakeCloudLayer(), true)) && ok;
    int width = 0, height = 0;
    const std::vector<uint8_t> zone = scenery::MakeCloudZone(width, height);
    ok = archive.Add("clouds/zone.png", EncodeGreyPng(zone, width, height)) && ok;
    ok = archive.Add("trees/trees.png", EncodePng(scenery::MakeTreeAtlas(), true)) && ok;
    ok = archive.Add("runway.png", EncodePng(scenery::MakeRunway(), false)) && ok;
    return ok;
}
