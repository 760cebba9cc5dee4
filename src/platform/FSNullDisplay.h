#pragma once
// The display that shows nothing: it only keeps the last frame (tests read it, the
// snapshot tool writes it to PNG). Events and keys come from whoever drives it.
#include "platform/FSDisplay.h"

class CFSNullDisplay : public MFSDisplay {
public:
    // Stands in for a window's state: full screen or not, and the scale it shows at.
    void SetWindowState(bool fullScreen, int scale) {
        NoteFullScreen(fullScreen);
        NotePictureScale(scale);
    }

protected:
    void Show(const uint16_t*, int) override {}
};
