#include "platform/web/KeyCodes.h"

#include <array>
#include <utility>

#include "app/VirtualKeys.h"

namespace sudoku::web {

namespace {

constexpr std::int16_t Digit(int d) { return static_cast<std::int16_t>(vk::kDigit0 + d); }
constexpr std::int16_t Keypad(int d) { return static_cast<std::int16_t>(vk::kKeypad0 + d); }

// Keys by what they are whatever the layout, and the keypad's digit keys with Num Lock off.
constexpr std::array<std::pair<std::string_view, std::int16_t>, 16> kNamed{{
    {"Escape", vk::kEscape}, {"Backspace", vk::kBackspace}, {"Delete", vk::kDelete}, {"F3", vk::kF3},
    {"Insert", vk::kInsert}, {"End", vk::kEnd}, {"ArrowDown", vk::kDown}, {"PageDown", vk::kPageDown},
    {"ArrowLeft", vk::kLeft}, {"Clear", vk::kClear}, {"ArrowRight", vk::kRight}, {"Home", vk::kHome},
    {"ArrowUp", vk::kUp}, {"PageUp", vk::kPageUp}, {"NumpadAdd", vk::kKeypadPlus},
    {"NumpadSubtract", vk::kKeypadMinus},
}};

std::int16_t Named(std::string_view name) {
    for (auto [n, code] : kNamed)
        if (n == name) return code;
    return 0;
}

// The n of a name that is prefix followed by one digit, or -1.
int DigitAfter(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + 1 || name.substr(0, prefix.size()) != prefix) return -1;
    const char c = name.back();
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

}  // namespace

std::int16_t VirtualKeyOf(std::string_view code, std::string_view key, std::string_view plain) {
    if (const int d = DigitAfter(code, "Digit"); d >= 0) return Digit(d);
    if (const int d = DigitAfter(code, "Numpad"); d >= 0) {
        // With Num Lock on the key types its digit; off, it is the navigation key it typed.
        return key.size() == 1 && key[0] >= '0' && key[0] <= '9' ? Keypad(d) : Named(key);
    }
    if (code == "NumpadDecimal") return key == "Delete" ? vk::kDelete : vk::kKeypadDecimal;
    if (const std::int16_t named = Named(code)) return named;
    if (plain == "+" || plain == "=") return vk::kPlusKey;
    if (plain == "-") return vk::kMinusKey;
    return 0;
}

}  // namespace sudoku::web
