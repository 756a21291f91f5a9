// Test entry for the Qt areas: one QApplication on the offscreen platform for all tests.
#include <gtest/gtest.h>

#include <QApplication>

#include "toolkit/fonts.h"

int main(int argc, char** argv) {
    // VESTRAL_QPA=xcb runs the tests on a real (virtual) display, for screenshots of the windows.
    const QByteArray platform = qgetenv("VESTRAL_QPA");
    qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArray("offscreen") : platform);
    QApplication app(argc, argv);
    vestral::toolkit::install_font_substitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
