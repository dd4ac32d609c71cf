// The form classes every window of the programs derives from, and the few
// controls Qt lacks.
//
// How a form is written (TStatusDlg and init-utility/TInitFP are the models):
// - One class per form, in one unit named after the class: TStatusDlg in
//   TStatusDlg.h/.cpp, TInitFP in TInitFP.h/.cpp. A main window whose
//   handlers belong to several features may spread them over
//   TInitFP<Feature>.cpp files; the class stays one.
// - The constructor builds every control at a fixed position in a fixed-size
//   client area. Controls are public members named as the control is, with
//   that objectName too (the Make helper sets both), so tests reach them.
// - Handlers are public slots named after control and event (ConnectBtClick,
//   PortNumDropDown, FormShow, FormClose); the constructor binds them.
// - Forms are created once at start-up and reused at every showing; what the
//   controls hold survives unless the show handler resets it. Dialogs are
//   shown with ShowModal (Seam.h), messages go through MessageBox (Seam.h).
#pragma once

#include <QColor>
#include <QComboBox>
#include <QDialog>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qmr::ui {

// Creates a control as a child of parent at a fixed place, named.
template <class Control, class... Args>
Control* Make(QWidget* parent, const char* name, int x, int y, int w, int h, Args&&... args) {
    auto* control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(x, y, w, h);
    return control;
}

// The height of a row's labels and edits, and of a push button; a button
// beside a row stands two pixels higher than the row.
inline constexpr int RowHeight = 24;
inline constexpr int ButtonHeight = 28;

// A label of one row's height with its caption (Latin-1), left-aligned unless told.
QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, int x, int y, int w,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
// A push button of ButtonHeight with its caption (Latin-1).
QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int x, int y, int w);

// A dialog: fixed size, no minimise or maximise box. Enter presses the
// default button and Esc the cancel button, and only when the form has one.
class Form : public QDialog {
    Q_OBJECT
public:
    Form(QWidget* parent, const char* name, const QString& caption, int clientWidth, int clientHeight);

    void SetDefaultButton(QPushButton* button);
    void SetCancelButton(QPushButton* button);

signals:
    // Before every showing becomes visible (the form's show handler).
    void Shown();

public:
    // The close box and Esc end a modal showing with mrCancel (2), as the
    // programs' callers expect, not Qt's 0.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPushButton* defaultButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

// A program's main window: fixed size, only the close box, centred on the
// desktop when it first shows.
class MainForm : public QWidget {
    Q_OBJECT
public:
    MainForm(QWidget* parent, const char* name, const QString& caption, int clientWidth, int clientHeight);

signals:
    void Shown();
    // The window is closing (the form's close handler). An exception thrown
    // by the handler is shown like any other, and the window closes anyway.
    // A close asked for during an exchange waits until the exchange has
    // ended: the handler closes the port, which the exchange still uses.
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool centred_ = false;
    bool closePending_ = false;
};

// Puts a form over the main window: centred across its client area, a
// quarter of the free height down.
void PlaceDialog(const QWidget& mainWindow, QWidget& form);
// Puts the form over the main window and shows it modally; its modal result.
int ShowPlaced(const QWidget& mainWindow, QDialog& form);

// Puts a window in the middle of the primary screen's free area.
void CentreOnScreen(QWidget& form);

// A drop-down list that says when it is about to drop down, so its items can
// be rebuilt first.
class DropDownCombo : public QComboBox {
    Q_OBJECT
public:
    explicit DropDownCombo(QWidget* parent = nullptr);
    void showPopup() override;

signals:
    void DropDown();
};

// A filled circle with an outline, such as a connection lamp.
class Shape : public QWidget {
    Q_OBJECT
public:
    explicit Shape(QWidget* parent = nullptr);
    QColor BrushColor() const { return brush_; }
    void SetBrushColor(const QColor& color);
    void SetPenColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor brush_ = Qt::white;
    QColor pen_ = Qt::black;
};

// The colours of the programs' lamps and warnings.
namespace colour {
inline const QColor Green{0, 128, 0};
inline const QColor Lime{0, 255, 0};
inline const QColor Teal{0, 128, 128};
inline const QColor Red{255, 0, 0};
}  // namespace colour

// Gives a control red text (check boxes, labels, buttons).
void SetTextColour(QWidget& control, const QColor& colour);


}  // namespace qmr::ui
