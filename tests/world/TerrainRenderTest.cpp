// The real valley terrain drawn through the scene into a headless GLES surface.
#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/FSApplicationContext.h"
#include "common/ImageFiles.h"
#include "platform/FSGLSurface.h"
#include "resources/FSPixels.h"
#include "resources/FSTextureCache.h"
#include "support/TestSupport.h"
#include "world/FSScene.h"
#include "world/FSTerrainHolder.h"
#include "world/TerrainTestFiles.h"
#include "world/WorldTestNodes.h"

using terrain_test::TerrainsArchive;
using world_test::F;
using world_test::TestNode;

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 320;

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

Rgb At(const std::vector<uint32_t>& frame, int x, int y) {
    const uint32_t p = frame[static_cast<size_t>(y) * kWidth + x];
    return {static_cast<int>((p >> 16) & 255), static_cast<int>((p >> 8) & 255), static_cast<int>(p & 255)};
}

// A GL surface set up as the engine sets it up for a flight, the context's texture cache
// over the real textures, the valley in the terrain slot and a scene hooked to it. The eye
// stands 1 km over the valley's southern airfield (ground 0.15 km), looking north along
// the valley at the horizon.
class TerrainRendering : public testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(CFSGLSurface::Probe(why)) << why;
        ASSERT_TRUE(surface_.Create(kWidth, kHeight));
        glViewport(0, 0, kWidth, kHeight);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_CULL_FACE);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnable(GL_TEXTURE_2D);
        glShadeModel(GL_SMOOTH);
        glTexEnvx(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glEnable(GL_FOG);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();

        context_ = GetApplicationContext();
        savedAlign_ = context_->game.screenAlign;
        savedQuality_ = context_->video.terrainQuality;
        context_->game.screenAlign = 0;
        context_->textureCache = std::make_unique<CFSTextureCache>(MakeDataPath("data\\textures.zip"));
        context_->terrain = std::make_unique<CFSTerrainHolder>();
        ASSERT_TRUE(context_->terrain->model->Load(TerrainsArchive(), "valley.ter", 33, true));

        scene_ = std::make_unique<CFSScene>(&context_->sineTable);
        InstallTerrainHooks(*scene_);
        CFSCamera& camera = scene_->Camera();
        camera.SetPerspective(60.0f, 0.75f, 0.001f, 100.0f);
        glMatrixMode(GL_MODELVIEW);
        camera.SetPerspectiveMatrix(60.0f, 0.75f, 0.001f, 40.0f);
        camera.SetCell(cell_);
        camera.LookAt(eye_, {eye_.x, eye_.y, eye_.z - F(10)}, {0, kFixedOne, 0}, 0);
    }

    void TearDown() override {
        scene_.reset();
        context_->terrain.reset();
        context_->textureCache.reset();  // its textures die with the surface
        context_->game.screenAlign = savedAlign_;
        context_->video.terrainQuality = savedQuality_;
    }

    CFSTerrainModel& Model() { return *context_->terrain->model; }

    std::vector<uint32_t> DrawFrame(int32_t* culled = nullptr) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        int32_t count = 0;
        scene_->Draw(true, nullptr, count);
        if (culled) *culled = count;
        surface_.WaitGL();
        std::vector<uint32_t> frame(static_cast<size_t>(kWidth) * kHeight);
        surface_.ReadPixels(frame.data());
        return frame;
    }

    // Saves the frame as a PNG in a temporary folder (printed), for looking at it.
    static void Save(const std::vector<uint32_t>& frame, const std::string& name) {
        std::vector<uint16_t> pixels(frame.size());
        ConvertTo565(pixels.data(), frame.data(), static_cast<int>(frame.size()));
        static const std::string folder = testing_support::MakeTempFolder("terrain-frames");
        const std::string path = folder + name;
        if (WriteFile(path, EncodePng(CanvasFrom565(pixels.data(), kWidth, kHeight), false)))
            std::printf("terrain frame: %s\n", path.c_str());
    }

    Rgb ClearColour() const {
        const FSSkyColour& c = scene_->Camera().FogColour();
        auto byte = [](float v) { return static_cast<int>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
        return {byte(c.r), byte(c.g), byte(c.b)};
    }

    CFSGLSurface surface_;
    CFSApplicationContext* context_ = nullptr;
    std::unique_ptr<CFSScene> scene_;
    int savedAlign_ = 2;
    int savedQuality_ = 0;
    const FSCell cell_{1, 0};
    const FSFixedVector eye_{F(-5.625), F(1.15), F(-13.125)};
};

