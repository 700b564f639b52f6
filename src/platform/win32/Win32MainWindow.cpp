#include "platform/win32/Win32MainWindow.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "platform/win32/DpiApi.h"
#include "platform/win32/Win32Services.h"

namespace sudoku::win32 {

namespace {

constexpr UINT kFirstCommand = 100;
constexpr wchar_t kNoWindow[] = L"Не удалось создать окно игры.";
constexpr wchar_t kNoTimer[] = L"Не удалось запустить таймер игры.";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;

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
        if (!SetTimer(owner_, kId, intervalMs, nullptr)) Fatal(kNoTimer);
    } else {
        KillTimer(owner_, kId);
    }
}

Win32MainWindow::~Win32MainWindow() {
    if (accessible_) {
        accessible_->Disconnect();
        accessible_->Release();
    }
}

Window& Win32MainWindow::MakeWindow(const form::WindowDesign& w, KeyCallback onKey, Callback onClose) {
    onKey_ = [this, onKey = std::move(onKey)](std::int16_t key, std::int16_t shift) {
        onKey(key, shift);
        TellChanges();
    };
    onClose_ = std::move(onClose);
    clientWidth_ = w.clientWidth;
    clientHeight_ = w.clientHeight;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Win32MainWindow::Proc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kMainWindowClass;
    if (!RegisterClassExW(&wc)) Fatal(kNoWindow);
    board_ = std::make_unique<Win32Board>(hwnd_, w);

    menuBar_ = CreateMenu();
    CreateWindowExW(0, kMainWindowClass, Widen(w.title).c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    w.clientWidth, w.clientHeight, nullptr, menuBar_, instance_, this);
    if (!hwnd_) Fatal(kNoWindow);
    dpi_ = DpiApi::WindowDpi(hwnd_);
    board_->SetDpi(dpi_);
    SetIcons();
    return *this;
}

Timer& Win32MainWindow::MakeTimer(int intervalMs, Callback onTick) {
    timer_.intervalMs = static_cast<UINT>(intervalMs);
    timer_.onTick = Told(std::move(onTick));
    return timer_;
}

Label& Win32MainWindow::MakeLabel(const form::LabelDesign& design, Callback onClick, Callback onDoubleClick) {
    return board_->Scene().Add(design, Told(std::move(onClick)), Told(std::move(onDoubleClick)));
}

void Win32MainWindow::AddMenu(const form::MenuDesign& design) {
    menu_ = CreatePopupMenu();
    AppendMenuW(menuBar_, MF_POPUP, reinterpret_cast<UINT_PTR>(menu_), Widen(form::MenuText(design.caption)).c_str());
}

void Win32MainWindow::AddSeparator(const form::MenuItemDesign&) { AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr); }

MenuItem& Win32MainWindow::AddMenuItem(const form::MenuItemDesign& item, Callback onChoose) {
    const UINT id = kFirstCommand + static_cast<UINT>(commands_.size());
    commands_.push_back(Told(std::move(onChoose)));
    std::wstring text = Widen(form::MenuText(item.caption));
    if (item.shortcut) {
        text.append(L"\tF").append(std::to_wstring(item.shortcut.functionKey));
        const auto key = static_cast<WORD>(VK_F1 + item.shortcut.functionKey - 1);
        keys_.push_back(ACCEL{FVIRTKEY, key, static_cast<WORD>(id)});
        if (accelerators_) DestroyAcceleratorTable(accelerators_);
        accelerators_ = CreateAcceleratorTableW(keys_.data(), static_cast<int>(keys_.size()));
    }
    AppendMenuW(menu_, MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED), id, text.c_str());
    return *items_.emplace_back(std::make_unique<Win32MenuItem>(menu_, id));
}

void Win32MainWindow::SetBoardAccess(BoardAccess& access) {
    access_ = &access;
    access.Update();
    told_ = access.Items();
}

Callback Win32MainWindow::Told(Callback event) {
    if (!event) return {};
    return [this, event = std::move(event)] {
        event();
        TellChanges();
    };
}

void Win32MainWindow::TellChanges() {
    if (!access_) return;
    const AccessChanges changes = access_->Update();
    std::vector<AccessItem> now = access_->Items();
    RaiseAccessEvents(hwnd_, told_, now, changes);
    told_ = std::move(now);
}

RECT Win32MainWindow::ScreenRect(const Label& label) const {
    // Every label is one of the board's scene; a reader gets its own pixels, none of a neighbour's.
    const scene::DeviceRect p = board_->Scene().OwnBounds(static_cast<const scene::SceneLabel&>(label));
    RECT r{p.left, p.top, p.right, p.bottom};
    MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The client area's object for screen readers, made when one first asks.
LRESULT Win32MainWindow::AnswerGetObject(WPARAM wp, LPARAM lp) {
    if (static_cast<LONG>(static_cast<DWORD>(lp)) != OBJID_CLIENT || !access_)
        return DefWindowProcW(hwnd_, WM_GETOBJECT, wp, lp);
    if (!accessible_) {
        static const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        (void)com;
        accessible_ = new BoardAccessible(
            hwnd_, *access_, [this](const Label& l) { return ScreenRect(l); }, [this] { TellChanges(); });
    }
    return LresultFromObject(__uuidof(IAccessible), wp, accessible_);
}

void Win32MainWindow::PlaceCentred() {
    const scene::Scale scale = scene::Scale::FromDpi(dpi_);
    RECT r{0, 0, scale.Device(clientWidth_), scale.Device(clientHeight_)};
    DpiApi::AdjustWindowRect(&r, kStyle, TRUE, 0, dpi_);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &mi);
    const RECT& area = mi.rcWork;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    // A window larger than the screen keeps its title and menu bar within reach.
    const int x = std::max(area.left, area.left + (area.right - area.left - width) / 2);
    const int y = std::max(area.top, area.top + (area.bottom - area.top - height) / 2);
    SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32MainWindow::SetIcons() {
    const auto load = [this](int metricX, int metricY) {
        return reinterpret_cast<LPARAM>(LoadImageW(instance_, L"IDI_APPICON", IMAGE_ICON,
                                                   DpiApi::SystemMetric(metricX, dpi_),
                                                   DpiApi::SystemMetric(metricY, dpi_), LR_DEFAULTCOLOR));
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
    board_->SetDpi(dpi);
}

void Win32MainWindow::Show(int showCommand) {
    DrawMenuBar(hwnd_);
    PlaceCentred();
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
}

bool Win32MainWindow::Minimise() {
    ShowWindow(hwnd_, SW_MINIMIZE);
    return IsIconic(hwnd_) != 0;
}

void Win32MainWindow::Close() { SendMessageW(hwnd_, WM_CLOSE, 0, 0); }

void Win32MainWindow::KeyDown(WPARAM key) {
    onKey_(static_cast<std::int16_t>(key), ModifierMask());
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
            if (index < commands_.size()) commands_[index]();
            return 0;
        }
        break;
    case WM_TIMER:
        if (wp == Win32Timer::kId) {
            if (timer_.Enabled()) timer_.onTick();
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
    case WM_GETOBJECT:
        return AnswerGetObject(wp, lp);
    case WM_ERASEBKGND:
        return 1;  // the paint covers every pixel
    case WM_PAINT:
        board_->Paint();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        board_->Press(MousePoint(lp), msg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_LBUTTONUP:
        board_->Release(MousePoint(lp));
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != hwnd_) board_->CancelPress();
        return 0;
    case WM_CLOSE:
        onClose_();
        return 0;
    case WM_ENDSESSION:
        if (wp) onClose_();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace sudoku::win32
