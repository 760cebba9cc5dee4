#include "app/FSFlightRecording.h"

#include <cmath>
#include <cstring>
#include <fstream>

#include "app/FSSettingsPresets.h"
#include "base/FSActions.h"

namespace {

constexpr char kMagic[4] = {'A', 'V', 'R', 'P'};
constexpr size_t kHeaderBytes = 16;

// What a pass's flag byte says changed since the pass before.
enum : uint8_t {
    kChangedTick = 1,    // the time since the pass before: a varint
    kChangedScale = 2,   // time scale (float) and its warm-up flag (byte)
    kChangedStylus = 4,  // two signed varints
    kChangedAnalog = 8,  // active (byte) and four floats
    kHasActions = 16,    // a varint count and that many action bytes
    kRepeat = 0x80,      // alone: the pass before, again, a varint number of times
    kKnownFlags = 0x1F,
};

// ---- Writing ----

class Writer {
public:
    void Byte(uint8_t v) { bytes.push_back(v); }
    void Var(uint32_t v) {
        while (v >= 0x80) {
            Byte(static_cast<uint8_t>(v | 0x80));
            v >>= 7;
        }
        Byte(static_cast<uint8_t>(v));
    }
    void Signed(int32_t v) {
        const uint32_t u = static_cast<uint32_t>(v);
        Var((u << 1) ^ (v < 0 ? 0xFFFFFFFFu : 0u));
    }
    void Fixed(uint32_t v) {
        for (int i = 0; i < 4; ++i)
            Byte(static_cast<uint8_t>(v >> (8 * i)));
    }
    void Real(float v) {
        uint32_t u = 0;
        std::memcpy(&u, &v, 4);
        Fixed(u);
    }
    std::vector<uint8_t> bytes;
};

// ---- Reading: every call checks what is left; the first failure sticks. ----

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
    bool ok = true;
    std::string why;

    bool Fail(const std::string& reason) {
        if (ok) why = reason;
        ok = false;
        return false;
    }
    bool AtEnd() const { return p_ == end_; }
    uint8_t Byte() {
        if (!ok || p_ == end_) return Fail("the file ends early"), 0;
        return *p_++;
    }
    uint32_t Var() {
        uint32_t v = 0;
        for (int shift = 0; shift < 35 && ok; shift += 7) {
            const uint8_t b = Byte();
            if (shift == 28 && b > 0x0F) return Fail("a number is too long"), 0;
            v |= static_cast<uint32_t>(b & 0x7F) << shift;
            if (!(b & 0x80)) return v;
        }
        return Fail("a number is too long"), 0;
    }
    int32_t Signed() {
        const uint32_t u = Var();
        return static_cast<int32_t>((u >> 1) ^ (0u - (u & 1u)));
    }
    uint32_t Fixed() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<uint32_t>(Byte()) << (8 * i);
        return v;
    }
    float Real() {
        const uint32_t u = Fixed();
        float v = 0.0f;
        std::memcpy(&v, &u, 4);
        return v;
    }
    // An integer field within [low, high].
    int32_t Int(int32_t low, int32_t high, const char* name) {
        const int32_t v = Signed();
        if (ok && (v < low || v > high)) Fail(std::string(name) + " is out of range");
        return v;
    }
    // A finite real within [low, high].
    float Range(float low, float high, const char* name) {
        const float v = Real();
        if (ok && !(std::isfinite(v) && v >= low && v <= high)) Fail(std::string(name) + " is out of range");
        return v;
    }

private:
    const uint8_t* p_;
    const uint8_t* end_;
};

void WriteBlocks(Writer& w, const FSFlightRecording& r) {
    const FSVideoBlock& v = r.video;
    for (int32_t value :
         {v.renderWidth, v.renderHeight, v.resolution, v.visibilityRange, v.terrainQuality, v.texturesQuality,
          v.lightingQuality, v.shadowsQuality, v.effectsQuality, v.objectsQuality})
        w.Signed(value);
    w.Real(v.screenAspect);
    w.Byte(v.sky);
    const FSGameBlock& g = r.game;
    w.Signed(g.touchscreenScheme);
    w.Signed(g.screenAlign);
    for (float value :
         {g.joystickSensitivity, g.xySensitivity, g.touchscreenSensitivity, g.keyPitchRate, g.keyRollRate,
          g.stylusPitchRate, g.stylusRollRate, g.joystickCentre, g.xyCentre, g.touchscreenCentre})
        w.Real(value);
    const FSRouteBlock& b = r.routeBlock;
    for (int32_t value :
         {b.dayTime, b.cloudiness, b.windStrength, b.windDirection, b.weatherType, b.precipitations})
        w.Signed(value);
}

