// Prendix's main window driven through the seam, against the simulated
// printer on a pty.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>
#include <thread>

#include "Commands.h"
#include "Executor.h"
#include "Placement.h"
#include "Prendix.h"
#include "PrendixFixture.h"
#include "Settings.h"
#include "UiTestSupport.h"

namespace prendix {
namespace {

using qmr::Link;
using qmrsim::Printer;
namespace st = qmrsim::st;
namespace colour = qmr::ui::colour;

TEST_F(PrendixWindow, StartsWithTheDiscoveredPortsTheSavedChoiceAndUkraine) {
    EXPECT_EQ(InitFP->windowTitle(), "Fiscal Printer QMR-770 Init");
    EXPECT_EQ(InitFP->size(), QSize(497, 337));
    EXPECT_EQ(qmr::test::ItemsOf(*InitFP->PortNum),
              (QStringList{"/dev/ttyS0", "/dev/ttyS1", QString::fromStdString(sim.DevicePath())}));
    EXPECT_EQ(InitFP->PortNum->currentIndex(), 2);
    EXPECT_EQ(InitFP->BaudsBox->currentText(), "19200");
    EXPECT_EQ(InitFP->CountryBox->currentText(), "Ukraine");
    EXPECT_EQ(InitFP->Decimals->currentText(), "2");
    EXPECT_TRUE(InitFP->PnBox->isChecked());
    EXPECT_FALSE(InitFP->TestBt->isVisible());
    EXPECT_EQ(InitFP->ConnectBt->text(), "Connect");
    EXPECT_EQ(InitFP->Shape1->BrushColor(), colour::Green);
    ASSERT_NE(StatusDlg, nullptr);
    EXPECT_EQ(StatusDlg->parent(), InitFP);
    EXPECT_EQ(StatusDlg->windowTitle(), "QMR-770 status bits");
}

// The frame each control of the window stands in, and what it shows there
// (a list's items, joined by '|').
struct ControlRow {
    const char* name;
    const char* frame;
    QString caption;
};

TEST(TInitFPControls, ShowTheirCaptionsInTheirFramesOnAWindowOfFixedSize) {
    const ControlRow rows[] = {
        {"PortBox", "InitFP", " Serial port  "},
        {"Label1", "PortBox", "Port:"},
        {"PortNum", "PortBox", "Com1|Com2|Com3|Com4|Com5|Com6|Com7|Com8"},
        {"Label2", "PortBox", "Speed:"},
        {"BaudsBox", "PortBox", "9600|19200|57600|115200"},
        {"Shape1", "PortBox", ""},
        {"ConnectBt", "PortBox", "Connect"},
        {"TaxInfoBox", "InitFP", ""},
        {"Label14", "TaxInfoBox", "FM number:"},
        {"UpdateFM", "TaxInfoBox", ""},
        {"ModuleBox", "TaxInfoBox", ""},
        {"Label3", "TaxInfoBox", "Serial number:"},
        {"SerialBox", "TaxInfoBox", ""},
        {"Label4", "TaxInfoBox", "Country:"},
        {"CountryBox", "TaxInfoBox",
         "Russia|Greece|Ukraine|England|Poland|Hungary|Bulgaria|Not used 1|Kenya|Romania|Not Set"},
        {"PgmBt", "TaxInfoBox", "Program"},
        {"TestBt", "TaxInfoBox", "!!!"},
        {"Label5", "TaxInfoBox", "Decimal places:"},
        {"Decimals", "TaxInfoBox", "0|2"},
        {"TaxA_Box", "TaxInfoBox", "A:"},
        {"TaxB_Box", "TaxInfoBox", "B:"},
        {"TaxC_Box", "TaxInfoBox", "C:"},
        {"TaxD_Box", "TaxInfoBox", "D:"},
        {"TaxA", "TaxInfoBox", ""},
        {"TaxB", "TaxInfoBox", ""},
        {"TaxC", "TaxInfoBox", ""},
        {"TaxD", "TaxInfoBox", ""},
        {"SettingsBox", "InitFP", " Setrtings  "},
        {"DateBt", "SettingsBox", "Date and Time"},
        {"HeaderBt", "SettingsBox", "Header and Footer"},
        {"LogoBt", "SettingsBox", "Graphic Logo"},
        {"OperBt", "SettingsBox", "Operators"},
        {"FiscalizeBox", "InitFP", " Fiscalization "},
        {"Label12", "FiscalizeBox", "VAT number:"},
        {"IdNumBox", "FiscalizeBox", ""},
        {"Label6", "FiscalizeBox", "Reg. type:"},
        {"Panel2", "FiscalizeBox", ""},
        {"PnBox", "Panel2", "PN"},
        {"IdBox", "Panel2", "ID"},
        {"LearnBt", "FiscalizeBox", "Non fiscal mode"},
        {"FiscaliseBt", "FiscalizeBox", "Fiscalize"},
        {"ClosureBt", "InitFP", "Reports"},
        {"RecoverBt", "InitFP", "Emergency Button"},
        {"Panel1", "InitFP", ""},
        {"StatusBt", "Panel1", "Status"},
        {"RefreshBt", "Panel1", "Refresh"},
        {"FromFileBt", "Panel1", "From File"},
        {"DiagnBt", "Panel1", "Diagnostics"},
    };
    TInitFP window;  // before its first showing
    EXPECT_FALSE(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    for (const ControlRow& row : rows) {
        SCOPED_TRACE(row.name);
        const auto* control = window.findChild<QWidget*>(row.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parent()->objectName(), row.frame);
        EXPECT_EQ(CaptionOf(*control), row.caption);
    }
    for (QCheckBox* box : window.TaxBoxes()) EXPECT_EQ(box->layoutDirection(), Qt::RightToLeft);  // caption at the left
    // Program stands out: red, bold and flat.
    EXPECT_EQ(window.PgmBt->palette().color(QPalette::ButtonText), colour::Red);
    EXPECT_TRUE(window.PgmBt->font().bold());
    EXPECT_TRUE(window.PgmBt->autoRaise());
}

TEST_F(PrendixWindow, EveryControlSitsInsideItsGroupAndTheWindow) {
    for (const QWidget* w : InitFP->findChildren<QWidget*>()) {
        if (w->window() != InitFP || w->objectName().isEmpty() || w->objectName().startsWith("qt_")) continue;
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry())) << w->objectName().toStdString();
    }
    EXPECT_EQ(InitFP->PortNum->parent(), InitFP->PortBox);
    EXPECT_EQ(InitFP->TaxD->parent(), InitFP->TaxInfoBox);
    EXPECT_EQ(InitFP->OperBt->parent(), InitFP->SettingsBox);
    EXPECT_EQ(InitFP->IdBox->parent(), InitFP->Panel2);
    EXPECT_EQ(InitFP->Panel2->parent(), InitFP->FiscalizeBox);
    EXPECT_EQ(InitFP->DiagnBt->parent(), InitFP->Panel1);
    EXPECT_GT(InitFP->ClosureBt->y(), InitFP->SettingsBox->geometry().bottom());
    InitFP->ConnectBt->setText("Disconnect");
    EXPECT_EQ(qmr::test::ClippedCaptions(*InitFP), std::vector<std::string>{});
    EXPECT_EQ(qmr::test::OverlappingControls(*InitFP), std::vector<std::string>{});
}

// As main starts the program: the ports are read on a thread of their own
// while the forms are built, and the window shows that reading, with the
// saved choice, as soon as it is shown.
TEST_F(PrendixWindow, ShowsThePortsReadWhileTheFormsWereBuilt) {
    InitFP->close();
    delete InitFP;
    std::thread::id readOn;
    qmr::test::StartPortReadingAsMainDoes({"/dev/ttyUSB0", "/dev/ttyS0"}, readOn);

    CreateForms();
    InstallProgramLink(line, clock);
    InitFP->show();

    EXPECT_EQ(qmr::test::ItemsOf(*InitFP->PortNum),
              (QStringList{"/dev/ttyS0", "/dev/ttyUSB0", QString::fromStdString(sim.DevicePath())}));
    EXPECT_EQ(InitFP->PortNum->currentIndex(), 2);
    EXPECT_EQ(InitFP->BaudsBox->currentText(), "19200");
    EXPECT_NE(readOn, std::this_thread::get_id());
}

TEST_F(PrendixWindow, DroppingThePortListDownReadsThePortsAgain) {
    InitFP->PortNum->setCurrentIndex(0);  // picked but not connected
    qmr::test::PortsScope more({"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyUSB0"}, sim.DevicePath());
    InitFP->PortNum->showPopup();
    InitFP->PortNum->hidePopup();
    EXPECT_EQ(InitFP->PortNum->count(), 4);
    EXPECT_EQ(InitFP->PortNum->currentIndex(), 2);  // back at the saved index
}

TEST_F(PrendixWindow, APortThatCannotBeOpenedLeavesTheWindowDisconnected) {
    qmr::test::PortsScope missing({"/dev/qmr-no-such-port"}, "");
    InitFP->PortNum->showPopup();
    InitFP->PortNum->hidePopup();
    InitFP->PortNum->setCurrentIndex(0);
    InitFP->ConnectBt->click();
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Can't open serial port"});
    EXPECT_EQ(script.messages[0].caption, "Error");
    EXPECT_FALSE(Link().Connected);
    EXPECT_EQ(InitFP->ConnectBt->text(), "Connect");
    EXPECT_EQ(InitFP->Shape1->BrushColor(), colour::Green);
}

TEST_F(PrendixWindow, ConnectThenDisconnectTurnsCaptionAndLampBack) {
    Connect();
    EXPECT_EQ(InitFP->ConnectBt->text(), "Disconnect");
    EXPECT_EQ(InitFP->Shape1->BrushColor(), colour::Lime);
    EXPECT_NE(Link().PortHandle, -1);
    EXPECT_TRUE(Commands().empty());  // connecting sends nothing

    InitFP->ConnectBt->click();
    EXPECT_FALSE(Link().Connected);
    EXPECT_EQ(Link().PortHandle, -1);
    EXPECT_EQ(InitFP->ConnectBt->text(), "Connect");
    EXPECT_EQ(InitFP->Shape1->BrushColor(), colour::Green);
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(PrendixWindow, ClosingWhileConnectedSavesTheSettingsAndClosesThePort) {
    Connect();
    InitFP->BaudsBox->setCurrentIndex(3);
    EXPECT_TRUE(InitFP->close());
    EXPECT_EQ(qmr::test::ReadSetting("SerialPort"), 2);
    EXPECT_EQ(qmr::test::ReadSetting("Bauds"), 3);
    EXPECT_EQ(Link().PortHandle, -1);
    EXPECT_TRUE(script.messages.empty());
}

// The close box clicked while a command waits for its reply: the port stays
// open under the exchange, which ends as it would have, and the window closes
// (saving the settings and closing the port) once it has.
TEST_F(PrendixWindow, ACloseDuringAnExchangeIsTakenOnceItHasEnded) {
    ServicedPrinter();
    Connect();
    InitFP->BaudsBox->setCurrentIndex(3);
    struct During {
        bool closed = true;
        bool visible = false;
        int port = -1;
    } during;
    QTimer::singleShot(0, InitFP, [&during] {
        during.closed = InitFP->close();
        during.visible = InitFP->isVisible();
        during.port = Link().PortHandle;
    });
    script.OnNextModal([](QDialog&) {});  // the status dialog of the healthy reply
    sim.ClearRequests();
    InitFP->StatusBt->click();
    EXPECT_FALSE(during.closed);
    EXPECT_TRUE(during.visible);
    EXPECT_NE(during.port, -1);
    EXPECT_EQ(Commands(), std::vector<int>{74});
    EXPECT_TRUE(script.messages.empty());
    ASSERT_EQ(script.modals.size(), 1u);

    QCoreApplication::processEvents();
    EXPECT_FALSE(InitFP->isVisible());
    EXPECT_EQ(Link().PortHandle, -1);
    EXPECT_EQ(qmr::test::ReadSetting("Bauds"), 3);
}

// The connect button pressed while a command waits for its reply, before the
// hold greys the button: the press is lost, and the command goes on to its
// end on the open port.
TEST_F(PrendixWindow, APressOfConnectDuringAnExchangeLeavesTheConnection) {
    Connect();
    ClickDuringTheNextExchange(*InitFP->ConnectBt);
    InitFP->StatusBt->click();
    EXPECT_TRUE(clickedDuringExchange);
    EXPECT_TRUE(Link().Connected);
    EXPECT_NE(Link().PortHandle, -1);
    EXPECT_EQ(InitFP->ConnectBt->text(), "Disconnect");
    EXPECT_EQ(InitFP->Shape1->BrushColor(), colour::Lime);
    EXPECT_EQ(Commands(), (std::vector<int>{74, 74, 74, 74}));
    EXPECT_EQ(Sequences(), std::vector<std::uint8_t>(4, Sequences().front()));
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"No printer response"});
}

