#pragma once
// The invariants of the game, checked against an in-memory window at a given moment.
#include <stdexcept>
#include <string>

#include "MemoryForm.h"

namespace sudoku::exercise {

// Where the check stands: between two user events, or inside one of the event
// processing steps of a new game (before its build, inside the build, after it).
enum class Point { TopLevel, BeforeBuild, InBuild, AfterBuild };
const char* PointName(Point p);

struct Violation {
    std::string id;      // short and stable: what the minimiser keeps failing on
    std::string detail;  // for the reader
};

struct ViolationError : std::runtime_error {
    explicit ViolationError(Violation v) : std::runtime_error(v.id), violation(std::move(v)) {}
    Violation violation;
    bool placed = false;  // the event it happened at has been named in the detail
};

class Checker {
public:
    long passes = 0;      // invariant passes run
    long assertions = 0;  // single conditions tested

    // Throws ViolationError on the first invariant that does not hold.
    void Invariants(memory::MemoryForm& form, Point at);

    void Expect(bool ok, const char* id, const std::string& detail) {
        ++assertions;
        if (!ok) throw ViolationError({id, detail});
    }

private:
    void Selection(memory::MemoryForm& f, Point at);
    void Menus(memory::MemoryForm& f);
    void Layout(memory::MemoryForm& f);
    void Board(memory::MemoryForm& f);
    void Status(memory::MemoryForm& f, Point at);
};

// True when cell (r, c) holds a digit that repeats in its row, column or box.
bool InConflict(const Grid9& grid, int r, int c);

}  // namespace sudoku::exercise
