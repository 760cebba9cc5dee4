// Steady-flight searches on the game aircraft: each state is handed to the aircraft's own
// force model, and the searches only look for the states where its answers balance.
#include "perf/PerformanceSearch.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "flight/FSAircraftCurves.h"
#include "game/CSPAircraft.h"
#include "world/FSFixed.h"
#include "world/FSSceneNode.h"
#include "world/FSSineTable.h"
#include "world/FSWorldPosition.h"

namespace {

constexpr float kSecondsPerHour = 3600.0f;
constexpr float kRadian = 0.017453292f;  // one degree
// The angles of attack searched: from well below any level flight up to the lift peak.
constexpr float kLowestAlpha = -12.0f * kRadian;
constexpr float kAlphaStep = 1.0f * kRadian;
// Elevator deflections tried across the travel before refining a trim.
constexpr int kElevatorSamples = 10;
constexpr int kBisections = 20;
// The flaps travel from one end to the other in 160 steps.
constexpr int kFlapSteps = 200;

// A node that only carries the aircraft: no model, nothing drawn.
class CProbeNode : public MFSSceneNode {
public:
    void SetPosition(const FSFixedVector& position) override { StorePosition(position); }
    void Scale(const FSFixedVector& /*factors*/) override {}
    void Update(CFSScene& /*scene*/, const FSFrame& /*frame*/) override {}
    void Draw(CFSScene& /*scene*/) override {}
};

// Climb rate (m/s) of a flight at airspeed (km/h) on a path angle (rad).
float ClimbRate(float airspeed, float pathAngle) {
    return airspeed / kSecondsPerHour * 1000.0f * std::sin(pathAngle);
}

}  // namespace

CPerformanceProbe::CPerformanceProbe(const std::string& archivePath, int number, float altitudeKm)
    : sine_(std::make_unique<SineTable>()), node_(std::make_unique<CProbeNode>()), altitude_(altitudeKm) {
    // At altitude 0 exactly the air is the sea level's and the load does not trim the
    // aircraft (the searches set every state themselves).
    node_->Place({0, FloatToFixed(kSeaLevelKm + altitudeKm), 0});
    node_->SavePosition();
    node_->LookAlong(FSVector(0.0f, 0.0f, -1.0f), FSVector(0.0f, 1.0f, 0.0f));
    auto aircraft = std::make_unique<CSPAircraft>(*node_, FSVector(), *sine_);
    aircraft->SetDescriptionArchive(archivePath);
    char member[32];
    std::snprintf(member, sizeof member, "Aircraft%d.txt", number);
    aircraft->Load(member);
    initialSpeed_ = aircraft->Airspeed();
    aircraft->SetAutopilot(false);
    aircraft_ = aircraft.get();
    node_->SetMoveableObject(std::move(aircraft));
    SetFlaps(false);
}

CPerformanceProbe::~CPerformanceProbe() = default;

bool CPerformanceProbe::Loaded() const {
    return aircraft_->GetMass() > 0.0f && aircraft_->Surface(kLeftWing).area > 0.0f;
}

void CPerformanceProbe::SetFlaps(bool down) {
    for (int i = 0; i < kFlapSteps; ++i)
        aircraft_->SetFlaps(down);
}

float CPerformanceProbe::Weight() const {
    return aircraft_->GetMass() * CFSAircraft::kGravity;
}

float CPerformanceProbe::Mass() const {
    return aircraft_->GetMass();
}

float CPerformanceProbe::ThrottleMin() const {
    return aircraft_->ThrottleMin();
}

float CPerformanceProbe::ThrottleMax() const {
    return aircraft_->ThrottleMax();
}

float CPerformanceProbe::DensityRatio() const {
    return ModelAirDensity(altitude_) / ModelAirDensity(0.0f);
}