TEST_F(PrendixWindow, TheExitHandlerClosesTheWindowAsTheCloseBoxDoes) {
    Connect();
    InitFP->BaudsBox->setCurrentIndex(0);
    InitFP->ExitBtClick();
    EXPECT_FALSE(InitFP->isVisible());
    EXPECT_EQ(qmr::test::ReadSetting("Bauds"), 0);
    EXPECT_EQ(Link().PortHandle, -1);
}

TEST_F(PrendixWindow, StatusWhileDisconnectedOnlySaysThePortIsNotOpen) {
    InitFP->StatusBt->click();
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Serial port not open"});
    EXPECT_TRUE(script.modals.empty());
}

TEST_F(PrendixWindow, StatusWithoutAnAnswerSaysSoAfterFourTries) {
    Connect();
    clock.racing = true;
    sim.InjectFault(qmrsim::Fault::Silence, 4);
    InitFP->StatusBt->click();
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"No printer response"});
    EXPECT_TRUE(script.modals.empty());
    EXPECT_EQ(Commands(), (std::vector<int>{74, 74, 74, 74}));
    EXPECT_TRUE(InitFP->ConnectBt->isEnabled());
}

TEST_F(PrendixWindow, StatusWithASyntaxErrorShowsTheDialogOnceFromTheLink) {
    WithPrinter([](Printer& p) {
        p.SetHandler(qmr::ReadStatus, [](Printer& printer, const qmrsim::Request&) {
            printer.Fail(st::SyntaxError);
            return std::string();
        });
    });
    Connect();
    script.OnNextModal([](QDialog& form) {
        auto& dlg = dynamic_cast<qmr::ui::TStatusDlg&>(form);
        EXPECT_TRUE(dlg.Status00->isChecked());
        EXPECT_FALSE(dlg.Status_Timeout->isChecked());
        EXPECT_FALSE(dlg.Status_Protocol->isChecked());
        EXPECT_FALSE(InitFP->ConnectBt->isEnabled());  // still inside the exchange
        dlg.OkBt->click();
    });
    InitFP->StatusBt->click();
    ASSERT_EQ(script.modals.size(), 1u);
    EXPECT_EQ(script.modals[0].caption, "QMR-770 Status Bits (Command 74)");
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(PrendixWindow, StatusOnAHealthyPrinterShowsTheDialogOverTheWindow) {
    ServicedPrinter();
    Connect();
    script.OnNextModal([](QDialog& form) {
        auto& dlg = dynamic_cast<qmr::ui::TStatusDlg&>(form);
        EXPECT_TRUE(dlg.Status42->isChecked());
        EXPECT_TRUE(dlg.Status54->isChecked());
        EXPECT_FALSE(dlg.Status53->isChecked());
    });
    InitFP->StatusBt->click();  // the dialog's first showing
    script.OnNextModal([](QDialog&) {});
    InitFP->StatusBt->click();
    ASSERT_EQ(script.modals.size(), 2u);
    EXPECT_EQ(script.modals[0].caption, "QMR-770 Status Bits (Command 74)");
    EXPECT_TRUE(script.messages.empty());
    // Placed alike before its first showing, when it had no frame yet.
    EXPECT_EQ(script.modals[0].pos, script.modals[1].pos);
    // Over the client area: as much room left as right, and a quarter of the
    // free height above it (the dialog is taller than the area: it stands out
    // a quarter above, three quarters below).
    const QRect client(InitFP->mapToGlobal(QPoint(0, 0)), InitFP->size());
    const QRect dlg(script.modals[1].pos, StatusDlg->frameGeometry().size());
    EXPECT_LE(std::abs((dlg.left() - client.left()) - (client.right() - dlg.right())), 1);
    const int above = client.top() - dlg.top(), below = dlg.bottom() - client.bottom();
    EXPECT_LE(std::abs(3 * above - below), 3);
}

TEST_F(PrendixWindow, GraphicLogoPlacesTheDialogOverTheWindowAndUploadsThroughItsPictureDialog) {
    Connect();
    ASSERT_NE(LogoDlg, nullptr);
    EXPECT_EQ(LogoDlg->parent(), InitFP);
    EXPECT_GT(InitFP->children().indexOf(LogoDlg), InitFP->children().indexOf(StatusDlg));

    QTemporaryDir dir;
    const QString file = dir.filePath("logo.bmp");
    QImage image(8, 2, QImage::Format_Mono);  // one bit, white at index 0
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    image.setPixel(7, 1, 1);
    ASSERT_TRUE(image.save(file, "BMP"));

    script.OnNextModal([&](QDialog&) {
        LogoDlg->PwdBox->setText("4826");
        script.PickNextFile(file);
        LogoDlg->LoadBt->click();
    });
    InitFP->LogoBt->click();
    ASSERT_EQ(script.modals.size(), 1u);
    EXPECT_EQ(script.modals[0].objectName, "LogoDlg");
    EXPECT_EQ(script.modals[0].caption, "Graphics Logo");
    ExpectPlacedOverTheWindow(script.modals[0].pos, *LogoDlg);
    ASSERT_EQ(script.files.size(), 1u);
    EXPECT_EQ(script.files[0].title, QString::fromUtf8("Избери файл"));
    EXPECT_EQ(script.files[0].filter, "Bitmap files (*.bmp)|*.BMP");
    EXPECT_TRUE(script.messages.empty());

    const auto requests = sim.Requests();  // connecting sends nothing
    ASSERT_EQ(requests.size(), 97u);
    EXPECT_EQ(requests[94].data, "4826,94,00");
    EXPECT_EQ(requests[95].data, "4826,95,01");
    EXPECT_EQ(requests[96].cmd, qmr::ConfigureReceiptLayout);
    WithPrinter([](qmrsim::Printer& p) {
        EXPECT_TRUE(p.logo.printing);
        EXPECT_EQ(qmrsim::LogoLines(p.logo), std::vector<std::string>{"       #"});
    });
}

TEST_F(PrendixWindow, DiagnosticsArePrintedAndWithoutAPortOnlyRefused) {
    InitFP->DiagnBt->click();
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Serial port not open"});

    ServicedPrinter();
    Connect();
    InitFP->DiagnBt->click();
    EXPECT_EQ(Commands(), std::vector<int>{qmr::RunDiagnostics});
    WithPrinter([](Printer& p) {
        ASSERT_FALSE(p.paper.empty());
        EXPECT_EQ(p.paper.front(), "DIAGNOSTICS");
    });
    EXPECT_EQ(script.messages.size(), 1u);
}

TEST_F(PrendixWindow, RefreshWhileDisconnectedLeavesTheFieldsAlone) {
    InitFP->SerialBox->setText("typed");
    InitFP->TaxA->setText("9.00");
    InitFP->RefreshBt->click();
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Serial port not open"});
    EXPECT_EQ(script.messages[0].caption, "Error");
    EXPECT_EQ(InitFP->SerialBox->text(), "typed");
    EXPECT_EQ(InitFP->TaxA->text(), "9.00");
    EXPECT_EQ(InitFP->CountryBox->currentText(), "Ukraine");
}

TEST_F(PrendixWindow, RefreshFillsEverythingFromAServicedPrinter) {
    ServicedPrinter();
    WithPrinter([](Printer& p) {
        p.identification.taxNumber = "1234567890";
        p.identification.registrationType = 1;
    });
    Connect();
    Refresh();
    EXPECT_EQ(Commands(), (std::vector<int>{74, 90, 83, 97, 99}));
    EXPECT_TRUE(script.messages.empty());
    EXPECT_EQ(InitFP->SerialBox->text(), "ZK000417");
    EXPECT_EQ(InitFP->ModuleBox->text(), "50001234");
    EXPECT_EQ(InitFP->CountryBox->currentText(), "Ukraine");
    // The serial number is set: serial and country can no longer be changed.
    EXPECT_FALSE(InitFP->SerialBox->isEnabled());
    EXPECT_FALSE(InitFP->CountryBox->isEnabled());
    EXPECT_FALSE(InitFP->ModuleBox->isEnabled());  // follows UpdateFM, unticked
    EXPECT_TRUE(InitFP->IdNumBox->isEnabled());
    EXPECT_TRUE(InitFP->LearnBt->isEnabled());
    EXPECT_EQ(InitFP->Decimals->currentText(), "2");
    const std::array<bool, 4> enabled{true, true, true, false};
    const std::array<const char*, 4> rates{"20.00", "7.00", "0.00", "0.00"};
    for (std::size_t g = 0; g < 4; ++g) {
        EXPECT_EQ(InitFP->TaxBoxes()[g]->isChecked(), enabled[g]) << g;
        EXPECT_EQ(InitFP->TaxRates()[g]->text(), rates[g]) << g;
    }
    EXPECT_EQ(InitFP->IdNumBox->text(), "1234567890");
    EXPECT_TRUE(InitFP->IdBox->isChecked());

    InitFP->UpdateFM->setChecked(true);
    Refresh();
    EXPECT_TRUE(InitFP->ModuleBox->isEnabled());
}

// The rate edits' MaxLength of 6 limits typing only: a rate the printer holds
// shows whole, however long.
TEST_F(PrendixWindow, ALongRateShowsWholeAndOnlyTypingIsLimited) {
    ServicedPrinter();
    WithPrinter([](Printer& p) { p.SetReplyData(qmr::ReadTaxRates, "20,1110,0,-999.5"); });
    Connect();
    Refresh();
    EXPECT_EQ(InitFP->TaxB->text(), "1110.00");
    EXPECT_EQ(InitFP->TaxD->text(), "-999.50");

    QLineEdit& rate = *InitFP->TaxB;
    const auto type = [&rate](Qt::Key key, const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(&rate, &press);
    };
    rate.setFocus();
    rate.end(false);
    type(Qt::Key_5, "5");
    EXPECT_EQ(rate.text(), "1110.00");  // no longer by typing
    type(Qt::Key_Backspace);
    EXPECT_EQ(rate.text(), "1110.0");  // but it can be shortened
    type(Qt::Key_5, "5");
    EXPECT_EQ(rate.text(), "1110.0");  // and then typed only up to the limit
    rate.clear();
    for (const char* digit : {"1", "2", "3", "4", "5", "6", "7"}) type(Qt::Key_1, digit);
    EXPECT_EQ(rate.text(), "123456");
}

TEST_F(PrendixWindow, RefreshOfAFiscalisedPrinterLocksTheTaxNumberAndNonFiscalMode) {
    ServicedPrinter();
    WithPrinter([](Printer& p) { p.SetStatusBit(st::Fiscalized); });
    Connect();
    Refresh();
    EXPECT_FALSE(InitFP->IdNumBox->isEnabled());
    EXPECT_FALSE(InitFP->LearnBt->isEnabled());
    EXPECT_TRUE(InitFP->PnBox->isChecked());

    // The next refresh of a printer without a serial number unlocks serial and country again.
    WithPrinter([](Printer& p) {
        p.SetStatusBit(st::Fiscalized, false);
        p.SetStatusBit(st::SerialSet, false);
    });
    Refresh();
    EXPECT_TRUE(InitFP->SerialBox->isEnabled());
    EXPECT_TRUE(InitFP->CountryBox->isEnabled());
    EXPECT_TRUE(InitFP->IdNumBox->isEnabled());
    EXPECT_TRUE(InitFP->LearnBt->isEnabled());
}

TEST_F(PrendixWindow, RefreshWithTaxRatesNotSetStopsAfterTheIdentification) {
    ServicedPrinter();
    WithPrinter([](Printer& p) { p.SetStatusBit(st::TaxRatesSet, false); });
    Connect();
    InitFP->TaxB_Box->setChecked(true);
    InitFP->TaxB->setText("9.00");
    InitFP->IdNumBox->setText("old");
    InitFP->IdBox->setChecked(true);
    Refresh();
    EXPECT_EQ(Commands(), (std::vector<int>{74, 90}));
    EXPECT_EQ(InitFP->SerialBox->text(), "ZK000417");
    EXPECT_EQ(InitFP->CountryBox->currentText(), "Ukraine");
    EXPECT_EQ(InitFP->Decimals->currentText(), "0");
    EXPECT_FALSE(InitFP->TaxB_Box->isChecked());
    EXPECT_EQ(InitFP->TaxB->text(), "");
    EXPECT_EQ(InitFP->IdNumBox->text(), "");
    EXPECT_TRUE(InitFP->IdBox->isChecked());  // the registration type stays as it was
}

TEST_F(PrendixWindow, RefreshWithPaperOutSaysSoAndReadsNothing) {
    ServicedPrinter();
    WithPrinter([](Printer& p) { p.SetStatusBit(st::PaperOut); });
    Connect();
    InitFP->SerialBox->setText("typed");
    Refresh();
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Out of paper"});
    EXPECT_EQ(script.messages[0].caption, "Error");
    EXPECT_EQ(Commands(), std::vector<int>{74});
    EXPECT_EQ(InitFP->SerialBox->text(), "");
    EXPECT_EQ(InitFP->CountryBox->currentText(), "Not Set");
}

TEST_F(PrendixWindow, RefreshGoesOnAfterAPrinterErrorAndStopsAtSilence) {
    ServicedPrinter();
    WithPrinter([](Printer& p) {
        p.SetHandler(qmr::SetTaxRatesAndDecimals, [](Printer& printer, const qmrsim::Request&) {
            printer.Fail(st::InvalidCommand);
            return std::string("0,0110");
        });
    });
    Connect();
    InitFP->IdNumBox->setText("old");
    // The refused command's status dialog; the printer falls silent meanwhile.
    script.OnNextModal([this](QDialog&) {
        sim.InjectFault(qmrsim::Fault::Silence, 4);
        clock.racing = true;
    });
    Refresh();
    EXPECT_EQ(Commands(), (std::vector<int>{74, 90, 83, 97, 97, 97, 97}));
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"No printer response"});
    EXPECT_EQ(InitFP->Decimals->currentText(), "0");  // read despite the error
    EXPECT_TRUE(InitFP->TaxB_Box->isChecked());
    EXPECT_EQ(InitFP->TaxA->text(), "");  // the rates never came
    EXPECT_EQ(InitFP->IdNumBox->text(), "");
}

