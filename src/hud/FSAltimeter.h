#pragma once
// The strip altimeter drawn along the side of the flight screen: a vertical window on a
// band of heights (km) centred on the aircraft's height, with ticks every tenth, half and
// whole km, the arrow with the height printed beside it, and a marker at the target
// height.
#include <cstdint>
#include <string>

#include "hud/FSFont.h"
#include "hud/FSHudBlit.h"

class CFSAltimeter {
public:
    static constexpr const char* kBodyName = "altimeter/altimeter_body.bmp";
    static constexpr const char* kBodyMaskName = "altimeter/altimeter_body_mask.bmp";
    static constexpr const char* kArrowName = "altimeter/altimeter_arrow.bmp";
    static constexpr const char* kArrowMaskName = "altimeter/altimeter_arrow_mask.bmp";
    static constexpr const char* kMarkerName = "altimeter/marker.bmp";
    static constexpr const char* kMarkerMaskName = "altimeter/marker_mask.bmp";
    // Windows taller than this (km) would pile the ticks onto single pixels; such a window,
    // like one of no height, shows no ticks and no marker.
    static constexpr double kMaxSpan = 1000.0;

    // Loads the pictures from the huds archive at archivePath; span is the km shown over
    // the body's height; font (not owned, may be null for no figures) must outlive the
    // altimeter. A picture that fails to load stays null and is not drawn. False when any
    // failed.
    bool Create(const std::string& archivePath, double span, const CFSFont* font);

    // km
    void SetValue(double km) { value_ = km; }
    double Value() const { return value_; }
    void SetTargetValue(double km) { target_ = km; }
    double TargetValue() const { return target_; }
    // The marker is drawn only when show is 1.
    void SetShowTarget(int show) { showTarget_ = show; }
    int ShowTarget() const { return showTarget_; }
    double Span() const { return span_; }

    // Draws into a 240 x 320 5-6-5 frame buffer for screen alignment 0, 1 or 2 (others
    // draw nothing). Nothing at all without the body.
    void Draw(uint16_t* frameBuffer, int alignment) const;

private:
    // Upright y of height t for a body at top, or false when it is not a finite pixel.
    bool HeightY(double t, int32_t top, int32_t& y) const;
    void DrawTicks(uint16_t* frameBuffer, int alignment, FSPoint body) const;

    FSHudPicture body_, arrow_, marker_;
    FSBitmapHandle tick_;  // 10 x 4, all 0
    const CFSFont* font_ = nullptr;
    double value_ = 0.0;
    double target_ = 3.75;
    double span_ = 1.5;
    int showTarget_ = 1;
};
