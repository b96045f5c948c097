#include "cutting/ui/traceworker.h"

namespace corvan {

namespace {

// Goes on while the run is still the newest request; keeps the percentage.
class RunProgress : public AutotraceProgress {
public:
    RunProgress(const std::atomic<unsigned>& latest, unsigned mine, std::atomic<int>& percent)
        : latest_(latest), mine_(mine), percent_(percent) {}
    bool Step(int percent) override {
        percent_ = percent;
        return latest_ == mine_;
    }

private:
    const std::atomic<unsigned>& latest_;
    unsigned mine_;
    std::atomic<int>& percent_;
};

// The walk runs through pixel indices; a pixel's centre is half a pixel on.
std::vector<QPointF> Centred(const std::vector<QPointF>& line) {
    std::vector<QPointF> out;
    out.reserve(line.size());
    for (const QPointF& p : line) out.push_back(p + QPointF(0.5, 0.5));
    return out;
}

}  // namespace

TraceRun TraceWorker::Run(const TraceRequest& request, AutotraceProgress* progress) {
    TraceRun run;
    TraceMask mask = MakeTraceMask(*request.source, request.settings);
    auto traced = TraceContours(mask, progress);
    if (!traced) return run;
    run.totalPoints = traced->totalPoints;
    run.maxPoints = traced->maxPoints;
    if (request.saveAs.empty()) {
        for (const auto& line : traced->polylines) run.lines.push_back(Centred(line));
        run.contours = int(traced->polylines.size());
        run.ok = true;
        if (progress) progress->Step(100);
        return run;
    }
    auto saved = SaveTracedLayer(*traced, request.settings, request.saveAs, progress);
    if (!saved) {
        if (!progress || progress->Step(100)) run.error = saved.Error();
        return run;
    }
    for (const TdotList& dots : *saved) {
        std::vector<QPointF> line;
        line.reserve(dots.size());
        for (const Tdot& d : dots) line.emplace_back(d.X + 0.5, d.Y + 0.5);
        run.lines.push_back(std::move(line));
    }
    run.contours = int(saved->size());
    run.file = request.saveAs;
    run.ok = true;
    return run;
}

TraceWorker::TraceWorker(QObject* owner) : owner_(owner), thread_([this] { Loop(); }) {}

TraceWorker::~TraceWorker() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        waiting_.reset();
        ++latest_;
    }
    changed_.notify_all();
    thread_.join();
}

void TraceWorker::Request(TraceRequest request, Done done) {
    {
        std::lock_guard lock(mutex_);
        ++latest_;
        waiting_ = std::make_pair(std::move(request), std::move(done));
    }
    changed_.notify_all();
}

void TraceWorker::Cancel() {
    {
        std::lock_guard lock(mutex_);
        ++latest_;
        waiting_.reset();
    }
    changed_.notify_all();
}

bool TraceWorker::Busy() {
    std::lock_guard lock(mutex_);
    return running_ || waiting_;
}

void TraceWorker::WaitIdle() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !running_ && !waiting_; });
}

void TraceWorker::Loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stop_ || waiting_; });
        if (stop_) return;
        auto job = std::move(*waiting_);
        waiting_.reset();
        const unsigned mine = latest_;
        running_ = true;
        percent_ = 0;
        lock.unlock();
        RunProgress progress(latest_, mine, percent_);
        auto run = std::make_shared<TraceRun>(Run(job.first, &progress));
        // Delivered only when still the newest request once it arrives; a
        // cancelled run that had begun writing leaves no file behind (saving
        // is atomic), a finished one its file, which nobody then adds.
        QMetaObject::invokeMethod(
            owner_,
            [this, mine, done = std::move(job.second), run] {
                if (latest_ == mine) done(std::move(*run));
            },
            Qt::QueuedConnection);
        lock.lock();
        running_ = false;
        changed_.notify_all();
    }
}

}  // namespace corvan
