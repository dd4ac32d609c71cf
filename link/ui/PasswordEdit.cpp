#include "PasswordEdit.h"

#include <QLineEdit>
#include <QProxyStyle>

namespace qmr::ui {

namespace {

// The application's style in all but the password character.
class StarPasswordStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

void ShowAsPassword(QLineEdit& edit) {
    // The edit does not own a style it is given; this one goes with it.
    auto* style = new StarPasswordStyle;
    style->setParent(&edit);
    edit.setStyle(style);
    edit.setEchoMode(QLineEdit::Password);
}

}  // namespace qmr::ui
