#include "hud/FSAltimeter.h"

#include <cmath>

namespace {

// The body stands this far from the upright screen's right edge, centred on a 150-pixel
// band about the screen's middle.
constexpr int32_t kBodyInset = 20, kBodyHalfBand = 75;
constexpr uint16_t kFigureColour = 0xFFFF;
// The tag's pointed end, which the figures keep clear of.
constexpr int32_t kTagPoint = 8;

// Ticks: how many per km, their size and their x inside the body.
struct TickKind {
    int perKm;
    FSSize size;
    int32_t x;
};
constexpr TickKind kTicks[] = {{10, {2, 2}, 7}, {2, {6, 2}, 5}, {1, {10, 2}, 3}};

}  // namespace

bool CFSAltimeter::Create(const std::string& archivePath, double span, const CFSFont* font) {
    const bool body = body_.Load(archivePath, kBodyName, kBodyMaskName);
    const bool arrow = arrow_.Load(archivePath, kArrowName, kArrowMaskName);
    const bool marker = marker_.Load(archivePath, kMarkerName, kMarkerMaskName);
    tick_ = CreateBitmap565(10, 4);
    font_ = font;
    span_ = span;
    value_ = 0.0;
    target_ = 3.75;
    showTarget_ = 1;
    return body && arrow && marker;
}

bool CFSAltimeter::HeightY(double t, int32_t top, int32_t& y) const {
    const double height = body_.Height();
    return PixelOf(top + height - ((t - (value_ - span_ / 2)) / span_) * height, y);
}

void CFSAltimeter::Draw(uint16_t* frameBuffer, int alignment) const {
    if (!frameBuffer || !body_.Loaded() || RotationCode(alignment) < 0) return;
    const FSSize screen = UprightScreen(alignment);
    const FSPoint body{screen.w - kBodyInset, screen.h / 2 - kBodyHalfBand};
    DrawUprightPicture(frameBuffer, alignment, body, body_);
    // A bounded span keeps the tick loops short; a value too far out for a pixel grid (or
    // not a number) has no window.
    const bool window = std::isfinite(value_) && std::fabs(value_) < 1e6 && span_ > 0.0 && span_ <= kMaxSpan;
    if (window) DrawTicks(frameBuffer, alignment, body);
    const FSPoint arrow{body.x - arrow_.Width() + 5, body.y + body_.Height() / 2 - arrow_.Height() / 2};
    DrawUprightPicture(frameBuffer, alignment, arrow, arrow_);
    int32_t y = 0;
    const double low = value_ - span_ / 2, high = low + span_;
    if (window && showTarget_ == 1 && target_ >= low && target_ <= high && HeightY(target_, body.y, y))
        DrawUprightPicture(frameBuffer, alignment, {body.x + body_.Width() - 7, y - marker_.Height() / 2},
                           marker_);
    if (!font_) return;
    // The figures stand on the read-out tag, ending short of its point, centred on it.
    const FSPoint figures{arrow.x + arrow_.Width() - kTagPoint,
                          arrow.y + arrow_.Height() / 2 - font_->LineHeight() / 2};
    DrawTextF(*font_, frameBuffer, alignment, 0, kJustifyRight, figures, kFigureColour, "%.3f", value_);
}

void CFSAltimeter::DrawTicks(uint16_t* frameBuffer, int alignment, FSPoint body) const {
    const FSClipRect clip{body.x, body.y, body.x + body_.Width(), body.y + body_.Height()};
    const double low = value_ - span_ / 2, high = low + span_;
    for (const TickKind& kind : kTicks) {
        // Counted in whole steps so that the heights do not drift by repeated additions.
        for (int64_t k = static_cast<int64_t>(std::ceil(low * kind.perKm));; ++k) {
            const double t = static_cast<double>(k) / kind.perKm;
            int32_t y = 0;
            if (!(t < high)) break;
            if (HeightY(t, body.y, y))
                DrawUprightRect(frameBuffer, alignment, {body.x + kind.x, y}, kind.size, tick_.get(), clip);
        }
    }
}
