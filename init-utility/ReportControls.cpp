#include "ReportControls.h"

#include "Edits.h"
#include "Forms.h"

namespace prendix {

using qmr::ui::Make;

namespace {
constexpr int RowHeight = 24;
}

EditRow MakeEditRow(QWidget* form, const char* labelName, const char* caption, const char* editName, int labelX,
                    int editX, int y, int editWidth, int maxLength, const QString& text) {
    auto* label = Make<QLabel>(form, labelName, labelX, y, editX - labelX - 2, RowHeight, QString::fromLatin1(caption));
    auto* edit = Make<QLineEdit>(form, editName, editX, y, editWidth, RowHeight, text);
    qmr::ui::LimitTyping(*edit, maxLength);
    return {label, edit};
}

EditRow MakePasswordRow(QWidget* form, const char* labelName, int labelX, int editX, int y, int editWidth) {
    const EditRow row = MakeEditRow(form, labelName, "Password:", "PwdBox", labelX, editX, y, editWidth, 8);
    qmr::ui::MakePasswordEdit(*row.second);
    return row;
}

ReportKinds MakeReportKinds(QWidget* form, int x, int y, int width) {
    auto* panel = Make<QFrame>(form, "Panel1", x, y, width, 56);
    panel->setFrameShape(QFrame::StyledPanel);
    auto* shortButton =
        Make<QRadioButton>(panel, "ShortButton", 10, 4, width - 18, RowHeight, QStringLiteral("Short report"));
    auto* fullButton =
        Make<QRadioButton>(panel, "FullButton", 10, 28, width - 18, RowHeight, QStringLiteral("Detailed report"));
    shortButton->setChecked(true);
    return {panel, shortButton, fullButton};
}

}  // namespace prendix
