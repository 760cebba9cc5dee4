#include "hud/FSCompass.h"

#include <cmath>

namespace {

// The body's top edge; 150 pixels wide, it stands at x 45 on the portrait screen.
constexpr int32_t kBodyTop = 2;
constexpr int32_t kMajorStep = 45, kMinorStep = 9;
constexpr FSSize kMajorTick{2, 8}, kMinorTick{2, 2};
constexpr int32_t kMajorTop = 6, kMinorTop = 9;  // below the body's top edge
// The letter of every quarter from -90 to 360 degrees: W N E S W N.
constexpr const char* kLetters = "ESWN";
constexpr int kFirstQuarter = -1, kLastQuarter = 4;

}  // namespace

bool CFSCompass::Create(const std::string& archivePath, double span, const CFSFont* font) {
    const bool body = body_.Load(archivePath, kBodyName, kBodyMaskName);
    const bool player = player_.Load(archivePath, kPlayerName, kPlayerMaskName);
    const bool target = targetMarker_.Load(archivePath, kTargetName, kTargetMaskName);
    tick_ = CreateBitmap565(kMajorTick.w, 20);
    font_ = font;
    span_ = span;
    heading_ = 0.0;
    target_ = 60.0;
    showTarget_ = 1;
    return body && player && target;
}

void CFSCompass::SetHeading(double degrees) {
    // NaN and the infinities are kept as they are; drawing shows no strip for them.
    if (std::isfinite(degrees) && (degrees >= 360.0 || degrees < 0.0)) {
        degrees = std::fmod(degrees, 360.0);
        if (degrees < 0.0) degrees += 360.0;
    }
    heading_ = degrees;
}

bool CFSCompass::BearingX(double b, int32_t left, int32_t& x) const {
    const double width = body_.Width();
    return PixelOf(left + width / 2 - ((heading_ - b) / span_) * width, x);
}

void CFSCompass::Draw(uint16_t* frameBuffer, int alignment) const {
    if (!frameBuffer || !body_.Loaded() || RotationCode(alignment) < 0) return;
    // Centred at the top of the upright screen in every orientation, so that the wider
    // landscape screens keep their corners for the status and the clock.
    const FSPoint body{(UprightScreen(alignment).w - body_.Width()) / 2, kBodyTop};
    DrawUprightPicture(frameBuffer, alignment, body, body_);
    // The heading is wrapped into one turn and the span bounded, so every bearing below is
    // within a few turns of 0 and every loop short.
    const bool strip = std::isfinite(heading_) && span_ > 0.0 && span_ <= kMaxSpan;
    if (strip) {
        DrawLetters(frameBuffer, alignment, body);
        DrawTicks(frameBuffer, alignment, body);
    }
    DrawUprightPicture(frameBuffer, alignment,
                       {body.x + body_.Width() / 2 - player_.Width() / 2, body.y + body_.Height() / 2 - 2},
                       player_);
    if (strip) DrawTarget(frameBuffer, alignment, body);
}

void CFSCompass::DrawLetters(uint16_t* frameBuffer, int alignment, FSPoint body) const {
    if (!font_) return;
    const FSClipRect clip{body.x, body.y, body.x + body_.Width(), body.y + body_.Height()};
    for (int quarter = kFirstQuarter; quarter <= kLastQuarter; ++quarter) {
        const std::string_view letter(kLetters + (quarter + 3) % 4, 1);
        int32_t x = 0;
        if (!BearingX(90.0 * quarter, body.x, x)) continue;
        const int32_t y = body.y + body_.Height() / 2 - font_->TextHeight(letter) / 2;
        DrawTextClipped(*font_, frameBuffer, alignment, 0, kJustifyCentre, {x, y}, 0, letter, clip);
    }
}

void CFSCompass::DrawTicks(uint16_t* frameBuffer, int alignment, FSPoint body) const {
    const FSClipRect clip{body.x, body.y, body.x + body_.Width(), body.y + body_.Height()};
    const double left = heading_ - span_ / 2, right = left + span_;
    const auto ticks = [&](int32_t step, FSSize size, int32_t top) {
        for (int64_t b = static_cast<int64_t>(std::ceil(left / step)) * step; b < right; b += step) {
            int32_t x = 0;
            // No tick where a letter stands.
            if (b % 90 == 0 || !BearingX(static_cast<double>(b), body.x, x)) continue;
            DrawUprightRect(frameBuffer, alignment, {x, body.y + top}, size, tick_.get(), clip);
        }
    };
    ticks(kMajorStep, kMajorTick, kMajorTop);
    ticks(kMinorStep, kMinorTick, kMinorTop);
}

void CFSCompass::DrawTarget(uint16_t* frameBuffer, int alignment, FSPoint body) const {
    if (showTarget_ != 1) return;
    const double left = heading_ - span_ / 2, right = left + span_;
    // The target's bearing taken the short way round from the heading, so a gate just
    // across north is marked on the side it lies.
    const double target = target_ - 360.0 * std::floor((target_ - heading_ + 180.0) / 360.0);
    int32_t x = 0;
    if (!(target >= left && target <= right) ||
        !PixelOf(body.x + body_.Width() / 2 - targetMarker_.Width() / 2 +
                     ((target - heading_) / span_) * body_.Width(),
                 x))
        return;
    DrawUprightPicture(frameBuffer, alignment, {x, body.y - 2}, targetMarker_);
}
