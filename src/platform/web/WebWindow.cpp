#include "platform/web/WebWindow.h"

#include <emscripten.h>

#include <algorithm>
#include <string>

#include "platform/web/KeyCodes.h"

// The page's side: web/shell.js.
EM_JS(void, JsWindow, (const char* title, int colour, int width, int height), {
    Shell.makeWindow(UTF8ToString(title), colour, width, height);
});
EM_JS(void, JsMenu, (const char* caption), { Shell.addMenu(UTF8ToString(caption)); });
EM_JS(void, JsMenuItem, (int index, const char* caption, int checkable, int checked, int functionKey), {
    Shell.addMenuItem(index, UTF8ToString(caption), checkable, checked, functionKey);
});
EM_JS(void, JsSeparator, (void), { Shell.addSeparator(); });
EM_JS(void, JsChecked, (int index, int checked), { Shell.setChecked(index, checked); });
EM_JS(double, JsRatio, (void), { return Shell.ratio(); });
EM_JS(double, JsNow, (void), { return performance.now(); });
EM_JS(void, JsResize, (int deviceWidth, int deviceHeight), { Shell.resize(deviceWidth, deviceHeight); });
EM_JS(void, JsClip, (int l, int t, int r, int b), { Shell.clip(l, t, r, b); });
EM_JS(void, JsFill, (int l, int t, int r, int b, int colour), { Shell.fill(l, t, r, b, colour); });
EM_JS(void, JsText, (int l, int t, int r, int b, const char* text, int px, int centred), {
    Shell.text(l, t, r, b, UTF8ToString(text), px, centred);
});
EM_JS(void, JsPainted, (void), { Shell.painted(); });
EM_JS(int, JsNextEvent, (int* event, char* text, int textSize), {
    const next = Shell.nextEvent();
    if (!next) return 0;
    for (let i = 0; i < 4; i++) HEAP32[(event >> 2) + i] = next.event[i] | 0;
    stringToUTF8(next.text || "", text, textSize);
    return 1;
});
EM_ASYNC_JS(void, JsWait, (double ms), { await Shell.wait(ms); });
EM_JS(void, JsClose, (void), { Shell.close(); });

