#include "world/FSSkyBox.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cmath>

#include "resources/FSTextureCache.h"
#include "world/FSCamera.h"
#include "world/FSDoubledModulation.h"
#include "world/FSSavedGLState.h"

namespace {

const char* const kFaceFiles[CFSSkyBox::kFaces] = {"/left.png", "/right.png", "/top.png",
                                                   "/top.png",  "/front.png", "/back.png"};

constexpr float P = 1.0f;
constexpr float N = -1.0f;

// Four corners per face: bottom-left, bottom-right, top-left, top-right of the picture as
// seen from inside the box (texture coordinates (0, 0), (1, 0), (0, 1), (1, 1); v = 0 is
// the bottom row of a decoded picture). Every face winds counter-clockwise toward the eye
// and survives back-face culling.
const float kCorners[CFSSkyBox::kFaces][4][3] = {
    {{N, N, P}, {N, N, N}, {N, P, P}, {N, P, N}},  // left (−x): picture right is −z
    {{P, N, N}, {P, N, P}, {P, P, N}, {P, P, P}},  // right (+x): picture right is +z
    {{N, N, P}, {P, N, P}, {N, N, N}, {P, N, N}},  // bottom (−y), never drawn
    {{N, P, N}, {P, P, N}, {N, P, P}, {P, P, P}},  // top (+y): picture bottom toward −z, right +x
    {{N, N, N}, {P, N, N}, {N, P, N}, {P, P, N}},  // front (−z): picture right is +x
    {{P, N, P}, {N, N, P}, {P, P, P}, {N, P, P}},  // back (+z): picture right is −x
};

constexpr int kSide = CFSSkyBox::kGrid + 1;
constexpr int kIndices = CFSSkyBox::kGrid * CFSSkyBox::kGrid * 6;

// The faces as grids: vertex (i, j) at i / kGrid across and j / kGrid up the picture.
// With the edges clamped, each face's border texels are shown right up to the box's edges,
// and the data build computes those for the very directions of the edges, which the
// neighbouring face shares.
struct Grids {
    float direction[CFSSkyBox::kFaces][CFSSkyBox::kGridVertices][3];
    GLfixed vertices[CFSSkyBox::kFaces][CFSSkyBox::kGridVertices * 3];
    GLfixed texCoords[CFSSkyBox::kGridVertices * 2];
    GLubyte indices[kIndices];

    Grids() {
        for (int face = 0; face < CFSSkyBox::kFaces; ++face) {
            const float(*c)[3] = kCorners[face];
            for (int v = 0; v < CFSSkyBox::kGridVertices; ++v) {
                const float s = static_cast<float>(v % kSide) / CFSSkyBox::kGrid;
                const float t = static_cast<float>(v / kSide) / CFSSkyBox::kGrid;
                for (int k = 0; k < 3; ++k) {
                    const float p = c[0][k] + (c[1][k] - c[0][k]) * s + (c[2][k] - c[0][k]) * t;
                    direction[face][v][k] = p;
                    vertices[face][3 * v + k] = FloatToFixed(p);
                }
                texCoords[2 * v] = FloatToFixed(s);
                texCoords[2 * v + 1] = FloatToFixed(t);
            }
        }
        int n = 0;
        for (int j = 0; j < CFSSkyBox::kGrid; ++j) {
            for (int i = 0; i < CFSSkyBox::kGrid; ++i) {
                const int v = j * kSide + i;
                const int square[6] = {v, v + 1, v + kSide, v + kSide, v + 1, v + kSide + 1};
                for (int k : square)
                    indices[n++] = static_cast<GLubyte>(k);
            }
        }
    }
};

const Grids& FaceGrids() {
    static const Grids grids;
    return grids;
}

// The camera's fog looks no lower than 75° from the zenith; the pictures' horizon band
// below 15° above it has that colour.
constexpr float kLowestFogZenith = 1.3089969f;
// A change of haze that is worth working the colours out again for (about 50 m of height
// low down).
constexpr float kTurbidityStep = 0.01f;
// Painted channels darker than this are not scaled (the night).
constexpr float kDarkest = 0.02f;

}  // namespace

CFSSkyBox::CFSSkyBox() {
    painted_.SetTurbidity(kPaintedTurbidity);
}

std::string CFSSkyBox::FaceMember(int face) const {
    if (face < 0 || face >= kFaces) return std::string();
    return folder_ + kFaceFiles[face];
}

bool CFSSkyBox::Load(const std::string& folder, CFSTextureCache* cache) {
    folder_ = folder;
    bool complete = true;
    for (int face = 0; face < kFaces; ++face) {
        const uint32_t texture = cache ? cache->GetTexture(FaceMember(face)) : kNoTexture;
        textures_[face] = texture == kNoTexture ? 0 : texture;
        if (textures_[face] == 0) complete = false;
    }
    return complete;
}

