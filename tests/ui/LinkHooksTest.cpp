#include <gtest/gtest.h>

#include <QAccessible>
#include <QCoreApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "Cp1251.h"
#include "Executor.h"
#include "Forms.h"
#include "LinkHooks.h"
#include "TStatusDlg.h"
#include "Transport.h"
#include "UiTestSupport.h"

namespace {

using qmr::test::PortsScope;
using qmr::ui::DropDownCombo;
using qmr::ui::Make;

// A main window with just what the link reads and drives.
struct Window {
    Window() {
        port = Make<DropDownCombo>(&main, "PortNum", 10, 10, 150, 24);
        bauds = Make<QComboBox>(&main, "BaudsBox", 170, 10, 90, 24);
        qmr::ui::AddBaudItems(*bauds);
        connectBt = Make<QPushButton>(&main, "ConnectBt", 270, 10, 90, 26, QStringLiteral("Connect"));
        main.move(40, 30);
        main.show();
    }
    qmr::ui::MainWindowControls Controls() { return {&main, port, bauds, connectBt, &status}; }

    qmr::ui::MainForm main{nullptr, "Main", "Main", 497, 337};
    DropDownCombo* port;
    QComboBox* bauds;
    QPushButton* connectBt;
    qmr::ui::TStatusDlg status{qmr::LinkVariant::InitUtility};
};

TEST(FillPortCombo, OffersTheSystemPortsThenTheExtraOnesAndSelectsTheSavedIndexes) {
    Window w;
    PortsScope ports({"/dev/ttyUSB0", "/dev/ttyS1", "/dev/ttyS0"}, "/dev/pts/7:/dev/ttyS0");
    qmr::InstallLink({});
    qmr::Link().PortIndex = 3;
    qmr::Link().BaudIndex = 1;
    qmr::ui::FillPortCombo(*w.port, *w.bauds);
    EXPECT_EQ(qmr::test::ItemsOf(*w.port), (QStringList{"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyUSB0", "/dev/pts/7"}));
    EXPECT_EQ(w.port->currentIndex(), 3);
    EXPECT_EQ(w.bauds->currentText(), "19200");

    // An index that names no item leaves that combo without a selection.
    qmr::Link().PortIndex = 4;
    qmr::Link().BaudIndex = -1;
    qmr::ui::FillPortCombo(*w.port, *w.bauds);
    EXPECT_EQ(w.port->currentIndex(), -1);
    EXPECT_EQ(w.bauds->currentIndex(), -1);
}

TEST(FillPortCombo, WithNoPortAtAllOffersCom0ToCom15) {
    Window w;
    PortsScope ports({}, "");
    qmr::InstallLink({});
    qmr::ui::FillPortCombo(*w.port, *w.bauds);
    ASSERT_EQ(w.port->count(), 16);
    EXPECT_EQ(w.port->itemText(0), "COM0");
    EXPECT_EQ(w.port->itemText(15), "COM15");
}

TEST(QtLinkHooks, ReadThePortChoiceFromBothCombos) {
    Window w;
    PortsScope ports({"/dev/ttyS0"}, "/dev/pts/3");
    qmr::InstallLink({});
    qmr::ui::FillPortCombo(*w.port, *w.bauds);
    qmr::ui::QtLinkHooks hooks(w.Controls());
    w.port->setCurrentIndex(1);
    w.bauds->setCurrentIndex(0);
    qmr::PortChoice choice = hooks.ReadPortChoice();
    EXPECT_EQ(choice.portIndex, 1);
    EXPECT_EQ(choice.portName, "/dev/pts/3");
    EXPECT_EQ(choice.baudIndex, 0);
    EXPECT_EQ(choice.baudText, "9600");

    w.port->setCurrentIndex(-1);
    w.bauds->setCurrentIndex(-1);
    choice = hooks.ReadPortChoice();
    EXPECT_EQ(choice.portIndex, -1);
    EXPECT_EQ(choice.portName, "");
    EXPECT_EQ(choice.baudText, "");
}

TEST(QtLinkHooks, ShowMessagesAndTheStatusDialogThroughTheSeam) {
    Window w;
    qmr::ui::QtLinkHooks hooks(w.Controls());
    qmr::test::TestSeam script;

    EXPECT_EQ(hooks.ShowMessage("\xC3\xF0\xE5\xF8\xEA\xE0", "Error", qmr::MbOk), qmr::IdOk);  // cp1251
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, QString::fromUtf8("Грешка"));