// A step whose four replies all echo another command: the read stops there,
// and no field takes the reply of the step before as this step's.
struct GarbledStep {
    const char* name;
    int refused;          // answered with a printer error, whose status dialog sets the fault up
    const char* reply;    // the refused command's reply, read all the same
    int garbled;          // every try of this command echoes another Cmd
    std::vector<int> received;
};

class RefreshGarbled : public PrendixWindow, public ::testing::WithParamInterface<GarbledStep> {};

TEST_P(RefreshGarbled, StopsAtTheStepAndLeavesItsFieldsAlone) {
    const GarbledStep& c = GetParam();
    ServicedPrinter();
    WithPrinter([&](Printer& p) {
        p.SetReplyData(qmr::SetTaxRatesAndDecimals, "2,1110");
        p.SetReplyData(qmr::ReadTaxRates, "20,7.5,0,0");
        p.SetReplyData(qmr::ReadTaxNumber, "1234567890,1");
        p.SetHandler(c.refused, [reply = std::string(c.reply)](Printer& printer, const qmrsim::Request&) {
            printer.Fail(st::InvalidCommand);
            return reply;
        });
    });
    Connect();
    script.OnNextModal([this](QDialog&) { sim.InjectFault(qmrsim::Fault::WrongCmd, 4); });
    Refresh();
    EXPECT_EQ(Commands(), c.received);
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Protocol error"});
    const bool enablesRead = c.garbled != qmr::SetTaxRatesAndDecimals;
    EXPECT_EQ(InitFP->Decimals->currentText(), enablesRead ? "2" : "0");
    EXPECT_EQ(InitFP->TaxB_Box->isChecked(), enablesRead);
    const bool ratesRead = c.garbled == qmr::ReadTaxNumber;
    EXPECT_EQ(InitFP->TaxA->text(), ratesRead ? "20.00" : "");
    EXPECT_EQ(InitFP->TaxB->text(), ratesRead ? "7.50" : "");
    EXPECT_EQ(InitFP->IdNumBox->text(), "");
    EXPECT_TRUE(InitFP->PnBox->isChecked());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, RefreshGarbled,
    ::testing::Values(GarbledStep{"TaxEnables", qmr::ReadDeviceInfo, "M F D,C,S,2,ZK000417,50001234", qmr::SetTaxRatesAndDecimals,
                                  {74, 90, 83, 83, 83, 83}},
                      GarbledStep{"TaxRates", qmr::SetTaxRatesAndDecimals, "2,1110", qmr::ReadTaxRates,
                                  {74, 90, 83, 97, 97, 97, 97}},
                      GarbledStep{"TaxNumber", qmr::ReadTaxRates, "20,7.5,0,0", qmr::ReadTaxNumber,
                                  {74, 90, 83, 97, 99, 99, 99, 99}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrendixWindow, AFailedIdentificationLeavesItsFieldsClearedAndOpenToEditing) {
    ServicedPrinter();
    Connect();
    Refresh();
    ASSERT_FALSE(InitFP->SerialBox->isEnabled());  // the serial number is set
    WithPrinter([](Printer& p) {
        p.SetHandler(qmr::ReadStatus, [](Printer& printer, const qmrsim::Request&) {
            printer.Fail(st::InvalidCommand);
            return std::string();
        });
    });
    // The refused status command's dialog; meanwhile the line garbles every identification reply.
    script.OnNextModal([this](QDialog&) { sim.InjectFault(qmrsim::Fault::WrongCmd, 4); });
    Refresh();
    EXPECT_EQ(Commands(), (std::vector<int>{74, 90, 90, 90, 90}));
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Protocol error"});
    EXPECT_EQ(InitFP->SerialBox->text(), "");
    EXPECT_EQ(InitFP->CountryBox->currentText(), "Not Set");
    for (const QWidget* field : std::initializer_list<const QWidget*>{InitFP->SerialBox, InitFP->ModuleBox,
                                                                      InitFP->CountryBox})
        EXPECT_TRUE(field->isEnabled()) << field->objectName().toStdString();
}

TEST_F(PrendixWindow, RefreshWithoutAnAnswerLeavesTheFieldsCleared) {
    Connect();
    InitFP->SerialBox->setText("typed");
    clock.racing = true;
    sim.InjectFault(qmrsim::Fault::Silence, 4);
    Refresh();
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"No printer response"});
    EXPECT_EQ(Commands(), (std::vector<int>{74, 74, 74, 74}));
    EXPECT_EQ(InitFP->SerialBox->text(), "");
}

