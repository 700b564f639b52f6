#include <gtest/gtest.h>

#include <QApplication>

#include "platform/qt/QtStyle.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    sudoku::qt::UseStyleWithLazyIcons();  // as the game runs
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