    qmr::ui::PlaceDialog(w.main, w.status);
    const QPoint placed = w.status.pos();
    w.status.move(0, 0);
    script.OnNextModal([](QDialog&) {});
    hooks.ShowStatusDialog();
    ASSERT_EQ(script.modals.size(), 1u);
    EXPECT_EQ(script.modals[0].objectName, "StatusDlg");
    EXPECT_EQ(script.modals[0].pos, placed);  // over the main window, by the one rule
}

TEST(ConnectionSettings, SurviveASessionInTheSettingsStore) {
    qmr::test::ClearSettings();
    Window w;
    PortsScope ports({"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2"}, "");
    qmr::InstallLink({});
    qmr::ui::LoadConnectionSettings(nullptr);
    EXPECT_EQ(qmr::Link().PortIndex, 0);
    EXPECT_EQ(qmr::Link().BaudIndex, 3);
    qmr::ui::FillPortCombo(*w.port, *w.bauds);
    w.port->setCurrentIndex(2);
    w.bauds->setCurrentIndex(-1);
    qmr::ui::SaveConnectionSettings(*w.port, *w.bauds, nullptr);
    EXPECT_EQ(qmr::test::ReadSetting("SerialPort"), 2);
    EXPECT_EQ(qmr::test::ReadSetting("Bauds"), -1);

    qmr::InstallLink({});
    qmr::ui::LoadConnectionSettings(nullptr);
    EXPECT_EQ(qmr::Link().PortIndex, 2);
    EXPECT_EQ(qmr::Link().BaudIndex, -1);
}

}  // namespace

namespace {

// A line that is never opened.
class ClosedLine final : public qmr::SerialLine {
public:
    int Open(const std::string&) override { return -1; }
    void Configure(int, bool) override {}
    void Close() override {}
    int BytesWaiting() override { return -1; }
    bool WriteByte(std::uint8_t) override { return false; }
    bool ReadByte(std::uint8_t&) override { return false; }
    void WaitForInput(std::int64_t) override {}
};

// An open line on which the printer never answers, keeping the frames it was
// sent; `onWrite` runs as each piece goes out.
class RecordingLine final : public qmr::SerialLine {
public:
    int Open(const std::string&) override { return 3; }
    void Configure(int, bool) override {}
    void Close() override { ++closes; }
    int BytesWaiting() override { return 0; }
    bool WriteByte(std::uint8_t value) override { return WriteBytes(&value, 1); }
    bool WriteBytes(const std::uint8_t* data, int count) override {
        if (onWrite) onWrite();
        for (int k = 0; k < count; ++k) {
            if (data[k] == qmr::StartByte) frames.emplace_back();
            if (!frames.empty()) frames.back().push_back(data[k]);
        }
        return true;
    }
    bool ReadByte(std::uint8_t&) override { return false; }
    void WaitForInput(std::int64_t) override {
        if (onWait) onWait();
    }
    // The sequence byte of each frame sent.
    std::vector<std::uint8_t> Sequences() const {
        std::vector<std::uint8_t> seqs;
        for (const auto& f : frames) seqs.push_back(f.size() > 2 ? f[2] : 0);
        return seqs;
    }
    std::function<void()> onWrite;
    std::function<void()> onWait;
    std::vector<std::vector<std::uint8_t>> frames;
    int closes = 0;
};

// Whatever the main window's close handler does - Prendix's closes the port,
// Vextora's saves the settings - it runs after the exchange, never under it.
TEST(MainForm, ACloseDuringAnExchangeWaitsForItsEnd) {
    qmr::test::TestSeam script;
    qmr::test::QuickClock clock;
    clock.racing = true;
    RecordingLine line;
    Window w;
    qmr::ui::InstallWindowLink(w.Controls(), line, clock);
    ASSERT_TRUE(qmr::OpenPort());
    std::vector<bool> closedWhileRunning;
    QObject::connect(&w.main, &qmr::ui::MainForm::Closed,
                     [&] { closedWhileRunning.push_back(qmr::ExchangeRunning()); });
    bool asked = false;
    QTimer::singleShot(0, &w.main, [&] {
        EXPECT_FALSE(w.main.close());
        EXPECT_FALSE(w.main.close());  // asked twice, taken once
        asked = true;
    });

    EXPECT_EQ(qmr::ExecCommand(74, ""), qmr::ResultNoLink);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(closedWhileRunning.empty());
    EXPECT_TRUE(w.main.isVisible());
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"No printer response"});

    QCoreApplication::processEvents();
    EXPECT_EQ(closedWhileRunning, std::vector<bool>{false});
    EXPECT_FALSE(w.main.isVisible());

    // With no exchange running, a close is taken at once.
    w.main.show();
    EXPECT_TRUE(w.main.close());
    EXPECT_EQ(closedWhileRunning, (std::vector<bool>{false, false}));
    qmr::ClosePort();
    qmr::InstallLink({});
}

