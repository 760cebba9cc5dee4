#pragma once
// Writers for the picture formats the game reads: PNG (textures, snapshots) and BMP
// (16-bit 5-6-5 pictures and 8-bit masks). Byte-for-byte the same output for the same input.
#include <cstdint>
#include <string>
#include <vector>

#include "common/Canvas.h"

// PNG of a canvas into memory; withAlpha false drops the alpha channel.
std::vector<uint8_t> EncodePng(const Canvas& canvas, bool withAlpha);
// An 8-bit greyscale PNG of one byte per pixel, rows top first; empty when the size and the
// bytes disagree.
std::vector<uint8_t> EncodeGreyPng(const std::vector<uint8_t>& grey, int width, int height);
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
// A PNG file read into 8-bit RGBA, rows top first; false when it cannot be read.
bool ReadPngRgba(const std::string& path, int& width, int& height, std::vector<uint8_t>& rgba);
// C++ source defining `const unsigned char <name>[]` with the bytes, 24 to a line (pictures
// compiled into the program).
std::string ByteArraySource(const std::string& name, const std::vector<uint8_t>& bytes);

// Little-endian integers appended to a file being built in memory (BMP, zip and terrain
// files all store them so): the low 16 bits of v, or all 32.
void Put16(std::vector<uint8_t>& out, uint32_t v);
void Put32(std::vector<uint8_t>& out, uint32_t v);

inline uint16_t To565(Rgba c) {
    return static_cast<uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
}
// A canvas of 5-6-5 pixels (for pictures of what the game showed).
Canvas CanvasFrom565(const uint16_t* pixels, int width, int height);

// 16-bit BMP with 5-6-5 bit fields. topDown stores the top row first (negative height).
std::vector<uint8_t> Encode565Bmp(const std::vector<uint16_t>& pixels, int width, int height, bool topDown);

// 8-bit palettised BMP whose index values are the mask's alpha (0 transparent, 255 opaque),
// with a grey palette so it also looks right in a viewer; rows stored bottom row first.
std::vector<uint8_t> EncodeMaskBmp(const std::vector<uint8_t>& alpha, int width, int height);
