#include "Session.h"

#include <algorithm>
#include <array>

#include "ScriptedGrid.h"
#include "SelectionModel.h"
#include "app/Palette.h"

namespace sudoku::exercise {

namespace {

long Writes(const memory::WriteLog& log) {
    long n = 0;
    for (const auto& [prop, count] : log.counts) n += count;
    return n;
}

bool SameState(const GameState& a, const GameState& b) {
    return a.Busy == b.Busy && a.Solved == b.Solved && a.SelCell == b.SelCell && a.SelDigit == b.SelDigit &&
           a.EscAction == b.EscAction && a.HoleMin == b.HoleMin && a.HoleMax == b.HoleMax && a.Givens == b.Givens &&
           a.Grid == b.Grid && a.FontSizePt == b.FontSizePt;
}

// The digit a key writes through EnterDigit, or -1.
int DigitOfKey(int code) {
    if (code == 46 || code == 8) return 0;
    if (code >= 48 && code <= 57) return code - 48;
    if (code >= 96 && code <= 105) return code - 96;
    return -1;
}

bool IsEntry(const Token& t) {
    switch (t.kind) {
        case Kind::CellClick:
        case Kind::CellDblClick:
        case Kind::PickerClick:
        case Kind::PickerDblClick: return true;
        case Kind::Key: return DigitOfKey(t.arg) >= 0;
        default: return false;
    }
}

bool IsMenu(const Token& t, const char* name) { return t.kind == Kind::Menu && MenuItems().at(t.arg) == name; }

}  // namespace

void Stats::Add(const Stats& o) {
    topLevel += o.topLevel;
    nested += o.nested;
    for (int i = 0; i < 4; ++i) pumpSteps[i] += o.pumpSteps[i];
    gamesStarted += o.gamesStarted;
    naturalBuilds += o.naturalBuilds;
    buildPasses += o.buildPasses;
    gamesSolved += o.gamesSolved;
    nearMisses += o.nearMisses;
    eventsWhileSolved += o.eventsWhileSolved;
    refusedChecked += o.refusedChecked;
    closes += o.closes;
    keys |= o.keys;
    menuItems |= o.menuItems;
}

struct Session::Before {
    GameState st;
    std::int16_t newGame;
    long writes;
    bool timer;
    int minimises;
    bool minimised;
    int ends;
    int pumps;
    long draws;
};

Session::Session(float clockSeconds, Options options)
    : clock_(clockSeconds), options_(options), naturalBuildsLeft_(options.maxNaturalBuilds) {
    form_.process.seconds = clockSeconds;
    form_.game.Form_Load();
    form_.pump.onProcess = [this] { OnPump(); };
    target_ = GridFromSeed(static_cast<std::uint32_t>(clockSeconds * 4));  // any complete grid fits the empty board
}

std::optional<Violation> Session::Run(auto&& body) {
    try {
        body();
    } catch (const ViolationError& e) {
        return e.violation;
    }
    return std::nullopt;
}

std::optional<Violation> Session::Generate(ChoiceSource& choices, long topLevelEvents) {
    choices_ = &choices;
    auto result = Run([&] {
        checker_.Invariants(form_, Point::TopLevel);
        for (long i = 0; i < topLevelEvents && !choices.Exhausted(); ++i) {
            for (const Token& t : NextAction(Point::TopLevel)) {
                recorded_.push_back(t);
                Deliver(t, false);
            }
        }
    });
    choices_ = nullptr;
    return result;
}

std::optional<Violation> Session::Replay(const std::vector<Token>& tokens) {
    replay_ = &tokens;
    cursor_ = 0;
    auto result = Run([&] {
        checker_.Invariants(form_, Point::TopLevel);
        while (cursor_ < tokens.size()) {
            const Token t = tokens[cursor_++];
            recorded_.push_back(t);
            Deliver(t, false);
        }
    });
    replay_ = nullptr;
    return result;
}

Point Session::CurrentPoint() {
    if (form_.game.st.Busy == 1) return Point::InBuild;
    if (form_.game.NewGameInProgress != 1) return Point::TopLevel;
    return sawBuild_ ? Point::AfterBuild : Point::BeforeBuild;
}

Session::Before Session::Capture() {
    return {form_.game.st,         form_.game.NewGameInProgress,   Writes(form_.log),      form_.timer.enabled,
            form_.window.minimiseRequests, form_.window.minimised, form_.process.endRequests, form_.pump.calls,
            form_.random.draws};
}

void Session::Deliver(const Token& t, bool nested) {
    Game& g = form_.game;
    if (t.kind == Kind::Yield) return;
    // The toolkit raises no tick while the timer is off and no click on a hidden label.
    if (t.kind == Kind::Tick && !form_.timer.enabled) return;
    if ((t.kind == Kind::PickerClick || t.kind == Kind::PickerDblClick) && !form_.Picker(t.arg).visible) return;

    const std::size_t index = recorded_.empty() ? 0 : recorded_.size() - 1;
    try {
        ++(nested ? stats_.nested : stats_.topLevel);
        if (g.st.Solved == 1) ++stats_.eventsWhileSolved;
        if (t.kind == Kind::Key) stats_.keys.set(static_cast<std::size_t>(t.arg));
        if (t.kind == Kind::Menu) stats_.menuItems.set(static_cast<std::size_t>(t.arg));
        const Before before = Capture();
        const auto predicted = Predict(PlayStateOf(g.st), t);
        const bool inBuild = g.st.Busy == 1;
        std::array<std::pair<std::string, Rgb>, 82> cells;
        if (inBuild)
            for (int n = 1; n <= 81; ++n) cells[n] = {form_.Cell(n).caption, form_.Cell(n).back};

        const bool starts = t.kind == Kind::Menu && StartsNewGame(t.arg) && g.st.Busy == 0 && g.NewGameInProgress == 0;
        if (starts) {
            ++stats_.gamesStarted;
            decoy_.reset();
            wantDecoy_ = choices_ && choices_->Below(100) < 30;
            sawBuild_ = afterBuildSeen_ = false;
            scriptedGrid_.reset();
            if (t.buildSeed != 0) {
                scriptedGrid_ = GridFromSeed(t.buildSeed);
                for (float v : BuildDraws(*scriptedGrid_)) form_.random.script.push_back(v);
            } else {
                ++stats_.naturalBuilds;
            }
        }
        if (t.kind == Kind::Close) ++expectedEnds_;
        if (t.kind == Kind::Key && t.arg == 27) {
            if (g.st.EscAction == 2) expectedEnds_ += t.repeat;
            if (g.st.EscAction == 1) expectedMinimises_ += t.repeat;
        }

        ++depth_;
        Dispatch(t);
        --depth_;

        if (starts) {
            checker_.Expect(form_.random.script.empty(), "build-draws",
                            "the build left " + std::to_string(form_.random.script.size()) + " scripted draws unused");
            form_.random.script.clear();
            scriptedGrid_.reset();
        }
        CheckEffect(t, before);
        if (predicted) {
            const PlayState now = PlayStateOf(g.st);
            checker_.Expect(now.SelCell == predicted->SelCell && now.SelDigit == predicted->SelDigit, "model-selection",
                            "SelCell " + std::to_string(now.SelCell) + ", SelDigit " + std::to_string(now.SelDigit) +
                                "; expected " + std::to_string(predicted->SelCell) + ", " +
                                std::to_string(predicted->SelDigit));
            checker_.Expect(now.Grid == predicted->Grid, "model-digits", "the digits differ from the expected entry");
            checker_.Expect(now.Solved == predicted->Solved, "model-solved",
                            "Solved " + std::to_string(now.Solved) + ", expected " + std::to_string(predicted->Solved));
        }
        if (inBuild) CheckCellsKept(t, cells);
        if (starts && !nested) {
            const GameState& st = g.st;
            checker_.Expect(st.Grid == st.Givens && st.Solved == 0, "new-game-result",
                            "a new game left entries of the player or a solved flag");
            for (int box = 0; box < 9; ++box) {
                int holes = 0;
                for (int i = 0; i < 9; ++i) {
                    const int r = 1 + 3 * (box / 3) + i / 3, c = 1 + 3 * (box % 3) + i % 3;
                    holes += st.Givens(r, c) == 0;
                    checker_.Expect(st.Givens(r, c) == 0 || st.Givens(r, c) == target_(r, c), "new-game-result",
                                    "a clue differs from the grid that was built");
                }
                checker_.Expect(holes >= st.HoleMin && holes <= st.HoleMax, "new-game-holes",
                                "box " + std::to_string(box + 1) + " has " + std::to_string(holes) + " empty cells");
            }
        }
        checker_.Invariants(form_, nested ? CurrentPoint() : Point::TopLevel);
        if (before.st.Solved == 0 && g.st.Solved == 1) ++stats_.gamesSolved;
    } catch (ViolationError& e) {
        if (!e.placed) {
            e.violation.detail += "; at event " + ToText(t) + " (#" + std::to_string(index) + ")" +
                                  (nested ? " inside a new game" : "");
            e.placed = true;
        }
        throw;
    }
}

// Inside a build the cells keep their captions and colours; only Esc paints
// non-clue cells white and the conflict marking paints yellow.
void Session::CheckCellsKept(const Token& t, const std::array<std::pair<std::string, Rgb>, 82>& cells) {
    const bool esc = t.kind == Kind::Key && t.arg == 27;
    for (int n = 1; n <= 81; ++n) {
        const auto& cell = form_.Cell(n);
        // Checked at every step of every build: the detail is made only for a failure.
        const bool caption = cell.caption == cells[n].first;
        checker_.Expect(caption, "build-caption",
                        caption ? std::string() : "cell " + std::to_string(n) + " caption changed inside the build");
        const bool colour = cell.back == cells[n].second || cell.back == palette::kCellConflict ||
                            (esc && cell.back == palette::kCellPlain);
        checker_.Expect(colour, "build-colour",
                        colour ? std::string() : "cell " + std::to_string(n) + " repainted inside the build");
    }
}

void Session::Dispatch(const Token& t) {
    // Through the controls, as the form builder connected them.
    memory::MemoryForm& f = form_;
    switch (t.kind) {
        case Kind::CellDblClick: f.Cell(t.arg).Click(); f.Cell(t.arg).DoubleClick(); break;
        case Kind::CellClick: f.Cell(t.arg).Click(); break;
        case Kind::PickerDblClick: f.Picker(t.arg).Click(); f.Picker(t.arg).DoubleClick(); break;
        case Kind::PickerClick: f.Picker(t.arg).Click(); break;
        case Kind::InfoClick: f.info->Click(); break;  // the status line has no handler
        case Kind::Key:
            for (int i = 0; i < t.repeat; ++i) f.window.onKey(t.arg, t.shift);
            break;
        case Kind::Menu: f.Choose(MenuItems().at(t.arg)); break;
        case Kind::Tick: f.timer.onTick(); break;
        case Kind::Close: f.window.Close(); break;
        case Kind::MinimiseRefusal: f.window.minimiseSucceeds = !f.window.minimiseSucceeds; break;
        case Kind::Yield: break;
    }
}

// What one event may change: refused events nothing at all, and only entries,
// erasing and new games touch the digits.
void Session::CheckEffect(const Token& t, const Before& b) {
    const GameState& s = b.st;
    const GameState& now = form_.game.st;
    const bool frozen = s.Busy == 1 || s.Solved == 1;
    bool refused = false;
    switch (t.kind) {
        case Kind::InfoClick: refused = true; break;
        case Kind::CellClick:
        case Kind::CellDblClick:
        case Kind::PickerClick:
        case Kind::PickerDblClick: refused = frozen; break;
        case Kind::Key:
            if (t.arg == 27) refused = s.EscAction == 0 && s.SelCell == 0 && (s.SelDigit == 0 || frozen);
            else if (t.arg == 107 || t.arg == 187 || t.arg == 109 || t.arg == 189) refused = false;
            else if (DigitOfKey(t.arg) >= 0) refused = s.SelCell == 0 || frozen;
            else refused = true;
            break;
        case Kind::Menu:
            if (IsSeparator(t.arg)) refused = true;
            else if (StartsNewGame(t.arg)) refused = s.Busy == 1 || b.newGame == 1;
            else if (IsMenu(t, "mnuGameClear")) refused = frozen;
            else if (IsMenu(t, "mnuEscEnd")) refused = s.EscAction == 2;
            else if (IsMenu(t, "mnuEscMin")) refused = s.EscAction == 1;
            else if (IsMenu(t, "mnuEscNo")) refused = s.EscAction == 0;
            break;
        default: break;
    }
    if (refused) {
        ++stats_.refusedChecked;
        const Before a = Capture();
        checker_.Expect(SameState(a.st, s) && a.newGame == b.newGame, "refused-changed-state",
                        "an event that must do nothing changed the game state");
        checker_.Expect(a.writes == b.writes, "refused-wrote",
                        "an event that must do nothing wrote " + std::to_string(a.writes - b.writes) + " properties");
        checker_.Expect(a.timer == b.timer && a.minimises == b.minimises && a.minimised == b.minimised &&
                            a.ends == b.ends && a.pumps == b.pumps && a.draws == b.draws,
                        "refused-acted", "an event that must do nothing used the timer, window, pump or random source");
    }

    checker_.Expect(form_.process.endRequests == expectedEnds_, "close",
                    "EndNow requested " + std::to_string(form_.process.endRequests) + " times, expected " +
                        std::to_string(expectedEnds_));
    stats_.closes = form_.process.endRequests;
    checker_.Expect(form_.window.minimiseRequests == expectedMinimises_, "minimise",
                    "minimising requested " + std::to_string(form_.window.minimiseRequests) + " times, expected " +
                        std::to_string(expectedMinimises_));

    if (t.kind == Kind::Menu && StartsNewGame(t.arg)) return;  // a new game replaces the digits
    checker_.Expect(now.Givens == s.Givens, "clues-changed", "an event other than a new game changed the clues");
    int changed = 0;
    for (int i = 0; i < 81; ++i) {
        if (now.Grid.cells[i] == s.Grid.cells[i]) continue;
        ++changed;
        const std::string where = "cell " + std::to_string(i + 1) + " " + std::to_string(s.Grid.cells[i]) + " -> " +
                                  std::to_string(now.Grid.cells[i]);
        checker_.Expect(s.Givens.cells[i] == 0, "clue-overwritten", where + " is a clue");
        if (IsMenu(t, "mnuGameClear")) checker_.Expect(now.Grid.cells[i] == 0, "erase-all", where);
        else checker_.Expect(IsEntry(t), "digit-lost", where + " by an event that enters nothing");
    }
    if (IsEntry(t)) checker_.Expect(changed <= 1, "entry-wrote-many", std::to_string(changed) + " cells changed");
}

void Session::OnPump() {
    const Point at = CurrentPoint();
    checker_.Expect(at != Point::TopLevel, "pump-outside-new-game", "events processed outside a new game");
    const bool firstAfterBuild = at == Point::AfterBuild && !afterBuildSeen_;
    if (at == Point::AfterBuild) afterBuildSeen_ = true;
    if (at == Point::InBuild) sawBuild_ = true, ++stats_.buildPasses;
    ++stats_.pumpSteps[static_cast<int>(at)];
    if (firstAfterBuild) {
        if (scriptedGrid_)
            checker_.Expect(form_.game.st.Givens == *scriptedGrid_, "scripted-build",
                            "the build did not lay down the grid its random draws describe");
        if (CompleteAndValid(form_.game.st.Givens)) target_ = form_.game.st.Givens;
        decoy_.reset();
    }
    checker_.Invariants(form_, at);

    if (replay_) {
        while (cursor_ < replay_->size()) {
            const Token t = (*replay_)[cursor_++];
            recorded_.push_back(t);
            if (t.kind == Kind::Yield) return;
            Deliver(t, true);
        }
        return;
    }
    if (!choices_) return;
    const int actions = PumpActions(at);
    for (int i = 0; i < actions && !choices_->Exhausted(); ++i) {  // a used-up fuzz input ends a run too
        for (const Token& t : NextAction(at)) {
            recorded_.push_back(t);
            Deliver(t, true);
        }
    }
    flooding_ = false;
    recorded_.push_back(Token{});
}

}  // namespace sudoku::exercise
