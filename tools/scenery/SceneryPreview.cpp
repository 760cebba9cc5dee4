// aerovant-scenery-preview: pictures of the scenery in the built archives, for checking it
// by eye. Everything is read through the game's own loaders (ReadPng, CFSMeshLoader) from
// the archives of a data folder, and the models are drawn with OpenGL ES on the headless
// surface, lit and textured as the game draws meshed nodes.
//
// usage: aerovant-scenery-preview <data folder> <output folder>
//   writes textures.png (every scenery texture over a backdrop), buildings.png (each
//   building from three sides), scene.png, village.png and airfield.png (an airfield and
//   a village under a cloud layer, from afar and from near).
#include <GLES/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "common/Canvas.h"
#include "common/GLPreview.h"
#include "common/ImageFiles.h"
#include "platform/FSGLSurface.h"
#include "resources/FSMeshLoader.h"
#include "resources/FSPng.h"

namespace {

constexpr float kPi = 3.14159265f;

const char* const kBuildings[] = {"house", "apartments", "barn", "hangar", "tower", "church", "lighthouse"};

// A decoded texture as a canvas, top row first.
Canvas ToCanvas(const FSPngImage& image) {
    Canvas canvas(image.width, image.height);
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* row =
            &image.pixels[static_cast<size_t>(image.height - 1 - y) * image.width * image.channels];
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = row + static_cast<size_t>(x) * image.channels;
            canvas.At(x, y) = {p[0], p[1], p[2], image.channels == 4 ? p[3] : uint8_t{255}};
        }
    }
    return canvas;
}

// Blends source, scaled by an integer factor, over the destination at (x, y).
void Paste(Canvas& destination, const Canvas& source, int x, int y, int scale = 1) {
    for (int sy = 0; sy < source.Height() * scale; ++sy) {
        for (int sx = 0; sx < source.Width() * scale; ++sx) {
            destination.Blend(x + sx, y + sy, source.At(sx / scale, sy / scale));
        }
    }
}

bool Save(const Canvas& canvas, const std::string& path) {
    return SavePreview(canvas, path, "aerovant-scenery-preview");
}

bool WriteTextureSheet(const std::string& textures, const std::string& path) {
    auto load = [&](const std::string& name, Canvas& out) {
        FSPngImage image;
        if (!ReadPng(textures, name, image)) {
            std::fprintf(stderr, "aerovant-scenery-preview: cannot read %s\n", name.c_str());
            return false;
        }
        out = ToCanvas(image);
        return true;
    };
    Canvas trees(1, 1), cloud(1, 1), layer(1, 1), zone(1, 1), runway(1, 1);
    if (!load("trees/trees.png", trees) || !load("clouds/cloud.png", cloud) ||
        !load("clouds/layer.png", layer) || !load("clouds/zone.png", zone) || !load("runway.png", runway)) {
        return false;
    }
    Canvas sheet(1536, 1216, {255, 255, 255, 255});
    // The tree atlas twice the size over sky and meadow, the way billboards stand.
    sheet.VerticalGradient(0, 512, {{0.0f, {150, 196, 240, 255}}, {0.7f, {200, 226, 250, 255}}});
    for (int row = 0; row < 4; ++row)
        sheet.FillRect(0, row * 128 + 120, 512, 8, {104, 160, 70, 255});
    Paste(sheet, trees, 0, 0, 2);
    // The single cloud and the layer (two copies side by side to show the seam) over sky.
    Canvas sky(1536 - 528, 512);
    sky.VerticalGradient(0, 512, {{0.0f, {80, 130, 210, 255}}, {1.0f, {172, 210, 250, 255}}});
    Paste(sheet, sky, 528, 0);
    Paste(sheet, cloud, 540, 8);
    Paste(sheet, layer, 528, 300);
    Paste(sheet, layer, 528 + 512, 300);
    Paste(sheet, zone, 1280, 0);
    // The runway laid on grass, turned to lie across the sheet (end A on the left).
    sheet.FillRect(0, 528, 1536, 160, {104, 160, 70, 255});
    for (int y = 0; y < runway.Height(); ++y) {
        for (int x = 0; x < runway.Width(); ++x)
            sheet.Blend(y + 128, 544 + x, runway.At(x, runway.Height() - 1 - y));
    }
    // The building atlases.
    int x = 0;
    for (const char* name : kBuildings) {
        Canvas atlas(1, 1);
        if (!load(std::string("buildings/") + name + ".png", atlas)) return false;
        Paste(sheet, atlas, (x % 6) * 256, 704 + (x / 6) * 256);
        ++x;
    }
    return Save(sheet, path);
}

