#include "Forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include "Application.h"
#include "Executor.h"
#include "Placement.h"
#include "Seam.h"

namespace qmr::ui {

namespace {

constexpr Qt::WindowFlags FixedBorder = Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                        Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint;

// Every edit's text is selected at every showing, as Qt selects it only when
// Tab brings the focus: the text the show handler put in (FillFM's count "1",
// a tax number read from the printer) is then replaced by what the user
// types, not lengthened by it ("1" and then "10" would give 110 closures).
void SelectEditTexts(QWidget& form) {
    for (QLineEdit* edit : form.findChildren<QLineEdit*>()) edit->selectAll();
}
}  // namespace

QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, int x, int y, int w, Qt::Alignment alignment) {
    auto* label = Make<QLabel>(parent, name, x, y, w, RowHeight, QString::fromLatin1(caption));
    label->setAlignment(alignment);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int x, int y, int w) {
    return Make<QPushButton>(parent, name, x, y, w, ButtonHeight, QString::fromLatin1(caption));
}

Form::Form(QWidget* parent, const char* name, const QString& caption, int clientWidth, int clientHeight)
    : QDialog(parent, Qt::Dialog | FixedBorder) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    setFixedSize(clientWidth, clientHeight);
}

void Form::SetDefaultButton(QPushButton* button) { defaultButton_ = button; }

void Form::SetCancelButton(QPushButton* button) { cancelButton_ = button; }

void Form::reject() { done(mrCancel); }

void Form::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        // Qt would make any push button answer Enter; only the default one may.
        for (QPushButton* button : findChildren<QPushButton*>()) {
            button->setAutoDefault(button == defaultButton_);
            button->setDefault(button == defaultButton_);
        }
        emit Shown();
        SelectEditTexts(*this);
    }
    QDialog::showEvent(event);
}

void Form::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (cancelButton_ && cancelButton_->isEnabled()) cancelButton_->click();
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !defaultButton_) {
        // Without a default button Enter presses only the button that has the focus.
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget())) focused->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CentreOnScreen(QWidget& form) {
    const QScreen* screen = QApplication::primaryScreen();
    if (!screen) return;
    const QRect desk = screen->availableGeometry();
    const QSize size = form.frameGeometry().size();
    form.move(desk.x() + (desk.width() - size.width()) / 2, desk.y() + (desk.height() - size.height()) / 2);
}

MainForm::MainForm(QWidget* parent, const char* name, const QString& caption, int clientWidth, int clientHeight)
    : QWidget(parent, Qt::Window | FixedBorder) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    setFixedSize(clientWidth, clientHeight);
}

void MainForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        if (!centred_) {
            centred_ = true;
            CentreOnScreen(*this);
        }
        emit Shown();
        SelectEditTexts(*this);
    }
    QWidget::showEvent(event);
}

void MainForm::closeEvent(QCloseEvent* event) {
    if (ExchangeRunning()) {
        event->ignore();
        if (closePending_) return;
        closePending_ = true;
        // Taken from the event loop, not from inside the link's own code.
        AfterExchange([self = QPointer<MainForm>(this)] {
            if (!self) return;
            QTimer::singleShot(0, self, [self] {
                self->closePending_ = false;
                self->close();
            });
        });
        return;
    }
    try {
        emit Closed();
    } catch (const std::exception& e) {
        ReportException(e);
    }
    event->accept();
}

namespace {

// A form's size on the screen, frame included. Before its first showing it
// has no frame yet; it will get one like the main window's.
QSize OuterSize(const QWidget& form, const QWidget& mainWindow) {
    const QSize outer = form.frameGeometry().size();
    if (outer != form.size()) return outer;
    const QWidget& top = *mainWindow.window();
    return form.size() + (top.frameGeometry().size() - top.size());
}

}  // namespace

void PlaceDialog(const QWidget& mainWindow, QWidget& form) {
    const QPoint origin = mainWindow.mapToGlobal(QPoint(0, 0));
    const QSize size = OuterSize(form, mainWindow);
    const Point at = qmr::PlaceDialog({origin.x(), origin.y()}, mainWindow.width(), mainWindow.height(),
                                      size.width(), size.height());
    form.move(at.x, at.y);
}

int ShowPlaced(const QWidget& mainWindow, QDialog& form) {
    PlaceDialog(mainWindow, form);
    return ShowModal(form);
}

DropDownCombo::DropDownCombo(QWidget* parent) : QComboBox(parent) {}

void DropDownCombo::showPopup() {
    emit DropDown();
    QComboBox::showPopup();
}

Shape::Shape(QWidget* parent) : QWidget(parent) {}

void Shape::SetBrushColor(const QColor& color) {
    brush_ = color;
    update();
}

void Shape::SetPenColor(const QColor& color) {
    pen_ = color;
    update();
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(pen_, 1));
    painter.setBrush(brush_);
    const int side = std::min(width(), height()) - 1;
    painter.drawEllipse(QRectF((width() - side) / 2.0, (height() - side) / 2.0, side, side));
}

void SetTextColour(QWidget& control, const QColor& colour) {
    QPalette palette = control.palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::Text, colour);
    control.setPalette(palette);
}


}  // namespace qmr::ui
