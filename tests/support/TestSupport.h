#pragma once
// Shared helpers for the tests: a private temporary folder, the 5-6-5 channels, the
// bands a smooth gradient shows in them and the area where two pictures differ.
#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace testing_support {

// A fresh empty folder under the system's temporary folder.
std::string MakeTempFolder(const std::string& tag);

// What a shell command printed on stdout and stderr together, and its wait status.
std::string RunCommand(const std::string& command, int& status);

// How many times what stands in text (overlapping ones too).
int CountOf(const std::string& text, const std::string& what);

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

// The pixels where two pictures of the same size differ, and the smallest rectangle
// holding them: columns left..right - 1, rows top..bottom - 1 (all 0 when none differ).
struct ChangedArea {
    int count = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const ChangedArea& o) const {
        return count == o.count && left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

inline ChangedArea Changes(const std::vector<uint16_t>& before, const std::vector<uint16_t>& after,
                           int width) {
    ChangedArea area;
    const size_t n = std::min(before.size(), after.size());
    for (size_t i = 0; i < n; ++i) {
        if (before[i] == after[i]) continue;
        const int x = static_cast<int>(i % width), y = static_cast<int>(i / width);
        if (area.count++ == 0) area = {1, x, y, x + 1, y + 1};
        area.left = std::min(area.left, x);
        area.top = std::min(area.top, y);
        area.right = std::max(area.right, x + 1);
        area.bottom = std::max(area.bottom, y + 1);
    }
    return area;
}

inline std::ostream& operator<<(std::ostream& out, const ChangedArea& a) {
    return out << a.count << " pixels in [" << a.left << ", " << a.right << ") x [" << a.top << ", "
               << a.bottom << ")";
}

}  // namespace testing_support
