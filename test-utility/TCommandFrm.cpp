#include "TCommandFrm.h"

#include <algorithm>

#include "Console.h"
#include "Cp1251.h"
#include "Executor.h"
#include "Seam.h"
#include "Vextora.h"

namespace vextora {

using qmr::ui::Make;
using qmr::ui::MakeLabel;
using qmr::ui::RowHeight;

namespace {

constexpr int ClientWidth = 438;
// The most data bytes a reply frame carries.
constexpr int LongestReply = 212;

// The captions stand right-aligned against their fields.
constexpr Qt::Alignment CaptionAlignment = Qt::AlignRight | Qt::AlignVCenter;

}  // namespace

TCommandFrm::TCommandFrm(QWidget* parent) : Form(parent, "CommandFrm", "Execute a command", ClientWidth, 117) {
    Label1 = MakeLabel(this, "Label1", "Command:", 2, 8, 70, CaptionAlignment);
    CmdBox = Make<QLineEdit>(this, "CmdBox", 76, 8, 56, RowHeight);
    Label2 = MakeLabel(this, "Label2", "Data:", 136, 8, 40, CaptionAlignment);
    DataBox = Make<QLineEdit>(this, "DataBox", 180, 8, 250, RowHeight);
    Label3 = MakeLabel(this, "Label3", "Answer:", 2, 40, 70, CaptionAlignment);
    AnswerBox = Make<WrappingEdit>(this, "AnswerBox", 76, 40, 354, RowHeight);
    // The answer is as tall as the longest reply needs, and what stands
    // below it moves down with it.
    AnswerBox->setFixedHeight(std::max(RowHeight, AnswerBox->HeightFor(LongestReply, AnswerBox->width())));
    const int below = AnswerBox->height() - RowHeight;
    setFixedSize(ClientWidth, 117 + below);
    Label4 = MakeLabel(this, "Label4", "Status:", 2, 74 + below, 70, CaptionAlignment);
    StatusTxt = Make<QLabel>(this, "StatusTxt", 76, 74 + below, 170, RowHeight);
    StatusTxt->setFont(QFont(QStringLiteral("Monospace")));
    StatusTxt->setFrameShape(QFrame::StyledPanel);
    ExecuteBt = Make<QPushButton>(this, "ExecuteBt", 266, 72 + below, 78, 28, QStringLiteral("Execute"));
    StatusBt = Make<QPushButton>(this, "StatusBt", 352, 72 + below, 78, 28, QStringLiteral("Status"));
    SetDefaultButton(ExecuteBt);
    connect(ExecuteBt, &QPushButton::clicked, this, &TCommandFrm::ExecuteBtClick);
    connect(StatusBt, &QPushButton::clicked, this, &TCommandFrm::StatusBtClick);
    connect(this, &Form::Shown, this, &TCommandFrm::FormShow);
}

void TCommandFrm::FormShow() { StatusBt->setEnabled(false); }

void TCommandFrm::ExecuteBtClick() {
    const int command = ReadCommandNumber(qmr::ToCp1251(CmdBox->text()));
    if (!IsConsoleCommand(command)) {
        qmr::ui::MessageBox(QStringLiteral("Command number out of range"), QStringLiteral("Error"), qmr::MbOk);
        return;
    }
    AnswerBox->clear();
    ExecuteBt->setEnabled(false);
    StatusBt->setEnabled(false);
    StatusTxt->clear();
    // The whole text goes to the link, which refuses what a frame cannot carry.
    const std::string data = UnescapeConsoleData(qmr::ToCp1251(DataBox->text()));

    qmr::LinkState& link = qmr::Link();
    qmr::ExecCommandQuietly(command, data);

    AnswerBox->setText(qmr::FromCp1251(link.ReplyText()));
    StatusTxt->setText(QString::fromStdString(StatusText(link.StatusBytes)));
    ExecuteBt->setEnabled(true);
    // The status dialog only for a reply that came through the link.
    if (!qmr::LinkFailed()) StatusBt->setEnabled(true);
}

void TCommandFrm::StatusBtClick() {
    if (StatusDlg) qmr::ui::ShowModal(*StatusDlg);
}

}  // namespace vextora
