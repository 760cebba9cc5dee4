#include "platform/FSGLSurface.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GLES/gl.h>
#include <GLES/glext.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

EGLDisplay OpenSurfacelessDisplay() {
    CFSGLSurface::PrepareRasterizer();
    const char* extensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!extensions || !std::strstr(extensions, "EGL_MESA_platform_surfaceless")) return EGL_NO_DISPLAY;
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) return EGL_NO_DISPLAY;
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) return EGL_NO_DISPLAY;
    EGLint major = 0;
    EGLint minor = 0;
    if (!eglInitialize(display, &major, &minor)) return EGL_NO_DISPLAY;
    return display;
}

bool ChooseConfig(EGLDisplay display, EGLConfig& config) {
    // 8 bits per colour; the depth buffer as deep as the driver offers (32, else 24).
    for (EGLint depth : {32, 24, 16}) {
        const EGLint attributes[] = {EGL_RED_SIZE,
                                     8,
                                     EGL_GREEN_SIZE,
                                     8,
                                     EGL_BLUE_SIZE,
                                     8,
                                     EGL_DEPTH_SIZE,
                                     depth,
                                     EGL_SURFACE_TYPE,
                                     EGL_PBUFFER_BIT,
                                     EGL_RENDERABLE_TYPE,
                                     EGL_OPENGL_ES_BIT,
                                     EGL_NONE};
        EGLint count = 0;
        if (!eglChooseConfig(display, attributes, nullptr, 0, &count) || count <= 0) continue;
        std::vector<EGLConfig> configs(static_cast<size_t>(count));
        if (!eglChooseConfig(display, attributes, configs.data(), count, &count) || count <= 0) continue;
        configs.resize(static_cast<size_t>(count));
        // The deepest colours come first (Mesa lists 10 bits a channel before 8): the
        // picture ends up in 5-6-5, and a software rasterizer draws 8-bit channels by its
        // fast path and hands them back without conversion.
        config = configs.front();
        for (EGLConfig candidate : configs) {
            EGLint red = 0, green = 0, blue = 0, samples = 0;
            eglGetConfigAttrib(display, candidate, EGL_RED_SIZE, &red);
            eglGetConfigAttrib(display, candidate, EGL_GREEN_SIZE, &green);
            eglGetConfigAttrib(display, candidate, EGL_BLUE_SIZE, &blue);
            eglGetConfigAttrib(display, candidate, EGL_SAMPLES, &samples);
            if (red == 8 && green == 8 && blue == 8 && samples == 0) {
                config = candidate;
                break;
            }
        }
        return true;
    }
    return false;
}

}  // namespace

void CFSGLSurface::PrepareRasterizer() {
    setenv("LP_NUM_THREADS", "0", 0);
}

bool CFSGLSurface::IsSoftwareRenderer(const char* name) {
    return name && (std::strstr(name, "llvmpipe") || std::strstr(name, "softpipe") ||
                    std::strstr(name, "Software Rasterizer"));
}

bool CFSGLSurface::DrawsInSoftware() {
    CFSGLSurface probe;
    if (!probe.Create(1, 1)) return false;
    return IsSoftwareRenderer(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
}

CFSGLSurface::~CFSGLSurface() {
    Destroy();
}

bool CFSGLSurface::Probe(std::string& error) {
    EGLDisplay display = OpenSurfacelessDisplay();
    if (display == EGL_NO_DISPLAY) {
        error = "no surfaceless EGL display (Mesa's EGL is needed)";
        return false;
    }
    EGLConfig config;
    const bool ok = ChooseConfig(display, config);
    if (!ok) error = "no EGL configuration for OpenGL ES 1.1 with a depth buffer";
    return ok;
}

bool CFSGLSurface::Create(int width, int height) {
    Destroy();
    if (width <= 0 || height <= 0) return false;
    EGLDisplay display = OpenSurfacelessDisplay();
    if (display == EGL_NO_DISPLAY) return false;
    display_ = display;
    EGLConfig config;
    if (!ChooseConfig(display, config) || !eglBindAPI(EGL_OPENGL_ES_API)) {
        Destroy();
        return false;
    }
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (surface == EGL_NO_SURFACE) {
        Destroy();
        return false;
    }
    surface_ = surface;
    const EGLint contextAttributes[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (context == EGL_NO_CONTEXT) {
        Destroy();
        return false;
    }
    context_ = context;
    if (!eglMakeCurrent(display, surface, surface, context)) {
        Destroy();
        return false;
    }
    width_ = width;
    height_ = height;
    const char* glExtensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    bgraRead_ = glExtensions && std::strstr(glExtensions, "GL_EXT_read_format_bgra");
    return true;
}

void CFSGLSurface::Destroy() {
    if (!display_) return;
    EGLDisplay display = static_cast<EGLDisplay>(display_);
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (surface_) eglDestroySurface(display, static_cast<EGLSurface>(surface_));
    if (context_) eglDestroyContext(display, static_cast<EGLContext>(context_));
    // The display itself stays initialised for the life of the process: terminating it
    // unloads Mesa's driver, which costs the next surface a reload and leaves its
    // allocations unaccounted for.
    eglReleaseThread();
    display_ = context_ = surface_ = nullptr;
    width_ = height_ = 0;
}

void CFSGLSurface::WaitGL() {
    if (!context_) return;
    eglWaitGL();
    glFinish();
}

void CFSGLSurface::ReadPixels(uint32_t* pixels) const {
    if (!context_) return;
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    if (bgraRead_) {
        // BGRA bytes in memory are 0xAARRGGBB words on a little-endian machine.
        glReadPixels(0, 0, width_, height_, GL_BGRA_EXT, GL_UNSIGNED_BYTE, pixels);
    } else {
        glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
        const size_t count = static_cast<size_t>(width_) * height_;
        for (size_t i = 0; i < count; ++i) {
            const uint32_t p = pixels[i];  // bytes R, G, B, A
            pixels[i] = ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
        }
    }
    // GL's first row is the bottom one; the game's buffers start at the top.
    for (int top = 0, bottom = height_ - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(pixels + static_cast<size_t>(top) * width_,
                         pixels + static_cast<size_t>(top + 1) * width_,
                         pixels + static_cast<size_t>(bottom) * width_);
    }
}
