#pragma once
#include <QIcon>
#include <QImage>

namespace sudoku::qt {

QImage IconImage(int size);  // the icon design at one size
QIcon MakeWindowIcon();      // the window's 48, 24 and 16 pixel images

}  // namespace sudoku::qt
