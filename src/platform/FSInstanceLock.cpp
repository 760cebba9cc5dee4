#include "platform/FSInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

CFSInstanceLock::~CFSInstanceLock() {
    Release();
}

CFSInstanceLock::Result CFSInstanceLock::Acquire(const std::string& lockFile) {
    Release();
    int fd = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return Result::Unavailable;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool busy = errno == EWOULDBLOCK;
        close(fd);
        return busy ? Result::Busy : Result::Unavailable;
    }
    fd_ = fd;
    return Result::Acquired;
}

void CFSInstanceLock::Release() {
    if (fd_ >= 0) {
        flock(fd_, LOCK_UN);
        close(fd_);
    }
    fd_ = -1;
}
