#include "TSetTimeDlg.h"

#include "Commands.h"
#include "Cp1251.h"
#include "Executor.h"
#include "LinkState.h"
#include "PcClock.h"
#include "ReportTexts.h"
#include "ServiceTexts.h"

namespace prendix {

using qmr::ui::Make;

TSetTimeDlg::TSetTimeDlg(QWidget* parent) : Form(parent, "SetTimeDlg", "Set date and time", 311, 135) {
    Label1 = Make<QLabel>(this, "Label1", 16, 16, 40, 24, QStringLiteral("Date:"));
    DateBox = Make<QLineEdit>(this, "DateBox", 60, 16, 100, 24);
    Label2 = Make<QLabel>(this, "Label2", 16, 52, 40, 24, QStringLiteral("Time:"));
    TimeBox = Make<QLineEdit>(this, "TimeBox", 60, 52, 100, 24);
    FromPcBt = Make<QPushButton>(this, "FromPcBt", 180, 14, 115, 28, QStringLiteral("From computer"));
    FromPrinterBt = Make<QPushButton>(this, "FromPrinterBt", 180, 50, 115, 28, QStringLiteral("From printer"));
    OkBt = Make<QPushButton>(this, "OkBt", 118, 96, 75, 28, QStringLiteral("Set"));
    SetDefaultButton(OkBt);
    setTabOrder(OkBt, DateBox);
    setTabOrder(DateBox, TimeBox);
    setTabOrder(TimeBox, FromPrinterBt);
    setTabOrder(FromPrinterBt, FromPcBt);
    connect(FromPcBt, &QPushButton::clicked, this, &TSetTimeDlg::FromPcBtClick);
    connect(FromPrinterBt, &QPushButton::clicked, this, &TSetTimeDlg::FromPrinterBtClick);
    connect(OkBt, &QPushButton::clicked, this, &TSetTimeDlg::OkBtClick);
    connect(this, &Form::Shown, this, &TSetTimeDlg::FromPcBtClick);
    connect(this, &Form::Shown, this, [this] { OkBt->setFocus(); });
}

void TSetTimeDlg::FromPcBtClick() {
    // One reading, so that date and time belong to the same moment.
    const QDateTime now = PcNow();
    const LocalDateTime local{static_cast<unsigned>(now.date().day()),    static_cast<unsigned>(now.date().month()),
                              static_cast<unsigned>(now.date().year()),   static_cast<unsigned>(now.time().hour()),
                              static_cast<unsigned>(now.time().minute()), static_cast<unsigned>(now.time().second())};
    DateBox->setText(QString::fromStdString(DateText(now.date().day(), now.date().month(), now.date().year())));
    TimeBox->setText(QString::fromStdString(TimeText(local)));
}

void TSetTimeDlg::FromPrinterBtClick() {
    qmr::ExecCommand(qmr::ReadDateTime, "");
    // Whenever the printer answered the command: its answer does not depend
    // on the tax settings.
    if (qmr::Refused()) return;
    const ClockFields fields = SplitClockReply(qmr::Link().ReplyText());
    DateBox->setText(qmr::FromCp1251(fields.date));
    TimeBox->setText(qmr::FromCp1251(fields.time));
}

void TSetTimeDlg::OkBtClick() {
    qmr::ExecCommand(qmr::SetDateTime, qmr::ToCp1251(DateBox->text()) + " " + qmr::ToCp1251(TimeBox->text()));
    close();
}

}  // namespace prendix
