#pragma once
// Shared helpers for the tests: a private temporary folder, the 5-6-5 channels and the
// bands a smooth gradient shows in them.
#include <cstdint>
#include <string>

namespace testing_support {

// A fresh empty folder under the system's temporary folder.
std::string MakeTempFolder(const std::string& tag);

// 5-6-5 channels.
inline int Red5(uint16_t p) {
    return p >> 11;
}
inline int Green6(uint16_t p) {
    return (p >> 5) & 63;
}
inline int Blue5(uint16_t p) {
    return p & 31;
}

// The edges of bands in a width × height picture whose 5-6-5 values level(x, y) gives:
// places along a row or a column where one value gives way to another and each holds for
// at least run pixels on its side, as the steps of a smooth gradient do on the screen.
template <class Level>
int BandEdges(int width, int height, Level level, int run = 24) {
    int edges = 0;
    auto scan = [&](int length, auto at) {
        int before = 0, here = 1;  // the lengths of the last finished run and of this one
        for (int k = 1; k <= length; ++k) {
            if (k < length && at(k) == at(k - 1)) {
                ++here;
                continue;
            }
            if (before >= run && here >= run) ++edges;
            before = here;
            here = 1;
        }
    };
    for (int y = 0; y < height; ++y)
        scan(width, [&](int x) { return level(x, y); });
    for (int x = 0; x < width; ++x)
        scan(height, [&](int y) { return level(x, y); });
    return edges;
}

}  // namespace testing_support
