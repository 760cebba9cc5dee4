#pragma once
// The menu screen that the stylus drives: enter and back call the screen's forward and
// back, and a tap on a title button (close, forward, back, from the right edge leftwards)
// does what the button says. Every screen derives from it and offers it each action first.
#include "menu/MSPMenuState.h"
#include "resources/FSBitmap.h"

class MSPStylusMenuState : public MSPMenuState {
public:
    using MSPMenuState::MSPMenuState;

    enum class TitleButton { None, Close, Forward, Back };
    // The title button whose rectangle (edges included) holds the point.
    TitleButton TitleButtonAt(FSPoint point) const;

protected:
    // 1 when the action was the screen's own (enter, back, a tap on a title button).
    // stylus: where the stylus was let go, in menu pixels.
    int HandleSharedAction(int action, FSPoint stylus);
    void DrawTitleButtons() override;

private:
    // Calls visit(button, picture, left) for each button shown, from the right edge.
    template <class Visit>
    void ForEachTitleButton(Visit visit) const;
};
