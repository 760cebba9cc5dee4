#pragma once
// A worker thread that can be suspended and asked to stop, never killed.
// The body calls Pass() once per loop: it blocks there while the thread is suspended
// and returns false once a stop has been requested, so the body can leave cleanly.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class CFSThread {
public:
    using Body = std::function<void(CFSThread&)>;

    CFSThread() = default;
    ~CFSThread();  // requests a stop and joins
    CFSThread(const CFSThread&) = delete;
    CFSThread& operator=(const CFSThread&) = delete;

    // Starts the body on a new thread; false if one is already running.
    bool Start(Body body);
    void Suspend();
    void Resume();
    void RequestStop();
    // Waits for the body to return.
    void Join();

    bool Running() const { return running_.load(); }
    bool Suspended() const;

    // Called by the body: waits while suspended; false when the body should end.
    bool Pass();

private:
    std::thread thread_;
    std::atomic<bool> running_{false};
    std::atomic<bool> stop_{false};
    mutable std::mutex lock_;
    std::condition_variable gate_;
    bool suspended_ = false;
};