// The blocks as a settings screen could have left them: every choice within its range,
// every derived gain a finite real of sensible size.
void ReadBlocks(Reader& in, FSFlightRecording& r) {
    FSVideoBlock& v = r.video;
    v.renderWidth = in.Int(1, 240, "the render width");
    v.renderHeight = in.Int(1, 320, "the render height");
    v.resolution = in.Int(0, 2, "the resolution");
    v.visibilityRange = in.Int(33, 65, "the visibility range");
    for (int32_t* quality : {&v.terrainQuality, &v.texturesQuality, &v.lightingQuality, &v.shadowsQuality,
                             &v.effectsQuality, &v.objectsQuality})
        *quality = in.Int(0, 2, "a quality");
    v.screenAspect = in.Range(0.25f, 1.0f, "the screen aspect");
    v.sky = in.Byte() != 0 ? 1 : 0;
    FSGameBlock& g = r.game;
    g.touchscreenScheme = in.Int(0, 3, "the touch-screen scheme");
    g.screenAlign = in.Int(0, 2, "the screen alignment");
    g.joystickSensitivity =
        in.Range(kJoystickSensitivityRange.low, kJoystickSensitivityRange.high, "the joystick sensitivity");
    g.xySensitivity = in.Range(kXySensitivityRange.low, kXySensitivityRange.high, "the xy sensitivity");
    g.touchscreenSensitivity = in.Range(kTouchscreenSensitivityRange.low, kTouchscreenSensitivityRange.high,
                                        "the touch-screen sensitivity");
    for (float* gain : {&g.keyPitchRate, &g.keyRollRate, &g.stylusPitchRate, &g.stylusRollRate,
                        &g.joystickCentre, &g.xyCentre, &g.touchscreenCentre})
        *gain = in.Range(-100.0f, 100.0f, "a control gain");
    FSRouteBlock& b = r.routeBlock;
    b.dayTime = in.Int(0, 4, "the day time");
    b.cloudiness = in.Int(0, 100, "the cloudiness");
    b.windStrength = in.Int(0, 13, "the wind strength");
    b.windDirection = in.Int(0, 8, "the wind direction");
    b.weatherType = in.Int(0, 4, "the weather type");
    b.precipitations = in.Int(0, 100, "the precipitations");
}

void WritePass(Writer& w, const FSReplayPass& pass, const FSReplayPass& before, uint32_t delta,
               uint32_t deltaBefore) {
    uint8_t flags = 0;
    if (delta != deltaBefore) flags |= kChangedTick;
    if (pass.timeScale != before.timeScale || pass.timeScaleActive != before.timeScaleActive)
        flags |= kChangedScale;
    if (pass.stylusX != before.stylusX || pass.stylusY != before.stylusY) flags |= kChangedStylus;
    if (pass.analogActive != before.analogActive || pass.analogRoll != before.analogRoll ||
        pass.analogPitch != before.analogPitch || pass.analogRudder != before.analogRudder ||
        pass.analogThrottle != before.analogThrottle)
        flags |= kChangedAnalog;
    if (!pass.actions.empty()) flags |= kHasActions;
    w.Byte(flags);
    if (flags & kChangedTick) w.Var(delta);
    if (flags & kChangedScale) {
        w.Real(pass.timeScale);
        w.Byte(pass.timeScaleActive);
    }
    if (flags & kChangedStylus) {
        w.Signed(pass.stylusX);
        w.Signed(pass.stylusY);
    }
    if (flags & kChangedAnalog) {
        w.Byte(pass.analogActive);
        for (float value : {pass.analogRoll, pass.analogPitch, pass.analogRudder, pass.analogThrottle})
            w.Real(value);
    }
    if (flags & kHasActions) {
        w.Var(static_cast<uint32_t>(pass.actions.size()));
        for (uint8_t action : pass.actions)
            w.Byte(action);
    }
}

