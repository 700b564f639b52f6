#include "platform/win32/Win32MainWindow.h"

#include <cstdint>
#include <string>

#include "platform/win32/DpiScale.h"

namespace sudoku::win32 {

namespace {

constexpr UINT kFirstCommand = 100;
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

std::wstring MenuText(const char* caption) {
    // A menu would take '&' as a mnemonic; the captions are shown as they are.
    std::wstring text;
    for (wchar_t c : Widen(caption)) {
        if (c == L'&') text += L'&';
        text += c;
    }
    return text;
}

// Shift 1, Ctrl 2, Alt 4.
std::int16_t ModifierMask() {
    const int mask = (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                     (GetKeyState(VK_MENU) < 0 ? 4 : 0);
    return static_cast<std::int16_t>(mask);
}

}  // namespace

void Win32Timer::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    if (v) {
        SetTimer(owner_, kId, form::kTimerIntervalMs, nullptr);
    } else {
        KillTimer(owner_, kId);
    }
}

Win32MainWindow::Win32MainWindow(Game& game, Ui& ui, HINSTANCE instance)
    : game_(game), ui_(ui), instance_(instance) {
    const form::WindowDesign& w = form::Window();
    Win32Label::RegisterWindowClass(instance);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Win32MainWindow::Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(ToColorRef(w.background));
    wc.lpszClassName = kMainWindowClass;
    RegisterClassExW(&wc);

    HMENU menu = BuildMenus();
    CreateWindowExW(0, kMainWindowClass, Widen(w.title).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    w.clientWidth, w.clientHeight, nullptr, menu, instance, this);
    dpi_ = GetDpiForWindow(hwnd_);
    SetIcons();
    PlaceCentred();
    BuildLabels();
    ui_.tmrPostr = &timer_;
    ui_.frmMain = this;
}

HMENU Win32MainWindow::BuildMenus() {
    HMENU bar = CreateMenu();
    std::vector<ACCEL> keys;
    for (const form::MenuDesign& m : form::MenuBar()) {
        HMENU popup = CreatePopupMenu();
        for (const form::MenuItemDesign& item : m.items) {
            if (item.IsSeparator()) {
                AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            const UINT id = kFirstCommand + static_cast<UINT>(commands_.size());
            commands_.push_back(item.onClick);
            std::wstring text = MenuText(item.caption);
            if (*item.shortcut) {
                text += L'\t';
                text += Widen(item.shortcut);
                // Only function keys are named as shortcuts ("F3").
                const int n = std::stoi(item.shortcut + 1);
                keys.push_back(ACCEL{FVIRTKEY, static_cast<WORD>(VK_F1 + n - 1), static_cast<WORD>(id)});
            }
            AppendMenuW(popup, MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED), id, text.c_str());
            if (item.mark) {
                items_.push_back(std::make_unique<Win32MenuItem>(popup, id));
                ui_.*item.mark = items_.back().get();
            }
        }
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), MenuText(m.caption).c_str());
    }
    if (!keys.empty()) accelerators_ = CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
    return bar;
}

void Win32MainWindow::BuildLabels() {
    // Created in the order of the form: picker 10..1, status line, cells 81..1.
    const Rgb colour = form::Window().background;
    for (int k = 10; k >= 1; --k) {
        auto label = std::make_unique<Win32Label>(hwnd_, form::Picker(k), dpi_, colour, layout_);
        const auto index = static_cast<std::int16_t>(k);
        label->onClick = [this, index] { game_.lblSetNum_Click(index); };
        label->onDoubleClick = [this, index] { game_.lblSetNum_DblClick(index); };
        ui_.lblSetNum[k] = label.get();
        labels_.push_back(std::move(label));
    }
    labels_.push_back(std::make_unique<Win32Label>(hwnd_, form::Info(), dpi_, colour, layout_));
    ui_.lblInfo = labels_.back().get();
    for (int n = 81; n >= 1; --n) {
        auto label = std::make_unique<Win32Label>(hwnd_, form::Cell(n), dpi_, colour, layout_);
        const auto index = static_cast<std::int16_t>(n);
        label->onClick = [this, index] { game_.lblSudoku_Click(index); };
        label->onDoubleClick = [this, index] { game_.lblSudoku_DblClick(index); };
        ui_.lblSudoku[n] = label.get();
        labels_.push_back(std::move(label));
    }
}

