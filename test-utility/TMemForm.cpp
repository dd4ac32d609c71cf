#include "TMemForm.h"

#include <QFileInfo>
#include <QVBoxLayout>
#include <algorithm>
#include <string_view>

#include "Commands.h"
#include "Cp1251.h"
#include "Executor.h"
#include "MemoryDump.h"
#include "SafeSave.h"
#include "TForm1.h"

namespace vextora {

std::uint8_t DumpKind = FiscalMemoryDump;
std::vector<std::uint8_t> DumpBuffer;
int DumpLength = 0;
bool DumpStopFlag = false;

using qmr::ui::Make;

namespace {

constexpr int ClientWidth = 738;
constexpr int ClientHeight = 474;
constexpr int PanelHeight = 354;
constexpr int RedrawMs = 200;

}  // namespace

TMemForm::TMemForm(QWidget* parent) : Form(parent, "MemForm", QStringLiteral("Read Flash"), ClientWidth, ClientHeight) {
    // Unlike the other dialogs this one can be sized.
    setMinimumSize(192 - 8, 256 - 34);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(ClientWidth, ClientHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(PanelHeight);
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(3, 3, 3, 3);
    FlashData = new qmr::ui::PlainTextEdit(Panel1);
    FlashData->setObjectName(QStringLiteral("FlashData"));
    FlashData->setReadOnly(true);
    FlashData->setLineWrapMode(QPlainTextEdit::NoWrap);
    FlashData->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    FlashData->setUndoRedoEnabled(false);
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::Monospace);
    courier.setPixelSize(12);
    FlashData->setFont(courier);
    panelLayout->addWidget(FlashData);
    layout->addWidget(Panel1);

    auto* bottom = new QWidget(this);
    ReadBt = Make<QPushButton>(bottom, "ReadBt", 16, 24, 75, 25, QStringLiteral("Read"));
    CancelBt = Make<QPushButton>(bottom, "CancelBt", 104, 24, 75, 25, QStringLiteral("Cancel"));
    SaveBt = Make<QPushButton>(bottom, "SaveBt", 192, 24, 75, 25, QStringLiteral("Save"));
    SaveBt->setEnabled(false);
    PrgBar = Make<QProgressBar>(bottom, "PrgBar", 288, 28, 433, 17);
    PrgBar->setRange(0, 255);
    PrgBar->setTextVisible(false);
    layout->addWidget(bottom, 1);

    SaveDlg.kind = qmr::ui::FileDialog::Kind::Save;
    SaveDlg.Title = QStringLiteral("Save Fiscal Printer Data");
    SaveDlg.Filter = QStringLiteral("Binary files|*.bin|All files|*.*");
    SaveDlg.FilterIndex = 1;
    SaveDlg.DefaultExt = QStringLiteral("BIN");

    connect(this, &Form::Shown, this, &TMemForm::FormShow);
    connect(ReadBt, &QPushButton::clicked, this, &TMemForm::ReadBtClick);
    connect(CancelBt, &QPushButton::clicked, this, &TMemForm::CancelBtClick);
    connect(SaveBt, &QPushButton::clicked, this, &TMemForm::SaveBtClick);
    // The listing takes its lines a few times a second rather than for every
    // block: nobody reads a listing that scrolls by at the line's pace, and
    // laying out and painting it cost more than a block's exchange, over a
    // millisecond a paint. The bar shows the progress between two beats.
    listingBeat_.setInterval(RedrawMs);
    connect(&listingBeat_, &QTimer::timeout, this, &TMemForm::ShowPendingLines);
    // Closing the window during a read stops it as Cancel does; the showing
    // ends once the read has returned.
    connect(this, &QDialog::finished, this, [] { DumpStopFlag = true; });
}

void TMemForm::FormShow() {
    SaveBt->setEnabled(false);
    CancelBt->setEnabled(false);
    ReadBt->setEnabled(true);
    FlashData->clear();
    qmr::ui::CentreOnScreen(*this);
}

void TMemForm::ReadBtClick() {
    const LongFlow flow;
    if (!flow) return;
    const DumpMemory& memory = DumpMemoryOf(DumpKind);
    PrgBar->setValue(0);
    FlashData->clear();
    SaveBt->setEnabled(false);
    CancelBt->setEnabled(false);
    ReadBt->setEnabled(false);
    if (qmr::ExecRefused(qmr::ReadStatus)) return;
    if (qmr::ExecRefused(qmr::ReadStatus)) return;

    FlashData->clear();
    CancelBt->setEnabled(true);
    DumpStopFlag = false;
    DumpLength = 0;
    // Never past the buffer the menu handler made, whatever its size.
    const int blocks = std::min<int>(memory.blocks, static_cast<int>(DumpBuffer.size() / DumpMemory::BlockBytes));
    pendingLines_.clear();
    listingBeat_.start();
    for (int j = 0; j < blocks; ++j) {
        if (DumpStopFlag) break;
        qmr::ExecCommand(memory.command, BlockRequestData(j));
        PumpWindowEvents();
        if (qmr::Refused()) break;

        const std::string reply = qmr::Link().ReplyText();
        std::uint8_t bytes[DumpMemory::BlockBytes];
        DecodeBlock(reply, bytes);
        std::copy(std::begin(bytes), std::end(bytes), DumpBuffer.begin() + DumpLength);
        DumpLength += static_cast<int>(DumpMemory::BlockBytes);

        if (!pendingLines_.empty()) pendingLines_ += '\n';
        pendingLines_ += FormatDumpBlock(static_cast<std::size_t>(j) * DumpMemory::BlockBytes, reply, bytes);
        PrgBar->setValue(j / memory.progressDivisor);
    }
    listingBeat_.stop();
    ShowPendingLines();
    SaveBt->setEnabled(true);
    CancelBt->setEnabled(false);
    ReadBt->setEnabled(true);
}

// Runs on the beat, mostly from the link's pumps while a block's reply is
// still on the line, so the listing's layout and paint share the time the
// line takes rather than add to it between two blocks.
void TMemForm::ShowPendingLines() {
    if (pendingLines_.empty()) return;
    FlashData->appendPlainText(qmr::FromCp1251(pendingLines_));
    pendingLines_.clear();
}

void TMemForm::CancelBtClick() { DumpStopFlag = true; }

void TMemForm::SaveBtClick() {
    if (!SaveDlg.Execute()) return;
    const QString path = SaveDlg.FileName;
    if (QFileInfo::exists(path) &&
        qmr::ui::MessageBox(QStringLiteral("File exists. Overwrite?"), QStringLiteral("Warning"), qmr::MbYesNo) != qmr::IdYes)
        return;
    const auto length = static_cast<std::size_t>(std::clamp<int>(DumpLength, 0, static_cast<int>(DumpBuffer.size())));
    // The old file stays as it was unless the dump was written whole.
    if (!qmr::WriteFileSafely(path, std::string_view(reinterpret_cast<const char*>(DumpBuffer.data()), length)))
        qmr::ui::MessageBox(QStringLiteral("Can't write file"), QStringLiteral("Error"), qmr::MbOk);
}

}  // namespace vextora
