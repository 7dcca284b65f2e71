#include <gtest/gtest.h>

#include <QApplication>

#include "shell/CopperTheme.h"

// One QApplication for the process, dressed as the program dresses it, so that the window
// under test has the program's fonts and style.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    zelkora::CopperTheme::apply(app);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