// ---- Drawing with GL.

GLfixed Fixed(float value) {
    return static_cast<GLfixed>(value * 65536.0f);
}

void SetCamera(float eyeX, float eyeY, float eyeZ, float atX, float atY, float atZ, float fovY, float aspect,
               float nearPlane, float farPlane) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const float top = nearPlane * std::tan(fovY * kPi / 360.0f);
    glFrustumf(-top * aspect, top * aspect, -top, top, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // A look-at from yaw and pitch.
    const float dx = atX - eyeX, dy = atY - eyeY, dz = atZ - eyeZ;
    const float yaw = std::atan2(dx, -dz) * 180.0f / kPi;
    const float pitch = std::atan2(dy, std::sqrt(dx * dx + dz * dz)) * 180.0f / kPi;
    glRotatef(-pitch, 1, 0, 0);
    glRotatef(yaw, 0, 1, 0);
    glTranslatef(-eyeX, -eyeY, -eyeZ);
}

void SetLight() {
    // Towards the sun.
    SetPreviewSun({{-0.45f, 0.8f, 0.4f, 0.0f}, {0.5f, 0.5f, 0.52f, 1.0f}, {0.62f, 0.6f, 0.56f, 1.0f}});
}

// A flat quad from four corners (counter-clockwise from above) with texture coordinates.
void DrawQuad(const float corners[12], const float uv[8], GLuint texture) {
    GLfixed v[12], t[8];
    for (int i = 0; i < 12; ++i)
        v[i] = Fixed(corners[i]);
    for (int i = 0; i < 8; ++i)
        t[i] = Fixed(uv[i]);
    if (texture) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FIXED, 0, t);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FIXED, 0, v);
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

void DrawGround(float half, float y = 0) {
    glDisable(GL_LIGHTING);
    glColor4f(0.42f, 0.64f, 0.3f, 1);
    const float corners[] = {-half, y, half, half, y, half, half, y, -half, -half, y, -half};
    const float uv[8] = {};
    DrawQuad(corners, uv, 0);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_LIGHTING);
}

// A meshed node as the game draws it: lit, textured, back faces culled.
void DrawMesh(const FSMesh& mesh, GLuint texture, float x, float z, float headingDegrees) {
    glPushMatrix();
    glTranslatef(x, 0, z);
    glRotatef(headingDegrees, 0, 1, 0);
    DrawMeshArrays(mesh, texture);
    glPopMatrix();
}

