#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/FormDefinition.h"
#include "app/Controls.h"
#include "platform/win32/DpiScale.h"

namespace sudoku::win32 {

class Win32Label;

// Moves, show/hide and repaints of labels are gathered while a handler runs and applied
// together when the messages are next processed, before anything is painted: a new
// board size hides, moves, resizes and shows every cell, a new puzzle changes the
// caption and colour of most, and Windows is told once.
class LayoutBatch {
public:
    static constexpr UINT kApplyMessage = WM_APP + 1;  // posted to the owner
    explicit LayoutBatch(const HWND& owner) : owner_(owner) {}
    void Add(Win32Label* label);
    void Apply();

private:
    static constexpr std::size_t kWholeRepaint = 12;  // labels to repaint, above which all are
    const HWND& owner_;
    std::vector<Win32Label*> pending_;
};

// A label of the board, the picker or the status line: one child window of our own
// class. It keeps the values the game set (game pixels and points) and shows them
// scaled to the window's DPI. It never takes the focus. A double click arrives as
// click, then double click.
class Win32Label final : public Label {
public:
    static void RegisterWindowClass(HINSTANCE instance);

    Win32Label(HWND parent, const form::LabelDesign& design, unsigned dpi, Rgb windowColour, LayoutBatch& batch);
    Win32Label(const Win32Label&) = delete;
    Win32Label& operator=(const Win32Label&) = delete;

    std::function<void()> onClick;
    std::function<void()> onDoubleClick;

    std::string Caption() const override { return caption_; }
    void SetCaption(const std::string& text) override;
    Rgb BackColor() const override { return back_; }
    void SetBackColor(Rgb color) override;
    int Left() const override { return left_; }
    void SetLeft(int v) override { Move(v, top_, width_, height_); }
    int Top() const override { return top_; }
    void SetTop(int v) override { Move(left_, v, width_, height_); }
    int Width() const override { return width_; }
    void SetWidth(int v) override { Move(left_, top_, v, height_); }
    int Height() const override { return height_; }
    void SetHeight(int v) override { Move(left_, top_, width_, v); }
    float FontSize() const override { return fontPt_; }
    void SetFontSize(float pt) override;
    bool Visible() const override { return visible_; }
    void SetVisible(bool v) override;

    // The window moved to a screen of another DPI.
    void SetDpi(unsigned dpi);

private:
    friend class LayoutBatch;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void Move(int left, int top, int width, int height);
    void Schedule();
    void Repaint();
    PixelRect Bounds() const;
    void Place();
    void Paint();

    HWND hwnd_ = nullptr;
    std::string caption_;
    std::wstring text_;
    Rgb back_;
    int left_, top_, width_, height_;
    float fontPt_;
    bool visible_ = true;
    bool transparent_, centred_, border_;
    unsigned dpi_;
    Rgb windowColour_;
    LayoutBatch& batch_;
    bool pending_ = false;  // in the batch
    bool stale_ = false;    // to be repainted
    PixelRect placed_;      // where Windows has it
    bool shown_ = true;     // whether Windows shows it
};

// The game's font at a size in points for a DPI; made once, kept for the process.
HFONT FontFor(float pt, unsigned dpi);

std::wstring Widen(const std::string& utf8);

inline COLORREF ToColorRef(Rgb rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace sudoku::win32
