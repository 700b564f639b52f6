// What one input may cost. Its length bounds the events: at most one top-level event
// for every kBytesPerEvent bytes, and none once the bytes are used up. Builds by the
// game's own search are the costly part: a pass that fails runs the search's whole
// attempt limit, and a search may fail dozens of times in a row. So an input gets one
// such build, and that build kOwnPasses passes of its own; should they fail, the draws
// of a complete grid are scripted and the next pass lays it down. One failed pass still
// reaches the start-over path and the events delivered between passes, and keeps every
// input of up to 1024 bytes under 100 ms in the instrumented build (with the random
// generator left uninstrumented, uninstrumented.txt).
#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>

#include "ScriptedGrid.h"

namespace sudoku::fuzz {

using namespace exercise;

namespace {
constexpr std::size_t kBytesPerEvent = 4;  // an event and its parameters take two to eight bytes
constexpr int kOwnPasses = 1;
}  // namespace

InputRun RunInput(const std::uint8_t* data, std::size_t size, const std::function<void(Session&)>& prepare) {
    InputRun run;
    if (size < 2) return run;
    const float clock = static_cast<float>(data[0] << 8 | data[1]) / 4.0f;
    ByteChoices choices(data + 2, size - 2);
    Options options;
    options.naturalBuildPercent = 2;  // new games by the game's own search: rare, one per input
    options.maxNaturalBuilds = 1;
    Session session(clock, options);
    memory::MemoryForm& form = session.Form();

    int ownPasses = 0;  // of the running build
    std::optional<Grid9> scripted;  // the grid a cut-short build must lay down
    form.pump.onProcess = [&, deliver = std::move(form.pump.onProcess)] {
        const GameState& st = form.game.st;
        if (st.Busy == 1) {
            if (scripted) throw ViolationError({"cut-short-build", "the pass with scripted draws did not end the build"});
            if (form.random.script.empty() && ++ownPasses > kOwnPasses) {
                scripted = GridFromSeed(static_cast<std::uint32_t>(form.random.draws));
                for (float v : BuildDraws(*scripted)) form.random.script.push_back(v);
                ++run.cutShort;
            }
        } else {
            if (scripted && !(st.Givens == *scripted))
                throw ViolationError({"cut-short-build", "the build did not lay down the grid of its scripted draws"});
            ownPasses = 0;
            scripted.reset();
        }
        deliver();
    };
    if (prepare) prepare(session);
    run.violation = session.Generate(choices, static_cast<long>((size - 2) / kBytesPerEvent) + 1);
    if (run.violation) run.script = ToText(session.RecordedScript());
    run.stats = session.stats();
    return run;
}

void CheckInput(const std::uint8_t* data, std::size_t size, const std::function<void(Session&)>& prepare) {
    const InputRun run = RunInput(data, size, prepare);
    if (!run.violation) return;
    std::fprintf(stderr, "VIOLATION %s: %s\n", run.violation->id.c_str(), run.violation->detail.c_str());
    if (run.cutShort == 0)
        std::fprintf(stderr, "replay: exerciser --replay '%s'\n", run.script.c_str());
    else  // the exerciser's replay lets the game's search run on
        std::fprintf(stderr, "replay: event_fuzzer with the input libFuzzer writes (a build was cut short)\n");
    std::abort();
}

}  // namespace sudoku::fuzz
