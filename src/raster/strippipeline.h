#pragma once
// Strips of one run rendered ahead on worker threads and handed out in the
// order they are asked for, so the driver thread never waits for drawing
// while a worker is free. Each strip is composed independently, so the
// pixels do not depend on the number of threads.
#include "raster/stripcomposer.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace corvan {

// Worker threads for the RIP: CORVANRIP_THREADS when set (1 renders on the
// caller's thread), else one per core, at most 8.
int DefaultStripThreads();

// How the strips of a run follow each other: each starts `step` rows below
// the one before, ends at most at `lastBottom`, and none starts below
// `lastTop`.
struct StripSequence {
    int step = 0;
    int lastTop = 0;
    int lastBottom = 0;
};

class StripPipeline {
public:
    // `threads` workers (1 or less: every strip is rendered when asked for).
    StripPipeline(const StripComposer& composer, int threads, const StripSequence& sequence);
    ~StripPipeline();
    StripPipeline(const StripPipeline&) = delete;
    StripPipeline& operator=(const StripPipeline&) = delete;

    // The strip of `rect` (ends inclusive, as StripComposer::Render); then
    // the strips that follow it in the sequence are queued ahead. A request
    // out of sequence (a new pass starts at the top) drops what was queued.
    std::unique_ptr<Bitmap24> Take(const IntRect& rect, float scale);

private:
    struct Job {
        IntRect rect;
        float scale = 0;
        bool started = false;
        bool done = false;
        std::unique_ptr<Bitmap24> strip;
    };
    static std::shared_ptr<Job> NewJob(const IntRect& rect, float scale);
    void Work();
    void QueueAhead(const IntRect& after, float scale);
    std::unique_ptr<Bitmap24> Render(const IntRect& rect, float scale) const;

    const StripComposer& composer_;
    const StripSequence sequence_;
    std::size_t ahead_ = 0;
    std::mutex mutex_;
    std::condition_variable wake_;            // a job was queued, or stopping
    std::condition_variable done_;            // a job was finished
    std::deque<std::shared_ptr<Job>> queue_;  // in the order strips are handed out
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace corvan
