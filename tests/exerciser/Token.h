#pragma once
// One user event (or the end of one round of event processing) as the exerciser
// records and replays it, and its one-line text form.
#include <cstdint>
#include <string>
#include <vector>

namespace sudoku::exercise {

enum class Kind : std::uint8_t {
    CellClick,        // lblSudoku(arg) clicked
    CellDblClick,     // double click: a click, then the double-click event
    PickerClick,      // lblSetNum(arg) clicked
    PickerDblClick,
    InfoClick,        // the status line: it has no handler
    Key,              // key code arg, pressed repeat times (auto-repeat), with modifiers shift
    Menu,             // menu item MenuItems()[arg] chosen
    Tick,             // tmrPostr elapsed; delivered only while the timer runs
    Close,            // the window's close box
    MinimiseRefusal,  // the platform starts (or stops) refusing to minimise
    Yield,            // the current round of event processing ends
};

struct Token {
    Kind kind = Kind::Yield;
    std::int16_t arg = 0;
    std::int16_t repeat = 1;
    std::int16_t shift = 0;
    // New-game commands: 0 lets the game build its own grid; otherwise the seed of a
    // grid whose random draws are scripted, so that the build succeeds in one pass.
    std::uint32_t buildSeed = 0;
    bool operator==(const Token&) const = default;
};

// A recorded run: the clock reading that seeds the game at start, and the events.
struct Script {
    float clockSeconds = 0;
    std::vector<Token> tokens;
};

// The items of the menu bar in order, separators included.
const std::vector<std::string>& MenuItems();
int MenuIndex(const std::string& name);  // -1 when there is no such item
bool IsSeparator(int menuIndex);
bool StartsNewGame(int menuIndex);  // "Новая" and the six difficulty items

// Text form, e.g. "@3600.25 c12 p5 k53x3 m:mnuGame45#77 y t y X".
std::string ToText(const Token& t);
std::string ToText(const Script& s);
Script ParseScript(const std::string& text);  // throws std::invalid_argument

}  // namespace sudoku::exercise
