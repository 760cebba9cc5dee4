#include "menu/EditKeyboardLayout.h"

namespace edit_keyboard {

namespace {

// Keys first..first + count - 1 of one row, 18 pixels apart from x.
void Row(std::array<Key, kKeyCount>& keys, int first, int y, int x, const char* plain, const char* shifted) {
    for (int i = 0; plain[i] != 0; ++i)
        keys[first + i] = {x + 18 * i, y, 18, plain[i], shifted[i]};
}

std::array<Key, kKeyCount> MakeKeys() {
    std::array<Key, kKeyCount> keys{};
    Row(keys, 0, 0, 0, "1234567890-=", "!@#$%^&*()_+");
    keys[kBackspace] = {216, 0, 24};
    keys[kNoAction] = {0, 15, 24};
    Row(keys, 14, 15, 24, "qwertyuiop[]", "QWERTYUIOP{}");
    keys[kCapsLock] = {0, 30, 30};
    Row(keys, 27, 30, 30, "asdfghjkl;'", "ASDFGHJKL:\"");
    keys[kShift] = {0, 45, 36};
    Row(keys, 39, 45, 36, "zxcvbnm,./", "ZXCVBNM<>?");
    keys[49] = {42, 60, 18, '`', '~'};
    keys[50] = {60, 60, 18, '\\', '|'};
    keys[51] = {80, 60, 90, ' ', ' '};
    keys[kCursorLeft] = {168, 60, 18};
    keys[kCursorRight] = {186, 60, 18};
    return keys;
}

bool Contains(const Key& k, FSPoint p) {
    return k.x <= p.x && p.x < k.x + k.w && k.y <= p.y && p.y < k.y + kKeyHeight;
}

}  // namespace

const std::array<Key, kKeyCount>& Keys() {
    static const std::array<Key, kKeyCount> keys = MakeKeys();
    return keys;
}

const std::array<Key, 2>& EnterKey() {
    static const std::array<Key, 2> enter{Key{228, 30, 12}, Key{216, 45, 24}};
    return enter;
}

int KeyAt(FSPoint point) {
    const std::array<Key, kKeyCount>& keys = Keys();
    for (int i = 0; i < kKeyCount; ++i)
        if (Contains(keys[i], point)) return i;
    for (const Key& part : EnterKey())
        if (Contains(part, point)) return kEnter;
    return kNone;
}

}  // namespace edit_keyboard
