#include "world/FSCamera.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cmath>

#include "world/FSAtmosphere.h"
#include "world/FSSceneNode.h"

namespace {

constexpr double kDegreesToRadians = 3.14159265358979323846 / 180.0;
// The fog looks no further down than 75° from the zenith.
constexpr float kLowestFogZenith = 1.3089969f;

struct Frustum {
    double left, right, bottom, top, nearPlane, farPlane;
};

Frustum PerspectiveFrustum(float fovyDegrees, float aspect, float nearPlane, float farPlane) {
    double top = nearPlane * std::tan(fovyDegrees * 0.5 * kDegreesToRadians);
    if (std::fabs(top) <= kNearZero) top = 0.0;
    const double right = top * aspect;
    return {-right, right, -top, top, nearPlane, farPlane};
}

double Ratio(double numerator, double denominator) {
    return denominator != 0.0 ? numerator / denominator : 0.0;
}

}  // namespace

FSFixed FSPlane::Distance(const FSFixedVector& p) const {
    const int64_t sum =
        static_cast<int64_t>(a) * p.x + static_cast<int64_t>(b) * p.y + static_cast<int64_t>(c) * p.z;
    const int64_t distance = (sum >> 16) + d;
    return static_cast<FSFixed>(std::clamp<int64_t>(distance, -kFixedMax, kFixedMax));
}

void ExtractFrustumPlanes(const FSFixedMatrix& m, FSPlane planes[kFrustumPlanes]) {
    for (int i = 0; i < kFrustumPlanes; ++i) {
        const int row = i / 2;
        const int sign = (i % 2 == 0) ? 1 : -1;
        int64_t coefficient[4];
        for (int column = 0; column < 4; ++column) {
            coefficient[column] =
                static_cast<int64_t>(m.At(3, column)) + sign * static_cast<int64_t>(m.At(row, column));
        }
        const FSFixedVector normal{
            static_cast<FSFixed>(std::clamp<int64_t>(coefficient[0], -kFixedMax, kFixedMax)),
            static_cast<FSFixed>(std::clamp<int64_t>(coefficient[1], -kFixedMax, kFixedMax)),
            static_cast<FSFixed>(std::clamp<int64_t>(coefficient[2], -kFixedMax, kFixedMax))};
        const FSFixed length = Length(normal);
        FSPlane& plane = planes[i];
        if (length == 0) {
            plane = FSPlane{0, 0, 0, kFixedOne};
            continue;
        }
        const FSFixed d = static_cast<FSFixed>(std::clamp<int64_t>(coefficient[3], -kFixedMax, kFixedMax));
        plane = FSPlane{FixedDiv(normal.x, length), FixedDiv(normal.y, length), FixedDiv(normal.z, length),
                        FixedDiv(d, length)};
    }
}

bool BuildViewRotation(const FSFixedVector& eye, const FSFixedVector& target, const FSFixedVector& up,
                       int alignment, FSFixedMatrix& view) {
    const FSFixedVector f = Normalise(target - eye);
    if (f.IsZero()) return false;
    FSFixedVector r = Normalise(Cross(f, up));
    if (r.IsZero()) r = Normalise(Cross(f, FSFixedVector{0, 0, -kFixedOne}));
    if (r.IsZero()) r = Normalise(Cross(f, FSFixedVector{kFixedOne, 0, 0}));
    const FSFixedVector u = Cross(r, f);
    FSFixedVector rows[3];
    switch (alignment) {
        case 1:
            rows[0] = -u;
            rows[1] = r;
            break;
        case 2:
            rows[0] = u;
            rows[1] = -r;
            break;
        default:
            rows[0] = r;
            rows[1] = u;
            break;
    }
    rows[2] = -f;
    view = FSFixedMatrix::Identity();
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column)
            view.At(row, column) = rows[row][column];
    }
    return true;
}

CFSCamera::CFSCamera(const SineTable* sine) : sky_(sine) {}

void CFSCamera::LookAt(const FSFixedVector& eye, const FSFixedVector& target, const FSFixedVector& up,
                       int alignment) {
    SetView(eye, target, up, alignment);
    SetUpAtmosphere(Normalise(target - eye));
}

void CFSCamera::SetView(const FSFixedVector& eye, const FSFixedVector& target, const FSFixedVector& up,
                        int alignment) {
    eye_ = eye;
    target_ = target;
    up_ = up;
    BuildViewRotation(eye, target, up, alignment, view_);
}

