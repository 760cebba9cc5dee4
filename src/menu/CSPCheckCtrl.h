#pragma once
// A check box: off, on, or hidden (drawn as nothing and deaf to actions). Left, right and
// a stylus press on the box toggle it.
#include "menu/MSPMenuCtrls.h"

class CSPCheckCtrl : public MSPMenuCtrls {
public:
    enum State : int { kOff = 0, kOn = 1, kHidden = 2 };

    using MSPMenuCtrls::MSPMenuCtrls;

    // The size is that of the "on" picture.
    void Init(uint16_t* screen, FSPoint position);
    int State() const { return state_; }
    void SetState(int state) { state_ = state; }

    bool HitTest(FSPoint point) const override;
    int HandleAction(int code) override;
    void Draw() override;

private:
    int state_ = kOff;
    uint16_t* screen_ = nullptr;
    FSPoint position_;
    FSSize size_;
};
