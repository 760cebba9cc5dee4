#include "clips/ClipScene.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "common/GLPreview.h"
#include "platform/FSGLSurface.h"
#include "resources/FSMeshLoader.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kOversample = 3;
constexpr float kTurnRadius = 160.0f;  // metres
constexpr float kHeight = 70.0f;       // above the fields
constexpr float kBank = 28.0f;         // degrees
const GLfloat kHaze[] = {0.70f, 0.80f, 0.92f, 1.0f};

struct Vec {
    float x, y, z;
};

Vec Sub(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec Cross(Vec a, Vec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec Normal(Vec a) {
    const float l = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    return {a.x / l, a.y / l, a.z / l};
}

// The model-view matrix of a camera at eye looking at target, y up.
void LookAt(Vec eye, Vec target) {
    const Vec f = Normal(Sub(target, eye));
    const Vec s = Normal(Cross(f, {0, 1, 0}));
    const Vec u = Cross(s, f);
    const GLfloat m[16] = {s.x, u.x, -f.x, 0, s.y, u.y, -f.y, 0, s.z, u.z, -f.z, 0, 0, 0, 0, 1};
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(m);
    glTranslatef(-eye.x, -eye.y, -eye.z);
}

void SetProjection(float aspect, float farPlane) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const float nearPlane = 0.5f, top = nearPlane * std::tan(19.0f * kPi / 180.0f);
    glFrustumf(-top * aspect, top * aspect, -top, top, nearPlane, farPlane);
}

// The sun high behind the camera's left shoulder, set in eye space.
void SetLight() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    SetPreviewSun({{-0.35f, 0.75f, 0.55f, 0.0f}, {0.48f, 0.48f, 0.5f, 1.0f}, {0.7f, 0.68f, 0.62f, 1.0f}});
}

// Fields to the horizon, the texture repeated every 90 m, fading into the haze. The fog is
// worked per vertex, so the ground is a grid of 100 m cells rather than one large square.
void DrawFields(GLuint texture) {
    constexpr int cells = 60;
    constexpr float cell = 100.0f, repeat = 90.0f, half = cells * cell / 2;
    static std::vector<GLfloat> corners, tex;
    static std::vector<GLushort> indices;
    if (indices.empty()) {
        for (int row = 0; row <= cells; ++row) {
            for (int column = 0; column <= cells; ++column) {
                const float x = column * cell - half, z = row * cell - half;
                corners.insert(corners.end(), {x, 0, z});
                tex.insert(tex.end(), {x / repeat, z / repeat});
            }
        }
        for (int row = 0; row < cells; ++row) {
            for (int column = 0; column < cells; ++column) {
                const auto at = static_cast<GLushort>(row * (cells + 1) + column);
                const auto below = static_cast<GLushort>(at + cells + 1);
                indices.insert(indices.end(),
                               {at, below, static_cast<GLushort>(at + 1), static_cast<GLushort>(at + 1),
                                below, static_cast<GLushort>(below + 1)});
            }
        }
    }
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glEnable(GL_FOG);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glColor4f(1, 1, 1, 1);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, corners.data());
    glTexCoordPointer(2, GL_FLOAT, 0, tex.data());
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT, indices.data());
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_FOG);
}

// One picture: the aircraft at phase (0..1) of its turn.
Canvas DrawFrame(CFSGLSurface& surface, const FSMesh& mesh, GLuint aircraft, GLuint fields, float phase) {
    const float span = (mesh.box[3] - mesh.box[0]) / 65536.0f,
                length = (mesh.box[4] - mesh.box[1]) / 65536.0f;
    const float size = std::max(span, length);
    const float centreZ = (mesh.box[2] + mesh.box[5]) / 2 / 65536.0f;
    const float theta = 2 * kPi * phase;
    const Vec at{kTurnRadius * std::cos(theta), kHeight, kTurnRadius * std::sin(theta)};
    // The camera rides beside the aircraft and goes once round it in the clip: from the
    // front quarter past the side to the tail and back.
    const float around = theta + 2 * kPi * phase + 0.6f, elevation = 0.2f + 0.08f * std::sin(theta);
    const float distance = size * 1.55f;
    const float heading = -theta + kPi / 2;  // the direction of flight, angle from +z
    const Vec eye{at.x + distance * std::cos(elevation) * std::sin(heading + around),
                  at.y + distance * std::sin(elevation),
                  at.z + distance * std::cos(elevation) * std::cos(heading + around)};
    glClearColor(kHaze[0], kHaze[1], kHaze[2], 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    SetProjection(static_cast<float>(surface.Width()) / surface.Height(), 5000.0f);
    SetLight();
    glFogf(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 250.0f);
    glFogf(GL_FOG_END, 2600.0f);
    glFogfv(GL_FOG_COLOR, kHaze);
    LookAt(eye, at);
    DrawFields(fields);
    glPushMatrix();
    glTranslatef(at.x, at.y, at.z);
    // The nose (-z after the model's turn into GL axes) along the flight, then the bank
    // into the turn.
    glRotatef(180.0f - theta * 180.0f / kPi, 0, 1, 0);
    glRotatef(kBank, 0, 0, 1);
    glRotatef(-90, 1, 0, 0);
    glTranslatef(0, 0, -centreZ);
    glEnable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    DrawMeshArrays(mesh, aircraft);
    glPopMatrix();
    return ReadFrame(surface);
}

}  // namespace

std::vector<Canvas> RenderAircraftTurn(const std::string& dataFolder, const std::string& model, int width,
                                       int height, int frameCount) {
    CFSGLSurface surface;
    if (!surface.Create(width * kOversample, height * kOversample)) {
        std::fprintf(stderr, "aerovant-make-clips: no GL surface\n");
        return {};
    }
    CFSMeshLoader loader(dataFolder + "/models.zip");
    FSMesh mesh;
    PreviewTexture aircraft, fields;
    if (!loader.LoadMesh("aircraft/" + model + ".obj", mesh) ||
        !aircraft.Load(dataFolder + "/textures.zip", "aircraft/" + model + ".png") ||
        !fields.Load(dataFolder + "/textures.zip", "terrain/fields.png")) {
        std::fprintf(stderr, "aerovant-make-clips: cannot load the %s model or its textures\n",
                     model.c_str());
        return {};
    }
    std::vector<Canvas> frames;
    for (int i = 0; i < frameCount; ++i) {
        const float phase = static_cast<float>(i) / frameCount;
        frames.push_back(
            DrawFrame(surface, mesh, aircraft.Name(), fields.Name(), phase).Downsample(kOversample));
    }
    return frames;
}