void Win32MainWindow::PlaceCentred() {
    const form::WindowDesign& w = form::Window();
    RECT r{0, 0, ScaleToDpi(w.clientWidth, dpi_), ScaleToDpi(w.clientHeight, dpi_)};
    AdjustWindowRectExForDpi(&r, kStyle, TRUE, 0, dpi_);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &mi);
    const RECT& area = mi.rcWork;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const int x = area.left + (area.right - area.left - width) / 2;
    const int y = area.top + (area.bottom - area.top - height) / 2;
    SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32MainWindow::SetIcons() {
    const auto load = [this](int metricX, int metricY) {
        return reinterpret_cast<LPARAM>(LoadImageW(instance_, L"IDI_APPICON", IMAGE_ICON,
                                                   GetSystemMetricsForDpi(metricX, dpi_),
                                                   GetSystemMetricsForDpi(metricY, dpi_), LR_DEFAULTCOLOR));
    };
    // WM_SETICON hands back the icon it replaces, one this window loaded before: freed.
    if (const auto old = reinterpret_cast<HICON>(SendMessageW(hwnd_, WM_SETICON, ICON_BIG, load(SM_CXICON, SM_CYICON))))
        DestroyIcon(old);
    if (const auto old = reinterpret_cast<HICON>(SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, load(SM_CXSMICON, SM_CYSMICON))))
        DestroyIcon(old);
}

void Win32MainWindow::ApplyDpi(unsigned dpi) {
    if (dpi == dpi_) return;
    dpi_ = dpi;
    SetIcons();
    for (auto& label : labels_) label->SetDpi(dpi);
}

void Win32MainWindow::Show(int showCommand) {
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
}

bool Win32MainWindow::Minimise() {
    ShowWindow(hwnd_, SW_MINIMIZE);
    return IsIconic(hwnd_) != 0;
}

void Win32MainWindow::Close() { SendMessageW(hwnd_, WM_CLOSE, 0, 0); }

void Win32MainWindow::KeyDown(WPARAM key) {
    game_.Form_KeyDown(static_cast<std::int16_t>(key), ModifierMask());
}

LRESULT CALLBACK Win32MainWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Win32MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->OnMessage(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT Win32MainWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_KEYDOWN:
        KeyDown(wp);
        return 0;
    case WM_SYSKEYDOWN:
        // Alt+key reaches the game too; Alt and F10 alone, Alt+F4 and Alt+Space keep
        // their usual meaning.
        if (wp != VK_MENU && wp != VK_F10) KeyDown(wp);
        break;
    case WM_SYSCHAR:
        // Alt with a key the game uses names no menu: no search of the menu bar, no beep.
        if ((wp >= L'0' && wp <= L'9') || wp == L'+' || wp == L'-' || wp == L'=') return 0;
        break;
    case WM_COMMAND:
        if (HIWORD(wp) <= 1 && lp == 0) {
            const UINT index = LOWORD(wp) - kFirstCommand;
            if (index < commands_.size()) (game_.*commands_[index])();
            return 0;
        }
        break;
    case WM_TIMER:
        if (wp == Win32Timer::kId) {
            if (timer_.Enabled()) game_.tmrPostr_Timer();
            return 0;
        }
        break;
    case WM_DPICHANGED: {
        const RECT* r = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        ApplyDpi(HIWORD(wp));
        return 0;
    }
    case LayoutBatch::kApplyMessage:
        layout_.Apply();
        return 0;
    case WM_CLOSE:
        game_.Form_Unload();
        return 0;
    case WM_ENDSESSION:
        if (wp) game_.Form_Unload();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace sudoku::win32
