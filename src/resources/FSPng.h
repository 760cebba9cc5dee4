#pragma once
// PNG textures: decoding an archive member with libpng into 8-bit RGB or RGBA rows, and
// uploading them into an OpenGL ES texture with the filtering of "textures_quality".
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The texture name that stands for "no texture" (a failed load).
inline constexpr uint32_t kNoTexture = 0xFFFFFFFFu;

// A decoded picture as the graphics library takes it: rows tightly packed, the PNG's last
// row first (texture coordinate v = 0 is the bottom of the picture).
struct FSPngImage {
    int32_t width = 0;
    int32_t height = 0;
    int32_t channels = 0;  // 3 (RGB) or 4 (RGBA)
    std::vector<uint8_t> pixels;
};

// Decodes a whole PNG file. Every colour type and bit depth becomes 8-bit RGB, or RGBA when
// the file has an alpha channel or a tRNS chunk; the file's gamma is corrected for a screen
// gamma of 2.2. False for anything that is not a complete, valid PNG of at most 4096 x 4096.
bool DecodePng(const uint8_t* bytes, size_t size, FSPngImage& image);
// The same for an archive member (false also when the member cannot be read).
bool ReadPng(const std::string& archivePath, const std::string& memberName, FSPngImage& image);

// Writes a 5-6-5 picture (rows top first) as an 8-bit RGB PNG file: the headless mode's
// pictures of the flight. False when the file cannot be written.
bool WritePng565(const std::string& path, const uint16_t* pixels, int width, int height);

// Makes texture the image's texture object: binds it to GL_TEXTURE_2D, sets the shade
// model, the texture environment and the filters of texturesQuality ("textures_quality":
// 1 linear; 2, 3, 4 mipmapped, with the levels generated; 0 and others nearest) and
// uploads the pixels. Needs a current GL context.
void UploadTexture(uint32_t texture, const FSPngImage& image, int texturesQuality);

// Reads and decodes the member and uploads it into a new texture object: its name, or
// kNoTexture (and no texture object made) when the member is missing or not a good PNG.
uint32_t LoadPng(const std::string& archivePath, const std::string& memberName, int texturesQuality);
