#pragma once
// The stylus touch-pad instrument: a square of the screen that steers the aircraft like a
// stick, drawn as a see-through picture over the flight. It keeps one rectangle per flight
// orientation ("screengame_align" 0, 1, 2), in that orientation's own pixels, which the
// stylus steering reads through a lookup, and the pad picture from "data\huds.zip".
//
// The picture is drawn as it is stored, without turning, at the device-screen corner of
// the rectangle: a landscape rectangle w x h covers h x w device pixels, so a 120 x 160
// picture fills the 120 x 160 portrait pad and the 160 x 120 landscape pads alike.
#include <array>
#include <cstdint>
#include <string>

#include "flight/FSTouchpadRect.h"
#include "resources/FSBitmap.h"

class CFSTouchpad {
public:
    // The picture and its mask inside the huds archive.
    static constexpr const char* kPictureName = "touchpad/touchpad.bmp";
    static constexpr const char* kMaskName = "touchpad/touchpad_mask.bmp";
    static constexpr int kAlignments = 3;

    // Stores the rectangle of an alignment: top-left corner and size in the pixels of that
    // orientation's upright screen, and the size of the dead zone centred in it. Other
    // alignments are ignored.
    void SetTouchpadRect(int alignment, FSPoint origin, FSSize size, FSSize deadZone);
    // The stored rectangle; false for an alignment other than 0, 1 and 2 or one never set.
    bool GetTouchpadRect(int alignment, FSTouchpadRect& rect) const;
    // A lookup for the aircraft holding a copy of the rectangles as they are now, so it
    // stays valid when the pad is released.
    FSTouchpadLookup Lookup() const;

    // Loads the picture and its mask from archivePath (a huds archive). False, with no
    // picture kept, when either is missing or unreadable, the picture is not 16-bit, the
    // mask not 8-bit, or the mask smaller than the picture.
    bool LoadImages(const std::string& archivePath);
    void ReleaseImages();
    bool HasImages() const { return picture_ != nullptr; }

    // Masked copy of the picture into a 240 x 320 5-6-5 device screen at the rectangle of
    // alignment, cut to that rectangle and to the screen. Nothing without a picture or a
    // rectangle for the alignment.
    void Draw(uint16_t* screen, int alignment) const;

private:
    std::array<FSTouchpadRect, kAlignments> rects_{};
    std::array<bool, kAlignments> set_{};
    FSBitmapHandle picture_;
    FSBitmapHandle mask_;
};