PerfForces CPerformanceProbe::Evaluate(float airspeed, float alpha, float elevator, float throttle) {
    aircraft_->SetPitchControl(elevator);
    aircraft_->SetThrottle(throttle);
    aircraft_->SetAngularVelocity(FSVector());
    // Wings level, nose along −z; the air comes from alpha below the nose.
    const float speed = airspeed / kSecondsPerHour;
    const float s = std::sin(alpha), c = std::cos(alpha);
    aircraft_->SetVelocity(FSVector(0.0f, -speed * s, -speed * c));
    aircraft_->ComputeForces();
    FSVector r = aircraft_->GetForce();
    r.y += Weight();  // the force model's own gravity taken out again
    PerfForces f;
    f.along = r.y * -s + r.z * -c;
    f.normal = r.y * c + r.z * -s;
    f.moment = aircraft_->GetTorque().x;
    return f;
}

float CPerformanceProbe::WingAngle(float alpha) const {
    // The airflow direction in body axes for flight at alpha, against the plate normal.
    const float dy = -std::cos(alpha), dz = std::sin(alpha);
    float widest = -std::numeric_limits<float>::infinity();
    for (const int i : {kLeftWing, kRightWing}) {
        const AircraftSurface& plate = aircraft_->Surface(i);
        const float ny = std::sin(plate.incidence);
        const float nz = std::cos(plate.dihedral) * std::cos(plate.incidence);
        widest = std::max(widest, std::asin(std::clamp(dy * ny + dz * nz, -1.0f, 1.0f)));
    }
    return widest;
}

float CPerformanceProbe::AlphaAtLiftPeak() const {
    float low = -30.0f * kRadian, high = 45.0f * kRadian;
    for (int i = 0; i < 40; ++i) {
        const float middle = 0.5f * (low + high);
        (WingAngle(middle) < kLiftPeak ? low : high) = middle;
    }
    return low;
}

std::optional<float> CPerformanceProbe::TrimElevator(float airspeed, float alpha) {
    const float lowest = aircraft_->PitchMin(), highest = aircraft_->PitchMax();
    std::optional<float> best;
    float previousDeflection = lowest;
    float previousMoment = Evaluate(airspeed, alpha, lowest, 0.0f).moment;
    for (int k = 1; k <= kElevatorSamples; ++k) {
        const float deflection = lowest + (highest - lowest) * static_cast<float>(k) / kElevatorSamples;
        const float moment = Evaluate(airspeed, alpha, deflection, 0.0f).moment;
        if ((previousMoment <= 0.0f) != (moment <= 0.0f)) {
            float a = previousDeflection, b = deflection, ma = previousMoment;
            for (int i = 0; i < kBisections; ++i) {
                const float middle = 0.5f * (a + b);
                const float m = Evaluate(airspeed, alpha, middle, 0.0f).moment;
                if ((m <= 0.0f) == (ma <= 0.0f)) {
                    a = middle;
                    ma = m;
                } else {
                    b = middle;
                }
            }
            const float root = 0.5f * (a + b);
            if (!best || std::fabs(root) < std::fabs(*best)) best = root;
        }
        previousDeflection = deflection;
        previousMoment = moment;
    }
    return best;
}

PerfTrim CPerformanceProbe::Describe(float airspeed, float alpha, float elevator, float throttle,
                                     const PerfForces& f) const {
    PerfTrim trim;
    trim.airspeed = airspeed;
    trim.alpha = alpha;
    trim.elevator = elevator;
    trim.throttle = throttle;
    trim.pathAngle = std::atan2(f.along, f.normal);
    trim.climb = ClimbRate(airspeed, trim.pathAngle);
    trim.wingAngle = WingAngle(alpha);
    trim.glideRatio = f.along < 0.0f ? f.normal / -f.along : 0.0f;
    return trim;
}

