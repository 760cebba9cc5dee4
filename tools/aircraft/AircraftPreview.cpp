// aerovant-aircraft-preview: pictures of the five aircraft in the built archives, for
// checking them by eye. The models and atlases are read through the game's own loaders
// (CFSMeshLoader, ReadPng) and drawn with OpenGL ES on the headless surface the way the
// game draws a meshed node: lit, textured, back faces culled. A model is in body axes (x
// right wing, y nose, z up); the preview turns it into GL's y-up world.
//
// usage: aerovant-aircraft-preview <data folder> <output folder>
//   writes aircraft.png: one row per aircraft, seen from the front quarter, the left side,
//   above, the rear quarter and from behind and above as the chase camera sees it; and
//   aircraft-<name>.png: the first four of those views of one aircraft, larger.
#include <GLES/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "common/Canvas.h"
#include "common/GLPreview.h"
#include "platform/FSGLSurface.h"
#include "resources/FSMeshLoader.h"
#include "resources/FSPng.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kLargeView = 480;        // the close-ups' views
constexpr int kView = kLargeView / 2;  // the overview sheet's views (the same, halved)

const char* const kAircraft[] = {"c172r", "su29", "l29", "l13", "fokker"};

// Camera on a sphere round the model's centre: heading 0 looks from behind the tail, 90 at
// the left side, 180 at the nose; pitch up from the horizon; distance in metres. The world
// is GL's: x right, y up, the nose towards -z.
void SetCamera(float headingDegrees, float pitchDegrees, float distance, float centreY) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const float nearPlane = 0.5f, top = nearPlane * std::tan(30.0f * kPi / 360.0f);
    glFrustumf(-top, top, -top, top, nearPlane, distance * 60);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -distance);
    glRotatef(pitchDegrees, 1, 0, 0);
    glRotatef(headingDegrees, 0, 1, 0);
    glTranslatef(0, -centreY, 0);
}

void SetLight() {
    SetPreviewSun({{-0.4f, 0.8f, 0.45f, 0.0f}, {0.5f, 0.5f, 0.52f, 1.0f}, {0.62f, 0.6f, 0.56f, 1.0f}});
}

// The ground under the wheels: a flat grey-green square at the model's lowest z.
void DrawGround(float half, float y) {
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.55f, 0.66f, 0.5f, 1);
    const GLfloat corners[] = {-half, y, half, half, y, half, half, y, -half, -half, y, -half};
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, corners);
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_LIGHTING);
}

void DrawMesh(const FSMesh& mesh, GLuint texture) {
    glPushMatrix();
    glRotatef(-90, 1, 0, 0);  // body z up becomes GL y up, the nose (+y) becomes -z
    DrawMeshArrays(mesh, texture);
    glPopMatrix();
}

void Paste(Canvas& destination, const Canvas& source, int x, int y) {
    for (int sy = 0; sy < source.Height(); ++sy) {
        for (int sx = 0; sx < source.Width(); ++sx)
            destination.At(x + sx, y + sy) = source.At(sx, sy);
    }
}

// Draws one view of a model into the surface and returns it.
Canvas RenderView(CFSGLSurface& surface, const FSMesh& mesh, GLuint texture, float heading, float pitch) {
    const float span = (mesh.box[3] - mesh.box[0]) / 65536.0f,
                length = (mesh.box[4] - mesh.box[1]) / 65536.0f;
    const float low = mesh.box[2] / 65536.0f, high = mesh.box[5] / 65536.0f;
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.68f, 0.82f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // The light is set in eye space: it comes from above the viewer's left shoulder in
    // every view.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    SetLight();
    const float size = std::max(span, length);
    SetCamera(heading, pitch, size * 1.9f, (low + high) / 2);
    DrawGround(size * 40, low);
    DrawMesh(mesh, texture);
    return ReadFrame(surface);
}

bool Save(const Canvas& canvas, const std::string& path) {
    return SavePreview(canvas, path, "aerovant-aircraft-preview");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <data folder> <output folder>\n",
                     argc > 0 ? argv[0] : "aerovant-aircraft-preview");
        return 2;
    }
    const std::string data = argv[1], out = argv[2];
    CFSGLSurface surface;
    if (!surface.Create(kLargeView, kLargeView)) {
        std::fprintf(stderr, "aerovant-aircraft-preview: no GL surface\n");
        return 1;
    }
    CFSMeshLoader loader(data + "/models.zip");
    // Heading, pitch: front quarter, left side, above, rear quarter, chase view.
    const float views[][2] = {{145, 18}, {90, 2}, {0, 89}, {35, 22}, {0, 10}};
    const int columns = static_cast<int>(std::size(views)), rows = static_cast<int>(std::size(kAircraft));
    Canvas sheet(kView * columns, kView * rows);
    bool ok = true;
    for (int row = 0; row < rows; ++row) {
        const std::string name = kAircraft[row];
        FSMesh mesh;
        PreviewTexture texture;
        if (!loader.LoadMesh("aircraft/" + name + ".obj", mesh) ||
            !texture.Load(data + "/textures.zip", "aircraft/" + name + ".png")) {
            std::fprintf(stderr, "aerovant-aircraft-preview: cannot load %s\n", name.c_str());
            return 1;
        }
        std::printf("%s: span %.2f m, length %.2f m, height %.2f m, %d triangles\n", name.c_str(),
                    (mesh.box[3] - mesh.box[0]) / 65536.0f, (mesh.box[4] - mesh.box[1]) / 65536.0f,
                    (mesh.box[5] - mesh.box[2]) / 65536.0f, mesh.triangleCount);
        // The close-up has the first four views, two by two; the sheet all of them halved.
        Canvas closeUp(kLargeView * 2, kLargeView * 2);
        for (int v = 0; v < columns; ++v) {
            const Canvas view = RenderView(surface, mesh, texture.Name(), views[v][0], views[v][1]);
            if (v < 4) Paste(closeUp, view, (v % 2) * kLargeView, (v / 2) * kLargeView);
            Paste(sheet, view.Downsample(2), v * kView, row * kView);
        }
        ok = Save(closeUp, out + "/aircraft-" + name + ".png") && ok;
    }
    return Save(sheet, out + "/aircraft.png") && ok ? 0 : 1;
}
