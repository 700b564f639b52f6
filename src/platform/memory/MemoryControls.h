#pragma once
// The in-memory front end: every control a record, every property write counted, made
// by the form builder like any window; with scripted random values and event processing.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Controls.h"
#include "app/FormBuilder.h"
#include "generator/FastRandom.h"
#include "platform/memory/MemoryScreen.h"
#include "scene/Scene.h"

namespace sudoku::memory {

enum class Prop { Caption, BackColor, Left, Top, Width, Height, FontSize, Visible, Checked, Enabled };

// Counts property writes, by property, across a whole set of controls.
struct WriteLog {
    std::map<Prop, int> counts;
    int Count(Prop p) const {
        auto it = counts.find(p);
        return it == counts.end() ? 0 : it->second;
    }
    int Geometry() const {
        return Count(Prop::Left) + Count(Prop::Top) + Count(Prop::Width) + Count(Prop::Height) + Count(Prop::FontSize);
    }
    void Reset() { counts.clear(); }
};

// A label of the scene whose every property write is counted, clicked by its device pixels
// through the scene's mouse rules as a player clicks it.
class MemoryLabel final : public scene::SceneLabel {
public:
    MemoryLabel(scene::Scene& scene, const form::LabelDesign& d, Callback onClick, Callback onDoubleClick,
                WriteLog& log)
        : SceneLabel(scene, d, std::move(onClick), std::move(onDoubleClick)), scene_(scene), log_(log) {}
    // The values as they stand; a test may set one behind the game's back (not counted, not repainted).
    std::string& caption = caption_;
    Rgb& back = back_;
    int& left = left_;
    int& top = top_;
    int& width = width_;
    int& height = height_;
    float& fontPt = fontPt_;
    bool& visible = visible_;
    // Geometry and font writes made while the label was shown: on a screen each would be
    // drawn half done.
    int shownMoves = 0;

    // A press and a release at its centre; a double click: the second press and its release.
    void Click() { ClickAtCentre(false); }
    void DoubleClick() { ClickAtCentre(true); }

    void SetCaption(const std::string& t) override { Count(Prop::Caption); SceneLabel::SetCaption(t); }
    void SetBackColor(Rgb c) override { Count(Prop::BackColor); SceneLabel::SetBackColor(c); }
    void SetLeft(int v) override { Move(Prop::Left); SceneLabel::SetLeft(v); }
    void SetTop(int v) override { Move(Prop::Top); SceneLabel::SetTop(v); }
    void SetWidth(int v) override { Move(Prop::Width); SceneLabel::SetWidth(v); }
    void SetHeight(int v) override { Move(Prop::Height); SceneLabel::SetHeight(v); }
    void SetFontSize(float pt) override { Move(Prop::FontSize); SceneLabel::SetFontSize(pt); }
    void SetVisible(bool v) override { Count(Prop::Visible); SceneLabel::SetVisible(v); }

private:
    void Count(Prop p) { ++log_.counts[p]; }
    void Move(Prop p) {
        Count(p);
        if (visible_) ++shownMoves;
    }
    void ClickAtCentre(bool doubleClick) {
        const scene::DeviceRect b = Bounds();
        const int x = (b.left + b.right) / 2, y = (b.top + b.bottom) / 2;
        scene_.Press(x, y, doubleClick);
        scene_.Release(x, y);
    }
    scene::Scene& scene_;
    WriteLog& log_;
};

class MemoryMenuItem final : public MenuItem {
public:
    MemoryMenuItem(WriteLog& log, bool checked, Callback onChoose)
        : checked(checked), log_(log), onChoose_(std::move(onChoose)) {}
    bool checked = false;
    bool Checked() const override { return checked; }
    void SetChecked(bool v) override { checked = v; ++log_.counts[Prop::Checked]; }
    // Chooses the item, as its menu or shortcut does; a separator does nothing.
    void Choose() { if (onChoose_) onChoose_(); }

private:
    WriteLog& log_;
    Callback onChoose_;
};

class MemoryTimer final : public Timer {
public:
    bool enabled = false;
    int intervalMs = 0;
    Callback onTick;
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool v) override { enabled = v; }
};

class MemoryWindow final : public Window {
public:
    bool minimiseSucceeds = true;
    int minimiseRequests = 0;
    bool minimised = false;
    std::function<void()> onClose;  // what closing does: the form builder connects it
    KeyCallback onKey;
    bool Minimise() override {
        ++minimiseRequests;
        if (minimiseSucceeds) minimised = true;
        return minimiseSucceeds;
    }
    void Close() override {
        if (onClose) onClose();
    }
};

// Runs a scripted action each time events are processed.
class ScriptedPump final : public EventPump {
public:
    int calls = 0;
    std::function<void()> onProcess;
    void ProcessEvents() override {
        ++calls;
        if (onProcess) onProcess();
    }
};

// Plays back scripted values first, then continues from a seeded generator.
class ScriptedRandom final : public RandomSource {
public:
    std::deque<float> script;
    FastRandom fallback;
    long draws = 0;
    void Seed(float seed) override { fallback.Seed(seed); }
    float Next() override {
        ++draws;
        if (script.empty()) return fallback.Next();
        const float v = script.front();
        script.pop_front();
        return v;
    }
    void NextBatch(float* out, int n) override {
        draws += n;
        int i = 0;
        for (; i < n && !script.empty(); ++i) {
            out[i] = script.front();
            script.pop_front();
        }
        fallback.NextBatch(out + i, n - i);
    }
};

class MemoryProcess final : public Process {
public:
    bool anotherRunning = false;
    float seconds = 12345.5f;
    int endRequests = 0;
    bool AnotherInstanceRunning() override { return anotherRunning; }
    float SecondsSinceMidnight() override { return seconds; }
    void EndNow() override { ++endRequests; }  // recorded, not carried out
};

// The controls of one window, as the form builder asks for them.
class MemoryControls : public ControlFactory {
public:
    WriteLog log;
    MemoryScreen screen;
    scene::Scene scene{screen, 0};
    std::vector<MemoryLabel*> labels;                             // in the order made
    std::map<std::string, std::unique_ptr<MemoryMenuItem>> menu;  // by item name, separators too
    MemoryTimer timer;
    MemoryWindow window;
    BoardAccess* access = nullptr;

    Window& MakeWindow(const form::WindowDesign& d, KeyCallback onKey, Callback onClose) override {
        scene.SetWindowColour(d.background);
        window.onKey = std::move(onKey);
        window.onClose = std::move(onClose);
        return window;
    }
    Timer& MakeTimer(int intervalMs, Callback onTick) override {
        timer.intervalMs = intervalMs;
        timer.onTick = std::move(onTick);
        return timer;
    }
    Label& MakeLabel(const form::LabelDesign& d, Callback onClick, Callback onDoubleClick) override {
        return *labels.emplace_back(&scene.Add<MemoryLabel>(d, std::move(onClick), std::move(onDoubleClick), log));
    }
    void AddMenu(const form::MenuDesign&) override {}
    void AddSeparator(const form::MenuItemDesign& d) override { AddMenuItem(d, {}); }
    MenuItem& AddMenuItem(const form::MenuItemDesign& d, Callback onChoose) override {
        return *(menu[d.name] = std::make_unique<MemoryMenuItem>(log, d.checked, std::move(onChoose)));
    }
    void SetBoardAccess(BoardAccess& a) override { access = &a; }
};

}  // namespace sudoku::memory
