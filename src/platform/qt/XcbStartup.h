#pragma once
#include <cstdint>
#include <string>

namespace sudoku::qt {

#ifdef SUDOKU_HAVE_XCB

// With no locale at all, a UTF-8 character type, so that the window's legacy title
// property carries the Cyrillic title too.
void UseUtf8WithoutLocale();

// Tells the X11 launcher that the launch with this startup id is complete (the
// "remove" message of startup notification), on the toolkit's display connection.
void CompleteStartup(unsigned long window, const std::string& startupId);

// Asks the window manager to activate the window on behalf of the launch made at this X
// server time, which focus-stealing prevention weighs; false without X or without a time.
bool ActivateWindow(unsigned long window, std::uint32_t launchTime);
#else
inline void UseUtf8WithoutLocale() {}
inline void CompleteStartup(unsigned long, const std::string&) {}
inline bool ActivateWindow(unsigned long, std::uint32_t) { return false; }
#endif

}  // namespace sudoku::qt