void CFSCamera::SetUpAtmosphere(const FSFixedVector& forward) {
    // Sky colour in the viewing direction.
    const float fx = FixedToFloat(forward.x), fy = FixedToFloat(forward.y), fz = FixedToFloat(forward.z);
    const float length = std::sqrt(fx * fx + fy * fy + fz * fz);
    float theta = length < 1e-6f ? 0.0f : std::acos(std::clamp(fy / length, -1.0f, 1.0f));
    theta = std::min(theta, kLowestFogZenith);
    const float h = std::sqrt(fx * fx + fz * fz);
    const float phi = h < 1e-6f ? 0.0f : std::atan2(fz / h, fx / h);

    // Thicker air low down makes a hazier sky.
    const float altitudeMetres = static_cast<float>(eye_.y - kSeaLevel) * (1000.0f / 65536.0f);
    sky_.SetTurbidity(2.0f + 4.0f * AirDensity(altitudeMetres) / AirDensity(0.0f));
    fogColour_ = sky_.SkyColour(theta, phi);
    ambient_ = {0.1f * fogColour_.r, 0.1f * fogColour_.g, 0.1f * fogColour_.b};

    const GLfixed colour[4] = {FloatToFixed(fogColour_.r), FloatToFixed(fogColour_.g),
                               FloatToFixed(fogColour_.b), kFixedOne};
    glClearColorx(colour[0], colour[1], colour[2], colour[3]);
    glFogxv(GL_FOG_COLOR, colour);

    ApplyLight();
}

void CFSCamera::ApplyLight() const {
    const GLfixed position[4] = {lightDirection_.x, lightDirection_.y, lightDirection_.z, 0};
    const GLfixed spot[4] = {-lightDirection_.x, -lightDirection_.y, -lightDirection_.z, 0};
    const GLfixed diffuse[4] = {FixedMul(daylight_.r, kSunShare), FixedMul(daylight_.g, kSunShare),
                                FixedMul(daylight_.b, kSunShare), kFixedOne};
    const GLfixed ambient[4] = {FixedMul(daylight_.r, kSkyShare), FixedMul(daylight_.g, kSkyShare),
                                FixedMul(daylight_.b, kSkyShare), kFixedOne};
    const GLfixed none[4] = {0, 0, 0, kFixedOne};
    GLint mode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    if (mode != GL_MODELVIEW) glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixx(view_.m);
    glLightxv(GL_LIGHT0, GL_POSITION, position);
    glLightxv(GL_LIGHT0, GL_SPOT_DIRECTION, spot);
    glPopMatrix();
    if (mode != GL_MODELVIEW) glMatrixMode(static_cast<GLenum>(mode));
    glLightxv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightxv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightModelxv(GL_LIGHT_MODEL_AMBIENT, none);
}

void CFSCamera::SetPerspective(float fovyDegrees, float aspect, float nearPlane, float farPlane) const {
    const Frustum f = PerspectiveFrustum(fovyDegrees, aspect, nearPlane, farPlane);
    glFrustumx(DoubleToFixed(f.left), DoubleToFixed(f.right), DoubleToFixed(f.bottom), DoubleToFixed(f.top),
               DoubleToFixed(f.nearPlane), DoubleToFixed(f.farPlane));
}

void CFSCamera::SetPerspectiveMatrix(float fovyDegrees, float aspect, float nearPlane, float farPlane) {
    const Frustum f = PerspectiveFrustum(fovyDegrees, aspect, nearPlane, farPlane);
    const double n = f.nearPlane, fa = f.farPlane;
    FSFixedMatrix p;
    p.At(0, 0) = DoubleToFixed(Ratio(2.0 * n, f.right - f.left));
    p.At(1, 1) = DoubleToFixed(Ratio(2.0 * n, f.top - f.bottom));
    p.At(0, 2) = DoubleToFixed(Ratio(f.right + f.left, f.right - f.left));
    p.At(1, 2) = DoubleToFixed(Ratio(f.top + f.bottom, f.top - f.bottom));
    p.At(2, 2) = DoubleToFixed(Ratio(-(fa + n), fa - n));
    p.At(3, 2) = -kFixedOne;
    p.At(2, 3) = DoubleToFixed(Ratio(-2.0 * fa * n, fa - n));
    projection_ = p;
    farPlane_ = farPlane > nearPlane ? farPlane : 0.0f;
    // tan of the half angles across and up the picture, and of half the diagonal.
    const double across = Ratio(f.right, n), up = Ratio(f.top, n);
    cornerCosine_ = static_cast<float>(1.0 / std::sqrt(1.0 + across * across + up * up));
}

