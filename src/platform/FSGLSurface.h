#pragma once
// The 3-D drawing surface: an OpenGL ES 1.1 (Common profile) context on Mesa's
// surfaceless EGL platform with a pbuffer of the render size. It needs no X server, so
// the game, its tests and its tools all render for real. After a frame is drawn,
// ReadPixels copies it into a 32-bit x8r8g8b8 buffer with the top row first, which is
// the layout the 16-bit conversion expects.
#include <cstdint>
#include <string>

class CFSGLSurface {
public:
    CFSGLSurface() = default;
    ~CFSGLSurface();
    CFSGLSurface(const CFSGLSurface&) = delete;
    CFSGLSurface& operator=(const CFSGLSurface&) = delete;

    // True when a GLES 1.1 context can be made on this machine; error says why not.
    static bool Probe(std::string& error);
    // Has Mesa's software rasterizer draw in the thread that calls GL, unless the player's
    // environment says otherwise (LP_NUM_THREADS). A 240 x 320 picture is too small to
    // share: handing its tiles to rasterizer threads and waiting for them cost more than
    // drawing them. Call it before any GL library is loaded, while only one thread runs.
    static void PrepareRasterizer();
    // True when this machine's GL draws on the processor (Mesa's llvmpipe or softpipe):
    // a surface of one pixel is made to ask, and the driver stays loaded for the 3-D.
    static bool DrawsInSoftware();
    // True for the names GL gives its software rasterizers.
    static bool IsSoftwareRenderer(const char* name);

    // Makes display, context and a width x height pbuffer, and makes them current on the
    // calling thread. False on any EGL failure, with everything made so far released.
    bool Create(int width, int height);
    void Destroy();
    bool IsReady() const { return context_ != nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Waits for GL to finish drawing.
    void WaitGL();
    // Copies the finished frame into pixels (width x height, x8r8g8b8, top row first).
    void ReadPixels(uint32_t* pixels) const;

private:
    void* display_ = nullptr;
    void* context_ = nullptr;
    void* surface_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    bool bgraRead_ = false;
};
