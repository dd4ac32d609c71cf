// Prints one figure a line, as "name value unit", for the time from launch to
// a mapped main window on a virtual display (median of the runs):
//   startup_floor_ms     an empty Qt main window
//   startup_text_floor_ms  the same window with one line of text, which
//                        loads the fonts as any window with text does
//   startup_vextora_ms   Vextora
//   startup_prendix_ms   Prendix
//   startup_vextora_ratio, startup_prendix_ratio   each over the floor
//   startup_vextora_text_ratio, startup_prendix_text_ratio   each over the
//                        text floor (no goal: what the programs add to text)
// All four are launched in turn, so a busy machine slows all alike. A
// display of its own is started (Xvfb) and watched for the first top-level
// window that is mapped; the program is then ended.
// --quick launches each twice and checks no goal.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Bench.h"

namespace {

constexpr double RatioGoal = 1.2;
constexpr int SkipCode = 77;
constexpr double LaunchTimeoutS = 20;

pid_t Spawn(const std::vector<std::string>& args) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(127);
}

// Starts a display of its own; its number, or -1.
int StartDisplay(pid_t& server) {
    int fds[2];
    if (::pipe(fds) != 0) return -1;
    server = ::fork();
    if (server == 0) {
        ::close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDERR_FILENO);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    char text[16] = {};
    std::size_t got = 0;
    while (got < sizeof text - 1) {
        const ssize_t n = ::read(fds[0], text + got, 1);
        if (n <= 0 || text[got] == '\n') break;
        ++got;
    }
    ::close(fds[0]);
    return got > 0 ? std::atoi(text) : -1;
}

class Display {
public:
    bool Connect() {
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_)) return false;
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
        return true;
    }
    ~Display() {
        if (connection_) xcb_disconnect(connection_);
    }
    void Drain() {
        while (xcb_generic_event_t* e = xcb_poll_for_event(connection_)) std::free(e);
    }
    // Waits for a top-level window that is not a popup to be mapped; the time
    // it was seen, or 0 once the program ended or the time ran out.
    double WaitForMap(pid_t pid, double deadline) {
        const int fd = xcb_get_file_descriptor(connection_);
        while (bench::Seconds() < deadline) {
            while (xcb_generic_event_t* e = xcb_poll_for_event(connection_)) {
                const bool mapped = (e->response_type & 0x7F) == XCB_MAP_NOTIFY &&
                                    !reinterpret_cast<xcb_map_notify_event_t*>(e)->override_redirect;
                std::free(e);
                if (mapped) return bench::Seconds();
            }
            if (xcb_connection_has_error(connection_)) return 0;
            if (::waitpid(pid, nullptr, WNOHANG) == pid) return 0;
            fd_set read;
            FD_ZERO(&read);
            FD_SET(fd, &read);
            timeval step{0, 20000};
            ::select(fd + 1, &read, nullptr, nullptr, &step);
        }
        return 0;
    }

private:
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const auto quickRun = bench::QuickRun(argc, argv, "startup-bench");
    if (!quickRun) return 2;
    const bool quick = *quickRun;
    pid_t server = -1;
    const int display = StartDisplay(server);
    if (display < 0) {
        std::fprintf(stderr, "startup-bench: no virtual display (Xvfb) to be had\n");
        return SkipCode;
    }
    ::setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    // Settings of a user of their own, so that each launch starts alike and
    // nothing of the real user's is read or written.
    QTemporaryDir home;
    ::setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);

    struct Program {
        const char* name;
        std::vector<std::string> args;
        std::vector<double> times;
        bool measured;  // held against the floor
    };
    std::vector<Program> programs = {{"floor", {QMR_FLOOR_PATH}, {}, false},
                                     {"text_floor", {QMR_FLOOR_PATH, "--text"}, {}, false},
                                     {"vextora", {QMR_VEXTORA_PATH}, {}, true},
                                     {"prendix", {QMR_PRENDIX_PATH}, {}, true}};
    int failures = 0;
    {
        Display x;
        if (!x.Connect()) {
            std::fprintf(stderr, "startup-bench: cannot connect to display :%d\n", display);
            ::kill(server, SIGTERM);
            ::waitpid(server, nullptr, 0);
            return 1;
        }
        const int runs = quick ? 2 : 21;
        for (int run = 0; run < runs; ++run) {
            for (Program& p : programs) {
                x.Drain();
                const double start = bench::Seconds();
                const pid_t pid = Spawn(p.args);
                const double mapped = x.WaitForMap(pid, start + LaunchTimeoutS);
                if (mapped > 0) {
                    p.times.push_back(1000 * (mapped - start));
                } else {
                    std::fprintf(stderr, "startup-bench: %s mapped no window on launch %d\n", p.name, run + 1);
                    ++failures;
                }
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
        }
    }
    ::kill(server, SIGTERM);
    ::waitpid(server, nullptr, 0);
    for (const Program& p : programs) {
        if (p.times.empty()) {
            std::fprintf(stderr, "startup-bench: %s never mapped a window\n", p.name);
            return 1;
        }
    }
    const double floor = Median(programs[0].times);
    const double textFloor = Median(programs[1].times);
    for (const Program& p : programs) std::printf("startup_%s_ms %.1f ms\n", p.name, Median(p.times));
    bool met = true;
    for (const Program& p : programs) {
        if (!p.measured) continue;
        const double ratio = Median(p.times) / floor;
        std::printf("startup_%s_ratio %.3f ratio\n", p.name, ratio);
        std::printf("startup_%s_text_ratio %.3f ratio\n", p.name, Median(p.times) / textFloor);
        if (ratio > RatioGoal) {
            if (!quick) std::fprintf(stderr, "startup-bench: goal missed: startup_%s_ratio <= 1.2\n", p.name);
            met = false;
        }
    }
    if (failures > 0) {
        std::fprintf(stderr, "startup-bench: %d launches mapped no window\n", failures);
        return 1;
    }
    return quick || met ? 0 : 1;
}
