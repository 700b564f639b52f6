#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "app/Controls.h"
#include "app/FormBuilder.h"
#include "platform/win32/Win32Accessible.h"
#include "platform/win32/Win32Board.h"

namespace sudoku::win32 {

// The window class of the main window; a second copy finds the first by it.
inline constexpr wchar_t kMainWindowClass[] = L"SudokuGame.MainWindow";

// A menu item whose check mark lives in the menu itself; only the game sets it.
class Win32MenuItem final : public MenuItem {
public:
    Win32MenuItem(HMENU menu, UINT id) : menu_(menu), id_(id) {}
    bool Checked() const override { return (GetMenuState(menu_, id_, MF_BYCOMMAND) & MF_CHECKED) != 0; }
    void SetChecked(bool v) override { CheckMenuItem(menu_, id_, MF_BYCOMMAND | (v ? MF_CHECKED : MF_UNCHECKED)); }

private:
    HMENU menu_;
    UINT id_;
};

class Win32Timer final : public Timer {
public:
    explicit Win32Timer(HWND& owner) : owner_(owner) {}
    static constexpr UINT_PTR kId = 1;
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool v) override;

    UINT intervalMs = 0;
    Callback onTick;

private:
    HWND& owner_;
    bool enabled_ = false;
};

// The main window: makes its controls as the form builder asks and reports their events.
// Positions and fonts follow the DPI of the screen the window is on. When Windows cannot
// make it, the player is told and the process ends with status 1.
class Win32MainWindow final : public Window, public ControlFactory {
public:
    explicit Win32MainWindow(HINSTANCE instance) : instance_(instance) {}
    ~Win32MainWindow() override;
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    bool Minimise() override;
    void Close() override;

    Window& MakeWindow(const form::WindowDesign& design, KeyCallback onKey, Callback onClose) override;
    Timer& MakeTimer(int intervalMs, Callback onTick) override;
    Label& MakeLabel(const form::LabelDesign& design, Callback onClick, Callback onDoubleClick) override;
    void AddMenu(const form::MenuDesign& design) override;
    void AddSeparator(const form::MenuItemDesign& design) override;
    MenuItem& AddMenuItem(const form::MenuItemDesign& design, Callback onChoose) override;
    void SetBoardAccess(BoardAccess& access) override;
    // Tells screen readers what changed since they were last told.
    void TellChanges();

    // Centred on its screen, with the menu bar as built.
    void Show(int showCommand);
    HWND Handle() const { return hwnd_; }
    HACCEL Accelerators() const { return accelerators_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    void PlaceCentred();
    void SetIcons();
    void ApplyDpi(unsigned dpi);
    void KeyDown(WPARAM key);
    // Every event the window hands to the game comes through here, and screen readers then
    // hear what it changed.
    Callback Told(Callback event);
    LRESULT AnswerGetObject(WPARAM wp, LPARAM lp);
    // Where a label is on the screen, in real pixels.
    RECT ScreenRect(const Label& label) const;
    static POINT MousePoint(LPARAM lp) {
        return {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    }

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    HMENU menuBar_ = nullptr;
    HMENU menu_ = nullptr;  // the menu that items are added to
    HACCEL accelerators_ = nullptr;
    std::vector<ACCEL> keys_;
    unsigned dpi_ = 96;
    int clientWidth_ = 0, clientHeight_ = 0;
    KeyCallback onKey_;
    Callback onClose_;
    Win32Timer timer_{hwnd_};
    std::unique_ptr<Win32Board> board_;  // made with the window
    std::vector<std::unique_ptr<Win32MenuItem>> items_;
    std::vector<Callback> commands_;  // by command id - kFirstCommand
    BoardAccess* access_ = nullptr;
    std::vector<AccessItem> told_;            // the board as screen readers were last told it
    BoardAccessible* accessible_ = nullptr;  // made when first asked for
};

}  // namespace sudoku::win32
