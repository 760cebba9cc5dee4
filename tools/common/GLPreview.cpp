#include "common/GLPreview.h"

#include <cstdio>
#include <vector>

#include "common/ImageFiles.h"
#include "platform/FSGLSurface.h"
#include "resources/FSMeshLoader.h"
#include "resources/FSPng.h"

PreviewTexture::~PreviewTexture() {
    if (name_) glDeleteTextures(1, &name_);
}

bool PreviewTexture::Load(const std::string& archive, const std::string& member) {
    FSPngImage image;
    if (!ReadPng(archive, member, image)) return false;
    if (!name_) glGenTextures(1, &name_);
    UploadTexture(name_, image, 4);
    return true;
}

void DrawMeshArrays(const FSMesh& mesh, GLuint texture) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FIXED, 0, mesh.positions.data());
    glNormalPointer(GL_FIXED, 0, mesh.normals.data());
    glTexCoordPointer(2, GL_FIXED, 0, mesh.texCoords.data());
    glDrawElements(GL_TRIANGLES, mesh.vertexCount, GL_UNSIGNED_SHORT, mesh.indices.data());
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

void SetPreviewSun(const PreviewSun& sun) {
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_NORMALIZE);
    glLightfv(GL_LIGHT0, GL_POSITION, sun.direction);
    glLightfv(GL_LIGHT0, GL_AMBIENT, sun.ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, sun.diffuse);
    const GLfloat material[] = {1, 1, 1, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, material);
}

Canvas ReadFrame(CFSGLSurface& surface) {
    surface.WaitGL();
    std::vector<uint32_t> pixels(static_cast<size_t>(surface.Width()) * surface.Height());
    surface.ReadPixels(pixels.data());
    Canvas canvas(surface.Width(), surface.Height());
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * surface.Width() + x];
            canvas.At(x, y) = {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                               static_cast<uint8_t>(p), 255};
        }
    }
    return canvas;
}

bool SavePreview(const Canvas& canvas, const std::string& path, const char* toolName) {
    if (!WriteFile(path, EncodePng(canvas, false))) {
        std::fprintf(stderr, "%s: cannot write %s\n", toolName, path.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}
