// The game as it runs where Windows cannot give it everything, for the wine cases:
//   SUDOKU_AS_WINDOWS=7    no DPI function newer than Windows 7 (no shcore either);
//   SUDOKU_AS_WINDOWS=8.1  shcore's, but none of Windows 10's;
//   SUDOKU_CLASS_TAKEN=1   the main window's class is registered already, so the game's fails;
//   SUDOKU_HOLD_MUTEX=1    no game: opens the running copy's mutex and keeps it open, as a
//                          program that looks for the game may (a killed owner then leaves it
//                          abandoned, not gone).
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win32/DpiApi.h"
#include "platform/win32/Win32MainWindow.h"
#include "platform/win32/Win32Services.h"

namespace sudoku::win32 {
int RunGame(HINSTANCE instance, int showCommand, ProcLookup lookup);  // in the game's main
}

namespace {

std::string as;

FARPROC Lookup(const wchar_t* dll, const char* name) {
    if (as == "7" && (lstrcmpiW(dll, L"shcore.dll") == 0 || std::strstr(name, "Dpi"))) return nullptr;
    if (as == "8.1" && lstrcmpiW(dll, L"user32.dll") == 0 && std::strstr(name, "Dpi")) return nullptr;
    return sudoku::win32::SystemLookup(dll, name);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (std::getenv("SUDOKU_HOLD_MUTEX")) {
        if (!OpenMutexW(SYNCHRONIZE, FALSE, sudoku::win32::kInstanceMutex)) return 1;
        Sleep(INFINITE);
    }
    if (const char* v = std::getenv("SUDOKU_AS_WINDOWS")) as = v;
    if (std::getenv("SUDOKU_CLASS_TAKEN")) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = instance;
        wc.lpszClassName = sudoku::win32::kMainWindowClass;
        RegisterClassExW(&wc);
    }
    return sudoku::win32::RunGame(instance, showCommand, &Lookup);
}
