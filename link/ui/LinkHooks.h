// What the printer link needs from a program's main window, and the port and
// speed combos' side of the connection settings.
//
// How a program uses it (Vextora passes its BaudsList as the speed combo):
//
//     qmr::ui::InstallWindowLink({InitFP, InitFP->PortNum, InitFP->BaudsBox, InitFP->ConnectBt, StatusDlg},
//                                line, qmr::SystemClock());
//
// and in the main window's handlers:
//
//     FormShow:        qmr::ui::LoadConnectionSettings(nullptr);
//                      qmr::ui::ShowPortCombo(*PortNum, *BaudsBox);
//     PortNumDropDown: qmr::ui::FillPortCombo(*PortNum, *BaudsBox);
//     FormClose:       qmr::ui::SaveConnectionSettings(*PortNum, *BaudsBox, nullptr);
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include "LinkState.h"
#include "Settings.h"

class QAbstractButton;
class QComboBox;
class QDialog;
class QWidget;

namespace qmr::ui {

class Shape;

struct MainWindowControls {
    QWidget* mainWindow = nullptr;
    QComboBox* portCombo = nullptr;
    QComboBox* baudCombo = nullptr;
    QAbstractButton* connectButton = nullptr;
    QDialog* statusDialog = nullptr;
};

// The connect button while the link holds it: it takes no input from the
// first moment, and is greyed once the hold has lasted long enough to be
// seen or something is shown over it. A flow sends its commands one after
// another, each holding the button for a few milliseconds: greying it and
// back for each would repaint the main window twice a command, which costs
// the program more than the command itself. A click that comes by a road no
// filter sees (click(), a screen reader's press) is lost where the
// connection is toggled, which asks TakeHeldPress.
class ConnectHold final : public QObject {
public:
    // Holds longer than this are shown.
    static constexpr std::int64_t ShownAfterUs = 100000;

    void Watch(QAbstractButton* button);
    void Hold(std::int64_t nowUs);
    void Release();
    // Greys a held button when its hold is due to be seen, or at once.
    void ShowIfDue(std::int64_t nowUs);
    void Show();
    // True when the click now being handled comes of a press made while the
    // button was held: a screen reader's press clicks only 100 ms after it,
    // which may be after the exchange has ended. Asked once per click.
    bool TakeHeldPress();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QAbstractButton> button_;
    bool held_ = false;
    bool greyed_ = false;
    bool pressedInHold_ = false;
    std::int64_t since_ = 0;
};

class QtLinkHooks final : public UiHooks {
public:
    explicit QtLinkHooks(const MainWindowControls& controls);

    // One pass of the pending window messages.
    void PumpEvents() override;
    // A pass only when the last one was a few milliseconds ago: the link
    // asks far more often than anyone clicks.
    void PumpEventsWhenDue() override;
    // The link's messages are cp1251 text.
    int ShowMessage(const std::string& text, const std::string& caption, int buttons) override;
    // The status dialog, placed over the main window and shown modally.
    void ShowStatusDialog() override;
    void SetConnectEnabled(bool enabled) override;
    PortChoice ReadPortChoice() override;
    ConnectHold& ConnectButtonHold() { return connectHold_; }

private:
    QElapsedTimer sincePump_;
    MainWindowControls controls_;
    ConnectHold connectHold_;
};

// Installs the link of a program on the line and clock, with hooks on the
// main window's controls. When the main window goes, the link is put back to
// a bare state, so it never drives windows that are gone.
void InstallWindowLink(const MainWindowControls& controls, SerialLine& line, Clock& clock);

// Starts reading the system's ports on a thread of their own while the forms
// are built (qmr::StartPortEnumeration), once the accessibility bridge has
// made its connection to the session bus, which the first caption would
// make anyway. Where there is no session bus, that connection forks a helper
// process; a child forked while the port thread allocates can hang before
// its exec (the address sanitizer's allocator lock is not fork-safe), and the
// program would wait for it for ever. Made first, no fork overlaps the thread.
void StartPortEnumeration();

// Rebuilds the port list into the port combo and selects PortIndex there and
// BaudIndex in the speed combo; an index that names no item selects nothing.
void FillPortCombo(QComboBox& portCombo, QComboBox& baudCombo);
// The same with the port list as it stands: at show, right after the settings
// were loaded, which rebuilt the list a moment ago. Asking the system again
// would bring the same ports and cost about as much as the rest of start-up.
void ShowPortCombo(QComboBox& portCombo, QComboBox& baudCombo);

// The speed combo's items, as the link numbers them.
void AddBaudItems(QComboBox& baudCombo);

// The main window's connect button: closes the port when it is open, else
// opens it; the caption and the lamp show which ("Connect" and dark green
// while closed, "Disconnect" and lime while open). A port that cannot be
// opened leaves both as they are (the link has said why). A press made while
// an exchange runs is lost, whatever made it, as it is for a greyed button:
// the port belongs to the exchange until it returns.
void ToggleConnection(QAbstractButton& connectButton, Shape& lamp);

// LoadSettings and SaveSettings on the user's settings store.
void LoadConnectionSettings(ConsoleTexts* console);
void SaveConnectionSettings(const QComboBox& portCombo, const QComboBox& baudCombo, const ConsoleTexts* console);

}  // namespace qmr::ui
