#include "platform/win32/Win32Label.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace sudoku::win32 {

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

HFONT FontFor(float pt, unsigned dpi) {
    static std::map<std::pair<long, unsigned>, HFONT> fonts;
    const std::pair<long, unsigned> key{std::lround(pt * 100.0f), dpi};
    if (auto it = fonts.find(key); it != fonts.end()) return it->second;
    LOGFONTW lf{};
    lf.lfHeight = -FontPixelHeight(pt, dpi);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    const std::wstring face = Widen(form::Window().fontFamily);
    for (std::size_t i = 0; i < face.size() && i + 1 < LF_FACESIZE; ++i) lf.lfFaceName[i] = face[i];
    HFONT font = CreateFontIndirectW(&lf);
    fonts.emplace(key, font);
    return font;
}

// --- The canvas -------------------------------------------------------------------------

LabelCanvas::~LabelCanvas() {
    if (memory_) {
        SelectObject(memory_, oldBitmap_);
        DeleteDC(memory_);
    }
    if (bitmap_) DeleteObject(bitmap_);
}

void LabelCanvas::SetDpi(unsigned dpi) {
    if (dpi == dpi_) return;
    dpi_ = dpi;
    if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void LabelCanvas::Invalidate(const PixelRect& p) {
    RECT r{p.left, p.top, p.right, p.bottom};
    if (IsRectEmpty(&r) || !window_) return;
    if (invalid_.empty()) {
        InvalidateRect(window_, &r, FALSE);  // a paint is now due
        invalid_.push_back(r);
    } else if (invalid_.size() < kMostAreas) {
        invalid_.push_back(r);
    } else {
        UnionRect(&invalid_.back(), &invalid_.back(), &r);
    }
}

void LabelCanvas::Paint() {
    if (invalid_.size() > 1) {  // the first was told at once; the rest in one call
        HRGN region = CreateRectRgnIndirect(&invalid_[1]);
        HRGN part = CreateRectRgn(0, 0, 0, 0);
        for (std::size_t i = 2; i < invalid_.size(); ++i) {
            SetRectRgn(part, invalid_[i].left, invalid_[i].top, invalid_[i].right, invalid_[i].bottom);
            CombineRgn(region, region, part, RGN_OR);
        }
        InvalidateRgn(window_, region, FALSE);
        DeleteObject(part);
        DeleteObject(region);
    }
    invalid_.clear();
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    // The parts to paint: the rectangles of the update region, not the box around them (the
    // cell that lost the selection and the one that gained it may lie far apart); the box
    // when there are many. The paint's clip region is the update region, in screen pixels.
    std::vector<RECT> parts;
    if (HRGN update = CreateRectRgn(0, 0, 0, 0)) {
        POINT origin{0, 0};
        if (GetRandomRgn(dc, update, SYSRGN) == 1 && GetDCOrgEx(dc, &origin)) {
            OffsetRgn(update, -origin.x, -origin.y);
            const DWORD size = GetRegionData(update, 0, nullptr);
            std::vector<char> buffer(size);
            auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
            if (size && GetRegionData(update, size, data) && data->rdh.nCount <= kMostAreas) {
                const RECT* r = reinterpret_cast<const RECT*>(data->Buffer);
                for (DWORD i = 0; i < data->rdh.nCount; ++i) {
                    RECT part;
                    if (IntersectRect(&part, &r[i], &ps.rcPaint)) parts.push_back(part);
                }
            }
        }
        DeleteObject(update);
    }
    if (parts.empty()) parts.push_back(ps.rcPaint);
    const SIZE need{ps.rcPaint.right, ps.rcPaint.bottom};
    if (!memory_ || need.cx > bitmapSize_.cx || need.cy > bitmapSize_.cy) {
        if (!memory_) memory_ = CreateCompatibleDC(dc);
        const SIZE size{std::max(need.cx, bitmapSize_.cx), std::max(need.cy, bitmapSize_.cy)};
        HBITMAP bitmap = CreateCompatibleBitmap(dc, size.cx, size.cy);
        if (memory_ && bitmap) {
            HGDIOBJ old = SelectObject(memory_, bitmap);
            if (!oldBitmap_) oldBitmap_ = old;
            if (bitmap_) DeleteObject(bitmap_);
            bitmap_ = bitmap;
            bitmapSize_ = size;
        }
    }
    // Without an off-screen picture (out of memory), straight onto the screen.
    HDC target = bitmap_ && bitmapSize_.cx >= need.cx && bitmapSize_.cy >= need.cy ? memory_ : dc;
    SetBkMode(target, TRANSPARENT);
    SetTextColor(target, RGB(0, 0, 0));
    HGDIOBJ oldFont = GetCurrentObject(target, OBJ_FONT);
    HFONT font = nullptr;  // selected for the last label painted
    for (const RECT& area : parts) {
        SetDCBrushColor(target, ToColorRef(windowColour_));
        FillRect(target, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        for (auto it = labels_.rbegin(); it != labels_.rend(); ++it) {
            const Win32Label& label = **it;
            if (!label.visible_) continue;
            const PixelRect b = label.Bounds();
            if (b.left >= area.right || b.right <= area.left || b.top >= area.bottom || b.bottom <= area.top) continue;
            PaintLabel(target, label, font);
        }
        // At once: the next part's labels may reach into this one off-screen.
        if (target != dc) {
            BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory_, area.left,
                   area.top, SRCCOPY);
        }
    }
    SelectObject(target, oldFont);
    EndPaint(window_, &ps);
}

void LabelCanvas::PaintLabel(HDC dc, const Win32Label& label, HFONT& font) const {
    const PixelRect b = label.Bounds();
    RECT r{b.left, b.top, b.right, b.bottom};
    HBRUSH brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    SetDCBrushColor(dc, ToColorRef(label.transparent_ ? windowColour_ : label.back_));
    FillRect(dc, &r, brush);
    if (label.border_) {
        SetDCBrushColor(dc, RGB(0, 0, 0));
        RECT frame = r;
        for (int i = BorderWidth(dpi_); i > 0; --i) {
            FrameRect(dc, &frame, brush);
            InflateRect(&frame, -1, -1);
        }
    }
    if (!label.text_.empty()) {
        if (HFONT wanted = FontFor(label.fontPt_, dpi_); wanted != font) {
            SelectObject(dc, wanted);
            font = wanted;
        }
        const UINT align = label.centred_ ? (DT_CENTER | DT_VCENTER) : (DT_LEFT | DT_TOP);
        DrawTextW(dc, label.text_.c_str(), static_cast<int>(label.text_.size()), &r, align | DT_SINGLELINE | DT_NOPREFIX);
    }
}

Win32Label* LabelCanvas::LabelAt(POINT p) const {
    // A label without handlers lets clicks through to what lies beneath.
    for (Win32Label* label : labels_) {
        if (!label->visible_ || !label->onClick) continue;
        if (label->Bounds().Contains(p.x, p.y)) return label;
    }
    return nullptr;
}

void LabelCanvas::Press(POINT p, bool doubleClick) {
    Win32Label* label = LabelAt(p);
    const bool isDouble = doubleClick && label && label == lastClicked_;
    lastClicked_ = nullptr;
    pressed_ = label;
    pressIsDouble_ = isDouble;
    if (label) SetCapture(window_);
    if (isDouble && label->onDoubleClick) label->onDoubleClick();
}

void LabelCanvas::Release(POINT p) {
    Win32Label* label = pressed_;
    const bool wasDouble = pressIsDouble_;
    pressed_ = nullptr;
    if (GetCapture() == window_) ReleaseCapture();
    if (!label || wasDouble || !label->visible_) return;
    if (!label->Bounds().Contains(p.x, p.y)) return;
    lastClicked_ = label;
    if (label->onClick) label->onClick();
}

// --- A label ----------------------------------------------------------------------------

Win32Label::Win32Label(LabelCanvas& canvas, const form::LabelDesign& d)
    : canvas_(canvas),
      caption_(d.caption),
      text_(Widen(d.caption)),
      back_(d.background),
      left_(d.left),
      top_(d.top),
      width_(d.width),
      height_(d.height),
      fontPt_(d.fontPt),
      transparent_(d.transparent),
      centred_(d.centred),
      border_(d.border) {
    canvas_.Add(this);
    Repaint();
}

PixelRect Win32Label::Bounds() const { return ScaleRect(left_, top_, width_, height_, canvas_.Dpi()); }

void Win32Label::Repaint() {
    if (visible_) canvas_.Invalidate(Bounds());
}

void Win32Label::SetCaption(const std::string& text) {
    if (text == caption_) return;
    caption_ = text;
    text_ = Widen(text);
    Repaint();
}

void Win32Label::SetBackColor(Rgb color) {
    if (color == back_) return;
    back_ = color;
    if (!transparent_) Repaint();
}

void Win32Label::SetFontSize(float pt) {
    if (pt == fontPt_) return;
    fontPt_ = pt;
    if (!text_.empty()) Repaint();
}

void Win32Label::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = true;  // either way, where it is changes
    Repaint();
    visible_ = v;
}

void Win32Label::Move(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    Repaint();  // where it was
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Repaint();
}

}  // namespace sudoku::win32
