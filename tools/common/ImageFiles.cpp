#include "common/ImageFiles.h"

#include <png.h>

#include <cstdio>

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

constexpr uint32_t kBiRgb = 0;        // palette indices or plain colours
constexpr uint32_t kBiBitfields = 3;  // colours through the three bit masks after the header

// The 14-byte file header and the 40-byte info header of a BMP whose colour table (the
// bit masks, or a palette of tableBytes / 4 colours) and then dataBytes of rows follow.
// A negative height stores the top row first.
void PutBmpHeaders(std::vector<uint8_t>& out, int width, int height, int bitsPerPixel, uint32_t compression,
                   uint32_t tableBytes, uint32_t dataBytes) {
    const uint32_t offset = 14 + 40 + tableBytes;
    out.reserve(offset + dataBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + dataBytes);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bitsPerPixel));
    Put32(out, compression);
    Put32(out, dataBytes);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, compression == kBiRgb ? tableBytes / 4 : 0);
    Put32(out, 0);
}

// A PNG of 8-bit samples in memory, row y written from what rowAt(y) points at (the row's
// samples, channels per pixel for the colour type); empty when libpng fails.
template <typename RowAt>
std::vector<uint8_t> EncodeRows(int width, int height, int colourType, RowAt rowAt) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return out;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, AppendBytes, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(rowAt(y)));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

}  // namespace

std::vector<uint8_t> EncodePng(const Canvas& canvas, bool withAlpha) {
    const int channels = withAlpha ? 4 : 3;
    std::vector<uint8_t> row(static_cast<size_t>(canvas.Width()) * channels);
    return EncodeRows(canvas.Width(), canvas.Height(), withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                      [&](int y) {
                          for (int x = 0; x < canvas.Width(); ++x) {
                              const Rgba& p = canvas.At(x, y);
                              uint8_t* o = &row[static_cast<size_t>(x) * channels];
                              o[0] = p.r;
                              o[1] = p.g;
                              o[2] = p.b;
                              if (withAlpha) o[3] = p.a;
                          }
                          return row.data();
                      });
}

std::vector<uint8_t> EncodeGreyPng(const std::vector<uint8_t>& grey, int width, int height) {
    if (width <= 0 || height <= 0 || grey.size() != static_cast<size_t>(width) * height) return {};
    return EncodeRows(width, height, PNG_COLOR_TYPE_GRAY,
                      [&](int y) { return &grey[static_cast<size_t>(y) * width]; });
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

bool ReadPngRgba(const std::string& path, int& width, int& height, std::vector<uint8_t>& rgba) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGBA;
    rgba.assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return true;
}

std::string ByteArraySource(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string source = "const unsigned char " + name + "[] = {";
    char number[8];
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 24 == 0) source += "\n";
        std::snprintf(number, sizeof number, "%u,", bytes[i]);
        source += number;
    }
    return source + "\n};\n";
}

Canvas CanvasFrom565(const uint16_t* pixels, int width, int height) {
    Canvas canvas(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint16_t p = pixels[y * width + x];
            const uint8_t r = static_cast<uint8_t>((p >> 11) & 31), g = static_cast<uint8_t>((p >> 5) & 63),
                          b = static_cast<uint8_t>(p & 31);
            canvas.At(x, y) = {static_cast<uint8_t>((r << 3) | (r >> 2)),
                               static_cast<uint8_t>((g << 2) | (g >> 4)),
                               static_cast<uint8_t>((b << 3) | (b >> 2)), 255};
        }
    }
    return canvas;
}

std::vector<uint8_t> Encode565Bmp(const std::vector<uint16_t>& pixels, int width, int height, bool topDown) {
    const int stride = (width + 1) / 2 * 2;  // rows padded to 4 bytes
    const uint32_t dataBytes = static_cast<uint32_t>(stride * 2 * height);
    std::vector<uint8_t> out;
    PutBmpHeaders(out, width, topDown ? -height : height, 16, kBiBitfields, 12, dataBytes);
    Put32(out, 0xF800);
    Put32(out, 0x07E0);
    Put32(out, 0x001F);
    for (int i = 0; i < height; ++i) {
        const int y = topDown ? i : height - 1 - i;
        for (int x = 0; x < stride; ++x)
            Put16(out, x < width ? pixels[static_cast<size_t>(y) * width + x] : 0);
    }
    return out;
}

std::vector<uint8_t> EncodeMaskBmp(const std::vector<uint8_t>& alpha, int width, int height) {
    const int stride = (width + 3) / 4 * 4;  // rows padded to 4 bytes
    const uint32_t dataBytes = static_cast<uint32_t>(stride * height);
    std::vector<uint8_t> out;
    PutBmpHeaders(out, width, height, 8, kBiRgb, 256 * 4, dataBytes);
    for (uint32_t i = 0; i < 256; ++i)
        Put32(out, i * 0x010101);
    for (int i = 0; i < height; ++i) {
        const int y = height - 1 - i;
        for (int x = 0; x < stride; ++x)
            out.push_back(x < width ? alpha[static_cast<size_t>(y) * width + x] : 0);
    }
    return out;
}
