// Prints one figure a line, as "name value unit", for the memory dump
// window's read path against the simulated printer on a pty, headless:
//   dump_blocks_per_s      a whole fiscal-memory dump (5120 blocks), unpaced
//   dump_listing_slowdown  time per block over the last 512 blocks of that
//                          dump over the time per block of its first 512,
//                          each the median of the blocks' times: the unpaced
//                          dump is over in a few of the listing's beats, and
//                          whether one falls into a window would decide the
//                          mean (the paced dump's slowdown holds hundreds)
//   dump_paced_efficiency  the whole memory again at 115200 baud: the line
//                          time of its bytes over the time it took
//   dump_paced_slowdown    the same last-over-first ratio for the paced dump
//   dump_paced_cpu_ms_per_block      CPU of the program's thread per block
//   dump_paced_switches_per_block    the times a block it gave up the core
//                                    to wait (voluntary context switches)
//   dump_paced_core_fraction         its CPU over the paced dump's wall time
// The simulated printer runs on a thread of its own, so the program's cost is
// that of the window's thread alone.
// --quick reads a few blocks of each and checks no goal.
#include <sys/resource.h>
#include <time.h>

#include <QApplication>
#include <QComboBox>
#include <QMetaObject>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include "Commands.h"
#include "MemoryDump.h"
#include "Simulator.h"
#include "TForm1.h"
#include "TMemForm.h"
#include "TermiosLine.h"
#include "Transport.h"
#include "Vextora.h"

#include "Bench.h"

namespace {

constexpr int PacedBaud = 115200;
constexpr double SlowdownGoal = 1.2;
constexpr double EfficiencyGoal = 0.95;
constexpr int Window = 512;
constexpr double CoreFractionGoal = 0.03;

struct ThreadCost {
    double cpuSeconds = 0;
    long switches = 0;
};

ThreadCost CostSoFar() {
    rusage use{};
    ::getrusage(RUSAGE_THREAD, &use);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; };
    return {seconds(use.ru_utime) + seconds(use.ru_stime), use.ru_nvcsw};
}

// When each block request came in, and how many bytes the line carried.
struct LineLog {
    std::mutex mutex;
    std::vector<double> blockTimes;
    std::size_t lineBytes = 0;
};

// Reads `blocks` blocks of the fiscal memory through the window's read
// handler: Cancel is pressed while the last of them is answered.
double ReadBlocks(qmrsim::Simulator& sim, LineLog& log, int blocks) {
    {
        std::lock_guard lock(log.mutex);
        log.blockTimes.clear();
        log.lineBytes = 0;
    }
    const std::string last = vextora::BlockRequestData(blocks - 1);
    sim.SetObserver([&log, last](const qmrsim::ReceivedRequest& r, const qmrsim::Reply& reply, const qmrsim::Printer&) {
        std::lock_guard lock(log.mutex);
        log.lineBytes += qmr::BuildRequestFrame(r.seq, r.cmd, r.data).size() +
                         qmr::BuildReplyFrame(r.seq, r.cmd, reply.data, reply.status).size();
        if (r.cmd != qmr::ReadFiscalMemoryBlock) return;
        log.blockTimes.push_back(bench::Seconds());
        if (r.data == last)
            QMetaObject::invokeMethod(vextora::MemForm->CancelBt, &QPushButton::click, Qt::QueuedConnection);
    });
    vextora::DumpKind = vextora::FiscalMemoryDump;
    vextora::DumpBuffer.assign(vextora::DumpMemoryOf(vextora::FiscalMemoryDump).Bytes(), 0);
    const double start = bench::Seconds();
    vextora::MemForm->ReadBtClick();
    const double took = bench::Seconds() - start;
    sim.SetObserver({});
    return took;
}

// Time per block over `count` blocks from block `first`.
double PerBlock(const std::vector<double>& times, std::size_t first, std::size_t count) {
    return (times[first + count - 1] - times[first]) / static_cast<double>(count - 1);
}

