// PNG textures of every colour type and bit depth written by ImageMagick, read through an
// archive zipped with the game's password, decoded, and uploaded into a real headless
// OpenGL ES context that draws them back.
#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/FSGLSurface.h"
#include "resources/FSPng.h"
#include "resources/FSTextureCache.h"
#include "support/FileSuite.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

using namespace image_test_files;

namespace {

struct Rgba {
    int r, g, b, a;
};

// A 4 x 4 picture: the top two rows one colour, the bottom two another (alpha 0: clear,
// whatever the colour; 102 is ImageMagick's 0.4).
struct PngCase {
    const char* name;
    int bitDepth;    // as stored in the file
    int colourType;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    int channels;    // after decoding
    Rgba top, bottom;
};

const PngCase kCases[] = {
    {"grey1.png", 1, 0, 3, {255, 255, 255, 255}, {0, 0, 0, 255}},
    {"grey4.png", 4, 0, 3, {238, 238, 238, 255}, {17, 17, 17, 255}},
    {"grey8.png", 8, 0, 3, {200, 200, 200, 255}, {30, 30, 30, 255}},
    {"grey16.png", 16, 0, 3, {200, 200, 200, 255}, {30, 30, 30, 255}},
    {"greyalpha.png", 8, 4, 4, {200, 200, 200, 102}, {30, 30, 30, 255}},
    {"rgb8.png", 8, 2, 3, {255, 128, 0, 255}, {0, 64, 255, 255}},
    {"rgb16.png", 16, 2, 3, {255, 128, 0, 255}, {0, 64, 255, 255}},
    {"rgba8.png", 8, 6, 4, {255, 128, 0, 102}, {0, 64, 255, 255}},
    {"rgba16.png", 16, 6, 4, {255, 128, 0, 102}, {0, 64, 255, 255}},
    {"palette.png", 8, 3, 3, {255, 0, 0, 255}, {0, 0, 255, 255}},
    {"palette_trns.png", 8, 3, 4, {255, 0, 0, 255}, {0, 0, 0, 0}},
    {"grey_trns.png", 8, 0, 4, {255, 255, 255, 255}, {0, 0, 0, 0}},
    {"interlaced.png", 8, 2, 3, {255, 128, 0, 255}, {0, 64, 255, 255}},
};

// ImageMagick's arguments that write the case's picture.
std::string ConvertArguments(const PngCase& c) {
    auto colour = [](const Rgba& k) {
        const std::string rgb = std::to_string(k.r) + "," + std::to_string(k.g) + "," + std::to_string(k.b);
        return k.a == 0 ? "none" : k.a == 255 ? "rgb(" + rgb + ")" : "rgba(" + rgb + ",0.4)";
    };
    std::string arguments = "-size 4x2 xc:'" + colour(c.top) + "' -size 4x2 xc:'" + colour(c.bottom) +
                            "' -append" + (c.name == std::string("interlaced.png") ? " -interlace PNG" : "");
    if (c.colourType == 3) return arguments + " PNG8:" + c.name;
    return arguments + " -define png:color-type=" + std::to_string(c.colourType) +
           " -define png:bit-depth=" + std::to_string(c.bitDepth) + " " + c.name;
}

class Textures : public testing_support::FileSuite<Textures> {
protected:
    static void SetUpTestSuite() {
        folder_ = testing_support::MakeTempFolder("textures");
        bool made = true;
        std::string members;
        for (const PngCase& c : kCases) {
            made = made && Convert(folder_, ConvertArguments(c));
            members += std::string(c.name) + " ";
        }
        made = made && Convert(folder_, "-size 5000x1 xc:red wide.png") &&
               Convert(folder_, "-size 3x5 xc:'rgb(10,20,30)' odd.png") &&
               Convert(folder_, "-size 64x64 xc: +noise Random -define png:color-type=6 noise.png") &&
               Convert(folder_, "-size 4x4 xc:lime green.png") &&
               WriteText(folder_ + "notapng.png", "GIF89a....");
        members += "wide.png odd.png noise.png green.png notapng.png";
        ready_ = made && ZipWithPassword(folder_, Archive(), members);
    }
    static std::string Archive() { return folder_ + "textures.zip"; }
    // Copies a file of the folder over another.
    static bool Copy(const std::string& from, const std::string& to) {
        return RunShell("cp " + ShellQuote(folder_ + from) + " " + ShellQuote(folder_ + to));
    }
};

TEST_F(Textures, DecodesEveryColourTypeAndDepthToEightBitRgbOrRgbaBottomRowFirst) {
    for (const PngCase& c : kCases) {
        SCOPED_TRACE(c.name);
        // The file is what it claims to be.
        const std::vector<uint8_t> file = ReadBytes(folder_ + c.name);
        ASSERT_TRUE(file.size() > 33 && file[24] == c.bitDepth && file[25] == c.colourType);
        FSPngImage image;
        ASSERT_TRUE(ReadPng(Archive(), c.name, image));
        ASSERT_EQ(
            (std::array{image.width, image.height, image.channels, static_cast<int>(image.pixels.size())}),
            (std::array{4, 4, c.channels, 16 * c.channels}));
        // Stored bottom row first; the same alpha, and the colour within 1 unless clear.
        for (int i = 0; i < 16; ++i) {
            const uint8_t* p = image.pixels.data() + i * c.channels;
            const Rgba& w = i < 8 ? c.bottom : c.top;
            EXPECT_TRUE((c.channels == 4 ? p[3] : 255) == w.a &&
                        (w.a == 0 || (std::abs(p[0] - w.r) <= 1 && std::abs(p[1] - w.g) <= 1 &&
                                      std::abs(p[2] - w.b) <= 1)))
                << "pixel " << i;
        }
    }
    // Rows are tightly packed, whatever their length.
    FSPngImage odd;
    EXPECT_TRUE(ReadPng(Archive(), "odd.png", odd) && odd.pixels.size() == 3u * 5u * 3u);
}

TEST_F(Textures, RefusesWhatIsNotACompleteSoundPng) {
    FSPngImage image;
    // Not a PNG, missing, in a missing archive, and wider than any texture may be.
    EXPECT_FALSE(ReadPng(Archive(), "notapng.png", image) || ReadPng(Archive(), "missing.png", image) ||
                 ReadPng(folder_ + "no_such.zip", "rgb8.png", image) ||
                 ReadPng(Archive(), "wide.png", image));
    EXPECT_TRUE(image.pixels.empty());

    const std::vector<uint8_t> good = ReadBytes(folder_ + "noise.png");
    ASSERT_TRUE(DecodePng(good.data(), good.size(), image));
    for (size_t length = 0; length < good.size(); length += (length < 100 ? 1 : 37))
        EXPECT_FALSE(DecodePng(good.data(), length, image)) << length;
    EXPECT_FALSE(DecodePng(good.data(), good.size() - 1, image) || DecodePng(nullptr, 100, image));
}

class TextureCache : public Textures {
protected:
    void SetUp() override {
        Textures::SetUp();
        std::string why;
        ASSERT_TRUE(CFSGLSurface::Probe(why)) << why;
        ASSERT_TRUE(surface_.Create(64, 64));
        glEnable(GL_TEXTURE_2D);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        static const GLfloat corners[] = {-1, -1, 1, -1, -1, 1, 1, 1}, uv[] = {0, 0, 1, 0, 0, 1, 1, 1};
        glVertexPointer(2, GL_FLOAT, 0, corners);
        glTexCoordPointer(2, GL_FLOAT, 0, uv);  // v = 0 at the bottom of the surface
    }
    // Draws texture over the whole 64 x 64 surface (the context's default view) in white
    // and reads the colour at row y (from the top) of column 32.
    uint32_t DrawnAt(uint32_t texture, int y) {
        glClear(GL_COLOR_BUFFER_BIT);
        glBindTexture(GL_TEXTURE_2D, texture);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        surface_.WaitGL();
        std::vector<uint32_t> pixels(64 * 64, 0);
        surface_.ReadPixels(pixels.data());
        return pixels[static_cast<size_t>(y) * 64 + 32] & 0xFFFFFF;
    }
    static uint32_t Rgb(const Rgba& c) { return static_cast<uint32_t>((c.r << 16) | (c.g << 8) | c.b); }

