#pragma once
// Makes sure only one copy of the game runs: an advisory lock on a file in the player
// folder, held for the life of the process (the system drops it if the process dies).
#include <string>

class CFSInstanceLock {
public:
    CFSInstanceLock() = default;
    ~CFSInstanceLock();
    CFSInstanceLock(const CFSInstanceLock&) = delete;
    CFSInstanceLock& operator=(const CFSInstanceLock&) = delete;

    enum class Result { Acquired, Busy, Unavailable };
    // Acquired: this process holds the lock. Busy: another copy holds it.
    // Unavailable: the lock file cannot be made (a read-only folder); the game runs anyway.
    Result Acquire(const std::string& lockFile);
    void Release();
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};
