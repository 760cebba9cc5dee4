#include "world/FSSkyBox.h"

#include <GLES/gl.h>

#include "resources/FSTextureCache.h"
#include "world/FSCamera.h"
#include "world/FSSavedGLState.h"

namespace {

const char* const kFaceFiles[CFSSkyBox::kFaces] = {"/left.png", "/right.png", "/top.png",
                                                   "/top.png",  "/front.png", "/back.png"};

constexpr GLfixed P = kFixedOne;
constexpr GLfixed N = -kFixedOne;

// Four corners per face in strip order: bottom-left, bottom-right, top-left, top-right of
// the picture as seen from inside the box, so every face winds counter-clockwise toward
// the eye and survives back-face culling.
const GLfixed kVertices[CFSSkyBox::kFaces * 4 * 3] = {
    N, N, P, N, N, N, N, P, P, N, P, N,  // left (−x): picture right is −z
    P, N, N, P, N, P, P, P, N, P, P, P,  // right (+x): picture right is +z
    N, N, P, P, N, P, N, N, N, P, N, N,  // bottom (−y), never drawn
    N, P, N, P, P, N, N, P, P, P, P, P,  // top (+y): picture bottom toward −z, right +x
    N, N, N, P, N, N, N, P, N, P, P, N,  // front (−z): picture right is +x
    P, N, P, N, N, P, P, P, P, N, P, P,  // back (+z): picture right is −x
};

// The whole picture on every face; v = 0 is the bottom row of a decoded picture. With the
// edges clamped, each face's border texels are shown right up to the box's edges, and the
// data build computes those texels for the very directions of the edges, which the
// neighbouring face shares.
const GLfixed kTexCoords[CFSSkyBox::kFaces * 4 * 2] = {
    0, 0, P, 0, 0, P, P, P, 0, 0, P, 0, 0, P, P, P, 0, 0, P, 0, 0, P, P, P,
    0, 0, P, 0, 0, P, P, P, 0, 0, P, 0, 0, P, P, P, 0, 0, P, 0, 0, P, P, P,
};

const GLubyte kStrips[CFSSkyBox::kFaces][4] = {
    {0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}, {12, 13, 14, 15}, {16, 17, 18, 19}, {20, 21, 22, 23},
};

}  // namespace

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

void CFSSkyBox::Draw(const CFSCamera& camera) const {
    FSSavedGLState saved;
    FSSavedGLState::Set(GL_TEXTURE_2D, true);
    FSSavedGLState::Set(GL_LIGHTING, false);
    FSSavedGLState::Set(GL_FOG, false);
    FSSavedGLState::Set(GL_BLEND, false);
    FSSavedGLState::Set(GL_ALPHA_TEST, false);
    FSSavedGLState::Set(GL_CULL_FACE, true);
    FSSavedGLState::Set(GL_DEPTH_TEST, false);
    glDepthMask(GL_FALSE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glColor4x(kFixedOne, kFixedOne, kFixedOne, kFixedOne);
    FSSavedGLState::SetClient(GL_VERTEX_ARRAY, true);
    FSSavedGLState::SetClient(GL_TEXTURE_COORD_ARRAY, true);
    FSSavedGLState::SetClient(GL_NORMAL_ARRAY, false);
    FSSavedGLState::SetClient(GL_COLOR_ARRAY, false);

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixx(camera.ViewMatrix().m);
    glScalex(FixedFromInt(kScale), FixedFromInt(kScale), FixedFromInt(kScale));
    glVertexPointer(3, GL_FIXED, 0, kVertices);
    glTexCoordPointer(2, GL_FIXED, 0, kTexCoords);
    for (int face = 0; face < kFaces; ++face) {
        if (face == kHiddenFace || textures_[face] == 0) continue;
        glBindTexture(GL_TEXTURE_2D, textures_[face]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glDrawElements(GL_TRIANGLE_STRIP, 4, GL_UNSIGNED_BYTE, kStrips[face]);
    }
    glPopMatrix();
}
