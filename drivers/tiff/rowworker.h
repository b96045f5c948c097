#pragma once
// One worker thread that runs the tasks given to it in order. The driver
// converts, scales, compresses and writes rows on it while the host renders
// the next ones; a bounded queue keeps the rows in flight (and memory) few.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace drv {

class RowWorker {
public:
    explicit RowWorker(std::size_t depth);
    ~RowWorker();  // runs what is queued, then ends the thread
    RowWorker(const RowWorker&) = delete;
    RowWorker& operator=(const RowWorker&) = delete;

    // Waits while the queue is full.
    void Post(std::function<void()> task);
    // Returns once every task posted so far has run.
    void Drain();

private:
    void Loop();

    std::size_t depth_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> queue_;
    bool running_ = false, quit_ = false;
    std::thread thread_;
};

}  // namespace drv
