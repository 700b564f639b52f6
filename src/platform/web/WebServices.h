#pragma once
#include "app/Controls.h"

namespace sudoku::web {

class WebWindow;

// The event pump: the page's window handles what the browser queued meanwhile.
class WebEventPump final : public EventPump {
public:
    void Attach(WebWindow& window) { window_ = &window; }
    void ProcessEvents() override;

private:
    WebWindow* window_ = nullptr;
};

// One game per browser: the page took the browser's lock of the game before the game
// started, or found it held by another tab (web/shell.js).
class WebProcess final : public Process {
public:
    bool AnotherInstanceRunning() override;
    float SecondsSinceMidnight() override;
    // Nothing of the game runs any more: the page shows that it has ended.
    [[noreturn]] void EndNow() override;
};

}  // namespace sudoku::web