std::optional<PerfTrim> CPerformanceProbe::Steady(float airspeed, bool level, float throttle) {
    const float weight = Weight();
    // Residual of the force balance at alpha with the elevator trimmed there. Level: the
    // thrust (along the nose) takes the drag, the lift and the thrust's share across the
    // path carry the weight. Fixed thrust: the sum of all forces has the weight's size.
    struct Point {
        bool valid = false;
        float residual = 0.0f;
        float elevator = 0.0f;
        PerfForces forces;
    };
    const auto at = [&](float alpha) {
        Point p;
        const std::optional<float> elevator = TrimElevator(airspeed, alpha);
        if (!elevator) return p;
        p.elevator = *elevator;
        p.forces = Evaluate(airspeed, alpha, *elevator, level ? 0.0f : throttle);
        if (level) {
            p.residual = p.forces.normal - p.forces.along * std::tan(alpha) - weight;
        } else {
            if (!(p.forces.normal > 0.0f)) return p;
            p.residual = std::hypot(p.forces.along, p.forces.normal) - weight;
        }
        p.valid = true;
        return p;
    };

    const float peak = AlphaAtLiftPeak();
    std::vector<float> alphas;
    for (float a = kLowestAlpha; a < peak; a += kAlphaStep)
        alphas.push_back(a);
    alphas.push_back(peak);

    float previousAlpha = alphas.front();
    Point previous = at(previousAlpha);
    for (size_t k = 1; k < alphas.size(); ++k) {
        const Point here = at(alphas[k]);
        if (previous.valid && here.valid && previous.residual < 0.0f && here.residual >= 0.0f) {
            float a = previousAlpha, b = alphas[k];
            Point pb = here;
            for (int i = 0; i < kBisections; ++i) {
                const float middle = 0.5f * (a + b);
                const Point pm = at(middle);
                if (!pm.valid) break;
                if (pm.residual < 0.0f) {
                    a = middle;
                } else {
                    b = middle;
                    pb = pm;
                }
            }
            // The thrust: fixed, or what level flight needs for the drag along the path,
            // and the throttle setting that gives it in this air.
            const float thrust = level ? -pb.forces.along / std::cos(b) : throttle * DensityRatio();
            const float setting = level ? thrust / DensityRatio() : throttle;
            if (level && (setting < ThrottleMin() - 1e-6f || setting > ThrottleMax() + 1e-6f))
                return std::nullopt;
            PerfForces balanced = pb.forces;
            if (level) {
                balanced.along = 0.0f;
                balanced.normal += thrust * std::sin(b);
            }
            return Describe(airspeed, b, pb.elevator, setting, balanced);
        }
        previousAlpha = alphas[k];
        previous = here;
    }
    return std::nullopt;
}

std::optional<PerfTrim> CPerformanceProbe::Level(float airspeed) {
    return Steady(airspeed, true, 0.0f);
}

std::optional<PerfTrim> CPerformanceProbe::AtThrust(float airspeed, float throttle) {
    return Steady(airspeed, false, throttle);
}

std::optional<PerfTrim> CPerformanceProbe::StallSpeed() {
    // Level flight for an aircraft with an engine, a steady glide for one without.
    const auto flight = [this](float airspeed) {
        return HasEngine() ? Level(airspeed) : AtThrust(airspeed, 0.0f);
    };
    float slow = 10.0f, fast = 40.0f;
    std::optional<PerfTrim> found = flight(fast);
    while (!found && fast < 1500.0f) {
        slow = fast;
        fast *= 1.5f;
        found = flight(fast);
    }
    if (!found || flight(slow)) return std::nullopt;
    while (fast - slow > 0.1f) {
        const float middle = 0.5f * (slow + fast);
        if (std::optional<PerfTrim> trim = flight(middle)) {
            fast = middle;
            found = trim;
        } else {
            slow = middle;
        }
    }
    return found;
}

std::optional<PerfTrim> CPerformanceProbe::MaxLevelSpeed(float slowest) {
    if (!HasEngine()) return std::nullopt;
    std::optional<PerfTrim> found = Level(slowest);
    if (!found) return std::nullopt;
    float slow = slowest, fast = slow * 1.5f;
    while (fast < 3000.0f) {
        const std::optional<PerfTrim> trim = Level(fast);
        if (!trim) break;
        found = trim;
        slow = fast;
        fast *= 1.5f;
    }
    while (fast - slow > 0.1f) {
        const float middle = 0.5f * (slow + fast);
        if (std::optional<PerfTrim> trim = Level(middle)) {
            slow = middle;
            found = trim;
        } else {
            fast = middle;
        }
    }
    return found;
}

