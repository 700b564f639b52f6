#include "platform/qt/KeyCodes.h"

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
constexpr std::array<std::pair<std::uint32_t, std::int16_t>, 27> kScanTable{{
    {9, 27},                                                     // Esc
    {10, 49}, {11, 50}, {12, 51}, {13, 52}, {14, 53},            // main row 1..5
    {15, 54}, {16, 55}, {17, 56}, {18, 57}, {19, 48},            // main row 6..9, 0
    {22, 8},                                                     // Backspace
    {119, 46},                                                   // Delete
    {79, 103}, {80, 104}, {81, 105}, {82, 109},                  // keypad 7 8 9 -
    {83, 100}, {84, 101}, {85, 102}, {86, 107},                  // keypad 4 5 6 +
    {87, 97}, {88, 98}, {89, 99}, {90, 96},                      // keypad 1 2 3 0
    {69, 114},                                                   // F3
    {91, 110},                                                   // keypad decimal
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
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<std::int16_t>((keypad ? 96 : 48) + (key - Qt::Key_0));
    switch (key) {
        // What the keypad's digit keys are with Num Lock off, as on Windows; the game ignores them.
        case Qt::Key_Insert: return 45;
        case Qt::Key_End: return 35;
        case Qt::Key_Down: return 40;
        case Qt::Key_PageDown: return 34;
        case Qt::Key_Left: return 37;
        case Qt::Key_Clear: return 12;
        case Qt::Key_Right: return 39;
        case Qt::Key_Home: return 36;
        case Qt::Key_Up: return 38;
        case Qt::Key_PageUp: return 33;
        case Qt::Key_Period: return keypad ? 110 : 0;
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

std::int16_t VirtualKeyFromSymbol(std::uint32_t plain) {
    if (plain == kSymPlus || plain == kSymEqual) return 187;
    return plain == kSymMinus ? 189 : 0;
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
        if (const std::int16_t vk = VirtualKeyFromScanCode(scan)) {
            const bool keypadDigitOrDel = (vk >= 96 && vk <= 105) || vk == 110;
            const bool numLockOn = (event.key() >= Qt::Key_0 && event.key() <= Qt::Key_9) ||
                                   event.key() == Qt::Key_Period || event.key() == Qt::Key_Comma;
            if (!keypadDigitOrDel || numLockOn) return vk;
            return VirtualKeyFromQtKey(event.key(), true);
        }
        if (event.key() == Qt::Key_Delete) return 46;
        return VirtualKeyFromSymbol(PlainSymbolOf(KeySymbolsOf(scan), event.nativeVirtualKey()));
    }
#endif
    return VirtualKeyFromQtKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

}  // namespace sudoku::qt
