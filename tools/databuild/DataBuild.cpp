// The game's data build: writes the nine archives of the "data" folder from the hand-made
// sources in assets/ and the procedural generators, every member deflated and encrypted
// with the game's archive password. The same inputs always give the same bytes.
//
// usage: aerovant-databuild <assets folder> <data folder> <bold font file> <regular font file>
//            [--extras <folder> <archive>]
//   With --extras only that archive is written, with the files of <folder>/<archive stem>/
//   added to it: the second pass that puts in what other tools made from the first pass's
//   archives (the aircraft clips of menu.zip, drawn with the game's own models).
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <system_error>
#include <vector>

#include "common/ImageFiles.h"
#include "databuild/ArchiveBuilder.h"
#include "databuild/DataGenerators.h"
#include "resources/FSDataPassword.h"

namespace fs = std::filesystem;

namespace {

struct ArchiveRecipe {
    const char* fileName;
    // Generators besides AddAssetFiles, which runs for every archive.
    std::initializer_list<DataGenerator> generators;
};

const ArchiveRecipe kArchives[] = {
    {"textures.zip",
     {AddTextures, AddTerrainTextures, AddSceneryTextures, AddBuildingTextures, AddSkyBoxes,
      AddAircraftTextures, AddHorizonTexture}},
    {"models.zip", {AddBuildingModels, AddAircraftModels}},
    {"aircrafts.zip", {}},
    {"routes.zip", {}},
    {"terrains.zip", {AddTerrains}},
    {"huds.zip", {AddTouchpad, AddInstruments, AddCockpits}},
    {"fonts.zip", {AddFonts}},
    {"menu.zip", {AddMenuControls, AddMenuKeyboard, AddLoadingScreen, AddMenuScreens}},
    {"help.zip", {}},
};

std::string DataPassword() {
    char password[kDataPasswordLength + 1];
    UnscrambleDataPassword(password);
    return password;
}

// Written beside the target and renamed over it, so an interrupted build never leaves a
// half-written archive that looks up to date.
bool WriteArchive(const fs::path& path, const std::vector<uint8_t>& bytes) {
    const fs::path temporary = path.string() + ".part";
    if (!WriteFile(temporary.string(), bytes)) return false;
    std::error_code error;
    fs::rename(temporary, path, error);
    if (error) fs::remove(temporary, error);
    return !error;
}

}  // namespace

int main(int argc, char** argv) {
    const bool extras = argc == 8 && std::string(argv[5]) == "--extras";
    if (argc != 5 && !extras) {
        std::fprintf(stderr,
                     "usage: %s <assets folder> <data folder> <bold font file> <regular font file> "
                     "[--extras <folder> <archive>]\n",
                     argc > 0 ? argv[0] : "aerovant-databuild");
        return 2;
    }
    const std::string only = extras ? argv[7] : "";
    const DataSources extraSources{extras ? argv[6] : "", argv[3], argv[4]};
    const DataSources sources{argv[1], argv[3], argv[4]};
    const fs::path dataFolder = argv[2];
    std::error_code error;
    if (!fs::is_directory(sources.assets, error)) {
        std::fprintf(stderr, "aerovant-databuild: no assets folder %s\n", sources.assets.c_str());
        return 1;
    }
    fs::create_directories(dataFolder, error);
    if (error) {
        std::fprintf(stderr, "aerovant-databuild: cannot create %s: %s\n", dataFolder.c_str(),
                     error.message().c_str());
        return 1;
    }

    const std::string password = DataPassword();
    bool ok = true;
    for (const ArchiveRecipe& recipe : kArchives) {
        if (!only.empty() && only != recipe.fileName) continue;
        ArchiveBuilder archive(recipe.fileName);
        if (!AddAssetFiles(archive, sources)) archive.Fail();
        if (extras && !AddAssetFiles(archive, extraSources)) archive.Fail();
        for (DataGenerator generate : recipe.generators) {
            if (!generate(archive, sources)) archive.Fail();
        }
        if (archive.Failed()) {
            std::fprintf(stderr, "aerovant-databuild: %s not written\n", recipe.fileName);
            ok = false;
            continue;
        }
        const std::vector<uint8_t> bytes = archive.Build(password);
        if (bytes.empty() || !WriteArchive(dataFolder / recipe.fileName, bytes)) {
            std::fprintf(stderr, "aerovant-databuild: cannot write %s\n",
                         (dataFolder / recipe.fileName).c_str());
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