bool Near(const Rgb& a, const Rgb& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

TEST_F(TerrainRendering, TheGroundFillsTheLowerHalfUnderTheSky) {
    EXPECT_TRUE(Model().TexturesFetched());  // the GL context was current at the load
    const std::vector<uint32_t> frame = DrawFrame();
    Save(frame, "valley.png");
    const Rgb sky = ClearColour();
    // The top of the picture, 20° and more above the horizon, is the clear colour.
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < kWidth; x += 3)
            ASSERT_TRUE(Near(At(frame, x, y), sky, 2)) << x << "," << y;
    // The lower half is ground: no sky anywhere, and more green than blue overall.
    long red = 0, green = 0, blue = 0;
    for (int y = kHeight / 2 + 10; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const Rgb p = At(frame, x, y);
            ASSERT_FALSE(Near(p, sky, 6)) << x << "," << y;
            red += p.r;
            green += p.g;
            blue += p.b;
        }
    }
    EXPECT_GT(green, blue);
    EXPECT_GT(green, red);
    EXPECT_GT(Model().VisibleTriangles().size(), 100u);
    EXPECT_LT(Model().VisibleTriangles().size(), 32u * 32u * 2u);
}

TEST_F(TerrainRendering, PutsBackTheGLStateItChanges) {
    context_->video.terrainQuality = 2;  // with the layer blending pass
    // Loading the textures set the shading of "textures_quality" 0; the flight's own state:
    glShadeModel(GL_SMOOTH);
    glTexEnvx(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_BLEND);
    DrawFrame();
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint value = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_MODULATE);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &value);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TerrainRendering, ThePausedDrawingUsesNoTexturesAndCanShowTheGrid) {
    const std::vector<uint32_t> textured = DrawFrame();
    context_->terrain->paused = 1;
    const std::vector<uint32_t> paused = DrawFrame();
    Save(paused, "valley-paused.png");
    EXPECT_NE(paused, textured);
    context_->terrain->gridOverlay = 1;
    const std::vector<uint32_t> grid = DrawFrame();
    Save(grid, "valley-grid.png");
    int white = 0;
    for (uint32_t p : grid)
        white += (p & 0xFFFFFF) == 0xFFFFFF ? 1 : 0;
    EXPECT_GT(white, 200);
    for (uint32_t p : paused)
        ASSERT_NE(p & 0xFFFFFF, 0xFFFFFFu);
    context_->terrain->gridOverlay = 0;

    // Take the textures away: the paused picture stays exactly the same, the normal one
    // does not.
    for (const FSTerrainLayer& layer : Model().Layers()) {
        for (uint32_t texture : layer.textures) {
            const GLuint name = texture;
            glDeleteTextures(1, &name);
        }
    }
    EXPECT_EQ(DrawFrame(), paused);
    context_->terrain->paused = 0;
    EXPECT_NE(DrawFrame(), textured);
}

