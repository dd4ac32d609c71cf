#include "THeaderDlg.h"

#include "Commands.h"
#include "Cp1251.h"
#include "Executor.h"
#include "Prendix.h"
#include "SafeSave.h"
#include "Seam.h"

namespace prendix {

using qmr::ui::Make;

HeaderSlots HeaderLines;

namespace {

const char* const HeaderFilter = "Fiscal printer headers (*.fph)|*.FPH";

void PrepareHeaderDialog(qmr::ui::FileDialog& dialog) {
    dialog.DefaultExt = "FPH";
    dialog.FileName.clear();
    dialog.Filter = HeaderFilter;
    dialog.FilterIndex = 0;
}

std::vector<std::string> Cp1251Lines(const QPlainTextEdit& memo) {
    std::vector<std::string> lines;
    for (const QString& line : MemoLines(memo)) lines.push_back(qmr::ToCp1251(line));
    return lines;
}

// Line n of the eight, as the memos hold it; nothing when it does not exist.
std::optional<std::string> SlotLine(const std::vector<std::string>& header, const std::vector<std::string>& footer,
                                    int n) {
    const auto& lines = n < HeaderOnlyLines ? header : footer;
    const std::size_t index = static_cast<std::size_t>(n < HeaderOnlyLines ? n : n - HeaderOnlyLines);
    if (index >= lines.size()) return std::nullopt;
    return lines[index];
}

QString LineName(int n) {
    return n < HeaderOnlyLines ? QStringLiteral("Header line %1").arg(n + 1)
                               : QStringLiteral("Footer line %1").arg(n - HeaderOnlyLines + 1);
}

}  // namespace

QStringList MemoLines(const QPlainTextEdit& memo) {
    QStringList lines = qmr::ui::PlainTextOf(memo).split('\n');
    if (lines.back().isEmpty()) lines.removeLast();
    return lines;
}

void AddMemoLine(QPlainTextEdit& memo, const QString& line) {
    QString whole = line;
    whole.removeIf([](QChar c) {
        return c == '\r' || c == '\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
    });
    memo.setPlainText(qmr::ui::PlainTextOf(memo) + whole + '\n');
}

THeaderDlg::THeaderDlg(QWidget* parent) : Form(parent, "HeaderDlg", "Set Header and Footer", 449, 262) {
    Label1 = Make<QLabel>(this, "Label1", 10, 6, 100, 18, QStringLiteral("Header:"));
    HeaderData = Make<qmr::ui::PlainTextEdit>(this, "HeaderData", 10, 24, 320, 128);
    Label2 = Make<QLabel>(this, "Label2", 10, 158, 100, 18, QStringLiteral("Footer:"));
    FooterData = Make<qmr::ui::PlainTextEdit>(this, "FooterData", 10, 176, 320, 76);
    for (QPlainTextEdit* memo : {HeaderData, FooterData}) {
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        memo->setTabChangesFocus(true);
    }
    ReadBt = Make<QPushButton>(this, "ReadBt", 340, 24, 100, 28, QStringLiteral("Read"));
    OkBt = Make<QPushButton>(this, "OkBt", 340, 60, 100, 28, QStringLiteral("Write"));
    SaveBt = Make<QPushButton>(this, "SaveBt", 340, 176, 100, 28, QStringLiteral("Write to file"));
    GetFileBt = Make<QPushButton>(this, "GetFileBt", 340, 212, 100, 28, QStringLiteral("Read from file"));
    SetDefaultButton(OkBt);

    connect(this, &Form::Shown, this, &THeaderDlg::FormShow);
    connect(this, &QDialog::finished, this, &THeaderDlg::FormClose);
    connect(OkBt, &QPushButton::clicked, this, &THeaderDlg::OkBtClick);
    connect(ReadBt, &QPushButton::clicked, this, &THeaderDlg::ReadBtClick);
    connect(SaveBt, &QPushButton::clicked, this, &THeaderDlg::SaveBtClick);
    connect(GetFileBt, &QPushButton::clicked, this, &THeaderDlg::GetFileBtClick);
}

void THeaderDlg::ShowSlots(const HeaderSlots& lines) {
    HeaderData->clear();
    FooterData->clear();
    for (int n = 0; n < HeaderLineCount; ++n)
        AddMemoLine(n < HeaderOnlyLines ? *HeaderData : *FooterData, qmr::FromCp1251(lines[static_cast<std::size_t>(n)]));
}

void THeaderDlg::FormShow() { ShowSlots(HeaderLines); }

void THeaderDlg::OkBtClick() {
    const auto header = Cp1251Lines(*HeaderData);
    const auto footer = Cp1251Lines(*FooterData);
    std::array<std::string, HeaderLineCount> data;
    // Every line is checked before the first is sent: a printer left with
    // half of the new lines would print a mixed header.
    for (int n = 0; n < HeaderLineCount; ++n) {
        const auto line = SlotLine(header, footer, n);
        if (line && line->size() > MaxHeaderText) {
            qmr::ui::MessageBox(LineName(n) + QStringLiteral(" is longer than %1 characters").arg(MaxHeaderText),
                                "Error", qmr::MbOk);
            return;
        }
        data[static_cast<std::size_t>(n)] = HeaderWriteData(n, line ? &*line : nullptr);
    }
    for (const std::string& text : data) {
        if (qmr::ExecFatal(qmr::ConfigureReceiptLayout, text)) return;
    }
    close();
}

void THeaderDlg::ReadBtClick() {
    HeaderData->clear();
    FooterData->clear();
    for (int n = 0; n < HeaderLineCount; ++n) {
        if (qmr::ExecRefused(qmr::ConfigureReceiptLayout, "I" + std::to_string(n))) return;
        const std::string reply = qmr::Link().ReplyText();
        if (!reply.empty()) AddMemoLine(n < HeaderOnlyLines ? *HeaderData : *FooterData, qmr::FromCp1251(reply));
    }
}

void THeaderDlg::SaveBtClick() {
    qmr::ui::FileDialog& dialog = InitFP->SaveFileDlg;
    PrepareHeaderDialog(dialog);
    if (!dialog.Execute()) return;
    qmr::ui::MessageBox(dialog.FileName, "Aaa", qmr::MbOk);
    if (!qmr::WriteFileSafely(dialog.FileName, FormatHeaderFile(Cp1251Lines(*HeaderData), Cp1251Lines(*FooterData))))
        qmr::ui::MessageBox("Can't write file", "Error", qmr::MbOk);
}

void THeaderDlg::GetFileBtClick() {
    qmr::ui::FileDialog& dialog = InitFP->OpenFileDlg;
    PrepareHeaderDialog(dialog);
    if (!dialog.Execute()) return;
    const auto file = qmr::ReadWholeFile(dialog.FileName);
    if (!file) return;
    ShowSlots(ParseHeaderFile(*file));
}

void THeaderDlg::FormClose() {
    const auto header = Cp1251Lines(*HeaderData);
    const auto footer = Cp1251Lines(*FooterData);
    for (int n = 0; n < HeaderLineCount; ++n)
        HeaderLines[static_cast<std::size_t>(n)] = SlotLine(header, footer, n).value_or(std::string());
}

}  // namespace prendix
