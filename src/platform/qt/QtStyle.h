#pragma once

namespace sudoku::qt {

// Puts the toolkit's style behind one that reads the menu bar's overflow icon only when it is
// first needed. The menu bar makes that button, icon and all, the moment it is made, and
// reading the one image loads the toolkit's image readers: more of a start-up than the whole
// menu, for a button that a window this wide never shows. Call once the application exists.
void UseStyleWithLazyIcons();

}  // namespace sudoku::qt
