#pragma once
// A scroll bar: an arrow at each end and a thumb whose length shows how much of the range
// is in view. The held pad keys and the arrows move the value a step; the thumb can be
// dragged with the stylus.
#include "menu/MSPMenuCtrls.h"

class CSPScrollerCtrl : public MSPMenuCtrls {
public:
    using MSPMenuCtrls::MSPMenuCtrls;

    // orientation 0 lies, 1 stands.
    void Init(uint16_t* screen, FSPoint position, int length, int orientation);
    // Ignored when minimum > maximum; the value is kept inside.
    void SetRange(float minimum, float maximum);
    void SetValue(float value);
    float Value() const { return value_; }
    void SetStep(float step) { step_ = step; }
    int ThumbLength() const { return thumbLength_; }
    int ThumbOffset() const { return thumbOffset_; }

    bool HitTest(FSPoint point) const override;
    int HandleAction(int code) override;
    void Draw() override;

private:
    FSSize Arrow() const;
    int Extent() const { return orientation_ == 0 ? size_.w : size_.h; }
    // Pixels the thumb can travel.
    int Travel() const;
    // The stylus point along the bar.
    int Along(FSPoint p) const { return orientation_ == 0 ? p.x : p.y; }
    void UpdateThumb();
    int HandlePress();
    void DrawLying(const class MenuResources& r, FSSize arrow);
    void DrawStanding(const class MenuResources& r, FSSize arrow);

    uint16_t* screen_ = nullptr;
    FSPoint position_;
    FSSize size_;
    int orientation_ = 0;
    float step_ = 0.0f;
    float value_ = 0.0f;
    float minimum_ = 0.0f, maximum_ = 0.0f;
    int thumbOffset_ = 0;
    int thumbLength_ = 0;
    int dragStartValue_ = 0;
    bool dragging_ = false;
    FSPoint dragStart_;
};
