#pragma once
#include <windows.h>

#include <functional>

#include "app/Controls.h"

namespace sudoku::win32 {

// The named mutex held by the running copy.
inline constexpr wchar_t kInstanceMutex[] = L"Local\\SudokuGame.SingleInstance";

// Single instance through a named mutex of the user's session. The kernel releases it
// when its owner ends, however it ends, so a crashed copy never blocks the next start.
class Win32Process final : public Process {
public:
    Win32Process() = default;
    Win32Process(const Win32Process&) = delete;
    Win32Process& operator=(const Win32Process&) = delete;
    ~Win32Process() override;

    // When another copy runs, also brings its window to the front, restored.
    bool AnotherInstanceRunning() override;
    float SecondsSinceMidnight() override;
    void EndNow() override;
    // Shows the player why the game cannot go on, releases the mutex, ends with status 1.
    [[noreturn]] void Fail(const wchar_t* message);

private:
    void ReleaseInstance();
    HANDLE mutex_ = nullptr;
};

// Fail() of the running game's process (or a bare message box and status 1 without one).
[[noreturn]] void Fatal(const wchar_t* message);

// Pending messages of the thread, with the window's accelerators.
class Win32EventPump final : public EventPump {
public:
    void Attach(HWND window, HACCEL accelerators) {
        window_ = window;
        accelerators_ = accelerators;
    }
    void ProcessEvents() override;
    // Run first each time: a long task's progress reaches screen readers before the events.
    std::function<void()> beforeEvents;
    // The message loop of the program. Closing the window ends the process from its
    // handler; the loop ends only on a quit message from elsewhere.
    void Run();

private:
    void Dispatch(MSG& msg);

    HWND window_ = nullptr;
    HACCEL accelerators_ = nullptr;
};

}  // namespace sudoku::win32
