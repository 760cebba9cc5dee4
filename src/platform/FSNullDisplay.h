#pragma once
// The display that shows nothing: it only keeps the last frame (tests read it, the
// snapshot tool writes it to PNG). Events and keys come from whoever drives it.
#include "platform/FSDisplay.h"

class CFSNullDisplay : public MFSDisplay {
protected:
    void Show(const uint16_t*, int) override {}
};
