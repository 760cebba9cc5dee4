#include "platform/FSWindowPresenter.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/FSGLSurface.h"

namespace {

constexpr unsigned kGLRenderer = 0x1F01;  // GL_RENDERER

// True when the renderer draws with GL on the processor.
bool RendersInSoftware(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0) return true;
    if ((info.flags & SDL_RENDERER_SOFTWARE) != 0) return true;
    if (std::strncmp(info.name, "opengl", 6) != 0) return false;
    // SDL's GL renderers keep their context current on the thread that made them.
    using GetString = const unsigned char* (*)(unsigned);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    return getString &&
           CFSGLSurface::IsSoftwareRenderer(reinterpret_cast<const char*>(getString(kGLRenderer)));
}

// A 5-6-5 colour as 0xRRGGBB, each channel widened by repeating its top bits (as GL does).
inline uint32_t Widen565(uint32_t c) {
    const uint32_t r = c >> 11, g = (c >> 5) & 0x3F, b = c & 0x1F;
    return (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) | (b << 3) | (b >> 2);
}

// One row of the picture, each pixel widened to 8-bit channels and repeated Scale times,
// for a 32-bit surface laid out as 0xAARRGGBB (the usual X desktop). Plain arithmetic, so
// the compiler turns it into vector code.
template <int Scale>
void WidenRow(const uint16_t* source, int columns, uint32_t alpha, uint32_t* out) {
    for (int x = 0; x < columns; ++x) {
        const uint32_t pixel = alpha | Widen565(source[x]);
        for (int k = 0; k < Scale; ++k)
            out[x * Scale + k] = pixel;
    }
}

}  // namespace

CFSWindowPresenter::~CFSWindowPresenter() {
    for (SDL_Texture* texture : textures_)
        if (texture) SDL_DestroyTexture(texture);
    if (renderer_) SDL_DestroyRenderer(renderer_);
}

bool CFSWindowPresenter::Create(SDL_Window* window) {
    window_ = window;
    // Asked of the game's own 3-D first: it loads the driver the flights need anyway, and
    // spares making a window renderer only to throw it away.
    if (!CFSGLSurface::DrawsInSoftware())
        renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (renderer_ && RendersInSoftware(renderer_)) {
        SDL_DestroyRenderer(renderer_);
        renderer_ = nullptr;
    }
    if (renderer_) {
        textures_[0] =
            SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, 240, 320);
        textures_[1] =
            SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, 320, 240);
        SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
        SetPictureSize(width_, height_);
        return textures_[0] && textures_[1];
    }
    // The window's own pixels, without SDL drawing them through a renderer of its own.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return SDL_GetWindowSurface(window) != nullptr;
}

void CFSWindowPresenter::SetPictureSize(int width, int height) {
    width_ = width;
    height_ = height;
    cleared_ = false;
    if (renderer_) SDL_RenderSetLogicalSize(renderer_, width, height);
}

CFSWindowPresenter::Placement CFSWindowPresenter::Place(int windowWidth, int windowHeight) const {
    Placement p;
    p.windowWidth = windowWidth;
    p.windowHeight = windowHeight;
    p.scale = std::max(1, std::min(windowWidth / width_, windowHeight / height_));
    p.left = std::max(0, (windowWidth - width_ * p.scale) / 2);
    p.top = std::max(0, (windowHeight - height_ * p.scale) / 2);
    return p;
}

int CFSWindowPresenter::Scale() const {
    int w = 0;
    int h = 0;
    if (renderer_) {
        if (SDL_GetRendererOutputSize(renderer_, &w, &h) != 0) return 1;
    } else {
        SDL_GetWindowSize(window_, &w, &h);
    }
    return Place(w, h).scale;
}

void CFSWindowPresenter::WindowToPicture(int x, int y, int& px, int& py) const {
    if (renderer_) {
        // The renderer's logical size already gives picture points.
        px = x;
        py = y;
        return;
    }
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    const Placement p = Place(w, h);
    // Floor division: a point left of the picture stays left of it.
    const auto floorDivide = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    px = floorDivide(x - p.left, p.scale);
    py = floorDivide(y - p.top, p.scale);
}

void CFSWindowPresenter::Present(const uint16_t* picture) {
    if (renderer_) {
        PresentRendered(picture);
    } else {
        PresentDirect(picture);
    }
}

