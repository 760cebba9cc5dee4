// The real valley terrain drawn through the scene into a headless GLES surface.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "world/FSTerrainHolder.h"
#include "world/PictureTestSupport.h"

using world_test::F;
using world_test::Near;
using world_test::Rgb;
using world_test::TerrainsArchive;
using world_test::TestNode;

namespace {

constexpr uint32_t kMagenta = 0xFF00FF;

// The picture set up as the engine sets it up for a flight, the valley in the terrain slot
// and the scene hooked to it. The eye stands 1 km over the valley's southern airfield
// (ground 0.15 km), looking north along the valley at the horizon.
class TerrainRendering : public world_test::PictureTest {
protected:
    void SetUp() override {
        PictureTest::SetUp();
        glEnable(GL_CULL_FACE);
        glShadeModel(GL_SMOOTH);
        glTexEnvx(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glEnable(GL_FOG);
        // The fog of a route that does not ask for its own.
        glFogx(GL_FOG_MODE, GL_LINEAR);
        glFogx(GL_FOG_START, F(8));
        glFogx(GL_FOG_END, F(30));
        game_.screenAlign = 0;
        terrain_ = std::make_unique<CFSTerrainHolder>(textures.get());
        ASSERT_TRUE(terrain_->model->Load(TerrainsArchive(), "valley.ter", 33, true));
        InstallTerrainHooks(scene, terrain_, video_, game_);
        scene.Camera().SetPerspectiveMatrix(60.0f, 0.75f, 0.001f, 40.0f);
        Look(eye_, {eye_.x, eye_.y, eye_.z - F(10)}, cell_);
    }

    CFSTerrainModel& Model() { return *terrain_->model; }
    // Clears to the camera's sky colour, draws the scene with culling and reads back.
    std::vector<uint32_t> DrawFrame(int32_t* culled = nullptr) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        int32_t count = 0;
        scene.Draw(true, nullptr, count);
        if (culled) *culled = count;
        Read();
        return pixels;
    }
    TestNode* AddTileCulled(const FSFixedVector& local) {
        auto node = std::make_unique<TestNode>();
        node->SetCell(cell_);
        node->Place(local);
        node->SetCullFlags(kCullByTerrainTile);
        if (terrain_) node->UpdateTerrainTile(Model());
        return scene.Add(std::move(node));
    }

