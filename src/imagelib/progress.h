#pragma once
// Progress of a picture being decoded, in the three stages the main window's
// progress handler knows.
#include <cstdint>
#include <functional>

namespace corvan {

// stage: 0 starting, 1 running (percent valid), 2 ending.
using LoadProgress = std::function<void(int stage, int percent)>;

// Turns "done of total" counts from a decoder into stage calls: one start,
// a running call only when the whole percent rises (so a decoder may report
// every row), and one end, also when decoding stops early.
class ProgressReporter {
public:
    explicit ProgressReporter(LoadProgress callback = {}) : callback_(std::move(callback)) {}
    ~ProgressReporter() { Finish(); }
    ProgressReporter(const ProgressReporter&) = delete;
    ProgressReporter& operator=(const ProgressReporter&) = delete;

    void Start();
    void Advance(std::uint64_t done, std::uint64_t total);
    void Finish();

private:
    LoadProgress callback_;
    bool started_ = false;
    bool finished_ = false;
    int percent_ = -1;
};

}  // namespace corvan
