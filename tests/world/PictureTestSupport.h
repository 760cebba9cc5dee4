#pragma once
// The picture fixture of the drawing tests: a real 240 x 320 GLES surface with the engine's
// GL defaults (without lighting and fog, so colours read back plainly), a scene whose camera
// looks from a chosen eye, a texture cache over the real textures archive, and the pixels
// read back as 8-bit channels.
#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/FSGLSurface.h"
#include "resources/FSArchive.h"
#include "resources/FSTextureCache.h"
#include "world/FSScene.h"
#include "world/WorldTestNodes.h"

namespace world_test {

struct Rgb {
    int r = 0, g = 0, b = 0;
};

inline bool Near(const Rgb& a, const Rgb& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

inline Rgb Channels(uint32_t p) {
    return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
            static_cast<int>(p & 0xFF)};
}

class PictureTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 320;

    void SetUp() override {
        std::string why;
        ASSERT_TRUE(CFSGLSurface::Probe(why)) << why;
        ASSERT_TRUE(surface.Create(kWidth, kHeight));
        textures = std::make_unique<CFSTextureCache>(MakeDataPath("data\\textures.zip"));
        glViewport(0, 0, kWidth, kHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        scene.Camera().SetPerspective(60.0f, 0.75f, 0.01f, 100.0f);
        glMatrixMode(GL_MODELVIEW);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnable(GL_TEXTURE_2D);
        glDisable(GL_FOG);
        Look({0, 0, 0}, {0, 0, -F(1)});
    }

    // Portrait alignment, so the read-back picture is the upright one.
    void Look(const FSFixedVector& eye, const FSFixedVector& target, FSCell cell = {0, 0}) {
        scene.Camera().SetCell(cell);
        scene.Camera().LookAt(eye, target, {0, kFixedOne, 0}, 0);
    }
    void Clear(uint32_t rgb) {
        const Rgb c = Channels(rgb);
        glClearColorx(FixedFromInt(c.r) / 255, FixedFromInt(c.g) / 255, FixedFromInt(c.b) / 255, kFixedOne);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    // Reads the picture back, without the top byte, which is not part of it.
    void Read() {
        surface.WaitGL();
        pixels.assign(static_cast<size_t>(kWidth) * kHeight, 0);
        surface.ReadPixels(pixels.data());
        for (uint32_t& p : pixels)
            p &= 0xFFFFFF;
    }
    // Clears to a colour, draws every root node that is not removed (no culling, lighting
    // off), or only the given node whatever its state, and reads back.
    void Render(float r, float g, float b, MFSSceneNode* only = nullptr) {
        glClearColorx(F(r), F(g), F(b), kFixedOne);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_LIGHTING);
        glColor4x(kFixedOne, kFixedOne, kFixedOne, kFixedOne);
        int32_t culled = 0;
        if (!only) scene.Draw(false, nullptr, culled);
        if (only) {
            glLoadIdentity();
            glMultMatrixx(scene.Camera().ViewMatrix().m);
            only->DrawTree(scene);
        }
        Read();
    }

    // The camera's fog (and clear) colour in 8-bit channels.
    Rgb FogRgb() const {
        const FSSkyColour& c = scene.Camera().FogColour();
        auto byte = [](float v) { return static_cast<int>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
        return {byte(c.r), byte(c.g), byte(c.b)};
    }
    uint32_t Pixel(int x, int y) const { return pixels[static_cast<size_t>(y) * kWidth + x]; }
    Rgb At(int x, int y) const { return Channels(Pixel(x, y)); }
    // Pixels of the whole picture, or of row y only, that match.
    template <class Match>
    int Count(Match match, int row = -1) const {
        int count = 0;
        for (int y = std::max(row, 0); y < (row < 0 ? kHeight : row + 1); ++y)
            for (int x = 0; x < kWidth; ++x)
                count += match(At(x, y)) ? 1 : 0;
        return count;
    }

    CFSGLSurface surface;
    std::unique_ptr<CFSTextureCache> textures;
    CFSScene scene;
    std::vector<uint32_t> pixels;
};

}  // namespace world_test
