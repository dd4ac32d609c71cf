#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QProxyStyle>
#include <QStyle>
#include <QPushButton>
#include <QTimer>
#include <string>
#include <vector>

#include "Forms.h"
#include "ScriptedSeam.h"
#include "Seam.h"
#include "UiTestSupport.h"

namespace {

using qmr::ui::FileDialog;
using qmr::ui::ScriptedSeam;

// A dialog with an edit, OK and Cancel, that counts its showings.
class SampleDlg : public qmr::ui::Form {
public:
    SampleDlg() : Form(nullptr, "SampleDlg", "Sample", 200, 100) {
        Edit = qmr::ui::Make<QLineEdit>(this, "Edit", 10, 10, 100, 24);
        OkBt = qmr::ui::Make<QPushButton>(this, "OkBt", 10, 60, 80, 26, QStringLiteral("OK"));
        connect(OkBt, &QPushButton::clicked, this, [this] { done(qmr::ui::mrOk); });
        connect(this, &Form::Shown, this, [this] { ++shows; });
    }
    QLineEdit* Edit;
    QPushButton* OkBt;
    int shows = 0;
};

TEST(ScriptedSeam, RecordsOkBoxesAndAnswersYesNoFromTheScript) {
    qmr::test::TestSeam script;
    script.AnswerNext(qmr::IdYes);
    script.AnswerNext(qmr::IdNo);
    EXPECT_EQ(qmr::ui::MessageBox("Serial port not open", "Error"), qmr::IdOk);
    EXPECT_EQ(qmr::ui::MessageBox("Overwrite?", "Warning", qmr::MbYesNo), qmr::IdYes);
    EXPECT_EQ(qmr::ui::MessageBox("Overwrite again?", "Warning", qmr::MbYesNo), qmr::IdNo);
    ASSERT_EQ(script.messages.size(), 3u);
    EXPECT_EQ(script.messages[0].caption, "Error");
    EXPECT_EQ(script.messages[1].buttons, qmr::MbYesNo);
    EXPECT_EQ(script.messages[2].answer, qmr::IdNo);
    EXPECT_TRUE(script.ScriptUsedUp());
}

TEST(ScriptedSeam, RecordsTheDefaultButtonOfAQuestion) {
    qmr::test::TestSeam script;
    script.AnswerNext(qmr::IdYes);
    script.AnswerNext(qmr::IdYes);
    qmr::ui::MessageBox("Overwrite?", "Warning", qmr::MbYesNo);
    qmr::ui::MessageBox("Fiscalise?", "Warning", qmr::MbYesNo, qmr::IdNo);
    ASSERT_EQ(script.messages.size(), 2u);
    EXPECT_EQ(script.messages[0].defaultAnswer, qmr::IdYes);
    EXPECT_EQ(script.messages[1].defaultAnswer, qmr::IdNo);
}

TEST(ScriptedSeam, ReportsWhatTheScriptDidNotForeseeAndNeverActs) {
    ScriptedSeam script;
    std::vector<QString> reported;
    script.onUnscripted = [&](const QString& what) { reported.push_back(what); };
    SampleDlg dlg;
    FileDialog open;
    open.Title = "Open";

    EXPECT_EQ(qmr::ui::MessageBox("Fiscalise?", "Warning", qmr::MbYesNo), qmr::IdNo);
    EXPECT_EQ(qmr::ui::ShowModal(dlg), qmr::ui::mrNone);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(open.Execute());

    ASSERT_EQ(reported.size(), 3u);
    EXPECT_TRUE(reported[0].contains("Fiscalise?"));
    EXPECT_TRUE(reported[1].contains("SampleDlg"));
    EXPECT_TRUE(reported[2].contains("Open"));
}

TEST(ScriptedSeam, ActsOnTheShownFormAndReturnsItsModalResult) {
    qmr::test::TestSeam script;
    SampleDlg dlg;
    dlg.move(33, 44);
    script.OnNextModal([](QDialog& form) {
        auto& d = dynamic_cast<SampleDlg&>(form);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.shows, 1);  // the show handler ran before the action
        d.Edit->setText("typed");
        d.OkBt->click();
    });
    script.OnNextModal([](QDialog&) {});  // left open: the seam closes it

    EXPECT_EQ(qmr::ui::ShowModal(dlg), qmr::ui::mrOk);
    EXPECT_EQ(dlg.Edit->text(), "typed");
    EXPECT_EQ(qmr::ui::ShowModal(dlg), qmr::ui::mrNone);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.shows, 2);

    ASSERT_EQ(script.modals.size(), 2u);
    EXPECT_EQ(script.modals[0].objectName, "SampleDlg");
    EXPECT_EQ(script.modals[0].caption, "Sample");
    EXPECT_EQ(script.modals[0].pos, QPoint(33, 44));
    EXPECT_EQ(script.modals[0].result, qmr::ui::mrOk);
}

