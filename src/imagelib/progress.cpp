#include "imagelib/progress.h"

namespace corvan {

void ProgressReporter::Start() {
    if (started_) return;
    started_ = true;
    if (callback_) callback_(0, 0);
}

void ProgressReporter::Advance(std::uint64_t done, std::uint64_t total) {
    if (!callback_ || !started_ || finished_ || total == 0) return;
    const int percent = done >= total ? 100 : static_cast<int>(done * 100 / total);
    // Decoders with several passes estimate; the operator only sees progress.
    if (percent <= percent_) return;
    percent_ = percent;
    callback_(1, percent);
}

void ProgressReporter::Finish() {
    if (!started_ || finished_) return;
    finished_ = true;
    if (callback_) callback_(2, 100);
}

}  // namespace corvan
