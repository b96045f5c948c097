#pragma once
// Strips of one run rendered ahead on worker threads and handed out in the
// order they are asked for, so the driver thread never waits for drawing
// while a worker is free. Several strips are drawn as one block and cut
// apart: each drawing replays every layer, so fewer, larger drawings cost
// far less, and strips join without seams, so the pixels are those of
// strips drawn one by one, whatever the number of threads.
#include "raster/stripcomposer.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace corvan {

// Worker threads for the RIP: CORVANRIP_THREADS when set (1 draws on the
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
    // `threads` workers (1 or less: blocks are drawn when first asked for).
    StripPipeline(const StripComposer& composer, int threads, const StripSequence& sequence);
    ~StripPipeline();
    StripPipeline(const StripPipeline&) = delete;
    StripPipeline& operator=(const StripPipeline&) = delete;

    // The strip of `rect` (ends inclusive, as StripComposer::Render); the
    // strips that follow it in the sequence are drawn ahead. A request out of
    // sequence (a new pass starts at the top) drops what was drawn ahead.
    std::unique_ptr<Bitmap24> Take(const IntRect& rect, float scale);

private:
    struct Block {
        IntRect rect;         // the rows of `strips` strips
        int stripHeight = 0;  // bottom - top of one strip
        int strips = 0;
        float scale = 0;
        bool started = false;
        bool done = false;
        std::unique_ptr<Bitmap24> image;
    };
    // The block that starts with the strip `first`.
    std::shared_ptr<Block> NewBlock(const IntRect& first, float scale) const;
    void QueueAhead();
    void Work();
    std::unique_ptr<Bitmap24> Render(const IntRect& rect, float scale) const;

    const StripComposer& composer_;
    const StripSequence sequence_;
    std::size_t ahead_ = 1;  // blocks queued, the one being taken from included
    std::mutex mutex_;
    std::condition_variable wake_;              // a block was queued, or stopping
    std::condition_variable done_;              // a block was drawn
    std::deque<std::shared_ptr<Block>> queue_;  // in the order strips are handed out
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace corvan
