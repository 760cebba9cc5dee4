// The five aircraft's cockpits of huds.zip: for each, a portrait and a landscape layout
// with the panel pictures, their masks and the artificial horizon's bezel.
//
// Each layout names one picture of the whole upright screen (with spare rows below for
// overlays) and its 8-bit mask. The panel below the 3-D view is copied whole; the frames,
// sights and shield edge over the view are drawn through the mask in tight rectangles
// found from the mask itself, so the blends touch only the pixels that need them; the
// overlays are the temporary records; the horizon's bezel is the window's part of the
// same picture through the same mask.
#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "common/ImageFiles.h"
#include "databuild/ArchiveBuilder.h"
#include "databuild/CockpitDesigns.h"
#include "databuild/DataGenerators.h"

namespace {

constexpr int kBandRows = 8;  // the height of the mask rectangles over the view
constexpr int kJoinGap = 12;  // clear columns shorter than this do not split a rectangle

struct Picture {
    int width = 0, height = 0;
    std::vector<uint16_t> colour;
    std::vector<uint8_t> alpha;
    uint8_t Alpha(int x, int y) const { return alpha[static_cast<size_t>(y) * width + x]; }
};

Picture ToPicture(const Canvas& canvas) {
    Picture p;
    p.width = canvas.Width(), p.height = canvas.Height();
    p.colour.resize(static_cast<size_t>(p.width) * p.height);
    p.alpha.resize(p.colour.size());
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const Rgba c = canvas.At(x, y);
            const size_t i = static_cast<size_t>(y) * p.width + x;
            // Fully clear pixels are never seen: keep them black, which packs smaller.
            p.colour[i] = c.a == 0 ? 0 : To565(c);
            p.alpha[i] = c.a;
        }
    }
    return p;
}

// "x y sx sy mx my w h 0 1" of a rectangle shown where it was painted.
std::string InPlace(int x, int y, int w, int h) {
    std::ostringstream out;
    out << x << ' ' << y << ' ' << x << ' ' << y << ' ' << x << ' ' << y << ' ' << w << ' ' << h << " 0 1";
    return out.str();
}

// The mask records over the view: rows in bands, each band cut into runs of columns that
// hold anything, joined across short gaps.
void ViewMasks(const Picture& p, int viewRows, std::ostringstream& out) {
    for (int y0 = 0; y0 < viewRows; y0 += kBandRows) {
        const int rows = std::min(kBandRows, viewRows - y0);
        int runStart = -1, lastUsed = -1;
        auto close = [&]() {
            if (runStart >= 0)
                out << "permanent mask " << InPlace(runStart, y0, lastUsed + 1 - runStart, rows) << '\n';
            runStart = -1;
        };
        for (int x = 0; x < p.width; ++x) {
            bool used = false;
            for (int y = y0; y < y0 + rows && !used; ++y)
                used = p.Alpha(x, y) != 0;
            if (!used) continue;
            if (runStart >= 0 && x - lastUsed > kJoinGap) close();
            if (runStart < 0) runStart = x;
            lastUsed = x;
        }
        close();
    }
}

std::string Layout(const std::string& name, const std::string& stem, const CockpitArt& art,
                   const Picture& p) {
    const int w = art.Width(), h = art.Height(), top = art.PanelTop();
    std::ostringstream out;
    out << "// " << name << " cockpit, " << w << " x " << h << ": the panel below the 3-D view,\n"
        << "// the frames over it through the mask, the artificial horizon's bezel.\n"
        << "image " << stem << ".bmp\n"
        << "image " << stem << "_mask.bmp\n"
        << "screen 0 0 " << w << ' ' << top << '\n'
        << "permanent copy 0 " << top << " 0 " << top << ' ' << w << ' ' << h - top << " 0\n";
    ViewMasks(p, top, out);
    for (const CockpitArt::Overlay& o : art.Overlays()) {
        out << "temporary mask " << o.x << ' ' << o.y << ' ' << o.source.x << ' ' << o.source.y << ' '
            << o.source.x << ' ' << o.source.y << ' ' << o.source.w << ' ' << o.source.h << " 0 1\n";
    }
    const ArtRect& window = art.Horizon();
    out << "aviahorizont " << window.x << ' ' << window.y << ' ' << window.w << ' ' << window.h << '\n'
        << "ah_hr_mask " << InPlace(window.x, window.y, window.w, window.h) << '\n'
        << "ah_lr_mask " << InPlace(window.x, window.y, window.w, window.h) << '\n'
        << "propeller 0 0 0 0\n";
    return out.str();
}

}  // namespace

bool AddCockpits(ArchiveBuilder& archive, const DataSources& sources) {
    bool ok = true;
    for (const CockpitDesign& design : CockpitDesigns()) {
        for (const bool landscape : {false, true}) {
            const CockpitArt art = design.paint(landscape);
            const Picture p = ToPicture(art.Finish(sources.regularFont, sources.boldFont));
            const std::string folder = std::string("cocpits/") + design.name + "/";
            const std::string stem = landscape ? "panel_landscape" : "panel_portrait";
            ok = archive.Add(folder + stem + ".bmp", Encode565Bmp(p.colour, p.width, p.height, false)) && ok;
            ok = archive.Add(folder + stem + "_mask.bmp", EncodeMaskBmp(p.alpha, p.width, p.height)) && ok;
            ok = archive.AddText(folder + (landscape ? "cocpit_landscape.txt" : "cocpit_portrait.txt"),
                                 Layout(design.name, stem, art, p)) &&
                 ok;
        }
    }
    return ok;
}
