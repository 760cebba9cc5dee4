#pragma once
// Copies of HUD pictures into the 240 x 320 portrait frame buffer, laid out in the pixels
// of the screen as it stands upright in each orientation ("screengame_align" 0 portrait,
// 1 and 2 the two landscapes), and cut to what lies inside the pictures and the frame
// buffer so that no placement, however far off, writes outside it.
#include <cstdint>
#include <string>

#include "hud/FSFont.h"
#include "resources/FSBitmap.h"

// A picture and its 8-bit coverage mask from the huds archive.
struct FSHudPicture {
    FSBitmapHandle image;
    FSBitmapHandle mask;

    // Both rows-top-down from archivePath; on any failure (missing member, a picture that is
    // not 16-bit, a mask that is not 8-bit) both handles stay null and false is returned.
    bool Load(const std::string& archivePath, const std::string& imageName, const std::string& maskName);
    bool Loaded() const { return image != nullptr; }
    int32_t Width() const { return image ? image->width : 0; }
    int32_t Height() const { return image ? image->height : 0; }
};

// The upright screen of an alignment: 240 x 320 for 0, 320 x 240 for 1 and 2.
FSSize UprightScreen(int alignment);
// The blit rotation code turning an upright picture onto the frame buffer: 0, 3, 1; -1 for
// an alignment without a screen.
int RotationCode(int alignment);
// The frame-buffer point of the top-left corner of a w x h rectangle at upright (x, y):
// (y, 320 - w - x) in alignment 1, (240 - h - y, x) in alignment 2, unchanged otherwise.
// Saturates at the int range.
void TurnToFrameBuffer(int alignment, int32_t& x, int32_t& y, int32_t w, int32_t h);

// Copies the size rectangle of image at source with transform so that it covers the area
// whose top-left frame-buffer point is destination; through the same rectangle of mask at
// maskPoint when mask is given. Cut to the image, the mask and the frame buffer; nothing
// for a null image or an unknown transform.
void BlitClipped(uint16_t* frameBuffer, int transform, FSPoint destination, FSSize size,
                 const FSBitmap* image, FSPoint source, const FSBitmap* mask = nullptr,
                 FSPoint maskPoint = {});

// The whole picture through its mask at upright point of alignment; nothing when either
// is missing.
void DrawUprightPicture(uint16_t* frameBuffer, int alignment, FSPoint point, const FSHudPicture& picture);
// The top-left size rectangle of image (no mask) at upright point, cut to the upright
// rectangle clip first.
void DrawUprightRect(uint16_t* frameBuffer, int alignment, FSPoint point, FSSize size, const FSBitmap* image,
                     const FSClipRect& clip);

// An instrument's computed position as a pixel (truncated toward 0); false for NaN, an
// infinity or a position beyond a million pixels, which lies off any screen anyway.
bool PixelOf(double position, int32_t& pixel);