// One coded pass (or run of passes) after before; false once the reader failed.
bool ReadPass(Reader& in, FSFlightRecording& r, FSReplayPass& before, uint32_t& delta, uint32_t count) {
    const uint8_t flags = in.Byte();
    if (!in.ok) return false;
    if (flags == kRepeat) {
        const uint32_t times = in.Var();
        if (!in.ok || times == 0 || times > count - r.passes.size())
            return in.Fail("a run of passes is too long");
        before.actions.clear();
        for (uint32_t i = 0; i < times; ++i) {
            before.tick += delta;
            r.passes.push_back(before);
        }
        return true;
    }
    if (flags & ~kKnownFlags) return in.Fail("a pass has unknown flags");
    FSReplayPass pass = before;
    pass.actions.clear();
    if (flags & kChangedTick) delta = in.Var();
    if (delta > 600000u) return in.Fail("a pass lasts too long");
    pass.tick = before.tick + delta;
    if (flags & kChangedScale) {
        pass.timeScale = in.Range(0.2f, 4.5f, "a time scale");
        pass.timeScaleActive = in.Byte() != 0 ? 1 : 0;
    }
    if (flags & kChangedStylus) {
        pass.stylusX = in.Int(-10000, 10000, "a stylus point");
        pass.stylusY = in.Int(-10000, 10000, "a stylus point");
    }
    if (flags & kChangedAnalog) {
        pass.analogActive = in.Byte() != 0 ? 1 : 0;
        for (float* axis : {&pass.analogRoll, &pass.analogPitch, &pass.analogRudder, &pass.analogThrottle})
            *axis = in.Range(-1.5f, 1.5f, "a stick axis");
    }
    if (flags & kHasActions) {
        const uint32_t actions = in.Var();
        if (in.ok && (actions == 0 || actions > kMaxReplayActionsPerPass))
            return in.Fail("a pass has too many actions");
        for (uint32_t i = 0; i < actions && in.ok; ++i) {
            const uint8_t action = in.Byte();
            if (in.ok && action >= kActionCount) return in.Fail("an action is unknown");
            pass.actions.push_back(action);
        }
    }
    if (!in.ok) return false;
    r.passes.push_back(pass);
    before = std::move(pass);
    return true;
}

}  // namespace

bool FSReplayPass::SameInputs(const FSReplayPass& o) const {
    return timeScale == o.timeScale && timeScaleActive == o.timeScaleActive && stylusX == o.stylusX &&
           stylusY == o.stylusY && analogActive == o.analogActive && analogRoll == o.analogRoll &&
           analogPitch == o.analogPitch && analogRudder == o.analogRudder &&
           analogThrottle == o.analogThrottle;
}

bool FSReplayResult::operator==(const FSReplayResult& o) const {
    return finish == o.finish && seconds == o.seconds && score == o.score && column == o.column &&
           row == o.row && x == o.x && y == o.y && z == o.z;
}

uint32_t ReplayCrc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::vector<uint8_t> EncodeRecording(const FSFlightRecording& r) {
    Writer w;
    w.Var(static_cast<uint32_t>(r.route));
    w.Byte(static_cast<uint8_t>(r.aircraft));
    w.Fixed(r.seed);
    w.Fixed(r.startTick);
    w.Fixed(r.creationTick);
    WriteBlocks(w, r);
    w.Byte(static_cast<uint8_t>(r.result.finish));
    for (int32_t value : {r.result.seconds, r.result.score, r.result.column, r.result.row, r.result.x,
                          r.result.y, r.result.z})
        w.Signed(value);
    const size_t count = std::min<size_t>(r.passes.size(), kMaxReplayPasses);
    w.Var(static_cast<uint32_t>(count));
    FSReplayPass before;
    before.tick = r.startTick;
    uint32_t deltaBefore = 0;
    for (size_t i = 0; i < count;) {
        const FSReplayPass& pass = r.passes[i];
        const uint32_t delta = pass.tick - before.tick;
        WritePass(w, pass, before, delta, deltaBefore);
        before = pass;
        deltaBefore = delta;
        // Then the passes that repeat this one: same step, same inputs, no actions.
        size_t run = 0;
        while (i + 1 + run < count && pass.actions.empty()) {
            const FSReplayPass& next = r.passes[i + 1 + run];
            if (!next.actions.empty() || !next.SameInputs(pass) ||
                next.tick - r.passes[i + run].tick != delta)
                break;
            ++run;
        }
        if (run > 0) {
            w.Byte(kRepeat);
            w.Var(static_cast<uint32_t>(run));
            before = r.passes[i + run];
        }
        i += 1 + run;
    }
    std::vector<uint8_t> file(kHeaderBytes);
    std::memcpy(file.data(), kMagic, 4);
    Writer head;
    head.Byte(kReplayVersion & 0xFF);
    head.Byte(kReplayVersion >> 8);
    head.Byte(0);
    head.Byte(0);
    head.Fixed(static_cast<uint32_t>(w.bytes.size()));
    head.Fixed(ReplayCrc32(w.bytes.data(), w.bytes.size()));
    std::memcpy(file.data() + 4, head.bytes.data(), 12);
    file.insert(file.end(), w.bytes.begin(), w.bytes.end());
    return file;
}

