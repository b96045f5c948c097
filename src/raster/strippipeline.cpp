#include "raster/strippipeline.h"

#include "platform/debuglog.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>

namespace corvan {

namespace {

// Pixels drawn at once: large enough that replaying the layers costs little
// next to filling the pixels, small enough that a few blocks stay well
// within the RIP's memory budget.
constexpr long long kBlockPixels = 2000000;

std::unique_ptr<Bitmap24> Slice(const Bitmap24& block, int firstRow, int rows) {
    auto strip = Bitmap24::Create(block.Width(), rows);
    if (!strip) return nullptr;
    const std::size_t bytes = 3 * static_cast<std::size_t>(block.Width());
    for (int y = 0; y < rows; ++y) std::memcpy(strip->Row(y), block.Row(firstRow + y), bytes);
    return strip;
}

bool Holds(const IntRect& block, const IntRect& strip) {
    return block.left == strip.left && block.right == strip.right && block.top <= strip.top &&
           strip.bottom <= block.bottom;
}

}  // namespace

int DefaultStripThreads() {
    if (const char* env = std::getenv("CORVANRIP_THREADS")) {
        const int n = std::atoi(env);
        if (n >= 1) return std::min(n, 64);
    }
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 1u, 8u));
}

StripPipeline::StripPipeline(const StripComposer& composer, int threads,
                             const StripSequence& sequence)
    : composer_(composer), sequence_(sequence) {
    if (threads <= 1) return;
    // The block being handed out plus one drawing per worker.
    ahead_ = static_cast<std::size_t>(threads) + 1;
    workers_.reserve(static_cast<std::size_t>(threads));
    for (int i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
}

StripPipeline::~StripPipeline() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    wake_.notify_all();
    for (std::thread& t : workers_) t.join();
}

std::shared_ptr<StripPipeline::Block> StripPipeline::NewBlock(const IntRect& first,
                                                              float scale) const {
    auto block = std::make_shared<Block>();
    block->scale = scale;
    block->stripHeight = first.bottom - first.top;
    const long long stripPixels =
        static_cast<long long>(first.right - first.left + 1) * (block->stripHeight + 1);
    int strips = static_cast<int>(std::max(1LL, kBlockPixels / std::max(1LL, stripPixels)));
    if (sequence_.step <= 0)
        strips = 1;
    else
        strips = std::clamp((sequence_.lastTop - first.top) / sequence_.step + 1, 1, strips);
    block->strips = strips;
    block->rect = first;
    block->rect.bottom = std::max(
        first.bottom, std::min(first.bottom + (strips - 1) * sequence_.step, sequence_.lastBottom));
    return block;
}

std::unique_ptr<Bitmap24> StripPipeline::Render(const IntRect& rect, float scale) const {
    try {
        return composer_.Render(rect, scale);
    } catch (const std::exception& e) {
        LogLine(std::string("Strip not rendered: ") + e.what());
    } catch (...) {
        LogLine("Strip not rendered");
    }
    return nullptr;
}

std::unique_ptr<Bitmap24> StripPipeline::Take(const IntRect& rect, float scale) {
    std::unique_lock lock(mutex_);
    while (!queue_.empty() &&
           !(queue_.front()->scale == scale && Holds(queue_.front()->rect, rect)))
        queue_.pop_front();  // a worker still drawing one of these just drops it
    if (queue_.empty()) queue_.push_back(NewBlock(rect, scale));
    const std::shared_ptr<Block> block = queue_.front();
    QueueAhead();
    if (!block->started) {
        // Nobody took it yet: draw it here rather than wait.
        block->started = true;
        lock.unlock();
        wake_.notify_all();
        auto image = Render(block->rect, scale);
        lock.lock();
        block->image = std::move(image);
        block->done = true;
    } else {
        wake_.notify_all();
        done_.wait(lock, [&] { return block->done; });
    }
    lock.unlock();
    // Only this thread reads a finished block.
    if (!block->image) return nullptr;
    return Slice(*block->image, rect.top - block->rect.top, rect.bottom - rect.top + 1);
}

void StripPipeline::QueueAhead() {
    if (sequence_.step <= 0) return;
    while (queue_.size() < ahead_) {
        const Block& last = *queue_.back();
        IntRect next = last.rect;
        next.top = last.rect.top + last.strips * sequence_.step;
        next.bottom = std::min(next.top + last.stripHeight, sequence_.lastBottom);
        if (next.top > sequence_.lastTop || next.bottom < next.top) return;
        queue_.push_back(NewBlock(next, last.scale));
    }
}

void StripPipeline::Work() {
    for (;;) {
        std::shared_ptr<Block> block;
        {
            std::unique_lock lock(mutex_);
            const auto waiting = [](const auto& b) { return !b->started; };
            wake_.wait(lock, [&] {
                return stopping_ || std::any_of(queue_.begin(), queue_.end(), waiting);
            });
            if (stopping_) return;
            block = *std::find_if(queue_.begin(), queue_.end(), waiting);
            block->started = true;
        }
        auto image = Render(block->rect, block->scale);
        {
            std::lock_guard lock(mutex_);
            block->image = std::move(image);
            block->done = true;
        }
        done_.notify_all();
    }
}

}  // namespace corvan
