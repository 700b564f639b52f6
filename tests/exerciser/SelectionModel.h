#pragma once
// A small reference model of choosing cells and picker entries and writing digits,
// to predict what one event does to the selection, the digits and the solved flag.
#include <optional>

#include "Token.h"
#include "app/GameState.h"

namespace sudoku::exercise {

struct PlayState {
    std::int16_t SelCell = 0, SelDigit = 0, Solved = 0, Busy = 0, EscAction = 0;
    Grid9 Givens, Grid;
    bool operator==(const PlayState&) const = default;
};

PlayState PlayStateOf(const GameState& st);

// What the event leaves, or nothing when the model does not cover it
// (new games, closing, ticks, the Esc menu items).
std::optional<PlayState> Predict(const PlayState& before, const Token& t);

}  // namespace sudoku::exercise
