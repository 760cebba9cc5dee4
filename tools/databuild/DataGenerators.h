#pragma once
// The generators of the data build. Each one adds the members of one kind of content to an
// archive builder; the archive table in DataBuild.cpp says which generators fill which
// archive. A generator reports its own problems on standard error and returns false.
#include <string>

class ArchiveBuilder;

// What the generators draw from.
struct DataSources {
    std::string assets;       // the assets folder of the source tree
    std::string boldFont;     // DejaVu Sans Bold (TrueType)
    std::string regularFont;  // DejaVu Sans
};

using DataGenerator = bool (*)(ArchiveBuilder& archive, const DataSources& sources);

// Every file under assets/<archive stem>/, as a member named by its path below that folder
// ("assets/models/cube.obj" becomes "cube.obj" in models.zip). Files whose name starts with
// '.' are left out. Runs for every archive.
bool AddAssetFiles(ArchiveBuilder& archive, const DataSources& sources);

// fonts.zip: the five bitmap fonts, each a folder with "config.txt", the strip mask
// "font_mask.bmp" and, for coloured fonts, the colour strip "font.bmp".
bool AddFonts(ArchiveBuilder& archive, const DataSources& sources);

// textures.zip: "particle.png", "red.png", "blue.png".
bool AddTextures(ArchiveBuilder& archive, const DataSources& sources);

// textures.zip: the ground textures of the terrains, "terrain/<material>.png" for the near
// distance band and "terrain/<material>_far.png" for the far one (TerrainTextures.h).
bool AddTerrainTextures(ArchiveBuilder& archive, const DataSources& sources);

// terrains.zip: the terrains "valley.ter", "coast.ter" and "farmland.ter" (Landscape.h).
bool AddTerrains(ArchiveBuilder& archive, const DataSources& sources);

// textures.zip: the scenery pictures "clouds/cloud.png", "clouds/layer.png", "clouds/zone.png",
// "trees/trees.png" and "runway.png" (SceneryPictures.h).
bool AddSceneryTextures(ArchiveBuilder& archive, const DataSources& sources);

// models.zip: the buildings "buildings/<name>.obj"; textures.zip: their atlases
// "buildings/<name>.png" (BuildingAtlas.h).
bool AddBuildingModels(ArchiveBuilder& archive, const DataSources& sources);
bool AddBuildingTextures(ArchiveBuilder& archive, const DataSources& sources);

// textures.zip: the sky boxes "skyboxes/skybox1/<morning|noon|evening|night>/<face>.png" with
// the faces "left", "right", "top", "front" and "back" (SkyPictures.h).
bool AddSkyBoxes(ArchiveBuilder& archive, const DataSources& sources);

// models.zip: the five flyable aircraft "aircraft/<name>.obj"; textures.zip: their atlases
// "aircraft/<name>.png" (AircraftModels.h).
bool AddAircraftModels(ArchiveBuilder& archive, const DataSources& sources);
bool AddAircraftTextures(ArchiveBuilder& archive, const DataSources& sources);

// huds.zip: the stylus pad "touchpad/touchpad.bmp" with its mask "touchpad/touchpad_mask.bmp",
// one 120 x 160 picture for every flight orientation (TouchpadGenerator.cpp).
bool AddTouchpad(ArchiveBuilder& archive, const DataSources& sources);
// The strip compass and strip altimeter of huds.zip ("compass/...", "altimeter/...")
// (InstrumentGenerator.cpp).
bool AddInstruments(ArchiveBuilder& archive, const DataSources& sources);
// "avia.png" of textures.zip: the artificial horizon's face (HorizonGenerator.cpp).
bool AddHorizonTexture(ArchiveBuilder& archive, const DataSources& sources);
// The five aircraft's cockpits of huds.zip ("cocpits/<name>/..."), portrait and landscape.
bool AddCockpits(ArchiveBuilder& archive, const DataSources& sources);
// The shared pictures of menu.zip: the controls', the pointer and the title buttons
// ("controls/...", "states/...") (MenuControlsGenerator.cpp).
bool AddMenuControls(ArchiveBuilder& archive, const DataSources& sources);
// The text field's on-screen keyboard, "controls/editctrl/keyboard_*.bmp" (MenuKeyboardGenerator.cpp).
bool AddMenuKeyboard(ArchiveBuilder& archive, const DataSources& sources);
// The screens' backgrounds "states/state_*/*.bmp", the greyed "Resume" and the controls
// screen's selection bar (MenuScreensGenerator.cpp).
bool AddMenuScreens(ArchiveBuilder& archive, const DataSources& sources);
// The loading screen's title, altimeter body and figure wheels, "states/state_loading/..."
// (MenuLoadingGenerator.cpp).
bool AddLoadingScreen(ArchiveBuilder& archive, const DataSources& sources);