template <class Score>
std::optional<PerfTrim> CPerformanceProbe::BestOver(float slowest, float fastest, float throttle, Score score,
                                                    int samples, int refinements) {
    const int kSamples = samples;
    const auto value = [&](const std::optional<PerfTrim>& trim) {
        return trim ? score(*trim) : -std::numeric_limits<float>::infinity();
    };
    std::optional<PerfTrim> best;
    int bestIndex = -1;
    const float step = (fastest - slowest) / kSamples;
    for (int k = 0; k <= kSamples; ++k) {
        const std::optional<PerfTrim> trim = AtThrust(slowest + step * static_cast<float>(k), throttle);
        if (trim && value(trim) > value(best)) {
            best = trim;
            bestIndex = k;
        }
    }
    if (!best) return best;
    // Golden-section refinement between the neighbours of the best sample.
    float a = slowest + step * static_cast<float>(std::max(bestIndex - 1, 0));
    float b = slowest + step * static_cast<float>(std::min(bestIndex + 1, kSamples));
    constexpr float kGolden = 0.618034f;
    for (int i = 0; i < refinements; ++i) {
        const float c = b - kGolden * (b - a), d = a + kGolden * (b - a);
        const std::optional<PerfTrim> tc = AtThrust(c, throttle), td = AtThrust(d, throttle);
        if (value(tc) > value(best)) best = tc;
        if (value(td) > value(best)) best = td;
        if (value(tc) >= value(td)) {
            b = d;
        } else {
            a = c;
        }
    }
    return best;
}

std::optional<PerfTrim> CPerformanceProbe::BestClimb(float slowest, float fastest) {
    return BestOver(slowest, fastest, ThrottleMax(), [](const PerfTrim& t) { return t.climb; });
}

std::optional<PerfTrim> CPerformanceProbe::MinSink(float slowest) {
    return BestOver(slowest, slowest * 3.0f, ThrottleMin(), [](const PerfTrim& t) { return t.climb; });
}

std::optional<PerfTrim> CPerformanceProbe::BestGlide(float slowest) {
    return BestOver(slowest, slowest * 3.0f, ThrottleMin(), [](const PerfTrim& t) { return t.glideRatio; });
}

std::optional<float> CPerformanceProbe::ServiceCeiling(const std::string& archivePath, int number,
                                                       float slowest, float fastest) {
    constexpr float kCeilingClimb = 0.5f;  // m/s
    constexpr float kHighest = 40.0f;      // km: no air above
    constexpr float kScanStep = 2.0f;      // km
    constexpr float kResolution = 0.01f;   // km
    // The best climb at an altitude, between the stall and the top speed (both true
    // airspeeds grow as the square root of the density falls), from fewer samples than at
    // sea level: the climb changes smoothly with the airspeed.
    const auto climbAt = [&](float altitude) {
        CPerformanceProbe probe(archivePath, number, altitude);
        if (!probe.HasEngine() || !(probe.DensityRatio() > 0.0f)) return -1.0f;
        const float widen = 1.0f / std::sqrt(probe.DensityRatio());
        const std::optional<PerfTrim> best = probe.BestOver(
            0.9f * slowest * widen, 1.1f * fastest * widen, probe.ThrottleMax(),
            [](const PerfTrim& t) { return t.climb; }, 12, 8);
        return best ? best->climb : -1.0f;
    };
    if (climbAt(0.0f) < kCeilingClimb) return std::nullopt;
    float low = 0.0f;
    float high = kScanStep;
    while (climbAt(high) >= kCeilingClimb) {
        low = high;
        high += kScanStep;
        if (high >= kHighest) return std::nullopt;
    }
    while (high - low > kResolution) {
        const float middle = 0.5f * (low + high);
        (climbAt(middle) >= kCeilingClimb ? low : high) = middle;
    }
    return 0.5f * (low + high);
}
