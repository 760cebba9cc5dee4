#include "databuild/MenuArt.h"

#include <algorithm>
#include <cmath>

#include "common/ImageFiles.h"
#include "databuild/ArchiveBuilder.h"

namespace menu_art {

Distance Segment(Point2 a, Point2 b, float width) {
    return [=](float x, float y) {
        const float dx = b.x - a.x, dy = b.y - a.y;
        const float t = std::clamp(((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
        return std::hypot(x - a.x - t * dx, y - a.y - t * dy) - width / 2;
    };
}

bool AddMasked(ArchiveBuilder& archive, const std::string& name, const std::string& maskName,
               const Canvas& picture) {
    const int w = picture.Width(), h = picture.Height();
    std::vector<uint16_t> colour(static_cast<size_t>(w) * h);
    std::vector<uint8_t> alpha(colour.size());
    for (size_t k = 0; k < colour.size(); ++k) {
        const Rgba p = picture.Pixels()[k];
        colour[k] = p.a ? To565(p) : 0;
        alpha[k] = p.a;
    }
    bool ok = archive.Add(name, Encode565Bmp(colour, w, h, false));
    return archive.Add(maskName, EncodeMaskBmp(alpha, w, h)) && ok;
}

std::vector<uint16_t> Keyed565(const Canvas& picture, uint16_t key) {
    std::vector<uint16_t> pixels(picture.Pixels().size());
    for (size_t k = 0; k < pixels.size(); ++k) {
        const Rgba p = picture.Pixels()[k];
        uint16_t c = To565(p);
        if (c == key) c = key == 0 ? kNearBlack : static_cast<uint16_t>(key ^ 0x0020);  // green's low bit
        pixels[k] = p.a < 128 ? key : c;
    }
    return pixels;
}

bool AddKeyed(ArchiveBuilder& archive, const std::string& name, const Canvas& picture, uint16_t key) {
    return archive.Add(name, Encode565Bmp(Keyed565(picture, key), picture.Width(), picture.Height(), false));
}

std::vector<uint16_t> Plain565(const Canvas& picture) {
    std::vector<uint16_t> pixels(picture.Pixels().size());
    for (size_t k = 0; k < pixels.size(); ++k)
        pixels[k] = To565(picture.Pixels()[k]);
    return pixels;
}

void CentredText(PictureSketch& sketch, TextRenderer& font, float size, float cx, float baseline,
                 const std::string& text, Rgba colour) {
    const int s = PictureSketch::kScale;
    font.SetSize(static_cast<int>(std::lround(size * s)));
    const int x = static_cast<int>(std::lround(cx * s)) - font.Measure(text) / 2;
    font.Draw(sketch.Draft(), x, static_cast<int>(std::lround(baseline * s)), text, colour);
}

void HaloText(PictureSketch& sketch, TextRenderer& font, float size, float cx, float baseline,
              const std::string& text, Rgba colour, Rgba halo) {
    for (int k = 0; k < 8; ++k) {
        const float a = k * 0.785398f;
        CentredText(sketch, font, size, cx + std::cos(a), baseline + std::sin(a), text, halo);
    }
    CentredText(sketch, font, size, cx, baseline, text, colour);
}

}  // namespace menu_art
