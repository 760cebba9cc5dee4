// Reading an aircraft description, "Aircraft%d.txt" in "data\aircrafts.zip" (word style,
// keywords case-sensitive):
//
//   // comment                      # description text (for the selection screen)
//   FuselageNose a b c incidence dihedral area     (and the nine other plate keywords)
//   CG a b c          Mass kg         Inertia x y z (kg·m², about body x, y, z)
//   Pitch min max k   Roll min max k  Yaw min max k (degrees; k scales the rate)
//   Throttle min max k (newtons; k is the part of the range one command moves)
//   Fuel reserve capacity flow (kg, kg, kg/s)
//
// A position (a, b, c) is written longitudinal, vertical, lateral in metres and becomes the
// body vector (c, a, b) km. Every value goes through the near-zero rule as it is read (a
// magnitude not above 1e-6 is 0), and again after the angle conversions and the scalings of
// the vectors; a missing value is 0. Unknown keywords, the description text and other
// keys of the file (the game controller's) are skipped.
#include <locale.h>
#include <stdlib.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "flight/FSAircraft.h"
#include "platform/FSDisplay.h"
#include "resources/FSArchive.h"
#include "resources/FSKeywordReader.h"

namespace {

constexpr double kDegreesToRadians = 0.017453292;
constexpr float kMetresToKm = 0.001f;
// m² → km² and kg·m² → kg·km² (the game's constant, a hair above 1e-6).
constexpr float kSquareMetresToKm2 = 1.0000001e-6f;

// The number the word begins with, as the C library reads it in the "C" locale.
double ParseDouble(std::string_view word) {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
    const std::string text(word);
    return c ? strtod_l(text.c_str(), nullptr, c) : std::strtod(text.c_str(), nullptr);
}

// A double result narrowed to single precision; beyond its range, infinity.
float Narrow(double value) {
    if (value > FLT_MAX) return HUGE_VALF;
    if (value < -FLT_MAX) return -HUGE_VALF;
    return static_cast<float>(value);
}

// A double result narrowed with the near-zero rule.
float NarrowRule(double value) {
    return std::fabs(value) > kNearZero ? Narrow(value) : 0.0f;
}

// The next value of a line. Not-a-number, infinities and numbers beyond single precision
// only come from a damaged file and would spread through the whole model: they read as 0,
// like a missing value.
float NextValue(FSWords& words) {
    const double value = ParseDouble(words.Next());
    if (!std::isfinite(value) || std::fabs(value) > FLT_MAX) return 0.0f;
    return NarrowNearZero(value);
}

// Degrees to radians, with the rule.
float Radians(float degrees) {
    return NarrowRule(static_cast<double>(degrees) * kDegreesToRadians);
}

// The limits and rate of a control: min, max (degrees), k. The rate is the travel times
// k times 1.85, the last product in double precision.
void ReadControl(FSWords& words, float& min, float& max, float& rate) {
    min = Radians(NextValue(words));
    max = Radians(NextValue(words));
    const float k = NextValue(words);
    rate = Narrow(static_cast<double>((max - min) * k) * 1.85);
}

}  // namespace

void CFSAircraft::Load(const std::string& memberName) {
    LoadDescription(ReadArchiveText(DescriptionArchive(), memberName));
}

void CFSAircraft::LoadDescription(const FSMemoryBlock& text) {
    surfaces.assign(static_cast<size_t>(surfaceCount > 0 ? surfaceCount : 0), AircraftSurface{});

    cg = FSVector();
    mass = 0.0f;
    inertia = FSVector();
    pitchControl = pitchMin = pitchMax = pitchRate = 0.0f;
    rollControl = rollMin = rollMax = rollRate = 0.0f;
    yawControl = yawMin = yawMax = yawRate = 0.0f;
    throttle = throttleMin = throttleMax = throttleStep = 0.0f;
    fuel = fuelReserve = fuelCapacity = fuelFlow = 0.0f;

    Parse(text);

    const size_t described = surfaces.size() < kBaseSurfaceCount ? surfaces.size() : kBaseSurfaceCount;
    for (size_t i = 0; i < described; ++i)
        surfaces[i].position -= cg;
    SetFuelFraction(1.0f);
    InitialTrim();
}

void CFSAircraft::Parse(const FSMemoryBlock& text) {
    if (!text) {
        platform::ShowMessageBox("Error", "buffer is NULL! (File not found)");
        return;
    }
    ParseText(TextOf(text));
}

void CFSAircraft::ParseText(std::string_view text) {
    ForEachWordLine(text, [this](std::string_view line) { ParseLine(line); });
}

bool CFSAircraft::ParseLine(std::string_view line) {
    FSWords words(line);
    const std::string_view keyword = words.Next();
    if (KindOfFirstWord(keyword) != FSWordLineKind::Keyword) return true;

    for (int i = 0; i < kBaseSurfaceCount; ++i) {
        if (keyword != kSurfaceKeywords[i]) continue;
        // An aircraft cut down to fewer plates has no place for this one.
        if (static_cast<size_t>(i) >= surfaces.size()) return true;
        AircraftSurface surface;
        surface.position.y = NextValue(words);
        surface.position.z = NextValue(words);
        surface.position.x = NextValue(words);
        surface.incidence = Radians(NextValue(words));
        surface.dihedral = Radians(NextValue(words));
        surface.area = NextValue(words);
        surface.position = surface.position * kMetresToKm;
        surface.area *= kSquareMetresToKm2;
        surfaces[static_cast<size_t>(i)] = surface;
        return true;
    }

    if (keyword == "CG") {
        // One line sets the centre of gravity; a second one replaces it, as a second plate
        // line does. Adding its metres to the kilometres of the first and scaling the sum
        // again would shrink the first line a thousandfold.
        const float a = NextValue(words);
        const float b = NextValue(words);
        const float c = NextValue(words);
        cg = FSVector(c, a, b) * kMetresToKm;
    } else if (keyword == "Mass") {
        mass = NextValue(words);
    } else if (keyword == "Inertia") {
        const float x = NextValue(words);
        const float y = NextValue(words);
        const float z = NextValue(words);
        inertia = FSVector(x, y, z) * kSquareMetresToKm2;
    } else if (keyword == "Pitch") {
        ReadControl(words, pitchMin, pitchMax, pitchRate);
    } else if (keyword == "Roll") {
        ReadControl(words, rollMin, rollMax, rollRate);
    } else if (keyword == "Yaw") {
        ReadControl(words, yawMin, yawMax, yawRate);
    } else if (keyword == "Throttle") {
        // Newtons to kilonewtons.
        throttleMin = Narrow(static_cast<double>(NextValue(words)) * 0.001);
        throttleMax = Narrow(static_cast<double>(NextValue(words)) * 0.001);
        throttleStep = (throttleMax - throttleMin) * NextValue(words);
    } else if (keyword == "Fuel") {
        fuelReserve = NextValue(words);
        fuelCapacity = NextValue(words);
        fuelFlow = NextValue(words);
    } else {
        return false;
    }
    return true;
}
