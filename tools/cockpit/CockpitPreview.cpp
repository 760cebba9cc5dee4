// aerovant-cockpit-preview: pictures of the five cockpits in the built huds.zip, for
// checking them by eye. Each layout is read and drawn by the game's own CFSCockpit over a
// plain sky and ground, with a level horizon in its window and the places of the game's
// own instruments (strip compass, strip altimeter and its tag, status text, time) shaded.
//
// usage: aerovant-cockpit-preview <data folder> <output folder>
//   writes cockpits-portrait.png and cockpits-landscape.png (all five at 1x, upright) and
//   cockpit-<name>-<portrait|landscape>.png at 3x.
#include <cstdio>
#include <string>
#include <vector>

#include "common/Canvas.h"
#include "common/ImageFiles.h"
#include "hud/FSCockpit.h"
#include "hud/FSHudBlit.h"

namespace {

const char* const kNames[] = {"C172R", "Su29", "L29", "L13", "Fokker"};
constexpr int kFrameWidth = 240, kFrameHeight = 320;

uint16_t Pack(int r, int g, int b) {
    return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

// The upright picture of the frame buffer for an alignment.
Canvas Upright(const std::vector<uint16_t>& frame, int alignment) {
    const FSSize size = UprightScreen(alignment);
    const Canvas fb = CanvasFrom565(frame.data(), kFrameWidth, kFrameHeight);
    Canvas out(size.w, size.h);
    for (int y = 0; y < size.h; ++y) {
        for (int x = 0; x < size.w; ++x) {
            int32_t fx = x, fy = y;
            TurnToFrameBuffer(alignment, fx, fy, 1, 1);
            out.At(x, y) = fb.At(fx, fy);
        }
    }
    return out;
}

// Sky over ground with a few furrows, level at the upright screen's middle, in the frame
// buffer's orientation.
std::vector<uint16_t> Scenery(int alignment) {
    const FSSize size = UprightScreen(alignment);
    std::vector<uint16_t> frame(kFrameWidth * kFrameHeight);
    for (int y = 0; y < size.h; ++y) {
        for (int x = 0; x < size.w; ++x) {
            const bool sky = y < size.h / 2;
            const int shade = sky ? y * 60 / size.h : ((x / 12 + y / 6) % 2) * 18;
            const uint16_t c = sky ? Pack(110 + shade, 160 + shade, 230) : Pack(90 + shade, 120 + shade, 60);
            int32_t fx = x, fy = y;
            TurnToFrameBuffer(alignment, fx, fy, 1, 1);
            frame[fy * kFrameWidth + fx] = c;
        }
    }
    return frame;
}

// The game's own instruments' places, shaded over the upright picture.
void ShadeInstruments(Canvas& picture, bool landscape) {
    const Rgba shade = {255, 0, 255, 70};
    const int w = picture.Width();
    picture.FillRect(landscape ? 85 : 45, 2, 150, 24, shade);              // strip compass
    picture.FillRect(w - 20, landscape ? 45 : 85, 20, 150, shade);         // strip altimeter
    picture.FillRect(w - 65, landscape ? 112 : 152, 42, 16, shade);        // its tag
    picture.FillRect(5, 5, 60, 40, shade);                                 // status text
    picture.FillRect(w - 60, 5, 55, 12, {shade.r, shade.g, shade.b, 40});  // time and score
}

// The records and how much of the view stays clear (the view's pixels that differ when
// drawn over black and over white).
void Report(CFSCockpit& cockpit, const char* name, int alignment) {
    std::vector<uint16_t> black(kFrameWidth * kFrameHeight, 0), white(black.size(), 0xFFFF);
    cockpit.DrawCockpit(black.data(), 0, true);
    cockpit.DrawCockpit(white.data(), 0, true);
    const FSCockpitRect& s = cockpit.ScreenRect();
    int clear = 0;
    for (int y = s.y; y < s.y + s.h; ++y) {
        for (int x = s.x; x < s.x + s.w; ++x) {
            int32_t fx = x, fy = y;
            TurnToFrameBuffer(alignment, fx, fy, 1, 1);
            clear += black[fy * kFrameWidth + fx] != white[fy * kFrameWidth + fx];
        }
    }
    std::printf("%-6s %-9s %zu copies, %zu masks, %zu temporary; view %.1f %% clear\n", name,
                alignment == 0 ? "portrait" : "landscape", cockpit.Permanent().copies.size(),
                cockpit.Permanent().masks.size(), cockpit.Temporary().masks.size(),
                100.0 * clear / (s.w * s.h));
}

Canvas Enlarge(const Canvas& c, int factor) {
    Canvas out(c.Width() * factor, c.Height() * factor);
    for (int y = 0; y < out.Height(); ++y) {
        for (int x = 0; x < out.Width(); ++x)
            out.At(x, y) = c.At(x / factor, y / factor);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <data folder> <output folder>\n", argv[0]);
        return 2;
    }
    const std::string huds = std::string(argv[1]) + "/huds.zip", out = std::string(argv[2]) + "/";
    bool ok = true;
    for (const int alignment : {0, 1}) {
        const bool landscape = alignment == 1;
        // A level horizon, in the frame buffer's orientation: upright up is the frame
        // buffer's left in landscape.
        const auto horizon = [landscape](FSBitmap& block) {
            for (int y = 0; y < block.height; ++y) {
                for (int x = 0; x < block.width; ++x) {
                    const bool sky = landscape ? x < block.width / 2 : y < block.height / 2;
                    block.Pixels()[y * block.Stride() + x] = sky ? Pack(164, 197, 202) : Pack(133, 94, 63);
                }
            }
        };
        const FSSize size = UprightScreen(alignment);
        Canvas sheet(size.w * 5 + 40, size.h, {40, 40, 40, 255});
        for (int i = 0; i < 5; ++i) {
            CFSCockpit cockpit;
            if (!cockpit.LoadCockpit(kNames[i], huds, alignment)) {
                std::fprintf(stderr, "no layout for %s\n", kNames[i]);
                ok = false;
                continue;
            }
            std::vector<uint16_t> frame = Scenery(alignment);
            cockpit.DrawCockpit(frame.data(), 0, true, horizon);
            Report(cockpit, kNames[i], alignment);
            Canvas picture = Upright(frame, alignment);
            ShadeInstruments(picture, landscape);
            for (int y = 0; y < size.h; ++y) {
                for (int x = 0; x < size.w; ++x)
                    sheet.At(i * (size.w + 10) + x, y) = picture.At(x, y);
            }
            const std::string name =
                out + "cockpit-" + kNames[i] + (landscape ? "-landscape" : "-portrait") + ".png";
            ok = WriteFile(name, EncodePng(Enlarge(picture, 3), false)) && ok;
        }
        ok = WriteFile(out + (landscape ? "cockpits-landscape.png" : "cockpits-portrait.png"),
                       EncodePng(sheet, false)) &&
             ok;
    }
    return ok ? 0 : 1;
}
