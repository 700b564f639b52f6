#include "platform/win32/DpiApi.h"


namespace sudoku::win32 {

namespace {

// Types of the newer functions, declared here: the headers are those of Windows 7.
using DpiContext = HANDLE;
const DpiContext kPerMonitorAwareV2 = reinterpret_cast<DpiContext>(static_cast<INT_PTR>(-4));
constexpr int kProcessPerMonitorDpiAware = 2;  // PROCESS_PER_MONITOR_DPI_AWARE
constexpr int kEffectiveDpi = 0;               // MDT_EFFECTIVE_DPI

using SetProcessDpiAwarenessContextFn = BOOL(WINAPI*)(DpiContext);
using SetProcessDpiAwarenessFn = HRESULT(WINAPI*)(int);
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

struct Functions {
    GetDpiForWindowFn getDpiForWindow = nullptr;
    GetDpiForMonitorFn getDpiForMonitor = nullptr;
    AdjustWindowRectExForDpiFn adjustWindowRectExForDpi = nullptr;
    GetSystemMetricsForDpiFn getSystemMetricsForDpi = nullptr;
};
Functions api;

template <typename F>
F Find(ProcLookup lookup, const wchar_t* dll, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(lookup(dll, name)));
}

}  // namespace

FARPROC SystemLookup(const wchar_t* dll, const char* name) {
    // user32 is loaded already; shcore (8.1 and later) only on demand, from System32.
    HMODULE module = GetModuleHandleW(dll);
    if (!module) module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? GetProcAddress(module, name) : nullptr;
}

void DpiApi::Load(ProcLookup lookup) {
    api.getDpiForWindow = Find<GetDpiForWindowFn>(lookup, L"user32.dll", "GetDpiForWindow");
    api.getDpiForMonitor = Find<GetDpiForMonitorFn>(lookup, L"shcore.dll", "GetDpiForMonitor");
    api.adjustWindowRectExForDpi = Find<AdjustWindowRectExForDpiFn>(lookup, L"user32.dll", "AdjustWindowRectExForDpi");
    api.getSystemMetricsForDpi = Find<GetSystemMetricsForDpiFn>(lookup, L"user32.dll", "GetSystemMetricsForDpi");
    // Failing here is normal: the manifest has set the awareness, which cannot change.
    if (auto setContext = Find<SetProcessDpiAwarenessContextFn>(lookup, L"user32.dll", "SetProcessDpiAwarenessContext")) {
        setContext(kPerMonitorAwareV2);
    } else if (auto setAwareness = Find<SetProcessDpiAwarenessFn>(lookup, L"shcore.dll", "SetProcessDpiAwareness")) {
        setAwareness(kProcessPerMonitorDpiAware);
    } else {
        SetProcessDPIAware();
    }
}

unsigned DpiApi::SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<unsigned>(dpi) : 96u;  // the base DPI
}

unsigned DpiApi::WindowDpi(HWND window) {
    if (api.getDpiForWindow) {
        if (const UINT dpi = api.getDpiForWindow(window)) return dpi;
    }
    if (api.getDpiForMonitor) {
        UINT x = 0, y = 0;
        if (SUCCEEDED(api.getDpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &x, &y)) &&
            x > 0) {
            return x;
        }
    }
    return SystemDpi();
}

BOOL DpiApi::AdjustWindowRect(RECT* r, DWORD style, BOOL menu, DWORD exStyle, unsigned dpi) {
    if (api.adjustWindowRectExForDpi) return api.adjustWindowRectExForDpi(r, style, menu, exStyle, dpi);
    return AdjustWindowRectEx(r, style, menu, exStyle);  // the frame at the system DPI
}

int DpiApi::SystemMetric(int index, unsigned dpi) {
    if (api.getSystemMetricsForDpi) return api.getSystemMetricsForDpi(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));  // given at the system DPI
}

}  // namespace sudoku::win32
