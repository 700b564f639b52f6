#include "platform/win32/Win32Board.h"

#include <algorithm>

#include "scene/PaintAreas.h"

namespace sudoku::win32 {

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

namespace {

RECT ToRect(const scene::DeviceRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// Paints on a device context; the font last selected is kept for the next text.
class GdiCanvas final : public scene::Canvas {
public:
    GdiCanvas(HDC dc, Win32Board& board) : dc_(dc), board_(board), clip_(CreateRectRgn(0, 0, 0, 0)) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        oldFont_ = GetCurrentObject(dc, OBJ_FONT);
    }
    ~GdiCanvas() override {
        SelectObject(dc_, oldFont_);
        SelectClipRgn(dc_, nullptr);
        DeleteObject(clip_);
    }
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    void Clip(const scene::DeviceRect& area) override {
        SetRectRgn(clip_, area.left, area.top, area.right, area.bottom);
        SelectClipRgn(dc_, clip_);
    }
    void Fill(const scene::DeviceRect& r, Rgb colour) override {
        const RECT rect = ToRect(r);
        SetDCBrushColor(dc_, ToColorRef(colour));
        FillRect(dc_, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
    void Text(const scene::DeviceRect& r, const std::string& utf8, int pixelHeight, bool centred) override {
        if (HFONT wanted = board_.Font(pixelHeight); wanted != font_) {
            SelectObject(dc_, wanted);
            font_ = wanted;
        }
        RECT rect = ToRect(r);
        const std::wstring text = Widen(utf8);
        const UINT align = centred ? (DT_CENTER | DT_VCENTER) : (DT_LEFT | DT_TOP);
        DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &rect, align | DT_SINGLELINE | DT_NOPREFIX);
    }

private:
    HDC dc_;
    Win32Board& board_;
    HRGN clip_;
    HGDIOBJ oldFont_;
    HFONT font_ = nullptr;
};

}  // namespace

Win32Board::Win32Board(const HWND& window, const form::WindowDesign& design)
    : window_(window), family_(Widen(design.fontFamily)), scene_(*this, design.background) {}

Win32Board::~Win32Board() {
    if (memory_) {
        SelectObject(memory_, oldBitmap_);
        DeleteDC(memory_);
    }
    if (bitmap_) DeleteObject(bitmap_);
}

HFONT Win32Board::Font(int pixels) {
    for (const auto& [height, font] : fonts_)
        if (height == pixels) return font;
    LOGFONTW lf{};
    lf.lfHeight = -pixels;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    for (std::size_t i = 0; i < family_.size() && i + 1 < LF_FACESIZE; ++i) lf.lfFaceName[i] = family_[i];
    HFONT font = CreateFontIndirectW(&lf);
    fonts_.emplace_back(pixels, font);
    return font;
}

void Win32Board::Invalidate(const scene::DeviceRect& area) {
    RECT r = ToRect(area);
    if (!window_) return;
    if (invalid_.empty()) {
        InvalidateRect(window_, &r, FALSE);  // a paint is now due
        invalid_.push_back(r);
    } else if (invalid_.size() < kMostAreas) {
        invalid_.push_back(r);
    } else {
        UnionRect(&invalid_.back(), &invalid_.back(), &r);
    }
}

void Win32Board::Press(POINT p, bool doubleClick) {
    if (scene_.Press(p.x, p.y, doubleClick)) SetCapture(window_);
}

void Win32Board::Release(POINT p) {
    scene_.Release(p.x, p.y);
    if (GetCapture() == window_) ReleaseCapture();
}

void Win32Board::Paint() {
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
    const scene::DeviceRect box{ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom};
    // The paint's clip region is the update region, in screen pixels.
    std::vector<scene::DeviceRect> region;
    if (HRGN update = CreateRectRgn(0, 0, 0, 0)) {
        POINT origin{0, 0};
        if (GetRandomRgn(dc, update, SYSRGN) == 1 && GetDCOrgEx(dc, &origin)) {
            OffsetRgn(update, -origin.x, -origin.y);
            const DWORD size = GetRegionData(update, 0, nullptr);
            std::vector<char> buffer(size);
            auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
            if (size && GetRegionData(update, size, data)) {
                const RECT* r = reinterpret_cast<const RECT*>(data->Buffer);
                for (DWORD i = 0; i < data->rdh.nCount; ++i)
                    region.push_back({r[i].left, r[i].top, r[i].right, r[i].bottom});
            }
        }
        DeleteObject(update);
    }
    const std::vector<scene::DeviceRect> parts = scene::PaintAreas(box, region, kMostAreas);
    const scene::PictureSize need = scene::PictureFor(box, bitmapSize_);
    if (!memory_ || need != bitmapSize_) {
        if (!memory_) memory_ = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, need.width, need.height);
        if (memory_ && bitmap) {
            HGDIOBJ old = SelectObject(memory_, bitmap);
            if (!oldBitmap_) oldBitmap_ = old;
            if (bitmap_) DeleteObject(bitmap_);
            bitmap_ = bitmap;
            bitmapSize_ = need;
        }
    }
    // Without an off-screen picture (out of memory), straight onto the screen.
    HDC target = bitmap_ && bitmapSize_ == need ? memory_ : dc;
    {
        GdiCanvas canvas(target, *this);
        for (const scene::DeviceRect& area : parts) {
            scene_.Paint(canvas, area);
            if (target != dc) {
                BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory_, area.left,
                       area.top, SRCCOPY);
            }
        }
    }
    EndPaint(window_, &ps);
}

}  // namespace sudoku::win32
