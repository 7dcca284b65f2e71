#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include "shell/CopperTheme.h"

// One QApplication for the process, dressed as the program dresses it, so that the window
// under test has the program's fonts and style. The user's settings go to a folder of the run's
// own, named in ZELKORA_TEST_SETTINGS, never to the settings of whoever runs the tests.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QTemporaryDir settings;
    if (!settings.isValid()) {
        return 1;
    }
    qputenv("ZELKORA_TEST_SETTINGS", settings.path().toLocal8Bit());
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, settings.path());
    }
    zelkora::CopperTheme::apply(app);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
