#include <gtest/gtest.h>

#include <QGuiApplication>

// The figure's text needs Qt's fonts, and they need a QGuiApplication: the offscreen one, as
// zelkora-cli uses.
int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
