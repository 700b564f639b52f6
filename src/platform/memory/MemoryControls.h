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

class MemoryLabel final : public Label {
public:
    MemoryLabel(WriteLog& log, const form::LabelDesign& d, Callback onClick, Callback onDoubleClick)
        : caption(d.caption), back(d.background), left(d.left), top(d.top), width(d.width), height(d.height),
          fontPt(d.fontPt), log_(log), onClick_(std::move(onClick)), onDoubleClick_(std::move(onDoubleClick)) {}
    std::string caption;
    Rgb back = 0;
    int left = 0, top = 0, width = 0, height = 0;
    float fontPt = 0;
    bool visible = true;
    // Geometry and font writes made while the label was shown: on a screen each would be
    // drawn half done.
    int shownMoves = 0;

    // Reports a click or the second half of a double click, as a front end does.
    void Click() { if (onClick_) onClick_(); }
    void DoubleClick() { if (onDoubleClick_) onDoubleClick_(); }

    std::string Caption() const override { return caption; }
    void SetCaption(const std::string& t) override { caption = t; Count(Prop::Caption); }
    Rgb BackColor() const override { return back; }
    void SetBackColor(Rgb c) override { back = c; Count(Prop::BackColor); }
    int Left() const override { return left; }
    void SetLeft(int v) override { left = v; Move(Prop::Left); }
    int Top() const override { return top; }
    void SetTop(int v) override { top = v; Move(Prop::Top); }
    int Width() const override { return width; }
    void SetWidth(int v) override { width = v; Move(Prop::Width); }
    int Height() const override { return height; }
    void SetHeight(int v) override { height = v; Move(Prop::Height); }
    float FontSize() const override { return fontPt; }
    void SetFontSize(float pt) override { fontPt = pt; Move(Prop::FontSize); }
    bool Visible() const override { return visible; }
    void SetVisible(bool v) override { visible = v; Count(Prop::Visible); }

private:
    void Count(Prop p) { ++log_.counts[p]; }
    void Move(Prop p) {
        Count(p);
        if (visible) ++shownMoves;
    }
    WriteLog& log_;
    Callback onClick_, onDoubleClick_;
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
    std::vector<std::unique_ptr<MemoryLabel>> labels;              // in the order made
    std::map<std::string, std::unique_ptr<MemoryMenuItem>> menu;  // by item name, separators too
    MemoryTimer timer;
    MemoryWindow window;
    BoardAccess* access = nullptr;

    Window& MakeWindow(const form::WindowDesign&, KeyCallback onKey, Callback onClose) override {
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
        labels.push_back(std::make_unique<MemoryLabel>(log, d, std::move(onClick), std::move(onDoubleClick)));
        return *labels.back();
    }
    void AddMenu(const form::MenuDesign&) override {}
    void AddSeparator(const form::MenuItemDesign& d) override { AddMenuItem(d, {}); }
    MenuItem& AddMenuItem(const form::MenuItemDesign& d, Callback onChoose) override {
        return *(menu[d.name] = std::make_unique<MemoryMenuItem>(log, d.checked, std::move(onChoose)));
    }
    void SetBoardAccess(BoardAccess& a) override { access = &a; }
};

}  // namespace sudoku::memory
