#pragma once
// The DPI functions of Windows newer than 7, found at run time so that the game also
// starts on Windows 7 and 8.1. Where one is missing, the older way is taken:
//   awareness:  per-monitor v2 (10 1703) > per-monitor (8.1, shcore) > system (Vista);
//   window DPI: GetDpiForWindow (10 1607) > GetDpiForMonitor (8.1) > LOGPIXELSX of the screen.
#include <windows.h>

namespace sudoku::win32 {

// Finds an exported function; null when the DLL or the function is missing.
using ProcLookup = FARPROC (*)(const wchar_t* dll, const char* name);
FARPROC SystemLookup(const wchar_t* dll, const char* name);

class DpiApi {
public:
    // Resolves the functions through lookup and makes the process DPI-aware as far as
    // this Windows allows (the manifest usually has already).
    static void Load(ProcLookup lookup = &SystemLookup);

    static unsigned WindowDpi(HWND window);
    static BOOL AdjustWindowRect(RECT* r, DWORD style, BOOL menu, DWORD exStyle, unsigned dpi);
    static int SystemMetric(int index, unsigned dpi);

private:
    static unsigned SystemDpi();
};

}  // namespace sudoku::win32
