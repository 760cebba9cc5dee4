#include "hud/FSCockpit.h"

#include <algorithm>
#include <limits>

#include "hud/FSHudBlit.h"
#include "platform/FSDisplay.h"
#include "resources/FSArchive.h"
#include "resources/FSKeywordReader.h"

namespace {

constexpr FSSize kFrameBuffer{MFSDisplay::kWidth, MFSDisplay::kHeight};

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

}  // namespace

bool CFSCockpit::LoadCockpit(const std::string& shortName, const std::string& archivePath, int alignment) {
    Clear();
    const bool landscape = alignment == 1 || alignment == 2;
    const std::string folder = "cocpits/" + shortName + "/";
    const FSMemoryBlock text =
        ReadArchiveText(archivePath, folder + (landscape ? kLandscapeLayout : kPortraitLayout));
    if (!text) return false;
    LoadLayout(
        TextOf(text), [&](const std::string& name) { return LoadBitmap(archivePath, folder + name, true); },
        alignment);
    return true;
}

void CFSCockpit::LoadLayout(std::string_view text, const ImageSource& images, int alignment) {
    Clear();
    ForEachTokenLine(text, [&](const std::vector<std::string>& tokens) { ReadLine(tokens, images); });
    TurnPoints(alignment);
    rotation_ = alignment == 1 ? 3 : alignment == 2 ? 1 : 0;
    if (horizonWindow_.w != 0 && horizonWindow_.h != 0) {
        // Drawn in the frame buffer's orientation, where a landscape window stands turned.
        const FSSize block = HorizonBlockSize();
        horizon_ = std::make_unique<CFSArtificialHorizon>(
            static_cast<float>(block.w) / 2, static_cast<float>(block.h) / 2,
            static_cast<float>(horizonWindow_.w) / 2, CFSArtificialHorizon::kSky,
            CFSArtificialHorizon::kGround);
    }
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
    horizon_.reset();
}

void CFSCockpit::ReadLine(const std::vector<std::string>& t, const ImageSource& images) {
    if (IsKeywordLine(t, "image", 2)) {
        images_.push_back(images(t[1]));
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
            TurnToFrameBuffer(alignment, c.x, c.y, c.w, c.h);
        for (FSCockpitMask& m : layer->masks)
            TurnToFrameBuffer(alignment, m.x, m.y, m.w, m.h);
    }
    for (FSCockpitMask* m : {&lowQualityMask_, &highQualityMask_})
        TurnToFrameBuffer(alignment, m->x, m->y, m->w, m->h);
    TurnToFrameBuffer(alignment, horizonWindow_.x, horizonWindow_.y, horizonWindow_.w, horizonWindow_.h);
}

FSSize CFSCockpit::HorizonBlockSize() const {
    const bool turned = rotation_ != 0;
    return {turned ? horizonWindow_.h : horizonWindow_.w, turned ? horizonWindow_.w : horizonWindow_.h};
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
    BlitClipped(frameBuffer, rotation_, {copy.x, copy.y}, {copy.w, copy.h}, Image(copy.image),
                {copy.sx, copy.sy});
}

void CFSCockpit::DrawMask(uint16_t* frameBuffer, const FSCockpitMask& record) const {
    const FSBitmap* mask = Image(record.mask);
    if (!mask) return;
    BlitClipped(frameBuffer, rotation_, {record.x, record.y}, {record.w, record.h}, Image(record.image),
                {record.sx, record.sy}, mask, {record.mx, record.my});
}

void CFSCockpit::DrawHorizon(uint16_t* frameBuffer, const HorizonPainter& horizon) {
    const FSCockpitRect& window = horizonWindow_;
    // The horizon is read back from the 3-D surface, which is never larger than the screen
    // either way; a larger window has nothing to copy.
    const int32_t largest = std::max(kFrameBuffer.w, kFrameBuffer.h);
    if (!horizon || window.w <= 0 || window.h <= 0 || window.w > largest || window.h > largest) return;
    const FSSize size = HorizonBlockSize();
    if (!horizonBlock_ || horizonBlock_->width != size.w || horizonBlock_->height != size.h)
        horizonBlock_ = CreateBitmap565(size.w, size.h);
    if (!horizonBlock_) return;
    std::fill(horizonBlock_->storage.begin(), horizonBlock_->storage.end(), uint16_t{0});
    horizon(*horizonBlock_);
    // The block is already in frame-buffer orientation.
    BlitClipped(frameBuffer, 0, {window.x, window.y}, size, horizonBlock_.get(), {0, 0});
}
