#pragma once
// Shared pieces of the preview tools that draw the game's data with OpenGL ES on the
// headless surface: textures from the archives, meshes drawn the way the game draws a
// meshed node, and the frame read back into a canvas.
#include <GLES/gl.h>

#include <string>

#include "common/Canvas.h"

class CFSGLSurface;
struct FSMesh;

// A texture object from an archive member, uploaded as the game uploads textures (with the
// best filtering); deleted with the object.
class PreviewTexture {
public:
    PreviewTexture() = default;
    ~PreviewTexture();
    PreviewTexture(const PreviewTexture&) = delete;
    PreviewTexture& operator=(const PreviewTexture&) = delete;

    bool Load(const std::string& archive, const std::string& member);
    GLuint Name() const { return name_; }

private:
    GLuint name_ = 0;
};

// Draws a mesh lit and textured in the current model-view frame (vertex, normal and
// texture arrays from the mesh; the vertex array stays enabled).
void DrawMeshArrays(const FSMesh& mesh, GLuint texture);

// One white sun: light 0 from direction (towards the sun, in the current model-view frame)
// with its ambient and diffuse colours, normals normalised, white material front and back.
struct PreviewSun {
    GLfloat direction[4];
    GLfloat ambient[4];
    GLfloat diffuse[4];
};
void SetPreviewSun(const PreviewSun& sun);

// The surface's finished frame, top row first, opaque.
Canvas ReadFrame(CFSGLSurface& surface);

// Writes the canvas as PNG and prints the path; on failure says so on stderr, prefixed
// with the tool's name.
bool SavePreview(const Canvas& canvas, const std::string& path, const char* toolName);
