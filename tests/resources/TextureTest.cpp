// PNG textures of every colour type and bit depth written by ImageMagick, read through an
// archive zipped with the game's password, decoded, and uploaded into a real headless
// OpenGL ES context that draws them back.
#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "ImageTestFiles.h"
#include "platform/FSGLSurface.h"
#include "resources/FSPng.h"
#include "resources/FSTextureCache.h"
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
    const char* options;
    int channels;  // after decoding
    Rgba top, bottom;
};

const PngCase kCases[] = {
    {"grey1.png", 1, 0, "", 3, {255, 255, 255, 255}, {0, 0, 0, 255}},
    {"grey2.png", 2, 0, "", 3, {170, 170, 170, 255}, {85, 85, 85, 255}},
    {"grey4.png", 4, 0, "", 3, {238, 238, 238, 255}, {17, 17, 17, 255}},
    {"grey8.png", 8, 0, "", 3, {200, 200, 200, 255}, {30, 30, 30, 255}},
    {"grey16.png", 16, 0, "", 3, {200, 200, 200, 255}, {30, 30, 30, 255}},
    {"greyalpha.png", 8, 4, "", 4, {200, 200, 200, 102}, {30, 30, 30, 255}},
    {"rgb8.png", 8, 2, "", 3, {255, 128, 0, 255}, {0, 64, 255, 255}},
    {"rgb16.png", 16, 2, "", 3, {255, 128, 0, 255}, {0, 64, 255, 255}},
    {"rgba8.png", 8, 6, "", 4, {255, 128, 0, 102}, {0, 64, 255, 255}},
    {"rgba16.png", 16, 6, "", 4, {255, 128, 0, 102}, {0, 64, 255, 255}},
    {"palette.png", 8, 3, "", 3, {255, 0, 0, 255}, {0, 0, 255, 255}},
    {"palette_trns.png", 8, 3, "", 4, {255, 0, 0, 255}, {0, 0, 0, 0}},
    {"grey_trns.png", 8, 0, "", 4, {255, 255, 255, 255}, {0, 0, 0, 0}},
    {"interlaced.png", 8, 2, "-interlace PNG", 3, {255, 128, 0, 255}, {0, 64, 255, 255}},
};

// The colour as ImageMagick reads it.
std::string ColourArgument(const Rgba& c) {
    if (c.a == 0) return "none";
    const std::string rgb = std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
    return c.a == 255 ? "rgb(" + rgb + ")" : "rgba(" + rgb + ",0.4)";
}

std::string ConvertArguments(const PngCase& c) {
    std::string arguments = "-size 4x2 xc:'" + ColourArgument(c.top) + "' -size 4x2 xc:'" +
                            ColourArgument(c.bottom) + "' -append " + c.options;
    if (c.colourType == 3) return arguments + " PNG8:" + c.name;
    return arguments + " -define png:color-type=" + std::to_string(c.colourType) +
           " -define png:bit-depth=" + std::to_string(c.bitDepth) + " " + c.name;
}

// Pixel (x, y) of a decoded image, y counted from the top of the picture.
Rgba PixelFromTop(const FSPngImage& image, int x, int y) {
    const size_t row = static_cast<size_t>(image.height - 1 - y);  // stored bottom row first
    const uint8_t* p = image.pixels.data() + (row * image.width + x) * image.channels;
    return {p[0], p[1], p[2], image.channels == 4 ? p[3] : 255};
}

void ExpectPixel(const Rgba& seen, const Rgba& wanted) {
    EXPECT_EQ(seen.a, wanted.a) << "alpha";  // alpha 0.4 of 255 is 102
    if (wanted.a == 0) return;
    EXPECT_NEAR(seen.r, wanted.r, 1);
    EXPECT_NEAR(seen.g, wanted.g, 1);
    EXPECT_NEAR(seen.b, wanted.b, 1);
}

class Textures : public ::testing::Test {
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
               WriteText(folder_ + "notapng.png", "GIF89a....") &&
               RunShell("mkdir -p " + ShellQuote(folder_ + "skyboxes/skybox1/morning") + " && cp " +
                        ShellQuote(folder_ + "rgb8.png") + " " +
                        ShellQuote(folder_ + "skyboxes/skybox1/morning/back.png"));
        members += "wide.png odd.png noise.png green.png notapng.png skyboxes/skybox1/morning/back.png";
        ready_ = made && ZipWithPassword(folder_, Archive(), members);
    }
    static void TearDownTestSuite() { RemoveTempFolder(folder_); }
    void SetUp() override { ASSERT_TRUE(ready_) << "ImageMagick or zip failed in " << folder_; }

    static std::string Archive() { return folder_ + "textures.zip"; }

    static std::string folder_;
    static bool ready_;
};
std::string Textures::folder_;
bool Textures::ready_ = false;

