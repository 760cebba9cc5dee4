#pragma once
// How the game's upright 5-6-5 picture reaches the window, enlarged by whole pixels and
// centred on black. Where the window's GL runs on a graphics card, SDL's renderer scales
// it there. Where it would run on the processor (Mesa's software rasterizer, on a machine
// without a GPU or in a virtual one), the picture is written straight into the window's
// own pixels instead: one pass of table look-ups and row copies costs a fraction of having
// a software rasterizer clear the window and draw a textured quad over it, 60 times a
// second, in two threads of its own.
#include <cstdint>
#include <vector>

struct SDL_Renderer;
struct SDL_Surface;
struct SDL_Texture;
struct SDL_Window;

class CFSWindowPresenter {
public:
    CFSWindowPresenter() = default;
    ~CFSWindowPresenter();
    CFSWindowPresenter(const CFSWindowPresenter&) = delete;
    CFSWindowPresenter& operator=(const CFSWindowPresenter&) = delete;

    // Chooses the way for the window; false (with SDL's error set) when neither works.
    bool Create(SDL_Window* window);
    // True when the picture is written into the window's pixels (no renderer).
    bool Direct() const { return !renderer_; }
    // The size of the pictures to come: 240 x 320 upright, 320 x 240 turned.
    void SetPictureSize(int width, int height);
    // Shows an upright picture of the size set (kept by the caller until the next one).
    void Present(const uint16_t* picture);
    // The next picture repaints the whole window, its black border too (after an expose).
    void Invalidate() { cleared_ = false; }
    // The whole-pixel scale the picture is shown at now (at least 1).
    int Scale() const;
    // A point of the window in picture pixels.
    void WindowToPicture(int x, int y, int& px, int& py) const;

private:
    // The window's size, the scale and the picture's top left corner in it.
    struct Placement {
        int windowWidth = 0, windowHeight = 0;
        int scale = 1;
        int left = 0, top = 0;
    };
    Placement Place(int windowWidth, int windowHeight) const;
    void PresentDirect(const uint16_t* picture);
    // Widens rows firstRow..lastRow of the picture into the surface at the placement.
    void DrawRows(SDL_Surface& surface, const uint16_t* picture, int firstRow, int lastRow, bool xrgb) const;
    void PresentRendered(const uint16_t* picture);
    // The surface's value of each 5-6-5 colour, where it is not laid out as 0xAARRGGBB.
    void MakeColourTable(const SDL_Surface& surface);

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* textures_[2] = {nullptr, nullptr};  // 240 x 320 and 320 x 240
    int width_ = 240, height_ = 320;
    // Direct: the surface last drawn on (a new one, or a new size, is cleared first).
    SDL_Surface* surface_ = nullptr;
    uint32_t surfaceFormat_ = 0;
    Placement placement_;
    bool cleared_ = false;
    std::vector<uint32_t> colours_;
    std::vector<uint16_t> shown_;  // the picture the window shows now
};