TEST_F(TerrainRendering, OnlyTilesDrawnThisFrameAreVisible) {
    CFSTerrainModel& model = Model();
    // Nodes culled by their terrain tile: 6 km ahead, 6 km behind, and 45 km to the side,
    // outside the 60 km window (33 vertices).
    auto add = [&](FSFixedVector local, FSCell cell) {
        auto node = std::make_unique<TestNode>();
        node->SetCell(cell);
        node->Place(local);
        node->SetCullFlags(kCullByTerrainTile);
        node->UpdateTerrainTile(model);
        return scene_->Add(std::move(node));
    };
    TestNode* ahead = add({eye_.x, F(0.3), eye_.z - F(6)}, cell_);
    TestNode* behind = add({eye_.x, F(0.3), eye_.z + F(6)}, cell_);
    TestNode* aside = add({eye_.x + F(45), F(0.3), eye_.z - F(6)}, cell_);
    int32_t culled = 0;
    DrawFrame(&culled);
    EXPECT_TRUE(model.IsTileVisible(ahead->GetTerrainTile()));
    EXPECT_FALSE(model.IsTileVisible(behind->GetTerrainTile()));
    EXPECT_FALSE(model.IsTileVisible(aside->GetTerrainTile()));
    EXPECT_EQ(ahead->draws, 1);
    EXPECT_EQ(behind->draws, 0);
    EXPECT_EQ(aside->draws, 0);
    EXPECT_EQ(culled, 2);

    // Tiles outside the window are never visible, wherever the window stands; the window
    // covers squares origin .. origin + 31, wrapped.
    const int32_t n = model.GetGridSize();
    for (int32_t column = 0; column < n; ++column) {
        for (int32_t row = 0; row < n; ++row) {
            const int32_t c = (column - model.OriginColumn() + n) % n, r = (row - model.OriginRow() + n) % n;
            if (c >= 32 || r >= 32) {
                ASSERT_FALSE(model.IsTileVisible({column, row})) << column << "," << row;
            }
        }
    }
    EXPECT_FALSE(model.IsTileVisible({-1, -1}));
    EXPECT_FALSE(model.IsTileVisible({n, 0}));

    // Across the seam: the eye near the world's corner puts the window over both edges,
    // and a tile just past the seam ahead is still found.
    const FSCell corner{0, 0};
    scene_->Camera().SetCell(corner);
    const FSFixedVector eye{F(-29.0), F(1.5), F(-28.0)};
    scene_->Camera().LookAt(eye, {eye.x - F(10), eye.y, eye.z - F(10)}, {0, kFixedOne, 0}, 0);
    DrawFrame();
    EXPECT_GT(model.OriginColumn() + 32, n);
    EXPECT_GT(model.OriginRow() + 32, n);
    // 5 km ahead along (−1, 0, −1): column 3, row 3 of the world, at x, z about 27.5.
    const FSTile across = model.TileOf({F(-29.0 + 60 - 3.5), 0, F(-28.0 + 60 - 3.5)}, {3, 3});
    EXPECT_TRUE(model.IsTileVisible(across));
    const FSTile back = model.TileOf({F(-29.0 + 3.5), 0, F(-28.0 + 3.5)}, corner);
    EXPECT_FALSE(model.IsTileVisible(back));
}

TEST_F(TerrainRendering, WithoutALoadedTerrainTheSceneDrawsNoGround) {
    context_->terrain.reset();
    auto node = std::make_unique<TestNode>();
    node->SetCell(cell_);
    node->Place({eye_.x, eye_.y, eye_.z - F(3)});
    node->SetCullFlags(kCullByTerrainTile);
    TestNode* inView = scene_->Add(std::move(node));
    const std::vector<uint32_t> frame = DrawFrame();
    const Rgb sky = ClearColour();
    for (int y = 0; y < kHeight; y += 7)
        for (int x = 0; x < kWidth; x += 5)
            ASSERT_TRUE(Near(At(frame, x, y), sky, 2)) << x << "," << y;
    // Tile-culled nodes take the frustum test instead.
    EXPECT_EQ(inView->draws, 1);
    // An empty holder (its route's load failed) draws nothing either.
    context_->terrain = std::make_unique<CFSTerrainHolder>();
    EXPECT_FALSE(context_->terrain->model->Load(TerrainsArchive(), "missing.ter", 33, true));
    DrawFrame();
    EXPECT_EQ(inView->draws, 2);
}

}  // namespace
