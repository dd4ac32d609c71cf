// The clock dialog against the simulated printer, with the computer's clock
// in the test's hands.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include "Commands.h"
#include "PcClock.h"
#include "PrendixFixture.h"

namespace prendix {
namespace {

using qmrsim::Printer;

class ClockWindow : public PrendixWindow {
protected:
    void SetUp() override {
        PrendixWindow::SetUp();
        FixPcNow(QDateTime(QDate(2025, 3, 3), QTime(9, 5, 7, 999)));
    }
    void TearDown() override {
        FixPcNow(QDateTime());
        PrendixWindow::TearDown();
    }
    // Opens the dialog from the main window and runs `inside` in it.
    void InClock(std::function<void(TSetTimeDlg&)> inside) {
        script.OnNextModal([inside](QDialog& form) { inside(dynamic_cast<TSetTimeDlg&>(form)); });
        InitFP->DateBt->click();
    }
    void PrinterClockReads(const std::string& reply) {
        WithPrinter([reply](Printer& p) { p.SetReplyData(qmr::ReadDateTime, reply); });
    }
};

TEST(SetTimeForm, HoldsItsControlsInTheirTabOrder) {
    TSetTimeDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "Set date and time");
    EXPECT_EQ(dlg.size(), QSize(311, 135));
    EXPECT_EQ(dlg.Label1->text(), "Date:");
    EXPECT_EQ(dlg.Label2->text(), "Time:");
    EXPECT_EQ(dlg.FromPcBt->text(), "From computer");
    EXPECT_EQ(dlg.FromPrinterBt->text(), "From printer");
    EXPECT_EQ(dlg.OkBt->text(), "Set");
    const std::vector<QWidget*> order = {dlg.OkBt, dlg.DateBox, dlg.TimeBox, dlg.FromPrinterBt, dlg.FromPcBt};
    // The next control the Tab key reaches.
    const auto nextTabStop = [](QWidget* w) {
        do w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
        return w;
    };
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(nextTabStop(order[i]), order[(i + 1) % order.size()]) << order[i]->objectName().toStdString();
    EXPECT_EQ(qmr::test::ClippedCaptions(dlg), std::vector<std::string>{});
    EXPECT_EQ(qmr::test::OverlappingControls(dlg), std::vector<std::string>{});
}

TEST_F(ClockWindow, OpensWithTheComputersTimeAndSetsItUnchanged) {
    ServicedPrinter();
    Connect();
    InClock([this](TSetTimeDlg& dlg) {
        EXPECT_EQ(dlg.DateBox->text(), "03-03-25");
        EXPECT_EQ(dlg.TimeBox->text(), "09:05:07");  // milliseconds dropped
        EXPECT_EQ(dlg.focusWidget(), dlg.OkBt);
        // Set sends the time of the opening, not of the moment it is pressed.
        FixPcNow(QDateTime(QDate(2025, 3, 3), QTime(9, 6, 0)));
        dlg.OkBt->click();
        EXPECT_FALSE(dlg.isVisible());
    });
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{qmr::SetDateTime, "03-03-25 09:05:07"}}));
    WithPrinter([](Printer& p) { EXPECT_EQ(qmrsim::ClockText(p.clock.Now()).substr(0, 14), "03-03-25 09:05"); });
}

TEST_F(ClockWindow, FromComputerShowsTheYear2000AsTwoNoughts) {
    InClock([](TSetTimeDlg& dlg) {
        FixPcNow(QDateTime(QDate(2000, 1, 9), QTime(23, 0, 59)));
        dlg.FromPcBt->click();
        EXPECT_EQ(dlg.DateBox->text(), "09-01-00");
        EXPECT_EQ(dlg.TimeBox->text(), "23:00:59");
    });
    // Every opening starts from the computer again: an unsent edit is lost.
    InClock([](TSetTimeDlg& dlg) {
        dlg.DateBox->setText("typed");
        dlg.close();
    });
    InClock([](TSetTimeDlg& dlg) { EXPECT_EQ(dlg.DateBox->text(), "09-01-00"); });
    EXPECT_TRUE(Commands().empty());
}

TEST_F(ClockWindow, EnterSetsAndEmptyFieldsSendASingleBlank) {
    ServicedPrinter();
    Connect();
    InClock([this](TSetTimeDlg& dlg) {
        dlg.DateBox->clear();
        dlg.TimeBox->clear();
        dlg.TimeBox->setFocus();
        script.OnNextModal([](QDialog&) {});  // the printer refuses the blank: the status dialog
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(dlg.TimeBox, &enter);
        EXPECT_FALSE(dlg.isVisible());
    });
    EXPECT_EQ(TakeRequests(), (std::vector<Sent>{{qmr::SetDateTime, " "}}));
    EXPECT_EQ(script.modals.back().objectName, "StatusDlg");
}

TEST_F(ClockWindow, FromPrinterSplitsTheReplyAtItsFirstBlank) {
    struct Case {
        const char* reply;
        const char* date;
        const char* time;
    };
    const Case cases[] = {
        {"01-02-26 10:11:12", "01-02-26", "10:11:12"},
        {"01-02-26", "01-02-26", ""},
        {"01-02-26 10:11 x", "01-02-26", "10:11 x"},
    };
    Connect();  // a printer whose tax rates are not set: its clock is read all the same
    for (const Case& c : cases) {
        PrinterClockReads(c.reply);
        InClock([&](TSetTimeDlg& dlg) {
            dlg.FromPrinterBt->click();
            EXPECT_EQ(dlg.DateBox->text(), c.date) << c.reply;
            EXPECT_EQ(dlg.TimeBox->text(), c.time) << c.reply;
        });
    }
    EXPECT_EQ(Commands(), (std::vector<int>{62, 62, 62}));
}

TEST_F(ClockWindow, FromPrinterWithoutAnAnswerOrARefusalLeavesTheFields) {
    Connect();
    InClock([this](TSetTimeDlg& dlg) {
        clock.racing = true;
        sim.InjectFault(qmrsim::Fault::Silence, 4);
        dlg.FromPrinterBt->click();
        EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"No printer response"});
        EXPECT_EQ(dlg.DateBox->text(), "03-03-25");
        EXPECT_EQ(dlg.TimeBox->text(), "09:05:07");
        clock.racing = false;

        WithPrinter([](Printer& p) {
            p.SetHandler(qmr::ReadDateTime, [](Printer& printer, const qmrsim::Request&) {
                printer.Fail(qmrsim::st::InvalidCommand);
                return std::string("99-99-99 99:99:99");
            });
        });
        script.OnNextModal([](QDialog&) {});
        dlg.FromPrinterBt->click();
        EXPECT_EQ(dlg.DateBox->text(), "03-03-25");
    });
}

TEST_F(ClockWindow, WithThePortClosedOrATextTooLongNothingIsSentAndSetStillCloses) {
    InClock([this](TSetTimeDlg& dlg) {
        dlg.FromPrinterBt->click();
        dlg.OkBt->click();
        EXPECT_EQ(script.MessageTexts(), (std::vector<QString>{"Serial port not open", "Serial port not open"}));
        EXPECT_FALSE(dlg.isVisible());
    });
    Connect();
    InClock([](TSetTimeDlg& dlg) {
        dlg.TimeBox->setText(QString(300, '9'));
        dlg.OkBt->click();
    });
    EXPECT_EQ(script.MessageTexts().back(), "Data too long");
    EXPECT_TRUE(Commands().empty());
}

}  // namespace
}  // namespace prendix
