#pragma once
// A software canvas for the data build: 8-bit RGBA pixels, filled polygons, gradients and
// FreeType text, all blended "over". Pictures are drawn at a multiple of their final size
// and shrunk with Downsample, which gives clean anti-aliased edges without any
// anti-aliasing logic in the drawing itself.
#include <cstdint>
#include <string>
#include <vector>

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255;
};

inline Rgba Mix(Rgba a, Rgba b, float t) {
    auto lerp = [t](uint8_t x, uint8_t y) { return static_cast<uint8_t>(x + (y - x) * t + 0.5f); };
    return {lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b), lerp(a.a, b.a)};
}

struct Point2 {
    float x = 0, y = 0;
};

class Canvas {
public:
    Canvas(int width, int height, Rgba fill = {0, 0, 0, 0});

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgba& At(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    const Rgba& At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    const std::vector<Rgba>& Pixels() const { return pixels_; }

    // Blends colour over the pixel (alpha from colour.a scaled by coverage 0..1).
    void Blend(int x, int y, Rgba colour, float coverage = 1.0f);
    void FillRect(int x, int y, int w, int h, Rgba colour);
    // Top-to-bottom gradient through the given stops (positions 0..1, ascending).
    void VerticalGradient(int y0, int y1, const std::vector<std::pair<float, Rgba>>& stops);
    // Even-odd filled polygon, sampled at pixel centres.
    void FillPolygon(const std::vector<Point2>& points, Rgba colour);
    void FillCircle(float cx, float cy, float radius, Rgba colour);
    // A soft round glow: alpha falls from colour.a at the centre to 0 at radius.
    void Glow(float cx, float cy, float radius, Rgba colour);

    // Box-filters the canvas down by an integer factor.
    Canvas Downsample(int factor) const;

private:
    int width_;
    int height_;
    std::vector<Rgba> pixels_;
};

// Text through FreeType from a font file (a Debian-packaged TrueType font).
class TextRenderer {
public:
    explicit TextRenderer(const std::string& fontFile);
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    bool Ok() const { return face_ != nullptr; }
    // Pixel size of the em square.
    void SetSize(int pixels);
    // Advance width of text in pixels.
    int Measure(const std::string& text) const;
    // Ascender above the baseline, in pixels.
    int Ascender() const;
    // Draws text with its baseline starting at (x, y).
    void Draw(Canvas& canvas, int x, int y, const std::string& text, Rgba colour) const;

private:
    void* library_ = nullptr;
    void* face_ = nullptr;
};
