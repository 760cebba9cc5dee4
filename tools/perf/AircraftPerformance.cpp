// aerovant-perf: the performance of the five game aircraft as the game's own flight model
// flies them, at sea level, against the published figures of the real aircraft.
//
// usage: aerovant-perf <data folder> [--check]
//   Loads Aircraft1.txt .. Aircraft5.txt from <data folder>/aircrafts.zip as the game does
//   (CSPAircraft, full tanks) and prints, for each, the stall speed clean and with the flaps
//   down, the top speed, the best climb at full thrust and the service ceiling (where that
//   climb falls below 0.5 m/s), and for the glider the minimum sink and the best glide,
//   each beside its published figure with the difference and the verdict. With --check the
//   exit status is 1 when a figure is out of its tolerance (or an aircraft does not load).
//
// The jet trainer's climb cannot come down to its figure either: the thrust does not fall
// with speed and every plate has the same drag at zero angle, so the thrust that holds the
// top speed leaves an excess at the climb speed that grows with the top speed cubed and
// with the whole plate area; with the wing the stall needs, that excess climbs far faster
// than the real aircraft. That figure is marked "model limit" and only its lower side is
// checked (it must climb at least as well as the published figure allows).
//
// No ceiling can come down to its figure: the engine's thrust only thins with the air
// (a real engine's power falls with it, and a propeller's thrust with the rising climb
// speed too), so the climb ends only where the thinned full thrust meets the least drag,
// which does not change with height at the same indicated airspeed. The top speed sets the
// full thrust at 2.5 to 6 times the least drag, so the model climbs on to where the air
// has a third of its density or less, 9-17 km instead of 4-11 km. The ceilings are marked
// "model limit" and only their lower side is checked.
//
// The glider's best glide cannot reach its published figure in this model: no plate of the
// shared lift and drag curve does better than the curve's best lift-to-drag ratio, so the
// whole aircraft cannot either. That figure is marked "model limit" and must instead come
// to at least 85 % of the curve's best, i.e. the file has to make the most of the curve.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "flight/FSAircraftCurves.h"
#include "perf/PerformanceSearch.h"

namespace {

constexpr float kRadian = 0.017453292f;
constexpr float kNone = 0.0f;  // no published figure

// What the real aircraft does, at its test mass, and how near the model must come.
struct Published {
    int file;
    const char* name;
    float testMass;                                        // kg
    float stall;                                           // km/h, flaps up
    float stallFlaps;                                      // km/h, flaps down (kNone: not published)
    float maxSpeed;                                        // km/h at sea level (kNone: no engine)
    float climb;                                           // m/s at full power (kNone: no engine)
    float minSink;                                         // m/s (glider)
    float minSinkSpeed;                                    // km/h, for reference
    float glideRatio;                                      // best glide (glider)
    float glideSpeed;                                      // km/h, for reference
    float stallTolerance, speedTolerance, climbTolerance;  // fractions
    // The climb cannot come down to the published figure without the top speed leaving
    // its band (see below): only the lower side of the climb's band is checked.
    bool climbModelLimit;
    float ceiling;  // km, the service ceiling (kNone: no engine)
    // The same for the ceiling (see above).
    bool ceilingModelLimit;
};

const Published kFleet[] = {
    {1, "Cessna 172R", 1111, 94, 87, 228, 3.7f, kNone, kNone, kNone, kNone, 0.15f, 0.10f, 0.35f, false, 4.1f,
     true},
    {2, "Su-29", 950, 113, kNone, 330, 16.0f, kNone, kNone, kNone, kNone, 0.15f, 0.10f, 0.35f, false, 4.0f,
     true},
    {3, "L-29 Delfin", 3280, 161, 130, 620, 14.0f, kNone, kNone, kNone, kNone, 0.15f, 0.10f, 0.25f, true,
     11.0f, true},
    {4, "L-13 Blanik", 472, 60, 55, kNone, kNone, 0.82f, 75, 28, 90, 0.15f, 0.10f, 0.20f, false, kNone,
     false},
    {5, "Fokker Dr.I", 586, 77, kNone, 180, 5.7f, kNone, kNone, kNone, kNone, 0.15f, 0.10f, 0.35f, false,
     6.1f, true},
};
// The service ceilings are met within this share.
constexpr float kCeilingTolerance = 0.25f;

// The glide ratio the glider must reach, as a share of the curve's best.
constexpr float kGlideShareOfCurve = 0.85f;
// The altitude of the load-trim probe, km: just above sea level, where the load trims.
constexpr float kTrimAltitude = 0.001f;
// The test mass is met within this share.
constexpr float kMassTolerance = 0.01f;

// The best lift-to-drag ratio of a single plate on the shared curve, over 0-90 degrees.
float BestPlateRatio() {
    float best = 0.0f;
    for (int tenth = 1; tenth <= 900; ++tenth) {
        const float alpha = static_cast<float>(tenth) * 0.1f * kRadian;
        best = std::max(best, LiftCoefficient(alpha) / DragCoefficient(alpha));
    }
    return best;
}

enum class Verdict { Info, Ok, Out, ModelLimit };

const char* VerdictText(Verdict verdict) {
    switch (verdict) {
        case Verdict::Ok:
            return "ok";
        case Verdict::Out:
            return "OUT";
        case Verdict::ModelLimit:
            return "model limit";
        case Verdict::Info:
            break;
    }
    return "-";
}

// A figure the model cannot bring down into its band is marked a model limit while it
// lies above the band (only its lower side is checked); below the band it is out.
Verdict AboveBand(bool modelLimit, const std::optional<float>& value, float published, float tolerance) {
    return modelLimit && value.value_or(0.0f) > published * (1.0f + tolerance) ? Verdict::ModelLimit
                                                                               : Verdict::Ok;
}

struct Report {
    int failures = 0;

