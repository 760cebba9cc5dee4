#pragma once
// The on-screen keyboard of the text field: 54 keys in five rows of 15 pixels, each with
// its place on the keyboard picture and the characters it types plain and shifted, plus
// the two rectangles of the enter key.
#include <array>

#include "resources/FSBitmap.h"

namespace edit_keyboard {

inline constexpr int kKeyCount = 54;
inline constexpr int kKeyHeight = 15;
inline constexpr int kBackspace = 12;
inline constexpr int kNoAction = 13;
inline constexpr int kCapsLock = 26;
inline constexpr int kShift = 38;
inline constexpr int kCursorLeft = 52;
inline constexpr int kCursorRight = 53;
inline constexpr int kEnter = 100;
inline constexpr int kNone = -1;

struct Key {
    int x = 0, y = 0, w = 18;  // on the keyboard picture
    char plain = 0;            // 0 for the keys that do not type
    char shifted = 0;
};

const std::array<Key, kKeyCount>& Keys();
// The two parts of the enter key.
const std::array<Key, 2>& EnterKey();
// The key at point (relative to the keyboard picture): 0..53, kEnter, or kNone.
int KeyAt(FSPoint point);

}  // namespace edit_keyboard
