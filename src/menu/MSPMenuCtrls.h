#pragma once
// What every menu control offers its screen: whether a point lies on it, the reaction to
// an action (the screens' action codes) and drawing itself into the menu's screen buffer.
// Controls read the stylus point, already in menu coordinates, from the frame values they
// were given (the application context's by default) and their shared pictures and fonts
// from the live MenuResources.
#include <cstdint>

#include "app/FSApplicationContext.h"
#include "base/FSSettingsBlocks.h"
#include "resources/FSBitmap.h"

class MSPMenuCtrls {
public:
    explicit MSPMenuCtrls(FSFrameValues& frame = GetApplicationContext()->frame) : frame_(&frame) {}
    virtual ~MSPMenuCtrls() = default;

    // Inclusive on all sides.
    virtual bool HitTest(FSPoint point) const = 0;
    // 1 when the action changed the control, 0 when the control does not use it.
    virtual int HandleAction(int code) = 0;
    virtual void Draw() = 0;

protected:
    FSPoint Stylus() const { return {frame_->stylusX, frame_->stylusY}; }
    FSFrameValues& Frame() const { return *frame_; }

private:
    FSFrameValues* frame_;
};
