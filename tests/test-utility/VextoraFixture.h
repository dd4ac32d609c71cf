// Vextora's windows driven through the seam, against the simulated printer
// on a pty, with the settings in the tests' temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMetaObject>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Commands.h"
#include "Executor.h"
#include "SimulatedPrinterFixture.h"
#include "TCommandFrm.h"
#include "TForm1.h"
#include "TMemForm.h"
#include "TOperatorDlg.h"
#include "TPwdDialog.h"
#include "UiTestSupport.h"
#include "Vextora.h"

namespace vextora {

using qmr::test::Sent;
// A pause of the program among the requests, {Pause, "100"} for 100 ms.
inline constexpr int Pause = -1;

class VextoraWindow : public qmr::test::SimulatedPrinterFixture {
protected:
    // The simulator's pty, after two system ports, at 115200.
    VextoraWindow() : SimulatedPrinterFixture({"/dev/ttyQMR1", "/dev/ttyQMR0"}, 2, 3) {}

    void SetUp() override {
        SimulatedPrinterFixture::SetUp();
        StartProgram();
        // An article the tests sell, at 2.50.
        WithPrinter([](qmrsim::Printer& p) { p.receipts.articles[15] = qmrsim::Article{15, '\xC1', 1, 250, "MILK"}; });
    }
    void TearDown() override {
        delete Form1;
        SimulatedPrinterFixture::TearDown();
    }

    void StartProgram() {
        InitTestGlobals();
        CreateForms();
        InstallProgramLink(line, clock);
        Form1->show();
    }
    // Closes the main window as the user does and starts the program anew.
    void RestartProgram() {
        Form1->close();
        delete Form1;
        StartProgram();
    }

    void Connect() {
        Form1->ConnectBt->click();
        ASSERT_TRUE(qmr::Link().Connected);
    }
    // From here on TakeRequestsWithPauses keeps the program's pauses where they fell.
    void WatchPauses() {
        sim.ClearRequests();
        pauses.clear();
        clock.onSleep = [this](int ms) { pauses.emplace_back(sim.Requests().size(), ms); };
    }
    // Every request since the last look, as TakeRequests, with the pauses between.
    std::vector<Sent> TakeRequestsWithPauses() {
        std::vector<Sent> sent;
        auto pause = pauses.begin();
        const auto requests = sim.Requests();
        for (std::size_t i = 0; i <= requests.size(); ++i) {
            for (; pause != pauses.end() && pause->first == i; ++pause) sent.emplace_back(Pause, std::to_string(pause->second));
            if (i < requests.size()) sent.emplace_back(requests[i].cmd, requests[i].data);
        }
        sim.ClearRequests();
        pauses.clear();
        return sent;
    }

    // Runs `then` on the window's thread while the printer answers the n-th
    // request with this command and data, before the reply goes out: the
    // window is then inside that exchange, as a user's click would be.
    void DuringRequest(int command, const std::string& data, int n, std::function<void()> then) {
        auto seen = std::make_shared<int>(0);
        sim.SetObserver([=](const qmrsim::ReceivedRequest& r, const qmrsim::Reply&, const qmrsim::Printer&) {
            if (r.cmd == command && r.data == data && r.times == 1 && ++*seen == n)
                QMetaObject::invokeMethod(qApp, then, Qt::QueuedConnection);
        });
    }

    QString WriteFile(const QString& name, const QByteArray& bytes) {
        return qmr::test::WriteFile(files.filePath(name), bytes);
    }
    QByteArray ReadFile(const QString& path) { return qmr::test::ReadFile(path); }
    void LoadArticles(const QByteArray& bytes) {
        script.PickNextFile(WriteFile("load.art", bytes));
        Form1->LoadM->trigger();
    }
    // The grid's cells as the window shows them, row by row.
    std::vector<QStringList> Grid() const {
        std::vector<QStringList> rows;
        const ArticleGridModel& m = Form1->ArtTable->Model();
        for (int r = 0; r < m.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < m.columnCount(); ++c) cells << m.data(m.index(r, c), Qt::DisplayRole).toString();
            rows.push_back(cells);
        }
        return rows;
    }
    // Loads one article row and selects it.
    void SelectArticle15() {
        LoadArticles("15,1,2.50,2,MILK\r\n");
        Form1->ArtTable->SelectRow(1);
    }
    // A connected window with PLU 15 selected and a clean request log.
    void ReadyToSell() {
        Connect();
        SelectArticle15();
        sim.ClearRequests();
    }
    void Sell(const QString& quantity) {
        Form1->QuantityFld->setText(quantity);
        Form1->SelBt->click();
    }

    QTemporaryDir files;
    // The pauses since the last look, after how many requests each came.
    std::vector<std::pair<std::size_t, int>> pauses;
};

}  // namespace vextora
