#pragma once
// In-memory controls and services: the same seam as the real window, with every
// property write counted, and scripted random values and event processing.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Game.h"
#include "app/Ui.h"
#include "platform/Controls.h"
#include "platform/FastRandom.h"

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
    explicit MemoryLabel(WriteLog& log) : log_(log) {}
    std::string caption;
    Rgb back = 0;
    int left = 0, top = 0, width = 0, height = 0;
    float fontPt = 0;
    bool visible = true;

    std::string Caption() const override { return caption; }
    void SetCaption(const std::string& t) override { caption = t; ++log_.counts[Prop::Caption]; }
    Rgb BackColor() const override { return back; }
    void SetBackColor(Rgb c) override { back = c; ++log_.counts[Prop::BackColor]; }
    int Left() const override { return left; }
    void SetLeft(int v) override { left = v; ++log_.counts[Prop::Left]; }
    int Top() const override { return top; }
    void SetTop(int v) override { top = v; ++log_.counts[Prop::Top]; }
    int Width() const override { return width; }
    void SetWidth(int v) override { width = v; ++log_.counts[Prop::Width]; }
    int Height() const override { return height; }
    void SetHeight(int v) override { height = v; ++log_.counts[Prop::Height]; }
    float FontSize() const override { return fontPt; }
    void SetFontSize(float pt) override { fontPt = pt; ++log_.counts[Prop::FontSize]; }
    bool Visible() const override { return visible; }
    void SetVisible(bool v) override { visible = v; ++log_.counts[Prop::Visible]; }

private:
    WriteLog& log_;
};

class MemoryMenuItem final : public MenuItem {
public:
    explicit MemoryMenuItem(WriteLog& log) : log_(log) {}
    bool checked = false;
    bool Checked() const override { return checked; }
    void SetChecked(bool v) override { checked = v; ++log_.counts[Prop::Checked]; }

private:
    WriteLog& log_;
};

class MemoryTimer final : public Timer {
public:
    bool enabled = false;
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool v) override { enabled = v; }
};

class MemoryWindow final : public Window {
public:
    bool minimiseSucceeds = true;
    int minimiseRequests = 0;
    bool minimised = false;
    std::function<void()> onClose;  // what closing does; the form runs Form_Unload
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

// A whole main window in memory, built from the form definition, with its game.
class MemoryForm {
public:
    MemoryForm();
    WriteLog log;
    std::vector<std::unique_ptr<MemoryLabel>> cells;    // [1..81]
    std::vector<std::unique_ptr<MemoryLabel>> pickers;  // [1..10]
    std::unique_ptr<MemoryLabel> info;
    std::map<std::string, std::unique_ptr<MemoryMenuItem>> menu;  // by item name
    MemoryTimer timer;
    MemoryWindow window;
    ScriptedPump pump;
    ScriptedRandom random;
    MemoryProcess process;
    Ui ui;
    Game game;

    MemoryLabel& Cell(int n) { return *cells[n]; }
    MemoryLabel& Picker(int k) { return *pickers[k]; }
    MemoryMenuItem& Item(const std::string& name) { return *menu.at(name); }
    // Runs the menu command of the item with that name, as choosing it does.
    void Choose(const std::string& name);
};

}  // namespace sudoku::memory
