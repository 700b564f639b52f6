#pragma once
// Drives the real handlers of one in-memory window with a stream of events, also
// inside every event-processing step of a new game, and checks the game after each one.
#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Checker.h"
#include "Choices.h"
#include "Token.h"
#include "MemoryForm.h"

namespace sudoku::exercise {

struct Options {
    int naturalBuildPercent = 6;  // new games whose grid the game's own random search builds
    long maxNaturalBuilds = -1;    // per session; -1: no limit
    int newGameWeight = 3;         // weight of the seven new-game commands among the other events
    int meanPumpActions = 16;      // events delivered at one event-processing step, on average
    int floodPerMille = 4;         // steps before a build that receive a long run of mostly winning moves
};

struct Stats {
    long topLevel = 0;      // events between events
    long nested = 0;        // events delivered inside a new game or a build
    long pumpSteps[4] = {};  // event-processing steps seen, by Point
    long gamesStarted = 0;
    long naturalBuilds = 0;
    long buildPasses = 0;
    long gamesSolved = 0;
    long nearMisses = 0;  // boards filled with one unit rule broken, that must not count as solved
    long eventsWhileSolved = 0;
    long refusedChecked = 0;  // events that had to change nothing, and did not
    long closes = 0;          // EndNow requests recorded
    std::bitset<256> keys;
    std::bitset<32> menuItems;
    void Add(const Stats& o);
    long Events() const { return topLevel + nested; }
};

class Session {
public:
    explicit Session(float clockSeconds, Options options = {});
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Generates and delivers up to topLevelEvents events; returns the first violation.
    std::optional<Violation> Generate(ChoiceSource& choices, long topLevelEvents);
    // Delivers recorded events, nested ones at the steps where they were recorded.
    std::optional<Violation> Replay(const std::vector<Token>& tokens);

    // Everything delivered so far, in order, with the end of every event-processing step.
    const std::vector<Token>& Recorded() const { return recorded_; }
    Script RecordedScript() const { return {clock_, recorded_}; }
    memory::MemoryForm& Form() { return form_; }
    const Stats& stats() const { return stats_; }
    const Checker& checker() const { return checker_; }

private:
    struct Before;
    std::optional<Violation> Run(auto&& body);
    Before Capture();
    void Deliver(const Token& t, bool nested);
    void Dispatch(const Token& t);
    void CheckCellsKept(const Token& t, const std::array<std::pair<std::string, Rgb>, 82>& cells);
    void CheckEffect(const Token& t, const Before& before);
    void OnPump();
    Point CurrentPoint();
    std::vector<Token> NextAction(Point at);
    Token RandomEvent(Point at);
    std::vector<Token> WinningMove();
    const Grid9& Aim();
    int PumpActions(Point at);

    float clock_;
    Options options_;
    memory::MemoryForm form_;
    Checker checker_;
    Stats stats_;
    std::vector<Token> recorded_;

    ChoiceSource* choices_ = nullptr;    // while generating
    const std::vector<Token>* replay_ = nullptr;  // while replaying
    std::size_t cursor_ = 0;
    int depth_ = 0;
    bool flooding_ = false;
    bool sawBuild_ = false;
    bool afterBuildSeen_ = false;              // the running new game has entered its build
    std::optional<Grid9> scriptedGrid_;  // the grid the running build must lay down
    Grid9 target_;                       // a complete grid that fits the clues
    bool wantDecoy_ = true;              // lead the moves first to a near miss of target_
    std::optional<Grid9> decoy_;         // target_ with one unit rule broken, clues kept
    long expectedEnds_ = 0;
    long expectedMinimises_ = 0;
    long naturalBuildsLeft_;
};

}  // namespace sudoku::exercise
