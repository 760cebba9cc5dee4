#include "common/Canvas.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>

Canvas::Canvas(int width, int height, Rgba fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

void Canvas::Blend(int x, int y, Rgba colour, float coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const float a = colour.a / 255.0f * std::clamp(coverage, 0.0f, 1.0f);
    if (a <= 0.0f) return;
    Rgba& d = At(x, y);
    const float da = d.a / 255.0f;
    const float outA = a + da * (1.0f - a);
    auto channel = [&](uint8_t s, uint8_t t) {
        if (outA <= 0.0f) return uint8_t{0};
        return static_cast<uint8_t>(std::lround((s * a + t * da * (1.0f - a)) / outA));
    };
    d = {channel(colour.r, d.r), channel(colour.g, d.g), channel(colour.b, d.b),
         static_cast<uint8_t>(std::lround(outA * 255.0f))};
}

void Canvas::FillRect(int x, int y, int w, int h, Rgba colour) {
    for (int r = std::max(y, 0); r < std::min(y + h, height_); ++r) {
        for (int c = std::max(x, 0); c < std::min(x + w, width_); ++c)
            Blend(c, r, colour);
    }
}

void Canvas::VerticalGradient(int y0, int y1, const std::vector<std::pair<float, Rgba>>& stops) {
    if (stops.empty() || y1 <= y0) return;
    for (int y = std::max(y0, 0); y < std::min(y1, height_); ++y) {
        const float t = (y - y0 + 0.5f) / static_cast<float>(y1 - y0);
        Rgba colour = stops.front().second;
        for (size_t i = 1; i < stops.size(); ++i) {
            if (t <= stops[i].first) {
                const float span = stops[i].first - stops[i - 1].first;
                const float u = span > 0 ? (t - stops[i - 1].first) / span : 1.0f;
                colour = Mix(stops[i - 1].second, stops[i].second, std::clamp(u, 0.0f, 1.0f));
                break;
            }
            colour = stops[i].second;
        }
        for (int x = 0; x < width_; ++x)
            Blend(x, y, colour);
    }
}

void Canvas::FillPolygon(const std::vector<Point2>& points, Rgba colour) {
    if (points.size() < 3) return;
    float minY = points[0].y, maxY = points[0].y;
    for (const Point2& p : points) {
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    std::vector<float> crossings;
    for (int y = std::max(0, static_cast<int>(std::floor(minY)));
         y < std::min(height_, static_cast<int>(std::ceil(maxY)) + 1); ++y) {
        const float sy = y + 0.5f;
        crossings.clear();
        for (size_t i = 0; i < points.size(); ++i) {
            const Point2& a = points[i];
            const Point2& b = points[(i + 1) % points.size()];
            if ((a.y <= sy && b.y > sy) || (b.y <= sy && a.y > sy)) {
                crossings.push_back(a.x + (sy - a.y) * (b.x - a.x) / (b.y - a.y));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int x0 = std::max(0, static_cast<int>(std::ceil(crossings[i] - 0.5f)));
            const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(crossings[i + 1] - 0.5f)) - 1);
            for (int x = x0; x <= x1; ++x)
                Blend(x, y, colour);
        }
    }
}

void Canvas::FillCircle(float cx, float cy, float radius, Rgba colour) {
    for (int y = std::max(0, static_cast<int>(cy - radius));
         y < std::min(height_, static_cast<int>(cy + radius) + 1); ++y) {
        for (int x = std::max(0, static_cast<int>(cx - radius));
             x < std::min(width_, static_cast<int>(cx + radius) + 1); ++x) {
            const float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            if (dx * dx + dy * dy <= radius * radius) Blend(x, y, colour);
        }
    }
}

void Canvas::Glow(float cx, float cy, float radius, Rgba colour) {
    for (int y = std::max(0, static_cast<int>(cy - radius));
         y < std::min(height_, static_cast<int>(cy + radius) + 1); ++y) {
        for (int x = std::max(0, static_cast<int>(cx - radius));
             x < std::min(width_, static_cast<int>(cx + radius) + 1); ++x) {
            const float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            const float d = std::sqrt(dx * dx + dy * dy) / radius;
            if (d < 1.0f) Blend(x, y, colour, (1.0f - d) * (1.0f - d));
        }
    }
}

Canvas Canvas::Downsample(int factor) const {
    Canvas out(width_ / factor, height_ / factor);
    const float n = static_cast<float>(factor * factor);
    for (int y = 0; y < out.height_; ++y) {
        for (int x = 0; x < out.width_; ++x) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int j = 0; j < factor; ++j) {
                for (int i = 0; i < factor; ++i) {
                    const Rgba& p = At(x * factor + i, y * factor + j);
                    // Weight colour by alpha so transparent pixels do not darken edges.
                    r += p.r * p.a;
                    g += p.g * p.a;
                    b += p.b * p.a;
                    a += p.a;
                }
            }
            Rgba& o = out.At(x, y);
            if (a > 0) {
                o = {static_cast<uint8_t>(std::lround(r / a)), static_cast<uint8_t>(std::lround(g / a)),
                     static_cast<uint8_t>(std::lround(b / a)), static_cast<uint8_t>(std::lround(a / n))};
            } else {
                o = {0, 0, 0, 0};
            }
        }
    }
    return out;
}

TextRenderer::TextRenderer(const std::string& fontFile) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return;
    library_ = library;
    FT_Face face = nullptr;
    if (FT_New_Face(library, fontFile.c_str(), 0, &face) != 0) return;
    face_ = face;
}

TextRenderer::~TextRenderer() {
    if (face_) FT_Done_Face(static_cast<FT_Face>(face_));
    if (library_) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

void TextRenderer::SetSize(int pixels) {
    if (face_) FT_Set_Pixel_Sizes(static_cast<FT_Face>(face_), 0, static_cast<FT_UInt>(pixels));
}

int TextRenderer::Ascender() const {
    if (!face_) return 0;
    return static_cast<int>(static_cast<FT_Face>(face_)->size->metrics.ascender >> 6);
}

int TextRenderer::Measure(const std::string& text) const {
    if (!face_) return 0;
    FT_Face face = static_cast<FT_Face>(face_);
    long width = 0;
    for (unsigned char c : text) {
        if (FT_Load_Char(face, c, FT_LOAD_DEFAULT) == 0) width += face->glyph->advance.x;
    }
    return static_cast<int>(width >> 6);
}

void TextRenderer::Draw(Canvas& canvas, int x, int y, const std::string& text, Rgba colour) const {
    if (!face_) return;
    FT_Face face = static_cast<FT_Face>(face_);
    long penX = static_cast<long>(x) << 6;
    for (unsigned char c : text) {
        if (FT_Load_Char(face, c, FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot glyph = face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        const int left = static_cast<int>(penX >> 6) + glyph->bitmap_left;
        const int top = y - glyph->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            for (unsigned col = 0; col < bitmap.width; ++col) {
                const uint8_t coverage = bitmap.buffer[row * bitmap.pitch + col];
                if (coverage)
                    canvas.Blend(left + static_cast<int>(col), top + static_cast<int>(row), colour,
                                 coverage / 255.0f);
            }
        }
        penX += glyph->advance.x;
    }
}
