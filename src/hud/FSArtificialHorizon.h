#pragma once
// The artificial horizon: a small 3-D instrument, a sky square over a ground square that
// turns with the aircraft's bank and slides with its pitch, drawn through GL into a corner
// of the 3-D surface, read back and laid into the cockpit's horizon window. The same
// instrument in other colours and sizes serves as the game's target indicator.
#include <cstdint>

#include "resources/FSBitmap.h"

struct FSHorizonColour {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 1.0f;
};

class CFSArtificialHorizon {
public:
    static constexpr const char* kTextureName = "avia.png";
    static constexpr FSHorizonColour kSky{0.6431373f, 0.772549f, 0.7921569f, 1.0f};
    static constexpr FSHorizonColour kGround{0.5215687f, 0.3686275f, 0.2470588f, 1.0f};

    // centre and half-size in pixels of the 3-D surface (bottom-left origin).
    CFSArtificialHorizon(float centreX, float centreY, float halfSize, FSHorizonColour sky,
                         FSHorizonColour ground);

    // pitch and bank in radians, as the aircraft reports its attitude. The roll is kept as
    // bank + pi in [0, 2 pi) (degrees, 16.16): level flight is 180 degrees. The offset moves
    // the horizon line by the half-size at 90 degrees of pitch (pixels, 16.16). Values that
    // are not numbers leave the instrument as it was.
    void SetAttitude(float pitch, float bank);
    int32_t Roll() const { return roll_; }
    int32_t Offset() const { return offset_; }
    int32_t HalfSize() const { return half_; }

    // Draws into the current GL surface, leaving its state as it found it except for the
    // bound texture. alignment turns the picture with the screen ("screengame_align");
    // quality 0 draws plain colours, else the face texture (a GL name, 0 for none) over them.
    void Draw(int alignment, int quality, uint32_t texture) const;

private:
    int32_t centreX_ = 0, centreY_ = 0, half_ = 0;  // 16.16
    FSHorizonColour sky_, ground_;
    int32_t roll_ = 180 * 65536;
    int32_t offset_ = 0;
};

// The horizon pass: draws horizon into the block-sized bottom-left corner of the current
// surface (surfaceWidth x surfaceHeight, which must hold it), on black, with its own
// projection, and reads the corner back into block (5-6-5, top row first). Every GL state it
// changes is restored. False, and block untouched, when the block does not fit.
bool PaintHorizon(const CFSArtificialHorizon& horizon, int alignment, int quality, uint32_t texture,
                  int surfaceWidth, int surfaceHeight, FSBitmap& block);