// Held by the link, the connect button takes no click or key from the first
// moment. It is greyed once the hold has lasted long enough to be seen, or
// when a message or the status dialog shows over it, and is enabled again
// when the link lets go.
TEST(QtLinkHooks, HoldTheConnectButtonAgainstInputAndGreyItOnceTheHoldShows) {
    qmr::test::QuickClock clock;
    ClosedLine line;
    Window w;
    qmr::ui::InstallWindowLink(w.Controls(), line, clock);
    qmr::test::TestSeam script;
    qmr::UiHooks& hooks = *qmr::Env().ui;
    int clicks = 0;
    QObject::connect(w.connectBt, &QPushButton::clicked, [&] { ++clicks; });
    const auto pressConnect = [&] {
        QTest::mouseClick(w.connectBt, Qt::LeftButton);
        w.connectBt->setFocus();
        QTest::keyClick(w.connectBt, Qt::Key_Space);
    };

    hooks.SetConnectEnabled(false);
    pressConnect();
    EXPECT_EQ(clicks, 0);
    hooks.PumpEvents();
    EXPECT_TRUE(w.connectBt->isEnabled());  // a short hold is not shown
    clock.SleepMs(100);
    hooks.PumpEventsWhenDue();
    hooks.PumpEvents();
    EXPECT_FALSE(w.connectBt->isEnabled());
    hooks.SetConnectEnabled(true);
    EXPECT_TRUE(w.connectBt->isEnabled());
    pressConnect();
    EXPECT_EQ(clicks, 2);

    hooks.SetConnectEnabled(false);
    hooks.ShowMessage("No printer response", "Error", qmr::MbOk);
    EXPECT_FALSE(w.connectBt->isEnabled());
    hooks.SetConnectEnabled(true);

    bool greyedUnderTheDialog = false;
    script.OnNextModal([&](QDialog&) { greyedUnderTheDialog = !w.connectBt->isEnabled(); });
    hooks.SetConnectEnabled(false);
    hooks.ShowStatusDialog();
    EXPECT_TRUE(greyedUnderTheDialog);
    hooks.SetConnectEnabled(true);
    EXPECT_TRUE(w.connectBt->isEnabled());

    // A button the mouse holds down is let go of and greyed at once.
    w.connectBt->setDown(true);
    hooks.SetConnectEnabled(false);
    EXPECT_FALSE(w.connectBt->isEnabled());
    EXPECT_FALSE(w.connectBt->isDown());
    hooks.SetConnectEnabled(true);

    // Outside a hold, messages leave the button alone.
    hooks.ShowMessage("Serial port not open", "Error", qmr::MbOk);
    EXPECT_TRUE(w.connectBt->isEnabled());
    pressConnect();
    EXPECT_EQ(clicks, 4);
    qmr::InstallLink({});
}

// The test window with its connect button wired to the connection toggle as
// both programs wire it, connected to the recording line.
struct ConnectedWindow : Window {
    ConnectedWindow(qmr::SerialLine& line, qmr::Clock& clock) : ports({"/dev/ttyS0"}, "") {
        qmr::InstallLink({});
        qmr::ui::FillPortCombo(*port, *bauds);
        qmr::ui::InstallWindowLink(Controls(), line, clock);
        QObject::connect(connectBt, &QPushButton::clicked, [this] {
            ++clicks;
            qmr::ui::ToggleConnection(*connectBt, lamp);
        });
        QTest::mouseClick(connectBt, Qt::LeftButton);
    }
    ~ConnectedWindow() {
        qmr::ClosePort();
        qmr::InstallLink({});
    }
    PortsScope ports;
    qmr::ui::Shape lamp{&main};
    int clicks = 0;
};

