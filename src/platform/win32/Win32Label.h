#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/Controls.h"
#include "app/FormDefinition.h"
#include "platform/win32/DpiScale.h"

namespace sudoku::win32 {

class Win32Label;

// The labels of one window, which are no windows themselves: the window paints them,
// double-buffered, in one WM_PAINT, repaints only what a write changed, and hands clicks
// to the label under the mouse. Labels made earlier lie on top of later ones.
class LabelCanvas {
public:
    LabelCanvas(const HWND& window, Rgb windowColour) : window_(window), windowColour_(windowColour) {}
    ~LabelCanvas();
    LabelCanvas(const LabelCanvas&) = delete;
    LabelCanvas& operator=(const LabelCanvas&) = delete;

    unsigned Dpi() const { return dpi_; }
    void SetDpi(unsigned dpi);

    // WM_PAINT of the window.
    void Paint();
    // Mouse messages of the window, in client pixels. A click is a press and a release
    // inside the same label; the second press of a double click on the label just
    // clicked is its double click, and its release no further click.
    void Press(POINT p, bool doubleClick);
    void Release(POINT p);
    void CancelPress() { pressed_ = nullptr; }

private:
    friend class Win32Label;
    static constexpr std::size_t kMostAreas = 16;  // areas to repaint kept apart, above which one covers all

    void Add(Win32Label* label) { labels_.push_back(label); }
    void Invalidate(const PixelRect& r);
    void PaintLabel(HDC dc, const Win32Label& label, HFONT& font) const;
    Win32Label* LabelAt(POINT p) const;

    const HWND& window_;
    Rgb windowColour_;
    unsigned dpi_ = kBaseDpi;
    std::vector<Win32Label*> labels_;  // in the order made: top-most first
    std::vector<RECT> invalid_;        // told to Windows at the next paint; the first at once
    // The off-screen picture.
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    SIZE bitmapSize_{0, 0};
    // The mouse.
    Win32Label* pressed_ = nullptr;
    bool pressIsDouble_ = false;
    Win32Label* lastClicked_ = nullptr;
};

// A label of the board, the picker or the status line, made from its design. It keeps
// the values the game set (game pixels and points) and is shown scaled to the window's
// DPI by its canvas. It never takes the focus.
class Win32Label final : public Label {
public:
    Win32Label(LabelCanvas& canvas, const form::LabelDesign& design);
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

    // Where it is shown, in real pixels of the window.
    PixelRect Bounds() const;

private:
    friend class LabelCanvas;
    void Move(int left, int top, int width, int height);
    void Repaint();

    LabelCanvas& canvas_;
    std::string caption_;
    std::wstring text_;
    Rgb back_;
    int left_, top_, width_, height_;
    float fontPt_;
    bool visible_ = true;
    bool transparent_, centred_, border_;
};

// The game's font at a size in points for a DPI; made once, kept for the process.
HFONT FontFor(float pt, unsigned dpi);

std::wstring Widen(const std::string& utf8);

inline COLORREF ToColorRef(Rgb rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace sudoku::win32
