#include <QKeyEvent>

#include "QtFixture.h"
#include "platform/qt/KeyCodes.h"

using namespace sudoku;
using namespace sudoku::test;
using qt::VirtualKeyFromQtKey;
using qt::VirtualKeyFromScanCode;

TEST(KeyCodes, PhysicalKeysGiveTheirVirtualKeyWhateverTheLayout) {
    for (int d = 1; d <= 9; ++d) EXPECT_EQ(VirtualKeyFromScanCode(9 + d), 48 + d);  // main row 1..9
    EXPECT_EQ(VirtualKeyFromScanCode(19), 48);
    const std::pair<std::uint32_t, int> keypad[] = {{90, 96}, {87, 97}, {88, 98}, {89, 99}, {83, 100},
                                                    {84, 101}, {85, 102}, {79, 103}, {80, 104}, {81, 105}};
    for (auto [scan, vk] : keypad) EXPECT_EQ(VirtualKeyFromScanCode(scan), vk) << scan;
    EXPECT_EQ(VirtualKeyFromScanCode(9), 27);
    EXPECT_EQ(VirtualKeyFromScanCode(86), 107);
    EXPECT_EQ(VirtualKeyFromScanCode(21), 187);
    EXPECT_EQ(VirtualKeyFromScanCode(82), 109);
    EXPECT_EQ(VirtualKeyFromScanCode(20), 189);
    EXPECT_EQ(VirtualKeyFromScanCode(119), 46);
    EXPECT_EQ(VirtualKeyFromScanCode(22), 8);
    EXPECT_EQ(VirtualKeyFromScanCode(38), 0);  // a letter: of no use to the game
}

TEST(KeyCodes, WithoutAScanCodeTheKeyAndKeypadFlagDecide) {
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_7, false), 55);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_7, true), 103);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_0, true), 96);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Plus, true), 107);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Plus, false), 187);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Equal, false), 187);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Minus, true), 109);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Minus, false), 189);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Escape, false), 27);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Delete, false), 46);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Backspace, false), 8);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_A, false), 0);
}

using NativeKeys = RealWindow;

TEST_F(NativeKeys, ShiftOneUnderAnyLayoutEntersOne) {
    // What an X11 server sends for Shift+1: the printed character depends on the layout
    // ("!" in a US layout, also "!" in a Russian one, or '"' elsewhere); the key code does not.
    const std::pair<Qt::Key, const char*> layouts[] = {{Qt::Key_Exclam, "!"}, {Qt::Key_QuoteDbl, "\""}};
    int cell = 1;
    for (auto [key, text] : layouts) {
        window->Cell(cell)->onClick();
        QKeyEvent press(QEvent::KeyPress, key, Qt::ShiftModifier, 10, 0x21, 0x1, QString::fromLatin1(text));
        QCoreApplication::sendEvent(window.get(), &press);
        EXPECT_EQ(st().Grid(1, cell), 1);
        ++cell;
    }
    // Keypad 5 is its own physical key, also with Num Lock off (the toolkit then reports "Clear").
    window->Cell(cell)->onClick();
    QKeyEvent keypad(QEvent::KeyPress, Qt::Key_Clear, Qt::KeypadModifier, 84, 0xff9d, 0);
    QCoreApplication::sendEvent(window.get(), &keypad);
    EXPECT_EQ(st().Grid(1, cell), 5);
}
