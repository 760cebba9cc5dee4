#include "hud/FSCockpit.h"

#include <algorithm>
#include <limits>

#include "platform/FSDisplay.h"
#include "resources/FSArchive.h"
#include "resources/FSKeywordReader.h"

namespace {

constexpr FSSize kFrameBuffer{MFSDisplay::kWidth, MFSDisplay::kHeight};

int32_t Saturate(int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// The layout's numbers; beyond the int range they saturate.
int32_t Number(const std::vector<std::string>& tokens, size_t i) {
    return ToInt(tokens[i]);
}

// x y sx sy mx my w h img mask, from token first on.
FSCockpitMask ReadMask(const std::vector<std::string>& t, size_t first) {
    FSCockpitMask m;
    m.x = Number(t, first);
    m.y = Number(t, first + 1);
    m.sx = Number(t, first + 2);
    m.sy = Number(t, first + 3);
    m.mx = Number(t, first + 4);
    m.my = Number(t, first + 5);
    m.w = Number(t, first + 6);
    m.h = Number(t, first + 7);
    m.image = Number(t, first + 8);
    m.mask = Number(t, first + 9);
    return m;
}

// x y w h, from token 1 on.
FSCockpitRect ReadRect(const std::vector<std::string>& t) {
    return {Number(t, 1), Number(t, 2), Number(t, 3), Number(t, 4)};
}

// A landscape point (x, y) of a w x h rectangle as a frame-buffer point.
void Turn(int alignment, int32_t& x, int32_t& y, int32_t w, int32_t h) {
    const int64_t x0 = x, y0 = y;
    if (alignment == 1) {
        x = Saturate(y0);
        y = Saturate(int64_t{kFrameBuffer.h} - w - x0);
    } else if (alignment == 2) {
        x = Saturate(int64_t{kFrameBuffer.w} - h - y0);
        y = Saturate(x0);
    }
}

// Half-open span of a record's rectangle along one source axis, relative to the rectangle.
struct Span {
    int64_t lo, hi;
    void Keep(int64_t from, int64_t to) {
        lo = std::max(lo, from);
        hi = std::min(hi, to);
    }
};

// How a blit transform lays the source axes on the destination (see FSBitmap.h): whether
// destination x follows the source row, and whether x and y run backwards.
struct AxisMap {
    bool xFromRow, xReversed, yReversed;
};
constexpr AxisMap kAxisMaps[] = {{false, false, false}, {true, true, false},  {false, true, true},
                                 {true, false, true},   {false, true, false}, {false, false, true}};

// What remains of a copy after cutting it to its images and the frame buffer.
struct Clipped {
    FSPoint destination, source, mask;
    FSSize size;
};

// Cuts the w x h rectangle at source (and at maskPoint of mask, when given) to the parts
// inside the image, the mask and, once placed at destination with transform, the frame
// buffer. False when nothing remains or the transform is unknown. All sums in 64 bits, so
// any written numbers are safe.
bool Clip(int transform, FSPoint destination, FSSize size, FSPoint source, const FSBitmap& image,
          const FSBitmap* mask, FSPoint maskPoint, Clipped& out) {
    if (transform < 0 || transform > 5 || size.w <= 0 || size.h <= 0) return false;
    Span column{0, size.w}, row{0, size.h};
    column.Keep(-int64_t{source.x}, int64_t{image.width} - source.x);
    row.Keep(-int64_t{source.y}, int64_t{image.height} - source.y);
    if (mask) {
        column.Keep(-int64_t{maskPoint.x}, int64_t{mask->width} - maskPoint.x);
        row.Keep(-int64_t{maskPoint.y}, int64_t{mask->height} - maskPoint.y);
    }
    const AxisMap map = kAxisMaps[transform];
    Span& alongX = map.xFromRow ? row : column;
    Span& alongY = map.xFromRow ? column : row;
    const int64_t lengthX = map.xFromRow ? size.h : size.w;
    const int64_t lengthY = map.xFromRow ? size.w : size.h;
    // A reversed axis puts source offset v at X + length - 1 - v.
    const auto keepInside = [](Span& span, bool reversed, int64_t origin, int64_t length, int64_t limit) {
        if (reversed)
            span.Keep(origin + length - limit, origin + length);
        else
            span.Keep(-origin, limit - origin);
    };
    keepInside(alongX, map.xReversed, destination.x, lengthX, kFrameBuffer.w);
    keepInside(alongY, map.yReversed, destination.y, lengthY, kFrameBuffer.h);
    if (column.lo >= column.hi || row.lo >= row.hi) return false;
    const auto start = [](const Span& span, bool reversed, int64_t origin, int64_t length) {
        return static_cast<int32_t>(reversed ? origin + length - span.hi : origin + span.lo);
    };
    out.destination = {start(alongX, map.xReversed, destination.x, lengthX),
                       start(alongY, map.yReversed, destination.y, lengthY)};
    out.source = {static_cast<int32_t>(source.x + column.lo), static_cast<int32_t>(source.y + row.lo)};
    out.mask = {static_cast<int32_t>(maskPoint.x + column.lo), static_cast<int32_t>(maskPoint.y + row.lo)};
    out.size = {static_cast<int32_t>(column.hi - column.lo), static_cast<int32_t>(row.hi - row.lo)};
    return true;
}

}  // namespace

bool CFSCockpit::LoadCockpit(const std::string& shortName, const std::string& archivePath, int alignment) {
    Clear();
    const bool landscape = alignment == 1 || alignment == 2;
    const std::string folder = "cocpits/" + shortName + "/";
    const FSMemoryBlock text =
        ReadArchiveText(archivePath, folder + (landscape ? kLandscapeLayout : kPortraitLayout));
    if (!text) return false;
    ForEachTokenLine(TextOf(text),
                     [&](const std::vector<std::string>& tokens) { ReadLine(tokens, folder, archivePath); });
    TurnPoints(alignment);
    rotation_ = alignment == 1 ? 3 : alignment == 2 ? 1 : 0;
    return true;
}

void CFSCockpit::Clear() {
    images_.clear();
    permanent_ = temporary_ = FSCockpitLayer{};
    lowQualityMask_ = highQualityMask_ = FSCockpitMask{};
    horizonWindow_ = screen_ = FSCockpitRect{};
    propellerVisible_ = false;
    std::fill(std::begin(propeller_), std::end(propeller_), 0);
    rotation_ = 0;
    horizonBlock_.reset();
}

void CFSCockpit::ReadLine(const std::vector<std::string>& t, const std::string& folder,
                          const std::string& archivePath) {
    if (IsKeywordLine(t, "image", 2)) {
        images_.push_back(LoadBitmap(archivePath, folder + t[1], true));
        return;
    }
    for (FSCockpitLayer* layer : {&permanent_, &temporary_}) {
        const char* keyword = layer == &permanent_ ? "permanent" : "temporary";
        if (IsKeywordLine(t, keyword, 9) && t[1] == "copy") {
            // x y sx sy w h img
            layer->copies.push_back({Number(t, 8), Number(t, 2), Number(t, 3), Number(t, 4), Number(t, 5),
                                     Number(t, 6), Number(t, 7)});
        } else if (IsKeywordLine(t, keyword, 12) && t[1] == "mask") {
            layer->masks.push_back(ReadMask(t, 2));
        }
    }
    if (IsKeywordLine(t, "screen", 5)) {
        screen_ = ReadRect(t);
    } else if (IsKeywordLine(t, "aviahorizont", 5)) {
        horizonWindow_ = ReadRect(t);
    } else if (IsKeywordLine(t, "propeller", 5)) {
        propellerVisible_ = Number(t, 1) != 0;
        for (size_t i = 0; i < 3; ++i)
            propeller_[i] = Number(t, i + 2);
    } else if (IsKeywordLine(t, "ah_lr_mask", 11)) {
        lowQualityMask_ = ReadMask(t, 1);
    } else if (IsKeywordLine(t, "ah_hr_mask", 11)) {
        highQualityMask_ = ReadMask(t, 1);
    }
}

void CFSCockpit::TurnPoints(int alignment) {
    for (FSCockpitLayer* layer : {&permanent_, &temporary_}) {
        for (FSCockpitCopy& c : layer->copies)
            Turn(alignment, c.x, c.y, c.w, c.h);
        for (FSCockpitMask& m : layer->masks)
            Turn(alignment, m.x, m.y, m.w, m.h);
    }
    for (FSCockpitMask* m : {&lowQualityMask_, &highQualityMask_})
        Turn(alignment, m->x, m->y, m->w, m->h);
    Turn(alignment, horizonWindow_.x, horizonWindow_.y, horizonWindow_.w, horizonWindow_.h);
}

const FSBitmap* CFSCockpit::Image(int32_t index) const {
    // Layouts name images by index; an index the list does not hold names nothing.
    if (index < 0 || static_cast<size_t>(index) >= images_.size()) return nullptr;
    return images_[index].get();
}

void CFSCockpit::DrawCockpit(uint16_t* frameBuffer, int which, bool highQuality,
                             const HorizonPainter& horizon) {
    if (!frameBuffer) return;
    if (which == 0 || which == 1) DrawLayer(frameBuffer, permanent_);
    if (which == 0 || which == 2) DrawLayer(frameBuffer, temporary_);
    if (horizonWindow_.w == 0 || horizonWindow_.h == 0) return;
    DrawHorizon(frameBuffer, horizon);
    const FSCockpitMask& mask = highQuality ? highQualityMask_ : lowQualityMask_;
    if (mask.w != 0 && mask.h != 0) DrawMask(frameBuffer, mask);
}

void CFSCockpit::DrawLayer(uint16_t* frameBuffer, const FSCockpitLayer& layer) const {
    for (const FSCockpitCopy& copy : layer.copies)
        DrawCopy(frameBuffer, copy);
    for (const FSCockpitMask& mask : layer.masks)
        DrawMask(frameBuffer, mask);
}

void CFSCockpit::DrawCopy(uint16_t* frameBuffer, const FSCockpitCopy& copy) const {
    const FSBitmap* image = Image(copy.image);
    Clipped c;
    if (!image ||
        !Clip(rotation_, {copy.x, copy.y}, {copy.w, copy.h}, {copy.sx, copy.sy}, *image, nullptr, {}, c))
        return;
    BlitRect(frameBuffer, c.destination, kFrameBuffer, image, c.source, c.size, rotation_);
}

void CFSCockpit::DrawMask(uint16_t* frameBuffer, const FSCockpitMask& record) const {
    const FSBitmap* image = Image(record.image);
    const FSBitmap* mask = Image(record.mask);
    Clipped c;
    if (!image || !mask ||
        !Clip(rotation_, {record.x, record.y}, {record.w, record.h}, {record.sx, record.sy}, *image, mask,
              {record.mx, record.my}, c))
        return;
    BlitMaskedRect(frameBuffer, c.destination, kFrameBuffer, image, c.source, mask, c.mask, c.size,
                   rotation_);
}

void CFSCockpit::DrawHorizon(uint16_t* frameBuffer, const HorizonPainter& horizon) {
    const FSCockpitRect& window = horizonWindow_;
    // The horizon is read back from the 3-D surface, which is never larger than the screen
    // either way; a larger window has nothing to copy.
    const int32_t largest = std::max(kFrameBuffer.w, kFrameBuffer.h);
    if (!horizon || window.w <= 0 || window.h <= 0 || window.w > largest || window.h > largest) return;
    if (!horizonBlock_ || horizonBlock_->width != window.w || horizonBlock_->height != window.h)
        horizonBlock_ = CreateBitmap565(window.w, window.h);
    if (!horizonBlock_) return;
    std::fill(horizonBlock_->storage.begin(), horizonBlock_->storage.end(), uint16_t{0});
    horizon(*horizonBlock_);
    // The block is already in frame-buffer orientation.
    Clipped c;
    if (!Clip(0, {window.x, window.y}, {window.w, window.h}, {0, 0}, *horizonBlock_, nullptr, {}, c)) return;
    BlitRect(frameBuffer, c.destination, kFrameBuffer, horizonBlock_.get(), c.source, c.size, 0);
}
