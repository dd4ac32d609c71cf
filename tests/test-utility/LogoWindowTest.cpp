// The graphic logo dialog from Service / Load Graphics Logo, against the
// simulated printer.
#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QStyle>

#include "VextoraFixture.h"

namespace vextora {
namespace {

using qmr::ui::TLogoDlg;

class Logo : public VextoraWindow {
protected:
    void SetUp() override {
        VextoraWindow::SetUp();
        Connect();
        LogoDlg->PwdBox->setText("4826");  // the simulated printer's logo password
    }

    QString Bitmap(const QImage& image, const QString& name = "logo.bmp") {
        const QString path = files.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }
    // 100 x 40, white, with a black frame along its top and left edges.
    QImage Corner() {
        QImage image(100, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int x = 0; x < 100; ++x) image.setPixel(x, 0, qRgb(0, 0, 0));
        for (int y = 0; y < 40; ++y) image.setPixel(0, y, qRgb(0, 0, 0));
        return image;
    }
    // Opens the dialog from the menu and runs `inside` while it is shown;
    // whether it was still open afterwards is kept in `stayedOpen`.
    void WithDialog(const std::function<void()>& inside) {
        script.OnNextModal([&](QDialog& form) {
            ASSERT_EQ(&form, LogoDlg);
            inside();
            stayedOpen = LogoDlg->isVisible();
        });
        Form1->LoadLogoM->trigger();
    }
    void Upload(const QString& file) {
        WithDialog([&] {
            script.PickNextFile(file);
            LogoDlg->LoadBt->click();
        });
    }
    // Runs f once when LogoBar reaches the value, in the middle of the upload.
    void AtRow(int value, std::function<void()> f) {
        QObject::connect(LogoDlg->LogoBar, &QProgressBar::valueChanged, LogoDlg,
                         [value, f = std::move(f)](int v) {
                             if (v == value) f();
                         });
    }
    bool SwitchesEnabled() const {
        return LogoDlg->LoadBt->isEnabled() && LogoDlg->EnableBt->isEnabled() && LogoDlg->DisableBt->isEnabled();
    }

    bool stayedOpen = false;
};

TEST_F(Logo, TheDialogIsCreatedAfterTheOperatorDialogAndShowsItsCaptionsAndLimits) {
    ASSERT_NE(LogoDlg, nullptr);
    EXPECT_EQ(LogoDlg->parent(), Form1);
    EXPECT_GT(Form1->children().indexOf(LogoDlg), Form1->children().indexOf(OperatorDlg));
    TLogoDlg& dlg = *LogoDlg;
    EXPECT_EQ(dlg.windowTitle(), "Graphics Logo");
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());
    EXPECT_EQ(dlg.Label1->text(), "Password:");
    EXPECT_EQ(dlg.LoadBt->text(), "Load Logo");
    EXPECT_EQ(dlg.EnableBt->text(), "Enable Logo");
    EXPECT_EQ(dlg.DisableBt->text(), "Disable Logo");
    for (const char* name : {"Label1", "PwdBox", "LoadBt", "EnableBt", "DisableBt", "LogoBar"})
        EXPECT_NE(dlg.findChild<QWidget*>(name), nullptr) << name;
    dlg.PwdBox->clear();
    for (const char* digit : {"1", "2", "3", "4", "5", "6", "7", "8", "9"}) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_1 + (digit[0] - '1'), Qt::NoModifier, QString::fromLatin1(digit));
        QCoreApplication::sendEvent(dlg.PwdBox, &key);
    }
    EXPECT_EQ(dlg.PwdBox->text(), "12345678");  // typing stops at 8
    EXPECT_EQ(dlg.PwdBox->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dlg.PwdBox->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, dlg.PwdBox), '*');
    EXPECT_EQ(dlg.LogoBar->minimum(), 0);
    EXPECT_EQ(dlg.LogoBar->maximum(), 96);
    EXPECT_EQ(dlg.LogoBar->value(), 0);

    // Vextora shows it where it stands; Enter presses Load Logo.
    const QPoint before = dlg.pos();
    WithDialog([&] {
        EXPECT_TRUE(dlg.LoadBt->isDefault());
        script.PickNextFile(std::nullopt);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(dlg.PwdBox, &enter);
    });
    ASSERT_EQ(script.modals.size(), 1u);
    EXPECT_EQ(script.modals[0].pos, before);
    ASSERT_EQ(script.files.size(), 1u);  // Enter in the password went to LoadBt
    EXPECT_EQ(script.files[0].filter, "Bitmap files (*.bmp)|*.BMP");
    EXPECT_EQ(Form1->OpenPictDlg.DefaultExt, "BMP");
    EXPECT_EQ(Form1->OpenPictDlg.InitialDir, ".");
    EXPECT_EQ(Form1->OpenPictDlg.FilterIndex, 0);
    EXPECT_TRUE(TakeRequests().empty());
    EXPECT_TRUE(stayedOpen);
}

