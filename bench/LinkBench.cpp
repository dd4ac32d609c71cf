// Prints one figure a line, as "name value unit":
//   exchanges_per_s   ReadStatus exchanges a second over an unpaced pty
//   exchange_cpu_us   CPU of the link's thread per one of those exchanges
//   exchange_switches times per exchange the link's thread gave up the core
//                     to wait (voluntary context switches)
//   wait_cpu_percent  CPU the link's thread spends waiting out a silent reply
//   paced_efficiency  line time of fiscal-memory block reads at 115200 baud
//                     over the wall time they took
// --quick runs a few of each and checks no goal.
#include <sys/resource.h>
#include <time.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Commands.h"
#include "Executor.h"
#include "LinkState.h"
#include "Simulator.h"
#include "TermiosLine.h"
#include "Transport.h"

#include "Bench.h"

namespace {

constexpr int PacedBaud = 115200;
constexpr double ExchangesGoal = 2000;
constexpr double WaitCpuGoal = 2;
constexpr double EfficiencyGoal = 0.95;

class BenchUi final : public qmr::UiHooks {
public:
    explicit BenchUi(std::string device) : device_(std::move(device)) {}
    int ShowMessage(const std::string& text, const std::string& caption, int) override {
        std::fprintf(stderr, "link-bench: %s: %s\n", caption.c_str(), text.c_str());
        return qmr::IdOk;
    }
    qmr::PortChoice ReadPortChoice() override { return {0, device_, 3, std::to_string(PacedBaud)}; }

private:
    std::string device_;
};

// Exchanges that did not end with result 0, reported once at the end.
int failures = 0;

void Exchange(int command, const std::string& data) {
    if (qmr::ExecCommand(command, data) != qmr::ResultOk) ++failures;
}

struct ExchangeCost {
    double perSecond = 0;
    double cpuUs = 0;
    double switches = 0;
};

long SwitchesSoFar() {
    rusage use{};
    ::getrusage(RUSAGE_THREAD, &use);
    return use.ru_nvcsw;
}

ExchangeCost BareExchanges(int count) {
    const long switchesStart = SwitchesSoFar();
    const double cpuStart = bench::Seconds(CLOCK_THREAD_CPUTIME_ID);
    const double start = bench::Seconds(CLOCK_MONOTONIC);
    for (int i = 0; i < count; ++i) Exchange(qmr::ReadStatus, "");
    const double wall = bench::Seconds(CLOCK_MONOTONIC) - start;
    const double cpu = bench::Seconds(CLOCK_THREAD_CPUTIME_ID) - cpuStart;
    return {count / wall, 1e6 * cpu / count, static_cast<double>(SwitchesSoFar() - switchesStart) / count};
}

// One reply time-out: the request goes out and nothing comes back.
double WaitCpuPercent(qmrsim::Simulator& sim) {
    sim.InjectFault(qmrsim::Fault::Silence);
    qmr::SendFrame(qmr::ReadStatus, "");
    const double wallStart = bench::Seconds(CLOCK_MONOTONIC);
    const double cpuStart = bench::Seconds(CLOCK_THREAD_CPUTIME_ID);
    qmr::ReceiveFrame(qmr::ReceiveLimit);
    const double cpu = bench::Seconds(CLOCK_THREAD_CPUTIME_ID) - cpuStart;
    const double wall = bench::Seconds(CLOCK_MONOTONIC) - wallStart;
    if (!qmr::Link().LinkError) ++failures;
    qmr::NextSequence();
    return 100 * cpu / wall;
}

std::string HexBlock(int address) {
    std::string hex;
    char digits[3];
    for (int i = 0; i < 64; ++i) {
        std::snprintf(digits, sizeof digits, "%02X", (address + i * 7) & 0xFF);
        hex += digits;
    }
    return hex;
}

double PacedEfficiency(qmrsim::Simulator& sim, int count) {
    sim.WithPrinter([](qmrsim::Printer& p) {
        p.SetHandler(qmr::ReadFiscalMemoryBlock,
                     [](qmrsim::Printer&, const qmrsim::Request& r) { return HexBlock(std::stoi(r.data, nullptr, 16)); });
    });
    sim.SetBaudRate(PacedBaud);
    std::size_t lineBytes = 0;
    const double start = bench::Seconds(CLOCK_MONOTONIC);
    for (int i = 0; i < count; ++i) {
        char data[16];
        std::snprintf(data, sizeof data, "%05X,64", i * 64);
        Exchange(qmr::ReadFiscalMemoryBlock, data);
        lineBytes += qmr::BuildRequestFrame(0x20, qmr::ReadFiscalMemoryBlock, data).size() +
                     qmr::BuildReplyFrame(0x20, qmr::ReadFiscalMemoryBlock, qmr::Link().ReplyText(), {}).size();
    }
    const double wall = bench::Seconds(CLOCK_MONOTONIC) - start;
    sim.SetBaudRate(0);
    return static_cast<double>(lineBytes) * 10 / PacedBaud / wall;
}

}  // namespace

int main(int argc, char** argv) {
    const auto quickRun = bench::QuickRun(argc, argv, "link-bench");
    if (!quickRun) return 2;
    const bool quick = *quickRun;
    qmrsim::Simulator sim;
    qmr::TermiosLine line;
    BenchUi ui(sim.DevicePath());
    qmr::InstallLink({&line, nullptr, &ui});
    if (!qmr::OpenPort()) return 1;

    const ExchangeCost bare = BareExchanges(quick ? 20 : 2000);
    const double exchanges = bare.perSecond;
    std::printf("exchanges_per_s %.0f 1/s\n", exchanges);
    std::printf("exchange_cpu_us %.1f us\n", bare.cpuUs);
    std::printf("exchange_switches %.1f 1\n", bare.switches);
    std::fflush(stdout);
    const double waitCpu = WaitCpuPercent(sim);
    std::printf("wait_cpu_percent %.2f %%\n", waitCpu);
    std::fflush(stdout);
    const double efficiency = PacedEfficiency(sim, quick ? 5 : 200);
    std::printf("paced_efficiency %.3f ratio\n", efficiency);
    qmr::ClosePort();

    if (failures > 0) {
        std::fprintf(stderr, "link-bench: %d exchanges failed\n", failures);
        return 1;
    }
    if (quick) return 0;
    bool met = true;
    auto goal = [&met](bool ok, const char* what) {
        if (!ok) std::fprintf(stderr, "link-bench: goal missed: %s\n", what);
        met = met && ok;
    };
    goal(exchanges >= ExchangesGoal, "exchanges_per_s >= 2000");
    goal(waitCpu <= WaitCpuGoal, "wait_cpu_percent <= 2");
    goal(efficiency >= EfficiencyGoal, "paced_efficiency >= 0.95");
    return met ? 0 : 1;
}
