#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <SDL.h>

#include "platform/FSWindowPresenter.h"

namespace {

// The window's pixel at (x, y) as 0xRRGGBB.
uint32_t WindowPixel(SDL_Window* window, int x, int y) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    const auto* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
    return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
}

// SDL's dummy video driver has no GL, so the picture goes straight into the window's own
// pixels: enlarged by whole pixels, centred on black, each 5-6-5 colour widened to 8-bit
// channels as GL widens them, and the mouse mapped back into picture pixels.
TEST(WindowPresenter, DrawsThePictureScaledAndCentredInTheWindowsPixels) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    // A 320 x 240 picture: four marked pixels, the rest a colour of its column.
    std::vector<uint16_t> picture(320 * 240);
    for (int i = 0; i < 320 * 240; ++i)
        picture[i] = static_cast<uint16_t>((i % 320) & 0x1F);
    picture[0] = 0xF800;                // top left: red
    picture[319] = 0x07E0;              // top right: green
    picture[239 * 320] = 0x001F;        // bottom left: blue
    picture[239 * 320 + 319] = 0x8410;  // bottom right: a middle grey

    const struct {
        int width, height;  // the window
        int scale, left, top;
    } kWindows[] = {
        {700, 500, 2, 30, 10},   // the usual window, with a border
        {1000, 740, 3, 20, 10},  // full screen
        {320, 240, 1, 0, 0},     // the picture's own size
        {200, 100, 1, 0, 0},     // smaller than the picture: its top left shows
    };
    for (const auto& w : kWindows) {
        SCOPED_TRACE(std::to_string(w.width) + " x " + std::to_string(w.height));
        SDL_Window* window = SDL_CreateWindow("test", 0, 0, w.width, w.height, 0);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        {
            CFSWindowPresenter presenter;
            ASSERT_TRUE(presenter.Create(window)) << SDL_GetError();
            EXPECT_TRUE(presenter.Direct());
            presenter.SetPictureSize(320, 240);
            EXPECT_EQ(presenter.Scale(), w.scale);
            presenter.Present(picture.data());
            presenter.Present(picture.data());  // the same picture: nothing to redraw
            // A frame that changes one pixel of a middle row: that row is drawn again.
            std::vector<uint16_t> next = picture;
            next[100 * 320 + 10] = 0xFFFF;
            presenter.Present(next.data());
            if (w.top + 100 * w.scale < w.height) {
                EXPECT_EQ(WindowPixel(window, w.left + 10 * w.scale, w.top + 100 * w.scale), 0xFFFFFFu);
            }
            presenter.Present(picture.data());

            const int right = w.left + 320 * w.scale - 1, bottom = w.top + 240 * w.scale - 1;
            const struct {
                int x, y;
                uint32_t colour;
            } kPixels[] = {
                {w.left, w.top, 0xFF0000},
                {w.left + w.scale - 1, w.top + w.scale - 1, 0xFF0000},
                {right, w.top, 0x00FF00},
                {w.left, bottom, 0x0000FF},
                {right, bottom, 0x848284},
                {w.left + 5 * w.scale, w.top + 7 * w.scale, 0x29 /* column 5: blue 5 of 31 */},
            };
            for (const auto& p : kPixels) {
                if (p.x >= w.width || p.y >= w.height) continue;
                EXPECT_EQ(WindowPixel(window, p.x, p.y), p.colour) << p.x << "," << p.y;
            }
            if (w.left > 0) {
                EXPECT_EQ(WindowPixel(window, w.left - 1, w.top), 0u);
            }
            if (w.top > 0) {
                EXPECT_EQ(WindowPixel(window, w.left, w.top - 1), 0u);
            }

            // The mouse: the picture's corners, and a point left of the picture.
            int px = 0, py = 0;
            presenter.WindowToPicture(w.left + w.scale - 1, w.top, px, py);
            EXPECT_EQ(px, 0);
            EXPECT_EQ(py, 0);
            presenter.WindowToPicture(right, bottom, px, py);
            EXPECT_EQ(px, 319);
            EXPECT_EQ(py, 239);
            presenter.WindowToPicture(w.left - 1, w.top, px, py);
            EXPECT_EQ(px, -1);
        }
        SDL_DestroyWindow(window);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
