#pragma once
// The password of the game's data archives, kept only in scrambled form: byte i of the
// password is (stored byte i - 32) XOR i. The data build encrypts every member with it;
// the archive reader unscrambles it just before each open.
#include <cstddef>

inline constexpr unsigned char kScrambledDataPassword[16] = {
    // "Wing&Gate#1Sky72" scrambled: (plain[i] ^ i) + 32
    0x77, 0x88, 0x8C, 0x84, 0x42, 0x62, 0x87, 0x93, 0x8D, 0x4A, 0x5B, 0x78, 0x87, 0x94, 0x59, 0x5D,
};
inline constexpr size_t kDataPasswordLength = sizeof(kScrambledDataPassword);

// Writes the password and a terminating 0 into out, which holds at least 17 bytes.
inline void UnscrambleDataPassword(char* out) {
    for (size_t i = 0; i < kDataPasswordLength; ++i) {
        out[i] = static_cast<char>(static_cast<unsigned char>(kScrambledDataPassword[i] - 32) ^ i);
    }
    out[kDataPasswordLength] = '\0';
}
