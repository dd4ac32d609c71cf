// A disk that fills up: while one lives, no file of the process can grow past
// the given size (a write beyond it fails as on a full disk). Root is bound
// by it too, unlike by permissions.
#pragma once

#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

class DiskLimit {
public:
    explicit DiskLimit(rlim_t bytes) : previous_(signal(SIGXFSZ, SIG_IGN)) {
        EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &saved_), 0);
        rlimit small = saved_;
        small.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    ~DiskLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, previous_);
    }
    DiskLimit(const DiskLimit&) = delete;
    DiskLimit& operator=(const DiskLimit&) = delete;

private:
    rlimit saved_{};
    sighandler_t previous_;
};
