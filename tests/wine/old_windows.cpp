// The game as it runs where Windows cannot give it everything, for the wine cases:
//   SUDOKU_AS_WINDOWS=7    no DPI function newer than Windows 7 (no shcore either);
//   SUDOKU_AS_WINDOWS=8.1  shcore's, but none of Windows 10's; shcore's monitor reports 192 DPI
//                          (200 %) while the system's stays as it is, as on a second screen;
//   SUDOKU_CLASS_TAKEN=1   the main window's class is registered already, so the game's fails;
//   SUDOKU_HOLD_MUTEX=1    no game: opens the running copy's mutex and keeps it open, as a
//                          program that looks for the game may (a killed owner then leaves it
//                          abandoned, not gone).
//   SUDOKU_HOLD_FILE=PATH  no game: opens PATH and keeps it open, sharing it with readers only, as
//                          a virus scanner or a backup program may;
//   SUDOKU_LATE_WINDOW=MS  the game's mutex is taken, its window shows only MS milliseconds later;
//   SUDOKU_RUN=COMMAND     no game: runs the command line as a deployment tool does (CreateProcess),
//                          waits for it and ends with its exit code;
//   SUDOKU_CLICK=TEXT      no game: clicks the button whose text holds TEXT (#N: whose control id is
//                          N) in a visible window of another program (within 10 s), as the player
//                          would; 1 if there is none.
// The helpers write "held" into the current folder once they hold what they hold.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "platform/win32/DpiApi.h"
#include "platform/win32/Win32MainWindow.h"
#include "platform/win32/Win32Services.h"

namespace sudoku::win32 {
int RunGame(HINSTANCE instance, int showCommand, ProcLookup lookup);  // in the game's main
}

namespace {

std::string as;

HRESULT WINAPI MonitorAt200Percent(HMONITOR, int, UINT* x, UINT* y) {
    *x = *y = 192;
    return S_OK;
}

FARPROC Lookup(const wchar_t* dll, const char* name) {
    if (as == "7" && (lstrcmpiW(dll, L"shcore.dll") == 0 || std::strstr(name, "Dpi"))) return nullptr;
    if (as == "8.1" && lstrcmpiW(dll, L"user32.dll") == 0 && std::strstr(name, "Dpi")) return nullptr;
    if (as == "8.1" && lstrcmpiW(dll, L"shcore.dll") == 0 && std::strcmp(name, "GetDpiForMonitor") == 0) {
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&MonitorAt200Percent));
    }
    return sudoku::win32::SystemLookup(dll, name);
}

int Run(wchar_t* command) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 255;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD status = 255;
    GetExitCodeProcess(pi.hProcess, &status);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(status);
}

struct Wanted {
    const wchar_t* text;
    HWND found = nullptr;
};

BOOL CALLBACK MatchButton(HWND control, LPARAM lp) {
    auto& wanted = *reinterpret_cast<Wanted*>(lp);
    wchar_t name[16];
    wchar_t text[256];
    const bool match = wanted.text[0] == L'#' ? GetDlgCtrlID(control) == _wtoi(wanted.text + 1)
                                               : GetWindowTextW(control, text, 256) && std::wcsstr(text, wanted.text);
    if (GetClassNameW(control, name, 16) && lstrcmpiW(name, L"Button") == 0 && IsWindowVisible(control) && match) {
        wanted.found = control;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK SearchWindow(HWND window, LPARAM lp) {
    if (IsWindowVisible(window)) EnumChildWindows(window, &MatchButton, lp);
    return reinterpret_cast<Wanted*>(lp)->found ? FALSE : TRUE;
}

int Click(const wchar_t* text) {
    Wanted wanted{text};
    for (int tries = 0; tries < 100 && !wanted.found; ++tries) {
        EnumWindows(&SearchWindow, reinterpret_cast<LPARAM>(&wanted));
        if (!wanted.found) Sleep(100);
    }
    if (!wanted.found) return 1;
    SendMessageW(wanted.found, BM_CLICK, 0, 0);
    return 0;
}

void SayHeld() {
    HANDLE mark = CreateFileW(L"held", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (mark != INVALID_HANDLE_VALUE) CloseHandle(mark);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (wchar_t command[4096]; GetEnvironmentVariableW(L"SUDOKU_RUN", command, 4096) - 1u < 4095u) return Run(command);
    if (wchar_t text[256]; GetEnvironmentVariableW(L"SUDOKU_CLICK", text, 256) - 1u < 255u) return Click(text);
    if (std::getenv("SUDOKU_HOLD_MUTEX")) {
        if (!OpenMutexW(SYNCHRONIZE, FALSE, sudoku::win32::kInstanceMutex)) return 1;
        Sleep(INFINITE);
    }
    if (wchar_t path[MAX_PATH]; GetEnvironmentVariableW(L"SUDOKU_HOLD_FILE", path, MAX_PATH) - 1u < MAX_PATH - 1u) {
        if (CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr) ==
            INVALID_HANDLE_VALUE) {
            return 1;
        }
        SayHeld();
        Sleep(INFINITE);
    }
    if (const char* ms = std::getenv("SUDOKU_LATE_WINDOW")) {
        // Held by this thread, the game's own wait for it succeeds at once.
        HANDLE mutex = CreateMutexW(nullptr, FALSE, sudoku::win32::kInstanceMutex);
        if (!mutex || WaitForSingleObject(mutex, 0) != WAIT_OBJECT_0) return 1;
        SayHeld();
        Sleep(static_cast<DWORD>(std::atoi(ms)));
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