    std::unique_ptr<CFSTerrainHolder> terrain_;  // the terrain slot
    FSVideoBlock video_;
    FSGameBlock game_;
    const FSCell cell_{1, 0};
    const FSFixedVector eye_{F(-5.625), F(1.15) + kSeaLevel, F(-13.125)};
};

TEST_F(TerrainRendering, TheGroundFillsTheLowerHalfUnderTheSkyAndTheStateIsPutBack) {
    EXPECT_TRUE(Model().TexturesFetched());  // the GL context was current at the load
    video_.terrainQuality = 2;               // with the layer blending pass
    glShadeModel(GL_SMOOTH);                 // loading the textures set the shading of "textures_quality" 0
    glTexEnvx(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    DrawFrame();
    const Rgb sky = FogRgb();
    // The top of the picture, 20° and more above the horizon, is the clear colour.
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < kWidth; x += 3)
            ASSERT_TRUE(Near(At(x, y), sky, 2)) << x << "," << y;
    // The lower half is ground: no sky anywhere, and more green than blue or red overall.
    long red = 0, green = 0, blue = 0;
    for (int y = kHeight / 2 + 30; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const Rgb p = At(x, y);
            ASSERT_FALSE(Near(p, sky, 6)) << x << "," << y;
            red += p.r;
            green += p.g;
            blue += p.b;
        }
    }
    EXPECT_TRUE(green > std::max(red, blue) && Model().VisibleTriangles().size() > 100u);
    EXPECT_LT(Model().VisibleTriangles().size(), 32u * 32u * 2u);
    // The flight's own state is as it was.
    for (GLenum state : {GL_FOG, GL_TEXTURE_2D, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY})
        EXPECT_TRUE(glIsEnabled(state)) << state;
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY) || glIsEnabled(GL_BLEND));
    for (const auto& [query, value] :
         {std::pair{GL_DEPTH_FUNC, GL_LEQUAL}, {GL_SHADE_MODEL, GL_SMOOTH}, {GL_MODELVIEW_STACK_DEPTH, 1}}) {
        GLint actual = 0;
        glGetIntegerv(query, &actual);
        EXPECT_EQ(actual, value) << query;
    }
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_TRUE(mode == GL_MODULATE && glGetError() == static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TerrainRendering, TheGroundFadesIntoTheSkyBeforeItsWindowEndsWhateverFogTheFlightAsks) {
    struct Fog {
        GLenum mode;
        float start, end, density;
    };
    const Fog fogs[] = {{GL_LINEAR, 8, 30, 0}, {GL_LINEAR, 20, 200, 0}, {GL_EXP, 0, 0, 0.01f}};
    // Over the farmland's airfield, higher than its hills (0.95 km at most): whatever ground
    // meets the empty sky in these pictures is the far end of the window.
    const FSCell cell{1, 1};
    for (const int window : {33, 65}) {
        ASSERT_TRUE(Model().Load(TerrainsArchive(), "farmland.ter", window, true));
        for (const float height : {2.2f, 2.8f, 4.0f, 6.0f}) {
            for (const Fog& fog : fogs) {
                glFogx(GL_FOG_MODE, fog.mode);
                glFogx(GL_FOG_START, F(fog.start));
                glFogx(GL_FOG_END, F(fog.end));
                glFogx(GL_FOG_DENSITY, F(fog.density));
                // Level, and tipped down so that the window's edge runs through the corners.
                for (const auto& [heading, pitch] : {std::pair{0.0f, 0.0f}, {0.8f, -0.45f}, {2.4f, -0.2f}}) {
                    const FSFixedVector eye{F(-9.375), F(height) + kSeaLevel, F(7.5)};
                    const FSFixedVector along{F(std::sin(heading)), F(std::tan(pitch)),
                                              F(-std::cos(heading))};
                    Look(eye, eye + along, cell);
                    glClearColorx(kFixedOne, 0, kFixedOne, kFixedOne);  // where nothing is drawn
                    DrawFrame();
                    // Wherever the ground meets the empty sky it has the fog's colour.
                    const Rgb fogColour = FogRgb();
                    int edge = 0;
                    for (int y = 0; y < kHeight; ++y) {
                        for (int x = 0; x < kWidth; ++x) {
                            if (Pixel(x, y) == kMagenta) continue;
                            const bool atSky = (x > 0 && Pixel(x - 1, y) == kMagenta) ||
                                               (x + 1 < kWidth && Pixel(x + 1, y) == kMagenta) ||
                                               (y > 0 && Pixel(x, y - 1) == kMagenta);
                            if (!atSky) continue;
                            ++edge;
                            ASSERT_TRUE(Near(At(x, y), fogColour, 4))
                                << "window " << window << ", " << height << " km, fog " << fog.mode << " to "
                                << fog.end << ", heading " << heading << ": " << x << "," << y;
                        }
                    }
                    EXPECT_GT(edge, kWidth / 2);  // the window's end is in the picture
                }
            }
        }
    }
}

// 25 m over the airfield, looking ahead and down: the near ground carries the fine detail
// (neighbouring pixels differ) without getting lighter or darker for it; without the
// detail it is the smooth, blurred ground of 80 m texels.
TEST_F(TerrainRendering, TheNearGroundShowsItsDetailWithoutChangingItsShade) {
    const FSFixedVector eye{eye_.x, F(0.175) + kSeaLevel, eye_.z};
    Look(eye, {eye.x, eye.y - F(0.4), eye.z - F(1)}, cell_);
    struct Ground {
        double shade = 0, contrast = 0;
    };
    auto measure = [&] {
        DrawFrame();
        Ground ground;
        const int rows = kHeight / 3, count = rows * (kWidth - 1);
        for (int y = kHeight - rows; y < kHeight; ++y) {
            for (int x = 0; x + 1 < kWidth; ++x) {
                const Rgb p = At(x, y), q = At(x + 1, y);
                ground.shade += p.g;
                ground.contrast += std::abs(p.g - q.g);
            }
        }
        return Ground{ground.shade / count, ground.contrast / count};
    };
    ASSERT_NE(Model().DetailTexture(), 0u);
    const Ground detailed = measure();
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    glActiveTexture(GL_TEXTURE1);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));  // the second unit is off again
    glActiveTexture(GL_TEXTURE0);
    EXPECT_EQ(unit, GL_TEXTURE0);
    textures->RemoveTexture(kTerrainDetailTexture);  // its name now draws as no texture
    const Ground plain = measure();
    EXPECT_TRUE(detailed.contrast > 0.8 && plain.contrast < 0.2)
        << detailed.contrast << " " << plain.contrast;
    EXPECT_NEAR(detailed.shade, plain.shade, 0.08 * plain.shade);
}

