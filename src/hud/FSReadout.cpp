#include "hud/FSReadout.h"

#include <cstdio>

#include "hud/FSFont.h"
#include "resources/FSPixels.h"

void DrawTimeAndScore(const CFSFont& font, uint16_t* screen, int alignment, int32_t seconds, int32_t score,
                      bool withLabels) {
    const uint16_t colour = Pack565(0xFFCC00);
    // Portrait screens are 240 wide, landscape ones 320.
    const bool portrait = alignment == 0;
    const int32_t top = ReadoutTop(alignment);
    const FSPoint label1 = portrait ? FSPoint{70, top} : FSPoint{150, top};
    const FSPoint value1 = portrait ? FSPoint{235, top} : FSPoint{315, top};
    const FSPoint label2 = portrait ? FSPoint{70, top + 20} : FSPoint{150, top + 20};
    const FSPoint value2 = portrait ? FSPoint{235, top + 20} : FSPoint{315, top + 20};
    char text[32];
    FormatFlightTime(seconds, text, sizeof text);
    if (withLabels) DrawText(font, screen, alignment, 0, kJustifyLeft, label1, colour, "TIME");
    DrawText(font, screen, alignment, 0, kJustifyRight, value1, colour, text);
    std::snprintf(text, sizeof text, "%d", score);
    if (withLabels) DrawText(font, screen, alignment, 0, kJustifyLeft, label2, colour, "SCORE");
    DrawText(font, screen, alignment, 0, kJustifyRight, value2, colour, text);
}

void FormatFlightTime(int32_t seconds, char* text, int size) {
    const int32_t minutes = seconds / 60;
    std::snprintf(text, static_cast<size_t>(size), "%d:%02d", minutes, seconds - 60 * minutes);
}
