#pragma once
// Shared helpers for the tests: a private temporary folder and the 5-6-5 channels.
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

}  // namespace testing_support
