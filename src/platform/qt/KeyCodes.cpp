#include "platform/qt/KeyCodes.h"

#include <QKeyEvent>
#include <array>
#include <utility>

namespace sudoku::qt {

namespace {

// Physical keys by their X11/Wayland key code (evdev code + 8).
constexpr std::array<std::pair<std::uint32_t, std::int16_t>, 29> kScanTable{{
    {9, 27},                                                     // Esc
    {10, 49}, {11, 50}, {12, 51}, {13, 52}, {14, 53},            // main row 1..5
    {15, 54}, {16, 55}, {17, 56}, {18, 57}, {19, 48},            // main row 6..9, 0
    {20, 189}, {21, 187},                                        // minus, plus/equals
    {22, 8},                                                     // Backspace
    {119, 46},                                                   // Delete
    {79, 103}, {80, 104}, {81, 105}, {82, 109},                  // keypad 7 8 9 -
    {83, 100}, {84, 101}, {85, 102}, {86, 107},                  // keypad 4 5 6 +
    {87, 97}, {88, 98}, {89, 99}, {90, 96},                      // keypad 1 2 3 0
    {69, 114},                                                   // F3
    {91, 110},                                                   // keypad decimal
}};

}  // namespace

std::int16_t VirtualKeyFromScanCode(std::uint32_t scanCode) {
    for (auto [code, vk] : kScanTable)
        if (code == scanCode) return vk;
    return 0;
}

std::int16_t VirtualKeyFromQtKey(int key, bool keypad) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<std::int16_t>((keypad ? 96 : 48) + (key - Qt::Key_0));
    switch (key) {
        case Qt::Key_Escape: return 27;
        case Qt::Key_Plus: return keypad ? 107 : 187;
        case Qt::Key_Equal: return 187;
        case Qt::Key_Minus: return keypad ? 109 : 189;
        case Qt::Key_Delete: return 46;
        case Qt::Key_Backspace: return 8;
        case Qt::Key_F3: return 114;
        default: return 0;
    }
}

std::int16_t VirtualKeyOf(const QKeyEvent& event) {
#ifdef Q_OS_WIN
    if (event.nativeVirtualKey() != 0) return static_cast<std::int16_t>(event.nativeVirtualKey() & 0xFF);
#else
    if (event.nativeScanCode() != 0) return VirtualKeyFromScanCode(event.nativeScanCode());
#endif
    return VirtualKeyFromQtKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

}  // namespace sudoku::qt
