#include "Edits.h"

#include <QApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QProxyStyle>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QValidator>

namespace qmr::ui {

namespace {

// Refuses a typed or pasted edit that makes the text longer than the limit.
// Qt asks the validator about the user's edits only, never about setText; a
// longer text the program set may still be shortened by hand.
class TypingLimit final : public QValidator {
public:
    TypingLimit(QLineEdit& edit, int limit) : QValidator(&edit), edit_(edit), limit_(limit) {
        lastLength_ = edit.text().size();
        connect(&edit, &QLineEdit::textChanged, this, [this](const QString& text) { lastLength_ = text.size(); });
    }
    int Limit() const { return limit_; }

    State validate(QString& input, int&) const override {
        if (input.size() <= limit_ || !edit_.isModified() || input.size() < lastLength_) return Acceptable;
        return Invalid;
    }

private:
    QLineEdit& edit_;
    int limit_;
    qsizetype lastLength_ = 0;
};

class StarPasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '*';
        if (hint == SH_LineEdit_PasswordMaskDelay) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle* PasswordStyle() {
    // One for the program, owned by the application; a style set on a widget
    // is not owned by it.
    static QPointer<QStyle> style;
    if (!style) {
        style = new StarPasswordStyle;
        style->setParent(qApp);
    }
    return style;
}

// A document's raw text holds its line ends as paragraph separators, and a
// line break typed with Shift+Enter as a line separator: both end a line
// the user sees.
QString WithLineFeeds(QString raw) {
    raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    raw.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return raw;
}

}  // namespace

void LimitTyping(QLineEdit& edit, int maxLength) {
    delete edit.validator();
    edit.setValidator(maxLength > 0 ? new TypingLimit(edit, maxLength) : nullptr);
}

int MaxLengthOf(const QLineEdit& edit) {
    const auto* limit = dynamic_cast<const TypingLimit*>(edit.validator());
    return limit ? limit->Limit() : 0;
}

void MakePasswordEdit(QLineEdit& edit) {
    edit.setEchoMode(QLineEdit::Password);
    edit.setStyle(PasswordStyle());
}

QString PlainTextOf(const QPlainTextEdit& edit) { return WithLineFeeds(edit.document()->toRawText()); }

PlainTextEdit::PlainTextEdit(QWidget* parent) : QPlainTextEdit(parent) {}

QMimeData* PlainTextEdit::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    data->setText(WithLineFeeds(textCursor().selection().toRawText()));
    return data;
}

}  // namespace qmr::ui