void CFSWindowPresenter::PresentRendered(const uint16_t* picture) {
    SDL_Texture* texture = textures_[width_ == 240 ? 0 : 1];
    SDL_UpdateTexture(texture, nullptr, picture, width_ * 2);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

void CFSWindowPresenter::MakeColourTable(const SDL_Surface& surface) {
    colours_.resize(65536);
    for (uint32_t colour = 0; colour < 65536; ++colour) {
        const uint32_t rgb = Widen565(colour);
        colours_[colour] = SDL_MapRGB(surface.format, static_cast<uint8_t>(rgb >> 16),
                                      static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb));
    }
    surfaceFormat_ = surface.format->format;
}

void CFSWindowPresenter::PresentDirect(const uint16_t* picture) {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);  // a new one after a resize
    if (!surface) return;
    const int bytes = surface->format->BytesPerPixel;
    if (bytes != 2 && bytes != 4) return;  // no desktop of this century
    if (surface != surface_ || surface->w != placement_.windowWidth || surface->h != placement_.windowHeight)
        cleared_ = false;
    const SDL_PixelFormat& format = *surface->format;
    const bool xrgb =
        bytes == 4 && format.Rmask == 0xFF0000 && format.Gmask == 0xFF00 && format.Bmask == 0xFF;
    if (!xrgb && (format.format != surfaceFormat_ || colours_.empty())) MakeColourTable(*surface);
    const size_t pixels = static_cast<size_t>(width_) * height_;
    if (!cleared_ || shown_.size() != pixels) shown_.assign(picture, picture + pixels);
    if (!cleared_) {
        surface_ = surface;
        placement_ = Place(surface->w, surface->h);
    }
    const Placement& p = placement_;

    // Only what fits: a screen smaller than the picture shows its top left. Of that, only
    // the rows that changed since the last picture: in flight the sky and the instrument
    // panel often stay as they were.
    int first = 0;
    int last = std::min(height_, (surface->h - p.top) / p.scale) - 1;
    if (cleared_) {
        const auto same = [&](int y) {
            return std::memcmp(shown_.data() + y * width_, picture + y * width_, width_ * 2) == 0;
        };
        while (first <= last && same(first))
            ++first;
        while (last >= first && same(last))
            --last;
        if (first > last) return;  // nothing new to show
        std::memcpy(shown_.data() + first * width_, picture + first * width_,
                    static_cast<size_t>(last - first + 1) * width_ * 2);
    }
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    if (!cleared_) SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    DrawRows(*surface, picture, first, last, xrgb);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    if (cleared_) {
        const int columns = std::min(width_, (surface->w - p.left) / p.scale);
        const SDL_Rect changed{p.left, p.top + first * p.scale, columns * p.scale,
                               (last - first + 1) * p.scale};
        SDL_UpdateWindowSurfaceRects(window_, &changed, 1);
    } else {
        SDL_UpdateWindowSurface(window_);
        cleared_ = true;
    }
}

void CFSWindowPresenter::DrawRows(SDL_Surface& surface, const uint16_t* picture, int firstRow, int lastRow,
                                  bool xrgb) const {
    const Placement& p = placement_;
    const int bytes = surface.format->BytesPerPixel;
    const uint32_t alpha = surface.format->Amask;  // opaque where the surface keeps an alpha
    const int columns = std::min(width_, (surface.w - p.left) / p.scale);
    const int rowBytes = columns * p.scale * bytes;
    auto* base = static_cast<uint8_t*>(surface.pixels) + p.top * surface.pitch + p.left * bytes;
    for (int y = firstRow; y <= lastRow; ++y) {
        const uint16_t* source = picture + y * width_;
        uint8_t* first = base + y * p.scale * surface.pitch;
        auto* wide = reinterpret_cast<uint32_t*>(first);
        if (xrgb && p.scale == 1) {
            WidenRow<1>(source, columns, alpha, wide);
        } else if (xrgb && p.scale == 2) {
            WidenRow<2>(source, columns, alpha, wide);
        } else if (xrgb && p.scale == 3) {
            WidenRow<3>(source, columns, alpha, wide);
        } else if (bytes == 4) {
            auto* out = wide;
            for (int x = 0; x < columns; ++x)
                for (int k = 0; k < p.scale; ++k)
                    *out++ = colours_[source[x]];
        } else {
            auto* out = reinterpret_cast<uint16_t*>(first);
            for (int x = 0; x < columns; ++x)
                for (int k = 0; k < p.scale; ++k)
                    *out++ = static_cast<uint16_t>(colours_[source[x]]);
        }
        for (int k = 1; k < p.scale; ++k)
            std::memcpy(first + k * surface.pitch, first, rowBytes);
    }
}