TEST_F(Logo, AnUploadSendsTheRowsInOrderSwitchesTheLogoOnAndPrintsItOnTheNextReceipt) {
    const QString file = Bitmap(Corner());
    WatchPauses();
    std::vector<bool> lockedDuringUpload;
    AtRow(10, [&] { lockedDuringUpload.push_back(!LogoDlg->LoadBt->isEnabled() && !LogoDlg->EnableBt->isEnabled() &&
                                                 !LogoDlg->DisableBt->isEnabled()); });
    Upload(file);
    EXPECT_TRUE(script.messages.empty());
    EXPECT_FALSE(stayedOpen);
    EXPECT_EQ(lockedDuringUpload, std::vector<bool>{true});
    EXPECT_TRUE(SwitchesEnabled());
    EXPECT_EQ(LogoDlg->LogoBar->value(), 96);

    // Each row answered, then a pause of 2 ms before the next.
    const std::vector<Sent> sent = TakeRequestsWithPauses();
    ASSERT_EQ(sent.size(), 2 * 96 + 1u);
    for (int row = 0; row < 96; ++row) {
        const auto& [cmd, data] = sent[static_cast<std::size_t>(2 * row)];
        EXPECT_EQ(sent[static_cast<std::size_t>(2 * row + 1)], Sent(Pause, "2"));
        EXPECT_EQ(cmd, qmr::LoadLogoRow);
        const std::string head = "4826," + std::to_string(row) + ",";
        if (row < 56) EXPECT_EQ(data, head + "00");
        else if (row == 56) EXPECT_EQ(data, head + std::string(24, 'F'));
        else EXPECT_EQ(data, head + "80" + std::string(22, '0'));
    }
    EXPECT_EQ(sent.back(), Sent(qmr::ConfigureReceiptLayout, "L1"));

    SelectArticle15();
    Sell("1");
    WithPrinter([](qmrsim::Printer& p) {
        const auto receipt = std::find(p.paper.begin(), p.paper.end(), "FISCAL RECEIPT");
        ASSERT_EQ(receipt - p.paper.begin(), 40);
        EXPECT_EQ(p.paper[0], std::string(96, '#'));
        for (int line = 1; line < 40; ++line) EXPECT_EQ(p.paper[static_cast<std::size_t>(line)], "#") << line;
    });
}

