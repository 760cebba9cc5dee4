#pragma once
// A slider with count positions (0 .. count - 1) and a tick at each inner one: the pad keys
// move it a position at a time, a stylus press picks the nearest position. Only a lying
// slider is drawn.
#include "menu/MSPMenuCtrls.h"

class CSPDiscreteSliderCtrl : public MSPMenuCtrls {
public:
    using MSPMenuCtrls::MSPMenuCtrls;

    void Init(uint16_t* screen, FSPoint position, int length, int orientation, int count);
    int Index() const { return index_; }
    void SetIndex(int index);

    bool HitTest(FSPoint point) const override;
    int HandleAction(int code) override;
    void Draw() override;

private:
    uint16_t* screen_ = nullptr;
    FSPoint position_;
    FSSize size_;
    int orientation_ = 0;
    int index_ = 0;
    int count_ = 0;
};
