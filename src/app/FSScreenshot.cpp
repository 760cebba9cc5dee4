#include "app/FSScreenshot.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "hud/FSFont.h"
#include "platform/FSDisplay.h"
#include "platform/FSPaths.h"
#include "platform/FSUserFolders.h"
#include "resources/FSPng.h"

std::string ScreenshotFolder() {
    const std::string pictures = platform::PicturesFolder();
    return pictures.empty() ? platform::PlayerFolder() : pictures + "Aerovant/";
}

namespace {

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// The upright picture of a device frame, each pixel made scale x scale.
std::vector<uint16_t> UprightPicture(const std::vector<uint16_t>& frame, int orientation, int scale,
                                     int& width, int& height) {
    std::vector<uint16_t> upright(MFSDisplay::kPixels);
    platform::DeviceToPicture(orientation, frame.data(), upright.data());
    const int w = orientation == 0 ? MFSDisplay::kWidth : MFSDisplay::kHeight;
    const int h = MFSDisplay::kPixels / w;
    width = w * scale;
    height = h * scale;
    std::vector<uint16_t> scaled(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const uint16_t* in = upright.data() + (y / scale) * w;
        uint16_t* out = scaled.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x)
            out[x] = in[x / scale];
    }
    return scaled;
}

// The device pixel that the upright picture shows at (x, y), as DeviceToPicture turns it.
int DeviceIndex(int orientation, int x, int y) {
    const int w = MFSDisplay::kWidth;
    const int h = MFSDisplay::kHeight;
    if (orientation == 1) return (h - 1 - x) * w + y;
    if (orientation == 2) return x * w + (w - 1 - y);
    return y * w + x;
}

}  // namespace

bool WriteUprightPng(const MFSDisplay& display, const std::string& path, int scale) {
    int width = 0;
    int height = 0;
    const std::vector<uint16_t> picture =
        UprightPicture(display.LastFrame(), display.Orientation(), std::max(scale, 1), width, height);
    return WritePng565(path, picture.data(), width, height);
}

std::string SaveScreenshot(const MFSDisplay& display, const std::string& folder, std::time_t when,
                           std::string& error) {
    if (display.FrameCount() == 0) {
        error = "nothing has been shown yet";
        return "";
    }
    if (!platform::MakeFolders(folder)) {
        error = "cannot make " + folder + " (" + std::strerror(errno) + ")";
        return "";
    }
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string stem =
        folder + (folder.empty() || folder.back() == '/' ? "" : "/") + "aerovant-" + stamp;
    std::string path = stem + ".png";
    for (int n = 2; Exists(path); ++n) {
        if (n > 99) {
            error = "too many pictures taken in one second";
            return "";
        }
        path = stem + "-" + std::to_string(n) + ".png";
    }
    // A scale past 8 (a huge screen) would only make a big file of the same picture.
    if (!WriteUprightPng(display, path, std::min(display.PictureScale(), 8))) {
        error = "cannot write " + path;
        return "";
    }
    return path;
}

std::vector<uint16_t> MakeNoticeOverlay(const CFSFont& font, int orientation,
                                        const std::vector<std::string>& lines) {
    std::vector<uint16_t> overlay(MFSDisplay::kPixels, MFSDisplay::kOverlayClear);
    const int width = orientation == 0 ? MFSDisplay::kWidth : MFSDisplay::kHeight;
    const int height = MFSDisplay::kPixels / width;
    const int lineHeight = std::max(font.LineHeight(), 8) + 2;
    const int band = lineHeight * static_cast<int>(lines.size()) + 4;
    const uint16_t dark = 0x1082;
    for (int y = std::max(0, height - band); y < height; ++y) {
        for (int x = 0; x < width; ++x)
            overlay[DeviceIndex(orientation, x, y)] = dark;
    }
    const uint16_t white = 0xFFFF;
    int top = height - band + 3;
    for (const std::string& line : lines) {
        DrawText(font, overlay.data(), orientation, 0, kJustifyCentre, {width / 2, top}, white, line);
        top += lineHeight;
    }
    return overlay;
}