TEST_F(Textures, DecodesEveryColourTypeAndDepthToEightBitRgbOrRgbaBottomRowFirst) {
    for (const PngCase& c : kCases) {
        SCOPED_TRACE(c.name);
        // The file is what it claims to be.
        const std::vector<uint8_t> file = ReadBytes(folder_ + c.name);
        ASSERT_GT(file.size(), 33u);
        EXPECT_EQ(file[24], c.bitDepth);
        EXPECT_EQ(file[25], c.colourType);
        FSPngImage image;
        ASSERT_TRUE(ReadPng(Archive(), c.name, image));
        EXPECT_EQ(image.width, 4);
        EXPECT_EQ(image.height, 4);
        EXPECT_EQ(image.channels, c.channels);
        ASSERT_EQ(image.pixels.size(), static_cast<size_t>(16 * c.channels));
        for (int x = 0; x < 4; ++x) {
            for (int y = 0; y < 4; ++y)
                ExpectPixel(PixelFromTop(image, x, y), y < 2 ? c.top : c.bottom);
        }
    }
    // Rows are tightly packed, whatever their length.
    FSPngImage odd;
    ASSERT_TRUE(ReadPng(Archive(), "odd.png", odd));
    EXPECT_EQ(odd.pixels.size(), 3u * 5u * 3u);
    // Member names in folders, in any case (the archive ignores case).
    EXPECT_TRUE(ReadPng(Archive(), "SkyBoxes/skybox1/morning/BACK.png", odd));
}

TEST_F(Textures, RefusesWhatIsNotACompleteSoundPng) {
    FSPngImage image;
    EXPECT_FALSE(ReadPng(Archive(), "notapng.png", image));
    EXPECT_FALSE(ReadPng(Archive(), "missing.png", image));
    EXPECT_FALSE(ReadPng(folder_ + "no_such.zip", "rgb8.png", image));
    EXPECT_FALSE(ReadPng(Archive(), "wide.png", image));  // wider than any texture may be
    EXPECT_TRUE(image.pixels.empty());

    const std::vector<uint8_t> good = ReadBytes(folder_ + "noise.png");
    ASSERT_TRUE(DecodePng(good.data(), good.size(), image));
    for (size_t length = 0; length < good.size(); length += (length < 100 ? 1 : 37)) {
        EXPECT_FALSE(DecodePng(good.data(), length, image)) << length;
    }
    EXPECT_FALSE(DecodePng(good.data(), good.size() - 1, image));
    EXPECT_FALSE(DecodePng(nullptr, 100, image));

    // Damage anywhere: refused, or decoded into a picture that is all there.
    std::mt19937 random(77);
    int refused = 0;
    for (int round = 0; round < 400; ++round) {
        std::vector<uint8_t> bytes = good;
        bytes[8 + random() % (bytes.size() - 8)] ^= static_cast<uint8_t>(1 + random() % 255);
        if (DecodePng(bytes.data(), bytes.size(), image)) {
            EXPECT_EQ(image.pixels.size(), static_cast<size_t>(image.width) * image.height * image.channels);
        } else {
            ++refused;
        }
    }
    EXPECT_GT(refused, 300);  // CRCs catch nearly every change
}

// Draws texture over the whole of a 64 x 64 surface and reads it back, top row first.
std::vector<uint32_t> DrawTextured(CFSGLSurface& surface, uint32_t texture) {
    glViewport(0, 0, 64, 64);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    // Texture coordinate v = 0 at the bottom of the surface.
    const GLfloat corners[] = {-1, -1, 1, -1, -1, 1, 1, 1};
    const GLfloat uv[] = {0, 0, 1, 0, 0, 1, 1, 1};
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, corners);
    glTexCoordPointer(2, GL_FLOAT, 0, uv);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    surface.WaitGL();
    std::vector<uint32_t> pixels(64 * 64, 0);
    surface.ReadPixels(pixels.data());
    return pixels;
}

