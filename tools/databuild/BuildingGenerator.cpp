// The building members: "buildings/<name>.obj" in models.zip and the atlas
// "buildings/<name>.png" in textures.zip that a route names beside it.
#include "databuild/ArchiveBuilder.h"
#include "databuild/BuildingAtlas.h"
#include "databuild/DataGenerators.h"

namespace {

std::vector<buildings::BuildingRecipe> AllBuildings() {
    std::vector<buildings::BuildingRecipe> all = buildings::DwellingRecipes();
    for (buildings::BuildingRecipe& recipe : buildings::LandmarkRecipes())
        all.push_back(std::move(recipe));
    return all;
}

}  // namespace

bool AddBuildingModels(ArchiveBuilder& archive, const DataSources&) {
    bool ok = true;
    for (const buildings::BuildingRecipe& recipe : AllBuildings()) {
        ok = archive.AddText("buildings/" + recipe.name + ".obj", buildings::BuildingObj(recipe)) && ok;
    }
    return ok;
}

bool AddBuildingTextures(ArchiveBuilder& archive, const DataSources&) {
    bool ok = true;
    for (const buildings::BuildingRecipe& recipe : AllBuildings()) {
        ok = archive.Add("buildings/" + recipe.name + ".png", buildings::BuildingAtlasPng(recipe)) && ok;
    }
    return ok;
}
