#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "app/FormDefinition.h"
#include "scene/PaintAreas.h"
#include "scene/Scene.h"

namespace sudoku::win32 {

// The client area of the main window, which paints the label scene: double-buffered, in one
// WM_PAINT, only the areas a change touched; and hands the left mouse button to the scene.
class Win32Board final : public scene::Surface {
public:
    Win32Board(const HWND& window, const form::WindowDesign& design);
    ~Win32Board() override;
    Win32Board(const Win32Board&) = delete;
    Win32Board& operator=(const Win32Board&) = delete;

    scene::Scene& Scene() { return scene_; }
    void SetDpi(unsigned dpi) { scene_.SetScale(scene::Scale::FromDpi(dpi)); }

    // WM_PAINT of the window.
    void Paint();
    // Mouse messages of the window, in client pixels; the mouse is kept from a press on a
    // label to its release.
    void Press(POINT p, bool doubleClick);
    void Release(POINT p);
    void CancelPress() { scene_.Cancel(); }

    void Invalidate(const scene::DeviceRect& area) override;
    // The game's font with an em height in pixels; made once, kept for the process.
    HFONT Font(int pixels);

private:
    static constexpr std::size_t kMostAreas = 16;  // areas to repaint kept apart, above which one covers all

    const HWND& window_;
    std::wstring family_;
    scene::Scene scene_;
    std::vector<RECT> invalid_;  // told to Windows at the next paint; the first at once
    std::vector<std::pair<int, HFONT>> fonts_;
    // The off-screen picture.
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    scene::PictureSize bitmapSize_;
};

std::wstring Widen(const std::string& utf8);

inline COLORREF ToColorRef(Rgb rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace sudoku::win32
