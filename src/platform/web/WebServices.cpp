#include "platform/web/WebServices.h"

#include <emscripten.h>

#include "platform/web/WebWindow.h"

EM_JS(int, JsAnotherTab, (void), { return Shell.anotherTab() ? 1 : 0; });
EM_JS(double, JsSecondsSinceMidnight, (void), {
    const d = new Date();
    return d.getHours() * 3600 + d.getMinutes() * 60 + d.getSeconds() + d.getMilliseconds() / 1000;
});
EM_JS(void, JsEnd, (void), { Shell.end(); });

namespace sudoku::web {

void WebEventPump::ProcessEvents() {
    if (window_) window_->ProcessEvents();
}

bool WebProcess::AnotherInstanceRunning() { return JsAnotherTab() != 0; }

float WebProcess::SecondsSinceMidnight() { return static_cast<float>(JsSecondsSinceMidnight()); }

void WebProcess::EndNow() {
    JsEnd();
    // The game's code stays suspended here for good: no handler runs again.
    for (;;) emscripten_sleep(1 << 30);
}

}  // namespace sudoku::web