TEST_F(TerrainRendering, ThePausedDrawingUsesNoTexturesAndCanShowTheGrid) {
    const std::vector<uint32_t> textured = DrawFrame();
    terrain_->paused = 1;
    const std::vector<uint32_t> paused = DrawFrame();
    EXPECT_TRUE(paused != textured && std::count(paused.begin(), paused.end(), 0xFFFFFFu) == 0);
    terrain_->gridOverlay = 1;
    const std::vector<uint32_t> grid = DrawFrame();
    EXPECT_GT(std::count(grid.begin(), grid.end(), 0xFFFFFFu), 200);
    terrain_->gridOverlay = 0;
    // Take the textures away: the paused picture stays exactly the same, the normal one
    // does not.
    for (const FSTerrainLayer& layer : Model().Layers()) {
        for (uint32_t texture : layer.textures) {
            const GLuint name = texture;
            glDeleteTextures(1, &name);
        }
    }
    EXPECT_EQ(DrawFrame(), paused);
    terrain_->paused = 0;
    EXPECT_NE(DrawFrame(), textured);
}

TEST_F(TerrainRendering, OnlyTilesDrawnThisFrameAreVisible) {
    CFSTerrainModel& model = Model();
    // Nodes culled by their terrain tile: 6 km ahead, 6 km behind, and 45 km to the side,
    // outside the 60 km window (33 vertices).
    TestNode* ahead = AddTileCulled({eye_.x, F(0.3), eye_.z - F(6)});
    TestNode* behind = AddTileCulled({eye_.x, F(0.3), eye_.z + F(6)});
    TestNode* aside = AddTileCulled({eye_.x + F(45), F(0.3), eye_.z - F(6)});
    int32_t culled = 0;
    DrawFrame(&culled);
    EXPECT_TRUE(model.IsTileVisible(ahead->GetTerrainTile()));
    EXPECT_FALSE(model.IsTileVisible(behind->GetTerrainTile()) ||
                 model.IsTileVisible(aside->GetTerrainTile()));
    EXPECT_TRUE(ahead->draws == 1 && behind->draws + aside->draws == 0 && culled == 2);
    // Tiles outside the window (squares origin .. origin + 31, wrapped) are never visible.
    const int32_t n = model.GetGridSize();
    for (int32_t column = 0; column < n; ++column) {
        for (int32_t row = 0; row < n; ++row) {
            const int32_t c = (column - model.OriginColumn() + n) % n, r = (row - model.OriginRow() + n) % n;
            ASSERT_TRUE((c < 32 && r < 32) || !model.IsTileVisible({column, row})) << column << "," << row;
        }
    }
    EXPECT_FALSE(model.IsTileVisible({-1, -1}) || model.IsTileVisible({n, 0}));
    // Across the seam: the eye near the world's corner puts the window over both edges,
    // and a tile just past the seam ahead is still found.
    const FSFixedVector eye{F(-29.0), F(1.5), F(-28.0)};
    Look(eye, {eye.x - F(10), eye.y, eye.z - F(10)}, {0, 0});
    DrawFrame();
    EXPECT_TRUE(model.OriginColumn() + 32 > n && model.OriginRow() + 32 > n);
    // 5 km ahead along (−1, 0, −1): column 3, row 3 of the world, at x, z about 27.5.
    EXPECT_TRUE(model.IsTileVisible(model.TileOf({F(-29.0 + 60 - 3.5), 0, F(-28.0 + 60 - 3.5)}, {3, 3})));
    EXPECT_FALSE(model.IsTileVisible(model.TileOf({F(-29.0 + 3.5), 0, F(-28.0 + 3.5)}, {0, 0})));
}

TEST_F(TerrainRendering, WithoutALoadedTerrainTheSceneDrawsNoGround) {
    terrain_.reset();
    TestNode* inView = AddTileCulled({eye_.x, eye_.y, eye_.z - F(3)});
    DrawFrame();
    const Rgb sky = FogRgb();
    for (int y = 0; y < kHeight; y += 7)
        for (int x = 0; x < kWidth; x += 5)
            ASSERT_TRUE(Near(At(x, y), sky, 2)) << x << "," << y;
    EXPECT_EQ(inView->draws, 1);  // tile-culled nodes take the frustum test instead
    // An empty holder (its route's load failed) draws nothing either.
    terrain_ = std::make_unique<CFSTerrainHolder>(textures.get());
    EXPECT_FALSE(terrain_->model->Load(TerrainsArchive(), "missing.ter", 33, true));
    DrawFrame();
    EXPECT_EQ(inView->draws, 2);
}

}  // namespace
