#pragma once
#include <memory>
#include <vector>

#include "app/Controls.h"
#include "app/FormBuilder.h"
#include "platform/web/WebAccess.h"
#include "scene/Scene.h"

namespace sudoku::web {

class WebMenuItem final : public MenuItem {
public:
    explicit WebMenuItem(int index, bool checked) : index_(index), checked_(checked) {}
    bool Checked() const override { return checked_; }
    void SetChecked(bool v) override;

private:
    int index_;
    bool checked_;
};

class WebTimer final : public Timer {
public:
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool v) override;
    // Runs onTick when its interval has passed; the milliseconds until it is due next.
    double Run(double now);

    int intervalMs = 0;
    Callback onTick;

private:
    bool enabled_ = false;
    double due_ = 0;
};

// The page as the window: the scene painted on a canvas in device pixels, the menus and the
// accessible elements of the page (web/shell.js), and the loop that hands the game the
// page's events one at a time.
class WebWindow final : public ControlFactory, public Window, public scene::Surface {
public:
    Window& MakeWindow(const form::WindowDesign& design, KeyCallback onKey, Callback onClose) override;
    Timer& MakeTimer(int intervalMs, Callback onTick) override;
    Label& MakeLabel(const form::LabelDesign& design, Callback onClick, Callback onDoubleClick) override;
    void AddMenu(const form::MenuDesign& design) override;
    void AddSeparator(const form::MenuItemDesign& design) override;
    MenuItem& AddMenuItem(const form::MenuItemDesign& design, Callback onChoose) override;
    void SetBoardAccess(BoardAccess& access) override { access_.Attach(access); }

    bool Minimise() override;
    void Close() override;
    void Invalidate(const scene::DeviceRect& area) override;

    // The page's loop: never returns.
    [[noreturn]] void Run();
    // The event pump: lets the browser run, then handles what arrived meanwhile.
    void ProcessEvents();

private:
    Callback Told(Callback event);  // the event, then what it changed told to readers
    void Turn();        // pending events, the timer, then the canvas and the elements' places
    void Handle(const int* event, const char* text);
    void Fit();         // the canvas to the scale and to the shown labels
    void Paint();

    scene::Scene scene_{*this, 0};
    KeyCallback onKey_;
    Callback onClose_;
    WebTimer timer_;
    std::vector<std::unique_ptr<WebMenuItem>> items_;
    std::vector<Callback> commands_;  // by menu item index
    std::vector<scene::DeviceRect> invalid_;
    WebAccess access_{scene_};
    int clientWidth_ = 0, clientHeight_ = 0;
    int marginRight_ = -1, marginBottom_ = -1;
    int deviceWidth_ = 0, deviceHeight_ = 0;
    bool closed_ = false;
};

}  // namespace sudoku::web
