#pragma once
#include <cstdlib>
#include <string>

namespace sudoku::qt {

// An environment variable's value; empty when it is not set.
inline std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

}  // namespace sudoku::qt
