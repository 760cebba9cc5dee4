#include "platform/FSMemory.h"

#include <malloc.h>

#include <cstdio>

namespace platform {

void ReleaseFreeMemory() {
    malloc_trim(0);
}

size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    // Small blocks live in the arenas; large ones are mapped one by one.
    return info.uordblks + info.hblkhd;
}

size_t PeakResidentBytes() {
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return 0;
    char line[256];
    unsigned long kb = 0;
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmHWM: %lu kB", &kb) == 1) break;
    std::fclose(status);
    return static_cast<size_t>(kb) * 1024;
}

}  // namespace platform