void CFSSkyBox::Unload(CFSTextureCache* cache) {
    for (int face = 0; face < kFaces; ++face) {
        // The fourth face shares the top picture with the third: remove it once.
        if (cache && textures_[face] != 0 && face != 3) cache->RemoveTexture(FaceMember(face));
        textures_[face] = 0;
    }
}

void CFSSkyBox::Shade(const CFSSkyModel& sky) {
    painted_.SetSun(sky.SunZenith(), sky.SunAzimuth());
    shadedTurbidity_ = sky.Turbidity();
    shadedSunZenith_ = sky.SunZenith();
    shadedSunAzimuth_ = sky.SunAzimuth();
    const Grids& grids = FaceGrids();
    for (int face = 0; face < kFaces; ++face) {
        if (face == kHiddenFace) continue;
        for (int v = 0; v < kGridVertices; ++v) {
            const float* d = grids.direction[face][v];
            const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
            const float zenith =
                std::min(std::acos(std::clamp(d[1] / length, -1.0f, 1.0f)), kLowestFogZenith);
            const float azimuth = std::atan2(d[2], d[0]);
            const FSSkyColour want = sky.SkyColour(zenith, azimuth);
            const FSSkyColour have = painted_.SkyColour(zenith, azimuth);
            const float ratio[3] = {have.r > kDarkest ? want.r / have.r : 1.0f,
                                    have.g > kDarkest ? want.g / have.g : 1.0f,
                                    have.b > kDarkest ? want.b / have.b : 1.0f};
            FSFixed* out = colours_[face] + 4 * v;
            for (int k = 0; k < 3; ++k)
                out[k] = FloatToFixed(0.5f * std::clamp(ratio[k], 0.0f, 2.0f));
            out[3] = kFixedOne;
        }
    }
}

void CFSSkyBox::Draw(const CFSCamera& camera, bool behindDrawn) {
    const CFSSkyModel& sky = camera.Sky();
    if (std::fabs(sky.Turbidity() - shadedTurbidity_) > kTurbidityStep ||
        sky.SunZenith() != shadedSunZenith_ || sky.SunAzimuth() != shadedSunAzimuth_) {
        Shade(sky);
    }
    FSSavedGLState saved;
    FSSavedGLState::Set(GL_TEXTURE_2D, true);
    FSSavedGLState::Set(GL_LIGHTING, false);
    FSSavedGLState::Set(GL_FOG, false);
    FSSavedGLState::Set(GL_BLEND, false);
    FSSavedGLState::Set(GL_ALPHA_TEST, false);
    FSSavedGLState::Set(GL_CULL_FACE, true);
    FSSavedGLState::Set(GL_DEPTH_TEST, behindDrawn);
    glDepthMask(GL_FALSE);
    GLint depthFunction = GL_LESS;
    GLfixed depthRange[2] = {0, kFixedOne};
    if (behindDrawn) {
        glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
        glGetFixedv(GL_DEPTH_RANGE, depthRange);
        glDepthFunc(GL_LEQUAL);
        glDepthRangex(kFixedOne, kFixedOne);
    }
    glShadeModel(GL_SMOOTH);
    FSSavedGLState::SetClient(GL_VERTEX_ARRAY, true);
    FSSavedGLState::SetClient(GL_TEXTURE_COORD_ARRAY, true);
    FSSavedGLState::SetClient(GL_NORMAL_ARRAY, false);
    FSSavedGLState::SetClient(GL_COLOR_ARRAY, true);
    const FSDoubledModulation doubled;

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixx(camera.ViewMatrix().m);
    glScalex(FixedFromInt(kScale), FixedFromInt(kScale), FixedFromInt(kScale));
    const Grids& grids = FaceGrids();
    glTexCoordPointer(2, GL_FIXED, 0, grids.texCoords);
    for (int face = 0; face < kFaces; ++face) {
        if (face == kHiddenFace || textures_[face] == 0) continue;
        glBindTexture(GL_TEXTURE_2D, textures_[face]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glVertexPointer(3, GL_FIXED, 0, grids.vertices[face]);
        glColorPointer(4, GL_FIXED, 0, colours_[face]);
        glDrawElements(GL_TRIANGLES, kIndices, GL_UNSIGNED_BYTE, grids.indices);
    }
    glPopMatrix();
    if (behindDrawn) {
        glDepthRangex(depthRange[0], depthRange[1]);
        glDepthFunc(static_cast<GLenum>(depthFunction));
    }
}