namespace sudoku::web {

namespace {

// What the page queues (web/shell.js): a kind and its numbers, and for a key its names.
enum Event { kKey = 1, kPress, kRelease, kCancel, kCommand, kActivate };
constexpr int kEventInts = 4, kEventText = 96;

class WebCanvas final : public scene::Canvas {
public:
    void Clip(const scene::DeviceRect& a) override { JsClip(a.left, a.top, a.right, a.bottom); }
    void Fill(const scene::DeviceRect& r, Rgb colour) override {
        JsFill(r.left, r.top, r.right, r.bottom, static_cast<int>(colour));
    }
    void Text(const scene::DeviceRect& r, const std::string& utf8, int px, bool centred) override {
        JsText(r.left, r.top, r.right, r.bottom, utf8.c_str(), px, centred ? 1 : 0);
    }
};

}  // namespace

void WebMenuItem::SetChecked(bool v) {
    checked_ = v;
    JsChecked(index_, v ? 1 : 0);
}

void WebTimer::SetEnabled(bool v) {
    if (v && !enabled_) due_ = JsNow() + intervalMs;
    enabled_ = v;
}

double WebTimer::Run(double now) {
    if (!enabled_) return 1e9;
    if (now >= due_) {
        due_ = now + intervalMs;
        if (onTick) onTick();
    }
    return enabled_ ? std::max(0.0, due_ - now) : 1e9;
}

Window& WebWindow::MakeWindow(const form::WindowDesign& d, KeyCallback onKey, Callback onClose) {
    onKey_ = [this, onKey = std::move(onKey)](std::int16_t key, std::int16_t shift) {
        onKey(key, shift);
        access_.Tell();
    };
    onClose_ = std::move(onClose);
    clientWidth_ = d.clientWidth;
    clientHeight_ = d.clientHeight;
    scene_.SetWindowColour(d.background);
    JsWindow(d.title.c_str(), static_cast<int>(d.background), d.clientWidth, d.clientHeight);
    return *this;
}

Timer& WebWindow::MakeTimer(int intervalMs, Callback onTick) {
    timer_.intervalMs = intervalMs;
    timer_.onTick = Told(std::move(onTick));
    return timer_;
}

Label& WebWindow::MakeLabel(const form::LabelDesign& d, Callback onClick, Callback onDoubleClick) {
    return scene_.Add(d, Told(std::move(onClick)), Told(std::move(onDoubleClick)));
}

void WebWindow::AddMenu(const form::MenuDesign& d) { JsMenu(d.caption); }

void WebWindow::AddSeparator(const form::MenuItemDesign&) { JsSeparator(); }

MenuItem& WebWindow::AddMenuItem(const form::MenuItemDesign& d, Callback onChoose) {
    const int index = static_cast<int>(items_.size());
    JsMenuItem(index, d.caption, d.Checkable() ? 1 : 0, d.checked ? 1 : 0, d.shortcut.functionKey);
    commands_.push_back(Told(std::move(onChoose)));
    return *items_.emplace_back(std::make_unique<WebMenuItem>(index, d.checked));
}

Callback WebWindow::Told(Callback event) {
    if (!event) return {};
    return [this, event = std::move(event)] {
        event();
        access_.Tell();
    };
}

// A page cannot be minimised: the game then goes on as with any refusal.
bool WebWindow::Minimise() { return false; }

void WebWindow::Close() {
    if (closed_) return;
    closed_ = true;
    JsClose();
    if (onClose_) onClose_();
}

void WebWindow::Invalidate(const scene::DeviceRect& area) {
    // Past a few dozen areas the last one grows to cover the rest.
    if (invalid_.size() < 64) invalid_.push_back(area);
    else invalid_.back() = invalid_.back().United(area);
}

void WebWindow::Run() {
    for (;;) {
        Turn();
        JsWait(timer_.Run(JsNow()));
    }
}

void WebWindow::ProcessEvents() {
    access_.Tell();  // a long task's progress reaches readers before the events
    emscripten_sleep(0);
    Turn();
}

void WebWindow::Turn() {
    int event[kEventInts];
    char text[kEventText];
    while (JsNextEvent(event, text, kEventText)) Handle(event, text);
    timer_.Run(JsNow());
    Fit();
    Paint();
    access_.Place();
}

void WebWindow::Handle(const int* e, const char* text) {
    switch (e[0]) {
    case kKey: {
        // text: "code key plain", separated by tabs.
        const std::string_view all(text);
        const std::size_t a = all.find('\t'), b = all.find('\t', a == all.npos ? a : a + 1);
        if (a == all.npos || b == all.npos) return;
        const std::int16_t code = VirtualKeyOf(all.substr(0, a), all.substr(a + 1, b - a - 1), all.substr(b + 1));
        if (onKey_) onKey_(code, static_cast<std::int16_t>(e[1]));
        break;
    }
    case kPress: scene_.Press(e[1], e[2], e[3] != 0); break;
    case kRelease: scene_.Release(e[1], e[2]); break;
    case kCancel: scene_.Cancel(); break;
    case kCommand:
        if (e[1] >= 0 && e[1] < static_cast<int>(commands_.size()) && commands_[static_cast<std::size_t>(e[1])])
            commands_[static_cast<std::size_t>(e[1])]();
        break;
    case kActivate: access_.Activate(e[1]); break;
    default: break;
    }
}

void WebWindow::Fit() {
    const scene::Scale scale = scene::Scale::FromFactor(std::max(1.0, JsRatio()));
    scene_.SetScale(scale);
    // The client area as designed, grown to hold the shown labels with the margins the design
    // leaves them (its labels are laid out as designed when the page first fits).
    int right = 0, bottom = 0;
    for (const auto& label : scene_.Labels()) {
        if (!label->Visible()) continue;
        right = std::max(right, label->Left() + label->Width());
        bottom = std::max(bottom, label->Top() + label->Height());
    }
    if (marginRight_ < 0) {
        marginRight_ = std::max(0, clientWidth_ - right);
        marginBottom_ = std::max(0, clientHeight_ - bottom);
    }
    right = std::max(clientWidth_, right + marginRight_);
    bottom = std::max(clientHeight_, bottom + marginBottom_);
    const int w = scale.Device(right), h = scale.Device(bottom);
    if (w == deviceWidth_ && h == deviceHeight_) return;
    deviceWidth_ = w;
    deviceHeight_ = h;
    JsResize(w, h);  // a canvas of a new size is blank: painted whole
    invalid_.assign(1, {0, 0, w, h});
}

void WebWindow::Paint() {
    if (invalid_.empty()) return;
    WebCanvas canvas;
    const scene::DeviceRect whole{0, 0, deviceWidth_, deviceHeight_};
    for (const scene::DeviceRect& area : invalid_) scene_.Paint(canvas, area.Intersected(whole));
    invalid_.clear();
    JsPainted();
}

}  // namespace sudoku::web
