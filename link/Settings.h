// The port list and the connection settings that survive between runs.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qmr {

// One settings key that both programs share.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // False when the key cannot be opened (or, without create, does not exist).
    virtual bool Open(bool create) = 0;
    // Nothing when the value is missing or is not an integer.
    virtual std::optional<int> ReadInt(const std::string& name) = 0;
    // A missing text value reads as the empty text.
    virtual std::string ReadText(const std::string& name) = 0;
    virtual void WriteInt(const std::string& name, int value) = 0;
    virtual void WriteText(const std::string& name, const std::string& value) = 0;
    // Throws std::runtime_error when what was written could not be stored.
    virtual void Close() = 0;
};

// The settings of the user's config folder (the registry on Windows),
// organisation "Zandrel", application "QMR770".
class QSettingsStore final : public SettingsStore {
public:
    QSettingsStore();
    ~QSettingsStore() override;
    bool Open(bool create) override;
    std::optional<int> ReadInt(const std::string& name) override;
    std::string ReadText(const std::string& name) override;
    void WriteInt(const std::string& name, int value) override;
    void WriteText(const std::string& name, const std::string& value) override;
    void Close() override;

private:
    struct Impl;
    Impl* impl_;
};

// The command console's texts, kept with the settings by the test utility.
struct ConsoleTexts {
    std::string command;
    std::string data;
};

// The system's serial devices, in any order. Tests replace it.
using PortSource = std::function<std::vector<std::string>()>;
void SetPortSource(PortSource source);
std::vector<std::string> SystemSerialDevices();

// The port list from the system's devices, sorted by name ignoring case,
// followed by the extra ports (':'-separated device paths); "COM0".."COM15"
// when there is none at all.
std::vector<std::string> ListPorts(std::vector<std::string> systemDevices, const std::string& extraPorts);

// Fills PortList from the port source and $QMR770_PORTS.
void EnumeratePorts();

// Reading the system's devices takes about as long as building the forms, so
// a program starts it on a thread of its own before it builds them, from the
// port source in effect then; the next EnumeratePorts takes that reading,
// waiting for it when it is not done yet, and the ones after it read the
// devices afresh.
void StartPortEnumeration();

// Rebuilds the port list and reads PortIndex, BaudIndex and, when console
// is given, the console texts. A missing or mistyped value ends the reading.
void LoadSettings(SettingsStore& store, ConsoleTexts* console);
// Stores the two combos' item indexes (-1: no selection) and the console texts.
void SaveSettings(SettingsStore& store, int portIndex, int baudIndex, const ConsoleTexts* console);

}  // namespace qmr
