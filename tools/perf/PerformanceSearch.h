#pragma once
// Steady-flight searches on a game aircraft (CSPAircraft) as loaded from the aircraft
// archive: trimmed level flight, steady climbs and glides, and from them the stall speed,
// the top speed, the best climb, the minimum sink and the best glide.
//
// Nothing here models the aircraft: every force and moment comes from the aircraft's own
// ComputeForces on a set state. The aircraft sits at a fixed altitude (sea level unless
// asked otherwise: the air and the engine's thrust thin with it) with its wings level and
// its nose along world −z; a state is a true airspeed, a body angle of attack
// (the nose above the flight path), an elevator deflection and a thrust setting, with no
// rotation. Because the forces depend on the flight path only through the body-frame
// airflow, one evaluation in level attitude gives them for any flight path angle: the
// flight path angle then follows from the balance with the weight.
//
// Units: speeds km/h at the interface (km/s inside, as the model), angles rad, thrust kN
// (the sea-level setting of the throttle; at altitude the engine gives the density ratio
// of it), climb and sink m/s, altitudes km.
#include <memory>
#include <optional>
#include <string>

class CSPAircraft;
class MFSSceneNode;
class SineTable;

// One trimmed steady flight: the pitching moment is zero and the forces balance the
// weight, with the elevator within its travel and the throttle within its range.
struct PerfTrim {
    float airspeed = 0.0f;    // km/h
    float alpha = 0.0f;       // rad, nose above the flight path
    float elevator = 0.0f;    // rad, the trimming deflection
    float throttle = 0.0f;    // kN
    float pathAngle = 0.0f;   // rad, positive climbing
    float climb = 0.0f;       // m/s, negative sinking
    float wingAngle = 0.0f;   // rad, the wing plates' angle of attack
    float glideRatio = 0.0f;  // horizontal over vertical distance (descending flights)
};

// The wind-frame sum of aerodynamic force and thrust (gravity excluded) and the pitching
// moment at one state.
struct PerfForces {
    float along = 0.0f;   // kN, along the flight path, positive forward
    float normal = 0.0f;  // kN, across it in the plane of symmetry, positive up
    float moment = 0.0f;  // kN·km, positive nose up
};

class CPerformanceProbe {
public:
    // The lift peak of the shared curve: no wing plate may fly beyond it (rad).
    static constexpr float kLiftPeak = 0.2617994f;

    // Loads "Aircraft<number>.txt" from the archive at archivePath at an altitude (km);
    // Loaded() tells whether the file gave an aircraft with mass and plates. Above
    // altitude 0 the load trims the aircraft for level flight (InitialSpeed).
    CPerformanceProbe(const std::string& archivePath, int number, float altitudeKm = 0.0f);
    ~CPerformanceProbe();
    CPerformanceProbe(const CPerformanceProbe&) = delete;
    CPerformanceProbe& operator=(const CPerformanceProbe&) = delete;

    bool Loaded() const;
    // The airspeed the load gave the aircraft (km/h): its trimmed start above altitude 0.
    float InitialSpeed() const { return initialSpeed_; }
    // Flaps fully down or fully up.
    void SetFlaps(bool down);
    float Weight() const;       // kN, with full tanks
    float Mass() const;         // kg, with full tanks
    float ThrottleMin() const;  // kN
    float ThrottleMax() const;  // kN
    bool HasEngine() const { return ThrottleMax() > 0.0f; }
    // The air's density where the probe flies over the sea level's: the share of a
    // throttle setting the engine delivers there.
    float DensityRatio() const;

    // The aircraft's forces at airspeed (km/h), body angle of attack, elevator and thrust.
    PerfForces Evaluate(float airspeed, float alpha, float elevator, float throttle);
    // The wing plates' angle of attack (the larger of the two) at a body angle of attack.
    float WingAngle(float alpha) const;
    // The body angle of attack at which the wings reach the lift peak.
    float AlphaAtLiftPeak() const;
    // The elevator that makes the pitching moment zero at airspeed and alpha: of all
    // trimming deflections within the travel the one nearest the centre.
    std::optional<float> TrimElevator(float airspeed, float alpha);

    // Level flight at airspeed on the front side of the lift curve, the throttle set for
    // the drag; empty when none exists with the wings at most at the lift peak, the
    // elevator within its travel and the throttle within its range.
    std::optional<PerfTrim> Level(float airspeed);
    // Steady straight flight at airspeed with the thrust fixed (climb or descent).
    std::optional<PerfTrim> AtThrust(float airspeed, float throttle);

    // The slowest airspeed of level flight (without an engine: of a steady glide), km/h.
    std::optional<PerfTrim> StallSpeed();
    // The fastest level flight at full thrust, searched upward from a level flight at
    // airspeed slowest (km/h, e.g. the stall speed).
    std::optional<PerfTrim> MaxLevelSpeed(float slowest);
    // The best climb rate at full thrust over the airspeeds from slowest to fastest.
    std::optional<PerfTrim> BestClimb(float slowest, float fastest);
    // The service ceiling: the altitude (km) where the best climb at full thrust falls
    // below 0.5 m/s, found to 10 m by probes of "Aircraft<number>.txt" at rising
    // altitudes. slowest and fastest are the sea-level stall and top speeds (km/h); the
    // climb is searched between them, widened as the air thins. Empty without an engine,
    // or when the climb never gets there (below 0.5 m/s at sea level, or still above it
    // where the air ends).
    static std::optional<float> ServiceCeiling(const std::string& archivePath, int number, float slowest,
                                               float fastest);
    // Steady glides without thrust over the airspeeds from slowest to three times it: the
    // smallest sink and the flattest glide.
    std::optional<PerfTrim> MinSink(float slowest);
    std::optional<PerfTrim> BestGlide(float slowest);

private:
    // Steady flight at airspeed: thrust fixed (level = false) or set for level flight.
    std::optional<PerfTrim> Steady(float airspeed, bool level, float throttle);
    // The trimmed state at alpha, given the forces there.
    PerfTrim Describe(float airspeed, float alpha, float elevator, float throttle, const PerfForces& f) const;
    // Best of a function of the steady flight over the airspeeds where it exists: samples
    // + 1 airspeeds evenly spread, then refinements golden-section steps around the best.
    template <class Score>
    std::optional<PerfTrim> BestOver(float slowest, float fastest, float throttle, Score score,
                                     int samples = 24, int refinements = 16);

    std::unique_ptr<SineTable> sine_;
    std::unique_ptr<MFSSceneNode> node_;
    CSPAircraft* aircraft_ = nullptr;  // owned by the node
    float initialSpeed_ = 0.0f;
    float altitude_ = 0.0f;  // km
};
