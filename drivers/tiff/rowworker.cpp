#include "tiff/rowworker.h"

namespace drv {

RowWorker::RowWorker(std::size_t depth) : depth_(depth ? depth : 1), thread_([this] { Loop(); }) {}

RowWorker::~RowWorker() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void RowWorker::Post(std::function<void()> task) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queue_.size() < depth_; });
    queue_.push_back(std::move(task));
    lock.unlock();
    changed_.notify_all();
}

void RowWorker::Drain() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queue_.empty() && !running_; });
}

void RowWorker::Loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return quit_ || !queue_.empty(); });
        if (queue_.empty()) return;
        std::function<void()> task = std::move(queue_.front());
        queue_.pop_front();
        running_ = true;
        lock.unlock();
        changed_.notify_all();
        task();
        lock.lock();
        running_ = false;
        changed_.notify_all();
    }
}

}  // namespace drv
