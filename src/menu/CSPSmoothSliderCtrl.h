#pragma once
// A slider whose value runs smoothly from 0 to 1: the held pad keys move it a step at a
// time, the stylus puts it where it touches. Only a lying slider is drawn.
#include "menu/MSPMenuCtrls.h"

class CSPSmoothSliderCtrl : public MSPMenuCtrls {
public:
    using MSPMenuCtrls::MSPMenuCtrls;

    // orientation 0 lies, 1 stands.
    void Init(uint16_t* screen, FSPoint position, int length, int orientation, float step);
    float Value() const { return value_; }
    void SetValue(float value);

    bool HitTest(FSPoint point) const override;
    int HandleAction(int code) override;
    void Draw() override;

private:
    uint16_t* screen_ = nullptr;
    FSPoint position_;
    FSSize size_;
    int orientation_ = 0;
    float value_ = 0.0f;
    float step_ = 0.0f;
};