TEST(ScriptedSeam, PicksFilesAndTheDialogAddsTheDefaultExtension) {
    qmr::test::TestSeam script;
    script.PickNextFile(QString("/tmp/printer"));
    script.PickNextFile(QString("/tmp/printer.txt"));
    script.PickNextFile(std::nullopt);
    FileDialog open;
    open.DefaultExt = "fpd";
    open.Filter = "Printer data files (*.fpd)|*.fpd";

    ASSERT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName, "/tmp/printer.fpd");
    ASSERT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName, "/tmp/printer.txt");
    open.FileName = "kept";
    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(open.FileName, "kept");
    ASSERT_EQ(script.files.size(), 3u);
    EXPECT_EQ(script.files[0].filter, open.Filter);
}

// Qt's own modal showing, with no script installed. A form closed while
// another modal showing runs on top of its own cannot end its showing until
// that one ends; asked to show meanwhile, it must still appear, and every
// showing must return.
TEST(QtSeam, AFormShowsAgainWhileItsEarlierShowingHasNotReturned) {
    SampleDlg status;
    SampleDlg other;
    std::vector<std::string> steps;
    QTimer::singleShot(0, &status, [&] {  // inside the first showing of status
        steps.push_back("first shown");
        QTimer::singleShot(0, &other, [&] {  // inside the showing of other, on top
            status.OkBt->click();
            steps.push_back(status.isVisible() ? "first still there" : "first closed");
            QTimer::singleShot(0, &status, [&] {
                steps.push_back(status.isVisible() ? "second shown" : "second missing");
                status.OkBt->click();
            });
            steps.push_back("second returned " + std::to_string(qmr::ui::ShowModal(status)));
            other.OkBt->click();
        });
        steps.push_back("other returned " + std::to_string(qmr::ui::ShowModal(other)));
    });
    steps.push_back("first returned " + std::to_string(qmr::ui::ShowModal(status)));
    EXPECT_EQ(steps, (std::vector<std::string>{"first shown", "first closed", "second shown", "second returned 1",
                                               "other returned 1", "first returned 1"}));
    EXPECT_EQ(status.shows, 2);
    EXPECT_FALSE(status.isVisible());
    EXPECT_FALSE(other.isVisible());
}

// Asked to show while it is showing, a form stays as it is, and both
// showings return when it closes.
TEST(QtSeam, AFormAskedToShowWhileShowingReturnsBothShowingsWhenClosed) {
    SampleDlg dlg;
    std::vector<std::string> steps;
    QTimer::singleShot(0, &dlg, [&] {
        QTimer::singleShot(0, &dlg, [&] { dlg.OkBt->click(); });
        steps.push_back("inner returned " + std::to_string(qmr::ui::ShowModal(dlg)));
    });
    steps.push_back("outer returned " + std::to_string(qmr::ui::ShowModal(dlg)));
    EXPECT_EQ(steps, (std::vector<std::string>{"inner returned 1", "outer returned 1"}));
    EXPECT_EQ(dlg.shows, 1);
    EXPECT_FALSE(dlg.isVisible());
}

// A style that, like some desktops', puts icons on dialog buttons.
class IconButtonsStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

TEST(QtSeam, MessageBoxButtonsCarryTheirCaptionsOnly) {
    const QString before = QApplication::style()->name();
    QApplication::setStyle(new IconButtonsStyle);  // the application takes it over
    for (const int buttons : {qmr::MbOk, qmr::MbYesNo}) {
        QStringList seen;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* button : box->buttons()) {
                seen << button->text().remove('&');
                EXPECT_TRUE(button->icon().isNull()) << button->text().toStdString();
            }
            box->buttons().front()->click();
        });
        qmr::ui::MessageBox("Protocol error", "Error", buttons);
        EXPECT_EQ(seen.size(), buttons == qmr::MbOk ? 1 : 2);
    }
    QApplication::setStyle(before);
}

// Return presses the default button: a question whose Yes cannot be undone
// is answered No by it, any other Yes.
TEST(QtSeam, ReturnAnswersAQuestionWithItsDefaultButton) {
    for (const int defaultAnswer : {qmr::IdYes, qmr::IdNo}) {
        QTimer::singleShot(0, [] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            // The key goes where a person's would: to the box's focused button.
            QWidget* target = box->focusWidget() ? box->focusWidget() : box;
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(target, &press);
        });
        EXPECT_EQ(qmr::ui::MessageBox("Printer will go to fiscal mode\nContinue?", "Warning", qmr::MbYesNo,
                                      defaultAnswer),
                  defaultAnswer);
    }
}

TEST(QtSeam, AMessageBoxIsWideEnoughForItsWholeCaption) {
    for (const int buttons : {qmr::MbOk, qmr::MbYesNo}) {
        int width = 0;
        int needed = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            width = box->width();
            needed = box->fontMetrics().horizontalAdvance(box->windowTitle()) + qmr::ui::CaptionFrameWidth;
            box->buttons().front()->click();
        });
        qmr::ui::MessageBox("Void is possible.\nCancel the receipt?", "Fiscal receipt is open", buttons);
        EXPECT_GE(width, needed) << buttons;
    }
}

