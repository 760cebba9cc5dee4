#include "FuzzSupport.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fuzz {

const std::string& MemoryFile(const uint8_t* data, size_t size) {
    static const int fd = memfd_create("aerovant-fuzz", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0) {
        std::perror("memfd_create");
        std::abort();
    }
    if (ftruncate(fd, 0) != 0 || (size > 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))) {
        std::perror("writing the in-memory file");
        std::abort();
    }
    return path;
}

FSMemoryBlock TextBlock(const uint8_t* data, size_t size) {
    FSMemoryBlock block;
    block.data = std::make_unique<uint8_t[]>(size + 1);
    if (size > 0) std::memcpy(block.data.get(), data, size);
    block.data[size] = 0;
    block.size = size;
    return block;
}

}  // namespace fuzz
