#pragma once

namespace sudoku::qt {

// Watches the toolkit while it opens its platform (X11, Wayland, ...), so that a start
// without a usable display ends with one line naming what is missing and status 1,
// rather than the toolkit's abort and core file; a display that accepts the connection
// and then stays silent for a few seconds ends the same way. The toolkit makes its
// connection itself; beside it a connection of our own asks the X display for a round trip
// now and then, so that a slow display that keeps answering is waited for as long as the
// start takes. Construct right before the QApplication, destroy right after it.
// Messages the toolkit prints meanwhile are held and passed on once the start succeeds.
class ToolkitStartGuard {
public:
    ToolkitStartGuard(int argc, char** argv);
    ~ToolkitStartGuard();
    ToolkitStartGuard(const ToolkitStartGuard&) = delete;
    ToolkitStartGuard& operator=(const ToolkitStartGuard&) = delete;
};

}  // namespace sudoku::qt
