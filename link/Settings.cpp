#include "Settings.h"

#include <sys/statvfs.h>

#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QSettings>
#include <algorithm>
#include <cstdlib>
#include <future>
#include <stdexcept>

#include "Cp1251.h"
#include "LinkState.h"

namespace qmr {

namespace {

PortSource portSource;
bool damagedFile = false;
// The reading StartPortEnumeration began, until EnumeratePorts takes it.
std::future<std::vector<std::string>> pendingDevices;

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

}  // namespace

struct QSettingsStore::Impl {
    std::optional<QSettings> store{std::in_place, "Zandrel", "QMR770"};
    QSettings& Settings() { return *store; }

    // A file that cannot be parsed is moved aside, kept for a look, and the
    // settings start again from an empty file.
    bool SetDamagedFileAside() {
        const QString name = Settings().fileName();
        const QString aside = name + QStringLiteral(".damaged");
        store.reset();
        QFile::remove(aside);
        const bool moved = QFile::rename(name, aside);
        store.emplace("Zandrel", "QMR770");
        return moved && store->status() == QSettings::NoError;
    }

    // Whether the settings would go to a disk mounted read-only (the file,
    // or the nearest folder on its way that exists).
    bool OnReadOnlyDisk() {
        QString path = Settings().fileName();
        while (!QFileInfo::exists(path)) {
            const QString up = QFileInfo(path).path();
            if (up == path) return false;
            path = up;
        }
        struct statvfs disk {};
        return statvfs(QFile::encodeName(path).constData(), &disk) == 0 && (disk.f_flag & ST_RDONLY) != 0;
    }
};

QSettingsStore::QSettingsStore() : impl_(new Impl) {}
QSettingsStore::~QSettingsStore() { delete impl_; }

bool QSettingsStore::Open(bool create) {
    // A damaged file reads as no settings at all; the next save replaces it.
    // Qt says so only to the first reader of the file in the program (the
    // others get what it made of the file), so the finding is kept.
    if (impl_->Settings().status() == QSettings::FormatError) damagedFile = true;
    if (damagedFile) {
        if (!create || !impl_->SetDamagedFileAside()) return false;
        damagedFile = false;
    }
    if (impl_->Settings().status() != QSettings::NoError) return false;
    // A user without the right to write gets nothing saved, quietly; a
    // read-only disk is a failure of the save, told at the close as a full
    // disk is.
    if (create) return impl_->Settings().isWritable() || impl_->OnReadOnlyDisk();
    return !impl_->Settings().allKeys().isEmpty();
}

std::optional<int> QSettingsStore::ReadInt(const std::string& name) {
    const QVariant v = impl_->Settings().value(QString::fromStdString(name));
    if (!v.isValid()) return std::nullopt;
    bool ok = false;
    const int value = v.toString().trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
    return value;
}

std::string QSettingsStore::ReadText(const std::string& name) {
    return ToCp1251(impl_->Settings().value(QString::fromStdString(name)).toString());
}

void QSettingsStore::WriteInt(const std::string& name, int value) {
    impl_->Settings().setValue(QString::fromStdString(name), value);
}

void QSettingsStore::WriteText(const std::string& name, const std::string& value) {
    impl_->Settings().setValue(QString::fromStdString(name), FromCp1251(value));
}

void QSettingsStore::Close() {
    impl_->Settings().sync();
    if (impl_->Settings().status() != QSettings::NoError)
        throw std::runtime_error("Can't write the settings to " + impl_->Settings().fileName().toStdString());
}

void SetPortSource(PortSource source) { portSource = std::move(source); }

std::vector<std::string> SystemSerialDevices() {
    std::vector<std::string> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.push_back(info.systemLocation().toStdString());
    return devices;
}

std::vector<std::string> ListPorts(std::vector<std::string> systemDevices, const std::string& extraPorts) {
    std::stable_sort(systemDevices.begin(), systemDevices.end(),
                     [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); });
    std::vector<std::string> ports = std::move(systemDevices);
    std::size_t from = 0;
    while (from <= extraPorts.size()) {
        std::size_t to = extraPorts.find(':', from);
        if (to == std::string::npos) to = extraPorts.size();
        std::string port = extraPorts.substr(from, to - from);
        if (!port.empty() && std::find(ports.begin(), ports.end(), port) == ports.end()) ports.push_back(port);
        from = to + 1;
    }
    if (ports.empty())
        for (int i = 0; i < 16; ++i) ports.push_back("COM" + std::to_string(i));
    return ports;
}

void StartPortEnumeration() {
    pendingDevices = std::async(std::launch::async, portSource ? portSource : PortSource(SystemSerialDevices));
}

void EnumeratePorts() {
    std::vector<std::string> devices;
    if (pendingDevices.valid())
        devices = pendingDevices.get();
    else
        devices = portSource ? portSource() : SystemSerialDevices();
    const char* extra = std::getenv("QMR770_PORTS");
    Link().PortList = ListPorts(std::move(devices), extra ? extra : "");
}

void LoadSettings(SettingsStore& store, ConsoleTexts* console) {
    LinkState& s = Link();
    EnumeratePorts();
    s.PortIndex = 0;
    s.BaudIndex = 3;
    if (store.Open(false)) {
        // The values are read in this order and the first missing or mistyped
        // one ends the reading: the values before it stay.
        if (const auto port = store.ReadInt("SerialPort")) {
            s.PortIndex = *port;
            if (const auto baud = store.ReadInt("Bauds")) {
                s.BaudIndex = *baud;
                if (console) {
                    console->command = store.ReadText("Command");
                    console->data = store.ReadText("Data");
                }
            }
        }
        try {
            store.Close();
        } catch (const std::exception&) {
            // Reading never fails loudly.
        }
    }
    if (s.PortIndex >= static_cast<int>(s.PortList.size())) s.PortIndex = 0;
}

void SaveSettings(SettingsStore& store, int portIndex, int baudIndex, const ConsoleTexts* console) {
    if (!store.Open(true)) return;
    store.WriteInt("SerialPort", portIndex);
    store.WriteInt("Bauds", baudIndex);
    if (console) {
        store.WriteText("Command", console->command);
        store.WriteText("Data", console->data);
    }
    store.Close();
}

}  // namespace qmr