// A screen reader's "press" on the control.
void PressAccessibly(QWidget& control) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&control);
    ASSERT_NE(iface, nullptr);
    ASSERT_NE(iface->actionInterface(), nullptr);
    iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

// click() and a screen reader's press are no input events, so the hold's
// filter never sees them, and the button is not greyed yet at the first
// moment of an exchange. Neither may close the port under the command; the
// screen reader's click, which comes 100 ms after its press, is lost too,
// though the exchange is over by then.
TEST(ToggleConnection, LosesEveryPressMadeDuringAnExchange) {
    qmr::test::TestSeam script;
    qmr::test::QuickClock clock;
    RecordingLine line;
    ConnectedWindow w(line, clock);
    ASSERT_TRUE(qmr::Link().Connected);
    ASSERT_EQ(w.clicks, 1);
    line.onWrite = [&, first = true]() mutable {
        if (!std::exchange(first, false)) return;
        EXPECT_TRUE(w.connectBt->isEnabled());
        w.connectBt->click();
        PressAccessibly(*w.connectBt);
        clock.racing = true;  // the silence times out at once
    };

    EXPECT_EQ(qmr::ExecCommand(74, ""), qmr::ResultNoLink);
    QTest::qWait(300);
    EXPECT_EQ(w.clicks, 3);  // both presses clicked
    EXPECT_TRUE(qmr::Link().Connected);
    EXPECT_NE(qmr::Link().PortHandle, -1);
    EXPECT_EQ(line.closes, 0);
    EXPECT_EQ(w.connectBt->text(), "Disconnect");
    EXPECT_EQ(line.Sequences(), std::vector<std::uint8_t>(4, qmr::FirstSeq));
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"No printer response"});

    // Once the exchange is over, a press takes again, by any road.
    w.connectBt->click();
    EXPECT_FALSE(qmr::Link().Connected);
    PressAccessibly(*w.connectBt);
    QTest::qWait(300);
    EXPECT_TRUE(qmr::Link().Connected);
}

// However an exchange ends, a throw included, it gives the button back.
TEST(ExecCommand, AnExchangeLeftByAThrowLetsGoOfTheConnectButton) {
    struct Case {
        const char* name;
        bool onWrite;
        bool greyFirst;
    };
    for (const Case c : {Case{"a write throws", true, false}, Case{"the reply's wait throws", false, false},
                         Case{"a wait throws once the hold shows", false, true}}) {
        SCOPED_TRACE(c.name);
        qmr::test::TestSeam script;
        qmr::test::QuickClock clock;
        RecordingLine line;
        ConnectedWindow w(line, clock);
        ASSERT_TRUE(qmr::Link().Connected);
        const auto fail = [&] {
            if (c.greyFirst) {
                clock.SleepMs(100);
                qmr::Env().ui->PumpEvents();
                EXPECT_FALSE(w.connectBt->isEnabled());
            }
            throw std::runtime_error("line gone");
        };
        (c.onWrite ? line.onWrite : line.onWait) = fail;

        EXPECT_THROW(qmr::ExecCommand(74, ""), std::runtime_error);
        EXPECT_FALSE(qmr::ExchangeRunning());
        EXPECT_TRUE(w.connectBt->isEnabled());
        QTest::mouseClick(w.connectBt, Qt::LeftButton);
        EXPECT_FALSE(qmr::Link().Connected);
        EXPECT_EQ(w.connectBt->text(), "Connect");
        EXPECT_EQ(line.closes, 1);
    }
}

TEST(InstallWindowLink, DrivesTheMainWindowUntilItGoes) {
    qmr::test::QuickClock clock;
    ClosedLine line;
    auto* w = new Window;
    qmr::ui::InstallWindowLink(w->Controls(), line, clock);
    ASSERT_NE(qmr::Env().ui, nullptr);
    EXPECT_EQ(qmr::Env().line, &line);
    qmr::Env().ui->SetConnectEnabled(false);
    clock.SleepMs(100);
    qmr::Env().ui->PumpEvents();
    EXPECT_FALSE(w->connectBt->isEnabled());
    delete w;
    EXPECT_EQ(qmr::Env().ui, nullptr);
    EXPECT_EQ(qmr::Env().line, nullptr);
}

}  // namespace