bool DecodeRecording(const uint8_t* data, size_t size, FSFlightRecording& recording, std::string& error) {
    recording = FSFlightRecording();
    const auto fail = [&](const std::string& why) {
        recording = FSFlightRecording();
        error = why;
        return false;
    };
    if (!data || size < kHeaderBytes) return fail("not a flight recording (too short)");
    if (std::memcmp(data, kMagic, 4) != 0) return fail("not a flight recording");
    Reader head(data + 4, 12);
    // Low byte first; two reads in one expression could run in either order.
    const uint32_t versionLow = head.Byte();
    const uint32_t version = versionLow | (uint32_t{head.Byte()} << 8);
    head.Byte();
    head.Byte();
    const uint32_t payload = head.Fixed();
    const uint32_t crc = head.Fixed();
    if (version != kReplayVersion)
        return fail("a flight recording of version " + std::to_string(version) +
                    ", this game reads version " + std::to_string(kReplayVersion));
    if (payload != size - kHeaderBytes) return fail("the flight recording is truncated or has extra bytes");
    const uint8_t* body = data + kHeaderBytes;
    if (ReplayCrc32(body, payload) != crc) return fail("the flight recording is damaged (checksum)");

    Reader in(body, payload);
    FSFlightRecording& r = recording;
    r.route = static_cast<int32_t>(in.Var());
    if (in.ok && r.route > 998) in.Fail("the route is out of range");
    r.aircraft = in.Byte();
    if (in.ok && r.aircraft > 4) in.Fail("the aircraft is out of range");
    r.seed = in.Fixed();
    r.startTick = in.Fixed();
    r.creationTick = in.Fixed();
    ReadBlocks(in, r);
    r.result.finish = in.Byte();
    if (in.ok && r.result.finish > 3) in.Fail("the finish is unknown");
    for (int32_t* value : {&r.result.seconds, &r.result.score, &r.result.column, &r.result.row, &r.result.x,
                           &r.result.y, &r.result.z})
        *value = in.Signed();
    const uint32_t count = in.Var();
    if (in.ok && count > kMaxReplayPasses) in.Fail("the flight recording has too many passes");
    if (!in.ok) return fail(in.why);
    // Each pass takes at least one byte, or a run of them two: no promise of more than the
    // file can hold is believed before the passes are read.
    r.passes.reserve(std::min<size_t>(count, payload));
    FSReplayPass before;
    before.tick = r.startTick;
    uint32_t delta = 0;
    while (r.passes.size() < count) {
        if (!ReadPass(in, r, before, delta, count)) return fail(in.why);
    }
    if (!in.AtEnd()) return fail("the flight recording has bytes after its passes");
    return true;
}

bool LoadRecordingFile(const std::string& path, FSFlightRecording& recording, std::string& error) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        error = "cannot read " + path;
        return false;
    }
    const std::streamoff length = file.tellg();
    if (length < 0 || static_cast<uint64_t>(length) > kMaxReplayFileBytes) {
        error = path + " is not a flight recording (too large)";
        return false;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), length)) {
        error = "cannot read " + path;
        return false;
    }
    if (!DecodeRecording(bytes.data(), bytes.size(), recording, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}
