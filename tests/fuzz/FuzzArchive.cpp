// An archive from the player's disk: the member reads (plain, deflated, under the game's
// password, or damaged anywhere) through libzip.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte picks the reader and the name: those the seed archives hold, in
    // either case, and one no archive has.
    const int choice = fuzz::TakeChoice(data, size, 12);
    const std::string& archive = fuzz::MemoryFile(data, size);
    const char* const names[] = {"a.txt", "dir/b.bin", "DIR/B.BIN", "missing.txt"};
    const char* name = names[choice % 4];
    switch (choice / 4) {
        case 0:
            ReadArchiveMember(archive, name);
            break;
        case 1: {
            const FSMemoryBlock text = ReadArchiveText(archive, name);
            if (text && text.data[text.size] != 0) __builtin_trap();
            break;
        }
        default: {
            uint8_t small[64];
            size_t got = 0;
            ReadArchiveMemberInto(small, sizeof(small), archive, name, got);
        }
    }
    return 0;
}
