#pragma once
// The controls and services the game talks to. The game never sees the toolkit:
// it reads and writes these, and the toolkit (or a test) provides them.
#include <cstdint>
#include <string>

namespace sudoku {

using Rgb = std::uint32_t;  // 0xRRGGBB

class Label {
public:
    virtual ~Label() = default;
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& text) = 0;
    virtual Rgb BackColor() const = 0;
    virtual void SetBackColor(Rgb color) = 0;
    virtual int Left() const = 0;
    virtual void SetLeft(int v) = 0;
    virtual int Top() const = 0;
    virtual void SetTop(int v) = 0;
    virtual int Width() const = 0;
    virtual void SetWidth(int v) = 0;
    virtual int Height() const = 0;
    virtual void SetHeight(int v) = 0;
    virtual float FontSize() const = 0;
    virtual void SetFontSize(float pt) = 0;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool v) = 0;
};

class MenuItem {
public:
    virtual ~MenuItem() = default;
    virtual bool Checked() const = 0;
    virtual void SetChecked(bool v) = 0;
};

class Timer {
public:
    virtual ~Timer() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool v) = 0;
};

class Window {
public:
    virtual ~Window() = default;
    // Returns false when the platform refuses.
    virtual bool Minimise() = 0;
    // Closes the window as its close box does.
    virtual void Close() = 0;
};

// Handles every pending event of the window, then returns.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void ProcessEvents() = 0;
};

// Uniform single-precision values in [0, 1).
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void Seed(float seed) = 0;
    virtual float Next() = 0;
    // The next n values, exactly as n calls of Next() would return them.
    virtual void NextBatch(float* out, int n) {
        for (int i = 0; i < n; ++i) out[i] = Next();
    }
};

class Process {
public:
    virtual ~Process() = default;
    // True when another copy of the game already runs.
    virtual bool AnotherInstanceRunning() = 0;
    // Seconds since midnight, with fraction.
    virtual float SecondsSinceMidnight() = 0;
    // Ends the process at once; no further handler runs.
    virtual void EndNow() = 0;
};

}  // namespace sudoku
