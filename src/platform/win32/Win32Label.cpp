#include "platform/win32/Win32Label.h"

#include <cmath>
#include <map>
#include <utility>

#include "platform/win32/DpiScale.h"

namespace sudoku::win32 {

namespace {

constexpr wchar_t kLabelClass[] = L"SudokuGame.Label";

}  // namespace

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

void Win32Label::RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Win32Label::Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kLabelClass;
    RegisterClassExW(&wc);
}

Win32Label::Win32Label(HWND parent, const form::LabelDesign& d, unsigned dpi, Rgb windowColour, LayoutBatch& batch)
    : caption_(d.caption),
      text_(Widen(d.caption)),
      back_(d.background),
      left_(d.left),
      top_(d.top),
      width_(d.width),
      height_(d.height),
      fontPt_(d.fontPt),
      transparent_(d.transparent),
      centred_(d.centred),
      border_(d.border),
      dpi_(dpi),
      windowColour_(windowColour),
      batch_(batch),
      placed_(Bounds()) {
    const PixelRect& r = placed_;
    CreateWindowExW(0, kLabelClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, r.left, r.top,
                    r.right - r.left, r.bottom - r.top, parent, nullptr,
                    reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), this);
}

LRESULT CALLBACK Win32Label::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Win32Label*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Label*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    switch (msg) {
    case WM_NCHITTEST:
        // A label without handlers lets clicks through to what lies beneath.
        if (!self->onClick) return HTTRANSPARENT;
        break;
    case WM_LBUTTONDOWN:
        if (self->onClick) self->onClick();
        return 0;
    case WM_LBUTTONDBLCLK:
        if (self->onDoubleClick) self->onDoubleClick();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint covers every pixel
    case WM_PAINT:
        self->Paint();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void Win32Label::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT r;
    GetClientRect(hwnd_, &r);
    HGDIOBJ brush = GetStockObject(DC_BRUSH);
    SetDCBrushColor(dc, ToColorRef(transparent_ ? windowColour_ : back_));
    FillRect(dc, &r, static_cast<HBRUSH>(brush));
    if (border_) {
        SetDCBrushColor(dc, RGB(0, 0, 0));
        RECT frame = r;
        for (int i = BorderWidth(dpi_); i > 0; --i) {
            FrameRect(dc, &frame, static_cast<HBRUSH>(brush));
            InflateRect(&frame, -1, -1);
        }
    }
    if (!text_.empty()) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        HGDIOBJ old = SelectObject(dc, FontFor(fontPt_, dpi_));
        const UINT align = centred_ ? (DT_CENTER | DT_VCENTER) : (DT_LEFT | DT_TOP);
        DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &r, align | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
    }
    EndPaint(hwnd_, &ps);
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
    visible_ = v;
    Schedule();
}

void Win32Label::Repaint() {
    stale_ = true;
    Schedule();
}

void Win32Label::Schedule() {
    if (pending_) return;
    pending_ = true;
    batch_.Add(this);
}

void Win32Label::Move(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Schedule();
}

PixelRect Win32Label::Bounds() const { return ScaleRect(left_, top_, width_, height_, dpi_); }

void Win32Label::Place() {
    const PixelRect r = placed_ = Bounds();
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOCOPYBITS);
}

void LayoutBatch::Add(Win32Label* label) {
    if (pending_.empty()) PostMessageW(owner_, kApplyMessage, 0, 0);
    pending_.push_back(label);
}

void LayoutBatch::Apply() {
    if (pending_.empty()) return;
    HDWP batch = BeginDeferWindowPos(static_cast<int>(pending_.size()));
    bool anyPlaced = false;
    std::vector<HWND> stale;
    for (Win32Label* label : pending_) {
        label->pending_ = false;
        if (label->stale_) stale.push_back(label->hwnd_);
        label->stale_ = false;
        const PixelRect r = label->Bounds();
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOREDRAW | SWP_NOCOPYBITS;
        const PixelRect& was = label->placed_;
        const bool moved = r.left != was.left || r.top != was.top || r.right != was.right || r.bottom != was.bottom;
        if (!moved) flags |= SWP_NOMOVE | SWP_NOSIZE;
        if (label->visible_ != label->shown_) flags |= label->visible_ ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
        if (!moved && label->visible_ == label->shown_) continue;  // hidden and shown again in place
        anyPlaced = true;
        label->placed_ = r;
        label->shown_ = label->visible_;
        if (batch) batch = DeferWindowPos(batch, label->hwnd_, nullptr, r.left, r.top, r.right - r.left,
                                          r.bottom - r.top, flags);
        if (!batch) SetWindowPos(label->hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
    }
    pending_.clear();
    if (batch) EndDeferWindowPos(batch);
    // After moves or show/hide, or when much changed, one repaint of the client area and every label
    // instead of one request per label.
    if (anyPlaced || stale.size() > kWholeRepaint) {
        RedrawWindow(owner_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    } else {
        for (HWND hwnd : stale) InvalidateRect(hwnd, nullptr, FALSE);
    }
}

void Win32Label::SetDpi(unsigned dpi) {
    if (dpi == dpi_) return;
    dpi_ = dpi;
    Place();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

}  // namespace sudoku::win32
