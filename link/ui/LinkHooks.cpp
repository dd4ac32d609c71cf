#include "LinkHooks.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <memory>
#include <utility>

#include "Cp1251.h"
#include "Executor.h"
#include "Forms.h"
#include "Seam.h"
#include "Transport.h"

namespace qmr::ui {

namespace {

void SelectItem(QComboBox& combo, int index) { combo.setCurrentIndex(index >= 0 && index < combo.count() ? index : -1); }

}  // namespace

void ConnectHold::Watch(QAbstractButton* button) {
    if (button_) {
        button_->removeEventFilter(this);
        button_->disconnect(this);
    }
    button_ = button;
    pressedInHold_ = false;
    if (!button_) return;
    button_->installEventFilter(this);
    // Every click is pressed first: by the mouse, a key, click() or a screen
    // reader's press alike.
    connect(button_, &QAbstractButton::pressed, this, [this] { pressedInHold_ = held_; });
}

void ConnectHold::Hold(std::int64_t nowUs) {
    if (!button_) return;
    held_ = true;
    since_ = nowUs;
    // A button held down by the mouse is let go of, as greying it would.
    if (button_->isDown()) Show();
}

void ConnectHold::Release() {
    held_ = false;
    if (!button_) return;
    // Enabled at the end of every exchange, as before, whoever disabled it.
    button_->setEnabled(true);
    greyed_ = false;
}

void ConnectHold::ShowIfDue(std::int64_t nowUs) {
    if (held_ && !greyed_ && nowUs - since_ >= ShownAfterUs) Show();
}

void ConnectHold::Show() {
    if (!held_ || !button_) return;
    button_->setEnabled(false);
    greyed_ = true;
}

bool ConnectHold::TakeHeldPress() { return std::exchange(pressedInHold_, false); }

bool ConnectHold::eventFilter(QObject* watched, QEvent* event) {
    if (!held_ || watched != button_) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
    }
}

QtLinkHooks::QtLinkHooks(const MainWindowControls& controls) : controls_(controls) {
    connectHold_.Watch(controls_.connectButton);
}

namespace {

// The link asks at least every 10 ms (a wait's slice) and mostly far more
// often; skipping what comes within this much of the last pass keeps every
// click during an exchange answered inside a frame's time on the screen.
constexpr qint64 PumpIntervalNs = 4'000'000;

}  // namespace

void QtLinkHooks::PumpEvents() {
    connectHold_.ShowIfDue(Env().clock ? Env().clock->NowUs() : 0);
    QCoreApplication::processEvents();
    sincePump_.start();
}

void QtLinkHooks::PumpEventsWhenDue() {
    if (!sincePump_.isValid() || sincePump_.nsecsElapsed() >= PumpIntervalNs) PumpEvents();
}

int QtLinkHooks::ShowMessage(const std::string& text, const std::string& caption, int buttons) {
    connectHold_.Show();
    return MessageBox(FromCp1251(text), FromCp1251(caption), buttons);
}

void QtLinkHooks::ShowStatusDialog() {
    connectHold_.Show();
    if (!controls_.statusDialog) return;
    if (controls_.mainWindow)
        ShowPlaced(*controls_.mainWindow, *controls_.statusDialog);
    else
        ShowModal(*controls_.statusDialog);
}

void QtLinkHooks::SetConnectEnabled(bool enabled) {
    if (enabled)
        connectHold_.Release();
    else
        connectHold_.Hold(Env().clock ? Env().clock->NowUs() : 0);
}

PortChoice QtLinkHooks::ReadPortChoice() {
    PortChoice choice;
    if (controls_.portCombo) {
        choice.portIndex = controls_.portCombo->currentIndex();
        choice.portName = controls_.portCombo->currentText().toStdString();
    }
    if (controls_.baudCombo) {
        choice.baudIndex = controls_.baudCombo->currentIndex();
        choice.baudText = controls_.baudCombo->currentText().toStdString();
    }
    return choice;
}

namespace {

std::unique_ptr<QtLinkHooks> hooks;

}  // namespace

void InstallWindowLink(const MainWindowControls& controls, SerialLine& line, Clock& clock) {
    static QMetaObject::Connection watch;
    QObject::disconnect(watch);
    hooks = std::make_unique<QtLinkHooks>(controls);
    InstallLink({&line, &clock, hooks.get()});
    if (!controls.mainWindow) return;
    watch = QObject::connect(controls.mainWindow, &QObject::destroyed, [] {
        if (Env().ui == hooks.get()) InstallLink({});
        hooks.reset();
    });
}

void StartPortEnumeration() {
    QAccessible::isActive();
    qmr::StartPortEnumeration();
}

void FillPortCombo(QComboBox& portCombo, QComboBox& baudCombo) {
    EnumeratePorts();
    ShowPortCombo(portCombo, baudCombo);
}

void ShowPortCombo(QComboBox& portCombo, QComboBox& baudCombo) {
    const LinkState& s = Link();
    portCombo.clear();
    for (const std::string& port : s.PortList) portCombo.addItem(QString::fromStdString(port));
    SelectItem(portCombo, s.PortIndex);
    SelectItem(baudCombo, s.BaudIndex);
}

void AddBaudItems(QComboBox& baudCombo) { baudCombo.addItems({"9600", "19200", "57600", "115200"}); }

void ToggleConnection(QAbstractButton& connectButton, Shape& lamp) {
    const bool heldPress = hooks && hooks->ConnectButtonHold().TakeHeldPress();
    if (heldPress || ExchangeRunning()) return;
    LinkState& link = Link();
    if (link.Connected) {
        ClosePort();
        link.Connected = false;
        connectButton.setText(QStringLiteral("Connect"));
        lamp.SetBrushColor(colour::Green);
        return;
    }
    if (!OpenPort()) return;
    link.Connected = true;
    connectButton.setText(QStringLiteral("Disconnect"));
    lamp.SetBrushColor(colour::Lime);
}

void LoadConnectionSettings(ConsoleTexts* console) {
    QSettingsStore store;
    LoadSettings(store, console);
}

void SaveConnectionSettings(const QComboBox& portCombo, const QComboBox& baudCombo, const ConsoleTexts* console) {
    QSettingsStore store;
    SaveSettings(store, portCombo.currentIndex(), baudCombo.currentIndex(), console);
}

}  // namespace qmr::ui