TEST_F(PrendixWindow, AReadWithThePortClosedStopsAtTheFirstRefusal) {
    ServicedPrinter();
    Connect();
    Refresh();  // leaves a status word with the tax rates set and a tax number reply
    InitFP->ConnectBt->click();
    sim.ClearRequests();
    InitFP->IdNumBox->setText("typed");
    InitFP->RefreshFromPrinter();  // as the fiscalisation flow calls it, without testing Connected
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Serial port not open"});
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(InitFP->SerialBox->text(), "");
    EXPECT_EQ(InitFP->TaxA->text(), "");
    EXPECT_EQ(InitFP->IdNumBox->text(), "");
}

TEST_F(PrendixWindow, ARefreshStartedDuringAnotherExchangeReadsNothing) {
    ServicedPrinter();
    Connect();
    script.OnNextModal([](QDialog&) {});  // the status dialog of the outer exchange
    QTimer::singleShot(0, InitFP, [] { InitFP->RefreshBt->click(); });
    sim.ClearRequests();
    InitFP->StatusBt->click();
    EXPECT_EQ(Commands(), std::vector<int>{74});
    EXPECT_EQ(InitFP->SerialBox->text(), "");
    EXPECT_EQ(InitFP->TaxA->text(), "");
}

// Replies the printer may give, and what the fields show of them.
struct ReplyCase {
    const char* name;
    const char* deviceInfo;
    const char* taxEnables;
    const char* taxRates;
    const char* taxNumber;
    QString country;  // the selected item, empty for none
    const char* serial;
    const char* fm;
    const char* decimals;
    std::array<const char*, 4> rates;
    bool idType;
};