    CFSGLSurface surface_;
};

TEST_F(TextureCache, HandsOutOneTextureANameUntilItIsRemovedOrClearedAndTriesFailuresAgain) {
    CFSTextureCache cache(Archive());
    const uint32_t a = cache.GetTexture("rgb8.png"), b = cache.GetTexture("grey8.png");
    ASSERT_TRUE(a != kNoTexture && b != kNoTexture && a != b);
    // With the archive gone, only the cache can answer.
    const std::string moved = folder_ + "away.zip";
    ASSERT_EQ(std::rename(Archive().c_str(), moved.c_str()), 0);
    EXPECT_EQ(cache.GetTexture("rgb8.png"), a);
    EXPECT_EQ(cache.GetTexture("RGB8.png"), kNoTexture);  // names are exact here
    ASSERT_EQ(std::rename(moved.c_str(), Archive().c_str()), 0);
    EXPECT_TRUE(cache.GetTextureName(a) == "rgb8.png" && cache.GetTextureName(a + b + 1000).empty());
    // Removing deletes the texture and forgets the name (an unknown name changes nothing);
    // asked for again, it is loaded again. Clearing leaves the objects to the context.
    cache.RemoveTexture("unknown.png");
    cache.RemoveTexture("rgb8.png");
    EXPECT_TRUE(cache.Count() == 1u && !glIsTexture(a) && glIsTexture(b) && cache.GetTextureName(a).empty());
    EXPECT_EQ(cache.GetTextureName(b), "grey8.png");
    EXPECT_TRUE(cache.GetTexture("rgb8.png") != kNoTexture && cache.Count() == 2u);
    cache.Clear();
    EXPECT_TRUE(cache.Count() == 0u && glIsTexture(b));
    // Failures leave no entry and are tried again.
    EXPECT_TRUE(cache.GetTexture("notapng.png") == kNoTexture && cache.GetTexture("wide.png") == kNoTexture &&
                cache.Count() == 0u);
    const std::string archive = folder_ + "retry.zip";
    ASSERT_TRUE(ZipWithPassword(folder_, archive, "green.png"));
    CFSTextureCache retrying(archive);
    EXPECT_TRUE(retrying.GetTexture("late.png") == kNoTexture && retrying.Count() == 0u);
    ASSERT_TRUE(Copy("green.png", "late.png") && ZipWithPassword(folder_, archive, "green.png late.png"));
    const uint32_t late = retrying.GetTexture("late.png");
    EXPECT_TRUE(late != kNoTexture && retrying.Count() == 1u && DrawnAt(late, 32) == 0x00FF00u);
}

// Grey and palette pictures too; mipmapped filters need every level, or the texture would
// draw untextured.
TEST_F(TextureCache, EveryQualityFiltersAsTheSettingSaysAndDrawsThePictureUpright) {
    struct Expected {
        int quality;
        std::array<GLint, 4> state;  // minifying and magnifying filters, shading, environment
        const PngCase& png;          // grey16, palette and rgb8
    };
    const Expected table[] = {
        {0, {GL_NEAREST, GL_NEAREST, GL_FLAT, GL_REPLACE}, kCases[4]},
        {1, {GL_LINEAR, GL_LINEAR, GL_SMOOTH, GL_REPLACE}, kCases[10]},
        {2, {GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST, GL_SMOOTH, GL_MODULATE}, kCases[6]},
        {3, {GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR, GL_SMOOTH, GL_MODULATE}, kCases[6]},
        {4, {GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_SMOOTH, GL_MODULATE}, kCases[6]},
        {7, {GL_NEAREST, GL_NEAREST, GL_FLAT, GL_REPLACE}, kCases[6]},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.quality);
        CFSTextureCache cache(Archive());
        cache.SetQuality(e.quality);
        const uint32_t texture = cache.GetTexture(e.png.name);
        ASSERT_NE(texture, kNoTexture);
        std::array<GLint, 4> state = {};
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &state[0]);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &state[1]);
        glGetIntegerv(GL_SHADE_MODEL, &state[2]);
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &state[3]);
        EXPECT_EQ(state, e.state);
        // Without a GL error, and the PNG's first rows at the top.
        EXPECT_TRUE(glGetError() == GL_NO_ERROR && DrawnAt(texture, 20) == Rgb(e.png.top) &&
                    DrawnAt(texture, 44) == Rgb(e.png.bottom));
    }
    // Mipmapped or smooth textures get mipmaps at qualities 0 and 1 too, also after a
    // reload; the setting's shading and environment stay.
    struct Floor {
        int quality;
        FSTextureFiltering filtering;
        GLint filter;
    };
    for (const auto& [quality, filtering, filter] :
         {Floor{0, FSTextureFiltering::Mipmapped, GL_NEAREST_MIPMAP_NEAREST},
          Floor{1, FSTextureFiltering::Mipmapped, GL_LINEAR_MIPMAP_NEAREST},
          Floor{0, FSTextureFiltering::Smooth, GL_LINEAR_MIPMAP_NEAREST},
          Floor{4, FSTextureFiltering::Smooth, GL_LINEAR_MIPMAP_LINEAR}}) {
        CFSTextureCache cache(Archive());
        cache.SetQuality(quality);
        glShadeModel(GL_SMOOTH);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        const uint32_t ground = cache.GetTexture(kCases[6].name, filtering);
        cache.ReloadAll();
        glBindTexture(GL_TEXTURE_2D, ground);
        std::array<GLint, 3> state = {};
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &state[0]);
        glGetIntegerv(GL_SHADE_MODEL, &state[1]);
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &state[2]);
        EXPECT_EQ(state, (std::array<GLint, 3>{filter, GL_SMOOTH, GL_MODULATE})) << quality;
    }
}

