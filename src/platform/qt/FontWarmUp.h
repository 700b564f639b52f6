#pragma once
#include <thread>

namespace sudoku::qt {

// Reads the system's font configuration on a second thread while the toolkit opens the
// display, so that the first text the window measures does not wait for it. Construct right
// before the QApplication and destroy right after it, before any text is measured.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();  // waits for the reading to finish
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

private:
    std::thread thread_;
};

}  // namespace sudoku::qt