void ClearSky() {
    glClearColor(0.6784f, 0.8235f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void CommonState() {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glShadeModel(GL_SMOOTH);
    SetLight();
}

bool WriteBuildingSheet(const std::string& data, const std::string& path) {
    constexpr int kView = 320;
    CFSGLSurface surface;
    if (!surface.Create(kView, kView)) {
        std::fprintf(stderr, "aerovant-scenery-preview: no GL surface\n");
        return false;
    }
    CFSMeshLoader loader(data + "/models.zip");
    const int count = static_cast<int>(std::size(kBuildings));
    Canvas sheet(kView * 3, kView * count);
    for (int i = 0; i < count; ++i) {
        FSMesh mesh;
        PreviewTexture texture;
        if (!loader.LoadMesh(std::string("buildings/") + kBuildings[i] + ".obj", mesh) ||
            !texture.Load(data + "/textures.zip", std::string("buildings/") + kBuildings[i] + ".png")) {
            std::fprintf(stderr, "aerovant-scenery-preview: cannot load %s\n", kBuildings[i]);
            return false;
        }
        const float size =
            std::max({mesh.box[3] - mesh.box[0], mesh.box[4] - mesh.box[1], mesh.box[5] - mesh.box[2]}) /
            65536.0f;
        const float height = (mesh.box[4] - mesh.box[1]) / 65536.0f;
        const float views[3][2] = {
            {35, 0.35f}, {215, 0.35f}, {120, 1.1f}};  // heading (degrees), pitch (radians)
        for (int v = 0; v < 3; ++v) {
            CommonState();
            ClearSky();
            const float distance = size * 1.9f;
            const float a = views[v][0] * kPi / 180.0f;
            const float ex = distance * std::sin(a) * std::cos(views[v][1]);
            const float ez = distance * std::cos(a) * std::cos(views[v][1]);
            const float ey = height * 0.4f + distance * std::sin(views[v][1]);
            SetCamera(ex, ey, ez, 0, height * 0.4f, 0, 40, 1, 1, size * 20);
            DrawGround(size * 5);
            DrawMesh(mesh, texture.Name(), 0, 0, 0);
            Paste(sheet, ReadFrame(surface), v * kView, i * kView);
        }
    }
    return Save(sheet, path);
}

// Trees as the game's upright billboards: facing the camera, standing on their base.
struct Tree {
    float x, z, height;
    int variant;
};

void DrawTrees(std::vector<Tree> trees, GLuint texture, float eyeX, float eyeZ) {
    std::sort(trees.begin(), trees.end(), [&](const Tree& a, const Tree& b) {
        return std::hypot(a.x - eyeX, a.z - eyeZ) > std::hypot(b.x - eyeX, b.z - eyeZ);
    });
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    for (const Tree& t : trees) {
        const float dx = t.x - eyeX, dz = t.z - eyeZ, length = std::hypot(dx, dz);
        const float rx = dz / length, rz = -dx / length;  // right = (d.z, 0, -d.x) / |d|
        const float w = t.height / 2;
        const float corners[] = {t.x - rx * w, 0,        t.z - rz * w, t.x + rx * w, 0,        t.z + rz * w,
                                 t.x + rx * w, t.height, t.z + rz * w, t.x - rx * w, t.height, t.z - rz * w};
        const float u0 = (t.variant / 4) / 4.0f, v0 = (t.variant % 4) / 4.0f;
        const float uv[] = {u0, v0, u0 + 0.25f, v0, u0 + 0.25f, v0 + 0.25f, u0, v0 + 0.25f};
        DrawQuad(corners, uv, texture);
    }
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
}

struct Camera {
    float eyeX, eyeY, eyeZ, atX, atY, atZ;
};

// The cloud layer, a curtain 1.5a wide at distance a ahead of the eye (u once across, v
// up), and two single clouds high above the field.
void DrawClouds(float eyeX, float eyeZ, GLuint layer, GLuint cloud) {
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    const float a = 5000;
    const float cx = eyeX + 0.62f * a, cz = eyeZ - 0.78f * a;    // ahead of the camera
    const float sx = 0.78f * 0.75f * a, sz = 0.62f * 0.75f * a;  // across the view
    const float corners[] = {cx - sx, 0,    cz - sz, cx + sx, 0,    cz + sz,
                             cx + sx, 1250, cz + sz, cx - sx, 1250, cz - sz};
    const float uv[] = {0.3f, 0, 1.3f, 0, 1.3f, 1, 0.3f, 1};
    DrawQuad(corners, uv, layer);
    const float clouds[2][4] = {{300, 330, -700, 260}, {-300, 420, -1100, 320}};  // x, y, z, half width
    for (const float* c : clouds) {
        const float q[] = {c[0] - c[3], c[1] - c[3] * 0.35f, c[2], c[0] + c[3], c[1] - c[3] * 0.35f, c[2],
                           c[0] + c[3], c[1] + c[3] * 0.65f, c[2], c[0] - c[3], c[1] + c[3] * 0.65f, c[2]};
        const float cuv[] = {0.05f, 0.05f, 0.95f, 0.05f, 0.95f, 0.95f, 0.05f, 0.95f};
        DrawQuad(q, cuv, cloud);
    }
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
}

// The runway: 40 m x 1600 m along z, drawn as the game draws it (two blended passes).
void DrawRunway(GLuint runway) {
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    const float x0 = 60, x1 = 100, za = 600, zb = -1000;
    const float corners[] = {x0, 0.05f, za, x1, 0.05f, za, x1, 0.05f, zb, x0, 0.05f, zb};
    const float uv[] = {0, 0, 1, 0, 1, 1, 0, 1};
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    DrawQuad(corners, uv, runway);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    DrawQuad(corners, uv, runway);
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
}

// The village and the airfield's buildings; false when a model or its texture is missing.
bool DrawBuildings(CFSMeshLoader& loader, const std::string& textures) {
    struct Placement {
        const char* name;
        float x, z, heading;
    };
    const Placement placements[] = {
        {"hangar", 160, 120, 90},      {"tower", 150, 10, 90},        {"house", -160, 60, 20},
        {"house", -200, 110, 110},     {"church", -260, -40, 0},      {"barn", -60, 260, 30},
        {"apartments", -300, -160, 0}, {"lighthouse", -420, -420, 0}, {"house", -120, -10, 60}};
    for (const Placement& p : placements) {
        FSMesh mesh;
        PreviewTexture texture;
        if (!loader.LoadMesh(std::string("buildings/") + p.name + ".obj", mesh) ||
            !texture.Load(textures, std::string("buildings/") + p.name + ".png")) {
            return false;
        }
        DrawMesh(mesh, texture.Name(), p.x, p.z, p.heading);
    }
    return true;
}

// A wood round the village's gardens and a hedge row of trees behind the barn.
std::vector<Tree> Forest() {
    std::vector<Tree> forest;
    for (int i = 0; i < 90; ++i) {
        const float x = -420 + std::fmod(i * 97.31f, 360.0f), z = -140 + std::fmod(i * 53.77f, 420.0f);
        if (x > -330 && x < -100 && z > -200 && z < 140) continue;  // the village's gardens
        forest.push_back({x, z, 12.0f + std::fmod(i * 7.3f, 9.0f), i % 16});
    }
    for (int i = 0; i < 16; ++i)
        forest.push_back({-40.0f + i * 12, 330, 16, i});
    return forest;
}

bool WriteScene(const std::string& data, const Camera& camera, const std::string& path) {
    CFSGLSurface surface;
    if (!surface.Create(960, 600)) return false;
    CFSMeshLoader loader(data + "/models.zip");
    const std::string textures = data + "/textures.zip";
    PreviewTexture trees, runway, layer, cloud;
    if (!trees.Load(textures, "trees/trees.png") || !runway.Load(textures, "runway.png") ||
        !layer.Load(textures, "clouds/layer.png") || !cloud.Load(textures, "clouds/cloud.png")) {
        return false;
    }
    CommonState();
    ClearSky();
    SetCamera(camera.eyeX, camera.eyeY, camera.eyeZ, camera.atX, camera.atY, camera.atZ, 45, 960.0f / 600.0f,
              5, 20000);
    DrawGround(6000);
    DrawClouds(camera.eyeX, camera.eyeZ, layer.Name(), cloud.Name());
    DrawRunway(runway.Name());
    if (!DrawBuildings(loader, textures)) return false;
    DrawTrees(Forest(), trees.Name(), camera.eyeX, camera.eyeZ);
    return Save(ReadFrame(surface), path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <data folder> <output folder>\n",
                     argc > 0 ? argv[0] : "aerovant-scenery-preview");
        return 2;
    }
    const std::string data = argv[1], out = argv[2];
    bool ok = WriteTextureSheet(data + "/textures.zip", out + "/textures.png");
    ok = WriteBuildingSheet(data, out + "/buildings.png") && ok;
    ok = WriteScene(data, {-430, 95, 400, -60, 0, -20}, out + "/scene.png") && ok;
    ok = WriteScene(data, {-330, 40, 230, -170, 0, 20}, out + "/village.png") && ok;
    ok = WriteScene(data, {-20, 30, 260, 130, 0, 60}, out + "/airfield.png") && ok;
    return ok ? 0 : 1;
}
