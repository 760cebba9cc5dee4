// The sky box pictures (SkyPictures.h). Day skies: the daylight model in every direction,
// then, above the horizon only, a deck of soft clouds and the sun. Night sky: a painted
// gradient with stars, the galaxy's band and the moon. Everything is a function of the
// direction alone, which is what makes the faces meet without seams.
#include <algorithm>
#include <cmath>
#include <vector>

#include "databuild/SceneryPaint.h"
#include "databuild/SkyPictures.h"
#include "world/FSDayTime.h"
#include "world/FSSineTable.h"
#include "world/FSSkyBox.h"
#include "world/FSSkyModel.h"

namespace skybox {

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kDegree = kPi / 180.0f;
// The camera's lowest zenith angle for the fog colour (75°).
constexpr float kLowestFogZenith = 1.3089969f;

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

Vec3 Normalised(Vec3 v) {
    const float l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return l > 0 ? Vec3{v.x / l, v.y / l, v.z / l} : v;
}

float Dot(const Vec3& a, const Vec3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The angle between two unit vectors, accurate for small angles too.
float AngleBetween(const Vec3& a, const Vec3& b) {
    const Vec3 c = {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    return std::atan2(std::sqrt(Dot(c, c)), Dot(a, b));
}

Vec3 FromAngles(float zenith, float azimuth) {
    return {std::sin(zenith) * std::cos(azimuth), std::cos(zenith), std::sin(zenith) * std::sin(azimuth)};
}

struct Colour {
    float r = 0, g = 0, b = 0;
};

Colour Lerp(const Colour& a, const Colour& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour Add(const Colour& a, const Colour& b, float weight) {
    return {a.r + b.r * weight, a.g + b.g * weight, a.b + b.b * weight};
}

Colour Rgb(int r, int g, int b) {
    return {r / 255.0f, g / 255.0f, b / 255.0f};
}

// The picture of one face, texel by texel (row j from the top, column i), before storing.
using Light = std::vector<Colour>;

// The screen keeps 5 bits of red and blue and 6 of green, so a smooth sky stored as it is
// shows steps there, a few texels to a few dozen wide: bands, along the horizon (where the
// colour changes with the azimuth alone) upright ones. Each channel of a texel is stored
// instead at the middle of one of the screen's levels, chosen by error diffusion (Floyd
// and Steinberg, every other row right to left) so that neighbouring levels mix in the
// right proportions and the steps dissolve into a fine, even grain. A little noise (up to
// a level either way) goes into each choice, so that the grain is there even where the
// sky lies right on a level: the game scales the pictures toward its haze, and a flat
// stretch moved off its level would band again. Values beyond the outermost middles are
// kept (the screen shows them as the outermost level anyway).
Canvas Dithered(const Light& light, int size, uint64_t seed) {
    Canvas canvas(size, size, {0, 0, 0, 255});
    constexpr int kLevelSize[3] = {8, 4, 8};  // of red, green and blue in 8-bit units
    scenery::Random random(seed);
    // The error carried to this row and the next, per channel, with a texel of margin.
    std::vector<float> here(3 * static_cast<size_t>(size + 2)), next(here.size());
    for (int j = 0; j < size; ++j) {
        std::fill(next.begin(), next.end(), 0.0f);
        const bool leftward = j % 2 == 1;
        for (int n = 0; n < size; ++n) {
            const int i = leftward ? size - 1 - n : n;
            const int step = leftward ? -1 : 1;
            const Colour& c = light[static_cast<size_t>(j) * size + i];
            uint8_t stored[3];
            for (int k = 0; k < 3; ++k) {
                const float wanted = std::clamp(k == 0 ? c.r : k == 1 ? c.g : c.b, 0.0f, 1.0f);
                const float value = wanted * 255.0f + here[3 * (i + 1) + k];
                const float half = 0.5f * kLevelSize[k];
                const float noise = (random.Unit() + random.Unit() - 1.0f) * kLevelSize[k];
                float level = std::clamp(value, 0.0f, 255.0f);
                if (level > half && level < 256.0f - half) {
                    const float chosen = std::clamp(level + noise, half, 256.0f - half);
                    level = std::floor((chosen - half) / kLevelSize[k] + 0.5f) * kLevelSize[k] + half;
                }
                level = std::round(level);
                stored[k] = static_cast<uint8_t>(level);
                const float error = value - level;
                here[3 * (i + 1 + step) + k] += error * 7.0f / 16.0f;
                next[3 * (i + 1 - step) + k] += error * 3.0f / 16.0f;
                next[3 * (i + 1) + k] += error * 5.0f / 16.0f;
                next[3 * (i + 1 + step) + k] += error * 1.0f / 16.0f;
            }
            canvas.At(i, j) = {stored[0], stored[1], stored[2], 255};
        }
        std::swap(here, next);
    }
    return canvas;
}

// The face's frame: D(s, t) = normal + s × right + t × up.
struct FaceFrame {
    Vec3 normal, right, up;
};

FaceFrame Frame(int face) {
    switch (face) {
        case kLeft:
            return {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0}};
        case kRight:
            return {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}};
        case kTop:
            return {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}};
        case kFront:
            return {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}};
        default:
            return {{0, 0, 1}, {-1, 0, 0}, {0, 1, 0}};  // back
    }
}