uint32_t Rgb(int r, int g, int b) {
    return static_cast<uint32_t>((r << 16) | (g << 8) | b);
}

class TextureCache : public Textures {
protected:
    void SetUp() override {
        Textures::SetUp();
        std::string why;
        ASSERT_TRUE(CFSGLSurface::Probe(why)) << why;
        ASSERT_TRUE(surface_.Create(64, 64));
    }
    CFSGLSurface surface_;
};

TEST_F(TextureCache, UploadsGreyAndPalettePicturesInColour) {
    CFSTextureCache cache(Archive());
    const std::vector<uint32_t> grey = DrawTextured(surface_, cache.GetTexture("grey16.png"));
    EXPECT_EQ(grey[20 * 64 + 32] & 0xFFFFFF, Rgb(200, 200, 200));
    const std::vector<uint32_t> palette = DrawTextured(surface_, cache.GetTexture("palette.png"));
    EXPECT_EQ(palette[44 * 64 + 32] & 0xFFFFFF, Rgb(0, 0, 255));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureCache, HandsOutTheSameTextureForEveryLaterRequestWithoutReadingAgain) {
    CFSTextureCache cache(Archive());
    const uint32_t first = cache.GetTexture("palette.png");
    ASSERT_NE(first, kNoTexture);
    // With the archive gone, only the cache can answer.
    const std::string moved = folder_ + "away.zip";
    ASSERT_EQ(std::rename(Archive().c_str(), moved.c_str()), 0);
    EXPECT_EQ(cache.GetTexture("palette.png"), first);
    EXPECT_EQ(cache.GetTexture("Palette.png"), kNoTexture);  // names are exact here
    ASSERT_EQ(std::rename(moved.c_str(), Archive().c_str()), 0);
    EXPECT_EQ(cache.Count(), 1u);
    EXPECT_EQ(cache.GetTextureName(first), "palette.png");
    EXPECT_EQ(cache.GetTextureName(first + 1000), "");
}

TEST_F(TextureCache, FailuresLeaveNoEntryAndAreTriedAgain) {
    CFSTextureCache cache(Archive());
    EXPECT_EQ(cache.GetTexture("notapng.png"), kNoTexture);
    EXPECT_EQ(cache.GetTexture("wide.png"), kNoTexture);
    EXPECT_EQ(cache.Count(), 0u);

    const std::string archive = folder_ + "retry.zip";
    ASSERT_TRUE(ZipWithPassword(folder_, archive, "green.png"));
    CFSTextureCache retrying(archive);
    EXPECT_EQ(retrying.GetTexture("late.png"), kNoTexture);
    EXPECT_EQ(retrying.Count(), 0u);
    ASSERT_TRUE(RunShell("cp " + ShellQuote(folder_ + "green.png") + " " + ShellQuote(folder_ + "late.png")));
    ASSERT_TRUE(ZipWithPassword(folder_, archive, "green.png late.png"));
    const uint32_t late = retrying.GetTexture("late.png");
    EXPECT_NE(late, kNoTexture);
    EXPECT_EQ(retrying.Count(), 1u);
    EXPECT_EQ(DrawTextured(surface_, late)[32 * 64 + 32] & 0xFFFFFF, Rgb(0, 255, 0));

    CFSTextureCache nowhere(folder_ + "missing.zip");
    EXPECT_EQ(nowhere.GetTexture("late.png"), kNoTexture);
}

TEST_F(TextureCache, RemovingDeletesTheTextureAndForgetsTheName) {
    CFSTextureCache cache(Archive());
    const uint32_t a = cache.GetTexture("rgb8.png");
    const uint32_t b = cache.GetTexture("grey8.png");
    ASSERT_NE(a, kNoTexture);
    ASSERT_NE(b, kNoTexture);
    EXPECT_NE(a, b);
    cache.RemoveTexture("unknown.png");
    EXPECT_EQ(cache.Count(), 2u);
    cache.RemoveTexture("rgb8.png");
    EXPECT_EQ(cache.Count(), 1u);
    EXPECT_FALSE(glIsTexture(a));
    EXPECT_TRUE(glIsTexture(b));
    EXPECT_EQ(cache.GetTextureName(a), "");
    EXPECT_EQ(cache.GetTextureName(b), "grey8.png");
    // Asked for again, it is loaded again.
    EXPECT_NE(cache.GetTexture("rgb8.png"), kNoTexture);
    EXPECT_EQ(cache.Count(), 2u);
    // Clearing forgets the names but leaves the texture objects to the context.
    cache.Clear();
    EXPECT_EQ(cache.Count(), 0u);
    EXPECT_TRUE(glIsTexture(b));
}

