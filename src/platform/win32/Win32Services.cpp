#include "platform/win32/Win32Services.h"

#include "platform/win32/Win32MainWindow.h"

namespace sudoku::win32 {

namespace {

// Asks without waiting: the running copy may be busy or hung, and this one ends at once.
void BringToFront(HWND window) {
    if (IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
    SetForegroundWindow(window);
}

Win32Process* running = nullptr;  // the one that holds the mutex

}  // namespace

Win32Process::~Win32Process() {
    if (running == this) running = nullptr;
    if (mutex_) CloseHandle(mutex_);
}

void Fatal(const wchar_t* message) {
    if (running) running->Fail(message);
    MessageBoxW(nullptr, message, L"Судоку", MB_OK | MB_ICONERROR);
    ExitProcess(1);
}

void Win32Process::Fail(const wchar_t* message) {
    ReleaseInstance();  // a further start may try again while the message is shown
    MessageBoxW(nullptr, message, L"Судоку", MB_OK | MB_ICONERROR);
    ExitProcess(1);
}

void Win32Process::ReleaseInstance() {
    if (!mutex_) return;
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
    mutex_ = nullptr;
}

bool Win32Process::AnotherInstanceRunning() {
    mutex_ = CreateMutexW(nullptr, FALSE, kInstanceMutex);
    // Denied: a copy running with other rights holds it. Any other failure: no way to tell, play.
    if (!mutex_) return GetLastError() == ERROR_ACCESS_DENIED;
    const DWORD wait = WaitForSingleObject(mutex_, 0);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {  // abandoned: its owner died
        running = this;
        return false;
    }
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
    ReleaseInstance();
    ExitProcess(0);
}

void Win32EventPump::Dispatch(MSG& msg) {
    if (accelerators_ && TranslateAcceleratorW(window_, accelerators_, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Win32EventPump::ProcessEvents() {
    if (beforeEvents) beforeEvents();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) Dispatch(msg);
}

void Win32EventPump::Run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
}

}  // namespace sudoku::win32
