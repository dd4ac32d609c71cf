// The clocks the benchmarks read, in seconds.
#pragma once

#include <ctime>

namespace bench {

inline double Seconds(clockid_t clock = CLOCK_MONOTONIC) {
    timespec ts{};
    ::clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

}  // namespace bench
