// The game on the Windows API alone.
#include <windows.h>

#include "platform/win32/Win32MainWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    sudoku::win32::RunGame(instance, showCommand);
}
