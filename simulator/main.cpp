// qmr770-sim: the simulated printer on a pty, for running the programs
// without a printer. The first line of output is the device to connect to.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "Commands.h"
#include "Cp1251.h"
#include "Simulator.h"

namespace {

void PrintUsage() { std::fprintf(stderr, "usage: qmr770-sim [--baud N] [--link PATH] [--fm-free N]\n"); }

struct Options {
    int baud = 0;
    std::string link;
    int fmFree = -1;  // records left free in the fiscal memory; -1: an empty memory
};

bool ParseCount(const std::string& value, long max, int& out) {
    char* end = nullptr;
    const long n = std::strtol(value.c_str(), &end, 10);
    if (end == value.c_str() || *end != '\0' || n < 0 || n > max) return false;
    out = static_cast<int>(n);
    return true;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--baud" || arg == "--link" || arg == "--fm-free") && i + 1 < argc) {
            const std::string value = argv[++i];
            if (arg == "--link") {
                options.link = value;
            } else if (arg == "--fm-free") {
                if (!ParseCount(value, qmrsim::FiscalMemory::Capacity, options.fmFree)) return false;
            } else if (!ParseCount(value, 10'000'000, options.baud)) {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

// Removes a symlink (ours, or one left by an earlier run); anything else at
// the path stays.
void RemoveLink(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) ::unlink(path.c_str());
}

std::string Utf8(const std::string& cp1251) { return qmr::FromCp1251(cp1251).toStdString(); }

void PrintExchange(const qmrsim::ReceivedRequest& request, const qmrsim::Printer& printer, std::size_t& printed) {
    const std::string_view name = qmr::CommandNameOf(request.cmd);
    std::printf("> %d %.*s seq 0x%02X \"%s\"%s\n", request.cmd, static_cast<int>(name.size()), name.data(), request.seq,
                Utf8(request.data).c_str(), request.times > 1 ? " (repeat)" : "");
    for (; printed < printer.paper.size(); ++printed) std::printf("| %s\n", Utf8(printer.paper[printed]).c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        PrintUsage();
        return 2;
    }
    // Blocked before the printer thread starts, so that only sigwait below sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        qmrsim::Simulator simulator;
        simulator.SetBaudRate(options.baud);
        // The programs meet a printer ready to be put into service.
        simulator.WithPrinter([&options](qmrsim::Printer& printer) {
            qmrsim::SetUpServicedPrinter(printer);
            // A memory nearly full, so that a fill series reaches its end in a minute.
            if (options.fmFree >= 0) qmrsim::FillFiscalMemory(printer, options.fmFree);
        });
        std::size_t printed = 0;
        simulator.SetObserver([&printed](const qmrsim::ReceivedRequest& request, const qmrsim::Reply&,
                                         const qmrsim::Printer& printer) { PrintExchange(request, printer, printed); });
        if (!options.link.empty()) {
            RemoveLink(options.link);
            if (::symlink(simulator.DevicePath().c_str(), options.link.c_str()) != 0) {
                std::fprintf(stderr, "qmr770-sim: cannot create %s: %s\n", options.link.c_str(), std::strerror(errno));
                return 1;
            }
        }
        std::printf("%s\n", simulator.DevicePath().c_str());
        std::fflush(stdout);

        int signal = 0;
        sigwait(&stopSignals, &signal);
        simulator.Stop();
        if (!options.link.empty()) RemoveLink(options.link);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qmr770-sim: %s\n", e.what());
        return 1;
    }
    return 0;
}
