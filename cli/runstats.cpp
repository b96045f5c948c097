#include "runstats.h"

#include <cstdio>

#include <sys/resource.h>

namespace corvan::cli {

namespace {
double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

struct Usage {
    double user, system;
    long peakKb;
};

Usage Now() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return {Seconds(u.ru_utime), Seconds(u.ru_stime), u.ru_maxrss};
}
}  // namespace

RunStats::RunStats() : start_(std::chrono::steady_clock::now()) {
    const Usage u = Now();
    userStart_ = u.user;
    systemStart_ = u.system;
}

void RunStats::Print(double sourcePixels, double devicePixels) const {
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const Usage u = Now();
    const double rate = wall > 0 ? 1e-6 / wall : 0;
    const double user = u.user - userStart_, system = u.system - systemStart_;
    std::fprintf(stderr,
                 "corvanrip: stats: %.2f s wall, %.2f s CPU (%.2f user, %.2f system); "
                 "source %.1f Mpx at %.1f Mpx/s, device %.1f Mpx at %.1f Mpx/s; peak memory %.0f MB\n",
                 wall, user + system, user, system, sourcePixels / 1e6,
                 sourcePixels * rate, devicePixels / 1e6, devicePixels * rate,
                 static_cast<double>(u.peakKb) / 1024.0);
}

}  // namespace corvan::cli