Vec3 TexelDirection(const FaceFrame& f, int i, int j, int size) {
    const float s = -1.0f + 2.0f * static_cast<float>(i) / static_cast<float>(size - 1);
    const float t = 1.0f - 2.0f * static_cast<float>(j) / static_cast<float>(size - 1);
    return Normalised({f.normal.x + s * f.right.x + t * f.up.x, f.normal.y + s * f.right.y + t * f.up.y,
                       f.normal.z + s * f.right.z + t * f.up.z});
}

// ---- Day ----

struct DayStyle {
    Colour sun;          // the disc and its glow
    Colour cloudLight;   // the sunlit side of the clouds
    Colour cloudShade;   // their shaded underside
    float cloudAmount;   // 0..1: how much of the deck is cloud
    float cloudOpacity;  // of a full cloud
    float glow;          // strength of the sun's glow added to the model's own
    uint32_t seed;
};

DayStyle StyleOf(int dayTime) {
    switch (dayTime) {
        case kDayTimeMorning:
            return {Rgb(255, 236, 196), Rgb(255, 238, 222), Rgb(168, 170, 190), 0.42f, 0.85f, 1.0f, 31};
        case kDayTimeEvening:
            return {Rgb(255, 214, 150), Rgb(255, 214, 170), Rgb(142, 128, 134), 0.5f, 0.85f, 1.0f, 57};
        default:
            return {Rgb(255, 252, 238), Rgb(255, 255, 255), Rgb(186, 196, 214), 0.38f, 0.9f, 0.4f, 13};
    }
}

class DaySky {
public:
    explicit DaySky(int dayTime) : model_(&sine_), style_(StyleOf(dayTime)) {
        const FSSunPosition sun = SunPosition(dayTime);
        model_.SetTurbidity(CFSSkyBox::kPaintedTurbidity);
        model_.SetSun(sun.zenith, sun.azimuth);
        sun_ = FromAngles(sun.zenith, sun.azimuth);
        // The haze below the horizon: the horizon's colour averaged all round.
        constexpr int kSamples = 64;
        for (int i = 0; i < kSamples; ++i) {
            const FSSkyColour h =
                model_.SkyColour(kLowestFogZenith, 2.0f * kPi * static_cast<float>(i) / kSamples);
            haze_ = Add(haze_, {h.r, h.g, h.b}, 1.0f / kSamples);
        }
    }

