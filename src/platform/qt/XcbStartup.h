#pragma once
#include <optional>
#include <string>

namespace sudoku::qt {

#ifdef SUDOKU_HAVE_XCB

// Before the toolkit starts: when the X11 platform will be used, whether its display can be
// opened; the toolkit itself aborts the process when it cannot. Returns the line to show
// the user, or nothing when the display answers or another platform will be used.
std::optional<std::string> DisplayProblem(int argc, char** argv);

// With no locale at all, a UTF-8 character type, so that the window's legacy title
// property carries the Cyrillic title too.
void UseUtf8WithoutLocale();

// Tells the X11 launcher that the launch with this startup id is complete (the
// "remove" message of startup notification), on the toolkit's display connection.
void CompleteStartup(unsigned long window, const std::string& startupId);
#else
inline std::optional<std::string> DisplayProblem(int, char**) { return std::nullopt; }
inline void UseUtf8WithoutLocale() {}
inline void CompleteStartup(unsigned long, const std::string&) {}
#endif

}  // namespace sudoku::qt
