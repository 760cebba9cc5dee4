#pragma once
// The strip compass drawn at the top of the flight screen: a window on a band of bearings
// centred on the aircraft's heading, with the letters of the four cardinal points, a major
// tick every 45 degrees and a minor one every 9 (none where a letter stands), the player's
// marker at the centre and a marker at the bearing of the target gate.
#include <cstdint>
#include <string>

#include "hud/FSFont.h"
#include "hud/FSHudBlit.h"

class CFSCompass {
public:
    static constexpr const char* kBodyName = "compass/compass_body.bmp";
    static constexpr const char* kBodyMaskName = "compass/compass_body_mask.bmp";
    static constexpr const char* kPlayerName = "compass/compass_player_marker.bmp";
    static constexpr const char* kPlayerMaskName = "compass/compass_player_marker_mask.bmp";
    static constexpr const char* kTargetName = "compass/compass_marker.bmp";
    static constexpr const char* kTargetMaskName = "compass/compass_marker_mask.bmp";
    // Spans wider than this (ten turns) would pile the ticks onto single pixels; such a
    // strip, like one of no width, shows only the body and the player's marker.
    static constexpr double kMaxSpan = 3600.0;

    // Loads the pictures from the huds archive at archivePath; span is the degrees shown
    // across the body's width; font (not owned, may be null for no letters) must outlive
    // the compass. A picture that fails to load stays null and is not drawn. False when
    // any failed.
    bool Create(const std::string& archivePath, double span, const CFSFont* font);

    // Degrees; a finite value of 360 or more, or below 0, is wrapped into [0, 360).
    void SetHeading(double degrees);
    double Heading() const { return heading_; }
    void SetTargetBearing(double degrees) { target_ = degrees; }
    double TargetBearing() const { return target_; }
    // The target marker is drawn only when show is 1.
    void SetShowTarget(int show) { showTarget_ = show; }
    int ShowTarget() const { return showTarget_; }
    double Span() const { return span_; }

    // Draws into a 240 x 320 5-6-5 frame buffer for screen alignment 0, 1 or 2 (others
    // draw nothing). Nothing at all without the body.
    void Draw(uint16_t* frameBuffer, int alignment) const;

private:
    // Upright x of bearing b for a body at left, or false when it is not a finite pixel.
    bool BearingX(double b, int32_t left, int32_t& x) const;
    void DrawLetters(uint16_t* frameBuffer, int alignment, FSPoint body) const;
    void DrawTicks(uint16_t* frameBuffer, int alignment, FSPoint body) const;
    void DrawTarget(uint16_t* frameBuffer, int alignment, FSPoint body) const;

    FSHudPicture body_, player_, targetMarker_;
    FSBitmapHandle tick_;  // 2 x 20, all 0
    const CFSFont* font_ = nullptr;
    double heading_ = 0.0;
    double target_ = 60.0;
    double span_ = 135.0;
    int showTarget_ = 1;
};
