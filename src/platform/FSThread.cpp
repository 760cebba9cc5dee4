#include "platform/FSThread.h"

CFSThread::~CFSThread() {
    RequestStop();
    Join();
}

bool CFSThread::Start(Body body) {
    if (thread_.joinable()) return false;
    stop_.store(false);
    {
        std::lock_guard<std::mutex> hold(lock_);
        suspended_ = false;
    }
    running_.store(true);
    thread_ = std::thread([this, body = std::move(body)] {
        body(*this);
        running_.store(false);
    });
    return true;
}

void CFSThread::Suspend() {
    std::lock_guard<std::mutex> hold(lock_);
    suspended_ = true;
}

void CFSThread::Resume() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        suspended_ = false;
    }
    gate_.notify_all();
}

void CFSThread::RequestStop() {
    stop_.store(true);
    gate_.notify_all();
}

void CFSThread::Join() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

bool CFSThread::Suspended() const {
    std::lock_guard<std::mutex> hold(lock_);
    return suspended_;
}

bool CFSThread::Pass() {
    std::unique_lock<std::mutex> hold(lock_);
    gate_.wait(hold, [this] { return !suspended_ || stop_.load(); });
    return !stop_.load();
}
