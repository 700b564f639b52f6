#include <QKeyEvent>
#include <vector>

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
    EXPECT_EQ(VirtualKeyFromScanCode(82), 109);
    EXPECT_EQ(VirtualKeyFromScanCode(20), 0);  // main-keyboard minus and plus: the layout decides
    EXPECT_EQ(VirtualKeyFromScanCode(21), 0);
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

TEST(KeyCodes, MainKeyboardPlusAndMinusAreTheKeysThatTypeThemInTheActiveGroup) {
    using Syms = std::vector<std::uint32_t>;
    struct Case {
        const char* what;
        Syms keysyms;   // the key's core mapping
        std::uint32_t typed;
        int vk;
    } cases[] = {
        {"us =", {0x3d, 0x2b, 0x3d, 0x2b}, 0x3d, 187},
        {"us Shift+=", {0x3d, 0x2b, 0x3d, 0x2b}, 0x2b, 187},
        {"us Shift+-", {0x2d, 0x5f, 0x2d, 0x5f}, 0x5f, 189},
        {"de + (right of u-umlaut)", {0x2b, 0x2a, 0x2b, 0x2a, 0x7e}, 0x2b, 187},
        {"de Shift++", {0x2b, 0x2a, 0x2b, 0x2a, 0x7e}, 0x2a, 187},
        {"de - (right of .)", {0x2d, 0x5f, 0x2d, 0x5f}, 0x5f, 189},
        {"de sharp s", {0xdf, 0x3f, 0xdf, 0x3f}, 0x3f, 0},
        {"us,de group 2: the us = key is acute", {0x3d, 0x2b, 0xfe51, 0xfe50}, 0xfe51, 0},
        {"de,us group 2: the acute key is =", {0xfe51, 0xfe50, 0x3d, 0x2b}, 0x2b, 187},
        {"ru = (Cyrillic group 2)", {0x3d, 0x2b, 0x3d, 0x2b}, 0x3d, 187},
        {"keymap unknown: the typed symbol", {}, 0x2d, 189},
        {"keymap unknown, Shift+-", {}, 0x5f, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qt::VirtualKeyFromSymbol(qt::PlainSymbolOf(c.keysyms, c.typed)), c.vk) << c.what;
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
    // So is keypad Del: Delete with Num Lock off, the decimal point (ignored) with it on.
    window->Cell(cell)->onClick();
    QKeyEvent decimal(QEvent::KeyPress, Qt::Key_Period, Qt::KeypadModifier, 91, 0xffae, 0, ".");
    QCoreApplication::sendEvent(window.get(), &decimal);
    EXPECT_EQ(st().SelCell, CellNumber(1, cell));
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::KeypadModifier, 91, 0xff9f, 0);
    QCoreApplication::sendEvent(window.get(), &del);
    EXPECT_EQ(st().Grid(1, cell), 0);
}

TEST_F(NativeKeys, KeyOutsideTheScanTableOnAPlatformWithoutX) {
    // The main keyboard's minus (scan code 20) is looked up in the X server's keymap; offscreen
    // there is none, and the symbol typed decides.
    QKeyEvent minus(QEvent::KeyPress, Qt::Key_Minus, {}, 20, 0x2d, 0, QStringLiteral("-"));
    EXPECT_EQ(qt::VirtualKeyOf(minus), 189);
}
