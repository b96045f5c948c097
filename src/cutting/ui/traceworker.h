#pragma once
// Tracing off the window's thread: one run at a time on a thread of its own.
// A newer request tells the running one to stop and only the newest result
// is handed back, on the thread of the owner, so the window stays usable and
// keeps showing the last outlines meanwhile.
#include "cutting/autotrace.h"

#include <QObject>
#include <QPointF>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace corvan {

struct TraceRun {
    bool ok = false;
    std::string error;                        // empty when cancelled
    std::vector<std::vector<QPointF>> lines;  // pixel coordinates of the source
    long totalPoints = 0, maxPoints = 0;
    int contours = 0;
    std::string file;  // the layer written, for a saving run
};

struct TraceRequest {
    std::shared_ptr<const Bitmap24> source;
    AutotraceSettings settings;
    std::string saveAs;  // empty: trace only; else smooth and save there
};

class TraceWorker {
public:
    using Done = std::function<void(TraceRun)>;
    explicit TraceWorker(QObject* owner);
    ~TraceWorker();
    TraceWorker(const TraceWorker&) = delete;
    TraceWorker& operator=(const TraceWorker&) = delete;

    void Request(TraceRequest request, Done done);
    // Stops the running request; its result never arrives.
    void Cancel();
    bool Busy();
    // Blocks until nothing runs or waits (tests, closing).
    void WaitIdle();
    int Percent() const { return percent_; }

    // The work itself, on the calling thread.
    static TraceRun Run(const TraceRequest& request, AutotraceProgress* progress);

private:
    void Loop();
    QObject* owner_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<std::pair<TraceRequest, Done>> waiting_;
    bool running_ = false, stop_ = false;
    std::atomic<unsigned> latest_{0};
    std::atomic<int> percent_{0};
    std::thread thread_;
};

}  // namespace corvan
