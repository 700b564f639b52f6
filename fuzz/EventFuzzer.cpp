// libFuzzer target: the input's bytes choose the events (and the events inside new
// games and builds) that the exerciser delivers, with the same checks after each.
// The input's length bounds the run: at most one top-level event for every
// kBytesPerEvent bytes, and no event once the bytes are used up, so that an input
// costs in proportion to its length and short inputs run by the thousand a second.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "Session.h"

using namespace sudoku::exercise;

namespace {
constexpr std::size_t kBytesPerEvent = 4;  // an event and its parameters take two to eight bytes
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const float clock = static_cast<float>(data[0] << 8 | data[1]) / 4.0f;
    ByteChoices choices(data + 2, size - 2);
    Options options;
    options.naturalBuildPercent = 2;  // a build by the game's own search takes a while: one per input at most
    options.maxNaturalBuilds = 1;
    Session session(clock, options);
    if (const auto v = session.Generate(choices, static_cast<long>((size - 2) / kBytesPerEvent) + 1)) {
        std::fprintf(stderr, "VIOLATION %s: %s\nreplay: exerciser --replay '%s'\n", v->id.c_str(), v->detail.c_str(),
                     ToText(session.RecordedScript()).c_str());
        std::abort();
    }
    return 0;
}
