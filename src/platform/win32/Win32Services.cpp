#include "platform/win32/Win32Services.h"

#include "platform/win32/Win32MainWindow.h"

namespace sudoku::win32 {

namespace {

constexpr wchar_t kInstanceMutex[] = L"Local\\SudokuGame.SingleInstance";

void BringToFront(HWND window) {
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

}  // namespace

Win32Process::~Win32Process() {
    if (mutex_) CloseHandle(mutex_);
}

bool Win32Process::AnotherInstanceRunning() {
    mutex_ = CreateMutexW(nullptr, FALSE, kInstanceMutex);
    // Denied: a copy running with other rights holds it. Any other failure: no way to tell, play.
    if (!mutex_) return GetLastError() == ERROR_ACCESS_DENIED;
    const DWORD wait = WaitForSingleObject(mutex_, 0);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) return false;  // abandoned: its owner died
    CloseHandle(mutex_);
    mutex_ = nullptr;
    if (HWND running = FindWindowW(kMainWindowClass, nullptr)) BringToFront(running);
    return true;
}

float Win32Process::SecondsSinceMidnight() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return static_cast<float>(t.wHour * 3600 + t.wMinute * 60 + t.wSecond) +
           static_cast<float>(t.wMilliseconds) / 1000.0f;
}

void Win32Process::EndNow() {
    if (mutex_) {
        ReleaseMutex(mutex_);
        CloseHandle(mutex_);
        mutex_ = nullptr;
    }
    ExitProcess(0);
}

void Win32EventPump::Dispatch(MSG& msg) {
    if (accelerators_ && TranslateAcceleratorW(window_, accelerators_, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Win32EventPump::ProcessEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) Dispatch(msg);
}

void Win32EventPump::Run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
}

}  // namespace sudoku::win32
