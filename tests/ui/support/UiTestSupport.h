// What the window tests of both programs stand on: a Qt application on the
// offscreen platform with its settings in a temporary folder (QtTestMain.cpp
// is their main), a scripted seam that fails the test on anything
// unforeseen, and a clock that never waits.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "LinkState.h"
#include "ScriptedSeam.h"

class QComboBox;
class QWidget;

// Failed comparisons show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace qmr::test {

// A scripted seam whose unscripted dialogs fail the running test.
class TestSeam : public qmr::ui::ScriptedSeam {
public:
    TestSeam() {
        onUnscripted = [](const QString& what) { ADD_FAILURE() << "unscripted " << what.toStdString(); };
    }
};

// Real time for a line that answers, but sleeps return at once (they only
// move the clock on and are told to `onSleep`), and while `racing` every look
// moves it on half a second, so a silent line times out at once.
class QuickClock final : public qmr::Clock {
public:
    std::int64_t NowUs() override;
    void SleepMs(int ms) override {
        offsetUs_ += std::int64_t{ms} * 1000;
        if (onSleep) onSleep(ms);
    }
    bool racing = false;
    std::function<void(int ms)> onSleep;

private:
    std::int64_t offsetUs_ = 0;
};

// Empties the settings store the programs use (in the tests' temporary folder).
void ClearSettings();
// Writes the port and speed indexes as a saved session would have.
void WriteSettings(int serialPort, int bauds);
// What the store holds; nothing when the value is missing.
std::optional<int> ReadSetting(const QString& name);

// Writes the bytes to a new file at the path; returns the path.
QString WriteFile(const QString& path, const QByteArray& bytes);
// The file's bytes, or "<missing>" when it cannot be read.
QByteArray ReadFile(const QString& path);

// A combo's items in order.
QStringList ItemsOf(const QComboBox& combo);

// A dialog shown at `pos` stands over the main window's client area as
// placed: as much room left as right, a quarter of the free height above it.
void ExpectPlacedOver(const QWidget& mainClient, QPoint pos, const QWidget& form);

// Types the text into the control key by key, as a user would.
void Type(QWidget& control, const QString& text);

// The controls of a form whose caption or longest item does not fit in them
// with the font they are drawn in, as "objectName: caption (needs N, has M)".
std::vector<std::string> ClippedCaptions(const QWidget& form);

// Pairs of a form's controls that lie over each other, as "first / second".
std::vector<std::string> OverlappingControls(const QWidget& form);

// Fixes the system's serial port list and $QMR770_PORTS for one test.
class PortsScope {
public:
    PortsScope(std::vector<std::string> systemPorts, const std::string& extraPorts);
    ~PortsScope();
};

// Starts the early reading of the ports as main does, from these system
// ports; any reading after it finds none. `readOn` learns the thread that
// read them.
void StartPortReadingAsMainDoes(std::vector<std::string> systemPorts, std::thread::id& readOn);

}  // namespace qmr::test