TEST_F(Logo, ACancelledFileDialogSendsNothingAndLeavesTheDialogAsItWas) {
    LogoDlg->LogoBar->setValue(40);
    WithDialog([&] {
        script.PickNextFile(std::nullopt);
        LogoDlg->LoadBt->click();
    });
    EXPECT_TRUE(TakeRequests().empty());
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(SwitchesEnabled());
    EXPECT_EQ(LogoDlg->LogoBar->value(), 40);
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(Logo, AFileThatIsNoBitmapIsRefusedWithAMessageAndNothingIsSent) {
    QImage picture = Corner();
    const QString png = files.filePath("picture.bmp");
    ASSERT_TRUE(picture.save(png, "PNG"));
    // Files cut short: 24 bits a pixel after its first 8 pixel bytes, and one
    // bit a pixel with 10 of its 40 rows.
    const QByteArray colour = ReadFile(Bitmap(Corner(), "colour.bmp"));
    const QByteArray mono = ReadFile(Bitmap(Corner().convertToFormat(QImage::Format_Mono), "mono.bmp"));
    ASSERT_EQ(mono.mid(28, 2), QByteArray("\x01\x00", 2));
    const QString cutColour = WriteFile("cut-colour.bmp", colour.left(54 + 8));
    const QString cutMono = WriteFile("cut-mono.bmp", mono.left(62 + 10 * 16));
    for (const QString& file : {WriteFile("notes.bmp", "not a picture\n"), png, WriteFile("empty.bmp", ""), cutColour, cutMono}) {
        SCOPED_TRACE(file.toStdString());
        script.messages.clear();
        Upload(file);
        EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Can't read bitmap file"});
        EXPECT_EQ(script.messages[0].caption, "Error");
        EXPECT_TRUE(TakeRequests().empty());  // no row, and no "L1" for the printer's old logo
        EXPECT_TRUE(stayedOpen);
        EXPECT_TRUE(SwitchesEnabled());
    }
}

TEST_F(Logo, NoReplyToRow30StopsTheUploadThereAndTheDialogStaysOpen) {
    const QString file = Bitmap(Corner());
    AtRow(30, [&] {
        sim.InjectFault(qmrsim::Fault::Silence, 4);
        clock.racing = true;
    });
    Upload(file);
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"No printer response"});
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(SwitchesEnabled());
    EXPECT_EQ(LogoDlg->LogoBar->value(), 30);
    const std::vector<Sent> sent = TakeRequests();
    ASSERT_EQ(sent.size(), 34u);  // rows 0 to 30, row 30 tried four times
    for (std::size_t i = 30; i < 34; ++i) EXPECT_EQ(sent[i], Sent(qmr::LoadLogoRow, "4826,30,00"));

    // The next showing still has the password and the progress.
    clock.racing = false;
    LogoDlg->PwdBox->setText("1");
    WithDialog([&] {
        EXPECT_EQ(LogoDlg->PwdBox->text(), "1");
        EXPECT_EQ(LogoDlg->LogoBar->value(), 30);
    });
}

TEST_F(Logo, ARefusedRowShowsTheStatusDialogAndTheUploadGoesOn) {
    const QString file = Bitmap(Corner());
    // Every row's text takes the password as it is at that moment.
    AtRow(60, [&] { LogoDlg->PwdBox->setText("0000"); });
    WithDialog([&] {
        script.OnNextModal([&](QDialog& form) {
            auto& status = dynamic_cast<qmr::ui::TStatusDlg&>(form);
            EXPECT_TRUE(status.Status11->isChecked());  // not permitted: the wrong password
            LogoDlg->PwdBox->setText("4826");
            status.OkBt->click();
        });
        script.PickNextFile(file);
        LogoDlg->LoadBt->click();
    });
    ASSERT_EQ(script.modals.size(), 2u);
    EXPECT_EQ(script.modals[1].objectName, "StatusDlg");
    EXPECT_FALSE(stayedOpen);
    EXPECT_EQ(LogoDlg->LogoBar->value(), 96);
    const std::vector<Sent> sent = TakeRequests();
    ASSERT_EQ(sent.size(), 97u);
    EXPECT_EQ(sent[60].second, "0000,60,80" + std::string(22, '0'));
    EXPECT_EQ(sent[61].second, "4826,61,80" + std::string(22, '0'));
    EXPECT_EQ(sent.back(), Sent(qmr::ConfigureReceiptLayout, "L1"));
    WithPrinter([](qmrsim::Printer& p) {
        EXPECT_EQ(p.logo.rows[60][0], 0x00);  // refused
        EXPECT_EQ(p.logo.rows[61][0], 0x80);
    });
}

TEST_F(Logo, TheSwitchesSendTheirFormAndCloseWhateverTheResult) {
    WithDialog([&] { LogoDlg->DisableBt->click(); });
    EXPECT_FALSE(stayedOpen);
    WithDialog([&] { LogoDlg->EnableBt->click(); });
    EXPECT_FALSE(stayedOpen);
    EXPECT_EQ(TakeRequests(),
              (std::vector<Sent>{{qmr::ConfigureReceiptLayout, "L0"}, {qmr::ConfigureReceiptLayout, "L1"}}));
    WithPrinter([](qmrsim::Printer& p) { EXPECT_TRUE(p.logo.printing); });

    Form1->ConnectBt->click();  // disconnected
    WithDialog([&] { LogoDlg->DisableBt->click(); });
    EXPECT_FALSE(stayedOpen);
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Serial port not open"});
}

TEST_F(Logo, WithThePortClosedTheFirstRowStopsTheUpload) {
    const QString file = Bitmap(Corner());
    Form1->ConnectBt->click();
    Upload(file);
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Serial port not open"});
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(LogoDlg->LogoBar->value(), 0);
    EXPECT_TRUE(TakeRequests().empty());
}

}  // namespace
}  // namespace vextora