TEST_F(TextureCache, ReloadingRefreshesEveryPictureAndKeepsTheNamesOfLostOnes) {
    // "a.png" sorts first; it will be missing from the archive when the cache reloads.
    const std::string archive = folder_ + "reload.zip";
    ASSERT_TRUE(Copy("green.png", "a.png") && Copy("green.png", "b.png") &&
                ZipWithPassword(folder_, archive, "a.png b.png"));
    CFSTextureCache cache(archive);
    const uint32_t a = cache.GetTexture("a.png"), b = cache.GetTexture("b.png");
    ASSERT_TRUE(a != kNoTexture && b != kNoTexture && DrawnAt(b, 32) == 0x00FF00u);
    ASSERT_TRUE(Copy("rgb8.png", "b.png") && ZipWithPassword(folder_, archive, "b.png"));
    cache.SetQuality(4);
    cache.ReloadAll();
    EXPECT_TRUE(cache.Count() == 2u && cache.GetTexture("b.png") == b && cache.GetTexture("a.png") == a);
    EXPECT_EQ(DrawnAt(b, 20), 0xFF8000u);  // with b bound
    GLint minFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
    // The lost picture's name stays taken: no new texture gets it.
    EXPECT_TRUE(glIsTexture(a));
    GLuint fresh[4] = {};
    glGenTextures(4, fresh);
    for (GLuint name : fresh)
        EXPECT_TRUE(name != a && name != b) << name;
}

}  // namespace