class RefreshReplies : public PrendixWindow, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(RefreshReplies, FillTheFieldsAsTheyRead) {
    const ReplyCase& c = GetParam();
    ServicedPrinter();
    WithPrinter([&](Printer& p) {
        p.SetReplyData(qmr::ReadDeviceInfo, c.deviceInfo);
        p.SetReplyData(qmr::SetTaxRatesAndDecimals, c.taxEnables);
        p.SetReplyData(qmr::ReadTaxRates, c.taxRates);
        p.SetReplyData(qmr::ReadTaxNumber, c.taxNumber);
    });
    Connect();
    Refresh();
    EXPECT_EQ(InitFP->CountryBox->currentText(), c.country);
    EXPECT_EQ(InitFP->SerialBox->text(), c.serial);
    EXPECT_EQ(InitFP->ModuleBox->text(), c.fm);
    EXPECT_EQ(InitFP->Decimals->currentText(), c.decimals);
    for (std::size_t g = 0; g < 4; ++g) EXPECT_EQ(InitFP->TaxRates()[g]->text(), c.rates[g]) << g;
    EXPECT_EQ(InitFP->IdBox->isChecked(), c.idType);
    EXPECT_EQ(InitFP->PnBox->isChecked(), !c.idType);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefreshReplies,
    ::testing::Values(ReplyCase{"CountryNotSetAndIdType", "M F D,C,S, ,SN1,FM1", "2,1111", "20,7.5,0,x", "123,1",
                                "Not Set", "SN1", "FM1", "2", {"20.00", "7.50", "0.00", "0.00"}, true},
                      ReplyCase{"CountryAndNoFiscalMemoryNumber", "M F D,C,S,2,SN2", "0,0000", "-5,0,0,0", "123,0",
                                "Ukraine", "SN2", "", "0", {"-5.00", "0.00", "0.00", "0.00"}, false},
                      ReplyCase{"CountryBeyondTheList", "M F D,C,S,11,SN3,FM3", "x,1", "", "", "", "SN3", "FM3", "0",
                                {"0.00", "0.00", "0.00", "0.00"}, false},
                      // A reply too short for its layout reads as empty items.
                      ReplyCase{"RepliesTooShort", "M F", "", "1", "9", "Not Set", "", "", "0",
                                {"1.00", "0.00", "0.00", "0.00"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace prendix

namespace prendix {
namespace {

// Every bound control of the main window, clicked on a connected window: the
// first command it sends and the first form it shows tell that its own
// handler ran.
TEST_F(PrendixWindow, EveryBoundControlRunsItsHandler) {
    struct Binding {
        const char* control;
        int firstCommand;       // 0: none
        const char* firstForm;  // "": none
        bool fileDialog = false;
    };
    const Binding bindings[] = {
        {"StatusBt", qmr::ReadStatus, "StatusDlg"},
        {"RefreshBt", qmr::ReadStatus, ""},
        {"DiagnBt", qmr::RunDiagnostics, ""},
        {"ClosureBt", 0, "ReportDlg"},
        {"RecoverBt", qmr::ReadStatus, ""},
        {"DateBt", 0, "SetTimeDlg"},
        {"OperBt", 0, "OperatorsDlg"},
        {"TestBt", 0, "TestFrm"},
        {"HeaderBt", 0, "HeaderDlg"},
        {"FromFileBt", 0, "", true},
        {"PgmBt", qmr::ReadStatus, "RepPwdDlg"},
        {"LearnBt", qmr::ReadStatus, ""},
        {"FiscaliseBt", qmr::ReadStatus, "RepPwdDlg"},
        {"LogoBt", 0, "LogoDlg"},
    };
    ServicedPrinter();
    Connect();
    for (const Binding& b : bindings) {
        SCOPED_TRACE(b.control);
        sim.ClearRequests();
        script.modals.clear();
        script.files.clear();
        if (*b.firstForm) script.OnNextModal([](QDialog&) {});
        if (b.fileDialog) script.PickNextFile(std::nullopt);
        auto* button = InitFP->findChild<QAbstractButton*>(b.control);
        ASSERT_NE(button, nullptr);
        button->click();
        const auto requests = sim.Requests();
        EXPECT_EQ(requests.empty() ? 0 : requests.front().cmd, b.firstCommand);
        EXPECT_EQ(script.modals.empty() ? QString() : script.modals.front().objectName, QString(b.firstForm));
        EXPECT_EQ(script.files.size(), b.fileDialog ? 1u : 0u);
        EXPECT_TRUE(script.ScriptUsedUp());
    }
    // The tick box before the FM number unlocks its edit.
    InitFP->UpdateFM->click();
    EXPECT_EQ(InitFP->ModuleBox->isEnabled(), InitFP->UpdateFM->isChecked());
    InitFP->UpdateFM->click();
    EXPECT_EQ(InitFP->ModuleBox->isEnabled(), InitFP->UpdateFM->isChecked());
    // Connect again closes the port.
    InitFP->ConnectBt->click();
    EXPECT_FALSE(Link().Connected);
}

}  // namespace
}  // namespace prendix
