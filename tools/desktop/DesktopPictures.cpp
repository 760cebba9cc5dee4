// Pictures for the desktop, made from what the build renders:
//
// usage: aerovant-desktop-pictures --window-icon <icon.png> <output.cpp>
//   Writes the game's icon (rendered from assets/desktop/aerovant.svg) as a C++ source file
//   of RGBA pixels, so the program carries its window icon.
// usage: aerovant-desktop-pictures --double <picture.png> <output.png>
//   Doubles a screenshot pixel for pixel, as the game's window shows its frames by default.
#include <cstdio>
#include <string>
#include <vector>

#include "common/Canvas.h"
#include "common/ImageFiles.h"

namespace {

int WriteWindowIcon(const std::string& input, const std::string& output) {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    if (!ReadPngRgba(input, width, height, rgba) || width != height) {
        std::fprintf(stderr, "aerovant-desktop-pictures: %s is no square PNG picture\n", input.c_str());
        return 1;
    }
    const std::string source =
        "// Made by aerovant-desktop-pictures; do not edit.\n"
        "#include \"platform/FSWindowIcon.h\"\n\n"
        "const int kWindowIconSide = " +
        std::to_string(width) + ";\n" + ByteArraySource("kWindowIconPixels", rgba);
    if (!WriteFile(output, std::vector<uint8_t>(source.begin(), source.end()))) {
        std::fprintf(stderr, "aerovant-desktop-pictures: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}

int WriteDoubled(const std::string& input, const std::string& output) {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    if (!ReadPngRgba(input, width, height, rgba)) {
        std::fprintf(stderr, "aerovant-desktop-pictures: cannot read the PNG picture %s\n", input.c_str());
        return 1;
    }
    Canvas doubled(width * 2, height * 2);
    for (int y = 0; y < height * 2; ++y) {
        for (int x = 0; x < width * 2; ++x) {
            const uint8_t* p = &rgba[(static_cast<size_t>(y / 2) * width + x / 2) * 4];
            doubled.At(x, y) = {p[0], p[1], p[2], p[3]};
        }
    }
    if (!WriteFile(output, EncodePng(doubled, false))) {
        std::fprintf(stderr, "aerovant-desktop-pictures: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 4 ? argv[1] : "";
    if (mode == "--window-icon") return WriteWindowIcon(argv[2], argv[3]);
    if (mode == "--double") return WriteDoubled(argv[2], argv[3]);
    std::fprintf(stderr,
                 "usage: %s --window-icon <icon.png> <output.cpp>\n"
                 "       %s --double <picture.png> <output.png>\n",
                 argv[0], argv[0]);
    return 2;
}
