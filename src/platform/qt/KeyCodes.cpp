#include "platform/qt/KeyCodes.h"

#include "app/VirtualKeys.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <array>
#include <utility>
#include <vector>
#include <cstdlib>

#ifdef SUDOKU_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace sudoku::qt {

namespace {

// Physical keys by their X11/Wayland key code (evdev code + 8).
constexpr std::int16_t Digit(int d) { return static_cast<std::int16_t>(vk::kDigit0 + d); }
constexpr std::int16_t Keypad(int d) { return static_cast<std::int16_t>(vk::kKeypad0 + d); }
constexpr std::array<std::pair<std::uint32_t, std::int16_t>, 27> kScanTable{{
    {9, vk::kEscape},
    {10, Digit(1)}, {11, Digit(2)}, {12, Digit(3)}, {13, Digit(4)}, {14, Digit(5)},       // main row 1..5
    {15, Digit(6)}, {16, Digit(7)}, {17, Digit(8)}, {18, Digit(9)}, {19, Digit(0)},       // main row 6..9, 0
    {22, vk::kBackspace},
    {119, vk::kDelete},
    {79, Keypad(7)}, {80, Keypad(8)}, {81, Keypad(9)}, {82, vk::kKeypadMinus},
    {83, Keypad(4)}, {84, Keypad(5)}, {85, Keypad(6)}, {86, vk::kKeypadPlus},
    {87, Keypad(1)}, {88, Keypad(2)}, {89, Keypad(3)}, {90, Keypad(0)},
    {69, vk::kF3},
    {91, vk::kKeypadDecimal},
}};

constexpr std::uint32_t kSymPlus = 0x2b, kSymEqual = 0x3d, kSymMinus = 0x2d;

// The key's symbols in the X server's current keymap; empty without an X11 connection.
std::vector<std::uint32_t> KeySymbolsOf(std::uint32_t scanCode) {
    std::vector<std::uint32_t> syms;
#ifdef SUDOKU_HAVE_XCB
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;  // none on a platform without X
    if (!c || scanCode < 8 || scanCode > 255) return syms;
    const auto code = static_cast<xcb_keycode_t>(scanCode);
    xcb_get_keyboard_mapping_reply_t* reply =
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, code, 1), nullptr);
    if (!reply) return syms;
    const xcb_keysym_t* first = xcb_get_keyboard_mapping_keysyms(reply);
    syms.assign(first, first + xcb_get_keyboard_mapping_keysyms_length(reply));
    std::free(reply);
#else
    (void)scanCode;
#endif
    return syms;
}

}  // namespace

std::int16_t VirtualKeyFromScanCode(std::uint32_t scanCode) {
    for (auto [code, vk] : kScanTable)
        if (code == scanCode) return vk;
    return 0;
}

std::int16_t VirtualKeyFromQtKey(int key, bool keypad) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return keypad ? Keypad(key - Qt::Key_0) : Digit(key - Qt::Key_0);
    switch (key) {
        // What the keypad's digit keys are with Num Lock off, as on Windows; the game ignores them.
        case Qt::Key_Insert: return vk::kInsert;
        case Qt::Key_End: return vk::kEnd;
        case Qt::Key_Down: return vk::kDown;
        case Qt::Key_PageDown: return vk::kPageDown;
        case Qt::Key_Left: return vk::kLeft;
        case Qt::Key_Clear: return vk::kClear;
        case Qt::Key_Right: return vk::kRight;
        case Qt::Key_Home: return vk::kHome;
        case Qt::Key_Up: return vk::kUp;
        case Qt::Key_PageUp: return vk::kPageUp;
        case Qt::Key_Period: return keypad ? vk::kKeypadDecimal : 0;
        case Qt::Key_Escape: return vk::kEscape;
        case Qt::Key_Plus: return keypad ? vk::kKeypadPlus : vk::kPlusKey;
        case Qt::Key_Equal: return vk::kPlusKey;
        case Qt::Key_Minus: return keypad ? vk::kKeypadMinus : vk::kMinusKey;
        case Qt::Key_Delete: return vk::kDelete;
        case Qt::Key_Backspace: return vk::kBackspace;
        case Qt::Key_F3: return vk::kF3;
        default: return 0;
    }
}

std::int16_t VirtualKeyFromSymbol(std::uint32_t plain) {
    if (plain == kSymPlus || plain == kSymEqual) return vk::kPlusKey;
    return plain == kSymMinus ? vk::kMinusKey : 0;
}

std::uint32_t PlainSymbolOf(std::span<const std::uint32_t> syms, std::uint32_t typed) {
    // Core order: group 1 levels 1-2, group 2 levels 1-2, group 1 levels 3-4, group 2 levels 3-4,
    // then four symbols for each further group.
    for (std::size_t i = 0; i < syms.size(); i += (i == 2 ? 6 : i < 2 ? 2 : 4))
        if (syms[i] == typed || (i + 1 < syms.size() && syms[i + 1] == typed)) return syms[i];
    return syms.empty() ? typed : syms[0];
}

std::int16_t VirtualKeyOf(const QKeyEvent& event) {
#ifdef Q_OS_WIN
    if (event.nativeVirtualKey() != 0) return static_cast<std::int16_t>(event.nativeVirtualKey() & 0xFF);
#else
    if (const std::uint32_t scan = event.nativeScanCode(); scan != 0) {
        // As on Windows, Num Lock decides what the keypad's digit keys and Del are: digits and
        // the decimal point with it on, navigation keys and Delete with it off.
        if (const std::int16_t code = VirtualKeyFromScanCode(scan)) {
            const bool keypadDigitOrDel = (code >= vk::kKeypad0 && code <= vk::kKeypad0 + 9) || code == vk::kKeypadDecimal;
            const bool numLockOn = (event.key() >= Qt::Key_0 && event.key() <= Qt::Key_9) ||
                                   event.key() == Qt::Key_Period || event.key() == Qt::Key_Comma;
            if (!keypadDigitOrDel || numLockOn) return code;
            return VirtualKeyFromQtKey(event.key(), true);
        }
        if (event.key() == Qt::Key_Delete) return vk::kDelete;
        return VirtualKeyFromSymbol(PlainSymbolOf(KeySymbolsOf(scan), event.nativeVirtualKey()));
    }
#endif
    return VirtualKeyFromQtKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

}  // namespace sudoku::qt
