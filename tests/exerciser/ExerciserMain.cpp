// Seeded random event exerciser: plays the real handlers of the game in memory,
// nested inside new games and builds as often as at the top, and checks the
// invariants after every event. A failure is shrunk to a short replayable script.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Minimise.h"
#include "Session.h"

using namespace sudoku::exercise;

namespace {

struct Args {
    std::uint64_t seed = 1;
    long events = 200000;
    long episodeEvents = 1500;  // top-level events of one fresh window
    long onlyEpisode = -1;
    int naturalPercent = 6;
    double minimiseSeconds = 120;
    std::string replay;
};

void Usage() {
    std::fprintf(stderr,
                 "usage: exerciser [--seed N] [--events N] [--episode-events N] [--natural PERCENT]\n"
                 "                 [--episode K] [--minimise-seconds S] [--replay SCRIPT]\n");
    std::exit(2);
}

Args Parse(int argc, char** argv) {
    Args a;
    for (int i = 1; i < argc; ++i) {
        const std::string opt = argv[i];
        if (i + 1 >= argc) Usage();
        const char* v = argv[++i];
        if (opt == "--seed") a.seed = std::strtoull(v, nullptr, 10);
        else if (opt == "--events") a.events = std::atol(v);
        else if (opt == "--episode-events") a.episodeEvents = std::atol(v);
        else if (opt == "--episode") a.onlyEpisode = std::atol(v);
        else if (opt == "--natural") a.naturalPercent = std::atoi(v);
        else if (opt == "--minimise-seconds") a.minimiseSeconds = std::atof(v);
        else if (opt == "--replay") a.replay = v;
        else Usage();
    }
    return a;
}

// The clock reading that seeds the game of one episode: a multiple of 1/4 s, exact as a float.
float EpisodeClock(std::uint64_t seed, long episode) {
    SeededChoices mix(seed * 0x100000001B3ull + static_cast<std::uint64_t>(episode));
    return static_cast<float>(mix.Below(345600)) / 4.0f;
}

int ReportFailure(const Args& a, long episode, const Session& session, const Violation& v) {
    std::printf("VIOLATION %s: %s\n", v.id.c_str(), v.detail.c_str());
    std::printf("seed %llu, episode %ld; the whole run again: exerciser --seed %llu --episode %ld\n",
                static_cast<unsigned long long>(a.seed), episode, static_cast<unsigned long long>(a.seed), episode);
    std::printf("%zu events recorded; shrinking (at most %.0f s)...\n", session.Recorded().size(), a.minimiseSeconds);
    std::fflush(stdout);
    const MinimiseResult m = Minimise(session.RecordedScript(), v.id, ReplayScript, a.minimiseSeconds);
    std::printf("%s script of %zu events after %ld replays:\n%s\n", m.complete ? "shortest" : "shortest so far",
                m.script.tokens.size(), m.replays, ToText(m.script).c_str());
    std::printf("it fails with %s: %s\n", m.violation.id.c_str(), m.violation.detail.c_str());
    std::printf("replay: exerciser --replay '%s'\n", ToText(m.script).c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const Args a = Parse(argc, argv);
    if (!a.replay.empty()) {
        const Script s = ParseScript(a.replay);
        const auto v = ReplayScript(s);
        if (!v) {
            std::printf("replayed %zu events: no violation\n", s.tokens.size());
            return 0;
        }
        std::printf("VIOLATION %s: %s\nshrinking (at most %.0f s)...\n", v->id.c_str(), v->detail.c_str(),
                    a.minimiseSeconds);
        std::fflush(stdout);
        const MinimiseResult m = Minimise(s, v->id, ReplayScript, a.minimiseSeconds);
        std::printf("%s script of %zu events:\n%s\n", m.complete ? "shortest" : "shortest so far",
                    m.script.tokens.size(), ToText(m.script).c_str());
        return 1;
    }

    Options options;
    options.naturalBuildPercent = a.naturalPercent;
    Stats total;
    long passes = 0, assertions = 0, episodes = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long episode = a.onlyEpisode < 0 ? 0 : a.onlyEpisode;; ++episode) {
        SeededChoices choices(a.seed ^ (0xD1B54A32D192ED03ull * static_cast<std::uint64_t>(episode + 1)));
        Session session(EpisodeClock(a.seed, episode), options);
        const auto v = session.Generate(choices, a.episodeEvents);
        total.Add(session.stats());
        passes += session.checker().passes;
        assertions += session.checker().assertions;
        ++episodes;
        if (v) return ReportFailure(a, episode, session, *v);
        if (a.onlyEpisode >= 0 || total.Events() >= a.events) break;
    }
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("seed %llu: %ld events in %ld fresh windows, %.1f s\n", static_cast<unsigned long long>(a.seed),
                total.Events(), episodes, secs);
    std::printf("  %ld between events, %ld inside new games (%ld before builds, %ld inside builds, %ld after)\n",
                total.topLevel, total.nested, total.pumpSteps[1], total.pumpSteps[2], total.pumpSteps[3]);
    std::printf("  %ld new games (%ld built by the game's own search, %ld build passes), %ld solved, "
                "%ld near misses, %ld events on a solved board\n",
                total.gamesStarted, total.naturalBuilds, total.buildPasses, total.gamesSolved, total.nearMisses,
                total.eventsWhileSolved);
    std::printf("  %ld key codes and %zu menu items used; %ld refused events checked to change nothing; "
                "%ld close requests\n",
                static_cast<long>(total.keys.count()), total.menuItems.count(), total.refusedChecked, total.closes);
    std::printf("  %ld invariant passes, %ld conditions checked, no violation\n", passes, assertions);
    return 0;
}
