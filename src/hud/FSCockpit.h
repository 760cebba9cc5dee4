#pragma once
// The aircraft's cockpit: bitmaps of the instrument panel copied round and over the 3-D
// view, read from a layout text in the huds archive, and the window of the small 3-D
// artificial horizon with its mask.
//
// Coordinates are pixels of the 240 x 320 portrait frame buffer. A landscape layout is
// written in its upright landscape pixels; loading turns its destination points into
// frame-buffer points, and drawing turns the copied rectangles with the matching blit
// rotation code. Widths and heights stay as written.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "hud/FSArtificialHorizon.h"
#include "resources/FSBitmap.h"

// A rectangle as written in a layout (pixels).
struct FSCockpitRect {
    int32_t x = 0, y = 0, w = 0, h = 0;
};

// Copy of the source rectangle (sx, sy, w, h) of image to the destination point (x, y).
struct FSCockpitCopy {
    int32_t image = 0;
    int32_t x = 0, y = 0, sx = 0, sy = 0, w = 0, h = 0;
};

// The same through the same-size rectangle at (mx, my) of the 8-bit mask image.
struct FSCockpitMask {
    int32_t image = 0, mask = 0;
    int32_t x = 0, y = 0, sx = 0, sy = 0, mx = 0, my = 0, w = 0, h = 0;
};

// The two record lists of "permanent" or of "temporary" lines, each in file order.
struct FSCockpitLayer {
    std::vector<FSCockpitCopy> copies;
    std::vector<FSCockpitMask> masks;
};

class CFSCockpit {
public:
    static constexpr const char* kPortraitLayout = "cocpit_portrait.txt";
    static constexpr const char* kLandscapeLayout = "cocpit_landscape.txt";

    // Draws the artificial horizon into block (16-bit 5-6-5, top row first, the horizon
    // window's w x h), already in frame-buffer orientation.
    using HorizonPainter = std::function<void(FSBitmap& block)>;

    // Reads "cocpits/<shortName>/cocpit_portrait.txt" (alignment 0) or
    // "cocpit_landscape.txt" (alignments 1 and 2, the landscape screens) from the huds
    // archive and the images it names from the same folder, replacing whatever was loaded.
    // Any other alignment reads the portrait layout and draws unturned. A missing layout
    // leaves the cockpit empty; an image that fails to load keeps its index with nothing
    // in it. False only when the layout could not be read.
    bool LoadCockpit(const std::string& shortName, const std::string& archivePath, int alignment);

    // The image a layout names, by its name within the cockpit's folder; null when missing.
    using ImageSource = std::function<FSBitmapHandle(const std::string& name)>;
    // What LoadCockpit does with the layout's text once read, its images from images.
    void LoadLayout(std::string_view text, const ImageSource& images, int alignment);

    // which: 0 both record lists, 1 the permanent ones, 2 the temporary ones, else neither;
    // in each, the copies then the masks in file order. Then, when the horizon window has a
    // size, the horizon block painted by horizon (if any) at the window's point, and the
    // horizon mask "ah_hr_mask" when highQuality, else "ah_lr_mask". frameBuffer is
    // 240 x 320 5-6-5. Rectangles partly outside their images or the frame buffer are cut
    // to what lies inside; records naming images that are not loaded draw nothing.
    void DrawCockpit(uint16_t* frameBuffer, int which, bool highQuality,
                     const HorizonPainter& horizon = nullptr);

    // The 3-D view ("screen"), as written.
    const FSCockpitRect& ScreenRect() const { return screen_; }
    bool PropellerVisible() const { return propellerVisible_; }
    // The propeller disc's three integers, as written.
    const int32_t* PropellerValues() const { return propeller_; }
    // The horizon window, its point turned into frame-buffer pixels.
    const FSCockpitRect& HorizonWindow() const { return horizonWindow_; }
    const FSCockpitLayer& Permanent() const { return permanent_; }
    const FSCockpitLayer& Temporary() const { return temporary_; }
    const FSCockpitMask& LowQualityHorizonMask() const { return lowQualityMask_; }
    const FSCockpitMask& HighQualityHorizonMask() const { return highQualityMask_; }
    size_t ImageCount() const { return images_.size(); }
    // The blit rotation code of the alignment loaded: 0 portrait, 3 and 1 landscape.
    int Rotation() const { return rotation_; }
    // The artificial horizon of the horizon window (sky over ground, centred in the window's
    // size); null when the layout has no window.
    CFSArtificialHorizon* Horizon() const { return horizon_.get(); }

private:
    void Clear();
    void ReadLine(const std::vector<std::string>& tokens, const ImageSource& images);
    void TurnPoints(int alignment);
    void DrawLayer(uint16_t* frameBuffer, const FSCockpitLayer& layer) const;
    void DrawCopy(uint16_t* frameBuffer, const FSCockpitCopy& copy) const;
    void DrawMask(uint16_t* frameBuffer, const FSCockpitMask& mask) const;
    void DrawHorizon(uint16_t* frameBuffer, const HorizonPainter& horizon);
    // The horizon window's size in the frame buffer: turned with a landscape layout.
    FSSize HorizonBlockSize() const;
    // The loaded image at index; null for an index outside the list or a failed load.
    const FSBitmap* Image(int32_t index) const;

    std::vector<FSBitmapHandle> images_;
    FSCockpitLayer permanent_, temporary_;
    FSCockpitMask lowQualityMask_, highQualityMask_;
    FSCockpitRect horizonWindow_, screen_;
    bool propellerVisible_ = false;
    int32_t propeller_[3] = {0, 0, 0};
    int rotation_ = 0;
    FSBitmapHandle horizonBlock_;  // kept between frames; the horizon window's size
    std::unique_ptr<CFSArtificialHorizon> horizon_;
};