// The median time of one block among `count` blocks from block `first`.
double MedianBlock(const std::vector<double>& times, std::size_t first, std::size_t count) {
    std::vector<double> each;
    for (std::size_t k = first + 1; k < first + count; ++k) each.push_back(times[k] - times[k - 1]);
    std::sort(each.begin(), each.end());
    return each[each.size() / 2];
}

int failures = 0;

}  // namespace

int main(int argc, char** argv) {
    const auto quickRun = bench::QuickRun(argc, argv, "dump-bench");
    if (!quickRun) return 2;
    const bool quick = *quickRun;
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The user's settings are only read, never written: the window is not closed.
    QStandardPaths::setTestModeEnabled(true);
    qmrsim::Simulator sim;
    ::setenv("QMR770_PORTS", sim.DevicePath().c_str(), 1);
    QApplication app(argc, argv);
    vextora::InitTestGlobals();
    qmr::TermiosLine line;
    vextora::TForm1* form = vextora::CreateForms();
    vextora::InstallProgramLink(line, qmr::SystemClock());
    form->show();
    form->PortNum->setCurrentIndex(form->PortNum->findText(QString::fromStdString(sim.DevicePath())));
    form->BaudsList->setCurrentIndex(3);
    form->ConnectBt->click();
    if (!qmr::Link().Connected) return 1;
    vextora::MemForm->show();

    LineLog log;
    const int all = quick ? 8 : 5120;
    const double whole = ReadBlocks(sim, log, all);
    if (vextora::DumpLength != all * 64) ++failures;
    const double blocksPerSecond = all / whole;
    std::printf("dump_blocks_per_s %.0f 1/s\n", blocksPerSecond);
    const std::size_t window = quick ? 4 : Window;
    double slowdown = 0;
    {
        std::lock_guard lock(log.mutex);
        const std::vector<double>& t = log.blockTimes;
        slowdown = MedianBlock(t, t.size() - window, window) / MedianBlock(t, 0, window);
    }
    std::printf("dump_listing_slowdown %.3f ratio\n", slowdown);
    std::fflush(stdout);

    sim.SetBaudRate(PacedBaud);
    const int paced = quick ? 4 : all;
    const ThreadCost before = CostSoFar();
    const double pacedTime = ReadBlocks(sim, log, paced);
    const ThreadCost after = CostSoFar();
    sim.SetBaudRate(0);
    if (vextora::DumpLength != paced * 64) ++failures;
    double efficiency = 0;
    double pacedSlowdown = 0;
    {
        std::lock_guard lock(log.mutex);
        efficiency = static_cast<double>(log.lineBytes) * 10 / PacedBaud / pacedTime;
        const std::vector<double>& t = log.blockTimes;
        pacedSlowdown = PerBlock(t, t.size() - window, window) / PerBlock(t, 0, window);
    }
    const double cpu = after.cpuSeconds - before.cpuSeconds;
    const double coreFraction = cpu / pacedTime;
    std::printf("dump_paced_efficiency %.3f ratio\n", efficiency);
    std::printf("dump_paced_slowdown %.3f ratio\n", pacedSlowdown);
    std::printf("dump_paced_cpu_ms_per_block %.3f ms\n", 1000 * cpu / paced);
    std::printf("dump_paced_switches_per_block %.1f 1\n", static_cast<double>(after.switches - before.switches) / paced);
    std::printf("dump_paced_core_fraction %.4f ratio\n", coreFraction);
    vextora::MemForm->hide();
    delete form;

    if (failures > 0) {
        std::fprintf(stderr, "dump-bench: %d reads came short\n", failures);
        return 1;
    }
    if (quick) return 0;
    bool met = true;
    auto goal = [&met](bool ok, const char* what) {
        if (!ok) std::fprintf(stderr, "dump-bench: goal missed: %s\n", what);
        met = met && ok;
    };
    goal(slowdown <= SlowdownGoal, "dump_listing_slowdown <= 1.2");
    goal(efficiency >= EfficiencyGoal, "dump_paced_efficiency >= 0.95");
    goal(pacedSlowdown <= SlowdownGoal, "dump_paced_slowdown <= 1.2");
    goal(coreFraction <= CoreFractionGoal, "dump_paced_core_fraction <= 0.03");
    return met ? 0 : 1;
}
