#include "Edits.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QValidator>

namespace qmr::ui {

namespace {

// Refuses an edit that makes the text longer than the limit. Qt asks the
// validator about the user's edits only, never about setText.
class TypingLimit : public QValidator {
public:
    TypingLimit(int maxLength, QObject* parent) : QValidator(parent), maxLength_(maxLength) {}
    State validate(QString& input, int&) const override { return input.size() > maxLength_ ? Invalid : Acceptable; }

private:
    int maxLength_;
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

}  // namespace

void LimitTyping(QLineEdit& edit, int maxLength) { edit.setValidator(new TypingLimit(maxLength, &edit)); }

void MakePasswordEdit(QLineEdit& edit) {
    edit.setEchoMode(QLineEdit::Password);
    edit.setStyle(PasswordStyle());
}

}  // namespace qmr::ui