TEST_F(TextureCache, EveryQualityFiltersAsTheSettingSaysAndDrawsThePictureUpright) {
    struct Expected {
        int quality;
        GLint minFilter, magFilter, shade, environment;
    };
    const Expected table[] = {
        {0, GL_NEAREST, GL_NEAREST, GL_FLAT, GL_REPLACE},
        {1, GL_LINEAR, GL_LINEAR, GL_SMOOTH, GL_REPLACE},
        {2, GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST, GL_SMOOTH, GL_MODULATE},
        {3, GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR, GL_SMOOTH, GL_MODULATE},
        {4, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_SMOOTH, GL_MODULATE},
        {7, GL_NEAREST, GL_NEAREST, GL_FLAT, GL_REPLACE},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.quality);
        CFSTextureCache cache(Archive());
        cache.SetQuality(e.quality);
        const uint32_t texture = cache.GetTexture("rgb8.png");
        ASSERT_NE(texture, kNoTexture);
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
        EXPECT_EQ(value, e.minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
        EXPECT_EQ(value, e.magFilter);
        glGetIntegerv(GL_SHADE_MODEL, &value);
        EXPECT_EQ(value, e.shade);
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
        EXPECT_EQ(value, e.environment);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        // Mipmapped filters need every level: a texture without them would draw untextured.
        // The PNG's first rows are at the top.
        const std::vector<uint32_t> pixels = DrawTextured(surface_, texture);
        EXPECT_EQ(pixels[20 * 64 + 32] & 0xFFFFFF, Rgb(255, 128, 0));
        EXPECT_EQ(pixels[44 * 64 + 32] & 0xFFFFFF, Rgb(0, 64, 255));
        const GLuint name = texture;
        glDeleteTextures(1, &name);
    }
}

TEST_F(TextureCache, ReloadingRefreshesEveryPictureAndKeepsTheNamesOfLostOnes) {
    // "a.png" sorts first; it will be missing from the archive when the cache reloads.
    ASSERT_TRUE(RunShell("cp " + ShellQuote(folder_ + "green.png") + " " + ShellQuote(folder_ + "a.png") +
                         " && cp " + ShellQuote(folder_ + "green.png") + " " +
                         ShellQuote(folder_ + "b.png")));
    const std::string archive = folder_ + "reload.zip";
    ASSERT_TRUE(ZipWithPassword(folder_, archive, "a.png b.png"));
    CFSTextureCache cache(archive);
    const uint32_t a = cache.GetTexture("a.png");
    const uint32_t b = cache.GetTexture("b.png");
    ASSERT_NE(a, kNoTexture);
    ASSERT_NE(b, kNoTexture);
    EXPECT_EQ(DrawTextured(surface_, b)[32 * 64 + 32] & 0xFFFFFF, Rgb(0, 255, 0));

    ASSERT_TRUE(RunShell("cp " + ShellQuote(folder_ + "rgb8.png") + " " + ShellQuote(folder_ + "b.png")));
    ASSERT_TRUE(ZipWithPassword(folder_, archive, "b.png"));
    cache.SetQuality(4);
    cache.ReloadAll();
    EXPECT_EQ(cache.Count(), 2u);
    EXPECT_EQ(cache.GetTexture("b.png"), b);
    EXPECT_EQ(cache.GetTexture("a.png"), a);
    const std::vector<uint32_t> pixels = DrawTextured(surface_, b);
    EXPECT_EQ(pixels[20 * 64 + 32] & 0xFFFFFF, Rgb(255, 128, 0));
    glBindTexture(GL_TEXTURE_2D, b);
    GLint minFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
    // The lost picture's name stays taken: no new texture gets it.
    EXPECT_TRUE(glIsTexture(a));
    GLuint fresh[4] = {};
    glGenTextures(4, fresh);
    for (GLuint name : fresh) {
        EXPECT_NE(name, a);
        EXPECT_NE(name, b);
    }
}

}  // namespace
