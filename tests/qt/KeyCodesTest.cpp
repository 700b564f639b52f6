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
        // Past the second group: group 1 levels 3-4 and group 2 levels 3-4 are no groups, then four a group.
        {"group 2 level 4 is no group", {0x3d, 0x2b, 0xfe51, 0xfe50, 0, 0, 0x2d, 0x5f}, 0x5f, 187},
        {"group 3 -", {0x71, 0x51, 0x6a, 0x4a, 0x40, 0, 0, 0, 0x2d, 0x5f, 0, 0}, 0x5f, 189},
        {"group 4 =, + on group 3 level 4", {0x71, 0x51, 0x6a, 0x4a, 0, 0, 0, 0, 0x61, 0x41, 0x2d, 0x2b, 0x3d, 0x2b, 0, 0},
         0x2b, 187},
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
        Click(Cell(cell));
        QKeyEvent press(QEvent::KeyPress, key, Qt::ShiftModifier, 10, 0x21, 0x1, QString::fromLatin1(text));
        QCoreApplication::sendEvent(window.get(), &press);
        EXPECT_EQ(st().Grid(1, cell), 1);
        ++cell;
    }
    // Keypad Del is its own key: the decimal point (ignored) with Num Lock on.
    Click(Cell(cell));
    QKeyEvent decimal(QEvent::KeyPress, Qt::Key_Period, Qt::KeypadModifier, 91, 0xffae, 0, ".");
    QCoreApplication::sendEvent(window.get(), &decimal);
    EXPECT_EQ(st().SelCell, CellNumber(1, cell));
}

// The keypad as Windows has it: Num Lock on gives digits, off navigation keys (ignored) and Delete.
struct KeypadKey {
    const char* key;
    std::uint32_t scan;
    std::uint32_t symOn;
    Qt::Key qtOn;
    std::uint32_t symOff;
    Qt::Key qtOff;
    int vkOn, vkOff;
    int entersOn, entersOff;  // -1 nothing, 0 erases
};
#define KEYPAD_KEY(key, scan, xOn, symOn, qtOn, xOff, symOff, qtOff, vkOn, vkOff, on, off) \
    {key, scan, symOn, Qt::qtOn, symOff, Qt::qtOff, vkOn, vkOff, on, off},
constexpr KeypadKey kKeypad[] = {
#include "../KeypadKeys.def"
};
#undef KEYPAD_KEY

TEST_F(NativeKeys, KeypadFollowsNumLockAsOnWindows) {
    int cell = 1;
    for (const KeypadKey& k : kKeypad) {
        for (bool numLock : {true, false}) {
            SCOPED_TRACE(testing::Message() << "keypad " << k.key << (numLock ? ", Num Lock on" : ", Num Lock off"));
            const Qt::Key qtKey = numLock ? k.qtOn : k.qtOff;
            const QString text = numLock && qtKey != Qt::Key_Period ? QString(k.key) : QString();
            QKeyEvent press(QEvent::KeyPress, qtKey, Qt::KeypadModifier, k.scan, numLock ? k.symOn : k.symOff,
                            numLock ? 0x10 : 0, text);
            EXPECT_EQ(qt::VirtualKeyOf(press), numLock ? k.vkOn : k.vkOff);
            // What the player sees: a cell holding 9, selected, then the key.
            const int r = 2 + cell / 9, c = 1 + cell % 9;
            st().Grid(r, c) = 9;
            Click(Cell(CellNumber(r, c)));
            QCoreApplication::sendEvent(window.get(), &press);
            const int enters = numLock ? k.entersOn : k.entersOff;
            EXPECT_EQ(st().Grid(r, c), enters < 0 ? 9 : enters);
            EXPECT_EQ(st().SelCell, enters < 0 ? CellNumber(r, c) : 0);
            ++cell;
        }
    }
}

TEST_F(NativeKeys, KeyOutsideTheScanTableOnAPlatformWithoutX) {
    // The main keyboard's minus (scan code 20) is looked up in the X server's keymap; offscreen
    // there is none, and the symbol typed decides.
    QKeyEvent minus(QEvent::KeyPress, Qt::Key_Minus, {}, 20, 0x2d, 0, QStringLiteral("-"));
    EXPECT_EQ(qt::VirtualKeyOf(minus), 189);
}
