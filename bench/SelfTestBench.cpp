// Prints one figure a line, as "name value unit":
//   selftest_replay_ratio    exchanges a second during a seeded self-test of
//                            200 receipts, over the rate of the very same
//                            requests sent again bare through the link, with
//                            the printer set back to where the self-test
//                            found it (goal: at least 0.9)
//   selftest_exchange_ratio  the self-test's rate over bare ReadStatus
//                            exchanges, which are smaller frames
// Vextora's own window runs headless against the simulated printer on a pty.
// --quick runs 20 receipts and checks no goal.
#include <time.h>

#include <QMetaObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Application.h"
#include "Commands.h"
#include "Executor.h"
#include "FillTexts.h"
#include "ScriptedSeam.h"
#include "SelfTest.h"
#include "Simulator.h"
#include "TForm1.h"
#include "TermiosLine.h"
#include "Vextora.h"

#include "Bench.h"

namespace {

constexpr double RatioGoal = 0.9;

}  // namespace

int main(int argc, char** argv) {
    const auto quickRun = bench::QuickRun(argc, argv, "selftest-bench");
    if (!quickRun) return 2;
    const bool quick = *quickRun;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const int receipts = quick ? 20 : 200;
    const int bareExchanges = quick ? 50 : 2000;

    qmrsim::Simulator sim;
    ::setenv("QMR770_PORTS", sim.DevicePath().c_str(), 1);
    QStandardPaths::setTestModeEnabled(true);
    qmr::ui::Application app(argc, argv, "selftest-bench");
    QTemporaryDir dir;
    vextora::SelfTestLogPathForTests = dir.filePath("selftest.log");
    vextora::FixedRandomSeed = 2026;

    qmr::ui::ScriptedSeam seam;
    int unscripted = 0;
    seam.onUnscripted = [&unscripted](const QString& what) {
        std::fprintf(stderr, "selftest-bench: %s\n", what.toStdString().c_str());
        ++unscripted;
    };
    vextora::InitTestGlobals();
    vextora::TForm1* window = vextora::CreateForms();
    qmr::TermiosLine line;
    vextora::InstallProgramLink(line, qmr::SystemClock());
    window->show();
    window->PortNum->setCurrentIndex(window->PortNum->findText(QString::fromStdString(sim.DevicePath())));
    window->BaudsList->setCurrentIndex(3);
    window->ConnectBt->click();
    if (!qmr::Link().Connected) return 1;
    sim.WithPrinter([](qmrsim::Printer& p) {
        qmrsim::SetUpServicedPrinter(p);
        // The reports at the end are not what is measured.
        p.SetReplyData(qmr::PrintOperatorsReport, "");
        p.SetReplyData(qmr::PrintArticlesReport, "");
        return 0;
    });

    double start = bench::Seconds();
    for (int i = 0; i < bareExchanges; ++i) qmr::ExecCommand(qmr::ReadStatus, "");
    const double bareRate = bareExchanges / (bench::Seconds() - start);

    const qmrsim::Printer before = sim.WithPrinter([](qmrsim::Printer& p) { return p; });
    const std::string last = vextora::ProgressText(receipts);
    sim.SetObserver([&last](const qmrsim::ReceivedRequest& r, const qmrsim::Reply&, const qmrsim::Printer&) {
        if (r.cmd == qmr::SendProgressText && r.data == last)
            QMetaObject::invokeMethod(vextora::Form1->CancelBt, "click", Qt::QueuedConnection);
    });
    sim.ClearRequests();
    start = bench::Seconds();
    emit window->TestSKey->activated();
    const double seconds = bench::Seconds() - start;
    sim.SetObserver(nullptr);
    const std::vector<qmrsim::ReceivedRequest> requests = sim.Requests();
    const auto exchanges = static_cast<double>(requests.size());
    const double ratio = exchanges / seconds / bareRate;

    // The same requests bare: the printer answers them as it did, so each
    // reply is as long as the self-test's was.
    sim.WithPrinter([&before](qmrsim::Printer& p) {
        p = before;
        return 0;
    });
    qmr::Link().SuppressStatusDlg = true;
    start = bench::Seconds();
    int linkFailures = 0;
    for (const auto& r : requests) {
        qmr::ExecCommand(r.cmd, r.data);
        // A failed try costs seconds of waiting, which the figure must not hide.
        if ((qmr::Link().StatusWord & qmr::LinkStatusMask) != 0) ++linkFailures;
    }
    const double replaySeconds = bench::Seconds() - start;
    qmr::Link().SuppressStatusDlg = false;
    const double replayRatio = replaySeconds / seconds;

    std::printf("selftest_replay_ratio %.3f ratio\n", replayRatio);
    std::printf("selftest_exchange_ratio %.3f ratio\n", ratio);
    std::fprintf(stderr,
                 "selftest-bench: %.0f exchanges in %.2f s during the self-test, %.2f s replayed bare, "
                 "%.0f bare ReadStatus exchanges/s\n",
                 exchanges, seconds, replaySeconds, bareRate);
    delete window;
    if (linkFailures > 0) {
        std::fprintf(stderr, "selftest-bench: %d replayed requests failed on the link\n", linkFailures);
        return 1;
    }
    if (unscripted) return 1;
    if (quick) return 0;
    if (replayRatio < RatioGoal) {
        std::fprintf(stderr, "selftest-bench: goal missed: selftest_replay_ratio >= %.1f\n", RatioGoal);
        return 1;
    }
    return 0;
}
