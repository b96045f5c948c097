#include "raster/strippipeline.h"

#include "platform/debuglog.h"

#include <algorithm>
#include <cstdlib>
#include <exception>

namespace corvan {

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
    // One strip ahead per worker and one more, so a worker that finishes
    // always finds the next strip waiting; memory stays a few strips.
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

std::shared_ptr<StripPipeline::Job> StripPipeline::NewJob(const IntRect& rect, float scale) {
    auto job = std::make_shared<Job>();
    job->rect = rect;
    job->scale = scale;
    return job;
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
    if (workers_.empty()) return Render(rect, scale);
    std::unique_lock lock(mutex_);
    while (!queue_.empty() && !(queue_.front()->rect == rect && queue_.front()->scale == scale))
        queue_.pop_front();  // a worker still drawing one of these just drops it
    if (queue_.empty()) queue_.push_back(NewJob(rect, scale));
    const std::shared_ptr<Job> job = queue_.front();
    queue_.pop_front();
    QueueAhead(queue_.empty() ? rect : queue_.back()->rect, scale);
    if (!job->started) {
        // Nobody took it yet: draw it here rather than wait.
        job->started = true;
        lock.unlock();
        wake_.notify_all();
        return Render(rect, scale);
    }
    wake_.notify_all();
    done_.wait(lock, [&] { return job->done; });
    return std::move(job->strip);
}

void StripPipeline::QueueAhead(const IntRect& after, float scale) {
    if (sequence_.step <= 0) return;
    IntRect next = after;
    while (queue_.size() < ahead_) {
        next.top += sequence_.step;
        next.bottom = std::min(next.bottom + sequence_.step, sequence_.lastBottom);
        if (next.top > sequence_.lastTop || next.bottom < next.top) return;
        queue_.push_back(NewJob(next, scale));
    }
}

void StripPipeline::Work() {
    for (;;) {
        std::shared_ptr<Job> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] {
                return stopping_ || std::any_of(queue_.begin(), queue_.end(),
                                                [](const auto& j) { return !j->started; });
            });
            if (stopping_) return;
            job = *std::find_if(queue_.begin(), queue_.end(),
                                [](const auto& j) { return !j->started; });
            job->started = true;
        }
        std::unique_ptr<Bitmap24> strip = Render(job->rect, job->scale);
        {
            std::lock_guard lock(mutex_);
            job->strip = std::move(strip);
            job->done = true;
        }
        done_.notify_all();
    }
}

}  // namespace corvan
