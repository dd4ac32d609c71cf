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
#include <stdexcept>
#include <optional>
#include <string>

#include <QFile>

#include "Commands.h"
#include "Cp1251.h"
#include "SafeSave.h"
#include "Simulator.h"

namespace {

void PrintUsage() {
    std::fprintf(stderr, "usage: qmr770-sim [--baud N] [--link PATH] [--fm-free N] [--state FILE] [--start %s]\n",
                 "blank|ready|fiscalised");
}

struct Options {
    int baud = 0;
    std::string link;
    int fmFree = -1;  // records left free in the fiscal memory; -1: as the start state has it
    // The printer's lasting state, read at start when the file is there and
    // written after every change, as a printer keeps it across power cycles.
    std::string state;
    // Where the printer starts; given with --state, it starts over and
    // replaces what the file held.
    std::string start;
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
        if ((arg == "--baud" || arg == "--link" || arg == "--fm-free" || arg == "--state" || arg == "--start") &&
            i + 1 < argc) {
            const std::string value = argv[++i];
            if (arg == "--link") {
                options.link = value;
            } else if (arg == "--state") {
                options.state = value;
            } else if (arg == "--start") {
                qmrsim::Printer probe;
                if (!qmrsim::SetUpStartState(probe, value)) return false;
                options.start = value;
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

QString FileName(const std::string& path) { return QString::fromLocal8Bit(path.c_str()); }

// The state file's text; nothing when there is no such file.
std::optional<std::string> ReadStateFile(const std::string& path) {
    QFile file(FileName(path));
    if (!file.exists()) return std::nullopt;
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error(path + ": cannot be read");
    return file.readAll().toStdString();
}

// Writes the state when it changed since the last write.
class StateKeeper {
public:
    explicit StateKeeper(std::string path) : path_(std::move(path)) {}
    void Keep(const qmrsim::Printer& printer) {
        if (path_.empty()) return;
        std::string text = printer.SaveState();
        if (text == saved_) return;
        if (!qmr::WriteFileSafely(FileName(path_), text)) {
            std::fprintf(stderr, "qmr770-sim: cannot write %s\n", path_.c_str());
            return;
        }
        saved_ = std::move(text);
    }

private:
    std::string path_;
    std::string saved_;
};

// Puts the printer where the options say: a start state, the state file, or
// (with neither) a printer ready to be put into service.
void SetUpPrinter(qmrsim::Printer& printer, const Options& options) {
    const std::optional<std::string> saved =
        options.start.empty() && !options.state.empty() ? ReadStateFile(options.state) : std::nullopt;
    if (!saved) {
        qmrsim::SetUpStartState(printer, options.start.empty() ? "ready" : options.start);
        return;
    }
    std::string error;
    if (!printer.LoadState(*saved, error))
        throw std::runtime_error(options.state + ": damaged state file (" + error +
                                 "); it is left as it is: remove it, or start over with --start");
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
        StateKeeper keeper(options.state);
        simulator.WithPrinter([&](qmrsim::Printer& printer) {
            SetUpPrinter(printer, options);
            // A memory nearly full, so that a fill series reaches its end in a minute.
            if (options.fmFree >= 0) qmrsim::FillFiscalMemory(printer, options.fmFree);
            keeper.Keep(printer);
        });
        std::size_t printed = 0;
        // Saved after every command, so that even a killed simulator keeps what the printer was told.
        simulator.SetObserver([&](const qmrsim::ReceivedRequest& request, const qmrsim::Reply&,
                                  const qmrsim::Printer& printer) {
            PrintExchange(request, printer, printed);
            keeper.Keep(printer);
        });
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
        simulator.WithPrinter([&](qmrsim::Printer& printer) { keeper.Keep(printer); });
        if (!options.link.empty()) RemoveLink(options.link);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qmr770-sim: %s\n", e.what());
        return 1;
    }
    return 0;
}
