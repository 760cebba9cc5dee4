// Writes the game's icon, rendered from assets/desktop/aerovant.svg by the build, as a C++
// source file of RGBA pixels, so the program carries its window icon.
//
// usage: aerovant-make-window-icon <icon.png> <output.cpp>
#include <cstdio>
#include <string>
#include <vector>

#include "common/ImageFiles.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <icon.png> <output.cpp>\n", argv[0]);
        return 2;
    }
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    if (!ReadPngRgba(argv[1], width, height, rgba) || width != height) {
        std::fprintf(stderr, "aerovant-make-window-icon: %s is no square PNG picture\n", argv[1]);
        return 1;
    }
    const std::string source =
        "// Made by aerovant-make-window-icon; do not edit.\n"
        "#include \"platform/FSWindowIcon.h\"\n\n"
        "const int kWindowIconSide = " +
        std::to_string(width) + ";\n" + ByteArraySource("kWindowIconPixels", rgba);
    if (!WriteFile(argv[2], std::vector<uint8_t>(source.begin(), source.end()))) {
        std::fprintf(stderr, "aerovant-make-window-icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
