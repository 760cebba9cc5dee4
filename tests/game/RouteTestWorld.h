#pragma once
// The fixture of the route and gate tests: a fresh context with the engine over the real
// archives, a real GLES surface and an empty scene, and route and terrain archives zipped
// by Info-ZIP under the game's data password in the test's own temporary folder.
#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "game/CSPRoute.h"
#include "support/AircraftTestData.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"
#include "world/FSScene.h"
#include "world/FSTerrainHolder.h"

namespace route_test {

// Terrains of the test archive, 128 vertices a side (a grid step of 1.875 km): "flat.ter"
// level at kFlatGround, "slope.ter" falling by 0.01 km per km toward +z from kFlatGround.
inline constexpr float kFlatGround = 5.5f;  // km, scene height

inline FSFixed F(float value) {
    return FloatToFixed(value);
}
inline FSFixedVector At(float x, float y, float z) {
    return {F(x), F(y), F(z)};
}

class RouteTestWorld : public ::testing::Test {
protected:
    void SetUp() override {
        ResetApplicationContext();
        context = GetApplicationContext();
        context->sceneRoot = std::make_unique<CFSScene>(&context->sineTable);
        std::string error;
        context->engine = CFSEngine::Create(*context, nullptr, error);
        ASSERT_TRUE(context->engine) << error;
        ASSERT_TRUE(context->engine->SetUpSurface());
        folder = testing_support::MakeTempFolder("route");
        for (const float slope : {0.0f, 0.01f}) {
            const std::vector<uint8_t> bytes = aircraft_test::FlatTerrainFile(kFlatGround, 128, slope);
            ASSERT_TRUE(image_test_files::WriteText(folder + (slope > 0 ? "slope.ter" : "flat.ter"),
                                                    std::string(bytes.begin(), bytes.end())));
        }
        terrains = folder + "terrains.zip";
        ASSERT_TRUE(image_test_files::ZipWithPassword(folder, terrains, "flat.ter slope.ter"));
    }

    void TearDown() override {
        route.reset();
        ResetApplicationContext();
        image_test_files::RemoveTempFolder(folder);
    }

    // Writes "Route1.txt", "Route2.txt", ... with the given texts into a fresh archive.
    std::string WriteRoutes(const std::vector<std::string>& texts) {
        std::string members;
        for (size_t i = 0; i < texts.size(); ++i) {
            const std::string name = "Route" + std::to_string(i + 1) + ".txt";
            EXPECT_TRUE(image_test_files::WriteText(folder + name, texts[i]));
            members += " " + name;
        }
        const std::string archive = folder + "routes" + std::to_string(++archives) + ".zip";
        EXPECT_TRUE(image_test_files::ZipWithPassword(folder, archive, members));
        return archive;
    }

    // A route made of text, read and loaded (route 1 of its own archive) into an empty scene.
    CSPRoute& Load(const std::string& text) {
        route.reset();
        context->sceneRoot->Clear();
        route = std::make_unique<CSPRoute>(*context, 0, WriteRoutes({text}));
        route->SetTerrainArchive(terrains);
        route->onStart = [this](const SPRouteStart& start) { starts.push_back(start); };
        route->LoadRoute();
        return *route;
    }

    // The scene's root nodes of type T, in list order.
    template <class T>
    std::vector<T*> NodesOf() const {
        std::vector<T*> found;
        for (const auto& node : context->sceneRoot->Nodes())
            if (T* typed = dynamic_cast<T*>(node.get())) found.push_back(typed);
        return found;
    }

    // Ground height of the loaded terrain under a local point (16.16 km).
    FSFixed GroundAt(FSFixed x, FSFixed z, const FSCell& cell) const {
        return -context->terrain->model->HeightAboveAt({x, 0, z}, cell);
    }

    // Clears to black, draws node alone seen from eye toward target in cell (0, 0) (no
    // fog) and reads the picture back as 0xRRGGBB, bottom row first.
    std::vector<uint32_t> Render(MFSSceneNode& node, const FSFixedVector& eye, const FSFixedVector& target) {
        const int width = context->video.renderWidth, height = context->video.renderHeight;
        CFSScene& scene = *context->sceneRoot;
        scene.Camera().SetCell({0, 0});
        scene.Camera().LookAt(eye, target, {0, kFixedOne, 0}, 0);
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        scene.Camera().SetPerspective(60.0f, static_cast<float>(width) / height, 0.01f, 100.0f);
        glMatrixMode(GL_MODELVIEW);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_FOG);
        glClearColorx(0, 0, 0, kFixedOne);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadMatrixx(scene.Camera().ViewMatrix().m);
        node.DrawTree(scene);
        std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        std::vector<uint32_t> pixels(rgba.size() / 4);
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = (uint32_t{rgba[4 * i]} << 16) | (uint32_t{rgba[4 * i + 1]} << 8) | rgba[4 * i + 2];
        return pixels;
    }

    CFSApplicationContext* context = nullptr;
    std::unique_ptr<CSPRoute> route;
    std::vector<SPRouteStart> starts;
    std::string folder;
    std::string terrains;
    int archives = 0;
};

}  // namespace route_test
