// The main of the window tests: one application object on the offscreen
// platform, with the guard of the programs, and settings that live in a
// temporary folder so no test touches the user's.
#include <gtest/gtest.h>

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>

#include "Application.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::unsetenv("QMR770_PORTS");
    ::testing::InitGoogleTest(&argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir settingsDir;
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
        for (const auto scope : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(format, scope, settingsDir.path());
    qmr::ui::Application app(argc, argv, "ui-tests");
    return RUN_ALL_TESTS();
}
