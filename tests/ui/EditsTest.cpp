#include <gtest/gtest.h>

#include <QLineEdit>
#include <QStyle>
#include <QApplication>
#include <QKeyEvent>

#include "Edits.h"
#include "Forms.h"
#include "Seam.h"
#include "UiTestSupport.h"

namespace {

using qmr::test::Type;

TEST(Edits, ALimitHoldsForTypingButNotForTheProgramsText) {
    QLineEdit edit;
    qmr::ui::LimitTyping(edit, 6);
    Type(edit, "1110.005");
    EXPECT_EQ(edit.text(), "1110.0");
    edit.setText("1110.00");
    EXPECT_EQ(edit.text(), "1110.00");
    edit.clear();
    Type(edit, "abc");
    EXPECT_EQ(edit.text(), "abc");
}

TEST(Edits, PasswordEditsMaskWithAStar) {
    QLineEdit edit;
    qmr::ui::MakePasswordEdit(edit);
    EXPECT_EQ(edit.echoMode(), QLineEdit::Password);
    EXPECT_EQ(edit.style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, &edit), '*');
}

TEST(Forms, TheCloseBoxEndsAModalShowingWithCancel) {
    qmr::ui::Form form(nullptr, "F", "F", 100, 50);
    form.open();
    form.reject();
    EXPECT_EQ(form.result(), qmr::ui::mrCancel);
}

}  // namespace
