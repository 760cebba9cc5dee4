#pragma once
// The round instruments every cockpit shares, in one style: a shaded metal rim, a black
// face, white ticks and digits, a white needle on a dark hub. Only the rim's metal and the
// scales change from aircraft to aircraft. Needles are painted where they would rest in
// steady cruise; the moving instruments are the game's own.
#include <string>
#include <vector>

#include "databuild/CockpitArt.h"

// The rim's metal, lit from the top left.
struct Bezel {
    Rgba light, dark;
};
extern const Bezel kSteelBezel;
extern const Bezel kBlackBezel;
extern const Bezel kBrassBezel;

// A coloured part of a scale's arc (as fractions of the scale).
struct ScaleBand {
    float from, to;
    Rgba colour;
};

// A needle gauge's scale: the arc from `from` to `to` (degrees clockwise from twelve
// o'clock), `majors` long ticks spaced evenly along it (both ends included) with
// `minors` short ones between each pair, digits at the long ticks ("" for none).
struct GaugeScale {
    float from = -135, to = 135;
    int majors = 5;
    int minors = 1;
    std::vector<std::string> labels;
    std::vector<ScaleBand> bands;
    float needle = 0.3f;  // where the needle rests, as a fraction of the scale
    std::string caption;  // a word under the centre (or over it)
    bool captionAbove = false;
    float needle2 = -1;  // a second, short needle (altimeter thousands); < 0 none
};

// The rim and the empty face of an instrument of face radius r.
void DrawCase(CockpitArt& art, float cx, float cy, float r, const Bezel& bezel);
void DrawNeedle(CockpitArt& art, float cx, float cy, float length, float degrees, float width = 1.6f);
void DrawGauge(CockpitArt& art, float cx, float cy, float r, const Bezel& bezel, const GaugeScale& scale);
// A compass card with N, E, S, W and a fixed aircraft outline.
void DrawHeadingGauge(CockpitArt& art, float cx, float cy, float r, const Bezel& bezel, float heading);
// The small aircraft of the turn coordinator over its slip ball.
void DrawTurnGauge(CockpitArt& art, float cx, float cy, float r, const Bezel& bezel);
// A liquid compass: a card band seen through a window with a lubber line.
void DrawCompassBall(CockpitArt& art, float cx, float cy, float r, const Bezel& bezel);
// The artificial horizon's bezel round the art's horizon window: a rim, the dial punched
// clear for the game's horizon, bank marks, and the orange aircraft and bank pointer.
void DrawHorizonBezel(CockpitArt& art, const Bezel& bezel);
// A small round screw head.
void DrawScrew(CockpitArt& art, float cx, float cy, float r = 1.6f);
// A little indicator lamp.
void DrawLamp(CockpitArt& art, float cx, float cy, Rgba colour);
