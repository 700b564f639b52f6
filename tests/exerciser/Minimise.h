#pragma once
// Shrinks a failing event script to a short one that still fails the same way.
#include <functional>
#include <optional>

#include "Checker.h"
#include "Token.h"

namespace sudoku::exercise {

using ScriptRunner = std::function<std::optional<Violation>(const Script&)>;

// Replays a script on a fresh window.
std::optional<Violation> ReplayScript(const Script& script);

struct MinimiseResult {
    Script script;
    Violation violation;
    long replays = 0;
    bool complete = false;  // false when the time budget ran out first
};

// Removes ever smaller runs of events while the run still fails with the same
// violation id, then simplifies single events (held keys, self-built grids).
MinimiseResult Minimise(const Script& failing, const std::string& violationId, const ScriptRunner& run,
                        double seconds);

}  // namespace sudoku::exercise
