#pragma once
// One fuzz input run through the exerciser: its first two bytes set the clock that
// seeds the game, the rest choose the events and every choice inside them.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "Session.h"

namespace sudoku::fuzz {

struct InputRun {
    std::optional<exercise::Violation> violation;
    std::string script;  // on a violation: what was delivered, as `exerciser --replay` reads it
    exercise::Stats stats;
    int cutShort = 0;  // builds of the game's own search finished by scripted draws
};

// Runs the input; prepare, if given, sees the session before its first event.
InputRun RunInput(const std::uint8_t* data, std::size_t size,
                  const std::function<void(exercise::Session&)>& prepare = {});

// As libFuzzer runs an input: a violation is printed and aborts, so that libFuzzer
// keeps the input as a crash.
void CheckInput(const std::uint8_t* data, std::size_t size,
                const std::function<void(exercise::Session&)>& prepare = {});

}  // namespace sudoku::fuzz
