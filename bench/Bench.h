// What every benchmark shares: its clocks, in seconds, and its arguments.
#pragma once

#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>

namespace bench {

inline double Seconds(clockid_t clock = CLOCK_MONOTONIC) {
    timespec ts{};
    ::clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Whether this is the short run CTest makes (--quick) or the whole one (no
// arguments); nothing, with the usage told, for anything else.
inline std::optional<bool> QuickRun(int argc, char** argv, const char* name) {
    const bool quick = argc == 2 && std::strcmp(argv[1], "--quick") == 0;
    if (argc > 1 && !quick) {
        std::fprintf(stderr, "usage: %s [--quick]\n", name);
        return std::nullopt;
    }
    return quick;
}

}  // namespace bench
