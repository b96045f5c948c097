#pragma once
// What --stats prints after a render or a RIP: wall and CPU time, the
// megapixels per second rendered (source) and delivered (device), and the
// peak resident memory.
#include <chrono>

namespace corvan::cli {

class RunStats {
public:
    RunStats();  // the clocks start here
    // One line on stderr.
    void Print(double sourcePixels, double devicePixels) const;

private:
    std::chrono::steady_clock::time_point start_;
    double userStart_, systemStart_;
};

}  // namespace corvan::cli