float CFSCamera::GroundFogLimit(float reachKm) const {
    // A pixel next to the edge samples the ground nearer than the edge itself, by a few
    // km where a low eye sees it at a grazing angle: the fog is complete well before.
    constexpr float kMargin = 0.85f;
    const float limit = std::max(reachKm, 0.0f) * cornerCosine_;
    return kMargin * (farPlane_ > 0.0f ? std::min(limit, farPlane_) : limit);
}

void CFSCamera::LimitFog(float limitKm) {
    limitKm = std::max(limitKm, 0.001f);
    GLint mode = GL_EXP;
    glGetIntegerv(GL_FOG_MODE, &mode);
    if (mode == GL_LINEAR) {
        GLfixed start = 0, end = 0;
        glGetFixedv(GL_FOG_START, &start);
        glGetFixedv(GL_FOG_END, &end);
        const GLfixed limit = FloatToFixed(limitKm);
        if (end <= limit && start <= end) return;
        end = std::min(end, limit);
        glFogx(GL_FOG_END, end);
        glFogx(GL_FOG_START, std::min(start, end / 2));
        return;
    }
    // e^(−d·z) (GL_EXP) or e^(−(d·z)²) (GL_EXP2) down to 1/256 at the limit.
    const float ln256 = 5.5451774f;
    const float least = (mode == GL_EXP2 ? std::sqrt(ln256) : ln256) / limitKm;
    GLfixed density = 0;
    glGetFixedv(GL_FOG_DENSITY, &density);
    if (FixedToFloat(density) < least) glFogx(GL_FOG_DENSITY, FloatToFixed(least));
}

void CFSCamera::ExtractPlanes() {
    ExtractFrustumPlanes(Multiply(projection_, view_), planes_);
}

void CFSCamera::ExtractTerrainPlanes(const FSFixedMatrix& terrainModelView) {
    ExtractFrustumPlanes(Multiply(projection_, terrainModelView), terrainPlanes_);
    // With the near plane a thousandth of the far one, the far plane's normal comes out of
    // the product as a few units of 16.16 and its distance off by a quarter. The model-view's
    // third row gives the eye's z (the view looks along −z) exactly: inside is z + far > 0.
    if (farPlane_ > 0.0f) {
        const auto row = [&](int column) { return terrainModelView.At(2, column); };
        terrainPlanes_[5] = FSPlane{row(0), row(1), row(2), row(3) + FloatToFixed(farPlane_)};
    }
}

FSFixedVector CFSCamera::RelativePosition(const MFSSceneNode& node) const {
    return RelativePosition(node.GetPosition(), node.GetCell());
}

FSFixedVector CFSCamera::RelativePosition(const FSFixedVector& local, const FSCell& cell) const {
    return WrappedDifference(local, cell, eye_, cell_);
}

bool CFSCamera::IsCulled(const MFSSceneNode& node) const {
    const MFSSceneNode* standIn = node.GetCullingStandIn();
    const FSFixedVector relative = RelativePosition(standIn ? *standIn : node);
    const float x = FixedToFloat(relative.x), y = FixedToFloat(relative.y), z = FixedToFloat(relative.z);
    if (std::sqrt(x * x + y * y + z * z) > kCullDistance) return true;
    const FSBox* model = node.GetModel();
    if (!model) {
        for (const FSPlane& plane : planes_) {
            if (plane.Distance(relative) < 1) return true;
        }
        return false;
    }
    const FSFixed radius = model->LargestExtent();
    for (const FSPlane& plane : planes_) {
        if (plane.Distance(relative) <= -radius) return true;
    }
    return false;
}

int CFSCamera::TestSphere(const FSFixedVector& centre, FSFixed radius, int mask, int& lastPlane) const {
    if (lastPlane >= 0 && lastPlane < kFrustumPlanes) {
        const int64_t distance = terrainPlanes_[lastPlane].Distance(centre);
        if (distance + radius < 0) return kSphereOutside;
    }
    int straddled = 0;
    for (int i = 0; i < kFrustumPlanes; ++i) {
        if ((mask & (1 << i)) == 0) continue;
        const int64_t distance = terrainPlanes_[i].Distance(centre);
        if (distance + radius < 0) {
            lastPlane = i;
            return kSphereOutside;
        }
        if ((distance < 0 ? -distance : distance) < radius) straddled |= 1 << i;
    }
    return straddled;
}
