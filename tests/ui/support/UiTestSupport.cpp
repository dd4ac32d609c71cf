#include "UiTestSupport.h"

#include <QSettings>
#include <cstdlib>
#include <optional>

#include "Settings.h"

namespace qmr::test {

std::int64_t QuickClock::NowUs() {
    if (racing) offsetUs_ += 500'000;
    return qmr::SystemClock().NowUs() + offsetUs_;
}

void ClearSettings() {
    QSettings settings("Zandrel", "QMR770");
    settings.clear();
    settings.sync();
}

void WriteSettings(int serialPort, int bauds) {
    QSettings settings("Zandrel", "QMR770");
    settings.setValue("SerialPort", serialPort);
    settings.setValue("Bauds", bauds);
    settings.sync();
}

std::optional<int> ReadSetting(const QString& name) {
    QSettings settings("Zandrel", "QMR770");
    const QVariant v = settings.value(name);
    if (!v.isValid()) return std::nullopt;
    return v.toInt();
}

PortsScope::PortsScope(std::vector<std::string> systemPorts, const std::string& extraPorts) {
    qmr::SetPortSource([ports = std::move(systemPorts)] { return ports; });
    if (extraPorts.empty())
        ::unsetenv("QMR770_PORTS");
    else
        ::setenv("QMR770_PORTS", extraPorts.c_str(), 1);
}

PortsScope::~PortsScope() {
    qmr::SetPortSource(nullptr);
    ::unsetenv("QMR770_PORTS");
}

}  // namespace qmr::test
