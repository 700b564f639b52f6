#include "Minimise.h"

#include <chrono>

#include "Session.h"

namespace sudoku::exercise {

std::optional<Violation> ReplayScript(const Script& script) {
    Session session(script.clockSeconds);
    return session.Replay(script.tokens);
}

MinimiseResult Minimise(const Script& failing, const std::string& violationId, const ScriptRunner& run,
                        double seconds) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    MinimiseResult best{failing, {violationId, ""}, 0, false};
    auto stillFails = [&](const Script& candidate) {
        ++best.replays;
        const auto v = run(candidate);
        if (!v || v->id != violationId) return false;
        best.script = candidate;
        best.violation = *v;
        return true;
    };
    if (!stillFails(failing)) return best;  // not reproducible: nothing to shrink

    auto& tokens = best.script.tokens;
    bool changed = true;
    while (changed) {
        changed = false;
        for (std::size_t chunk = std::max<std::size_t>(tokens.size() / 2, 1); chunk >= 1; chunk /= 2) {
            for (std::size_t i = 0; i < tokens.size();) {
                if (Clock::now() > deadline) return best;
                Script candidate = best.script;
                const std::size_t end = std::min(tokens.size(), i + chunk);
                candidate.tokens.erase(candidate.tokens.begin() + static_cast<long>(i),
                                       candidate.tokens.begin() + static_cast<long>(end));
                if (stillFails(candidate)) changed = true;
                else i += chunk;
            }
            if (chunk == 1) break;
        }
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            if (Clock::now() > deadline) return best;
            Script candidate = best.script;
            Token& t = candidate.tokens[i];
            if (t.kind == Kind::Key && (t.repeat != 1 || t.shift != 0)) t.repeat = 1, t.shift = 0;
            else if (t.kind == Kind::Menu && t.buildSeed == 0 && StartsNewGame(t.arg)) t.buildSeed = 1;
            else if (t.kind == Kind::CellDblClick) t.kind = Kind::CellClick;
            else if (t.kind == Kind::PickerDblClick) t.kind = Kind::PickerClick;
            else continue;
            if (stillFails(candidate)) changed = true;
        }
    }
    best.complete = true;
    return best;
}

}  // namespace sudoku::exercise
