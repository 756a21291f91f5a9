// Test entry for the Qt areas: one QApplication on the offscreen platform for all tests.
#include <gtest/gtest.h>

#include <QApplication>

#include "toolkit/fonts.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vestral::toolkit::install_font_substitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
