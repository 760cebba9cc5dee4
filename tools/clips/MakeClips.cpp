// aerovant-make-clips: the five aircraft clips of the aircraft choice and their still
// pictures, drawn headless from the built archives, encoded with libxvidcore and written as
// AVI files for "data\menu.zip".
//
// usage: aerovant-make-clips <data folder> <output folder> [<contact sheet.png>]
//   writes <output>/video/<Name>.avi and <Name>.bmp (the first picture, 16-bit 5-6-5) for
//   Cessna172R, Su29, L29, L13 and Fokker; the sheet shows every sixth picture of each clip.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "clips/AviWriter.h"
#include "clips/ClipEncoder.h"
#include "clips/ClipScene.h"
#include "common/ImageFiles.h"

namespace {

constexpr int kWidth = 156, kHeight = 116;
constexpr int kFrames = 48, kFramesPerSecond = 12;
// The player reads each clip into a block of this many bytes.
constexpr size_t kBlockSize = 169178;

struct ClipRecipe {
    const char* name;   // "video/<name>.avi"
    const char* model;  // "aircraft/<model>.obj"
};
const ClipRecipe kClips[] = {
    {"Cessna172R", "c172r"}, {"Su29", "su29"}, {"L29", "l29"}, {"L13", "l13"}, {"Fokker", "fokker"}};

// The finest quantiser whose file fits the player's block.
std::vector<uint8_t> EncodeToFit(const std::vector<Canvas>& frames, int& quant) {
    for (quant = 3; quant <= 31; ++quant) {
        AviClip clip;
        if (!EncodeClip(frames, quant, kFramesPerSecond, clip)) return {};
        std::vector<uint8_t> file = WriteAvi(clip);
        if (file.size() <= kBlockSize) return file;
    }
    return {};
}

std::vector<uint8_t> Still(const Canvas& frame) {
    std::vector<uint16_t> pixels;
    pixels.reserve(static_cast<size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels.push_back(To565(frame.At(x, y)));
    return Encode565Bmp(pixels, kWidth, kHeight, false);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s <data folder> <output folder> [<contact sheet.png>]\n",
                     argc > 0 ? argv[0] : "aerovant-make-clips");
        return 2;
    }
    const std::string data = argv[1];
    const std::filesystem::path out = std::filesystem::path(argv[2]) / "video";
    std::error_code error;
    std::filesystem::create_directories(out, error);
    constexpr int kSheetEvery = 6, kSheetColumns = kFrames / kSheetEvery;
    Canvas sheet(kWidth * kSheetColumns, kHeight * static_cast<int>(std::size(kClips)));
    int row = 0;
    for (const ClipRecipe& recipe : kClips) {
        const std::vector<Canvas> frames = RenderAircraftTurn(data, recipe.model, kWidth, kHeight, kFrames);
        if (frames.size() != static_cast<size_t>(kFrames)) return 1;
        int quant = 0;
        const std::vector<uint8_t> file = EncodeToFit(frames, quant);
        const std::string name = recipe.name;
        if (file.empty() || !WriteFile((out / (name + ".avi")).string(), file) ||
            !WriteFile((out / (name + ".bmp")).string(), Still(frames[0]))) {
            std::fprintf(stderr, "aerovant-make-clips: cannot make the %s clip\n", recipe.name);
            return 1;
        }
        std::printf("video/%s.avi: %zu bytes, quantiser %d\n", recipe.name, file.size(), quant);
        for (int c = 0; c < kSheetColumns; ++c) {
            const Canvas& frame = frames[static_cast<size_t>(c * kSheetEvery)];
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x)
                    sheet.At(c * kWidth + x, row * kHeight + y) = frame.At(x, y);
        }
        ++row;
    }
    if (argc == 4 && !WriteFile(argv[3], EncodePng(sheet, false))) {
        std::fprintf(stderr, "aerovant-make-clips: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
