#include "Controls.h"

#include <QFontDatabase>
#include <algorithm>

namespace vextora {

DblClickEdit::DblClickEdit(QWidget* parent) : QLineEdit(parent) {}

void DblClickEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    QLineEdit::mouseDoubleClickEvent(event);
    emit DblClick();
}

WrappingEdit::WrappingEdit(QWidget* parent) : PlainTextEdit(parent) {
    setReadOnly(true);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A TAB in a reply takes one character's place, as any other byte does.
    setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char('0')));
}

int WrappingEdit::HeightFor(int characters, int width) const {
    const QFontMetrics metrics = fontMetrics();
    const int margins = 2 * (frameWidth() + static_cast<int>(document()->documentMargin()));
    // The text layout keeps a pixel or two for the cursor at a line's end.
    const int perLine = std::max(1, (width - margins - 4) / metrics.horizontalAdvance(QLatin1Char('0')));
    const int lines = (characters + perLine - 1) / perLine;
    return lines * metrics.lineSpacing() + margins + 2;
}

}  // namespace vextora