    Colour At(const Vec3& d) const {
        // The camera takes the fog colour from the model at most 75° from the zenith
        // whatever it looks at, so everything lower shows that colour: the band from 15°
        // above the horizon down, where distant terrain fades into the fog. Further down,
        // where the terrain normally hides the box, it fades into the even haze.
        const float zenith = std::min(std::acos(std::clamp(d.y, -1.0f, 1.0f)), kLowestFogZenith);
        const float azimuth = std::atan2(d.z, d.x);
        const FSSkyColour base = model_.SkyColour(zenith, azimuth);
        Colour c = {base.r, base.g, base.b};
        if (d.y <= 0.0f) return Lerp(c, haze_, scenery::Smoothstep(0.0f, 0.45f, -d.y));

        // The sun: a small disc with a glow, dimmed toward the horizon.
        const float gamma = AngleBetween(d, sun_);
        const float disc = 1.0f - scenery::Smoothstep(0.9f * kDegree, 1.4f * kDegree, gamma);
        // The glow fades out toward the horizon, which keeps the fog's colour.
        const float glow =
            style_.glow * scenery::Smoothstep(0.0f, 0.25f, d.y) *
            (0.35f * std::exp(-gamma / (3.0f * kDegree)) + 0.12f * std::exp(-gamma / (14.0f * kDegree)));
        c = Add(c, style_.sun, glow);
        c = Lerp(c, Colour{1.0f, 1.0f, 1.0f}, disc);  // the disc itself is white hot

        // The cloud deck: a flat layer seen in perspective, bent down toward the horizon,
        // and faded out before it reaches it so the horizon stays the fog colour.
        const float fade = scenery::Smoothstep(0.05f, 0.32f, d.y);
        if (fade <= 0.0f) return c;
        const float lift = d.y + 0.08f;
        const float px = d.x / lift * 0.75f;
        const float pz = d.z / lift * 0.75f;
        const float n = scenery::FractalNoise(px + 37.0f, pz + 11.0f, 5, style_.seed);
        const float threshold = 0.62f - 0.22f * style_.cloudAmount;
        const float cover = scenery::Smoothstep(threshold, threshold + 0.13f, n);
        if (cover <= 0.0f) return c;
        // Self-shadow: denser cloud between this point and the sun shades it.
        const float toward =
            scenery::FractalNoise(px + 37.0f + 0.05f * sun_.x, pz + 11.0f + 0.05f * sun_.z, 5, style_.seed);
        const float lit = std::clamp(0.6f + 6.0f * (n - toward), 0.0f, 1.0f);
        Colour cloud = Lerp(style_.cloudShade, style_.cloudLight, lit);
        // Near the sun the clouds are lit from behind, their thin edges most of all.
        cloud = Add(cloud, style_.sun, std::exp(-gamma / (9.0f * kDegree)) * (0.45f + 0.5f * (1.0f - cover)));
        return Lerp(c, cloud, cover * fade * style_.cloudOpacity);
    }

private:
    SineTable sine_;
    CFSSkyModel model_;
    DayStyle style_;
    Vec3 sun_;
    Colour haze_;
};

// ---- Night ----

const Colour kNightZenith = Rgb(2, 4, 16);
// The horizon glows a little above the ground, which the night's fog (black: the daylight
// model has no light with the sun far below the horizon) darkens into a silhouette.
const Colour kNightHorizon = Rgb(11, 17, 40);
const Colour kNightGround = Rgb(3, 4, 10);

struct Star {
    Vec3 direction;
    float brightness;  // 0..1
    Colour tint;
};

constexpr float kStarSpread = 0.22f * kDegree;  // the blur of one star
constexpr int kStars = 1800;

class NightSky {
public:
    NightSky() {
        scenery::Random random(0x5747);
        stars_.reserve(kStars);
        for (int i = 0; i < kStars; ++i) {
            // Uniform over the sphere above 5° below the horizon.
            const float y = random.Range(-0.087f, 1.0f);
            const float a = random.Range(0.0f, 2.0f * kPi);
            const float r = std::sqrt(std::max(0.0f, 1.0f - y * y));
            const float u = random.Unit();
            const float brightness = 0.1f + 0.9f * u * u * u * u * u * u;
            const float warmth = random.Range(-1.0f, 1.0f);
            const Colour tint = warmth > 0 ? Lerp(Rgb(255, 255, 255), Rgb(255, 222, 190), warmth)
                                           : Lerp(Rgb(255, 255, 255), Rgb(200, 218, 255), -warmth);
            stars_.push_back({{r * std::cos(a), y, r * std::sin(a)}, brightness, tint});
        }
        moon_ = FromAngles(kNightMoon.zenith, kNightMoon.azimuth);
        // The galaxy's band: a great circle tilted across the sky.
        band_ = Normalised({0.35f, 0.55f, -0.76f});
        bandU_ = Normalised({band_.y, -band_.x, 0.0f});
        bandV_ = {band_.y * bandU_.z - band_.z * bandU_.y, band_.z * bandU_.x - band_.x * bandU_.z,
                  band_.x * bandU_.y - band_.y * bandU_.x};
    }

