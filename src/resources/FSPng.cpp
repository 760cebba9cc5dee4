#include "resources/FSPng.h"

#include <GLES/gl.h>
#include <png.h>

#include <cstdio>
#include <cstring>

#include "resources/FSArchive.h"

namespace {

// No texture of the game comes near this; it bounds what a hostile header can make us
// allocate (64 MiB of RGBA).
constexpr png_uint_32 kLargestSide = 4096;
constexpr size_t kSignatureSize = 8;

// The member's bytes, read by libpng through ReadFromMemory.
struct MemorySource {
    const uint8_t* bytes;
    size_t size;
    size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (count > source->size - source->position) png_error(png, "truncated");
    std::memcpy(out, source->bytes + source->position, count);
    source->position += count;
}

// libpng's errors end the decoding through its jump buffer, without a message; warnings
// (unknown chunks and the like) are of no interest.
void OnPngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void OnPngWarning(png_structp, png_const_charp) {}

// Owns the read and info structures, released on every path.
struct ReadStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~ReadStructs() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

struct Layout {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int colourType = 0;
    size_t rowBytes = 0;
};

// Reads the header, sets the transformations and reports the layout they give. libpng
// may jump back into this frame from any call below, so it holds plain data only (no
// destructor can be skipped) and reads nothing that changed after setjmp.
bool ReadHeader(png_structp png, png_infop info, Layout& layout) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_sig_bytes(png, static_cast<int>(kSignatureSize));
    png_set_user_limits(png, kLargestSide, kLargestSide);
    png_read_info(png, info);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, nullptr, nullptr, nullptr);

    if (bitDepth == 16) png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE && bitDepth <= 8) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);

    // Screen gamma 2.2; a file without its own gamma is taken as made for such a screen.
    double fileGamma = 0.0;
    if (!png_get_gAMA(png, info, &fileGamma)) fileGamma = 0.45455;
    png_set_gamma(png, 2.2, fileGamma);
    png_set_interlace_handling(png);

    png_read_update_info(png, info);
    png_get_IHDR(png, info, &layout.width, &layout.height, &bitDepth, &layout.colourType, nullptr, nullptr,
                 nullptr);
    layout.rowBytes = png_get_rowbytes(png, info);
    return true;
}

// Reads every row (all passes of an interlaced file) and the chunks after them up to the
// end marker, so that a file cut short or damaged anywhere is refused. Plain data only,
// as above.
bool ReadRows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

bool DecodePng(const uint8_t* bytes, size_t size, FSPngImage& image) {
    image = FSPngImage{};
    if (!bytes || size < kSignatureSize || png_sig_cmp(bytes, 0, kSignatureSize) != 0) return false;

    ReadStructs structs;
    structs.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (!structs.png) return false;
    structs.info = png_create_info_struct(structs.png);
    if (!structs.info) return false;
    MemorySource source{bytes, size, kSignatureSize};
    png_set_read_fn(structs.png, &source, ReadFromMemory);

    Layout layout;
    if (!ReadHeader(structs.png, structs.info, layout)) return false;
    // The transformations leave 8-bit RGB or RGBA; anything else is not a texture.
    const int channels = layout.colourType == PNG_COLOR_TYPE_RGB         ? 3
                         : layout.colourType == PNG_COLOR_TYPE_RGB_ALPHA ? 4
                                                                         : 0;
    if (channels == 0 || layout.width == 0 || layout.height == 0 ||
        layout.rowBytes != size_t{layout.width} * channels) {
        return false;
    }

    std::vector<uint8_t> pixels(layout.rowBytes * layout.height);
    std::vector<png_bytep> rows(layout.height);
    for (png_uint_32 r = 0; r < layout.height; ++r) {
        rows[r] = pixels.data() + (layout.height - 1 - r) * layout.rowBytes;  // first PNG row last
    }
    if (!ReadRows(structs.png, rows.data())) return false;

    image.width = static_cast<int32_t>(layout.width);
    image.height = static_cast<int32_t>(layout.height);
    image.channels = channels;
    image.pixels = std::move(pixels);
    return true;
}

bool ReadPng(const std::string& archivePath, const std::string& memberName, FSPngImage& image) {
    const FSMemoryBlock block = ReadArchiveMember(archivePath, memberName);
    if (!block) {
        image = FSPngImage{};
        return false;
    }
    return DecodePng(block.data.get(), block.size, image);
}

void UploadTexture(uint32_t texture, const FSPngImage& image, int texturesQuality) {
    GLenum shade = GL_SMOOTH;
    GLint environment = GL_MODULATE;
    GLint minFilter = GL_NEAREST;
    bool mipmaps = true;
    switch (texturesQuality) {
        case 1:
            environment = GL_REPLACE;
            minFilter = GL_LINEAR;
            mipmaps = false;
            break;
        case 2:
            minFilter = GL_NEAREST_MIPMAP_NEAREST;
            break;
        case 3:
            minFilter = GL_LINEAR_MIPMAP_NEAREST;
            break;
        case 4:
            minFilter = GL_LINEAR_MIPMAP_LINEAR;
            break;
        default:
            shade = GL_FLAT;
            environment = GL_REPLACE;
            mipmaps = false;
            break;
    }
    // Magnification has no mipmap modes: it takes the filter used within a level.
    const GLint magFilter =
        (minFilter == GL_NEAREST || minFilter == GL_NEAREST_MIPMAP_NEAREST) ? GL_NEAREST : GL_LINEAR;

    glBindTexture(GL_TEXTURE_2D, texture);
    glShadeModel(shade);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, environment);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    // A mipmapped filter on a texture with level 0 alone would leave it incomplete, and
    // the object would be drawn untextured: the library builds the other levels.
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, mipmaps ? GL_TRUE : GL_FALSE);

    const GLenum format = image.channels == 4 ? GL_RGBA : image.channels == 3 ? GL_RGB : 0;
    if (format == 0 || image.pixels.empty()) return;  // a valid but empty texture object
    // Rows are tightly packed (an RGB row need not be a multiple of 4 bytes).
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), image.width, image.height, 0, format,
                 GL_UNSIGNED_BYTE, image.pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

uint32_t LoadPng(const std::string& archivePath, const std::string& memberName, int texturesQuality) {
    FSPngImage image;
    if (!ReadPng(archivePath, memberName, image)) return kNoTexture;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    if (texture == 0) return kNoTexture;  // no current context
    UploadTexture(texture, image, texturesQuality);
    return texture;
}

bool WritePng565(const std::string& path, const uint16_t* pixels, int width, int height) {
    if (!pixels || width <= 0 || height <= 0) return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    bool ok = png && info;
    if (ok && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y) {
            const uint16_t* source = pixels + static_cast<size_t>(y) * width;
            for (int x = 0; x < width; ++x) {
                const uint16_t p = source[x];
                // Each field widened to 8 bits with its top bits repeated below.
                const int r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
                row[x * 3] = static_cast<uint8_t>(r << 3 | r >> 2);
                row[x * 3 + 1] = static_cast<uint8_t>(g << 2 | g >> 4);
                row[x * 3 + 2] = static_cast<uint8_t>(b << 3 | b >> 2);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
    } else {
        ok = false;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}
