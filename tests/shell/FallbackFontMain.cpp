#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

#include "shell/CopperTheme.h"

// The window's tests as a system without Tahoma runs them: fontconfig is told to reject Tahoma,
// and the theme is given no Tahoma file, so the window falls back on another font.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("fonts.conf")));
    if (!dir.isValid() || !config.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write a fontconfig file\n");
        return 1;
    }
    config.write(R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <selectfont><rejectfont><pattern>
    <patelt name="family"><string>Tahoma</string></patelt>
  </pattern></rejectfont></selectfont>
</fontconfig>
)");
    config.close();
    qputenv("FONTCONFIG_FILE", QFile::encodeName(config.fileName()));

    QApplication app(argc, argv);
    // The user's settings go to a folder of the run's own, as in the window's other tests.
    const QTemporaryDir settings;
    if (!settings.isValid()) {
        return 1;
    }
    qputenv("ZELKORA_TEST_SETTINGS", settings.path().toLocal8Bit());
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, settings.path());
    }
    zelkora::CopperTheme::apply(app, QString());
    const QString family = QFontInfo(QApplication::font()).family();
    if (family == QLatin1String("Tahoma")) {
        std::fprintf(stderr, "Tahoma is still found: this run would test nothing\n");
        return 1;
    }
    std::fprintf(stderr, "Falling back on %s\n", qPrintable(family));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
