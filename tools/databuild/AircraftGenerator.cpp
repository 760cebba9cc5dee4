// The aircraft members: "aircraft/<name>.obj" in models.zip and the atlas
// "aircraft/<name>.png" in textures.zip that the aircraft files' "Model" lines name.
#include "databuild/AircraftModels.h"
#include "databuild/ArchiveBuilder.h"
#include "databuild/DataGenerators.h"

bool AddAircraftModels(ArchiveBuilder& archive, const DataSources&) {
    bool ok = true;
    for (const aircraft::AircraftRecipe& recipe : aircraft::AircraftRecipes()) {
        ok = archive.AddText("aircraft/" + recipe.name + ".obj", aircraft::AircraftObj(recipe)) && ok;
    }
    return ok;
}

bool AddAircraftTextures(ArchiveBuilder& archive, const DataSources&) {
    bool ok = true;
    for (const aircraft::AircraftRecipe& recipe : aircraft::AircraftRecipes()) {
        ok = archive.Add("aircraft/" + recipe.name + ".png", aircraft::AircraftAtlasPng(recipe)) && ok;
    }
    return ok;
}
