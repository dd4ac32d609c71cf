#include "UiTestSupport.h"

#include <QRect>
#include <cstdlib>

#include <QApplication>
#include <QKeyEvent>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStyle>
#include <QToolButton>
#include <algorithm>
#include <cstdlib>
#include <optional>

#include "LinkHooks.h"
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

QString WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
    return path;
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void ExpectPlacedOver(const QWidget& mainClient, QPoint pos, const QWidget& form) {
    const QRect client(mainClient.mapToGlobal(QPoint(0, 0)), mainClient.size());
    const QRect dlg(pos, form.frameGeometry().size());
    EXPECT_LE(std::abs((dlg.left() - client.left()) - (client.right() - dlg.right())), 1)
        << form.objectName().toStdString();
    // A quarter of the free height above, to a pixel either way.
    const int above = dlg.top() - client.top(), free = client.height() - dlg.height();
    EXPECT_LE(std::abs(4 * above - free), 7) << form.objectName().toStdString();
}

void Type(QWidget& control, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&control, &press);
    }
}

QStringList ItemsOf(const QComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) items << combo.itemText(i);
    return items;
}

namespace {

int TextWidth(const QWidget& control, const QString& text) {
    return control.fontMetrics().horizontalAdvance(QString(text).remove('&'));
}

// The width the control needs to show all of its caption.
int NeededWidth(const QWidget& control) {
    const int margin = control.style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &control);
    if (const auto* label = qobject_cast<const QLabel*>(&control)) return TextWidth(control, label->text());
    // Indicator, spacing and text, without the minimum a push button asks for.
    if (qobject_cast<const QCheckBox*>(&control) || qobject_cast<const QRadioButton*>(&control))
        return control.sizeHint().width();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control))
        return TextWidth(control, button->text()) + 2 * margin;
    // The frame's title stands on the frame, indented by a few pixels.
    if (const auto* group = qobject_cast<const QGroupBox*>(&control)) return TextWidth(control, group->title()) + 16;
    if (const auto* combo = qobject_cast<const QComboBox*>(&control)) {
        int widest = 0;
        for (int i = 0; i < combo->count(); ++i) widest = std::max(widest, TextWidth(control, combo->itemText(i)));
        const int arrow = control.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &control);
        return widest + arrow + 2 * margin;
    }
    return 0;
}

QString CaptionOf(const QWidget& control) {
    if (const auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) return button->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(&control)) return group->title();
    if (const auto* combo = qobject_cast<const QComboBox*>(&control)) return combo->currentText();
    return {};
}

// The form's own named controls, not Qt's inner parts or other windows.
std::vector<const QWidget*> ControlsOf(const QWidget& form) {
    std::vector<const QWidget*> controls;
    for (const QWidget* control : form.findChildren<QWidget*>())
        if (control->window() == &form && !control->objectName().isEmpty() && !control->objectName().startsWith("qt_"))
            controls.push_back(control);
    return controls;
}

}  // namespace

std::vector<std::string> ClippedCaptions(const QWidget& form) {
    std::vector<std::string> clipped;
    for (const QWidget* control : ControlsOf(form)) {
        if (NeededWidth(*control) > control->width())
            clipped.push_back(QString("%1: %2 (needs %3, has %4)")
                                  .arg(control->objectName(), CaptionOf(*control))
                                  .arg(NeededWidth(*control))
                                  .arg(control->width())
                                  .toStdString());
    }
    return clipped;
}

std::vector<std::string> OverlappingControls(const QWidget& form) {
    std::vector<std::string> overlapping;
    const std::vector<const QWidget*> controls = ControlsOf(form);
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = i + 1; j < controls.size(); ++j)
            if (controls[i]->parentWidget() == controls[j]->parentWidget() &&
                controls[i]->geometry().intersects(controls[j]->geometry()))
                overlapping.push_back((controls[i]->objectName() + " / " + controls[j]->objectName()).toStdString());
    return overlapping;
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

void StartPortReadingAsMainDoes(std::vector<std::string> systemPorts, std::thread::id& readOn) {
    qmr::SetPortSource([&readOn, ports = std::move(systemPorts)] {
        readOn = std::this_thread::get_id();
        return ports;
    });
    qmr::ui::StartPortEnumeration();
    qmr::SetPortSource([] { return std::vector<std::string>{}; });
}

}  // namespace qmr::test
