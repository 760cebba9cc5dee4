// A route file built into the world: terrain, start, gates and obstacles, buildings,
// trees, clouds, runway, wind and mist, on a real GLES surface with the real models.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "FuzzSupport.h"
#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "game/CSPRoute.h"
#include "resources/FSKeywordReader.h"
#include "support/AircraftTestData.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"
#include "world/FSScene.h"
#include "world/FSTerrainHolder.h"

namespace {

struct RouteWorld {
    CFSApplicationContext* context = nullptr;
    std::string terrains;

    RouteWorld() {
        context = GetApplicationContext();
        context->sceneRoot = std::make_unique<CFSScene>(&context->sineTable);
        std::string error;
        context->engine = CFSEngine::Create(*context, nullptr, error);
        if (!context->engine || !context->engine->SetUpSurface()) {
            std::fprintf(stderr, "no GLES surface for the route fuzzing: %s\n", error.c_str());
            std::abort();
        }
        // Two small terrains, as the routes name them: "flat.ter" and "slope.ter".
        const std::string folder = testing_support::MakeTempFolder("fuzz-route");
        for (const float slope : {0.0f, 0.01f}) {
            const std::vector<uint8_t> bytes = aircraft_test::FlatTerrainFile(5.5f, 16, slope);
            image_test_files::WriteText(folder + (slope > 0 ? "slope.ter" : "flat.ter"),
                                        std::string(bytes.begin(), bytes.end()));
        }
        terrains = folder + "terrains.zip";
        if (!image_test_files::ZipWithPassword(folder, terrains, "flat.ter slope.ter")) {
            std::fprintf(stderr, "Info-ZIP's zip is needed for the route fuzzing\n");
            std::abort();
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static RouteWorld world;
    CFSApplicationContext& context = *world.context;
    {
        // No route archive: the text read at construction is left out, the lines come from the input.
        CSPRoute route(context, 0, "/nonexistent/routes.zip");
        route.SetTerrainArchive(world.terrains);
        ForEachWordLine(fuzz::Text(data, size),
                        [&route](std::string_view line) { route.ParseRouteLine(std::string(line)); });
        context.sceneRoot->Clear();
    }
    context.terrain.reset();
    return 0;
}