TEST(QtNameFilters, TurnsDescriptionAndPatternPairsIntoQtFilters) {
    EXPECT_EQ(qmr::ui::QtNameFilters("Bitmaps (*.bmp)|*.bmp"), QStringList{"Bitmaps (*.bmp)"});
    EXPECT_EQ(qmr::ui::QtNameFilters("Bitmap files (*.bmp)|*.BMP"), QStringList{"Bitmap files (*.bmp)"});
    EXPECT_EQ(qmr::ui::QtNameFilters("Headers|*.fph;*.txt|All files|*.*"),
              (QStringList{"Headers (*.fph *.txt)", "All files (*.*)"}));
    EXPECT_TRUE(qmr::ui::QtNameFilters("").isEmpty());
}

// An object whose event handler throws, as a handler of a form may.
class Thrower : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw std::runtime_error("Can't write the settings");
        return QObject::event(e);
    }
};

TEST(Application, ShowsAnExceptionThatEscapesAHandlerAndGoesOn) {
    qmr::test::TestSeam script;
    Thrower thrower;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &event);
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, "Can't write the settings");
    EXPECT_EQ(script.messages[0].caption, QApplication::applicationName());
}

TEST(MainForm, ClosesEvenWhenItsCloseHandlerThrows) {
    qmr::test::TestSeam script;
    qmr::ui::MainForm form(nullptr, "MainForm", "Main", 300, 200);
    QObject::connect(&form, &qmr::ui::MainForm::Closed, [] { throw std::runtime_error("Can't write"); });
    form.show();
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(script.MessageTexts(), std::vector<QString>{"Can't write"});
}

// On real windows: a client area of 500 x 400 and a dialog of 301 x 201 on
// the screen, frame included, give Left = X + 99 and Top = Y + 49, before
// the dialog's first showing (when it has no frame yet) as after it.
TEST(PlaceDialog, CentresAcrossTheClientAreaAndAQuarterDown) {
    qmr::ui::MainForm main(nullptr, "MainForm", "Main", 500, 400);
    main.move(100, 50);
    main.show();
    const QSize frame = main.frameGeometry().size() - main.size();
    const QPoint origin = main.mapToGlobal(QPoint(0, 0));
    qmr::ui::Form dlg(nullptr, "Dlg", "Dlg", 301 - frame.width(), 201 - frame.height());
    qmr::ui::PlaceDialog(main, dlg);
    EXPECT_EQ(dlg.pos(), origin + QPoint(99, 49));
    dlg.show();
    EXPECT_EQ(dlg.frameGeometry(), QRect(origin + QPoint(99, 49), QSize(301, 201)));
    dlg.hide();
    dlg.move(0, 0);
    qmr::ui::PlaceDialog(main, dlg);
    EXPECT_EQ(dlg.pos(), origin + QPoint(99, 49));

    // Larger than the client area: the differences -101 and -1 truncate toward zero.
    qmr::ui::Form wide(nullptr, "Wide", "Wide", 601 - frame.width(), 401 - frame.height());
    qmr::ui::PlaceDialog(main, wide);
    EXPECT_EQ(wide.pos(), origin + QPoint(-50, 0));
}

TEST(Form, EnterAndEscActOnlyThroughTheDefaultAndCancelButtons) {
    SampleDlg dlg;
    dlg.show();
    int clicks = 0;
    QObject::connect(dlg.OkBt, &QPushButton::clicked, [&] { ++clicks; });
    dlg.Edit->setFocus();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&dlg, &esc);
    EXPECT_TRUE(dlg.isVisible());  // no cancel button: Esc does nothing
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(&dlg, &enter);
    EXPECT_EQ(clicks, 0);  // no default button either

    dlg.SetDefaultButton(dlg.OkBt);
    dlg.SetCancelButton(dlg.OkBt);
    dlg.hide();
    dlg.show();
    QCoreApplication::sendEvent(&dlg, &esc);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(dlg.isVisible());
}

TEST(DropDownCombo, SaysSoBeforeTheListDropsDown) {
    qmr::ui::MainForm main(nullptr, "MainForm", "Main", 300, 200);
    auto* combo = qmr::ui::Make<qmr::ui::DropDownCombo>(&main, "Combo", 10, 10, 100, 24);
    int countWhenShown = -1;
    QObject::connect(combo, &qmr::ui::DropDownCombo::DropDown, [&] {
        combo->clear();
        combo->addItems({"a", "b", "c"});
        countWhenShown = combo->count();
    });
    main.show();
    combo->showPopup();
    combo->hidePopup();
    EXPECT_EQ(countWhenShown, 3);
}

}  // namespace