    // Everything but the stars, which are added face by face (Paint).
    Colour Background(const Vec3& d) const {
        Colour c;
        if (d.y >= 0.0f) {
            c = Lerp(kNightHorizon, kNightZenith, std::pow(d.y, 0.55f));
        } else {
            c = Lerp(kNightHorizon, kNightGround, scenery::Smoothstep(0.0f, 0.35f, -d.y));
        }
        // The galaxy: a faint, patchy band.
        const float off = std::asin(std::clamp(Dot(d, band_), -1.0f, 1.0f));
        const float along = std::atan2(Dot(d, bandV_), Dot(d, bandU_));
        const float patch =
            scenery::FractalNoise((along + kPi) / (2.0f * kPi) * 48.0f, off * 14.0f + 20.0f, 4, 77, 48);
        const float band = std::exp(-off * off / (2.0f * 0.13f * 0.13f)) * (0.35f + 0.9f * patch);
        c = Add(c, Rgb(150, 160, 200), 0.09f * band * Visibility(d));

        // The moon: a pale disc with darker seas and a soft halo.
        const float gamma = AngleBetween(d, moon_);
        const float radius = 2.2f * kDegree;
        c = Add(c, Rgb(150, 170, 210),
                (0.22f * std::exp(-gamma / (2.5f * kDegree)) + 0.06f * std::exp(-gamma / (12.0f * kDegree))));
        if (gamma < radius * 1.2f) {
            const float disc = 1.0f - scenery::Smoothstep(radius * 0.92f, radius * 1.05f, gamma);
            const Vec3 offset = {d.x - moon_.x, d.y - moon_.y, d.z - moon_.z};
            const float seas = scenery::FractalNoise(offset.x / radius * 1.6f + 5.0f,
                                                     (offset.y + offset.z) / radius * 1.6f + 5.0f, 3, 91);
            const float limb = std::sqrt(std::max(0.0f, 1.0f - (gamma / radius) * (gamma / radius)));
            const float light =
                (0.8f + 0.2f * limb) * (1.0f - 0.28f * scenery::Smoothstep(0.45f, 0.7f, seas));
            c = Lerp(c, Colour{0.93f * light, 0.93f * light, 0.86f * light}, disc);
        }
        return c;
    }

    // Stars fade out into the haze near the horizon.
    static float Visibility(const Vec3& d) { return scenery::Smoothstep(-0.02f, 0.2f, d.y); }

    Light Paint(int face, int size) const {
        const FaceFrame frame = Frame(face);
        Light light(static_cast<size_t>(size) * size);
        for (int j = 0; j < size; ++j) {
            for (int i = 0; i < size; ++i)
                light[static_cast<size_t>(j) * size + i] = Background(TexelDirection(frame, i, j, size));
        }
        // Each star lights the texels around where it falls on this face (its window
        // reaches past the face's edges, so a star on an edge lights both faces the same).
        const float scale = 0.5f * static_cast<float>(size - 1);
        constexpr int kWindow = 8;
        for (const Star& star : stars_) {
            const float depth = Dot(star.direction, frame.normal);
            if (depth <= 0.3f) continue;
            const float s = Dot(star.direction, frame.right) / depth;
            const float t = Dot(star.direction, frame.up) / depth;
            const int ci = static_cast<int>(std::lround((s + 1.0f) * scale));
            const int cj = static_cast<int>(std::lround((1.0f - t) * scale));
            const float strength = star.brightness * Visibility(star.direction);
            for (int j = std::max(0, cj - kWindow); j <= std::min(size - 1, cj + kWindow); ++j) {
                for (int i = std::max(0, ci - kWindow); i <= std::min(size - 1, ci + kWindow); ++i) {
                    const float a = AngleBetween(TexelDirection(frame, i, j, size), star.direction);
                    const float x = a / kStarSpread;
                    if (x > 4.0f) continue;
                    light[static_cast<size_t>(j) * size + i] =
                        Add(light[static_cast<size_t>(j) * size + i], star.tint,
                            strength * std::exp(-0.5f * x * x));
                }
            }
        }
        return light;
    }

private:
    std::vector<Star> stars_;
    Vec3 moon_;
    Vec3 band_, bandU_, bandV_;
};

}  // namespace

const char* FaceFile(int face) {
    static const char* const kFiles[kFaceCount] = {"left.png", "right.png", "top.png", "front.png",
                                                   "back.png"};
    return face >= 0 && face < kFaceCount ? kFiles[face] : "";
}

void FaceDirection(int face, float s, float t, float direction[3]) {
    const FaceFrame f = Frame(face);
    direction[0] = f.normal.x + s * f.right.x + t * f.up.x;
    direction[1] = f.normal.y + s * f.right.y + t * f.up.y;
    direction[2] = f.normal.z + s * f.right.z + t * f.up.z;
}

Canvas PaintFace(int dayTime, int face, int size) {
    if (size < 2) return Canvas(size, size, {0, 0, 0, 255});
    const uint64_t seed = 0x5E1F00u + 16u * static_cast<uint64_t>(dayTime) + static_cast<uint64_t>(face);
    if (dayTime == kDayTimeNight) return Dithered(NightSky().Paint(face, size), size, seed);
    const DaySky sky(dayTime);
    const FaceFrame frame = Frame(face);
    Light light(static_cast<size_t>(size) * size);
    for (int j = 0; j < size; ++j) {
        for (int i = 0; i < size; ++i)
            light[static_cast<size_t>(j) * size + i] = sky.At(TexelDirection(frame, i, j, size));
    }
    return Dithered(light, size, seed);
}

}  // namespace skybox
