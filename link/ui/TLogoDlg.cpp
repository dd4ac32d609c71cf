#include "TLogoDlg.h"

#include "Commands.h"
#include "Cp1251.h"
#include "Edits.h"
#include "Executor.h"
#include "LogoRows.h"

namespace qmr::ui {

namespace {

constexpr int RowPauseMs = 2;

// The buttons that start an exchange stay locked while an upload runs: the
// line carries one exchange at a time.
class UploadLock {
public:
    explicit UploadLock(TLogoDlg& dlg) : dlg_(dlg) { Enable(false); }
    ~UploadLock() { Enable(true); }
    UploadLock(const UploadLock&) = delete;
    UploadLock& operator=(const UploadLock&) = delete;

private:
    void Enable(bool on) {
        for (QPushButton* button : {dlg_.LoadBt, dlg_.EnableBt, dlg_.DisableBt}) button->setEnabled(on);
    }
    TLogoDlg& dlg_;
};

void Pause(int ms) {
    if (Env().clock) Env().clock->SleepMs(ms);
}

}  // namespace

TLogoDlg::TLogoDlg(FileDialog& openPictDlg, QWidget* parent)
    : Form(parent, "LogoDlg", QStringLiteral("Graphics Logo"), 300, 128), openPictDlg_(openPictDlg) {
    Label1 = Make<QLabel>(this, "Label1", 16, 16, 70, 24, QStringLiteral("Password:"));
    PwdBox = Make<QLineEdit>(this, "PwdBox", 90, 16, 100, 24);
    LimitTyping(*PwdBox, 8);
    MakePasswordEdit(*PwdBox);
    LoadBt = Make<QPushButton>(this, "LoadBt", 200, 14, 88, 28, QStringLiteral("Load Logo"));
    EnableBt = Make<QPushButton>(this, "EnableBt", 16, 52, 130, 28, QStringLiteral("Enable Logo"));
    DisableBt = Make<QPushButton>(this, "DisableBt", 158, 52, 130, 28, QStringLiteral("Disable Logo"));
    LogoBar = Make<QProgressBar>(this, "LogoBar", 16, 92, 272, 20);
    LogoBar->setRange(0, LogoRows);
    LogoBar->setValue(0);
    SetDefaultButton(LoadBt);
    setTabOrder(PwdBox, LoadBt);
    connect(LoadBt, &QPushButton::clicked, this, &TLogoDlg::LoadBtClick);
    connect(EnableBt, &QPushButton::clicked, this, &TLogoDlg::EnableBtClick);
    connect(DisableBt, &QPushButton::clicked, this, &TLogoDlg::DisableBtClick);
}

void TLogoDlg::LoadBtClick() {
    FileDialog& dlg = openPictDlg_;
    dlg.DefaultExt = QStringLiteral("BMP");
    dlg.FileName.clear();
    dlg.Filter = QStringLiteral("Bitmap files (*.bmp)|*.BMP");
    dlg.FilterIndex = 0;
    if (!dlg.Execute()) return;

    LogoBar->setValue(0);
    std::optional<LogoBitmap> logo = ReadLogoBitmap(dlg.FileName);
    if (!logo) {
        // Switching the logo on now would print whatever logo the printer had.
        MessageBox(QStringLiteral("Can't read bitmap file"), QStringLiteral("Error"), MbOk);
        return;
    }
    {
        const UploadLock lock(*this);
        for (int row = 0; row < LogoRows; ++row) {
            if (ExecFatal(LoadLogoRow, LogoRowText(*logo, row, ToCp1251(PwdBox->text())))) return;
            LogoBar->setValue(row + 1);
            Pause(RowPauseMs);
        }
        logo.reset();
        ExecCommand(ConfigureReceiptLayout, "L1");
    }
    close();
}

void TLogoDlg::EnableBtClick() {
    ExecCommand(ConfigureReceiptLayout, "L1");
    close();
}

void TLogoDlg::DisableBtClick() {
    ExecCommand(ConfigureReceiptLayout, "L0");
    close();
}

}  // namespace qmr::ui