    // One line: the figure, the model's value, the published one, the difference and the
    // verdict; "at" adds the airspeed and trim of the flight that gives it.
    void Line(const char* figure, const char* unit, std::optional<float> value, float published,
              float tolerance, const std::optional<PerfTrim>& at, Verdict verdict = Verdict::Ok) {
        char valueText[32] = "none", publishedText[32] = "-", difference[32] = "-", toleranceText[32] = "-";
        if (value) std::snprintf(valueText, sizeof valueText, "%.2f", *value);
        if (published != kNone) {
            std::snprintf(publishedText, sizeof publishedText, "%.2f", published);
            if (value)
                std::snprintf(difference, sizeof difference, "%+.1f %%",
                              (*value / published - 1.0f) * 100.0f);
        }
        if (verdict == Verdict::Ok) {
            if (published == kNone) {
                verdict = Verdict::Info;
            } else {
                std::snprintf(toleranceText, sizeof toleranceText, "+-%.0f %%", tolerance * 100.0f);
                verdict = value && std::fabs(*value / published - 1.0f) <= tolerance + 1e-6f ? Verdict::Ok
                                                                                             : Verdict::Out;
            }
        }
        if (verdict == Verdict::Out) ++failures;
        char trim[96] = "";
        if (at)
            std::snprintf(trim, sizeof trim, "%6.1f km/h  aoa %5.1f  wing %5.1f  elev %5.1f  thr %6.0f N",
                          at->airspeed, at->alpha / kRadian, at->wingAngle / kRadian, at->elevator / kRadian,
                          at->throttle * 1000.0f);
        std::printf("  %-22s %-5s %9s %9s %9s %7s  %-11s %s\n", figure, unit, valueText, publishedText,
                    difference, toleranceText, VerdictText(verdict), trim);
    }
};

std::optional<float> Speed(const std::optional<PerfTrim>& trim) {
    return trim ? std::optional<float>(trim->airspeed) : std::nullopt;
}

void Examine(const std::string& archive, const Published& real, float plateRatio, Report& report) {
    std::printf("\nAircraft%d.txt  %s\n", real.file, real.name);
    CPerformanceProbe probe(archive, real.file);
    if (!probe.Loaded()) {
        std::printf("  does not load\n");
        ++report.failures;
        return;
    }
    report.Line("mass with full tanks", "kg", probe.Mass(), real.testMass, kMassTolerance, std::nullopt);

    probe.SetFlaps(false);
    const std::optional<PerfTrim> stall = probe.StallSpeed();
    report.Line("stall, flaps up", "km/h", Speed(stall), real.stall, real.stallTolerance, stall);
    std::optional<PerfTrim> top, climb, sink, glide;
    if (stall && probe.HasEngine()) {
        top = probe.MaxLevelSpeed(stall->airspeed);
        if (top) climb = probe.BestClimb(stall->airspeed, top->airspeed);
    } else if (stall) {
        sink = probe.MinSink(stall->airspeed);
        glide = probe.BestGlide(stall->airspeed);
    }
    probe.SetFlaps(true);
    const std::optional<PerfTrim> stallFlaps = probe.StallSpeed();
    report.Line("stall, flaps down", "km/h", Speed(stallFlaps), real.stallFlaps, real.stallTolerance,
                stallFlaps);
    probe.SetFlaps(false);

    // The start the game gives it: level flight (the glider: a glide) at the speed of the
    // load's trim (here just above sea level), and the elevator that holds it there.
    const CPerformanceProbe start(archive, real.file, kTrimAltitude);
    const std::optional<PerfTrim> cruise =
        probe.HasEngine() ? probe.Level(start.InitialSpeed()) : probe.AtThrust(start.InitialSpeed(), 0.0f);
    report.Line("elevator at load trim", "deg",
                cruise ? std::optional<float>(cruise->elevator / kRadian) : std::nullopt, kNone, 0.0f,
                cruise);

    if (probe.HasEngine()) {
        report.Line("max level speed", "km/h", Speed(top), real.maxSpeed, real.speedTolerance, top);
        const std::optional<float> rate = climb ? std::optional<float>(climb->climb) : std::nullopt;
        report.Line("best climb", "m/s", rate, real.climb, real.climbTolerance, climb,
                    AboveBand(real.climbModelLimit, rate, real.climb, real.climbTolerance));
        std::optional<float> ceiling;
        if (stall && top)
            ceiling = CPerformanceProbe::ServiceCeiling(archive, real.file, stall->airspeed, top->airspeed);
        report.Line("service ceiling", "km", ceiling, real.ceiling, kCeilingTolerance, std::nullopt,
                    AboveBand(real.ceilingModelLimit, ceiling, real.ceiling, kCeilingTolerance));
    } else {
        report.Line("min sink", "m/s", sink ? std::optional<float>(-sink->climb) : std::nullopt, real.minSink,
                    real.climbTolerance, sink);
        std::printf("  %-22s %-5s %9s %9.2f\n", "  at airspeed", "km/h",
                    sink ? std::to_string(static_cast<int>(std::lround(sink->airspeed))).c_str() : "none",
                    real.minSinkSpeed);
        // Judged against what the curve allows, not against the published ratio.
        const bool madeTheMost = glide && glide->glideRatio >= kGlideShareOfCurve * plateRatio;
        if (!madeTheMost) ++report.failures;
        report.Line("best glide ratio", ":1", glide ? std::optional<float>(glide->glideRatio) : std::nullopt,
                    real.glideRatio, real.climbTolerance, glide,
                    madeTheMost ? Verdict::ModelLimit : Verdict::Out);
        std::printf("  %-22s %-5s %9s %9.2f\n", "  at airspeed", "km/h",
                    glide ? std::to_string(static_cast<int>(std::lround(glide->airspeed))).c_str() : "none",
                    real.glideSpeed);
        std::printf("  %-22s %-5s %9.2f %9s  (the check: at least %.0f %% of it, %.2f)\n",
                    "  best plate ratio", ":1", plateRatio, "-", kGlideShareOfCurve * 100.0f,
                    kGlideShareOfCurve * plateRatio);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder;
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--check") == 0) {
            check = true;
        } else if (folder.empty()) {
            folder = argv[i];
        } else {
            folder.clear();
            break;
        }
    }
    if (folder.empty()) {
        std::fprintf(stderr, "usage: %s <data folder> [--check]\n", argc > 0 ? argv[0] : "aerovant-perf");
        return 2;
    }
    const std::string archive = folder + "/aircrafts.zip";
    const float plateRatio = BestPlateRatio();

    std::printf("Aircraft performance at sea level, test mass, as the game's flight model flies them.\n");
    std::printf(
        "Stall: slowest trimmed level flight (glider: steady glide), wings at most at the lift peak.\n");
    std::printf("  %-22s %-5s %9s %9s %9s %7s  %-11s %s\n", "figure", "unit", "model", "published", "diff",
                "tol", "verdict", "flight (airspeed, body aoa, wing aoa, elevator in degrees, thrust)");
    Report report;
    for (const Published& real : kFleet)
        Examine(archive, real, plateRatio, report);
    std::printf("\n%d figure(s) out of tolerance\n", report.failures);
    return check && report.failures > 0 ? 1 : 0;
}
